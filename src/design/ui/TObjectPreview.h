#pragma once

// A small widget that paints one design object (not owned) at its own size, on white: the live
// samples of the dialogs.

#include <QWidget>

namespace qm::design {

class TGGraphicControl;

class TObjectPreview : public QWidget {
public:
    explicit TObjectPreview(QWidget* parent = nullptr);

    void SetObject(TGGraphicControl* object);
    TGGraphicControl* Object() const { return mObject; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TGGraphicControl* mObject = nullptr;
};

} // namespace qm::design
