#pragma once

// The 5-pixel bar under a report band that the user drags to change the band's height. It
// reports the press, every move (the vertical distance from the press) and the release; the
// designer decides the height. A disabled sizer (band not in use) ignores the mouse.

#include <QWidget>
#include <functional>

namespace qm::reports {

class TReportBandSizer : public QWidget {
public:
    static constexpr int kHeight = 5;

    explicit TReportBandSizer(QWidget* parent = nullptr);

    std::function<void()> OnPress;
    std::function<void(int dy)> OnDrag;
    std::function<void()> OnRelease;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool mDragging = false;
    qreal mPressY = 0;
};

} // namespace qm::reports
