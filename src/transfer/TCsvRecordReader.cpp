#include "transfer/TCsvRecordReader.h"

namespace qm::transfer {

TCsvRecordReader::TCsvRecordReader(TByteSource& source, const TOptions& options)
    : mSource(source), mOptions(options), mBuffer(1 << 16)
{
}

bool TCsvRecordReader::Fill()
{
    if (mAtEnd)
        return false;
    mEnd = mSource.Read(mBuffer.data(), mBuffer.size());
    mPos = 0;
    if (mEnd == 0) {
        mAtEnd = true;
        return false;
    }
    return true;
}

void TCsvRecordReader::StartField()
{
    ++mSourceCount;
    mCutting = false;
    if (mCount >= mOptions.maxFields) {
        mField = nullptr;
        return;
    }
    if (mFields.size() <= size_t(mCount)) {
        mFields.resize(size_t(mCount) + 1);
        mCut.resize(size_t(mCount) + 1);
    }
    mField = &mFields[size_t(mCount)];
    mField->clear();
    mCut[size_t(mCount)] = 0;
}

void TCsvRecordReader::Add(char c)
{
    if (mField == nullptr || mCutting)
        return;
    // Cut only in front of the first byte of a character, so a UTF-8 value stays whole.
    if (mField->size() >= mOptions.maxFieldBytes &&
        (static_cast<unsigned char>(c) & 0xC0) != 0x80) {
        mCutting = true;
        mCut[size_t(mCount)] = 1;
        return;
    }
    mField->push_back(c);
}

void TCsvRecordReader::AddRun(const char* bytes, size_t n)
{
    if (mField == nullptr || mCutting)
        return;
    if (mField->size() + n <= mOptions.maxFieldBytes) {
        mField->append(bytes, n);
        return;
    }
    for (size_t i = 0; i < n && !mCutting; ++i)
        Add(bytes[i]);
}

void TCsvRecordReader::EndField()
{
    if (mField != nullptr)
        ++mCount;
    mField = nullptr;
}

bool TCsvRecordReader::Next()
{
    mCount = 0;
    mSourceCount = 0;
    int c = Peek();
    while (mOptions.skipEmptyLines && (c == '\r' || c == '\n')) {
        ++mPos;
        ++mBytesRead;
        if (c == '\r' && Peek() == '\n') {
            ++mPos;
            ++mBytesRead;
        }
        ++mLine;
        mLinesRead = mLine - 1;
        c = Peek();
    }
    if (c < 0)
        return false;
    mRecordLine = mLine;
    mQuoteSpanLine = 0;

    const auto endRecord = [this](int ch) {
        // ch is the character that ends the record: CR, LF or -1 (the end of the input).
        mRecordEndLine = mLine;
        mLinesRead = mLine;
        if (ch == '\r') {
            ++mPos;
            ++mBytesRead;
            if (Peek() == '\n') {
                ++mPos;
                ++mBytesRead;
            }
            ++mLine;
        } else if (ch == '\n') {
            ++mPos;
            ++mBytesRead;
            ++mLine;
        }
    };

    if (c == '\r' || c == '\n') {
        endRecord(c); // an empty line: a record without fields
        return true;
    }

    for (;;) {
        // At the start of a field.
        StartField();
        c = Peek();
        if (c == '"') {
            ++mPos;
            ++mBytesRead;
            const int64_t openedOn = mLine;
            bool reopen = false; // text after the closing quote: read on unquoted
            for (;;) {
                c = Peek();
                if (c < 0)
                    throw TCsvFormatError(TCsvFormatError::TKind::Unclosed, openedOn,
                                          "a quoted value is never closed");
                ++mPos;
                ++mBytesRead;
                if (c == '"') {
                    const int next = Peek();
                    if (next == '"') {
                        ++mPos;
                        ++mBytesRead;
                        Add('"');
                        continue;
                    }
                    if (next == ',' || next == '\r' || next == '\n' || next < 0)
                        break;
                    if (mOptions.strictQuotes)
                        throw TCsvFormatError(TCsvFormatError::TKind::TextAfterQuote, mLine,
                                              "text after the closing quote of a value");
                    reopen = true;
                    break;
                }
                if (c == '\n' || (c == '\r' && Peek() != '\n')) {
                    ++mLine;
                    if (mQuoteSpanLine == 0)
                        mQuoteSpanLine = openedOn;
                }
                Add(static_cast<char>(c));
            }
            if (!reopen) {
                c = Peek();
                EndField();
                if (c == ',') {
                    ++mPos;
                    ++mBytesRead;
                    continue;
                }
                endRecord(c);
                return true;
            }
        }
        // Unquoted (or the rest after a closing quote): up to a comma or the end of the line, taken
        // a run of bytes at a time.
        for (;;) {
            if (mPos == mEnd && !Fill()) {
                c = -1;
                break;
            }
            const size_t start = mPos;
            while (mPos < mEnd) {
                const char ch = mBuffer[mPos];
                if (ch == ',' || ch == '\r' || ch == '\n')
                    break;
                ++mPos;
            }
            AddRun(mBuffer.data() + start, mPos - start);
            mBytesRead += int64_t(mPos - start);
            if (mPos < mEnd) {
                c = static_cast<unsigned char>(mBuffer[mPos]);
                break;
            }
        }
        EndField();
        if (c == ',') {
            ++mPos;
            ++mBytesRead;
            continue;
        }
        endRecord(c);
        return true;
    }
}

} // namespace qm::transfer
