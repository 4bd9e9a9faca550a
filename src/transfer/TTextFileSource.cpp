#include "transfer/TTextFileSource.h"

#include "transfer/TTransferError.h"

#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <vector>

namespace qm::transfer {

namespace {

// UTF-8 checked piece by piece: shortest forms only, no surrogates, nothing above U+10FFFF.
class TUtf8Check {
public:
    void Feed(const unsigned char* p, size_t n)
    {
        for (size_t i = 0; i < n && mValid; ++i) {
            const unsigned char b = p[i];
            if (mNeed == 0) {
                if (b < 0x80)
                    continue;
                mLow = 0x80;
                mHigh = 0xBF;
                if (b >= 0xC2 && b <= 0xDF) {
                    mNeed = 1;
                } else if (b >= 0xE0 && b <= 0xEF) {
                    mNeed = 2;
                    if (b == 0xE0)
                        mLow = 0xA0;
                    else if (b == 0xED)
                        mHigh = 0x9F;
                } else if (b >= 0xF0 && b <= 0xF4) {
                    mNeed = 3;
                    if (b == 0xF0)
                        mLow = 0x90;
                    else if (b == 0xF4)
                        mHigh = 0x8F;
                } else {
                    mValid = false;
                }
            } else {
                if (b < mLow || b > mHigh)
                    mValid = false;
                mLow = 0x80;
                mHigh = 0xBF;
                --mNeed;
            }
        }
    }
    bool Valid() const { return mValid && mNeed == 0; }

private:
    int mNeed = 0;
    unsigned char mLow = 0x80;
    unsigned char mHigh = 0xBF;
    bool mValid = true;
};

int MarkOf(const char* p, size_t n, TTextFileSource::TKind& kind, bool& utf8Mark)
{
    utf8Mark = false;
    if (n >= 3 && std::memcmp(p, "\xEF\xBB\xBF", 3) == 0) {
        utf8Mark = true;
        kind = TTextFileSource::TKind::Utf8;
        return 3;
    }
    if (n >= 2 && std::memcmp(p, "\xFF\xFE", 2) == 0) {
        kind = TTextFileSource::TKind::Utf16LE;
        return 2;
    }
    if (n >= 2 && std::memcmp(p, "\xFE\xFF", 2) == 0) {
        kind = TTextFileSource::TKind::Utf16BE;
        return 2;
    }
    return 0;
}

const QString kNul = QStringLiteral(" does not hold readable text: it contains NUL bytes.");

// Text saved as UTF-16 without a byte-order mark holds a NUL in every other byte wherever it is
// Latin text. Judged on the first bytes: NULs in at least a quarter of the byte pairs, nearly all
// on the same side of the pair (the second byte: little-endian; the first: big-endian).
QString NulReason(const char* start, size_t n)
{
    n = std::min<size_t>(n, 4096) & ~size_t(1);
    size_t even = 0, odd = 0;
    for (size_t i = 0; i < n; ++i)
        if (start[i] == 0)
            ++((i % 2 == 0) ? even : odd);
    const size_t pairs = n / 2;
    const auto dominant = [pairs](size_t mine, size_t other) {
        return pairs > 0 && mine * 4 >= pairs && other * 16 <= mine;
    };
    const char* order = dominant(odd, even)   ? "little-endian"
                        : dominant(even, odd) ? "big-endian"
                                              : nullptr;
    if (order == nullptr)
        return kNul;
    return QStringLiteral(" looks like UTF-16 text (") + QString::fromLatin1(order) +
           QStringLiteral(") without a byte-order mark, which the import needs to tell UTF-16 "
                          "apart. Save the file again as UTF-16 with a byte-order mark (often "
                          "called \"Unicode\"), or as UTF-8, and import it again.");
}
const QString kBadUtf8 =
    QStringLiteral(" starts with a UTF-8 byte-order mark but is not valid UTF-8 text.");
const QString kBadUtf16 = QStringLiteral(" is not readable UTF-16 text.");

// Every surrogate in a pair, and no NUL character.
bool Utf16Readable(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isNull() || c.isLowSurrogate())
            return false;
        if (c.isHighSurrogate()) {
            if (i + 1 >= text.size() || !text[i + 1].isLowSurrogate())
                return false;
            ++i;
        }
    }
    return true;
}

} // namespace

TTextFileSource::TKind TTextFileSource::Decide(const QByteArray& bytes, QString* refusal,
                                               int* markLength)
{
    TKind kind = TKind::Utf8;
    bool utf8Mark = false;
    const int mark = MarkOf(bytes.constData(), size_t(bytes.size()), kind, utf8Mark);
    if (markLength)
        *markLength = mark;
    if (refusal)
        refusal->clear();
    if (kind == TKind::Utf16LE || kind == TKind::Utf16BE) {
        QStringDecoder decoder(kind == TKind::Utf16LE ? QStringConverter::Utf16LE
                                                      : QStringConverter::Utf16BE,
                               QStringConverter::Flag::Stateless);
        const QString text = decoder(QByteArrayView(bytes).sliced(mark));
        if ((decoder.hasError() || !Utf16Readable(text) || (bytes.size() - mark) % 2 != 0) &&
            refusal)
            *refusal = QStringLiteral("The file") + kBadUtf16;
        return kind;
    }
    const char* body = bytes.constData() + mark;
    const size_t size = size_t(bytes.size() - mark);
    if (std::memchr(body, 0, size) != nullptr) {
        if (refusal)
            *refusal = QStringLiteral("The file") + NulReason(body, size);
        return TKind::Windows1252;
    }
    TUtf8Check check;
    check.Feed(reinterpret_cast<const unsigned char*>(body), size);
    if (check.Valid())
        return TKind::Utf8;
    if (utf8Mark && refusal)
        *refusal = QStringLiteral("The file") + kBadUtf8;
    return TKind::Windows1252;
}

TTextFileSource::TTextFileSource(const QString& path) : mPath(path), mFile(path)
{
    if (!mFile.open(QIODevice::ReadOnly))
        throw TTransferError(QStringLiteral("Unable to open the file ") + path +
                             QStringLiteral(" (") + mFile.errorString() + QStringLiteral(")."));
    mSize = mFile.size();
    char head[4] = {};
    const qint64 got = mFile.read(head, sizeof head);
    bool utf8Mark = false;
    mMarkLength = MarkOf(head, size_t(got > 0 ? got : 0), mKind, utf8Mark);
    if (mKind == TKind::Utf8) {
        // The whole file once: NUL bytes and UTF-8 validity.
        mFile.seek(mMarkLength);
        std::vector<char> buffer(1 << 20);
        TUtf8Check check;
        std::string start; // the first bytes, to tell UTF-16 without a mark
        for (;;) {
            const qint64 n = mFile.read(buffer.data(), qint64(buffer.size()));
            if (n < 0)
                Fail(QStringLiteral(" could not be read (") + mFile.errorString() + ")");
            if (n == 0)
                break;
            if (start.empty())
                start.assign(buffer.data(), std::min<size_t>(size_t(n), 4096));
            if (std::memchr(buffer.data(), 0, size_t(n)) != nullptr)
                Fail(NulReason(start.data(), start.size()));
            check.Feed(reinterpret_cast<const unsigned char*>(buffer.data()), size_t(n));
        }
        if (!check.Valid()) {
            if (utf8Mark)
                Fail(kBadUtf8);
            mKind = TKind::Windows1252;
        }
    }
    Rewind();
}

TTextFileSource::~TTextFileSource() = default;

void TTextFileSource::Fail(const QString& reason) const
{
    throw TTransferError(QFileInfo(mPath).fileName() + reason);
}

void TTextFileSource::Rewind()
{
    mFile.seek(mMarkLength);
    mPending.clear();
    mPendingPos = 0;
    mCarry.clear();
    if (mKind == TKind::Utf16LE || mKind == TKind::Utf16BE)
        mDecoder = std::make_unique<QStringDecoder>(
            mKind == TKind::Utf16LE ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
}

size_t TTextFileSource::Read(char* buffer, size_t size)
{
    if (!mDecoder) {
        const qint64 n = mFile.read(buffer, qint64(size));
        if (n < 0)
            Fail(QStringLiteral(" could not be read (") + mFile.errorString() + ")");
        return size_t(n);
    }
    while (mPendingPos == mPending.size()) {
        QByteArray raw = mFile.read(1 << 16);
        if (raw.isEmpty()) {
            if (mFile.error() != QFileDevice::NoError)
                Fail(QStringLiteral(" could not be read (") + mFile.errorString() + ")");
            if (mDecoder->hasError() || !mCarry.isEmpty() || (mFile.pos() - mMarkLength) % 2 != 0)
                Fail(kBadUtf16);
            return 0;
        }
        // A pair cut at the end of the piece is finished with the next piece.
        QString text = mCarry + (*mDecoder)(raw);
        mCarry.clear();
        if (!text.isEmpty() && text.back().isHighSurrogate()) {
            mCarry = text.back();
            text.chop(1);
        }
        if (mDecoder->hasError() || !Utf16Readable(text))
            Fail(kBadUtf16);
        const QByteArray utf8 = text.toUtf8();
        mPending.assign(utf8.constData(), size_t(utf8.size()));
        mPendingPos = 0;
    }
    const size_t n = std::min(size, mPending.size() - mPendingPos);
    std::memcpy(buffer, mPending.data() + mPendingPos, n);
    mPendingPos += n;
    return n;
}

} // namespace qm::transfer
