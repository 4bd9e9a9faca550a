#include "xbase/TExprParser.h"

#include "xbase/TXbaseError.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace qm::xbase {

namespace {

const char* TypeName(TValueType t)
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

enum class TFunction {
    Upper,
    Lower,
    Deleted,
    Empty,
    Left,
    Right,
    Substr,
    Trim,
    RTrim,
    LTrim,
    AllTrim,
    Len,
    Str,
    Val,
    Dtos,
    Iif,
    RecNo
};

struct TFunctionInfo {
    const char* name;
    TFunction id;
    int minArgs;
    int maxArgs;
};

constexpr TFunctionInfo kFunctions[] = {
    {"UPPER", TFunction::Upper, 1, 1},     {"LOWER", TFunction::Lower, 1, 1},
    {"DELETED", TFunction::Deleted, 0, 0}, {"EMPTY", TFunction::Empty, 1, 1},
    {"LEFT", TFunction::Left, 2, 2},       {"RIGHT", TFunction::Right, 2, 2},
    {"SUBSTR", TFunction::Substr, 2, 3},   {"TRIM", TFunction::Trim, 1, 1},
    {"RTRIM", TFunction::RTrim, 1, 1},     {"LTRIM", TFunction::LTrim, 1, 1},
    {"ALLTRIM", TFunction::AllTrim, 1, 1}, {"LEN", TFunction::Len, 1, 1},
    {"STR", TFunction::Str, 1, 3},         {"VAL", TFunction::Val, 1, 1},
    {"DTOS", TFunction::Dtos, 1, 1},       {"IIF", TFunction::Iif, 3, 3},
    {"RECNO", TFunction::RecNo, 0, 0},
};

std::string UpperAscii(std::string_view s)
{
    std::string u(s);
    for (char& c : u)
        if (c >= 'a' && c <= 'z')
            c = char(c - 32);
    return u;
}

// A function by its full name or, as xBase allows, by the first four or more letters of its name.
const TFunctionInfo* FindFunction(std::string_view name)
{
    const std::string u = UpperAscii(name);
    for (const auto& f : kFunctions)
        if (u == f.name)
            return &f;
    if (u.size() < 4)
        return nullptr;
    const TFunctionInfo* found = nullptr;
    for (const auto& f : kFunctions) {
        if (std::string_view(f.name).substr(0, u.size()) == u) {
            if (found)
                return nullptr; // ambiguous
            found = &f;
        }
    }
    return found;
}

bool IsMemoType(TFieldType t)
{
    return t == TFieldType::Memo || t == TFieldType::General || t == TFieldType::Picture ||
           t == TFieldType::Blob;
}

} // namespace

TExprParser::TExprParser(std::string_view text, const TFieldList& fields)
    : mText(text), mFields(fields), mLexer(text),
      mProgram(std::make_unique<TExpression::TProgram>())
{
    mProgram->text = std::string(text);
}

std::unique_ptr<TExpression::TProgram> TExprParser::Parse()
{
    Advance();
    ParseOr();
    if (mToken.kind != TTokenKind::End)
        Unexpected("an operator or the end of the expression");
    // Compaction would move the root; unreferenced nodes (STR's constant arguments) are harmless.
    mProgram->scratch.assign(mProgram->scratch.size(), ' ');
    return std::move(mProgram);
}

void TExprParser::Advance()
{
    mToken = mLexer.Next();
}

void TExprParser::Expect(TTokenKind kind)
{
    if (mToken.kind != kind)
        Unexpected(TExprLexer::Describe(kind));
    Advance();
}

void TExprParser::SyntaxError(int pos, const std::string& what) const
{
    throw TXbaseError(TErrorKind::Syntax,
                      "Syntax error at position " + std::to_string(pos) + ": " + what);
}

void TExprParser::TypeError(int pos, const std::string& what) const
{
    throw TXbaseError(TErrorKind::Type,
                      "Type error at position " + std::to_string(pos) + ": " + what);
}

void TExprParser::Unexpected(const std::string& expected) const
{
    std::string found = TExprLexer::Describe(mToken.kind);
    if (mToken.kind == TTokenKind::Name || mToken.kind == TTokenKind::Number)
        found += " (" + std::string(mToken.text) + ")";
    SyntaxError(mToken.pos, "expected " + expected + ", found " + found);
}

int TExprParser::Add(TExprNode node)
{
    int depth = 0;
    for (int child : {node.a, node.b, node.c})
        if (child >= 0)
            depth = std::max(depth, Node(child).depth);
    node.depth = depth + 1;
    if (node.depth > kMaxDepth)
        SyntaxError(node.pos, "the expression is nested too deeply");
    const bool builds = node.op == TExprOp::Upper || node.op == TExprOp::Lower ||
                        node.op == TExprOp::Concat || node.op == TExprOp::ConcatMove ||
                        node.op == TExprOp::Str;
    if (builds) {
        std::string& scratch = mProgram->scratch;
        if (scratch.size() + node.width > kMaxScratch)
            SyntaxError(node.pos, "the expression's text values are too long to evaluate");
        node.buf = uint32_t(scratch.size());
        scratch.resize(scratch.size() + node.width);
    }
    mProgram->nodes.push_back(node);
    return int(mProgram->nodes.size()) - 1;
}

void TExprParser::RequireType(int node, TValueType type, const std::string& user)
{
    const TExprNode& n = Node(node);
    if (n.type != type)
        TypeError(n.pos, user + " expects " + TypeName(type) + ", found " + TypeName(n.type));
}

int TExprParser::RequireConstant(int node, const std::string& user, int low, int high)
{
    RequireType(node, TValueType::Numeric, user);
    const TExprNode& n = Node(node);
    if (n.op != TExprOp::NumConst || n.num != std::floor(n.num) || n.num < low || n.num > high)
        TypeError(n.pos, user + " expects a whole number from " + std::to_string(low) + " to " +
                             std::to_string(high) + " written as a number");
    return int(n.num);
}

int TExprParser::ParseOr()
{
    int left = ParseAnd();
    while (mToken.kind == TTokenKind::Or) {
        const int pos = mToken.pos;
        Advance();
        const int right = ParseAnd();
        RequireType(left, TValueType::Logical, ".OR.");
        RequireType(right, TValueType::Logical, ".OR.");
        left = Add({.op = TExprOp::Or,
                    .type = TValueType::Logical,
                    .a = left,
                    .b = right,
                    .width = 1,
                    .pos = pos});
    }
    return left;
}

int TExprParser::ParseAnd()
{
    int left = ParseNot();
    while (mToken.kind == TTokenKind::And) {
        const int pos = mToken.pos;
        Advance();
        const int right = ParseNot();
        RequireType(left, TValueType::Logical, ".AND.");
        RequireType(right, TValueType::Logical, ".AND.");
        left = Add({.op = TExprOp::And,
                    .type = TValueType::Logical,
                    .a = left,
                    .b = right,
                    .width = 1,
                    .pos = pos});
    }
    return left;
}

int TExprParser::ParseNot()
{
    std::vector<int> nots; // positions; iterative so that "!!!!..." cannot exhaust the stack
    while (mToken.kind == TTokenKind::Not) {
        nots.push_back(mToken.pos);
        Advance();
    }
    int operand = ParseRelation();
    for (auto it = nots.rbegin(); it != nots.rend(); ++it) {
        RequireType(operand, TValueType::Logical, ".NOT.");
        operand = Add({.op = TExprOp::Not,
                       .type = TValueType::Logical,
                       .a = operand,
                       .width = 1,
                       .pos = *it});
    }
    return operand;
}

int TExprParser::ParseRelation()
{
    const int left = ParseSum();
    TRelation rel;
    switch (mToken.kind) {
    case TTokenKind::Equal:
        rel = TRelation::Equal;
        break;
    case TTokenKind::ExactEqual:
        rel = TRelation::ExactEqual;
        break;
    case TTokenKind::NotEqual:
        rel = TRelation::NotEqual;
        break;
    case TTokenKind::Less:
        rel = TRelation::Less;
        break;
    case TTokenKind::LessEqual:
        rel = TRelation::LessEqual;
        break;
    case TTokenKind::Greater:
        rel = TRelation::Greater;
        break;
    case TTokenKind::GreaterEqual:
        rel = TRelation::GreaterEqual;
        break;
    case TTokenKind::Contains: {
        const int pos = mToken.pos;
        Advance();
        const int right = ParseSum();
        RequireType(left, TValueType::Character, "'$'");
        RequireType(right, TValueType::Character, "'$'");
        return Add({.op = TExprOp::Contains,
                    .type = TValueType::Logical,
                    .a = left,
                    .b = right,
                    .width = 1,
                    .pos = pos});
    }
    default:
        return left;
    }
    const std::string op = "'" + std::string(mToken.text) + "'";
    const int pos = mToken.pos;
    Advance();
    const int right = ParseSum();
    const TValueType type = Node(left).type;
    if (Node(right).type != type)
        TypeError(Node(right).pos,
                  op + " compares " + TypeName(type) + " with " + TypeName(Node(right).type));
    return Add({.op = TExprOp::Compare,
                .type = TValueType::Logical,
                .operandType = type,
                .rel = rel,
                .a = left,
                .b = right,
                .width = 1,
                .pos = pos});
}

int TExprParser::ParseSum()
{
    int left = ParseProduct();
    while (mToken.kind == TTokenKind::Plus || mToken.kind == TTokenKind::Minus) {
        const bool plus = mToken.kind == TTokenKind::Plus;
        const int pos = mToken.pos;
        Advance();
        const int right = ParseProduct();
        const TValueType lt = Node(left).type;
        const TValueType rt = Node(right).type;
        if (lt == TValueType::Character && rt == TValueType::Character) {
            left = Add({.op = plus ? TExprOp::Concat : TExprOp::ConcatMove,
                        .type = TValueType::Character,
                        .a = left,
                        .b = right,
                        .width = Node(left).width + Node(right).width,
                        .pos = pos});
        } else if (lt == TValueType::Numeric && rt == TValueType::Numeric) {
            left = Add({.op = plus ? TExprOp::Add : TExprOp::Sub,
                        .type = TValueType::Numeric,
                        .a = left,
                        .b = right,
                        .width = 8,
                        .pos = pos});
        } else {
            TypeError(pos, std::string(plus ? "'+'" : "'-'") +
                               " expects two text values or two numbers, found " + TypeName(lt) +
                               " and " + TypeName(rt));
        }
    }
    return left;
}

int TExprParser::ParseProduct()
{
    int left = ParseUnary();
    while (mToken.kind == TTokenKind::Star || mToken.kind == TTokenKind::Slash) {
        const bool times = mToken.kind == TTokenKind::Star;
        const std::string op = times ? "'*'" : "'/'";
        const int pos = mToken.pos;
        Advance();
        const int right = ParseUnary();
        RequireType(left, TValueType::Numeric, op);
        RequireType(right, TValueType::Numeric, op);
        left = Add({.op = times ? TExprOp::Mul : TExprOp::Div,
                    .type = TValueType::Numeric,
                    .a = left,
                    .b = right,
                    .width = 8,
                    .pos = pos});
    }
    return left;
}

int TExprParser::ParseUnary()
{
    bool negative = false;
    int signPos = 0;
    while (mToken.kind == TTokenKind::Minus || mToken.kind == TTokenKind::Plus) {
        if (signPos == 0)
            signPos = mToken.pos;
        negative = negative != (mToken.kind == TTokenKind::Minus);
        Advance();
    }
    const int operand = ParsePrimary();
    if (signPos == 0)
        return operand;
    RequireType(operand, TValueType::Numeric, "a sign");
    if (!negative)
        return operand;
    TExprNode& n = mProgram->nodes[size_t(operand)];
    if (n.op == TExprOp::NumConst) { // fold, so that STR(x, 10, -1) reports a constant out of range
        n.num = -n.num;
        n.pos = signPos;
        return operand;
    }
    return Add({.op = TExprOp::Neg,
                .type = TValueType::Numeric,
                .a = operand,
                .width = 8,
                .pos = signPos});
}

int TExprParser::ParsePrimary()
{
    const TToken t = mToken;
    switch (t.kind) {
    case TTokenKind::Number: {
        double v = 0;
        const auto [end, ec] = std::from_chars(t.text.data(), t.text.data() + t.text.size(), v);
        if (ec != std::errc() || end != t.text.data() + t.text.size())
            SyntaxError(t.pos, "the number " + std::string(t.text) + " is out of range");
        Advance();
        return Add({.op = TExprOp::NumConst,
                    .type = TValueType::Numeric,
                    .width = 8,
                    .num = v,
                    .pos = t.pos});
    }
    case TTokenKind::String: {
        const uint32_t off = uint32_t(mProgram->pool.size());
        mProgram->pool.append(t.text);
        Advance();
        return Add({.op = TExprOp::CharConst,
                    .type = TValueType::Character,
                    .width = uint32_t(t.text.size()),
                    .off = off,
                    .len = uint32_t(t.text.size()),
                    .pos = t.pos});
    }
    case TTokenKind::Logical:
        Advance();
        return Add({.op = TExprOp::LogConst,
                    .type = TValueType::Logical,
                    .width = 1,
                    .num = t.text == "T" ? 1.0 : 0.0,
                    .pos = t.pos});
    case TTokenKind::LParen: {
        if (++mNesting > kMaxNesting)
            SyntaxError(t.pos, "the expression is nested too deeply");
        Advance();
        const int inner = ParseOr();
        Expect(TTokenKind::RParen);
        --mNesting;
        return inner;
    }
    case TTokenKind::Name:
        Advance();
        return mToken.kind == TTokenKind::LParen ? ParseCall(t) : ParseField(t);
    default:
        Unexpected("a value (a field, a literal, a function or '(')");
    }
}

int TExprParser::ParseField(const TToken& name)
{
    const int index = FindField(mFields, name.text);
    if (index < 0) {
        if (FindFunction(name.text))
            SyntaxError(name.pos,
                        std::string(name.text) +
                            " is not a field; a function is written with parentheses, as " +
                            std::string(name.text) + "()");
        SyntaxError(name.pos, "unknown field " + std::string(name.text));
    }
    const TFieldInfo& f = mFields[size_t(index)];
    if (IsMemoType(f.type))
        TypeError(name.pos, "the memo field " + f.name + " can only be tested with EMPTY()");
    TExprNode n{.off = f.offset, .len = f.length, .pos = name.pos};
    switch (f.type) {
    case TFieldType::Numeric:
    case TFieldType::Float:
        n.op = TExprOp::NumField;
        n.type = TValueType::Numeric;
        break;
    case TFieldType::Integer:
    case TFieldType::Currency:
    case TFieldType::Double:
        if (f.length == (f.type == TFieldType::Integer ? 4 : 8)) {
            n.op = f.type == TFieldType::Integer    ? TExprOp::IntField
                   : f.type == TFieldType::Currency ? TExprOp::CurrencyField
                                                    : TExprOp::DoubleField;
            n.type = TValueType::Numeric;
        } else {
            n.op = TExprOp::CharField;
        }
        break;
    case TFieldType::Logical:
        n.op = TExprOp::LogField;
        n.type = TValueType::Logical;
        n.len = std::max<uint32_t>(f.length, 1);
        break;
    case TFieldType::Date:
        n.op = TExprOp::DateField;
        n.type = TValueType::Date;
        break;
    default: // character and every other type, which reads as text
        n.op = TExprOp::CharField;
        break;
    }
    n.width = n.type == TValueType::Numeric ? 8 : n.type == TValueType::Logical ? 1 : n.len;
    mProgram->minRecordLength = std::max(mProgram->minRecordLength, n.off + n.len);
    return Add(n);
}

int TExprParser::ParseCall(const TToken& name)
{
    const TFunctionInfo* fn = FindFunction(name.text);
    if (!fn)
        SyntaxError(name.pos, "unknown function " + std::string(name.text));
    if (++mNesting > kMaxNesting)
        SyntaxError(name.pos, "the expression is nested too deeply");
    const std::string user = fn->name;
    Advance(); // '('

    // EMPTY(memo) is the one use of a memo field: it tests whether the record points to a memo.
    int memoField = -1;
    if (fn->id == TFunction::Empty && mToken.kind == TTokenKind::Name) {
        TExprLexer ahead = mLexer;
        const int index = FindField(mFields, mToken.text);
        if (ahead.Next().kind == TTokenKind::RParen && index >= 0 &&
            IsMemoType(mFields[size_t(index)].type))
            memoField = index;
    }
    std::vector<int> args;
    if (memoField >= 0) {
        const TFieldInfo& f = mFields[size_t(memoField)];
        const int pos = mToken.pos;
        Advance();
        Expect(TTokenKind::RParen);
        --mNesting;
        mProgram->minRecordLength = std::max(mProgram->minRecordLength, f.offset + f.length);
        return Add({.op = TExprOp::EmptyMemo,
                    .type = TValueType::Logical,
                    .width = 1,
                    .off = f.offset,
                    .len = f.length,
                    .pos = pos});
    }
    if (mToken.kind != TTokenKind::RParen) {
        args.push_back(ParseOr());
        while (mToken.kind == TTokenKind::Comma) {
            Advance();
            args.push_back(ParseOr());
        }
    }
    if (mToken.kind != TTokenKind::RParen)
        Unexpected("',' or ')'");
    Advance();
    --mNesting;
    if (int(args.size()) < fn->minArgs || int(args.size()) > fn->maxArgs) {
        const std::string count =
            fn->minArgs == fn->maxArgs
                ? std::to_string(fn->minArgs)
                : std::to_string(fn->minArgs) + " to " + std::to_string(fn->maxArgs);
        SyntaxError(name.pos, user + " expects " + count +
                                  (fn->maxArgs == 1 ? " argument" : " arguments") + ", found " +
                                  std::to_string(args.size()));
    }

    const int pos = name.pos;
    auto width = [this](int i) { return Node(i).width; };
    switch (fn->id) {
    case TFunction::Upper:
    case TFunction::Lower:
        RequireType(args[0], TValueType::Character, user);
        return Add({.op = fn->id == TFunction::Upper ? TExprOp::Upper : TExprOp::Lower,
                    .type = TValueType::Character,
                    .a = args[0],
                    .width = width(args[0]),
                    .pos = pos});
    case TFunction::Trim:
    case TFunction::RTrim:
    case TFunction::LTrim:
    case TFunction::AllTrim: {
        RequireType(args[0], TValueType::Character, user);
        const TExprOp op = fn->id == TFunction::LTrim     ? TExprOp::LTrim
                           : fn->id == TFunction::AllTrim ? TExprOp::AllTrim
                                                          : TExprOp::RTrim;
        return Add({.op = op,
                    .type = TValueType::Character,
                    .a = args[0],
                    .width = width(args[0]),
                    .pos = pos});
    }
    case TFunction::Left:
    case TFunction::Right: {
        RequireType(args[0], TValueType::Character, user);
        RequireType(args[1], TValueType::Numeric, user);
        uint32_t w = width(args[0]);
        if (Node(args[1]).op == TExprOp::NumConst)
            w = uint32_t(std::clamp(Node(args[1]).num, 0.0, double(w)));
        return Add({.op = fn->id == TFunction::Left ? TExprOp::Left : TExprOp::Right,
                    .type = TValueType::Character,
                    .a = args[0],
                    .b = args[1],
                    .width = w,
                    .pos = pos});
    }
    case TFunction::Substr: {
        RequireType(args[0], TValueType::Character, user);
        RequireType(args[1], TValueType::Numeric, user);
        uint32_t w = width(args[0]);
        if (Node(args[1]).op == TExprOp::NumConst && Node(args[1]).num > 1)
            w -= uint32_t(std::clamp(Node(args[1]).num - 1, 0.0, double(w)));
        int count = -1;
        if (args.size() == 3) {
            RequireType(args[2], TValueType::Numeric, user);
            count = args[2];
            if (Node(count).op == TExprOp::NumConst)
                w = uint32_t(std::clamp(Node(count).num, 0.0, double(w)));
        }
        return Add({.op = TExprOp::Substr,
                    .type = TValueType::Character,
                    .a = args[0],
                    .b = args[1],
                    .c = count,
                    .width = w,
                    .pos = pos});
    }
    case TFunction::Len:
        RequireType(args[0], TValueType::Character, user);
        return Add({.op = TExprOp::Len,
                    .type = TValueType::Numeric,
                    .a = args[0],
                    .width = 8,
                    .pos = pos});
    case TFunction::Val:
        RequireType(args[0], TValueType::Character, user);
        return Add({.op = TExprOp::Val,
                    .type = TValueType::Numeric,
                    .a = args[0],
                    .width = 8,
                    .pos = pos});
    case TFunction::Str: {
        RequireType(args[0], TValueType::Numeric, user);
        const int w = args.size() > 1 ? RequireConstant(args[1], "the length of STR", 1, 255) : 10;
        const int dec =
            args.size() > 2 ? RequireConstant(args[2], "the decimals of STR", 0, 18) : 0;
        return Add({.op = TExprOp::Str,
                    .type = TValueType::Character,
                    .a = args[0],
                    .width = uint32_t(w),
                    .len = uint32_t(dec),
                    .num = double(w),
                    .pos = pos});
    }
    case TFunction::Dtos:
        RequireType(args[0], TValueType::Date, user);
        return Add({.op = TExprOp::Dtos,
                    .type = TValueType::Character,
                    .a = args[0],
                    .width = width(args[0]),
                    .pos = pos});
    case TFunction::Iif: {
        RequireType(args[0], TValueType::Logical, user);
        const TValueType t = Node(args[1]).type;
        if (Node(args[2]).type != t)
            TypeError(Node(args[2]).pos, "IIF expects both results of one type, found " +
                                             std::string(TypeName(t)) + " and " +
                                             TypeName(Node(args[2]).type));
        return Add({.op = TExprOp::Iif,
                    .type = t,
                    .a = args[0],
                    .b = args[1],
                    .c = args[2],
                    .width = std::max(width(args[1]), width(args[2])),
                    .pos = pos});
    }
    case TFunction::Empty: {
        const TValueType t = Node(args[0]).type;
        const TExprOp op = t == TValueType::Numeric   ? TExprOp::EmptyNum
                           : t == TValueType::Logical ? TExprOp::EmptyLog
                                                      : TExprOp::EmptyChar;
        return Add({.op = op, .type = TValueType::Logical, .a = args[0], .width = 1, .pos = pos});
    }
    case TFunction::Deleted:
        return Add({.op = TExprOp::Deleted, .type = TValueType::Logical, .width = 1, .pos = pos});
    case TFunction::RecNo:
        return Add({.op = TExprOp::RecNo, .type = TValueType::Numeric, .width = 8, .pos = pos});
    }
    SyntaxError(pos, "unknown function " + std::string(name.text));
}

} // namespace qm::xbase
