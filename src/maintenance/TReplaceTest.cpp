#include "maintenance/TReplaceTest.h"

#include "xbase/TCodePage1252.h"

namespace qm::maintenance {
namespace {

std::string_view RightTrimmed(std::string_view text)
{
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

} // namespace

TReplaceTest::TReplaceTest(std::string_view find, bool exactly, bool caseSensitive)
    : mExactly(exactly), mCaseSensitive(caseSensitive)
{
    // A find text of blanks only is the empty test as well: the field holds blanks when empty.
    mEmptyTest = RightTrimmed(find).empty();
    mFind = std::string(mExactly || mEmptyTest ? RightTrimmed(find) : find);
    if (!mCaseSensitive)
        xbase::TCodePage1252::Upper(mFind.data(), mFind.data(), mFind.size());
}

bool TReplaceTest::Matches(std::string_view value) const
{
    if (mEmptyTest)
        return RightTrimmed(value).empty();
    std::string_view subject = mExactly ? RightTrimmed(value) : value;
    if (!mCaseSensitive) {
        mScratch.assign(subject);
        xbase::TCodePage1252::Upper(mScratch.data(), mScratch.data(), mScratch.size());
        subject = mScratch;
    }
    if (mExactly)
        return subject == mFind;
    return subject.find(mFind) != std::string_view::npos;
}

} // namespace qm::maintenance
