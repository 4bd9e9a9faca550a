#pragma once

// The compiled form of an expression: a tree of typed nodes stored in one array (children before
// parents), evaluated by one switch per node. Character results are views either into the record,
// into the constant pool or into the node's own slice of the scratch area, whose size is fixed at
// compile time from the largest width each node can produce; so evaluation never allocates.
//
// Invariants (Validate checks them after every compilation):
// - every child index is smaller than its parent's index; the root is the last node;
// - a node's scratch slice [buf, buf + width) lies inside the scratch area and belongs to it alone;
// - field nodes read [off, off + len) with off + len <= minRecordLength.

#include "xbase/TExpression.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qm::xbase {

enum class TExprOp : uint8_t {
    // character results
    CharField,
    CharConst,
    Upper,
    Lower,
    Concat,     // a + b
    ConcatMove, // a - b: a's trailing blanks go to the end
    Left,       // a, n
    Right,      // a, n
    Substr,     // a, start[, count]
    RTrim,
    LTrim,
    AllTrim,
    Str, // number, width (num), decimals (len)
    Dtos,
    // date results ("YYYYMMDD")
    DateField,
    // numeric results
    NumField,
    IntField,      // 4-byte little-endian integer
    CurrencyField, // 8-byte little-endian integer in ten-thousandths
    DoubleField,   // 8-byte little-endian double
    NumConst,
    RecNo,
    Len,
    Val,
    Add,
    Sub,
    Mul,
    Div,
    Neg,
    // logical results
    LogField,
    LogConst,
    Deleted,
    EmptyChar,
    EmptyNum,
    EmptyLog,
    EmptyMemo, // the memo pointer: blank or zero means no memo
    Compare,   // relation in rel, operands of type operandType
    Contains,
    And,
    Or,
    Not,
    // any result type
    Iif,
};

enum class TRelation : uint8_t {
    Equal,
    ExactEqual,
    NotEqual,
    Less,
    LessEqual,
    Greater,
    GreaterEqual
};

struct TExprNode {
    TExprOp op = TExprOp::CharConst;
    TValueType type = TValueType::Character;
    TValueType operandType = TValueType::Character; // Compare
    TRelation rel = TRelation::Equal;               // Compare
    int32_t a = -1, b = -1, c = -1;                 // children
    uint32_t width = 0; // Character: largest result length; others: key length
    uint32_t buf = 0;   // Character nodes that build their value: offset of their scratch slice
    uint32_t off = 0;   // fields: offset in the record; CharConst: offset in the pool
    uint32_t len = 0;   // fields: length; CharConst: length; Str: decimals
    double num = 0;     // NumConst; Str: width; LogConst: 0 or 1
    int pos = 1;        // 1-based position in the text, for messages
    int depth = 1;      // height of the subtree
};

struct TExpression::TProgram {
    std::string text;
    std::vector<TExprNode> nodes;
    std::string pool;             // text of the literals
    mutable std::string scratch;  // sized once by the compiler, never resized afterwards
    uint32_t minRecordLength = 0; // the record must hold every field read

    int Root() const { return int(nodes.size()) - 1; }

    static constexpr size_t kWhole = ~size_t(0);
    // The value of character (or date) node i. With a limit, only the first limit bytes are
    // needed: the result is then a prefix of the whole value at least min(limit, whole length)
    // long, which saves work when "=" compares with a short literal.
    std::string_view Char(int i, const TRecordView& r, size_t limit = kWhole) const;
    double Num(int i, const TRecordView& r) const;
    bool Log(int i, const TRecordView& r) const;

    // Throws TXbaseError(Usage) when the record is too short for the fields read.
    void CheckRecord(const TRecordView& r) const;
    // Checks the invariants above; returns an empty string or the first violation.
    std::string Validate() const;
};

// Parses a stored numeric field or the text given to VAL: leading blanks, an optional sign,
// digits with an optional decimal point; anything after that is ignored. No digits give 0.
double ParseXbaseNumber(std::string_view text);

} // namespace qm::xbase
