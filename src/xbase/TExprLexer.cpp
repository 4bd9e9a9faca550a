#include "xbase/TExprLexer.h"

#include "xbase/TXbaseError.h"

#include <string>

namespace qm::xbase {

namespace {

bool IsNameStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
bool IsNameChar(char c)
{
    return IsNameStart(c) || IsDigit(c);
}

bool SameWord(std::string_view word, std::string_view upper)
{
    if (word.size() != upper.size())
        return false;
    for (size_t i = 0; i < word.size(); ++i) {
        char c = word[i];
        if (c >= 'a' && c <= 'z')
            c = char(c - 32);
        if (c != upper[i])
            return false;
    }
    return true;
}

[[noreturn]] void Fail(int pos, const std::string& what)
{
    throw TXbaseError(TErrorKind::Syntax,
                      "Syntax error at position " + std::to_string(pos) + ": " + what);
}

} // namespace

TToken TExprLexer::Next()
{
    while (mAt < mText.size() &&
           (mText[mAt] == ' ' || mText[mAt] == '\t' || mText[mAt] == '\r' || mText[mAt] == '\n'))
        ++mAt;
    TToken t;
    t.pos = int(mAt) + 1;
    if (mAt >= mText.size())
        return t;

    const size_t start = mAt;
    const char c = mText[mAt];
    auto single = [&](TTokenKind kind, size_t length) {
        t.kind = kind;
        t.text = mText.substr(start, length);
        mAt += length;
        return t;
    };
    const char next = mAt + 1 < mText.size() ? mText[mAt + 1] : '\0';

    if (IsNameStart(c)) {
        size_t end = mAt;
        while (end < mText.size() && IsNameChar(mText[end]))
            ++end;
        t.text = mText.substr(start, end - start);
        mAt = end;
        t.kind = SameWord(t.text, "AND")   ? TTokenKind::And
                 : SameWord(t.text, "OR")  ? TTokenKind::Or
                 : SameWord(t.text, "NOT") ? TTokenKind::Not
                                           : TTokenKind::Name;
        return t;
    }
    if (IsDigit(c) || (c == '.' && IsDigit(next))) {
        size_t end = mAt;
        while (end < mText.size() && IsDigit(mText[end]))
            ++end;
        // A full stop belongs to the number unless a letter follows it: "1.and." is 1 .AND.,
        // while "1.5" and "1." are numbers.
        if (end < mText.size() && mText[end] == '.' &&
            !(end + 1 < mText.size() && IsNameStart(mText[end + 1]))) {
            ++end;
            while (end < mText.size() && IsDigit(mText[end]))
                ++end;
        }
        return single(TTokenKind::Number, end - start);
    }
    if (c == '.') {
        size_t end = mAt + 1;
        while (end < mText.size() && IsNameStart(mText[end]))
            ++end;
        const std::string_view word = mText.substr(start + 1, end - start - 1);
        if (end >= mText.size() || mText[end] != '.' || word.empty())
            Fail(t.pos, "expected .AND., .OR., .NOT., .T. or .F. after the full stop");
        mAt = end + 1;
        t.text = mText.substr(start, end + 1 - start);
        if (SameWord(word, "AND"))
            t.kind = TTokenKind::And;
        else if (SameWord(word, "OR"))
            t.kind = TTokenKind::Or;
        else if (SameWord(word, "NOT"))
            t.kind = TTokenKind::Not;
        else if (SameWord(word, "T") || SameWord(word, "Y")) {
            t.kind = TTokenKind::Logical;
            t.text = "T";
        } else if (SameWord(word, "F") || SameWord(word, "N")) {
            t.kind = TTokenKind::Logical;
            t.text = "F";
        } else
            Fail(t.pos, "expected .AND., .OR., .NOT., .T. or .F., found " + std::string(t.text));
        return t;
    }
    if (c == '"' || c == '\'' || c == '[') {
        const char close = c == '[' ? ']' : c;
        const size_t end = mText.find(close, mAt + 1);
        if (end == std::string_view::npos)
            Fail(t.pos,
                 std::string("expected the closing ") + close + " of the text that starts here");
        t.kind = TTokenKind::String;
        t.text = mText.substr(start + 1, end - start - 1);
        mAt = end + 1;
        return t;
    }
    switch (c) {
    case '(':
        return single(TTokenKind::LParen, 1);
    case ')':
        return single(TTokenKind::RParen, 1);
    case ',':
        return single(TTokenKind::Comma, 1);
    case '+':
        return single(TTokenKind::Plus, 1);
    case '-':
        return single(TTokenKind::Minus, 1);
    case '*':
        return single(TTokenKind::Star, 1);
    case '/':
        return single(TTokenKind::Slash, 1);
    case '$':
        return single(TTokenKind::Contains, 1);
    case '#':
        return single(TTokenKind::NotEqual, 1);
    case '=':
        return next == '=' ? single(TTokenKind::ExactEqual, 2) : single(TTokenKind::Equal, 1);
    case '!':
        return next == '=' ? single(TTokenKind::NotEqual, 2) : single(TTokenKind::Not, 1);
    case '<':
        if (next == '>')
            return single(TTokenKind::NotEqual, 2);
        return next == '=' ? single(TTokenKind::LessEqual, 2) : single(TTokenKind::Less, 1);
    case '>':
        return next == '=' ? single(TTokenKind::GreaterEqual, 2) : single(TTokenKind::Greater, 1);
    default:
        break;
    }
    const unsigned char u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7F)
        Fail(t.pos, std::string("unexpected character '") + c + "'");
    char hex[8];
    static const char kDigits[] = "0123456789ABCDEF";
    hex[0] = kDigits[u >> 4];
    hex[1] = kDigits[u & 15];
    hex[2] = '\0';
    Fail(t.pos, std::string("unexpected character 0x") + hex + " outside a text literal");
}

const char* TExprLexer::Describe(TTokenKind kind)
{
    switch (kind) {
    case TTokenKind::End:
        return "the end of the expression";
    case TTokenKind::Name:
        return "a name";
    case TTokenKind::Number:
        return "a number";
    case TTokenKind::String:
        return "a text literal";
    case TTokenKind::Logical:
        return "a logical literal";
    case TTokenKind::LParen:
        return "'('";
    case TTokenKind::RParen:
        return "')'";
    case TTokenKind::Comma:
        return "','";
    case TTokenKind::Plus:
        return "'+'";
    case TTokenKind::Minus:
        return "'-'";
    case TTokenKind::Star:
        return "'*'";
    case TTokenKind::Slash:
        return "'/'";
    case TTokenKind::Equal:
        return "'='";
    case TTokenKind::ExactEqual:
        return "'=='";
    case TTokenKind::NotEqual:
        return "'<>'";
    case TTokenKind::Less:
        return "'<'";
    case TTokenKind::LessEqual:
        return "'<='";
    case TTokenKind::Greater:
        return "'>'";
    case TTokenKind::GreaterEqual:
        return "'>='";
    case TTokenKind::Contains:
        return "'$'";
    case TTokenKind::And:
        return ".AND.";
    case TTokenKind::Or:
        return ".OR.";
    case TTokenKind::Not:
        return ".NOT.";
    }
    return "a token";
}

} // namespace qm::xbase
