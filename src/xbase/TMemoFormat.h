#pragma once

// Memo file layouts (docs/formats/fpt-memo.md). FPT numbers are big-endian, DBT little-endian.
//
//   FPT: 512-byte header (next free block, block size), then blocks; a memo starts on a block
//        boundary with an 8-byte block header (type, length) followed by its bytes.
//   DBT: dBase III: 512-byte blocks, the text ends at 0x1A; dBase IV: blocks begin with
//        FF FF 08 00 and a length that includes those 8 bytes.

#include <cstddef>
#include <cstdint>

namespace qm::xbase::memo {

inline constexpr size_t kFptHeaderSize = 512;
inline constexpr size_t kFptOffNextFree = 0;  // uint32 BE: first block never used
inline constexpr size_t kFptOffBlockSize = 6; // uint16 BE
inline constexpr uint32_t kFptBlockSizeWritten = 64;
inline constexpr size_t kFptBlockHeaderSize = 8;
inline constexpr size_t kFptOffBlockType = 0;   // uint32 BE: 0 picture, 1 text
inline constexpr size_t kFptOffBlockLength = 4; // uint32 BE: bytes of data after this header
inline constexpr uint32_t kFptTypeText = 1;

inline constexpr size_t kDbtHeaderSize = 512;
inline constexpr size_t kDbtOffNextFree = 0;    // uint32 LE
inline constexpr size_t kDbt4OffBlockSize = 20; // uint16 LE (dBase IV)
inline constexpr uint32_t kDbt3BlockSize = 512;
inline constexpr uint8_t kDbtEnd = 0x1A;
inline constexpr uint8_t kDbt4BlockMark[4] = {0xFF, 0xFF, 0x08, 0x00};

static_assert(kFptHeaderSize % kFptBlockSizeWritten == 0,
              "the header fills whole blocks, so the first memo is block 8");
static_assert(kFptOffBlockLength + 4 == kFptBlockHeaderSize);

} // namespace qm::xbase::memo
