#pragma once

// Decoding and encoding of one 512-byte node page of a compact index (see TIndexFormat.h).
// A node is held decoded as flat keys (count * keyLength bytes) with their record numbers and,
// for interior nodes, child page offsets. Used by the index classes only.

#include "xbase/TIndexFormat.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm::xbase {

struct TIndexNode {
    bool leaf = true;
    uint32_t left = indexformat::kNoPage;
    uint32_t right = indexformat::kNoPage;
    std::string keys; // Count() * keyLength bytes, ascending
    std::vector<uint32_t> recNos;
    std::vector<uint32_t> children; // interior nodes only, one per key

    size_t Count() const { return recNos.size(); }
    std::string_view Key(size_t i, uint16_t keyLength) const
    {
        return {keys.data() + i * keyLength, keyLength};
    }
    void Clear()
    {
        keys.clear();
        recNos.clear();
        children.clear();
    }
};

// How the record number, duplicate count and trailing count share one packed leaf entry.
struct TLeafLayout {
    uint8_t recBits = 0;
    uint8_t dupBits = 0;
    uint8_t trailBits = 0;
    uint8_t entryBytes = 0;

    // The smallest layout for keys of keyLength and record numbers up to maxRecNo.
    static TLeafLayout For(uint16_t keyLength, uint32_t maxRecNo);
};

class TIndexPage {
public:
    using TPage = std::array<uint8_t, indexformat::kPageSize>;

    static uint16_t Attributes(const TPage& page);
    static uint16_t KeyCount(const TPage& page);

    // Decodes a node; returns an empty string on success, else what is wrong with the page.
    // Nothing larger than the page is allocated beyond count * keyLength bytes for the keys, and
    // the count is checked against what the page can hold first.
    static std::string Decode(const TPage& page, uint16_t keyLength, char trail, TIndexNode& out);

    // Interior nodes hold this many entries at most.
    static size_t InteriorCapacity(uint16_t keyLength)
    {
        return indexformat::kInteriorSpace / (keyLength + 8u);
    }

    // Bytes that keys [first, last) of node take in a leaf with this layout (entries + key bytes).
    static size_t LeafBytes(const TIndexNode& node, size_t first, size_t last, uint16_t keyLength,
                            char trail, const TLeafLayout& layout);
    // Writes keys [first, last) of node as a leaf; false when they do not fit (page untouched).
    static bool EncodeLeaf(const TIndexNode& node, size_t first, size_t last, uint16_t keyLength,
                           char trail, bool root, uint32_t left, uint32_t right, TPage& out);
    // How a leaf too full for one page is cut: [start, end) ranges that each fit, two when they
    // can, as even as possible.
    static std::vector<std::pair<size_t, size_t>> SplitLeaf(const TIndexNode& node,
                                                            uint16_t keyLength, char trail);
    // Writes keys [first, last) of an interior node; the caller keeps to InteriorCapacity.
    static void EncodeInterior(const TIndexNode& node, size_t first, size_t last,
                               uint16_t keyLength, bool root, uint32_t left, uint32_t right,
                               TPage& out);

    // Only the sibling pointers of an encoded node.
    static void SetSiblings(TPage& page, uint32_t left, uint32_t right);
    static void SetRootFlag(TPage& page, bool root);
};

} // namespace qm::xbase
