#pragma once

// The first 32 bytes of a DBF file as stored (TDbfHeader::ParseFixed), read without opening the
// table, for the facts the table check and the tool show as they are on disk (the table layer
// reconciles some on open).

#include <cstdint>
#include <string>

namespace qm::xbase {

struct TTableRawHeader {
    uint8_t version = 0; // byte 0
    int year = 0;        // bytes 1-3: last update (year stored as year - 1900)
    int month = 0;
    int day = 0;
    uint32_t recordCount = 0;  // bytes 4-7, little-endian
    uint16_t headerLength = 0; // bytes 8-9
    uint16_t recordLength = 0; // bytes 10-11
    uint8_t tableFlags = 0;    // byte 28 (0x01: the table has a production index)
    uint8_t codePageMark = 0;  // byte 29
    uint64_t fileSize = 0;
    uint8_t lastByte = 0; // the file's last byte (0x1A is the end-of-file mark)

    // Throws TXbaseError: NotFound for a missing file, Io when it cannot be read, Damaged when
    // it is shorter than 32 bytes.
    static TTableRawHeader Read(const std::string& path);
};

} // namespace qm::xbase
