#include "design/text/TGFont.h"

#include "design/stream/TGEnumNames.h"
#include "design/stream/TLayoutValue.h"
#include "design/stream/TLayoutWriter.h"
#include "design/text/TDesignUnits.h"
#include "print/TBaseReport.h"

#include <cstdlib>

namespace qm::design {

TGFont::TGFont()
{
    SetPointSize(10);
}

int TGFont::PointSize() const
{
    return TDesignUnits::MulDiv(std::abs(mHeight), 72, TDesignUnits::Ppi());
}

void TGFont::SetPointSize(int points)
{
    mHeight = -TDesignUnits::MulDiv(points, TDesignUnits::Ppi(), 72);
}

QFont TGFont::ToQFont(int pointSize) const
{
    QFont font(mName);
    font.setPointSize(pointSize > 0 ? pointSize : 1);
    font.setBold(Bold());
    font.setItalic(Italic());
    font.setUnderline(Underline());
    font.setStrikeOut(StrikeOut());
    if (mPitch == print::TFontPitch::fpFixed)
        font.setFixedPitch(true);
    return font;
}

void TGFont::ApplyTo(print::TBaseReport& report) const
{
    report.SetFont(mName, PointSize());
    report.SetBold(Bold());
    report.SetItalic(Italic());
    report.SetUnderline(Underline());
    report.SetStrikeout(StrikeOut());
    report.SetFontPitch(mPitch);
    const QColor c = mColor.ToQColor();
    report.SetFontColor(print::TColor::Rgb(c.red(), c.green(), c.blue()));
}

void TGFont::Write(TLayoutWriter& out) const
{
    out.PropertyColor("Font.Color", mColor);
    out.PropertyInteger("Font.Height", mHeight);
    out.PropertyString("Font.Name", mName);
    if (mPitch != print::TFontPitch::fpDefault)
        out.PropertyEnum("Font.Pitch", kFontPitchNames, int(mPitch));
    out.PropertySet("Font.Style", kFontStyleNames, mStyle);
}

bool TGFont::ReadMember(const QByteArray& member, const TLayoutValue& value)
{
    if (member.compare("Color", Qt::CaseInsensitive) == 0)
        mColor = value.AsColor();
    else if (member.compare("Height", Qt::CaseInsensitive) == 0)
        mHeight = value.AsInteger();
    else if (member.compare("Name", Qt::CaseInsensitive) == 0)
        SetName(value.AsString());
    else if (member.compare("Pitch", Qt::CaseInsensitive) == 0)
        mPitch = print::TFontPitch(value.AsEnum(kFontPitchNames));
    else if (member.compare("Style", Qt::CaseInsensitive) == 0)
        mStyle = value.AsSetMask(kFontStyleNames);
    else
        return false;
    return true;
}

} // namespace qm::design
