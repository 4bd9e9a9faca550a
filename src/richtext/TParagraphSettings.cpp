#include "richtext/TParagraphSettings.h"

#include "richtext/TPageLayout.h"
#include "richtext/TTextUnits.h"

#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace qm::richtext {

TParagraphSettings TParagraphSettings::From(const QTextBlockFormat& format)
{
    TParagraphSettings settings;
    settings.leftIndent = TTextUnits::FormatToTwips(format.leftMargin());
    settings.rightIndent = TTextUnits::FormatToTwips(format.rightMargin());
    settings.firstIndent = TTextUnits::FormatToTwips(format.textIndent());
    settings.spaceBefore = TTextUnits::FormatToTwips(format.topMargin());
    settings.spaceAfter = TTextUnits::FormatToTwips(format.bottomMargin());
    if (format.lineHeightType() == QTextBlockFormat::MinimumHeight ||
        format.lineHeightType() == QTextBlockFormat::FixedHeight)
        settings.lineHeight = TTextUnits::FormatToTwips(format.lineHeight());
    return settings;
}

void TParagraphSettings::ApplyTo(QTextBlockFormat& format) const
{
    format.setLeftMargin(TTextUnits::TwipsToFormat(leftIndent));
    format.setRightMargin(TTextUnits::TwipsToFormat(rightIndent));
    format.setTextIndent(TTextUnits::TwipsToFormat(firstIndent));
    format.setTopMargin(TTextUnits::TwipsToFormat(spaceBefore));
    format.setBottomMargin(TTextUnits::TwipsToFormat(spaceAfter));
    if (lineHeight > 0)
        format.setLineHeight(TTextUnits::TwipsToFormat(lineHeight),
                             QTextBlockFormat::MinimumHeight);
    else if (format.lineHeightType() == QTextBlockFormat::MinimumHeight ||
             format.lineHeightType() == QTextBlockFormat::FixedHeight)
        format.setLineHeight(0, QTextBlockFormat::SingleHeight);
}

void TParagraphSettings::ApplyTo(QTextCursor& cursor, bool joinPrevious) const
{
    QTextDocument* document = cursor.document();
    if (!document)
        return;
    const QTextBlock first = document->findBlock(cursor.selectionStart());
    const QTextBlock last = document->findBlock(cursor.selectionEnd());
    if (joinPrevious)
        cursor.joinPreviousEditBlock();
    else
        cursor.beginEditBlock();
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        ApplyTo(format);
        QTextCursor(block).setBlockFormat(format);
        if (block == last)
            break;
    }
    cursor.endEditBlock();
}

QString TParagraphSettings::Problem(int textWidth) const
{
    const int max = TPageLayout::MaxTwips;
    if (spaceBefore < 0 || spaceAfter < 0 || lineHeight < 0)
        return QStringLiteral("Spacing and line height cannot be negative.");
    if (spaceBefore > max || spaceAfter > max || lineHeight > max || std::abs(leftIndent) > max ||
        std::abs(rightIndent) > max || std::abs(firstIndent) > max)
        return QStringLiteral("A value is larger than 22 inches.");
    if (leftIndent < 0 || rightIndent < 0)
        return QStringLiteral("The left and right indents cannot be negative.");
    if (leftIndent + firstIndent < 0)
        return QStringLiteral("The first line cannot start left of the margin.");
    if (textWidth - leftIndent - rightIndent <= 0 ||
        textWidth - leftIndent - firstIndent - rightIndent <= 0)
        return QStringLiteral("The indents leave no room for text between the margins.");
    return {};
}

} // namespace qm::richtext
