#pragma once

// Splits an expression's text into tokens for the parser. Positions are 1-based byte offsets into
// the text, as error messages show them.

#include <string_view>

namespace qm::xbase {

enum class TTokenKind {
    End,
    Name, // field or function name
    Number,
    String,  // text holds the literal without its delimiters
    Logical, // .T. .F. .Y. .N.; text is "T" or "F"
    LParen,
    RParen,
    Comma,
    Plus,
    Minus,
    Star,
    Slash,
    Equal,      // =
    ExactEqual, // ==
    NotEqual,   // <> # !=
    Less,
    LessEqual,
    Greater,
    GreaterEqual,
    Contains, // $
    And,      // .AND. or the word AND
    Or,
    Not, // .NOT. ! or the word NOT
};

struct TToken {
    TTokenKind kind = TTokenKind::End;
    std::string_view text; // the token's source text (for String: the contents)
    int pos = 1;
};

class TExprLexer {
public:
    explicit TExprLexer(std::string_view text) : mText(text) {}

    // The next token; throws TXbaseError(Syntax) for a character that starts no token, a string
    // without its closing delimiter or a malformed dotted word.
    TToken Next();

    // How a token is named in "expected ..., found ..." messages.
    static const char* Describe(TTokenKind kind);

private:
    std::string_view mText;
    size_t mAt = 0;
};

} // namespace qm::xbase
