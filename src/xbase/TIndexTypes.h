#pragma once

// Values shared by the index classes: what a tag is (its definition as stored in the file), the
// progress callback and the verification report.

#include "xbase/TKeyEncoding.h"

#include <cstdint>
#include <functional>
#include <string>

namespace qm::xbase {

struct TTagInfo {
    std::string name; // CDX: upper case, 1 to 10 characters, letters, digits and '_'
                      // (first not a digit); IDX: empty
    std::string
        keyExpression; // as the user wrote it; at most 510 bytes together with forExpression
    std::string forExpression;              // empty when the tag has no condition
    TKeyType keyType = TKeyType::Character; // decides the trailing byte that leaves compress:
                                            // blank for Character, NUL for the others
    uint16_t keyLength = 0;  // 1 to 240 bytes; every key handed to the index has this length
    bool descending = false; // stored for other software; keys are always kept ascending and the
                             // order layer walks a descending tag from its last key backwards
    bool unique = false;     // only the first record of each key is kept
};

// Called with the percent done, 0 to 100, never decreasing; at most about once per percent.
using TIndexProgress = std::function<void(int percent)>;

// What a verification found. ok, or the first problem with the byte offset of the page.
struct TIndexCheck {
    bool ok = true;
    std::string problem;   // a sentence naming what is wrong, e.g. "keys out of order in a leaf"
    int64_t offset = -1;   // byte offset of the page concerned, -1 when none
    uint64_t keyCount = 0; // keys seen until the problem or in all
};

} // namespace qm::xbase
