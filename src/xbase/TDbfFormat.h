#pragma once

// The DBF table layout as the engine reads and writes it (docs/formats/dbf-table.md has the
// byte-by-byte description with a worked example). All numbers are little-endian.
//
//   file   = header (32 bytes) + field descriptors (32 bytes each) + 0x0D
//            [+ 263-byte back link in Visual FoxPro tables] + records + 0x1A
//   record = deletion mark (' ' or '*') + the fields' bytes in descriptor order

#include <cstddef>
#include <cstdint>

namespace qm::xbase::dbf {

// File header.
inline constexpr size_t kHeaderSize = 32;
inline constexpr size_t kOffVersion = 0;       // uint8: kind of table (below)
inline constexpr size_t kOffUpdateYear = 1;    // uint8: year - 1900 of the last update
inline constexpr size_t kOffUpdateMonth = 2;   // uint8: 1..12
inline constexpr size_t kOffUpdateDay = 3;     // uint8: 1..31
inline constexpr size_t kOffRecordCount = 4;   // uint32
inline constexpr size_t kOffHeaderLength = 8;  // uint16: bytes before the first record
inline constexpr size_t kOffRecordLength = 10; // uint16: bytes per record, deletion mark included
inline constexpr size_t kOffTableFlags = 28;   // uint8: kFlag... bits
inline constexpr size_t kOffCodePage = 29;     // uint8: code-page mark

// Field descriptor.
inline constexpr size_t kDescriptorSize = 32;
inline constexpr size_t kOffFieldName = 0; // 11 bytes, NUL padded
inline constexpr size_t kFieldNameBytes = 11;
inline constexpr size_t kOffFieldType = 11;         // ASCII letter
inline constexpr size_t kOffFieldDisplacement = 12; // uint32: offset in the record (FoxPro)
inline constexpr size_t kOffFieldLength = 16;       // uint8
inline constexpr size_t kOffFieldDecimals = 17;     // uint8
inline constexpr size_t kOffFieldFlags = 18;        // uint8 (Visual FoxPro: 0x01 system column)

inline constexpr uint8_t kHeaderTerminator = 0x0D;
inline constexpr uint8_t kEndOfFile = 0x1A;
inline constexpr size_t kVfpBackLinkSize = 263;

inline constexpr char kRecordLive = ' ';
inline constexpr char kRecordDeleted = '*';

// Version bytes written.
inline constexpr uint8_t kVersionPlain = 0x03;   // no memo
inline constexpr uint8_t kVersionFoxMemo = 0xF5; // with a FPT memo file
// Other version bytes read.
inline constexpr uint8_t kVersionFoxBase = 0x02;
inline constexpr uint8_t kVersionVfp = 0x30;
inline constexpr uint8_t kVersionVfpAutoInc = 0x31;
inline constexpr uint8_t kVersionVfpVarchar = 0x32;
inline constexpr uint8_t kVersionDbase4Sql = 0x43;
inline constexpr uint8_t kVersionDbase4SqlSys = 0x63;
inline constexpr uint8_t kVersionDbase3Memo = 0x83; // DBT memo
inline constexpr uint8_t kVersionDbase4Memo = 0x8B; // DBT memo, dBase IV blocks
inline constexpr uint8_t kVersionDbase4SqlMemo = 0xCB;
inline constexpr uint8_t kVersionFoxMemoAlt = 0xFB;

inline constexpr uint8_t kFlagProductionIndex = 0x01; // a production CDX belongs to the table
inline constexpr uint8_t kFlagMemo = 0x02;            // Visual FoxPro: the table has a memo file
inline constexpr uint8_t kCodePageWin1252 = 0x03;

inline constexpr size_t kMemoFieldLength = 10;   // block number as right-aligned ASCII digits
inline constexpr size_t kVfpMemoFieldLength = 4; // Visual FoxPro: uint32 block number
inline constexpr size_t kMaxFieldsWritten = 255;
inline constexpr size_t kMaxCharLength = 254;
inline constexpr size_t kMaxNumericLength = 20;

static_assert(kOffCodePage == 29, "the code-page mark sits at byte 29");
static_assert(kOffFieldDecimals + 1 == kOffFieldFlags);
static_assert(kOffFieldName + kFieldNameBytes == kOffFieldType);
static_assert(kHeaderSize + kMaxFieldsWritten * kDescriptorSize + 1 < 65536,
              "the header length must fit its uint16");
static_assert(1 + kMaxFieldsWritten * kMaxCharLength < 65536,
              "the record length must fit its uint16");

} // namespace qm::xbase::dbf
