#include "transfer/TCopyOutRun.h"

#include "data/TFileFinder.h"
#include "data/TOutputFile.h"
#include "data/TWin1252.h"
#include "transfer/TStoredMemo.h"
#include "xbase/TCursor.h"
#include "xbase/TTable.h"
#include "xbase/TXbaseError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>

namespace qm::transfer {

namespace {

const QString kCopyError = QStringLiteral("There was an error copying");

// Read-ahead for a walk in record order, switched back as it was afterwards.
class TReadAhead {
public:
    explicit TReadAhead(xbase::TCursor& cursor) : mCursor(cursor), mWas(cursor.Table().TurboRead())
    {
        mCursor.SetTurboRead(cursor.Order() == 0 && cursor.SingleIndexOrder() == nullptr);
    }
    ~TReadAhead() { mCursor.SetTurboRead(mWas); }
    TReadAhead(const TReadAhead&) = delete;
    TReadAhead& operator=(const TReadAhead&) = delete;

private:
    xbase::TCursor& mCursor;
    bool mWas;
};

QString Failure(const QString& reason)
{
    return kCopyError + QStringLiteral("\r\n\r\n") + reason;
}

int Percent(int64_t copied, uint32_t total)
{
    return total > 0 ? int(std::min<int64_t>(100, copied * 100 / total)) : 0;
}

// Windows-1252 bytes to UTF-8, one table entry per byte.
const std::array<std::string, 256>& Utf8OfByte()
{
    static const std::array<std::string, 256> table = [] {
        std::array<std::string, 256> t;
        for (int b = 0; b < 256; ++b) {
            const char byte = static_cast<char>(b);
            t[size_t(b)] = data::TWin1252::Decode(&byte, 1).toUtf8().toStdString();
        }
        return t;
    }();
    return table;
}

std::vector<int> FieldNumbers(const xbase::TTable& table)
{
    std::vector<int> numbers;
    for (const char* name : TCopyOutRun::TextFields())
        numbers.push_back(table.FieldIndex(name));
    return numbers;
}

bool RemoveFile(const QString& path, QString& error)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return true;
    QFile file(path);
    if (file.remove())
        return true;
    error = path + QStringLiteral(": ") + file.errorString();
    return false;
}

bool Rename(const QString& from, const QString& to, QString& error)
{
    std::error_code code;
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()),
                            std::filesystem::path(to.toStdU16String()), code);
    if (!code)
        return true;
    error = to + QStringLiteral(": ") + QString::fromStdString(code.message());
    return false;
}

// The companion of a table with the extension in the case the table's own extension has.
QString CompanionName(const QString& table, const QString& upperExtension)
{
    const QFileInfo info(table);
    const QString suffix = info.suffix();
    const bool lower = !suffix.isEmpty() && suffix == suffix.toLower();
    const QString base = info.completeBaseName();
    return QDir(info.absolutePath())
        .filePath(base + QLatin1Char('.') + (lower ? upperExtension.toLower() : upperExtension));
}

} // namespace

const std::vector<const char*>& TCopyOutRun::TextFields()
{
    static const std::vector<const char*> fields = {
        "PREFIX",  "FNAME", "MIDDLE", "LNAME", "TITLE",   "ORG",   "STREET",
        "STREET2", "CITY",  "STATE",  "ZIP",   "COUNTRY", "PHONE", "PHONE2",
        "EMAIL",   "FAX",   "DATE",   "USER1", "USER2",   "CODES"};
    return fields;
}

void TCopyOutRun::TextLine(const xbase::TTable& table, const std::vector<int>& fields,
                           std::string& line)
{
    line.clear();
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line.push_back(',');
        line.push_back('"');
        if (fields[i] >= 0) {
            for (const char c : table.GetTrimmed(fields[i])) {
                if (c == '"')
                    line.push_back('"');
                line.push_back(c);
            }
        }
        line.push_back('"');
    }
}

TCopyOutOutcome TCopyOutRun::CopyText(xbase::TCursor& cursor, const QString& path, bool utf8,
                                      uint32_t total, const TAfterRecord& afterRecord)
{
    TCopyOutOutcome outcome;
    data::TOutputFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        outcome.error = Failure(path + QStringLiteral(": ") + file.errorString());
        return outcome;
    }
    const auto& utf8Of = Utf8OfByte();
    const std::vector<int> fields = FieldNumbers(cursor.Table());
    std::string line;
    std::string buffer;
    buffer.reserve(1 << 17);
    if (utf8)
        buffer.append("\xEF\xBB\xBF");
    const auto flush = [&]() {
        if (!buffer.empty() &&
            file.write(buffer.data(), qint64(buffer.size())) != qint64(buffer.size()))
            return false;
        buffer.clear();
        return true;
    };
    try {
        const TReadAhead readAhead(cursor);
        cursor.GoTop();
        while (!cursor.Eof()) {
            TextLine(cursor.Table(), fields, line);
            if (utf8) {
                for (const char c : line) {
                    const auto b = static_cast<unsigned char>(c);
                    if (b < 0x80)
                        buffer.push_back(c);
                    else
                        buffer.append(utf8Of[b]);
                }
            } else {
                buffer.append(line);
            }
            buffer.append("\r\n");
            if (buffer.size() >= (1 << 16) && !flush())
                break;
            ++outcome.copied;
            if (afterRecord && afterRecord(outcome.copied, Percent(outcome.copied, total))) {
                outcome.stopped = true;
                break;
            }
            cursor.Skip(1);
        }
    } catch (const xbase::TXbaseError& error) {
        file.cancelWriting();
        outcome.error = Failure(QString::fromStdString(error.what()));
        return outcome;
    }
    if (!flush() || file.error() != QFileDevice::NoError || !file.commit()) {
        outcome.error = Failure(path + QStringLiteral(": ") + file.errorString());
        file.cancelWriting();
    }
    return outcome;
}

TCopyOutOutcome TCopyOutRun::CopyDbf(xbase::TCursor& cursor, const QString& path, uint32_t total,
                                     const TAfterRecord& afterRecord)
{
    TCopyOutOutcome outcome;
    const xbase::TTable& source = cursor.Table();
    const QFileInfo targetInfo(path);
    QString temp;
    do {
        temp = QDir(targetInfo.absolutePath())
                   .filePath(
                       QStringLiteral(".qm-copy-%1.DBF")
                           .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
    } while (QFileInfo::exists(temp));
    const QString tempMemo = CompanionName(temp, QStringLiteral("FPT"));
    const auto cleanUp = [&]() {
        QFile::remove(temp);
        QFile::remove(tempMemo);
    };

    try {
        source.CopyStructure(temp.toStdString());
        xbase::TTableOptions options;
        options.openIndex = false;
        auto target = xbase::TTable::Open(temp.toStdString(), options);
        std::vector<std::pair<int, int>> map; // (source, target)
        for (const char* name : TextFields())
            if (const int s = source.FieldIndex(name), t = target->FieldIndex(name);
                s >= 0 && t >= 0)
                map.emplace_back(s, t);
        const int memoFrom = source.FieldIndex("MEMO");
        const int memoTo = target->FieldIndex("MEMO");
        std::string memo;
        const TReadAhead readAhead(cursor);
        cursor.GoTop();
        while (!cursor.Eof()) {
            target->AppendBlank();
            for (const auto& [s, t] : map)
                target->PutString(t, source.GetTrimmed(s));
            if (memoFrom >= 0 && memoTo >= 0) {
                memo = source.GetMemo(memoFrom);
                if (!memo.empty()) {
                    TStoredMemo::Apply(memo);
                    target->PutMemo(memoTo, memo);
                }
            }
            target->Post();
            ++outcome.copied;
            if (afterRecord && afterRecord(outcome.copied, Percent(outcome.copied, total))) {
                outcome.stopped = true;
                break;
            }
            cursor.Skip(1);
        }
        target->Close();
    } catch (const xbase::TXbaseError& error) {
        cleanUp();
        outcome.error = Failure(QString::fromStdString(error.what()));
        return outcome;
    }

    // Into place: the target's old index and companions first, then the memo file, then the table.
    QString error;
    const QString oldIndex = data::TFileFinder::FindCompanion(path, QStringLiteral("CDX"));
    const QString memoName = CompanionName(path, QStringLiteral("FPT"));
    const QString oldMemo = data::TFileFinder::FindCompanion(path, QStringLiteral("FPT"));
    bool placed = RemoveFile(oldIndex, error);
    if (placed && !oldMemo.isEmpty() && oldMemo != memoName)
        placed = RemoveFile(oldMemo, error);
    if (placed && QFileInfo::exists(tempMemo))
        placed = Rename(tempMemo, memoName, error);
    if (placed)
        placed = Rename(temp, path, error);
    if (!placed) {
        cleanUp();
        outcome.error = Failure(error);
    }
    return outcome;
}

} // namespace qm::transfer
