#include "xbase/TTableCheck.h"

#include "xbase/TCodePage1252.h"
#include "xbase/TCompoundIndex.h"
#include "xbase/TDbfFormat.h"
#include "xbase/TExpression.h"
#include "xbase/TFileIoSystem.h"
#include "xbase/TIndexTag.h"
#include "xbase/TPairSwap.h"
#include "xbase/TTable.h"
#include "xbase/TTableRawHeader.h"
#include "xbase/TTagBuilder.h"
#include "xbase/TXbaseError.h"

#include <cstdio>
#include <optional>

namespace qm::xbase {

namespace {

TTableCheckResult Problem(std::string text)
{
    return {false, std::move(text)};
}

// A key as a person can read it: character keys as text, others in hexadecimal.
std::string Shown(std::string_view key, TKeyType type)
{
    if (type == TKeyType::Character || type == TKeyType::Logical) {
        const size_t end = key.find_last_not_of(' ');
        return "\"" +
               TCodePage1252::ToUtf8(key.substr(0, end == std::string_view::npos ? 0 : end + 1)) +
               "\"";
    }
    std::string hex = "0x";
    char buffer[4];
    for (char c : key) {
        std::snprintf(buffer, sizeof buffer, "%02X", static_cast<unsigned char>(c));
        hex += buffer;
    }
    return hex;
}

std::optional<TTableCheckResult> CheckHeader(const std::string& path, const TTableRawHeader& raw,
                                             const TTable& table)
{
    uint32_t expectedLength = 1;
    for (const auto& field : table.Fields())
        expectedLength += field.length;
    if (raw.recordLength != expectedLength)
        return Problem(path + ": the header gives records of " + std::to_string(raw.recordLength) +
                       " bytes, the fields add up to " + std::to_string(expectedLength));
    if (raw.headerLength > raw.fileSize)
        return Problem(path + ": the header length " + std::to_string(raw.headerLength) +
                       " is beyond the end of the file");
    const uint64_t data = raw.fileSize - raw.headerLength;
    const uint64_t whole = data / raw.recordLength;
    const uint64_t rest = data % raw.recordLength;
    if (rest != 0 && !(rest == 1 && raw.lastByte == 0x1A))
        return Problem(path + ": the file ends " + std::to_string(rest) + " bytes into record " +
                       std::to_string(whole + 1) + " (an incomplete record)");
    if (raw.recordCount != whole)
        return Problem(path + ": the header counts " + std::to_string(raw.recordCount) +
                       " records, the file holds " + std::to_string(whole));
    return std::nullopt;
}

std::optional<TTableCheckResult> CheckMemos(TTable& table)
{
    const auto& fields = table.Fields();
    std::vector<int> memoFields;
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].type == TFieldType::Memo)
            memoFields.push_back(static_cast<int>(i));
    if (memoFields.empty())
        return std::nullopt;
    table.SetTurboRead(true);
    for (uint32_t r = 1; r <= table.RecordCount(); ++r) {
        table.Go(r);
        for (int field : memoFields) {
            try {
                table.GetMemo(field);
            } catch (const TXbaseError& e) {
                if (e.Kind() != TErrorKind::Damaged)
                    throw;
                table.SetTurboRead(false);
                return Problem("record " + std::to_string(r) + ", field " +
                               fields[static_cast<size_t>(field)].name + ": " + e.what());
            }
        }
    }
    table.SetTurboRead(false);
    table.Go(0);
    return std::nullopt;
}

std::optional<TTableCheckResult> CheckTag(TTable& table, int order)
{
    TIndexTag& tag = table.Index()->Tag(order);
    const TTagInfo& info = tag.Info();
    const TExpression& keyExpression = table.TagExpression(order);
    std::optional<TExpression> forExpression;
    if (!info.forExpression.empty())
        forExpression.emplace(TExpression::Compile(info.forExpression, table.Fields()));

    const uint32_t total = table.RecordCount();
    TTagBuilder expected(info.keyLength, total);
    std::string key;
    table.SetTurboRead(true);
    for (uint32_t r = 1; r <= total; ++r) {
        const TRecordView record = table.ReadRecord(r);
        if (forExpression && !forExpression->EvalLogical(record))
            continue;
        keyExpression.EvalKey(record, key);
        key.resize(info.keyLength, tag.TrailByte());
        expected.Add(key, r);
    }
    table.SetTurboRead(false);
    expected.Sort(info.unique);

    const std::string where = "tag " + info.name + ": ";
    size_t position = 0;
    std::string mismatch;
    const TIndexCheck structure = tag.Verify([&](std::string_view k, uint32_t recNo) {
        if (!mismatch.empty())
            return;
        if (position >= expected.SortedCount()) {
            mismatch = where + "the index lists record " + std::to_string(recNo) + " with key " +
                       Shown(k, info.keyType) + " after every record's key";
        } else if (expected.RecNo(position) != recNo || expected.Key(position) != k) {
            mismatch = where + "the index lists record " + std::to_string(recNo) + " with key " +
                       Shown(k, info.keyType) + " where record " +
                       std::to_string(expected.RecNo(position)) + " with key " +
                       Shown(expected.Key(position), info.keyType) + " belongs";
        }
        ++position;
    });
    if (!structure.ok)
        return Problem(where + structure.problem + " (page at offset " +
                       std::to_string(structure.offset) + " of " + tag.FileName() + ")");
    if (!mismatch.empty())
        return Problem(mismatch);
    if (position < expected.SortedCount())
        return Problem(where + "record " + std::to_string(expected.RecNo(position)) + " with key " +
                       Shown(expected.Key(position), info.keyType) + " is missing from the index");
    return std::nullopt;
}

} // namespace

TTableCheckResult TTableCheck::Run(const std::string& path)
{
    // A replacement of the table cut short is settled first, as opening it would.
    TPairSwap::Recover(TFileIoSystem::Default(), path);
    TTableRawHeader raw;
    try {
        raw = TTableRawHeader::Read(path);
    } catch (const TXbaseError& e) {
        if (e.Kind() != TErrorKind::Damaged)
            throw;
        return Problem(e.what());
    }

    std::unique_ptr<TTable> table;
    try {
        TTableOptions options;
        options.mode = TOpenMode::ReadOnly;
        table = TTable::Open(path, options);
    } catch (const TXbaseError& e) {
        if (e.Kind() != TErrorKind::Damaged)
            throw;
        return Problem(e.what());
    }

    try {
        if (auto problem = CheckHeader(path, raw, *table))
            return *problem;
        if (auto problem = CheckMemos(*table))
            return *problem;
        TCompoundIndex* index = table->Index();
        if (index == nullptr) {
            if (raw.tableFlags & dbf::kFlagProductionIndex)
                return Problem(path + ": the header says the table has an index file, but " +
                               CompanionPath(path, ".CDX") +
                               " is missing; rebuild it with reindex");
            return {};
        }
        if (table->IndexStale())
            return Problem(index->FileName() +
                           ": the index is out of date with the table (changes were not written "
                           "to it); rebuild it with reindex");
        const TIndexCheck structure = index->Verify();
        if (!structure.ok)
            return Problem(index->FileName() + ": " + structure.problem + " (page at offset " +
                           std::to_string(structure.offset) + ")");
        for (int order = 1; order <= table->TagCount(); ++order)
            if (auto problem = CheckTag(*table, order))
                return *problem;
    } catch (const TXbaseError& e) {
        if (e.Kind() != TErrorKind::Damaged && e.Kind() != TErrorKind::Syntax &&
            e.Kind() != TErrorKind::Type)
            throw;
        return Problem(e.what());
    }
    return {};
}

} // namespace qm::xbase
