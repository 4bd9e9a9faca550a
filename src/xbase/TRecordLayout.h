#pragma once

// What the layers of the engine share about a table's records: the field descriptions and a view
// of one record's bytes. The table layer fills these from the DBF header; the expression compiler
// resolves field names against them; the index layer never sees them (it gets keys from a
// key-extractor callback).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm::xbase {

enum class TFieldType : char {
    Character = 'C',
    Numeric = 'N',
    Float = 'F',
    Logical = 'L',
    Date = 'D',
    Memo = 'M',
    // Read-only types met in foreign tables; they read as text.
    Integer = 'I',
    Currency = 'Y',
    DateTime = 'T',
    Double = 'B',
    General = 'G',
    Picture = 'P',
    VarChar = 'V',
    VarBinary = 'Q',
    Blob = 'W',
};

struct TFieldInfo {
    std::string name; // upper case, at most 10 characters
    TFieldType type = TFieldType::Character;
    uint16_t length = 0; // bytes in the record
    uint8_t decimals = 0;
    uint32_t offset = 0; // from the start of the record (byte 0 is the deletion mark)
};

using TFieldList = std::vector<TFieldInfo>;

// One record as stored: byte 0 is ' ' or '*' (the deletion mark), the fields follow at their
// offsets. Valid only as long as the table does not move.
struct TRecordView {
    std::string_view bytes;
    uint32_t recNo = 0; // 1-based; 0 when there is no current record

    bool Deleted() const { return !bytes.empty() && bytes[0] == '*'; }
    std::string_view Field(const TFieldInfo& f) const { return bytes.substr(f.offset, f.length); }
};

// Finds a field by name without regard to ASCII letter case; -1 when missing.
int FindField(const TFieldList& fields, std::string_view name);

} // namespace qm::xbase
