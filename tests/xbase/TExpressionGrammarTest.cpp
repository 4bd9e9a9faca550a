// Keeps docs/formats/expression-grammar.md and the compiler together: every production of the
// page's EBNF has examples here that must compile (with the type they are listed with), and every
// production named here must still be on the page.

#include "xbase/TExpression.h"

#include "xbase/TXbaseError.h"

#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace qm::xbase;

namespace {

struct TExample {
    std::string text;
    TValueType type;
};

const std::map<std::string, std::vector<TExample>>& Examples()
{
    static const std::map<std::string, std::vector<TExample>> examples = {
        {"expression", {{"LNAME", TValueType::Character}}},
        {"or-expr", {{"ISDEL .or. !ISDEL or ISDEL", TValueType::Logical}}},
        {"and-expr", {{"ISDEL .and. ISDEL AND ISDEL", TValueType::Logical}}},
        {"not-expr",
         {{"!.NOT. not ISDEL", TValueType::Logical}, {"! LNAME = 'A'", TValueType::Logical}}},
        {"relation", {{"LNAME >= 'M'", TValueType::Logical}, {"AMOUNT", TValueType::Numeric}}},
        {"sum",
         {{"LNAME + FNAME - LNAME", TValueType::Character},
          {"AMOUNT - 1 + 2", TValueType::Numeric}}},
        {"product", {{"AMOUNT * 2 / 4", TValueType::Numeric}}},
        {"signed", {{"-+-AMOUNT", TValueType::Numeric}}},
        {"primary",
         {{"12", TValueType::Numeric},
          {"'x'", TValueType::Character},
          {".T.", TValueType::Logical},
          {"RECNO()", TValueType::Numeric},
          {"BORN", TValueType::Date},
          {"(ISDEL)", TValueType::Logical}}},
        {"call",
         {{"DELETED()", TValueType::Logical},
          {"SUBSTR(LNAME, 2)", TValueType::Character},
          {"IIF(ISDEL, 1, 2)", TValueType::Numeric}}},
        {"field", {{"lname", TValueType::Character}, {"_NOTE1", TValueType::Character}}},
        {"name", {{"Lname", TValueType::Character}, {"upper(_note1)", TValueType::Character}}},
        {"number",
         {{"42", TValueType::Numeric}, {"3.25", TValueType::Numeric}, {".5", TValueType::Numeric}}},
        {"text",
         {{"\"a'b\"", TValueType::Character},
          {"'a\"b'", TValueType::Character},
          {"[it's \"x\"]", TValueType::Character}}},
        {"logical", {{".t. .or. .F. .or. .y. .or. .N.", TValueType::Logical}}},
        {"or-op", {{"ISDEL .OR. ISDEL Or ISDEL", TValueType::Logical}}},
        {"and-op", {{"ISDEL .And. ISDEL and ISDEL", TValueType::Logical}}},
        {"not-op",
         {{".NOT. ISDEL", TValueType::Logical},
          {"Not ISDEL", TValueType::Logical},
          {"!ISDEL", TValueType::Logical}}},
        {"rel-op",
         {{"LNAME = 'a'", TValueType::Logical},
          {"LNAME == 'a'", TValueType::Logical},
          {"LNAME <> 'a'", TValueType::Logical},
          {"LNAME # 'a'", TValueType::Logical},
          {"LNAME != 'a'", TValueType::Logical},
          {"LNAME < 'a'", TValueType::Logical},
          {"LNAME <= 'a'", TValueType::Logical},
          {"LNAME > 'a'", TValueType::Logical},
          {"LNAME >= 'a'", TValueType::Logical},
          {"'a' $ LNAME", TValueType::Logical}}},
    };
    return examples;
}

std::set<std::string> ProductionsOnThePage()
{
    const std::string path = std::string(QM_SOURCE_DIR) + "/docs/formats/expression-grammar.md";
    std::ifstream in(path);
    EXPECT_TRUE(in) << "cannot read " << path;
    std::stringstream all;
    all << in.rdbuf();
    const std::string page = all.str();
    const size_t start = page.find("```ebnf");
    const size_t end = page.find("```", start + 7);
    EXPECT_NE(start, std::string::npos);
    const std::string grammar = page.substr(start, end - start);
    // A production starts a line: its lower-case name, blanks, "=".
    std::set<std::string> names;
    std::istringstream lines(grammar);
    for (std::string line; std::getline(lines, line);) {
        const size_t nameEnd = line.find_first_not_of("abcdefghijklmnopqrstuvwxyz-");
        if (nameEnd == 0 || nameEnd == std::string::npos)
            continue;
        const size_t equals = line.find_first_not_of(' ', nameEnd);
        if (equals != nameEnd && equals != std::string::npos && line[equals] == '=')
            names.insert(line.substr(0, nameEnd));
    }
    return names;
}

} // namespace

TEST(TExpressionGrammar, EveryProductionOnThePageHasCompilingExamples)
{
    const TFieldList fields = {
        {"LNAME", TFieldType::Character, 20, 0, 1}, {"FNAME", TFieldType::Character, 12, 0, 21},
        {"ISDEL", TFieldType::Logical, 1, 0, 33},   {"AMOUNT", TFieldType::Numeric, 8, 2, 34},
        {"BORN", TFieldType::Date, 8, 0, 42},       {"_NOTE1", TFieldType::Character, 5, 0, 50}};
    const std::set<std::string> productions = ProductionsOnThePage();
    EXPECT_GE(productions.size(), 15u);
    for (const std::string& p : productions) {
        const auto found = Examples().find(p);
        if (found == Examples().end()) {
            ADD_FAILURE() << "production " << p << " has no example";
            continue;
        }
        for (const TExample& e : found->second) {
            try {
                EXPECT_EQ(TExpression::Compile(e.text, fields).Type(), e.type)
                    << p << ": " << e.text;
            } catch (const TXbaseError& err) {
                ADD_FAILURE() << p << ": " << e.text << ": " << err.what();
            }
        }
    }
    for (const auto& [name, examples] : Examples())
        EXPECT_TRUE(productions.count(name))
            << "example for " << name << ", which is not on the page";
}
