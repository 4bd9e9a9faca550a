// Feeds arbitrary bytes to the index readers as a compound index and as a single-key index: open,
// walk every tag both ways, seek, verify and change a key. Any TXbaseError is a correct answer;
// a crash, a hang, a sanitizer report or a huge allocation is a bug.

#include "xbase/TCompoundIndex.h"
#include "xbase/TIndexCursor.h"
#include "xbase/TSingleIndex.h"
#include "xbase/TXbaseError.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace qm::xbase;

namespace {

void Exercise(TIndexTag& tag)
{
    tag.Verify();
    TIndexCursor c(tag);
    int steps = 0;
    for (bool ok = c.First(); ok && steps < 100000; ok = c.Next())
        ++steps;
    for (bool ok = c.Last(); ok && steps < 200000; ok = c.Prev())
        ++steps;
    c.Seek("A", true);
    c.SeekLast("M", true);
    const std::string key(tag.KeyLength(), 'Q');
    tag.Insert(key, 5);
    tag.Remove(key, 5);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    try {
        auto index = TCompoundIndex::Open(std::make_unique<TMemoryIndexStorage>("fuzz.cdx", bytes));
        for (int t = 1; t <= index->TagCount() && t <= 8; ++t)
            Exercise(index->Tag(t));
        index->Verify();
        index->Flush();
    } catch (const TXbaseError&) {
    }
    try {
        auto index = TSingleIndex::Open(std::make_unique<TMemoryIndexStorage>("fuzz.idx", bytes));
        Exercise(index->Tag());
        index->Flush();
    } catch (const TXbaseError&) {
    }
    return 0;
}
