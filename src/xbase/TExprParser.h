#pragma once

// Recursive-descent parser that type-checks an expression and builds its compiled form. The
// grammar it follows is docs/formats/expression-grammar.md; one method per production.

#include "xbase/TExprLexer.h"
#include "xbase/TExprProgram.h"

#include <memory>
#include <string>

namespace qm::xbase {

class TExprParser {
public:
    // Limits that keep hostile text from exhausting the stack or memory.
    static constexpr int kMaxNesting = 100; // parentheses and function calls inside each other
    static constexpr int kMaxDepth = 1000;  // height of the compiled tree
    static constexpr uint32_t kMaxScratch = 1u << 20; // bytes of intermediate text

    TExprParser(std::string_view text, const TFieldList& fields);

    // Throws TXbaseError(Syntax or Type) naming the position and what was expected.
    std::unique_ptr<TExpression::TProgram> Parse();

private:
    int ParseOr();
    int ParseAnd();
    int ParseNot();
    int ParseRelation();
    int ParseSum();
    int ParseProduct();
    int ParseUnary();
    int ParsePrimary();
    int ParseField(const TToken& name);
    int ParseCall(const TToken& name);

    void Advance();
    void Expect(TTokenKind kind);
    int Add(TExprNode node);
    const TExprNode& Node(int i) const { return mProgram->nodes[size_t(i)]; }
    void RequireType(int node, TValueType type, const std::string& user);
    int RequireConstant(int node, const std::string& user, int low, int high);

    [[noreturn]] void SyntaxError(int pos, const std::string& what) const;
    [[noreturn]] void TypeError(int pos, const std::string& what) const;
    [[noreturn]] void Unexpected(const std::string& expected) const;

    std::string_view mText;
    const TFieldList& mFields;
    TExprLexer mLexer;
    TToken mToken;
    int mNesting = 0;
    std::unique_ptr<TExpression::TProgram> mProgram;
};

} // namespace qm::xbase
