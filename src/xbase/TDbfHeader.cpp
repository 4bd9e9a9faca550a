#include "xbase/TDbfHeader.h"

#include "xbase/TDbfFormat.h"
#include "xbase/TFileIo.h"
#include "xbase/TXbaseError.h"

#include <algorithm>
#include <ctime>

namespace qm::xbase {
namespace {

uint16_t Get16(std::string_view b, size_t at)
{
    return uint16_t(uint8_t(b[at]) | (uint8_t(b[at + 1]) << 8));
}

uint32_t Get32(std::string_view b, size_t at)
{
    return uint32_t(uint8_t(b[at])) | (uint32_t(uint8_t(b[at + 1])) << 8) |
           (uint32_t(uint8_t(b[at + 2])) << 16) | (uint32_t(uint8_t(b[at + 3])) << 24);
}

void Put16(std::string& b, size_t at, uint16_t v)
{
    b[at] = char(v & 0xFF);
    b[at + 1] = char(v >> 8);
}

void Put32(std::string& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + size_t(i)] = char((v >> (8 * i)) & 0xFF);
}

bool KnownVersion(uint8_t v)
{
    using namespace dbf;
    switch (v) {
    case kVersionFoxBase:
    case kVersionPlain:
    case kVersionVfp:
    case kVersionVfpAutoInc:
    case kVersionVfpVarchar:
    case kVersionDbase4Sql:
    case kVersionDbase4SqlSys:
    case kVersionDbase3Memo:
    case kVersionDbase4Memo:
    case kVersionDbase4SqlMemo:
    case kVersionFoxMemo:
    case kVersionFoxMemoAlt:
        return true;
    default:
        return false;
    }
}

bool NeedsMemoFile(TFieldType t)
{
    return t == TFieldType::Memo || t == TFieldType::General || t == TFieldType::Picture ||
           t == TFieldType::Blob;
}

} // namespace

bool TDbfHeader::IsVisualFoxPro() const
{
    return version == dbf::kVersionVfp || version == dbf::kVersionVfpAutoInc ||
           version == dbf::kVersionVfpVarchar;
}

bool TDbfHeader::HasMemoFields() const
{
    return std::any_of(fields.begin(), fields.end(),
                       [](const TFieldInfo& f) { return NeedsMemoFile(f.type); });
}

TMemoKind TDbfHeader::MemoKind() const
{
    if (!HasMemoFields())
        return TMemoKind::None;
    if (version == dbf::kVersionDbase3Memo || version == dbf::kVersionDbase4Memo ||
        version == dbf::kVersionDbase4SqlMemo)
        return TMemoKind::Dbt;
    return TMemoKind::Fpt;
}

TDbfHeader TDbfHeader::ForNewTable(const TFieldList& fields)
{
    TDbfHeader h;
    h.fields = fields;
    h.version = h.HasMemoFields() ? dbf::kVersionFoxMemo : dbf::kVersionPlain;
    h.codePage = dbf::kCodePageWin1252;
    h.headerLength = uint16_t(dbf::kHeaderSize + fields.size() * dbf::kDescriptorSize + 1);
    uint32_t length = 1;
    for (const TFieldInfo& f : fields)
        length += f.length;
    h.recordLength = uint16_t(length);
    h.StampToday();
    return h;
}

void TDbfHeader::StampToday()
{
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    updateYear = uint8_t(tm.tm_year % 256);
    updateMonth = uint8_t(tm.tm_mon + 1);
    updateDay = uint8_t(tm.tm_mday);
}

TDbfHeader TDbfHeader::Read(TFileIo& file, uint64_t fileSize)
{
    char fixed[dbf::kHeaderSize];
    const size_t got = file.ReadAt(0, fixed, sizeof fixed);
    if (got < dbf::kHeaderSize)
        throw TXbaseError(TErrorKind::Damaged, "the file is too short to be a table", file.Path(),
                          0);
    const uint16_t headerLength =
        Get16(std::string_view(fixed, sizeof fixed), dbf::kOffHeaderLength);
    // headerLength is at most 65535, and never more than the file holds.
    std::string bytes(
        std::min<uint64_t>(std::max<size_t>(headerLength, dbf::kHeaderSize), fileSize), '\0');
    const size_t n = file.ReadAt(0, bytes.data(), bytes.size());
    bytes.resize(n);
    return Parse(bytes, fileSize, file.Path());
}

TDbfHeader TDbfHeader::ParseFixed(std::string_view b)
{
    TDbfHeader h;
    h.version = uint8_t(b[dbf::kOffVersion]);
    h.updateYear = uint8_t(b[dbf::kOffUpdateYear]);
    h.updateMonth = uint8_t(b[dbf::kOffUpdateMonth]);
    h.updateDay = uint8_t(b[dbf::kOffUpdateDay]);
    h.recordCount = Get32(b, dbf::kOffRecordCount);
    h.headerLength = Get16(b, dbf::kOffHeaderLength);
    h.recordLength = Get16(b, dbf::kOffRecordLength);
    h.tableFlags = uint8_t(b[dbf::kOffTableFlags]);
    h.codePage = uint8_t(b[dbf::kOffCodePage]);
    return h;
}

TDbfHeader TDbfHeader::Parse(std::string_view b, uint64_t fileSize, const std::string& path)
{
    auto damaged = [&](const std::string& what, int64_t offset) {
        return TXbaseError(TErrorKind::Damaged, what, path, offset);
    };
    if (b.size() < dbf::kHeaderSize)
        throw damaged("the file is too short to be a table", 0);
    TDbfHeader h = ParseFixed(b);
    if (!KnownVersion(h.version))
        throw damaged("not a table: unknown version byte " + std::to_string(h.version), 0);

    if (h.headerLength < dbf::kHeaderSize + dbf::kDescriptorSize + 1)
        throw damaged("the header length " + std::to_string(h.headerLength) + " is too small",
                      dbf::kOffHeaderLength);
    if (h.headerLength > fileSize)
        throw damaged("the header length " + std::to_string(h.headerLength) +
                          " is beyond the end of the file",
                      dbf::kOffHeaderLength);
    if (b.size() < h.headerLength)
        throw damaged("the file ends inside the header", int64_t(b.size()));
    if (h.recordLength < 2)
        throw damaged("the record length " + std::to_string(h.recordLength) + " is too small",
                      dbf::kOffRecordLength);

    struct TRaw {
        TFieldInfo info;
        uint8_t decimalsByte;
        bool hidden;
    };
    std::vector<TRaw> raw;
    size_t at = dbf::kHeaderSize;
    bool terminated = false;
    while (at < h.headerLength) {
        if (uint8_t(b[at]) == dbf::kHeaderTerminator) {
            terminated = true;
            break;
        }
        if (at + dbf::kDescriptorSize > h.headerLength)
            throw damaged("a field descriptor runs past the header", int64_t(at));
        const std::string_view d = b.substr(at, dbf::kDescriptorSize);
        TRaw r{};
        size_t nameLen = 0;
        while (nameLen < dbf::kFieldNameBytes && d[nameLen] != '\0')
            ++nameLen;
        std::string name(d.substr(0, nameLen));
        while (!name.empty() && name.back() == ' ')
            name.pop_back();
        if (name.empty())
            throw damaged("field " + std::to_string(raw.size() + 1) + " has no name", int64_t(at));
        for (char& c : name) {
            if (c >= 'a' && c <= 'z')
                c = char(c - 32);
            if (uint8_t(c) < 0x20)
                throw damaged("field " + std::to_string(raw.size() + 1) +
                                  " has a name with control characters",
                              int64_t(at));
        }
        r.info.name = std::move(name);
        const char type = d[dbf::kOffFieldType];
        if (type < '0' || type > 'z')
            throw damaged("field " + r.info.name + " has an unknown type",
                          int64_t(at + dbf::kOffFieldType));
        r.info.type = TFieldType(type);
        r.info.length = uint8_t(d[dbf::kOffFieldLength]);
        r.decimalsByte = uint8_t(d[dbf::kOffFieldDecimals]);
        r.info.decimals = r.decimalsByte;
        r.hidden = type == '0' || (h.IsVisualFoxPro() && (uint8_t(d[dbf::kOffFieldFlags]) & 0x01));
        if (r.info.length == 0)
            throw damaged("field " + r.info.name + " has length 0",
                          int64_t(at + dbf::kOffFieldLength));
        raw.push_back(std::move(r));
        at += dbf::kDescriptorSize;
    }
    if (!terminated)
        throw damaged("the field descriptors have no terminator", int64_t(at));
    if (raw.empty())
        throw damaged("the table has no fields", dbf::kHeaderSize);

    // Clipper stores character fields longer than 255 with the high byte in the decimals byte.
    uint32_t plain = 1, wide = 1;
    for (const TRaw& r : raw) {
        plain += r.info.length;
        wide += r.info.length + (r.info.type == TFieldType::Character ? 256u * r.decimalsByte : 0u);
    }
    const bool clipperWide = plain != h.recordLength && wide == h.recordLength;
    uint32_t offset = 1;
    for (TRaw& r : raw) {
        if (clipperWide && r.info.type == TFieldType::Character) {
            r.info.length = uint16_t(r.info.length + 256u * r.decimalsByte);
            r.info.decimals = 0;
        }
        r.info.offset = offset;
        offset += r.info.length;
        if (!r.hidden)
            h.fields.push_back(r.info);
    }
    if (offset > h.recordLength)
        throw damaged("the fields need " + std::to_string(offset) +
                          " bytes but the record length is " + std::to_string(h.recordLength),
                      dbf::kOffRecordLength);
    if (h.fields.empty())
        throw damaged("the table has no fields", dbf::kHeaderSize);
    return h;
}

std::string TDbfHeader::Serialize() const
{
    std::string b(headerLength, '\0');
    b[dbf::kOffVersion] = char(version);
    b[dbf::kOffUpdateYear] = char(updateYear);
    b[dbf::kOffUpdateMonth] = char(updateMonth);
    b[dbf::kOffUpdateDay] = char(updateDay);
    Put32(b, dbf::kOffRecordCount, recordCount);
    Put16(b, dbf::kOffHeaderLength, headerLength);
    Put16(b, dbf::kOffRecordLength, recordLength);
    b[dbf::kOffTableFlags] = char(tableFlags);
    b[dbf::kOffCodePage] = char(codePage);
    size_t at = dbf::kHeaderSize;
    for (const TFieldInfo& f : fields) {
        for (size_t i = 0; i < f.name.size() && i < dbf::kFieldNameBytes - 1; ++i)
            b[at + i] = f.name[i];
        b[at + dbf::kOffFieldType] = char(f.type);
        Put32(b, at + dbf::kOffFieldDisplacement, f.offset);
        b[at + dbf::kOffFieldLength] = char(f.length & 0xFF);
        b[at + dbf::kOffFieldDecimals] = char(f.decimals);
        at += dbf::kDescriptorSize;
    }
    b[at] = char(dbf::kHeaderTerminator);
    return b;
}

} // namespace qm::xbase
