#pragma once

// Byte layout of the compact index files (CDX compound index, IDX single-key index) as constants.
// docs/formats/cdx-index.md and docs/formats/idx-index.md describe the same layout in prose with
// worked hex examples; the static_asserts below keep the two in step.
//
// Byte order: header fields, node header fields and the packed leaf entries are little-endian;
// the record number and child pointer of interior entries are big-endian.

#include <cstdint>

namespace qm::xbase::indexformat {

inline constexpr uint32_t kPageSize = 512;
inline constexpr uint32_t kHeaderSize = 1024; // one header: 512 bytes of fields + expression pool

// Header (at offset 0 of an IDX, of the tag directory and of every tag of a CDX).
inline constexpr uint32_t kHdrRoot = 0;       // uint32: offset of the root node
inline constexpr uint32_t kHdrFreeList = 4;   // uint32: first free page, 0 or 0xFFFFFFFF = none
inline constexpr uint32_t kHdrCounter = 8;    // uint32: update counter
inline constexpr uint32_t kHdrKeyLength = 12; // uint16
inline constexpr uint32_t kHdrOptions = 14;   // uint8, kOpt* bits
inline constexpr uint32_t kHdrSignature = 15; // uint8, 1
// The engine's own fields inside the reserved area (other software leaves them alone).
inline constexpr uint32_t kHdrEngineMark = 480; // 4 bytes "QMIX" when the fields below are valid
inline constexpr uint32_t kHdrState = 484;      // uint8: kStateClean or kStateDirty
inline constexpr uint32_t kHdrKeyType = 485;    // uint8: 'C', 'N', 'D' or 'L'
inline constexpr uint32_t kHdrSyncCount = 488; // uint32: table record count at the last clean flush
inline constexpr uint32_t kHdrDescending = 502;    // uint16: 0 ascending, 1 descending
inline constexpr uint32_t kHdrForPos = 504;        // uint16: offset of the FOR text in the pool
inline constexpr uint32_t kHdrForLength = 506;     // uint16: FOR text length with its NUL
inline constexpr uint32_t kHdrKeyPos = 508;        // uint16: offset of the key text in the pool (0)
inline constexpr uint32_t kHdrKeyExprLength = 510; // uint16: key text length with its NUL
inline constexpr uint32_t kHdrPool = 512;          // expression pool, 512 bytes

inline constexpr uint8_t kOptUnique = 0x01;
inline constexpr uint8_t kOptHasFor = 0x08;
inline constexpr uint8_t kOptCompact = 0x20;
inline constexpr uint8_t kOptCompound = 0x40;
inline constexpr uint8_t kOptStructure = 0x80; // the tag directory of a CDX

inline constexpr uint8_t kStateClean = 0;
inline constexpr uint8_t kStateDirty = 1;

// Node (one 512-byte page).
inline constexpr uint32_t kNodeAttributes = 0; // uint16, kAttr* bits
inline constexpr uint32_t kNodeKeyCount = 2;   // uint16
inline constexpr uint32_t kNodeLeft = 4;       // uint32: left sibling, 0xFFFFFFFF = none
inline constexpr uint32_t kNodeRight = 8;      // uint32: right sibling, 0xFFFFFFFF = none
inline constexpr uint16_t kAttrInterior = 0;
inline constexpr uint16_t kAttrRoot = 1;
inline constexpr uint16_t kAttrLeaf = 2;
inline constexpr uint32_t kNoPage = 0xFFFFFFFFu;

// Interior node: entries of key bytes + record number (BE) + child offset (BE) from byte 12.
inline constexpr uint32_t kInteriorEntries = 12;
inline constexpr uint32_t kInteriorSpace = kPageSize - kInteriorEntries; // 500

// Leaf node.
inline constexpr uint32_t kLeafFreeSpace = 12;  // uint16: bytes unused between entries and keys
inline constexpr uint32_t kLeafRecMask = 14;    // uint32
inline constexpr uint32_t kLeafDupMask = 18;    // uint8
inline constexpr uint32_t kLeafTrailMask = 19;  // uint8
inline constexpr uint32_t kLeafRecBits = 20;    // uint8
inline constexpr uint32_t kLeafDupBits = 21;    // uint8
inline constexpr uint32_t kLeafTrailBits = 22;  // uint8
inline constexpr uint32_t kLeafEntryBytes = 23; // uint8: bytes per packed entry
inline constexpr uint32_t kLeafEntries = 24;    // packed entries from here; key bytes from the end
inline constexpr uint32_t kLeafSpace = kPageSize - kLeafEntries; // 488

inline constexpr uint16_t kMaxKeyLength = 240;
inline constexpr uint16_t kTagNameLength = 10; // key length of the CDX tag directory
inline constexpr uint32_t kMaxExpressionPool = 512;

static_assert(kHdrPool + kMaxExpressionPool == kHeaderSize);
static_assert(kHeaderSize == 2 * kPageSize);
static_assert(kInteriorSpace == 500);
static_assert(kLeafSpace == 488);
static_assert(kHdrSyncCount + 4 <= kHdrDescending);
static_assert(kLeafEntryBytes < kLeafEntries);
// An interior node must hold at least two entries of the longest key.
static_assert(kInteriorSpace / (kMaxKeyLength + 8) >= 2);

} // namespace qm::xbase::indexformat
