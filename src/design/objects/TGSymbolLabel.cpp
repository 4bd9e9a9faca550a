#include "design/objects/TGSymbolLabel.h"

#include "data/TWin1252.h"
#include "design/text/TDesignTextMeasure.h"
#include "design/text/TDesignUnits.h"
#include "design/text/TSymbolFont.h"

#include <algorithm>

namespace qm::design {

TGSymbolLabel::TGSymbolLabel()
{
    TGFont font;
    font.SetName(TSymbolFont::DefaultFace());
    font.SetPointSize(kDefaultPointSize);
    SetFont(font);
    SetCaption(QStringLiteral("["));
}

QString TGSymbolLabel::ShownText() const
{
    return TSingleLineText::ShownText(*this, Caption());
}

QSize TGSymbolLabel::SymbolSize() const
{
    const QFont font = TDesignTextMeasure::ScreenFont(Font(), ScreenPointSize());
    const QString text = ShownText();
    return QSize(TDesignUnits::Trunc(1.1 * TDesignTextMeasure::TextWidth(font, text)),
                 TDesignUnits::Trunc(1.1 * TDesignTextMeasure::CellHeight(font)));
}

void TGSymbolLabel::SizeToSymbol()
{
    const QSize size = SymbolSize();
    SetBounds(Left(), Top(), size.width(), size.height());
}

void TGSymbolLabel::ApplySymbol(const TGFont& font, int code)
{
    SetFont(font);
    const char byte = char(std::clamp(code, 32, 255));
    SetCaption(data::TWin1252::Decode(&byte, 1));
    SizeToSymbol();
    Invalidate();
    NotifyChanged();
}

void TGSymbolLabel::BoundsChanged()
{
    TGBaseLabel::BoundsChanged();
    if (mSizing || Reading())
        return;
    mSizing = true;
    SizeToSymbol();
    mSizing = false;
}

void TGSymbolLabel::ScaleSet()
{
    TGBaseLabel::ScaleSet();
    if (mSizing || Reading())
        return;
    mSizing = true;
    SizeToSymbol();
    mSizing = false;
}

void TGSymbolLabel::Paint(QPainter& painter)
{
    mText.Paint(*this, painter, Caption());
}

void TGSymbolLabel::PrintObject(print::TBaseReport& canvas, double x, double y)
{
    mText.Print(*this, canvas, x, y, Caption());
}

} // namespace qm::design
