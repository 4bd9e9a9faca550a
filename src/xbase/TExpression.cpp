#include "xbase/TExpression.h"

#include "xbase/TExprParser.h"
#include "xbase/TExprProgram.h"
#include "xbase/TKeyEncoding.h"
#include "xbase/TXbaseError.h"

#include <stdexcept>

namespace qm::xbase {

namespace {

const char* TypeWord(TValueType t)
{
    switch (t) {
    case TValueType::Character:
        return "a text value";
    case TValueType::Numeric:
        return "a number";
    case TValueType::Logical:
        return "a logical value";
    case TValueType::Date:
        return "a date";
    }
    return "a value";
}

} // namespace

TExpression TExpression::Compile(std::string_view text, const TFieldList& fields)
{
    auto program = TExprParser(text, fields).Parse();
    // Cheap next to parsing, and what keeps evaluation inside its buffers: checked every time.
    if (const std::string fault = program->Validate(); !fault.empty())
        throw std::logic_error("compiled expression \"" + program->text +
                               "\" is inconsistent: " + fault);
    return TExpression(std::move(program));
}

void TExpression::Check(std::string_view text, const TFieldList& fields)
{
    const TExpression e = Compile(text, fields);
    if (e.Type() != TValueType::Logical)
        throw TXbaseError(TErrorKind::Type,
                          "Type error at position 1: a query expects a logical value, found " +
                              std::string(TypeWord(e.Type())));
}

TExpression::TExpression(std::unique_ptr<TProgram> program) : mProgram(std::move(program)) {}
TExpression::TExpression(TExpression&&) noexcept = default;
TExpression& TExpression::operator=(TExpression&&) noexcept = default;
TExpression::~TExpression() = default;

const std::string& TExpression::Text() const
{
    return mProgram->text;
}

TValueType TExpression::Type() const
{
    return mProgram->nodes.back().type;
}

int TExpression::Width() const
{
    switch (Type()) {
    case TValueType::Character:
        return int(mProgram->nodes.back().width);
    case TValueType::Numeric:
    case TValueType::Date:
        return TKeyEncoding::kNumericKeyLength;
    case TValueType::Logical:
        return 1;
    }
    return 0;
}

namespace {

[[noreturn]] void WrongType(const std::string& text, TValueType have, const char* asked)
{
    throw TXbaseError(TErrorKind::Usage, "The expression \"" + text + "\" gives " + TypeWord(have) +
                                             " and cannot be evaluated as " + asked);
}

} // namespace

bool TExpression::EvalLogical(const TRecordView& r) const
{
    const TProgram& p = *mProgram;
    if (Type() != TValueType::Logical)
        WrongType(p.text, Type(), "a logical value");
    p.CheckRecord(r);
    return p.Log(p.Root(), r);
}

std::string_view TExpression::EvalCharacter(const TRecordView& r) const
{
    const TProgram& p = *mProgram;
    if (Type() != TValueType::Character && Type() != TValueType::Date)
        WrongType(p.text, Type(), "text");
    p.CheckRecord(r);
    return p.Char(p.Root(), r);
}

double TExpression::EvalNumeric(const TRecordView& r) const
{
    const TProgram& p = *mProgram;
    if (Type() != TValueType::Numeric)
        WrongType(p.text, Type(), "a number");
    p.CheckRecord(r);
    return p.Num(p.Root(), r);
}

void TExpression::EvalKey(const TRecordView& r, std::string& out) const
{
    const TProgram& p = *mProgram;
    p.CheckRecord(r);
    switch (Type()) {
    case TValueType::Character:
        TKeyEncoding::Character(p.Char(p.Root(), r), Width(), out);
        break;
    case TValueType::Numeric:
        TKeyEncoding::Numeric(p.Num(p.Root(), r), out);
        break;
    case TValueType::Date:
        TKeyEncoding::Date(p.Char(p.Root(), r), out);
        break;
    case TValueType::Logical:
        TKeyEncoding::Logical(p.Log(p.Root(), r), out);
        break;
    }
}

} // namespace qm::xbase
