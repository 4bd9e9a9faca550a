#pragma once

// The miniature of the report page in the "Report Layout" dialog: paints a TReportMiniature
// (page, inner area, band boxes in their shade colours with their border strips) centred in a
// square that holds the largest page either way up, marks the box of the band being edited, and
// reports which part a left click lands on.

#include "reports/TReportMiniature.h"
#include "reports/TReportSettings.h"

#include <QWidget>
#include <functional>

namespace qm::reports {

class TReportMiniatureView : public QWidget {
public:
    // ppi: the pixels per inch of the settings' lengths.
    TReportMiniatureView(const TReportSettings& settings, int ppi, QWidget* parent = nullptr);

    void SetSettings(const TReportSettings& settings);
    const TReportMiniature& Miniature() const { return mMiniature; }
    // The band box drawn as the one being edited (Page or None: no box).
    void SetSelected(TMiniatureHit selected);
    TMiniatureHit Selected() const { return mSelected; }

    // Called with what a left click landed on (never None).
    void SetClickHandler(std::function<void(TMiniatureHit)> handler)
    {
        mClickHandler = std::move(handler);
    }

    // A miniature pixel in widget coordinates.
    QPoint ToWidget(const QPoint& miniature) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QPoint Origin() const;

    TReportSettings mSettings;
    int mPpi;
    TReportMiniature mMiniature;
    TMiniatureHit mSelected = TMiniatureHit::Page;
    std::function<void(TMiniatureHit)> mClickHandler;
};

} // namespace qm::reports
