#pragma once

// The header of a DBF file: its fixed 32 bytes and the field descriptors. Parsing accepts the
// FoxPro, dBase III/IV, Clipper and Visual FoxPro variants and rejects anything inconsistent
// with a TXbaseError(Damaged) naming the file and the offset; it never allocates more than the
// header bytes it was given.

#include "xbase/TRecordLayout.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qm::xbase {

class TFileIo;

enum class TMemoKind { None, Fpt, Dbt };

struct TDbfHeader {
    uint8_t version = 0x03;
    uint8_t updateYear = 0; // years since 1900
    uint8_t updateMonth = 1;
    uint8_t updateDay = 1;
    uint32_t recordCount = 0;
    uint16_t headerLength = 0;
    uint16_t recordLength = 0;
    uint8_t tableFlags = 0;
    uint8_t codePage = 0;
    TFieldList fields; // visible fields (Visual FoxPro system columns left out)

    bool IsVisualFoxPro() const;
    // What kind of memo file goes with the table (None when no field needs one).
    TMemoKind MemoKind() const;
    bool HasMemoFields() const;

    // A new table's header: version 0xF5 when a memo field exists, else 0x03; Windows-1252 mark.
    static TDbfHeader ForNewTable(const TFieldList& fields);

    // The fixed part of the first 32 bytes (at least that many) as stored, without any check and
    // without fields: what a repair or check tool shows before the table layer reconciles it.
    static TDbfHeader ParseFixed(std::string_view bytes);
    // Reads and checks the header of an open file whose size is fileSize.
    static TDbfHeader Read(TFileIo& file, uint64_t fileSize);
    // Parses the header from bytes (at least the first 32; more as headerLength demands).
    static TDbfHeader Parse(std::string_view bytes, uint64_t fileSize, const std::string& file);

    // headerLength bytes: fixed part, descriptors, terminator (and the back link for Visual
    // FoxPro tables).
    std::string Serialize() const;
    // Today's date into the update fields.
    void StampToday();
};

} // namespace qm::xbase
