#include "richtext/TRtfReader.h"

#include "richtext/TTextUnits.h"
#include "xbase/TCodePage1252.h"

#include <QAtomicInteger>
#include <QColor>
#include <QHash>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <algorithm>
#include <climits>
#include <vector>

namespace qm::richtext {

namespace {

constexpr int MinHalfPoints = 2;    // 1 pt
constexpr int MaxHalfPoints = 3276; // 1638 pt
constexpr int DefaultHalfPoints = 24;
constexpr char16_t Replacement = 0xFFFD;

// Picture resources get names unique in the process, so a picture inserted from one document
// into another never meets a different picture of the same name.
QAtomicInteger<quint64> gPictureCounter{0};

enum class EDest {
    Text,       // characters go into the document
    Skip,       // the group is ignored (with its subgroups)
    FontTable,  // {\fonttbl ...}
    FontEntry,  // one font of the table
    ColorTable, // {\colortbl ...}
    Picture,    // {\pict ...}
};

enum class EPictureKind { None, Png, Jpeg, Other };

struct TCharState {
    int font = -1; // font number of the table; -1 = the default font
    int halfPoints = DefaultHalfPoints;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int foreground = 0; // colour table index; 0 or unknown = automatic
    int background = 0;
    bool operator==(const TCharState&) const = default;
};

struct TParaState {
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftIndent = 0;
    int rightIndent = 0;
    int firstIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0;
    bool lineMultiple = false;
    bool pageBreakBefore = false;
    bool inTable = false;
};

struct TGroup {
    TCharState chr;
    TParaState para;
    EDest dest = EDest::Text;
    int unicodeSkip = 1;
};

struct TPicture {
    EPictureKind kind = EPictureKind::None;
    QByteArray bytes;
    int pendingNibble = -1;
    int widthPixels = 0;
    int heightPixels = 0;
    int widthGoal = 0;
    int heightGoal = 0;
    int scaleX = 100;
    int scaleY = 100;
};

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Destinations whose content is never text of the letter. The value says what the user is told
// was left out (empty: nothing worth telling, such as document information).
const QHash<QByteArray, QString>& SkippedDestinations()
{
    static const QHash<QByteArray, QString> table = {
        {"info", {}},
        {"stylesheet", {}},
        {"fldinst", {}},
        {"filetbl", {}},
        {"listtable", {}},
        {"listoverridetable", {}},
        {"revtbl", {}},
        {"rsidtbl", {}},
        {"xmlnstbl", {}},
        {"generator", {}},
        {"themedata", {}},
        {"colorschememapping", {}},
        {"latentstyles", {}},
        {"datastore", {}},
        {"nonshppict", {}},
        {"bkmkstart", {}},
        {"bkmkend", {}},
        {"pgdsctbl", {}},
        {"header", QStringLiteral("headers and footers")},
        {"headerl", QStringLiteral("headers and footers")},
        {"headerr", QStringLiteral("headers and footers")},
        {"headerf", QStringLiteral("headers and footers")},
        {"footer", QStringLiteral("headers and footers")},
        {"footerl", QStringLiteral("headers and footers")},
        {"footerr", QStringLiteral("headers and footers")},
        {"footerf", QStringLiteral("headers and footers")},
        {"footnote", QStringLiteral("footnotes")},
        {"object", QStringLiteral("objects")},
        {"shp", QStringLiteral("objects")},
        {"do", QStringLiteral("objects")},
    };
    return table;
}

class TParser {
public:
    TParser(const QByteArray& bytes, QTextDocument& document, TRtfReadResult& result)
        : mBytes(bytes), mData(bytes.constData()), mSize(bytes.size()), mDocument(document),
          mCursor(&document), mResult(result)
    {
    }

    void Run();

private:
    void RunTokens();
    // Tokens
    void ControlWord(qsizetype start);
    void ControlSymbol(char symbol, qsizetype at);
    void Word(const QByteArray& word, bool hasParam, int param, qsizetype at);
    void OpenGroup(qsizetype at);
    void CloseGroup();
    void Fail(const QString& message, qsizetype at);

    // Text
    void Char(char16_t c);
    void Byte(unsigned char byte);
    void Unicode(int value);
    void FlushRun();
    void EndParagraph();
    void FinishDocument();
    QTextCharFormat CharFormat(const TCharState& state) const;
    QTextBlockFormat BlockFormat(const TParaState& state) const;
    void EndPicture();
    void AddDropped(const QString& what);

    TGroup& Top() { return mStack.back(); }

    const QByteArray& mBytes;
    const char* mData;
    qsizetype mSize;
    qsizetype mPos = 0;
    QTextDocument& mDocument;
    QTextCursor mCursor;
    TRtfReadResult& mResult;

    std::vector<TGroup> mStack;
    bool mDone = false;
    bool mFailed = false;

    QString mRun;
    TCharState mRunState;
    TCharState mLastFormatState;
    bool mRunFormatValid = false;
    QTextCharFormat mRunFormat;
    int mFallbackToSkip = 0;
    char16_t mHighSurrogate = 0;
    bool mPendingCellTab = false;
    bool mNextPageBreak = false;

    int mDefaultFont = 0;
    QHash<int, QString> mFonts;
    int mFontNumber = -1;
    QString mFontName;
    std::vector<QColor> mColors; // index 0 may be automatic (invalid colour)
    int mRed = 0, mGreen = 0, mBlue = 0;
    bool mColorGiven = false;
    TPicture mPicture;

    TPageLayout mLayout;
    bool mLayoutGiven = false;
    bool mStarIgnorable = false; // the group just opened with \*
    bool mGroupStart = false;    // nothing but \* read since the last '{'
};

void TParser::Run()
{
    mStack.reserve(64);
    mCursor.beginEditBlock();
    RunTokens();
    mCursor.endEditBlock();
}

void TParser::RunTokens()
{
    // The outermost "{\rtf" group is opened by the loop like any other.
    while (mPos < mSize && !mDone && !mFailed) {
        const char c = mData[mPos];
        switch (c) {
        case '{':
            OpenGroup(mPos);
            ++mPos;
            break;
        case '}':
            ++mPos;
            CloseGroup();
            break;
        case '\\': {
            const qsizetype at = mPos;
            ++mPos;
            if (mPos >= mSize) {
                ++mResult.repairs;
                break;
            }
            if (IsLetter(mData[mPos]))
                ControlWord(at);
            else {
                const char symbol = mData[mPos++];
                ControlSymbol(symbol, at);
            }
            break;
        }
        case '\r':
        case '\n':
            ++mPos;
            break;
        default:
            ++mPos;
            if (mStack.empty()) {
                // Text before the first group: not RTF structure; ignored.
                break;
            }
            mGroupStart = false;
            Byte(static_cast<unsigned char>(c));
            break;
        }
    }
    if (mFailed)
        return;
    if (!mDone && !mStack.empty())
        ++mResult.repairs; // missing closing braces: supplied
    FinishDocument();
}

void TParser::Fail(const QString& message, qsizetype at)
{
    mFailed = true;
    mResult.ok = false;
    mResult.error = message;
    mResult.offset = at;
}

void TParser::OpenGroup(qsizetype at)
{
    if (static_cast<int>(mStack.size()) >= TRtfReader::MaxNesting) {
        Fail(QStringLiteral("groups are nested deeper than 1,000 levels"), at);
        return;
    }
    mFallbackToSkip = 0;
    if (mStack.empty())
        mStack.push_back(TGroup{});
    else {
        TGroup inner = Top();
        if (inner.dest == EDest::FontTable)
            inner.dest = EDest::FontEntry;
        else if (inner.dest == EDest::FontEntry || inner.dest == EDest::ColorTable ||
                 inner.dest == EDest::Picture)
            inner.dest = EDest::Skip; // {\*\panose ...}, {\*\blipuid ...} and the like
        mStack.push_back(inner);
    }
    mGroupStart = true;
    mStarIgnorable = false;
}

void TParser::CloseGroup()
{
    mFallbackToSkip = 0;
    mGroupStart = false;
    if (mStack.empty()) {
        ++mResult.repairs; // a closing brace with no group open
        mDone = true;
        return;
    }
    if (mStack.size() == 1) {
        // The outermost group ends the document; its state formats the last paragraph, and
        // whatever follows is ignored.
        mDone = true;
        return;
    }
    const TGroup closing = Top();
    if (closing.dest == EDest::Picture &&
        (mStack.size() < 2 || mStack[mStack.size() - 2].dest != EDest::Picture))
        EndPicture();
    if (closing.dest == EDest::FontEntry && mFontNumber >= 0 &&
        (mStack.size() < 2 || mStack[mStack.size() - 2].dest != EDest::FontEntry)) {
        // A font entry without its ';'.
        if (!mFontName.trimmed().isEmpty())
            mFonts.insert(mFontNumber, mFontName.trimmed());
        mFontNumber = -1;
        mFontName.clear();
    }
    mStack.pop_back();
}

void TParser::ControlWord(qsizetype at)
{
    const qsizetype start = mPos;
    while (mPos < mSize && IsLetter(mData[mPos]))
        ++mPos;
    const QByteArray word(mData + start, mPos - start);
    bool hasParam = false;
    bool negative = false;
    qint64 value = 0;
    bool overflow = false;
    if (mPos < mSize && mData[mPos] == '-' && mPos + 1 < mSize && IsDigit(mData[mPos + 1])) {
        negative = true;
        ++mPos;
    }
    while (mPos < mSize && IsDigit(mData[mPos])) {
        hasParam = true;
        if (!overflow) {
            value = value * 10 + (mData[mPos] - '0');
            if (value > qint64(INT_MAX) + 1)
                overflow = true;
        }
        ++mPos;
    }
    if (mPos < mSize && mData[mPos] == ' ')
        ++mPos; // the delimiter belongs to the word
    int param = 0;
    if (hasParam) {
        if (negative)
            value = -value;
        if (overflow || value > INT_MAX || value < INT_MIN) {
            ++mResult.repairs;
            value = overflow ? (negative ? INT_MIN : INT_MAX)
                             : std::clamp<qint64>(value, INT_MIN, INT_MAX);
        }
        param = static_cast<int>(value);
    }
    Word(word, hasParam, param, at);
}

void TParser::ControlSymbol(char symbol, qsizetype at)
{
    if (mStack.empty())
        return;
    const bool groupStart = mGroupStart;
    mGroupStart = false;
    switch (symbol) {
    case '*':
        if (groupStart) {
            mStarIgnorable = true;
            mGroupStart = true; // the destination word still counts as the group's first
        }
        return;
    case '\'': {
        if (mPos + 1 < mSize && HexValue(mData[mPos]) >= 0 && HexValue(mData[mPos + 1]) >= 0) {
            const int byte = HexValue(mData[mPos]) * 16 + HexValue(mData[mPos + 1]);
            mPos += 2;
            Byte(static_cast<unsigned char>(byte));
        } else
            ++mResult.repairs; // bad escape: dropped; what follows is read as usual
        return;
    }
    case '\\':
    case '{':
    case '}':
        Byte(static_cast<unsigned char>(symbol));
        return;
    case '~':
        mFallbackToSkip = 0;
        Char(0x00A0);
        return;
    case '-':
        mFallbackToSkip = 0;
        Char(0x00AD);
        return;
    case '_':
        mFallbackToSkip = 0;
        Char(0x2011);
        return;
    case '\t':
        Char(u'\t');
        return;
    case '\r':
    case '\n':
        Word("par", false, 0, at);
        return;
    default:
        return; // \| \: and other symbols of no meaning here
    }
}

void TParser::AddDropped(const QString& what)
{
    if (!what.isEmpty() && !mResult.dropped.contains(what))
        mResult.dropped.append(what);
}

void TParser::Word(const QByteArray& word, bool hasParam, int param, qsizetype at)
{
    if (mStack.empty())
        return;
    const bool groupStart = mGroupStart;
    const bool starred = mStarIgnorable;
    mGroupStart = false;
    mStarIgnorable = false;
    TGroup& group = Top();

    if (word == "bin") {
        if (!hasParam || param < 0) {
            Fail(QStringLiteral("a \\bin word gives a negative byte count"), at);
            return;
        }
        if (param > mSize - mPos) {
            Fail(QStringLiteral("a \\bin word claims more bytes than the text holds"), at);
            return;
        }
        if (group.dest == EDest::Picture)
            mPicture.bytes.append(mData + mPos, param);
        mPos += param;
        return;
    }

    if (group.dest == EDest::Skip)
        return;

    // The destination words that open a group of their own.
    if (groupStart) {
        if (word == "rtf" && mStack.size() == 1)
            return;
        if (word == "fonttbl") {
            group.dest = EDest::FontTable;
            return;
        }
        if (word == "colortbl") {
            group.dest = EDest::ColorTable;
            mColors.clear();
            mColorGiven = false;
            return;
        }
        if (word == "pict") {
            group.dest = EDest::Picture;
            mPicture = TPicture{};
            return;
        }
        const auto skipped = SkippedDestinations().constFind(word);
        if (skipped != SkippedDestinations().constEnd()) {
            group.dest = EDest::Skip;
            AddDropped(skipped.value());
            return;
        }
        if (word == "fldrslt" || word == "field" || word == "shppict" || word == "shpinst" ||
            word == "shptxt" || word == "listtext" || word == "pntext") {
            if (word == "shpinst")
                group.dest = EDest::Skip, AddDropped(QStringLiteral("objects"));
            return;
        }
        if (starred) {
            group.dest = EDest::Skip; // an ignorable destination this reader does not know
            return;
        }
    }

    switch (group.dest) {
    case EDest::FontTable:
    case EDest::FontEntry:
        if (word == "f" && hasParam) {
            mFontNumber = param;
            mFontName.clear();
        } else if (word == "u" && mFontNumber >= 0) {
            // A face name outside the code page.
            const bool inRange = param >= -32768 && param <= 65535;
            const char16_t unit =
                inRange ? static_cast<char16_t>(param < 0 ? param + 65536 : param) : Replacement;
            if (unit >= 0x20 && unit != 0x7F && unit != u';' && mFontName.size() < 256)
                mFontName.append(QChar(unit));
            mFallbackToSkip = group.unicodeSkip;
        }
        return;
    case EDest::ColorTable:
        if (word == "red")
            mRed = std::clamp(param, 0, 255), mColorGiven = true;
        else if (word == "green")
            mGreen = std::clamp(param, 0, 255), mColorGiven = true;
        else if (word == "blue")
            mBlue = std::clamp(param, 0, 255), mColorGiven = true;
        return;
    case EDest::Picture:
        if (word == "pngblip")
            mPicture.kind = EPictureKind::Png;
        else if (word == "jpegblip")
            mPicture.kind = EPictureKind::Jpeg;
        else if (word == "emfblip" || word == "wmetafile" || word == "macpict" ||
                 word == "pmmetafile" || word == "dibitmap" || word == "wbitmap")
            mPicture.kind = EPictureKind::Other;
        else if (word == "picw")
            mPicture.widthPixels = param;
        else if (word == "pich")
            mPicture.heightPixels = param;
        else if (word == "picwgoal")
            mPicture.widthGoal = param;
        else if (word == "pichgoal")
            mPicture.heightGoal = param;
        else if (word == "picscalex")
            mPicture.scaleX = param;
        else if (word == "picscaley")
            mPicture.scaleY = param;
        return;
    case EDest::Skip:
        return;
    case EDest::Text:
        break;
    }

    // Words that end a \uN fallback early.
    if (word != "u")
        mFallbackToSkip = 0;

    TCharState& chr = group.chr;
    TParaState& para = group.para;
    // Document
    if (word == "deff") {
        mDefaultFont = param;
    } else if (word == "ansicpg" || word == "ansi" || word == "rtf") {
        // Windows-1252 is the only code page the subset reads.
    } else if (word == "paperw") {
        mLayout.paperWidth = param, mLayoutGiven = true;
    } else if (word == "paperh") {
        mLayout.paperHeight = param, mLayoutGiven = true;
    } else if (word == "margl") {
        mLayout.marginLeft = param, mLayoutGiven = true;
    } else if (word == "margr") {
        mLayout.marginRight = param, mLayoutGiven = true;
    } else if (word == "margt") {
        mLayout.marginTop = param, mLayoutGiven = true;
    } else if (word == "margb") {
        mLayout.marginBottom = param, mLayoutGiven = true;
    }
    // Characters
    else if (word == "plain") {
        chr = TCharState{};
    } else if (word == "f") {
        chr.font = hasParam ? param : -1;
    } else if (word == "fs") {
        const int size = hasParam ? param : DefaultHalfPoints;
        if (size < MinHalfPoints || size > MaxHalfPoints)
            ++mResult.repairs;
        chr.halfPoints = std::clamp(size, MinHalfPoints, MaxHalfPoints);
    } else if (word == "b") {
        chr.bold = !hasParam || param != 0;
    } else if (word == "i") {
        chr.italic = !hasParam || param != 0;
    } else if (word == "ul" || word == "uld" || word == "uldb" || word == "ulw" ||
               word == "uldash") {
        chr.underline = !hasParam || param != 0;
    } else if (word == "ulnone") {
        chr.underline = false;
    } else if (word == "cf") {
        chr.foreground = param;
    } else if (word == "highlight" || word == "cb" || word == "chcbpat") {
        chr.background = param;
    }
    // Paragraphs
    else if (word == "pard") {
        para = TParaState{};
    } else if (word == "par") {
        EndParagraph();
    } else if (word == "ql") {
        para.alignment = Qt::AlignLeft;
    } else if (word == "qr") {
        para.alignment = Qt::AlignRight;
    } else if (word == "qc") {
        para.alignment = Qt::AlignHCenter;
    } else if (word == "qj") {
        para.alignment = Qt::AlignJustify;
    } else if (word == "li" || word == "lin") {
        para.leftIndent = param;
    } else if (word == "ri" || word == "rin") {
        para.rightIndent = param;
    } else if (word == "fi") {
        para.firstIndent = param;
    } else if (word == "sb") {
        para.spaceBefore = param;
    } else if (word == "sa") {
        para.spaceAfter = param;
    } else if (word == "sl") {
        para.lineSpacing = param;
    } else if (word == "slmult") {
        para.lineMultiple = param != 0;
    } else if (word == "pagebb") {
        para.pageBreakBefore = true;
    } else if (word == "page") {
        // A page break inside a paragraph ends it; the next one starts the new page. At the start
        // of a paragraph it marks that paragraph.
        FlushRun();
        if (mCursor.block().length() > 1)
            EndParagraph();
        mNextPageBreak = true;
    } else if (word == "line") {
        Char(QChar::LineSeparator);
    } else if (word == "tab") {
        Char(u'\t');
    } else if (word == "intbl") {
        para.inTable = true;
    } else if (word == "cell" || word == "nestcell") {
        mPendingCellTab = true;
    } else if (word == "row" || word == "nestrow") {
        mPendingCellTab = false;
        EndParagraph();
    }
    // Characters by name
    else if (word == "lquote") {
        Char(0x2018);
    } else if (word == "rquote") {
        Char(0x2019);
    } else if (word == "ldblquote") {
        Char(0x201C);
    } else if (word == "rdblquote") {
        Char(0x201D);
    } else if (word == "endash") {
        Char(0x2013);
    } else if (word == "emdash") {
        Char(0x2014);
    } else if (word == "bullet") {
        Char(0x2022);
    } else if (word == "emspace") {
        Char(0x2003);
    } else if (word == "enspace") {
        Char(0x2002);
    } else if (word == "qmspace") {
        Char(0x2005);
    } else if (word == "uc") {
        group.unicodeSkip = std::clamp(param, 0, 16);
    } else if (word == "u") {
        Unicode(param);
        if (!hasParam)
            ++mResult.repairs;
        mFallbackToSkip = group.unicodeSkip;
    }
    // Any other word is not part of the subset and has no effect.
}

void TParser::Byte(unsigned char byte)
{
    TGroup& group = Top();
    switch (group.dest) {
    case EDest::Skip:
        return;
    case EDest::FontTable:
    case EDest::FontEntry:
        if (mFontNumber < 0)
            return;
        if (mFallbackToSkip > 0) {
            --mFallbackToSkip;
            return;
        }
        if (byte == ';') {
            if (!mFontName.trimmed().isEmpty())
                mFonts.insert(mFontNumber, mFontName.trimmed());
            mFontNumber = -1;
            mFontName.clear();
        } else if (byte >= 0x20 && byte != 0x7F && mFontName.size() < 256)
            mFontName.append(QChar(static_cast<char32_t>(xbase::TCodePage1252::CodePoint(byte))));
        return;
    case EDest::ColorTable:
        if (byte == ';') {
            mColors.push_back(mColorGiven ? QColor(mRed, mGreen, mBlue) : QColor());
            mRed = mGreen = mBlue = 0;
            mColorGiven = false;
        }
        return;
    case EDest::Picture: {
        const int nibble = HexValue(static_cast<char>(byte));
        if (nibble < 0)
            return;
        if (mPicture.pendingNibble < 0)
            mPicture.pendingNibble = nibble;
        else {
            mPicture.bytes.append(static_cast<char>(mPicture.pendingNibble * 16 + nibble));
            mPicture.pendingNibble = -1;
        }
        return;
    }
    case EDest::Text:
        break;
    }
    if (mFallbackToSkip > 0) {
        --mFallbackToSkip;
        return;
    }
    if (byte == '\t') {
        Char(u'\t');
        return;
    }
    if (byte < 0x20)
        return; // control characters are not text in RTF
    Char(static_cast<char16_t>(xbase::TCodePage1252::CodePoint(byte)));
}

void TParser::Unicode(int value)
{
    char16_t unit;
    if (value < -32768 || value > 65535) {
        ++mResult.repairs;
        unit = Replacement;
    } else
        unit = static_cast<char16_t>(value < 0 ? value + 65536 : value);
    if (QChar::isHighSurrogate(unit)) {
        if (mHighSurrogate) {
            mHighSurrogate = 0; // the earlier high half stood alone: its U+FFFD stays
            ++mResult.repairs;
        }
        Char(Replacement); // placeholder, replaced when the low half follows
        mHighSurrogate = unit;
        return;
    }
    if (QChar::isLowSurrogate(unit)) {
        if (mHighSurrogate && !mRun.isEmpty() && mRun.back() == QChar(Replacement)) {
            mRun.back() = QChar(mHighSurrogate);
            mRun.append(QChar(unit));
            mHighSurrogate = 0;
            return;
        }
        ++mResult.repairs;
        Char(Replacement);
        return;
    }
    Char(unit);
}

void TParser::Char(char16_t c)
{
    if (Top().dest != EDest::Text)
        return;
    if (c == QChar::ParagraphSeparator) {
        EndParagraph();
        return;
    }
    // Control characters are not text, and the document's own markers (frames, objects) may not
    // come from the input.
    if ((c < 0x20 && c != u'\t') || c == 0x7F || c == 0xFDD0 || c == 0xFDD1 ||
        c == QChar::ObjectReplacementCharacter) {
        ++mResult.repairs;
        return;
    }
    if (mHighSurrogate) {
        // The high half stood alone: its placeholder stays U+FFFD.
        mHighSurrogate = 0;
        ++mResult.repairs;
    }
    if (mPendingCellTab) {
        mPendingCellTab = false;
        Char(u'\t');
    }
    const TCharState& state = Top().chr;
    if (!mRun.isEmpty() && !(state == mRunState))
        FlushRun();
    if (mRun.isEmpty())
        mRunState = state;
    mRun.append(QChar(c));
}

QTextCharFormat TParser::CharFormat(const TCharState& state) const
{
    QTextCharFormat format;
    auto font = mFonts.constFind(state.font >= 0 ? state.font : mDefaultFont);
    if (font == mFonts.constEnd())
        font = mFonts.constFind(mDefaultFont);
    const QString family =
        font != mFonts.constEnd() ? font.value() : mDocument.defaultFont().family();
    format.setFontFamilies(QStringList{family});
    format.setFontPointSize(state.halfPoints / 2.0);
    format.setFontWeight(state.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(state.italic);
    format.setFontUnderline(state.underline);
    auto color = [this](int index) {
        return index > 0 && index < static_cast<int>(mColors.size()) ? mColors[index] : QColor();
    };
    const QColor foreground = color(state.foreground);
    if (foreground.isValid())
        format.setForeground(foreground);
    const QColor background = color(state.background);
    if (background.isValid())
        format.setBackground(background);
    return format;
}

QTextBlockFormat TParser::BlockFormat(const TParaState& state) const
{
    QTextBlockFormat format;
    format.setAlignment(state.alignment);
    auto length = [](int twips) {
        return TTextUnits::TwipsToFormat(
            std::clamp(twips, -TPageLayout::MaxTwips, TPageLayout::MaxTwips));
    };
    format.setLeftMargin(length(state.leftIndent));
    format.setRightMargin(length(state.rightIndent));
    format.setTextIndent(length(state.firstIndent));
    format.setTopMargin(length(std::max(0, state.spaceBefore)));
    format.setBottomMargin(length(std::max(0, state.spaceAfter)));
    if (state.lineSpacing != 0) {
        if (state.lineMultiple && state.lineSpacing > 0)
            format.setLineHeight(std::min(state.lineSpacing, 240 * 10) * 100.0 / 240.0,
                                 QTextBlockFormat::ProportionalHeight);
        else if (state.lineSpacing > 0)
            format.setLineHeight(length(state.lineSpacing), QTextBlockFormat::MinimumHeight);
        else {
            const qint64 exact = -static_cast<qint64>(state.lineSpacing);
            format.setLineHeight(
                length(static_cast<int>(std::min<qint64>(exact, TPageLayout::MaxTwips))),
                QTextBlockFormat::FixedHeight);
        }
    }
    if (state.pageBreakBefore || mNextPageBreak)
        format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    return format;
}

void TParser::FlushRun()
{
    if (mRun.isEmpty())
        return;
    if (!mRunFormatValid || !(mRunState == mLastFormatState)) {
        mRunFormat = CharFormat(mRunState);
        mLastFormatState = mRunState;
        mRunFormatValid = true;
    }
    mCursor.insertText(mRun, mRunFormat);
    mRun.clear();
}

void TParser::EndParagraph()
{
    if (Top().dest != EDest::Text)
        return;
    FlushRun();
    mCursor.setBlockFormat(BlockFormat(Top().para));
    mCursor.setBlockCharFormat(CharFormat(Top().chr));
    mNextPageBreak = false;
    mCursor.insertBlock();
}

void TParser::FinishDocument()
{
    // The last paragraph takes the formats in force where the text ends: those of the innermost
    // group holding text (input cut off inside a table or picture ends in the text around it).
    TGroup last;
    for (auto group = mStack.rbegin(); group != mStack.rend(); ++group)
        if (group->dest == EDest::Text) {
            last = *group;
            break;
        }
    mStack.assign(1, last);
    FlushRun();
    mCursor.setBlockFormat(BlockFormat(Top().para));
    mCursor.setBlockCharFormat(CharFormat(Top().chr));
    if (mLayoutGiven && mLayout.IsUsable()) {
        mResult.layout = mLayout;
        mResult.layoutFromText = true;
    } else {
        if (mLayoutGiven)
            ++mResult.repairs;
        mResult.layout = TPageLayout::Default();
    }
}

void TParser::EndPicture()
{
    if (mPicture.kind == EPictureKind::Png || mPicture.kind == EPictureKind::Jpeg) {
        const bool pngMagic = mPicture.bytes.startsWith("\x89PNG");
        const bool jpegMagic = mPicture.bytes.startsWith("\xFF\xD8");
        if (!(pngMagic || jpegMagic)) {
            AddDropped(QStringLiteral("pictures"));
            return;
        }
        const QString name =
            QStringLiteral("rtfpict:%1").arg(gPictureCounter.fetchAndAddRelaxed(1) + 1);
        mDocument.addResource(QTextDocument::ImageResource, QUrl(name), mPicture.bytes);
        mResult.pictures.append(name);
        // Size on the page: the goal size in twips, scaled; else the picture's pixels at 96 dpi.
        auto side = [](int goal, int pixels, int scale) {
            double twips = goal > 0 ? goal : std::max(pixels, 1) * 15.0;
            twips = twips * std::clamp(scale, 1, 1000) / 100.0;
            return TTextUnits::TwipsToFormat(
                std::clamp(twips, 15.0, double(TPageLayout::MaxTwips)));
        };
        QTextImageFormat image;
        image.setName(name);
        image.setWidth(side(mPicture.widthGoal, mPicture.widthPixels, mPicture.scaleX));
        image.setHeight(side(mPicture.heightGoal, mPicture.heightPixels, mPicture.scaleY));
        // The picture is inserted in its place among the text.
        TGroup& group = Top();
        const EDest saved = group.dest;
        group.dest = EDest::Text;
        if (mPendingCellTab)
            Char(u'\t');
        FlushRun();
        QTextImageFormat withChar = image;
        const QTextCharFormat around = CharFormat(group.chr);
        withChar.setFontPointSize(around.fontPointSize());
        mCursor.insertImage(withChar);
        group.dest = saved;
        return;
    }
    AddDropped(QStringLiteral("pictures"));
}

} // namespace

bool TRtfReader::LooksLikeRtf(const QByteArray& bytes)
{
    qsizetype i = 0;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        i = 3;
    while (i < bytes.size() &&
           (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n'))
        ++i;
    return bytes.mid(i, 5) == "{\\rtf";
}

TRtfReadResult TRtfReader::Read(const QByteArray& bytes, QTextDocument& document)
{
    TRtfReadResult result;
    document.clear();
    if (bytes.size() > MaxInputBytes) {
        result.ok = false;
        result.error = QStringLiteral("the text is larger than 16 MB");
        result.offset = MaxInputBytes;
        return result;
    }
    if (!LooksLikeRtf(bytes)) {
        result.wasRtf = false;
        QString text;
        auto decoder = QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        text = decoder.decode(bytes);
        if (decoder.hasError()) {
            text.clear();
            text.reserve(bytes.size());
            for (const char c : bytes)
                text.append(QChar(static_cast<char32_t>(
                    xbase::TCodePage1252::CodePoint(static_cast<unsigned char>(c)))));
        }
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(QChar(u'\r'), QChar(u'\n'));
        QTextCursor cursor(&document);
        QTextCharFormat format;
        format.setFontFamilies(QStringList{document.defaultFont().family()});
        format.setFontPointSize(
            document.defaultFont().pointSizeF() > 0 ? document.defaultFont().pointSizeF() : 12);
        const QStringList lines = text.split(QChar(u'\n'));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                cursor.insertBlock(QTextBlockFormat(), format);
            else
                cursor.setBlockCharFormat(format);
            QString line = lines[i];
            // Other control characters are not text; a tab stays.
            line.removeIf([](QChar c) {
                const char16_t u = c.unicode();
                return (u < 0x20 && u != u'\t') || u == 0x7F || u == 0xFDD0 || u == 0xFDD1 ||
                       u == QChar::ObjectReplacementCharacter;
            });
            if (!line.isEmpty())
                cursor.insertText(line, format);
        }
        return result;
    }
    // One edit block for the whole text: the cursor then skips its per-insert layout work and
    // the document's layout hears of the change once. Reading is not an undo step.
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);
    {
        TParser parser(bytes, document, result);
        parser.Run();
    }
    document.setUndoRedoEnabled(undo);
    if (!result.ok)
        document.clear();
    return result;
}

} // namespace qm::richtext
