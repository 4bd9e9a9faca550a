#include "transfer/TCopyOutRun.h"

#include "data/TOutputFile.h"
#include "data/TWin1252.h"
#include "transfer/TStoredMemo.h"
#include "xbase/TCursor.h"
#include "xbase/TFileIoSystem.h"
#include "xbase/TFileReplace.h"
#include "xbase/TPairSwap.h"
#include "xbase/TTable.h"
#include "xbase/TXbaseError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <optional>

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

std::string Bytes(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

// The file a copy really replaces: a symbolic link is followed, so the link stays and the file
// it names gets the copy.
QString RealTarget(const QString& path)
{
    const QFileInfo info(path);
    return info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath();
}

// Where a copy is built beside its target before it takes the target's place: ".qm-copy-" and
// the target's name, in the same folder (so the rename stays on one file system). One copy to a
// target runs at a time, so a name left by a killed copy is simply used again.
QString BuildPath(const QString& target)
{
    const QFileInfo info(target);
    return QDir(info.absolutePath()).filePath(QStringLiteral(".qm-copy-") + info.fileName());
}

// Removes files of a build, also what a killed copy left; a failure here loses nothing (the next
// copy to the target uses the names again), so it is not reported.
void RemoveQuietly(xbase::TFileIoSystem& files, const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        try {
            if (files.Exists(path))
                files.Remove(path);
        } catch (const xbase::TXbaseError&) {
        }
    }
}

// An existing target's permissions go to the file that replaces it, as an edit in place keeps
// them.
void KeepPermissions(const QString& target, const std::string& built)
{
    const QFileInfo info(target);
    if (info.exists())
        QFile::setPermissions(QFile::decodeName(QByteArray::fromStdString(built)),
                              info.permissions());
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
    if (const QString refusal = data::TOutputFile::Refusal(path); !refusal.isEmpty()) {
        outcome.error = Failure(path + QStringLiteral(": ") + refusal);
        return outcome;
    }
    xbase::TFileIoSystem& files = xbase::TFileIoSystem::Default();
    const QString target = RealTarget(path);
    const std::string built = Bytes(BuildPath(target));
    try {
        // Locked while it is written: a second copy to the same target is refused as in use.
        std::unique_ptr<xbase::TFileIo> file =
            files.Create(built, xbase::TFileLock::Exclusive, true);
        const auto& utf8Of = Utf8OfByte();
        const std::vector<int> fields = FieldNumbers(cursor.Table());
        std::string line;
        std::string buffer;
        buffer.reserve(1 << 17);
        uint64_t written = 0;
        if (utf8)
            buffer.append("\xEF\xBB\xBF");
        const auto flush = [&]() {
            file->WriteAt(written, buffer.data(), buffer.size());
            written += buffer.size();
            buffer.clear();
        };
        {
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
                if (buffer.size() >= (1 << 16))
                    flush();
                ++outcome.copied;
                if (afterRecord && afterRecord(outcome.copied, Percent(outcome.copied, total))) {
                    outcome.stopped = true;
                    break;
                }
                cursor.Skip(1);
            }
        }
        flush();
        // On the disk before it takes the earlier file's place.
        file->Sync();
        KeepPermissions(target, built);
        xbase::TFileReplace::Replace(files, built, Bytes(target));
    } catch (const xbase::TXbaseError& error) {
        RemoveQuietly(files, {built});
        outcome.error = Failure(QString::fromStdString(error.what()));
    }
    return outcome;
}

TCopyOutOutcome TCopyOutRun::CopyDbf(xbase::TCursor& cursor, const QString& path, uint32_t total,
                                     const TAfterRecord& afterRecord)
{
    TCopyOutOutcome outcome;
    if (const QString refusal = data::TOutputFile::Refusal(path); !refusal.isEmpty()) {
        outcome.error = Failure(path + QStringLiteral(": ") + refusal);
        return outcome;
    }
    xbase::TFileIoSystem& files = xbase::TFileIoSystem::Default();
    const xbase::TTable& source = cursor.Table();
    const std::string target = Bytes(RealTarget(path));
    const std::string built = Bytes(BuildPath(RealTarget(path)));
    const std::string builtMemo = xbase::CompanionPath(built, ".FPT");
    const std::vector<std::string> builtFiles = {
        built, builtMemo, xbase::CompanionPath(built, ".CR$"), xbase::CompanionPath(built, ".CDX")};
    try {
        // The copy and its memo replace the target and its memo as a pair (an old index of the
        // target's name goes with them); the pair's mark is held from the start, so only one
        // copy to a target runs at a time and a copy cut short is settled first.
        xbase::TPairSwap swap(files, target, true);
        try {
            RemoveQuietly(files, builtFiles);
            source.CopyStructure(built);
            xbase::TTableOptions options;
            options.openIndex = false;
            auto copy = xbase::TTable::Open(built, options);
            std::vector<std::pair<int, int>> map; // (source, copy)
            for (const char* name : TextFields())
                if (const int s = source.FieldIndex(name), t = copy->FieldIndex(name);
                    s >= 0 && t >= 0)
                    map.emplace_back(s, t);
            const int memoFrom = source.FieldIndex("MEMO");
            const int memoTo = copy->FieldIndex("MEMO");
            std::string memo;
            {
                const TReadAhead readAhead(cursor);
                cursor.GoTop();
                while (!cursor.Eof()) {
                    copy->AppendBlank();
                    for (const auto& [s, t] : map)
                        copy->PutString(t, source.GetTrimmed(s));
                    if (memoFrom >= 0 && memoTo >= 0) {
                        memo = source.GetMemo(memoFrom);
                        if (!memo.empty()) {
                            TStoredMemo::Apply(memo);
                            copy->PutMemo(memoTo, memo);
                        }
                    }
                    copy->Post();
                    ++outcome.copied;
                    if (afterRecord &&
                        afterRecord(outcome.copied, Percent(outcome.copied, total))) {
                        outcome.stopped = true;
                        break;
                    }
                    cursor.Skip(1);
                }
            }
            const bool hasMemo = copy->HasMemo();
            // Close commits: the records, the header count and the memo file reach the disk.
            copy->Close();
            copy.reset();
            KeepPermissions(QFile::decodeName(QByteArray::fromStdString(target)), built);
            swap.Commit(built, hasMemo ? builtMemo : std::string());
        } catch (...) {
            RemoveQuietly(files, builtFiles);
            throw;
        }
    } catch (const xbase::TXbaseError& error) {
        outcome.error = Failure(QString::fromStdString(error.what()));
    }
    return outcome;
}

} // namespace qm::transfer
