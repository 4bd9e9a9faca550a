#include "design/objects/TGCounterLabel.h"

#include "design/stream/TLayoutValue.h"
#include "design/stream/TLayoutWriter.h"

#include <algorithm>

namespace qm::design {

namespace {
// More digits than an integer has would only pad with zeros; a damaged layout cannot ask for
// a caption of millions of characters.
constexpr int kMaxLeadingZeros = 32;
} // namespace

TGCounterLabel::TGCounterLabel() = default;

void TGCounterLabel::SetTextBefore(const QString& text)
{
    mTextBefore = text;
    Invalidate();
}

void TGCounterLabel::SetTextAfter(const QString& text)
{
    mTextAfter = text;
    Invalidate();
}

void TGCounterLabel::SetStartingnumber(int number)
{
    mStartingnumber = number;
    mCounter.Reset(number);
    Invalidate();
}

void TGCounterLabel::SetLeadingZeros(int digits)
{
    mLeadingZeros = std::clamp(digits, 0, kMaxLeadingZeros);
    Invalidate();
}

QString TGCounterLabel::CounterCaption() const
{
    return TCounterValue::Caption(mTextBefore, mCounter.Value(), mLeadingZeros, mTextAfter);
}

void TGCounterLabel::UpdateCaption()
{
    const QString caption = CounterCaption();
    if (caption != Caption())
        SetCaption(caption);
}

TCounterSettings TGCounterLabel::Settings() const
{
    return {mStartingnumber, mRepeatEach, mTextBefore, mTextAfter, mLeadingZeros};
}

void TGCounterLabel::ApplySettings(const TCounterSettings& s)
{
    if (s.startingNumber != mStartingnumber)
        SetStartingnumber(s.startingNumber);
    mRepeatEach = s.repeatEach;
    mTextBefore = s.textBefore;
    mTextAfter = s.textAfter;
    mLeadingZeros = std::clamp(s.leadingZeros, 0, kMaxLeadingZeros);
    UpdateCaption();
    if (Angle() == 0) {
        SetWidth(10);
        FitWidth();
    }
    Invalidate();
    NotifyChanged();
}

void TGCounterLabel::ConfigureDrawn(const TGFont& panelFont)
{
    SetStartingnumber(1000);
    SetFont(panelFont);
}

void TGCounterLabel::FitWidth()
{
    UpdateCaption();
    mText.FitWidth(*this, Caption());
}

void TGCounterLabel::CounterStep()
{
    if (mCounter.Step(mRepeatEach)) {
        UpdateCaption();
        Invalidate();
    }
}

void TGCounterLabel::CounterReset()
{
    mCounter.Reset(mStartingnumber);
    UpdateCaption();
    Invalidate();
}

void TGCounterLabel::Paint(QPainter& painter)
{
    UpdateCaption();
    mText.Paint(*this, painter, Caption());
}

void TGCounterLabel::PrintObject(print::TBaseReport& canvas, double x, double y)
{
    UpdateCaption();
    mText.Print(*this, canvas, x, y, Caption());
}

void TGCounterLabel::WriteProperties(TLayoutWriter& out) const
{
    TGBaseLabel::WriteProperties(out);
    out.PropertyString("TextBefore", mTextBefore);
    out.PropertyString("TextAfter", mTextAfter);
    out.PropertyInteger("Startingnumber", mStartingnumber);
    out.PropertyInteger("RepeatEach", mRepeatEach);
    out.PropertyInteger("LeadingZeros", mLeadingZeros);
}

bool TGCounterLabel::ReadProperty(const QByteArray& name, const TLayoutValue& value)
{
    if (SameName(name, "TextBefore"))
        SetTextBefore(value.AsString());
    else if (SameName(name, "TextAfter"))
        SetTextAfter(value.AsString());
    else if (SameName(name, "Startingnumber"))
        SetStartingnumber(value.AsInteger());
    else if (SameName(name, "RepeatEach"))
        mRepeatEach = value.AsInteger();
    else if (SameName(name, "LeadingZeros"))
        SetLeadingZeros(value.AsInteger());
    else
        return TGBaseLabel::ReadProperty(name, value);
    return true;
}

} // namespace qm::design
