#include "xbase/TIndexTag.h"

#include "xbase/TIndexBytes.h"
#include "xbase/TIndexCursor.h"
#include "xbase/TIndexPageFile.h"
#include "xbase/TTagBuilder.h"
#include "xbase/TXbaseError.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <unordered_set>

namespace qm::xbase {

using namespace indexformat;
using namespace indexbytes;
using TPage = TIndexPageFile::TPage;

namespace {

// Deeper than any tree of 2^32 keys with two keys per interior node: a longer descent means the
// interior pages point in a cycle.
constexpr int kMaxDepth = 40;
// Pages written at once by a bulk build.
constexpr size_t kBulkChunkPages = 256;
// Bytes a bulk build leaves free in each leaf holding at least kLeafSlackFromKeys keys.
constexpr size_t kLeafSlack = kLeafSpace / 10;
constexpr size_t kLeafSlackFromKeys = 4;
constexpr char kEngineMark[4] = {'Q', 'M', 'I', 'X'};

// (entry key, entry record) >= (key, recNo), comparing over key's length only.
bool AtOrAfter(const char* entryKey, uint32_t entryRecNo, std::string_view key, uint64_t recNo)
{
    const int c = std::memcmp(entryKey, key.data(), key.size());
    if (c != 0)
        return c > 0;
    return entryRecNo >= recNo;
}

size_t FirstAtOrAfter(const TIndexNode& node, uint16_t keyLength, std::string_view key,
                      uint64_t recNo)
{
    size_t lo = 0, hi = node.Count();
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        if (AtOrAfter(node.keys.data() + mid * keyLength, node.recNos[mid], key, recNo))
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

std::string PoolText(const TPage& pool, size_t pos)
{
    if (pos >= pool.size())
        return {};
    const char* begin = reinterpret_cast<const char*>(pool.data()) + pos;
    const size_t max = pool.size() - pos;
    return std::string(begin, strnlen(begin, max));
}

char TrailFor(TKeyType type)
{
    return type == TKeyType::Character ? ' ' : '\0';
}

// Packs sorted pairs into full leaf pages one after another (bulk builds).
class TLeafPacker {
public:
    TLeafPacker(uint16_t keyLength, char trail, const TLeafLayout& layout)
        : mKeyLength(keyLength), mTrail(trail), mLayout(layout)
    {
    }

    bool Empty() const { return mCount == 0; }

    // Adds a pair to the current page; false when it does not fit (the page is left as it was).
    bool Add(const char* key, uint32_t recNo)
    {
        size_t end = mKeyLength;
        const uint64_t trailWord = 0x0101010101010101ull * static_cast<uint8_t>(mTrail);
        while (end >= 8) {
            uint64_t word;
            std::memcpy(&word, key + end - 8, 8);
            if (word != trailWord)
                break;
            end -= 8;
        }
        while (end > 0 && key[end - 1] == mTrail)
            --end;
        const size_t trailCount = mKeyLength - end;
        size_t dup = 0;
        if (mCount > 0) {
            while (dup + 8 <= end && std::memcmp(key + dup, mPrevious + dup, 8) == 0)
                dup += 8;
            while (dup < end && key[dup] == mPrevious[dup])
                ++dup;
        }
        const size_t stored = mKeyLength - dup - trailCount;
        // Bulk-built leaves keep some room free, so that the keys of records added later go in
        // without splitting nearly every leaf (a full leaf splits on its first insert). Leaves of
        // a few long keys are filled: the room would cost too large a part of them.
        const size_t limit = mCount >= kLeafSlackFromKeys ? kLeafSpace - kLeafSlack : kLeafSpace;
        if (mUsed + mLayout.entryBytes + stored > limit)
            return false;
        const uint64_t packed =
            static_cast<uint64_t>(recNo) | (static_cast<uint64_t>(dup) << mLayout.recBits) |
            (static_cast<uint64_t>(trailCount) << (mLayout.recBits + mLayout.dupBits));
        uint8_t* e = mPage.data() + kLeafEntries + mCount * mLayout.entryBytes;
        for (int b = 0; b < mLayout.entryBytes; ++b)
            e[b] = static_cast<uint8_t>(packed >> (8 * b));
        mKeyEnd -= stored;
        std::memcpy(mPage.data() + mKeyEnd, key + dup, stored);
        mUsed += mLayout.entryBytes + stored;
        ++mCount;
        mPrevious = key;
        mLastRecNo = recNo;
        return true;
    }

    // Completes the page into out and starts a new one.
    void Finish(bool root, uint32_t left, uint32_t right, uint8_t* out)
    {
        uint8_t* p = mPage.data();
        PutLe16(p + kNodeAttributes, static_cast<uint16_t>(kAttrLeaf | (root ? kAttrRoot : 0)));
        PutLe16(p + kNodeKeyCount, static_cast<uint16_t>(mCount));
        PutLe32(p + kNodeLeft, left);
        PutLe32(p + kNodeRight, right);
        PutLe16(p + kLeafFreeSpace, static_cast<uint16_t>(kLeafSpace - mUsed));
        PutLe32(p + kLeafRecMask,
                mLayout.recBits == 32 ? 0xFFFFFFFFu : ((1u << mLayout.recBits) - 1));
        p[kLeafDupMask] = static_cast<uint8_t>((1u << mLayout.dupBits) - 1);
        p[kLeafTrailMask] = static_cast<uint8_t>((1u << mLayout.trailBits) - 1);
        p[kLeafRecBits] = mLayout.recBits;
        p[kLeafDupBits] = mLayout.dupBits;
        p[kLeafTrailBits] = mLayout.trailBits;
        p[kLeafEntryBytes] = mLayout.entryBytes;
        std::memcpy(out, p, kPageSize);
        mPage.fill(0);
        mCount = 0;
        mUsed = 0;
        mKeyEnd = kPageSize;
    }

    const char* LastKey() const { return mPrevious; }
    uint32_t LastRecNo() const { return mLastRecNo; }

private:
    uint16_t mKeyLength;
    char mTrail;
    TLeafLayout mLayout;
    TPage mPage{};
    size_t mCount = 0;
    size_t mUsed = 0;
    size_t mKeyEnd = kPageSize;
    const char* mPrevious = nullptr;
    uint32_t mLastRecNo = 0;
};

} // namespace

struct TIndexTag::TPath {
    std::vector<std::pair<uint32_t, size_t>> levels; // interior page, child index taken
};

struct TIndexTag::TSeparator {
    std::string key;
    uint32_t recNo;
    uint32_t page;
};

uint64_t TIndexTag::FirstGeneration()
{
    static std::atomic<uint64_t> next{1};
    return next.fetch_add(uint64_t{1} << 32);
}

TIndexTag::TIndexTag(TIndexPageFile& file, uint32_t headerOffset, std::string name)
    : mFile(file), mHeader(headerOffset)
{
    TPage fields, pool;
    mFile.ReadRaw(headerOffset, fields);
    mFile.ReadRaw(headerOffset + kPageSize, pool);
    const uint8_t* h = fields.data();
    mRoot = Le32(h + kHdrRoot);
    mInfo.name = std::move(name);
    mInfo.keyLength = Le16(h + kHdrKeyLength);
    mOptions = h[kHdrOptions];
    if (mInfo.keyLength == 0 || mInfo.keyLength > kMaxKeyLength)
        Damaged(headerOffset, "index key length " + std::to_string(mInfo.keyLength) +
                                  " is out of range (1 to 240)");
    if ((mOptions & kOptCompact) == 0)
        Damaged(headerOffset, "not a compact index header");
    if (mRoot % kPageSize != 0 || mRoot < kHeaderSize || mRoot + uint64_t{kPageSize} > mFile.End())
        Damaged(headerOffset, "index root pointer " + std::to_string(mRoot) + " is out of range");
    mInfo.unique = (mOptions & kOptUnique) != 0;
    mInfo.descending = Le16(h + kHdrDescending) != 0;
    mInfo.keyExpression = PoolText(pool, Le16(h + kHdrKeyPos));
    if (mOptions & kOptHasFor) {
        const uint16_t forPos = Le16(h + kHdrForPos);
        mInfo.forExpression = PoolText(pool, forPos != 0 ? forPos : mInfo.keyExpression.size() + 1);
    }
    if (std::memcmp(h + kHdrEngineMark, kEngineMark, 4) == 0) {
        const char type = static_cast<char>(h[kHdrKeyType]);
        if (type == 'C' || type == 'N' || type == 'D' || type == 'L')
            mInfo.keyType = static_cast<TKeyType>(type);
    }
    mTrail = TrailFor(mInfo.keyType);
}

void TIndexTag::WriteNew(TIndexPageFile& file, uint32_t headerOffset, const TTagInfo& info,
                         uint8_t extraOptions)
{
    TPage fields{}, pool{};
    if (headerOffset == 0) {
        // The file header also holds the free list and the engine's clean/dirty fields.
        TPage old;
        file.ReadRaw(0, old);
        std::memcpy(fields.data() + kHdrFreeList, old.data() + kHdrFreeList, 4);
        std::memcpy(fields.data() + kHdrEngineMark, old.data() + kHdrEngineMark, 12);
    }
    const uint32_t root = file.Allocate();
    uint8_t* h = fields.data();
    PutLe32(h + kHdrRoot, root);
    PutLe16(h + kHdrKeyLength, info.keyLength);
    uint8_t options = kOptCompact | extraOptions;
    if (info.unique)
        options |= kOptUnique;
    if (!info.forExpression.empty())
        options |= kOptHasFor;
    h[kHdrOptions] = options;
    h[kHdrSignature] = 1;
    std::memcpy(h + kHdrEngineMark, kEngineMark, 4);
    h[kHdrKeyType] = static_cast<uint8_t>(info.keyType);
    PutLe16(h + kHdrDescending, info.descending ? 1 : 0);
    const size_t keyTextLength = info.keyExpression.size() + 1;
    PutLe16(h + kHdrKeyPos, 0);
    PutLe16(h + kHdrKeyExprLength, static_cast<uint16_t>(keyTextLength));
    PutLe16(h + kHdrForPos, static_cast<uint16_t>(keyTextLength));
    PutLe16(h + kHdrForLength, static_cast<uint16_t>(info.forExpression.size() + 1));
    std::memcpy(pool.data(), info.keyExpression.data(), info.keyExpression.size());
    std::memcpy(pool.data() + keyTextLength, info.forExpression.data(), info.forExpression.size());
    file.Write(headerOffset, fields);
    file.Write(headerOffset + kPageSize, pool);
    TPage empty;
    TIndexNode none;
    TIndexPage::EncodeLeaf(none, 0, 0, info.keyLength, TrailFor(info.keyType), true, kNoPage,
                           kNoPage, empty);
    file.Write(root, empty);
}

const std::string& TIndexTag::FileName() const
{
    return mFile.Name();
}

void TIndexTag::Damaged(uint32_t offset, const std::string& what) const
{
    throw TXbaseError(TErrorKind::Damaged, what, mFile.Name(), offset);
}

void TIndexTag::SetKeyType(TKeyType type)
{
    if (type == mInfo.keyType)
        return;
    mInfo.keyType = type;
    mTrail = TrailFor(type);
    Touch();
    if (mFile.ReadOnly())
        return;
    TPage fields;
    mFile.ReadRaw(mHeader, fields);
    std::memcpy(fields.data() + kHdrEngineMark, kEngineMark, 4);
    fields[kHdrKeyType] = static_cast<uint8_t>(type);
    mFile.Write(mHeader, fields);
}

void TIndexTag::ReadNode(uint32_t page, TIndexNode& node, bool sequential)
{
    TPage raw;
    mFile.Read(page, raw, sequential);
    const std::string problem = TIndexPage::Decode(raw, mInfo.keyLength, mTrail, node);
    if (!problem.empty())
        Damaged(page, problem);
}

uint32_t TIndexTag::FindLeaf(std::string_view key, uint64_t recNo, TIndexNode& node, TPath* path)
{
    // Interior pages are searched where they lie, without decoding them: a descent decodes only
    // its leaf.
    const uint16_t kl = mInfo.keyLength;
    uint32_t page = mRoot;
    TPage raw;
    for (int depth = 0;; ++depth) {
        if (depth > kMaxDepth)
            Damaged(page, "index pages point to each other in a cycle");
        mFile.Read(page, raw);
        const uint16_t attributes = Le16(raw.data() + kNodeAttributes);
        if (attributes > (kAttrRoot | kAttrLeaf))
            Damaged(page, "unknown node kind " + std::to_string(attributes));
        if (attributes & kAttrLeaf) {
            const std::string problem = TIndexPage::Decode(raw, kl, mTrail, node);
            if (!problem.empty())
                Damaged(page, problem);
            return page;
        }
        const size_t count = Le16(raw.data() + kNodeKeyCount);
        if (count == 0 || count > TIndexPage::InteriorCapacity(kl))
            Damaged(page, "interior node claims " + std::to_string(count) + " keys");
        const uint8_t* entries = raw.data() + kInteriorEntries;
        const size_t stride = kl + 8u;
        size_t lo = 0, hi = count;
        while (lo < hi) {
            const size_t mid = (lo + hi) / 2;
            const uint8_t* e = entries + mid * stride;
            if (AtOrAfter(reinterpret_cast<const char*>(e), Be32(e + kl), key, recNo))
                hi = mid;
            else
                lo = mid + 1;
        }
        const size_t i = lo == count ? count - 1 : lo;
        if (path)
            path->levels.emplace_back(page, i);
        page = Be32(entries + i * stride + kl + 4);
    }
}

uint32_t TIndexTag::EdgeLeaf(bool last, TIndexNode& node)
{
    uint32_t page = mRoot;
    for (int depth = 0;; ++depth) {
        if (depth > kMaxDepth)
            Damaged(page, "index pages point to each other in a cycle");
        ReadNode(page, node);
        if (node.leaf)
            return page;
        page = last ? node.children.back() : node.children.front();
    }
}

void TIndexTag::WriteRoot(uint32_t root)
{
    TPage fields;
    mFile.ReadRaw(mHeader, fields);
    PutLe32(fields.data() + kHdrRoot, root);
    mFile.Write(mHeader, fields);
    mRoot = root;
}

void TIndexTag::SetSibling(uint32_t page, bool leftPointer, uint32_t value)
{
    if (page == kNoPage)
        return;
    TPage raw;
    mFile.Read(page, raw);
    PutLe32(raw.data() + (leftPointer ? kNodeLeft : kNodeRight), value);
    mFile.Write(page, raw);
}

// Writes node back to page, splitting it over new pages when it no longer fits or freeing the
// page when it is empty, then brings the parents on path up to date.
void TIndexTag::Store(TPath& path, uint32_t page, TIndexNode& node)
{
    const uint16_t kl = mInfo.keyLength;
    const bool isRoot = page == mRoot;
    std::vector<TSeparator> separators;

    if (node.Count() == 0) {
        if (isRoot) {
            TPage raw;
            TIndexNode none;
            TIndexPage::EncodeLeaf(none, 0, 0, kl, mTrail, true, kNoPage, kNoPage, raw);
            mFile.Write(page, raw);
            return;
        }
        SetSibling(node.left, false, node.right);
        SetSibling(node.right, true, node.left);
        mFile.Free(page);
    } else {
        // Decide the pieces [start, end) the node is written as.
        std::vector<std::pair<size_t, size_t>> pieces;
        const size_t n = node.Count();
        TPage raw;
        bool encoded = false; // raw already holds the single piece
        if (node.leaf) {
            encoded =
                TIndexPage::EncodeLeaf(node, 0, n, kl, mTrail, isRoot, node.left, node.right, raw);
            if (encoded)
                pieces.emplace_back(0, n);
            else
                pieces = TIndexPage::SplitLeaf(node, kl, mTrail);
        } else {
            const size_t cap = TIndexPage::InteriorCapacity(kl);
            const size_t count = (n + cap - 1) / cap;
            for (size_t i = 0; i < count; ++i)
                pieces.emplace_back(n * i / count, n * (i + 1) / count);
        }

        std::vector<uint32_t> pages(pieces.size());
        pages[0] = page;
        for (size_t i = 1; i < pieces.size(); ++i)
            pages[i] = mFile.Allocate();
        const bool stillRoot = isRoot && pieces.size() == 1;
        for (size_t i = 0; i < pieces.size(); ++i) {
            const uint32_t left = i == 0 ? node.left : pages[i - 1];
            const uint32_t right = i + 1 == pieces.size() ? node.right : pages[i + 1];
            if (encoded)
                ; // written by the fit test above
            else if (node.leaf)
                TIndexPage::EncodeLeaf(node, pieces[i].first, pieces[i].second, kl, mTrail,
                                       stillRoot, left, right, raw);
            else
                TIndexPage::EncodeInterior(node, pieces[i].first, pieces[i].second, kl, stillRoot,
                                           left, right, raw);
            mFile.Write(pages[i], raw);
            const size_t last = pieces[i].second - 1;
            separators.push_back({std::string(node.Key(last, kl)), node.recNos[last], pages[i]});
        }
        if (pieces.size() > 1)
            SetSibling(node.right, true, pages.back());
    }

    if (path.levels.empty()) {
        // page was the root.
        if (separators.size() > 1) {
            TIndexNode top;
            top.leaf = false;
            for (const TSeparator& s : separators) {
                top.keys += s.key;
                top.recNos.push_back(s.recNo);
                top.children.push_back(s.page);
            }
            const uint32_t newRoot = mFile.Allocate();
            WriteRoot(newRoot);
            TPath none;
            Store(none, newRoot, top); // splits again if the separators fill more than a page
        }
        return;
    }

    const auto [parentPage, index] = path.levels.back();
    path.levels.pop_back();
    TIndexNode parent;
    ReadNode(parentPage, parent);
    if (index >= parent.Count())
        Damaged(parentPage, "index interior node changed under a descent");
    if (separators.size() == 1 && separators[0].page == parent.children[index] &&
        separators[0].recNo == parent.recNos[index] && separators[0].key == parent.Key(index, kl))
        return; // nothing above changes
    TIndexNode updated;
    updated.leaf = false;
    updated.left = parent.left;
    updated.right = parent.right;
    for (size_t i = 0; i < parent.Count(); ++i) {
        if (i == index) {
            for (const TSeparator& s : separators) {
                updated.keys += s.key;
                updated.recNos.push_back(s.recNo);
                updated.children.push_back(s.page);
            }
            continue;
        }
        updated.keys.append(parent.Key(i, kl));
        updated.recNos.push_back(parent.recNos[i]);
        updated.children.push_back(parent.children[i]);
    }
    if (updated.Count() == 0 && parentPage == mRoot) {
        updated.leaf = true; // the tree is empty again
        updated.left = updated.right = kNoPage;
    }
    Store(path, parentPage, updated);
}

bool TIndexTag::Insert(std::string_view key, uint32_t recNo)
{
    if (key.size() != mInfo.keyLength)
        throw TXbaseError(TErrorKind::Usage,
                          "index key of " + std::to_string(key.size()) + " bytes for a tag of " +
                              std::to_string(mInfo.keyLength),
                          mFile.Name());
    if (recNo == 0)
        throw TXbaseError(TErrorKind::Usage, "record number 0 cannot be indexed", mFile.Name());
    if (mInfo.unique) {
        TIndexCursor probe(*this);
        if (probe.Seek(key, false))
            return false;
    }
    TPath path;
    // Scratch memory kept between calls: most inserts then allocate nothing.
    thread_local TIndexNode leaf;
    const uint32_t page = FindLeaf(key, recNo, leaf, &path);
    const size_t pos = FirstAtOrAfter(leaf, mInfo.keyLength, key, recNo);
    if (pos < leaf.Count() && leaf.recNos[pos] == recNo && leaf.Key(pos, mInfo.keyLength) == key)
        return false;
    const bool newLast = pos == leaf.Count();
    leaf.keys.insert(pos * mInfo.keyLength, key);
    leaf.recNos.insert(leaf.recNos.begin() + static_cast<ptrdiff_t>(pos), recNo);
    // The common case: the key goes into its leaf without splitting it and without becoming its
    // last key, so nothing above the leaf changes.
    TPage raw;
    if (!newLast && TIndexPage::EncodeLeaf(leaf, 0, leaf.Count(), mInfo.keyLength, mTrail,
                                           page == mRoot, leaf.left, leaf.right, raw)) {
        mFile.Write(page, raw);
    } else {
        Store(path, page, leaf);
    }
    Touch();
    return true;
}

bool TIndexTag::Remove(std::string_view key, uint32_t recNo)
{
    if (key.size() != mInfo.keyLength)
        return false;
    TPath path;
    TIndexNode leaf;
    const uint32_t page = FindLeaf(key, recNo, leaf, &path);
    const size_t pos = FirstAtOrAfter(leaf, mInfo.keyLength, key, recNo);
    if (pos >= leaf.Count() || leaf.recNos[pos] != recNo || leaf.Key(pos, mInfo.keyLength) != key)
        return false;
    leaf.keys.erase(pos * mInfo.keyLength, mInfo.keyLength);
    leaf.recNos.erase(leaf.recNos.begin() + static_cast<ptrdiff_t>(pos));
    Store(path, page, leaf);
    Touch();
    return true;
}

void TIndexTag::FreeTree(uint32_t root)
{
    // Interior pages are read to find their children; a level of leaves is freed unread.
    std::vector<uint32_t> level{root};
    std::unordered_set<uint32_t> seen;
    for (int depth = 0; !level.empty(); ++depth) {
        if (depth > kMaxDepth)
            Damaged(root, "index pages point to each other in a cycle");
        TIndexNode node;
        ReadNode(level.front(), node);
        if (node.leaf) {
            for (uint32_t page : level)
                if (seen.insert(page).second)
                    mFile.Free(page);
            return;
        }
        std::vector<uint32_t> next;
        for (uint32_t page : level) {
            if (!seen.insert(page).second)
                Damaged(page, "index pages point to each other in a cycle");
            ReadNode(page, node);
            if (node.leaf)
                Damaged(page, "index leaves at different depths");
            next.insert(next.end(), node.children.begin(), node.children.end());
            mFile.Free(page);
        }
        level = std::move(next);
    }
}

void TIndexTag::Clear()
{
    FreeTree(mRoot);
    const uint32_t root = mFile.Allocate();
    TPage raw;
    TIndexNode none;
    TIndexPage::EncodeLeaf(none, 0, 0, mInfo.keyLength, mTrail, true, kNoPage, kNoPage, raw);
    mFile.Write(root, raw);
    WriteRoot(root);
    Touch();
}

void TIndexTag::Rebuild(TTagBuilder& builder, const TIndexProgress& progress)
{
    if (builder.KeyLength() != mInfo.keyLength)
        throw TXbaseError(TErrorKind::Usage, "the collected keys do not have the tag's key length",
                          mFile.Name());
    int reported = -1;
    auto report = [&](int percent) {
        if (progress && percent > reported) {
            reported = percent;
            progress(percent);
        }
    };
    report(0);
    builder.Sort(mInfo.unique);
    report(30);
    FreeTree(mRoot);

    const uint16_t kl = mInfo.keyLength;
    const size_t n = builder.SortedCount();
    const TLeafLayout layout = TLeafLayout::For(kl, builder.MaxRecNo());

    // Leaves, written in key order in consecutive pages at the end of the file. A page is
    // allocated when it is complete; a tree of one page takes a free page instead.
    TIndexNode separators;
    separators.leaf = false;
    std::vector<uint8_t> chunk;
    chunk.reserve(kBulkChunkPages * kPageSize);
    uint32_t chunkStart = 0;
    auto flushChunk = [&] {
        if (!chunk.empty())
            mFile.WriteBulk(chunkStart, chunk.data(), chunk.size() / kPageSize);
        chunk.clear();
    };
    TLeafPacker packer(kl, mTrail, layout);
    uint32_t previousPage = kNoPage;
    auto finishPage = [&](bool lastPage) -> uint32_t {
        if (lastPage && previousPage == kNoPage) {
            const uint32_t page = mFile.Allocate();
            TPage raw;
            packer.Finish(true, kNoPage, kNoPage, raw.data());
            mFile.Write(page, raw);
            return page;
        }
        if (chunk.size() == kBulkChunkPages * kPageSize)
            flushChunk();
        const uint32_t page = mFile.AllocateAtEnd(1);
        if (chunk.empty())
            chunkStart = page;
        else if (page != chunkStart + chunk.size())
            throw TXbaseError(TErrorKind::Usage, "index pages of a bulk build are not consecutive",
                              mFile.Name());
        chunk.resize(chunk.size() + kPageSize);
        packer.Finish(false, previousPage, lastPage ? kNoPage : page + kPageSize,
                      chunk.data() + chunk.size() - kPageSize);
        previousPage = page;
        return page;
    };

    size_t i = 0;
    while (i < n) {
        builder.Prefetch(i + 24);
        const std::string_view key = builder.Key(i);
        if (packer.Add(key.data(), builder.RecNo(i))) {
            ++i;
            continue;
        }
        separators.keys.append(packer.LastKey(), kl);
        separators.recNos.push_back(packer.LastRecNo());
        separators.children.push_back(finishPage(false));
        report(30 + static_cast<int>(60.0 * static_cast<double>(i) / static_cast<double>(n)));
    }
    if (n > 0) {
        separators.keys.append(packer.LastKey(), kl);
        separators.recNos.push_back(packer.LastRecNo());
    }
    const uint32_t lastLeaf = finishPage(true);
    if (n > 0)
        separators.children.push_back(lastLeaf);
    flushChunk();
    report(90);

    // Interior levels, each packed full, until one node remains: the root.
    uint32_t root = lastLeaf;
    const size_t cap = TIndexPage::InteriorCapacity(kl);
    while (separators.Count() > 1) {
        TIndexNode next;
        next.leaf = false;
        const size_t count = separators.Count();
        const size_t nodes = (count + cap - 1) / cap;
        const uint32_t first = mFile.AllocateAtEnd(static_cast<uint32_t>(nodes));
        std::vector<uint8_t> pages(nodes * kPageSize);
        for (size_t k = 0; k < nodes; ++k) {
            const size_t a = k * cap;
            const size_t b = std::min(count, a + cap);
            const uint32_t self = static_cast<uint32_t>(first + k * kPageSize);
            TPage raw;
            TIndexPage::EncodeInterior(separators, a, b, kl, nodes == 1,
                                       k == 0 ? kNoPage : self - kPageSize,
                                       k + 1 == nodes ? kNoPage : self + kPageSize, raw);
            std::memcpy(pages.data() + k * kPageSize, raw.data(), kPageSize);
            next.keys.append(separators.Key(b - 1, kl));
            next.recNos.push_back(separators.recNos[b - 1]);
            next.children.push_back(self);
        }
        mFile.WriteBulk(first, pages.data(), nodes);
        root = first;
        separators = std::move(next);
    }
    WriteRoot(root);
    Touch();
    report(100);
}

uint64_t TIndexTag::CountKeys()
{
    TIndexNode node;
    uint32_t page = EdgeLeaf(false, node);
    uint64_t count = 0;
    const uint64_t limit = mFile.PageCount();
    for (uint64_t steps = 0;; ++steps) {
        if (steps > limit)
            Damaged(page, "index leaves are linked in a cycle");
        count += node.Count();
        if (node.right == kNoPage)
            return count;
        page = node.right;
        ReadNode(page, node);
        if (!node.leaf)
            Damaged(page, "an interior node is linked among the leaves");
    }
}

TIndexCheck TIndexTag::Verify(const std::function<void(std::string_view, uint32_t)>& visit)
{
    TIndexCheck check;
    const uint16_t kl = mInfo.keyLength;
    uint32_t current = mRoot;
    try {
        struct TExpect {
            uint32_t page;
            std::string key; // the separator the parent holds for this page (empty for the root)
            uint32_t recNo;
        };
        std::vector<TExpect> level{{mRoot, {}, 0}};
        std::unordered_set<uint32_t> seen;
        std::string previousKey;
        uint32_t previousRecNo = 0;
        bool havePrevious = false;
        for (int depth = 0; !level.empty(); ++depth) {
            if (depth > kMaxDepth) {
                check = {false, "the index tree is deeper than possible", current, check.keyCount};
                return check;
            }
            std::vector<TExpect> next;
            bool levelIsLeaf = false;
            for (size_t k = 0; k < level.size(); ++k) {
                const TExpect& e = level[k];
                current = e.page;
                if (!seen.insert(e.page).second) {
                    check = {false, "an index page is used twice (pages in a cycle)", e.page,
                             check.keyCount};
                    return check;
                }
                TIndexNode node;
                ReadNode(e.page, node);
                if (k == 0)
                    levelIsLeaf = node.leaf;
                else if (node.leaf != levelIsLeaf) {
                    check = {false, "index leaves at different depths", e.page, check.keyCount};
                    return check;
                }
                const uint32_t wantLeft = k == 0 ? kNoPage : level[k - 1].page;
                const uint32_t wantRight = k + 1 == level.size() ? kNoPage : level[k + 1].page;
                if (node.left != wantLeft || node.right != wantRight) {
                    check = {false, "index sibling links do not match the tree", e.page,
                             check.keyCount};
                    return check;
                }
                if (node.Count() == 0) {
                    if (e.page != mRoot) {
                        check = {false, "an index node other than the root is empty", e.page,
                                 check.keyCount};
                        return check;
                    }
                    continue;
                }
                const size_t last = node.Count() - 1;
                if (e.page != mRoot &&
                    (node.Key(last, kl) != e.key || node.recNos[last] != e.recNo)) {
                    check = {false, "an interior key does not match the last key of its child",
                             e.page, check.keyCount};
                    return check;
                }
                for (size_t i = 0; i < node.Count(); ++i) {
                    const std::string_view key = node.Key(i, kl);
                    const uint32_t recNo = node.recNos[i];
                    if (node.leaf) {
                        if (havePrevious) {
                            const int c = key.compare(previousKey);
                            if (c < 0 || (c == 0 && recNo <= previousRecNo)) {
                                check = {false, "index keys out of order", e.page, check.keyCount};
                                return check;
                            }
                            if (c == 0 && mInfo.unique) {
                                check = {false, "a unique index holds a key twice", e.page,
                                         check.keyCount};
                                return check;
                            }
                        }
                        previousKey.assign(key);
                        previousRecNo = recNo;
                        havePrevious = true;
                        ++check.keyCount;
                        if (visit)
                            visit(key, recNo);
                    } else {
                        if (i > 0) {
                            const int c = key.compare(node.Key(i - 1, kl));
                            if (c < 0 || (c == 0 && recNo <= node.recNos[i - 1])) {
                                check = {false, "interior index keys out of order", e.page,
                                         check.keyCount};
                                return check;
                            }
                        }
                        next.push_back({node.children[i], std::string(key), recNo});
                    }
                }
            }
            level = std::move(next);
        }
    } catch (const TXbaseError& error) {
        check.ok = false;
        check.problem = error.Message();
        check.offset = error.Offset() >= 0 ? error.Offset() : current;
    }
    return check;
}

} // namespace qm::xbase
