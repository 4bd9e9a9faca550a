#pragma once

// The memo band of the report designer: a read-only strip showing the current record's memo in
// the report's memo font and alignment, clipped to the strip.

#include "reports/TReportSettings.h"

#include <QWidget>

namespace qm::reports {

class TReportMemoStrip : public QWidget {
public:
    explicit TReportMemoStrip(QWidget* parent = nullptr);

    void SetText(const QString& text);
    const QString& Text() const { return mText; }
    // Font name, size, bold, italic and alignment from the settings.
    void SetLook(const TReportSettings& settings);
    Qt::Alignment TextAlignment() const { return mAlignment; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString mText;
    QFont mMemoFont;
    Qt::Alignment mAlignment = Qt::AlignLeft;
};

} // namespace qm::reports
