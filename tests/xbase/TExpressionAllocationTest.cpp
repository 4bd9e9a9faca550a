// Evaluation must not allocate: the whole-file passes evaluate a query for every record. This file
// replaces the global allocation functions of the test program to count allocations.

#include "xbase/TExpression.h"

#include <atomic>
#include <cstdlib>
#include <gtest/gtest.h>
#include <new>

namespace {
std::atomic<long> gAllocations{0};
}

__attribute__((noinline)) void* operator new(std::size_t size)
{
    ++gAllocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
__attribute__((noinline)) void operator delete(void* p) noexcept
{
    std::free(p);
}
__attribute__((noinline)) void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

using namespace qm::xbase;

TEST(TExpressionAllocation, EvaluatingEveryKindOfNodeAllocatesNothing)
{
    const TFieldList fields = {{"LNAME", TFieldType::Character, 10, 0, 1},
                               {"CITY", TFieldType::Character, 10, 0, 11},
                               {"AMOUNT", TFieldType::Numeric, 8, 2, 21},
                               {"ISDEL", TFieldType::Logical, 1, 0, 29},
                               {"BORN", TFieldType::Date, 8, 0, 30}};
    const std::string bytes = std::string(" Smith     Spring    ") + "   12.50" + "F" + "20240101";
    const TRecordView record{bytes, 7};
    const TExpression query = TExpression::Compile(
        "UPPER(LNAME)=\"SM\" .and. !ISDEL .and. \"SPRING\"$UPPER(CITY+LNAME) .or. "
        "LOWER(LNAME-CITY)==LEFT(CITY,3)"
        " .or. STR(AMOUNT*2,9,2)+DTOS(BORN)>TRIM(LNAME) .or. "
        "VAL(SUBSTR(CITY,2))+LEN(ALLTRIM(CITY))=RECNO()"
        " .or. IIF(EMPTY(BORN),RIGHT(LNAME,2),LTRIM(CITY))<>'x' .or. DELETED()",
        fields);
    const TExpression key = TExpression::Compile("UPPER(LNAME-CITY)", fields);
    std::string keyBytes;
    keyBytes.reserve(64);
    const long before = gAllocations;
    bool any = false;
    for (int i = 0; i < 1000; ++i) {
        any = query.EvalLogical(record) != any;
        key.EvalKey(record, keyBytes);
    }
    EXPECT_EQ(gAllocations - before, 0);
    // The counter does count: compiling allocates.
    const long compiling = gAllocations;
    TExpression::Compile("UPPER(LNAME)", fields);
    EXPECT_GT(gAllocations - compiling, 0);
    EXPECT_EQ(keyBytes, "SMITHSPRING         ");
}
