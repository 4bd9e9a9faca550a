#pragma once

// A running number: TextBefore + the value (zero padded to LeadingZeros digits) + TextAfter.
// Stream order: the TGBaseLabel list, then TextBefore, TextAfter (when not empty),
// Startingnumber, RepeatEach, LeadingZeros (always).
//
// Contract: the value lives only in memory. It starts at Startingnumber when the object is made,
// whenever Startingnumber is set, and on CounterReset; CounterStep counts one printed item and
// raises the value every RepeatEach items. The caption is rebuilt before every paint and print,
// on CounterReset and on a step that changes the value; the setters only store.

#include "design/objects/TGBaseLabel.h"
#include "design/objects/TSingleLineText.h"
#include "design/text/TCounterValue.h"

namespace qm::design {

struct TCounterSettings {
    int startingNumber = 1;
    int repeatEach = 1;
    QString textBefore;
    QString textAfter;
    int leadingZeros = 0;
    friend bool operator==(const TCounterSettings&, const TCounterSettings&) = default;
};

class TGCounterLabel : public TGBaseLabel {
public:
    static constexpr const char* kClassName = "TGCounterLabel";

    TGCounterLabel();

    QByteArray ClassName() const override { return kClassName; }

    const QString& TextBefore() const { return mTextBefore; }
    void SetTextBefore(const QString& text);
    const QString& TextAfter() const { return mTextAfter; }
    void SetTextAfter(const QString& text);
    int Startingnumber() const { return mStartingnumber; }
    // Also resets the running value.
    void SetStartingnumber(int number);
    int RepeatEach() const { return mRepeatEach; }
    void SetRepeatEach(int count) { mRepeatEach = count; }
    int LeadingZeros() const { return mLeadingZeros; }
    void SetLeadingZeros(int digits);

    int Value() const { return mCounter.Value(); }
    // The caption for the current value.
    QString CounterCaption() const;
    // Sets Caption from the current value.
    void UpdateCaption();

    TCounterSettings Settings() const;
    // The "Counter" dialog's Ok: stores the values (a changed starting number resets the
    // counter), shows the current value and, unrotated, sets the width to 10 and fits it.
    void ApplySettings(const TCounterSettings& settings);
    // Settings of an object drawn with a tool: Startingnumber 1000, the panel's font.
    void ConfigureDrawn(const TGFont& panelFont);
    void FitWidth();

    void CounterStep() override;
    void CounterReset() override;
    void Paint(QPainter& painter) override;
    void PrintObject(print::TBaseReport& canvas, double x, double y) override;
    void WriteProperties(TLayoutWriter& out) const override;
    bool ReadProperty(const QByteArray& name, const TLayoutValue& value) override;

private:
    TSingleLineText mText;
    QString mTextBefore;
    QString mTextAfter;
    int mStartingnumber = 1;
    int mRepeatEach = 1;
    int mLeadingZeros = 0;
    TCounterValue mCounter{1};
};

} // namespace qm::design
