#include "design/ui/TDesignFontDialog.h"

#include <QFontDialog>

namespace qm::design {

TGFont TDesignFontDialog::FromQFont(const QFont& qfont, const TGFont& base)
{
    TGFont font = base;
    font.SetName(qfont.family());
    if (qfont.pointSize() > 0)
        font.SetPointSize(qfont.pointSize());
    unsigned style = 0;
    if (qfont.bold())
        style |= fsBold;
    if (qfont.italic())
        style |= fsItalic;
    if (qfont.underline())
        style |= fsUnderline;
    if (qfont.strikeOut())
        style |= fsStrikeOut;
    font.SetStyle(style);
    return font;
}

std::optional<TGFont> TDesignFontDialog::Choose(const TGFont& font, QWidget* parent)
{
    bool ok = false;
    const QFont chosen =
        QFontDialog::getFont(&ok, font.ToQFont(font.PointSize()), parent, QStringLiteral("Font"));
    if (!ok)
        return std::nullopt;
    return FromQFont(chosen, font);
}

} // namespace qm::design
