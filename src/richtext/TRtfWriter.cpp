#include "richtext/TRtfWriter.h"

#include "richtext/TTextUnits.h"
#include "xbase/TCodePage1252.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QImageReader>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>
#include <algorithm>
#include <cmath>

namespace qm::richtext {

namespace {

// Text lines are broken (between characters, where RTF ignores line ends) past this length.
constexpr qsizetype LineLength = 200;

class TOutput {
public:
    QByteArray bytes;
    qsizetype lineStart = 0;
    // True when the last thing written was a control word that text may not follow directly.
    bool wordOpen = false;

    void Raw(const char* text) { bytes.append(text); }
    void Raw(const QByteArray& text) { bytes.append(text); }
    void NewLine()
    {
        bytes.append("\r\n");
        lineStart = bytes.size();
        wordOpen = false;
    }
    void Word(const char* word, qint64 param)
    {
        bytes.append('\\').append(word).append(QByteArray::number(param));
        wordOpen = true;
    }
    void Word(const char* word)
    {
        bytes.append('\\').append(word);
        wordOpen = true;
    }
    // Text follows: a pending control word gets its delimiting blank.
    void BeforeText()
    {
        if (wordOpen) {
            bytes.append(' ');
            wordOpen = false;
        }
        if (bytes.size() - lineStart >= LineLength)
            NewLine();
    }
    void Text(const char* text)
    {
        BeforeText();
        bytes.append(text);
    }
    void Symbol(const char* symbol)
    {
        // Control symbols need no delimiter and end any pending word.
        if (bytes.size() - lineStart >= LineLength)
            NewLine();
        bytes.append(symbol);
        wordOpen = false;
    }
};

int Twips(double formatPixels)
{
    return TTextUnits::FormatToTwips(formatPixels);
}

QString FamilyOf(const QTextCharFormat& format, const QTextDocument& document)
{
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    return document.defaultFont().family();
}

int HalfPointsOf(const QTextCharFormat& format, const QTextDocument& document)
{
    double points = format.fontPointSize();
    if (points <= 0)
        points = document.defaultFont().pointSizeF();
    if (points <= 0)
        points = 12;
    return std::clamp(static_cast<int>(std::lround(points * 2)), 2, 3276);
}

QColor BrushColor(const QTextCharFormat& format, QTextFormat::Property property)
{
    if (!format.hasProperty(property))
        return {};
    const QBrush brush = format.brushProperty(property);
    if (brush.style() == Qt::NoBrush)
        return {};
    return brush.color();
}

class TWriter {
public:
    TWriter(const QTextDocument& document, const TPageLayout& layout)
        : mDocument(document), mLayout(layout)
    {
    }

    QByteArray Write();

private:
    void CollectTables();
    int FontIndex(const QString& family) const { return static_cast<int>(mFonts.indexOf(family)); }
    int ColorIndex(const QColor& color) const;
    void Paragraph(const QTextBlock& block);
    void CharacterFormat(const QTextCharFormat& format);
    void Characters(const QString& text);
    void Picture(const QTextImageFormat& image);
    void FontName(const QString& name);

    const QTextDocument& mDocument;
    TPageLayout mLayout;
    QStringList mFonts;
    QList<QRgb> mColors;
    TOutput mOut;
};

int TWriter::ColorIndex(const QColor& color) const
{
    // Index 0 of the table is the automatic colour.
    return static_cast<int>(mColors.indexOf(color.rgb())) + 1;
}

void TWriter::CollectTables()
{
    auto addFormat = [this](const QTextCharFormat& format) {
        const QString family = FamilyOf(format, mDocument);
        if (!mFonts.contains(family))
            mFonts.append(family);
        for (auto property : {QTextFormat::ForegroundBrush, QTextFormat::BackgroundBrush}) {
            const QColor color = BrushColor(format, property);
            if (color.isValid() && !mColors.contains(color.rgb()))
                mColors.append(color.rgb());
        }
    };
    for (QTextBlock block = mDocument.begin(); block.isValid(); block = block.next()) {
        bool any = false;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.isValid()) {
                addFormat(fragment.charFormat());
                any = true;
            }
        }
        if (!any)
            addFormat(block.charFormat());
    }
    if (mFonts.isEmpty())
        mFonts.append(mDocument.defaultFont().family());
}

void TWriter::CharacterFormat(const QTextCharFormat& format)
{
    mOut.Word("plain");
    mOut.Word("f", FontIndex(FamilyOf(format, mDocument)));
    mOut.Word("fs", HalfPointsOf(format, mDocument));
    if (format.fontWeight() >= QFont::DemiBold)
        mOut.Word("b");
    if (format.fontItalic())
        mOut.Word("i");
    if (format.fontUnderline())
        mOut.Word("ul");
    const QColor foreground = BrushColor(format, QTextFormat::ForegroundBrush);
    if (foreground.isValid())
        mOut.Word("cf", ColorIndex(foreground));
    const QColor background = BrushColor(format, QTextFormat::BackgroundBrush);
    if (background.isValid())
        mOut.Word("highlight", ColorIndex(background));
}

void TWriter::Characters(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\\')
            mOut.Symbol("\\\\");
        else if (c == u'{')
            mOut.Symbol("\\{");
        else if (c == u'}')
            mOut.Symbol("\\}");
        else if (c == u'\t')
            mOut.Word("tab");
        else if (c == QChar::LineSeparator || c == u'\n' || c == u'\r')
            mOut.Word("line");
        else if (c == 0x00A0)
            mOut.Symbol("\\~");
        else if (c == 0x00AD)
            mOut.Symbol("\\-");
        else if (c == 0x2011)
            mOut.Symbol("\\_");
        else if (c >= 0x20 && c < 0x7F) {
            mOut.BeforeText();
            mOut.bytes.append(static_cast<char>(c));
        } else if (c < 0x20 || c == 0x7F || c == QChar::ObjectReplacementCharacter ||
                   c == QChar::ParagraphSeparator)
            continue; // not text (pictures are written by their fragment)
        else {
            const int byte = xbase::TCodePage1252::ByteOf(c);
            if (byte >= 0x80 && !QChar::isSurrogate(c)) {
                static const char digits[] = "0123456789abcdef";
                const char escape[] = {'\\', '\'', digits[(byte >> 4) & 15], digits[byte & 15], 0};
                mOut.Symbol(escape);
            } else {
                // \uN takes a signed 16-bit number; "?" is the one fallback character (\uc1).
                mOut.Word("u", c > 32767 ? static_cast<int>(c) - 65536 : static_cast<int>(c));
                mOut.bytes.append('?'); // not a letter or digit: needs no delimiter
                mOut.wordOpen = false;
            }
        }
    }
}

void TWriter::FontName(const QString& name)
{
    // A face name has no control words: characters outside printable ASCII are escaped, and ';'
    // (which ends the entry) cannot be part of it.
    mOut.BeforeText();
    for (const QChar ch : name) {
        const char16_t c = ch.unicode();
        if (c == u';' || c < 0x20 || c == 0x7F)
            continue;
        const int byte = c < 0x80 ? c : xbase::TCodePage1252::ByteOf(c);
        if (c >= 0x20 && c < 0x7F && c != u'\\' && c != u'{' && c != u'}')
            mOut.bytes.append(static_cast<char>(c));
        else if (byte >= 0 && !QChar::isSurrogate(c)) {
            static const char digits[] = "0123456789abcdef";
            const char escape[] = {'\\', '\'', digits[(byte >> 4) & 15], digits[byte & 15], 0};
            mOut.bytes.append(escape);
        } else {
            mOut.bytes.append("\\u").append(
                QByteArray::number(c > 32767 ? static_cast<int>(c) - 65536 : static_cast<int>(c)));
            mOut.bytes.append('?');
        }
    }
    mOut.wordOpen = false;
}

void TWriter::Picture(const QTextImageFormat& image)
{
    const QVariant resource = mDocument.resource(QTextDocument::ImageResource, QUrl(image.name()));
    QByteArray bytes;
    if (resource.userType() == QMetaType::QByteArray)
        bytes = resource.toByteArray();
    else if (resource.canConvert<QImage>()) {
        const QImage picture = resource.value<QImage>();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
    }
    const bool png = bytes.startsWith("\x89PNG");
    const bool jpeg = bytes.startsWith("\xFF\xD8");
    if (!png && !jpeg)
        return; // nothing this subset can hold
    // The pixel size from the picture's header; the picture is not decoded.
    QBuffer source(&bytes);
    source.open(QIODevice::ReadOnly);
    const QSize pixels = QImageReader(&source, png ? "png" : "jpeg").size();
    mOut.Raw("{\\pict");
    mOut.Word(png ? "pngblip" : "jpegblip");
    mOut.Word("picw", pixels.isValid() ? pixels.width() : 0);
    mOut.Word("pich", pixels.isValid() ? pixels.height() : 0);
    mOut.Word("picwgoal", Twips(image.width()));
    mOut.Word("pichgoal", Twips(image.height()));
    mOut.NewLine();
    const QByteArray hex = bytes.toHex();
    for (qsizetype at = 0; at < hex.size(); at += 128) {
        mOut.Raw(hex.mid(at, 128));
        mOut.NewLine();
    }
    mOut.Raw("}");
    mOut.wordOpen = false;
}

void TWriter::Paragraph(const QTextBlock& block)
{
    const QTextBlockFormat format = block.blockFormat();
    mOut.Word("pard");
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        mOut.Word("pagebb");
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignRight)
        mOut.Word("qr");
    else if (alignment & Qt::AlignHCenter)
        mOut.Word("qc");
    else if (alignment & Qt::AlignJustify)
        mOut.Word("qj");
    if (const int left = Twips(format.leftMargin()))
        mOut.Word("li", left);
    if (const int right = Twips(format.rightMargin()))
        mOut.Word("ri", right);
    if (const int first = Twips(format.textIndent()))
        mOut.Word("fi", first);
    if (const int before = Twips(format.topMargin()))
        mOut.Word("sb", before);
    if (const int after = Twips(format.bottomMargin()))
        mOut.Word("sa", after);
    switch (format.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
        if (format.lineHeight() != 100) {
            mOut.Word("sl", std::lround(format.lineHeight() * 240 / 100));
            mOut.Word("slmult", 1);
        }
        break;
    case QTextBlockFormat::FixedHeight:
        mOut.Word("sl", -Twips(format.lineHeight()));
        mOut.Word("slmult", 0);
        break;
    case QTextBlockFormat::MinimumHeight:
        mOut.Word("sl", Twips(format.lineHeight()));
        mOut.Word("slmult", 0);
        break;
    default:
        break;
    }
    bool any = false;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid())
            continue;
        any = true;
        const QTextCharFormat charFormat = fragment.charFormat();
        CharacterFormat(charFormat);
        if (charFormat.isImageFormat()) {
            for (qsizetype i = 0; i < fragment.length(); ++i)
                Picture(charFormat.toImageFormat());
        } else
            Characters(fragment.text());
    }
    if (!any) {
        // An empty paragraph keeps the size of its paragraph mark (its line height).
        CharacterFormat(block.charFormat());
    }
}

QByteArray TWriter::Write()
{
    CollectTables();
    mOut.Raw("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1");
    mOut.NewLine();
    mOut.Raw("{\\fonttbl");
    for (qsizetype i = 0; i < mFonts.size(); ++i) {
        mOut.Raw("{");
        mOut.Word("f", i);
        mOut.Word("fnil");
        FontName(mFonts[i]);
        mOut.Raw(";}");
        mOut.wordOpen = false;
    }
    mOut.Raw("}");
    mOut.NewLine();
    mOut.Raw("{\\colortbl;");
    for (const QRgb rgb : mColors) {
        mOut.Word("red", qRed(rgb));
        mOut.Word("green", qGreen(rgb));
        mOut.Word("blue", qBlue(rgb));
        mOut.Raw(";");
        mOut.wordOpen = false;
    }
    mOut.Raw("}");
    mOut.NewLine();
    mOut.Word("paperw", mLayout.paperWidth);
    mOut.Word("paperh", mLayout.paperHeight);
    mOut.Word("margl", mLayout.marginLeft);
    mOut.Word("margr", mLayout.marginRight);
    mOut.Word("margt", mLayout.marginTop);
    mOut.Word("margb", mLayout.marginBottom);
    mOut.NewLine();
    for (QTextBlock block = mDocument.begin(); block.isValid(); block = block.next()) {
        Paragraph(block);
        if (block.next().isValid()) {
            mOut.Word("par");
            mOut.NewLine();
        }
    }
    mOut.Raw("}");
    mOut.NewLine();
    return mOut.bytes;
}

} // namespace

QByteArray TRtfWriter::Write(const QTextDocument& document, const TPageLayout& layout)
{
    return TWriter(document, layout).Write();
}

} // namespace qm::richtext
