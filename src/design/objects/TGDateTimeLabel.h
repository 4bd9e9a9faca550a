#pragma once

// The print date and time (reports). Stream order: the TGBaseLabel list, then DateFormat and
// TimeFormat (always).
//
// Contract: the caption is rebuilt from the clock before every paint and print; the clock is the
// system's unless a test sets one.

#include "design/objects/TGBaseLabel.h"
#include "design/objects/TSingleLineText.h"
#include "design/text/TDateTimeText.h"

#include <QDateTime>
#include <functional>

namespace qm::design {

class TGDateTimeLabel : public TGBaseLabel {
public:
    static constexpr const char* kClassName = "TGDateTimeLabel";
    using TClock = std::function<QDateTime()>;

    TGDateTimeLabel() = default;

    QByteArray ClassName() const override { return kClassName; }

    TDateFormat DateFormat() const { return mDateFormat; }
    void SetDateFormat(TDateFormat format);
    TTimeFormat TimeFormat() const { return mTimeFormat; }
    void SetTimeFormat(TTimeFormat format);

    // The caption for now.
    QString CurrentCaption() const;
    void ConfigureDrawn(const TGFont& panelFont) { SetFont(panelFont); }
    // Takes the caption for now and widens the object to hold it (a new object drawn with one
    // click is narrower than its own date).
    void FitWidth();

    // Replaces the clock (an empty function returns to the system clock) and the locale.
    static void SetClock(TClock clock);
    static void SetLocale(const QLocale& locale);

    void Paint(QPainter& painter) override;
    void PrintObject(print::TBaseReport& canvas, double x, double y) override;
    void WriteProperties(TLayoutWriter& out) const override;
    bool ReadProperty(const QByteArray& name, const TLayoutValue& value) override;

private:
    TSingleLineText mText;
    TDateFormat mDateFormat = TDateFormat::dtfDateShort;
    TTimeFormat mTimeFormat = TTimeFormat::dtfTimeNone;
};

} // namespace qm::design
