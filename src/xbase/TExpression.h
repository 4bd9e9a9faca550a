#pragma once

// xBase expressions: key expressions of index tags, queries and the tests of bulk edits.
//
// An expression is compiled once against a table's field list and then evaluated per record.
// Evaluation allocates nothing: every intermediate character value has a fixed maximum width known
// at compile time and lives in a scratch area owned by the compiled expression. Values returned
// as string_view therefore stay valid only until the next evaluation of the same expression.
//
// The accepted language is described in docs/formats/expression-grammar.md. In short: field names
// in any letter case; literals "..." '...' [...], numbers and .T./.F.; the functions UPPER, LOWER,
// DELETED, EMPTY, LEFT, RIGHT, SUBSTR, TRIM, RTRIM, LTRIM, ALLTRIM, LEN, STR, VAL, DTOS, IIF,
// RECNO;
// "+" and "-" on character values (concatenation; "-" moves the left side's trailing blanks to
// the end) and on numbers; "*" and "/" on numbers; the comparisons = == <> # != < <= > >= and $
// (contained in); .AND. .OR. .NOT. ! and the words AND OR NOT in any case; parentheses.
//
// Character comparisons work on bytes (Windows-1252). While EngineSettings().exact is off, "=",
// "<>" and the ordering comparisons look only at as many bytes of the left side as the right side
// has ("SMITH" = "SM" holds); with it on, the shorter side is padded with blanks. "==" is always
// exact: same length, same bytes.
//
// Not thread-safe: one compiled expression is evaluated by one thread at a time (the engine runs
// on the program's one thread).

#include "xbase/TRecordLayout.h"

#include <memory>
#include <string>
#include <string_view>

namespace qm::xbase {

enum class TValueType { Character, Numeric, Logical, Date };

class TExpression {
public:
    // Compiles text against the fields of a table. Throws TXbaseError(TErrorKind::Syntax) for text
    // that does not parse or names an unknown field or function, TXbaseError(TErrorKind::Type) for
    // operands of the wrong type; the message names the 1-based position in text and what was
    // expected there.
    static TExpression Compile(std::string_view text, const TFieldList& fields);

    // The check made before an expression becomes a table's query: it must compile and give a
    // logical value (else TXbaseError(TErrorKind::Type)). Throws as Compile does.
    static void Check(std::string_view text, const TFieldList& fields);

    TExpression(TExpression&&) noexcept;
    TExpression& operator=(TExpression&&) noexcept;
    TExpression(const TExpression&) = delete;
    TExpression& operator=(const TExpression&) = delete;
    ~TExpression();

    // The text as given to Compile.
    const std::string& Text() const;
    TValueType Type() const;
    // Character: the largest number of bytes the value can have (the key length of a tag on it).
    // Numeric and date: 8 (their key length). Logical: 1.
    int Width() const;

    // Each of these expects a record at least as long as the fields the expression reads
    // (else TXbaseError(TErrorKind::Usage)) and an expression of the matching type:
    // EvalLogical a logical one, EvalNumeric a numeric one, EvalCharacter a character one or a
    // date one (then "YYYYMMDD", blanks for the empty date). A mismatch is TErrorKind::Usage.
    // "=" reads EngineSettings().exact at each evaluation.
    bool EvalLogical(const TRecordView& r) const;
    // Valid until the next evaluation of this expression and while r's bytes stay unchanged (the
    // view may point into them); its length is at most Width().
    std::string_view EvalCharacter(const TRecordView& r) const;
    double EvalNumeric(const TRecordView& r) const;

    // The index key of the record per TKeyEncoding: character values padded with blanks to
    // Width(), numbers and dates as 8 sortable bytes, logicals as 'T' or 'F'. Replaces out's
    // contents; out keeps its capacity, so reusing one string allocates nothing.
    void EvalKey(const TRecordView& r, std::string& out) const;

    struct TProgram; // the compiled form, private to the implementation

private:
    explicit TExpression(std::unique_ptr<TProgram> program);
    std::unique_ptr<TProgram> mProgram;
};

} // namespace qm::xbase
