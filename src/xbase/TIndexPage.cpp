#include "xbase/TIndexPage.h"

#include "xbase/TIndexBytes.h"

#include <algorithm>
#include <cstring>

namespace qm::xbase {

using namespace indexformat;
using namespace indexbytes;

namespace {

uint8_t BitsFor(uint32_t value)
{
    uint8_t bits = 0;
    while (value != 0) {
        ++bits;
        value >>= 1;
    }
    return bits;
}

size_t TrailCount(std::string_view key, char trail)
{
    size_t n = key.size();
    while (n >= 8) {
        uint64_t word;
        std::memcpy(&word, key.data() + n - 8, 8);
        if (word != 0x0101010101010101ull * static_cast<uint8_t>(trail))
            break;
        n -= 8;
    }
    while (n > 0 && key[n - 1] == trail)
        --n;
    return key.size() - n;
}

size_t CommonPrefix(std::string_view a, std::string_view b)
{
    const size_t n = std::min(a.size(), b.size());
    size_t i = 0;
    while (i + 8 <= n && std::memcmp(a.data() + i, b.data() + i, 8) == 0)
        i += 8;
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}

// Duplicate and trailing counts of key i among [first, ...): the duplicate count never reaches
// into the trailing bytes, so the stored part is what lies between them.
void Compress(const TIndexNode& node, size_t first, size_t i, uint16_t keyLength, char trail,
              size_t& dup, size_t& trailCount)
{
    const std::string_view key = node.Key(i, keyLength);
    trailCount = TrailCount(key, trail);
    dup = 0;
    if (i > first)
        dup = std::min(CommonPrefix(key, node.Key(i - 1, keyLength)), keyLength - trailCount);
}

uint32_t MaxRecNo(const TIndexNode& node, size_t first, size_t last)
{
    uint32_t m = 0;
    for (size_t i = first; i < last; ++i)
        m = std::max(m, node.recNos[i]);
    return m;
}

} // namespace

TLeafLayout TLeafLayout::For(uint16_t keyLength, uint32_t maxRecNo)
{
    TLeafLayout l;
    l.dupBits = l.trailBits = std::max<uint8_t>(BitsFor(keyLength), 1);
    const int needRec = std::max<int>(BitsFor(maxRecNo), 1);
    const int total = needRec + 2 * l.dupBits;
    l.entryBytes = static_cast<uint8_t>(std::max(3, (total + 7) / 8));
    l.recBits = static_cast<uint8_t>(std::min(32, l.entryBytes * 8 - 2 * l.dupBits));
    return l;
}

uint16_t TIndexPage::Attributes(const TPage& page)
{
    return Le16(page.data() + kNodeAttributes);
}
uint16_t TIndexPage::KeyCount(const TPage& page)
{
    return Le16(page.data() + kNodeKeyCount);
}

std::string TIndexPage::Decode(const TPage& page, uint16_t keyLength, char trail, TIndexNode& out)
{
    out.Clear();
    const uint8_t* p = page.data();
    const uint16_t attributes = Le16(p + kNodeAttributes);
    if (attributes > (kAttrRoot | kAttrLeaf))
        return "unknown node kind " + std::to_string(attributes);
    const size_t count = Le16(p + kNodeKeyCount);
    out.leaf = (attributes & kAttrLeaf) != 0;
    out.left = Le32(p + kNodeLeft);
    out.right = Le32(p + kNodeRight);
    if (keyLength == 0 || keyLength > kMaxKeyLength)
        return "bad key length";

    if (!out.leaf) {
        if (count > InteriorCapacity(keyLength))
            return "interior node claims " + std::to_string(count) + " keys";
        if (count == 0)
            return "interior node without keys";
        out.keys.resize(count * keyLength);
        out.recNos.resize(count);
        out.children.resize(count);
        const uint8_t* e = p + kInteriorEntries;
        for (size_t i = 0; i < count; ++i, e += keyLength + 8) {
            std::memcpy(out.keys.data() + i * keyLength, e, keyLength);
            out.recNos[i] = Be32(e + keyLength);
            out.children[i] = Be32(e + keyLength + 4);
        }
        return {};
    }

    const uint8_t entryBytes = p[kLeafEntryBytes];
    const uint8_t recBits = p[kLeafRecBits];
    const uint8_t dupBits = p[kLeafDupBits];
    const uint8_t trailBits = p[kLeafTrailBits];
    if (count == 0)
        return {};
    if (entryBytes == 0 || entryBytes > 8 || recBits == 0 || recBits > 32 || dupBits > 16 ||
        trailBits > 16 || recBits + dupBits + trailBits > entryBytes * 8)
        return "bad leaf entry layout";
    if (count * entryBytes > kLeafSpace)
        return "leaf node claims " + std::to_string(count) + " keys";

    out.keys.resize(count * keyLength);
    out.recNos.resize(count);
    const uint64_t recMask = recBits == 32 ? 0xFFFFFFFFull : ((1ull << recBits) - 1);
    const uint64_t dupMask = (1ull << dupBits) - 1;
    const uint64_t trailMask = (1ull << trailBits) - 1;
    size_t keyEnd = kPageSize; // key bytes are stored from the end of the page downwards
    const size_t entriesEnd = kLeafEntries + count * entryBytes;
    char* keys = out.keys.data();
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* e = p + kLeafEntries + i * entryBytes;
        uint64_t packed = 0;
        for (int b = entryBytes - 1; b >= 0; --b)
            packed = (packed << 8) | e[b];
        const uint32_t recNo = static_cast<uint32_t>(packed & recMask);
        const size_t dup = static_cast<size_t>((packed >> recBits) & dupMask);
        const size_t trailCount = static_cast<size_t>((packed >> (recBits + dupBits)) & trailMask);
        if (recNo == 0)
            return "leaf entry with record number 0";
        if (dup + trailCount > keyLength || (i == 0 && dup != 0))
            return "leaf entry with bad compression counts";
        const size_t stored = keyLength - dup - trailCount;
        if (keyEnd < entriesEnd + stored)
            return "leaf keys overlap their entries";
        keyEnd -= stored;
        char* key = keys + i * keyLength;
        if (dup != 0)
            std::memcpy(key, key - keyLength, dup);
        std::memcpy(key + dup, p + keyEnd, stored);
        std::memset(key + dup + stored, trail, trailCount);
        out.recNos[i] = recNo;
    }
    return {};
}

size_t TIndexPage::LeafBytes(const TIndexNode& node, size_t first, size_t last, uint16_t keyLength,
                             char trail, const TLeafLayout& layout)
{
    size_t total = 0;
    for (size_t i = first; i < last; ++i) {
        size_t dup = 0, trailCount = 0;
        Compress(node, first, i, keyLength, trail, dup, trailCount);
        total += layout.entryBytes + (keyLength - dup - trailCount);
    }
    return total;
}

bool TIndexPage::EncodeLeaf(const TIndexNode& node, size_t first, size_t last, uint16_t keyLength,
                            char trail, bool root, uint32_t left, uint32_t right, TPage& out)
{
    const TLeafLayout layout = TLeafLayout::For(keyLength, MaxRecNo(node, first, last));
    // Duplicate and trailing counts, computed once; the page is written only when all fit.
    thread_local std::vector<std::pair<uint16_t, uint16_t>> counts;
    counts.resize(last - first);
    size_t bytes = 0;
    for (size_t i = first; i < last; ++i) {
        size_t dup = 0, trailCount = 0;
        Compress(node, first, i, keyLength, trail, dup, trailCount);
        counts[i - first] = {static_cast<uint16_t>(dup), static_cast<uint16_t>(trailCount)};
        bytes += layout.entryBytes + (keyLength - dup - trailCount);
        if (bytes > kLeafSpace)
            return false;
    }
    out.fill(0);
    uint8_t* p = out.data();
    PutLe16(p + kNodeAttributes, static_cast<uint16_t>(kAttrLeaf | (root ? kAttrRoot : 0)));
    PutLe16(p + kNodeKeyCount, static_cast<uint16_t>(last - first));
    PutLe32(p + kNodeLeft, left);
    PutLe32(p + kNodeRight, right);
    PutLe16(p + kLeafFreeSpace, static_cast<uint16_t>(kLeafSpace - bytes));
    PutLe32(p + kLeafRecMask, layout.recBits == 32 ? 0xFFFFFFFFu : ((1u << layout.recBits) - 1));
    p[kLeafDupMask] = static_cast<uint8_t>((1u << layout.dupBits) - 1);
    p[kLeafTrailMask] = static_cast<uint8_t>((1u << layout.trailBits) - 1);
    p[kLeafRecBits] = layout.recBits;
    p[kLeafDupBits] = layout.dupBits;
    p[kLeafTrailBits] = layout.trailBits;
    p[kLeafEntryBytes] = layout.entryBytes;
    size_t keyEnd = kPageSize;
    for (size_t i = first; i < last; ++i) {
        const size_t dup = counts[i - first].first;
        const size_t trailCount = counts[i - first].second;
        const uint64_t packed =
            static_cast<uint64_t>(node.recNos[i]) | (static_cast<uint64_t>(dup) << layout.recBits) |
            (static_cast<uint64_t>(trailCount) << (layout.recBits + layout.dupBits));
        uint8_t* e = p + kLeafEntries + (i - first) * layout.entryBytes;
        for (int b = 0; b < layout.entryBytes; ++b)
            e[b] = static_cast<uint8_t>(packed >> (8 * b));
        const size_t stored = keyLength - dup - trailCount;
        keyEnd -= stored;
        std::memcpy(p + keyEnd, node.keys.data() + i * keyLength + dup, stored);
    }
    return true;
}

std::vector<std::pair<size_t, size_t>> TIndexPage::SplitLeaf(const TIndexNode& node,
                                                             uint16_t keyLength, char trail)
{
    const size_t n = node.Count();
    const TLeafLayout layout = TLeafLayout::For(keyLength, MaxRecNo(node, 0, n));
    // sum[i]: bytes of entries [0, i) compressed against their predecessors; a piece starting at
    // a also stores the bytes entry a shared with the entry before it.
    std::vector<size_t> sum(n + 1, 0), dups(n, 0);
    for (size_t i = 0; i < n; ++i) {
        size_t dup = 0, trailCount = 0;
        Compress(node, 0, i, keyLength, trail, dup, trailCount);
        dups[i] = dup;
        sum[i + 1] = sum[i] + layout.entryBytes + (keyLength - dup - trailCount);
    }
    auto bytes = [&](size_t a, size_t b) { return sum[b] - sum[a] + dups[a]; };
    std::vector<std::pair<size_t, size_t>> pieces;
    if (bytes(0, n) <= kLeafSpace) {
        pieces.emplace_back(0, n);
        return pieces;
    }
    // Two pieces as even in bytes as possible, else as many full pieces as needed.
    size_t best = 0, bestWorst = SIZE_MAX;
    for (size_t k = 1; k < n; ++k) {
        const size_t worst = std::max(bytes(0, k), bytes(k, n));
        if (worst <= kLeafSpace && worst < bestWorst) {
            best = k;
            bestWorst = worst;
        }
    }
    if (best != 0) {
        pieces.emplace_back(0, best);
        pieces.emplace_back(best, n);
        return pieces;
    }
    size_t start = 0;
    while (start < n) {
        size_t end = start + 1; // one key always fits
        while (end < n && bytes(start, end + 1) <= kLeafSpace)
            ++end;
        pieces.emplace_back(start, end);
        start = end;
    }
    return pieces;
}

void TIndexPage::EncodeInterior(const TIndexNode& node, size_t first, size_t last,
                                uint16_t keyLength, bool root, uint32_t left, uint32_t right,
                                TPage& out)
{
    out.fill(0);
    uint8_t* p = out.data();
    PutLe16(p + kNodeAttributes, static_cast<uint16_t>(kAttrInterior | (root ? kAttrRoot : 0)));
    PutLe16(p + kNodeKeyCount, static_cast<uint16_t>(last - first));
    PutLe32(p + kNodeLeft, left);
    PutLe32(p + kNodeRight, right);
    uint8_t* e = p + kInteriorEntries;
    for (size_t i = first; i < last; ++i, e += keyLength + 8) {
        std::memcpy(e, node.keys.data() + i * keyLength, keyLength);
        PutBe32(e + keyLength, node.recNos[i]);
        PutBe32(e + keyLength + 4, node.children[i]);
    }
}

void TIndexPage::SetSiblings(TPage& page, uint32_t left, uint32_t right)
{
    PutLe32(page.data() + kNodeLeft, left);
    PutLe32(page.data() + kNodeRight, right);
}

void TIndexPage::SetRootFlag(TPage& page, bool root)
{
    uint16_t a = Le16(page.data() + kNodeAttributes);
    a = static_cast<uint16_t>(root ? (a | kAttrRoot) : (a & ~kAttrRoot));
    PutLe16(page.data() + kNodeAttributes, a);
}

} // namespace qm::xbase
