#include "xbase/TExpression.h"

#include "xbase/TEngineSettings.h"
#include "xbase/TKeyEncoding.h"
#include "xbase/TXbaseError.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace qm::xbase;

namespace {

// A small table: its field list and records built field by field.
class TSampleTable {
public:
    TSampleTable()
    {
        Add("LNAME", TFieldType::Character, 20);
        Add("FNAME", TFieldType::Character, 12);
        Add("CITY", TFieldType::Character, 15);
        Add("STATE", TFieldType::Character, 4);
        Add("ISDEL", TFieldType::Logical, 1);
        Add("AMOUNT", TFieldType::Numeric, 10, 2);
        Add("BORN", TFieldType::Date, 8);
        Add("MEMO", TFieldType::Memo, 10);
        Add("COUNT", TFieldType::Integer, 4);
        Add("DELETED", TFieldType::Logical, 1);
    }

    const TFieldList& Fields() const { return mFields; }

    // A blank record, then fields set by name (text is padded or cut to the width).
    TSampleTable& Blank()
    {
        mBytes.assign(mLength, ' ');
        std::memset(mBytes.data() + mFields[size_t(FindField(mFields, "COUNT"))].offset, 0, 4);
        mRecNo = 1;
        return *this;
    }
    TSampleTable& Set(std::string_view name, std::string_view text)
    {
        const TFieldInfo& f = mFields[size_t(FindField(mFields, name))];
        std::string v(text.substr(0, f.length));
        if (f.type == TFieldType::Numeric)
            v.insert(0, f.length - v.size(), ' ');
        v.resize(f.length, ' ');
        mBytes.replace(f.offset, f.length, v);
        return *this;
    }
    TSampleTable& SetInt(std::string_view name, int32_t value)
    {
        const TFieldInfo& f = mFields[size_t(FindField(mFields, name))];
        for (int i = 0; i < 4; ++i)
            mBytes[f.offset + size_t(i)] = char((uint32_t(value) >> (8 * i)) & 0xFF);
        return *this;
    }
    TSampleTable& Mark(bool deleted)
    {
        mBytes[0] = deleted ? '*' : ' ';
        return *this;
    }
    TSampleTable& RecNo(uint32_t n)
    {
        mRecNo = n;
        return *this;
    }
    TRecordView View() const { return {mBytes, mRecNo}; }

private:
    void Add(const char* name, TFieldType type, uint16_t length, uint8_t decimals = 0)
    {
        mFields.push_back({name, type, length, decimals, mLength});
        mLength += length;
    }

    TFieldList mFields;
    uint32_t mLength = 1;
    std::string mBytes;
    uint32_t mRecNo = 1;
};

class TExpressionTest : public ::testing::Test {
protected:
    void SetUp() override { mTable.Blank(); }

    bool Logical(std::string_view text)
    {
        return TExpression::Compile(text, mTable.Fields()).EvalLogical(mTable.View());
    }
    std::string Text(std::string_view text)
    {
        return std::string(
            TExpression::Compile(text, mTable.Fields()).EvalCharacter(mTable.View()));
    }
    double Number(std::string_view text)
    {
        return TExpression::Compile(text, mTable.Fields()).EvalNumeric(mTable.View());
    }
    std::string Key(std::string_view text)
    {
        std::string key;
        TExpression::Compile(text, mTable.Fields()).EvalKey(mTable.View(), key);
        return key;
    }
    // The message of the error compiling text raises, checking its kind.
    std::string ErrorOf(std::string_view text, TErrorKind kind = TErrorKind::Syntax)
    {
        try {
            TExpression::Compile(text, mTable.Fields());
        } catch (const TXbaseError& e) {
            EXPECT_EQ(e.Kind(), kind) << text << ": " << e.what();
            return e.what();
        }
        ADD_FAILURE() << text << " compiled";
        return {};
    }

    TSampleTable mTable;
    TSettingScope mExactOff{&TEngineSettings::exact, false};
};

TEST_F(TExpressionTest, FieldsReadInAnyCaseWithTheirTrailingBlanks)
{
    mTable.Set("LNAME", "Smith");
    EXPECT_EQ(Text("LNAME"), "Smith" + std::string(15, ' '));
    EXPECT_EQ(Text("lname"), Text("LName"));
    EXPECT_EQ(TExpression::Compile("lname", mTable.Fields()).Width(), 20);
    EXPECT_EQ(TExpression::Compile("lname", mTable.Fields()).Text(), "lname");
}

TEST_F(TExpressionTest, UpperAndLowerMapWindows1252Letters)
{
    mTable.Set("LNAME", "d\xE9j\xE0 \xFC\x9A\x9C\xFF \xDF x");
    EXPECT_EQ(Text("UPPER(LNAME)"), "D\xC9J\xC0 \xDC\x8A\x8C\x9F \xDF X" + std::string(7, ' '));
    EXPECT_EQ(Text("LOWER(UPPER(LNAME))"), Text("LNAME"));
    mTable.Set("LNAME", "M\xFCller");
    EXPECT_TRUE(Logical("UPPER(LNAME)=\"M\xDCLLER\""));
}

TEST_F(TExpressionTest, PlusConcatenatesAndMinusMovesTrailingBlanksToTheEnd)
{
    mTable.Set("LNAME", "Smith").Set("FNAME", "Al");
    EXPECT_EQ(Text("LNAME+FNAME"), "Smith" + std::string(15, ' ') + "Al" + std::string(10, ' '));
    EXPECT_EQ(Text("LNAME-FNAME"), "SmithAl" + std::string(25, ' '));
    EXPECT_EQ(Text("UPPER(LNAME-FNAME)"), "SMITHAL" + std::string(25, ' '));
    EXPECT_EQ(Text("\"a \"-\"b \"-\"c\""), "abc  ");
    EXPECT_EQ(TExpression::Compile("LNAME-FNAME", mTable.Fields()).Width(), 32);
    EXPECT_EQ(Text("'x'+[y]+\"z\""), "xyz");
}

TEST_F(TExpressionTest, SubstringFunctionsClampTheirCounts)
{
    mTable.Set("LNAME", "  Brown  ");
    EXPECT_EQ(Text("LEFT(LNAME,4)"), "  Br");
    EXPECT_EQ(Text("LEFT(LNAME,0)"), "");
    EXPECT_EQ(Text("LEFT(LNAME,-3)"), "");
    EXPECT_EQ(Text("LEFT('ab',5)"), "ab");
    EXPECT_EQ(Text("RIGHT('abcdef',2)"), "ef");
    EXPECT_EQ(Text("RIGHT('ab',9)"), "ab");
    EXPECT_EQ(Text("SUBSTR('abcdef',2,3)"), "bcd");
    EXPECT_EQ(Text("SUBSTR('abcdef',5)"), "ef");
    EXPECT_EQ(Text("SUBSTR('abcdef',9)"), "");
    EXPECT_EQ(Text("SUBSTR('abcdef',0,2)"), "ab");
    EXPECT_EQ(Text("SUBS('abcdef',4,99)"), "def");
    EXPECT_EQ(TExpression::Compile("LEFT(LNAME,5)", mTable.Fields()).Width(), 5);
    EXPECT_EQ(TExpression::Compile("SUBSTR(LNAME,3,4)", mTable.Fields()).Width(), 4);
    EXPECT_EQ(TExpression::Compile("SUBSTR(LNAME,18)", mTable.Fields()).Width(), 3);
    // A count given as an expression is taken per record; the width stays the field's.
    mTable.Set("AMOUNT", "3");
    EXPECT_EQ(Text("LEFT('abcdef',AMOUNT)"), "abc");
}

TEST_F(TExpressionTest, TrimFunctionsAndLength)
{
    mTable.Set("LNAME", "  Brown  ");
    EXPECT_EQ(Text("TRIM(LNAME)"), "  Brown");
    EXPECT_EQ(Text("RTRIM(LNAME)"), "  Brown");
    EXPECT_EQ(Text("LTRIM(LNAME)"), "Brown" + std::string(13, ' '));
    EXPECT_EQ(Text("ALLTRIM(LNAME)"), "Brown");
    EXPECT_EQ(Number("LEN(LNAME)"), 20);
    EXPECT_EQ(Number("LEN(ALLTRIM(LNAME))"), 5);
    EXPECT_EQ(Number("LEN('')"), 0);
    EXPECT_EQ(Text("ALLTRIM(FNAME)"), "");
}

TEST_F(TExpressionTest, StrFormatsToWidthAndDecimals)
{
    EXPECT_EQ(Text("STR(42)"), "        42");
    EXPECT_EQ(Text("STR(3.14159,8,2)"), "    3.14");
    EXPECT_EQ(Text("STR(-2.5,6,1)"), "  -2.5");
    EXPECT_EQ(Text("STR(123.456,5,2)"), "123.5"); // fewer decimals before overflow
    EXPECT_EQ(Text("STR(123456,4)"), "****");
    EXPECT_EQ(Text("STR(-0.001,5,1)"), "  0.0");
    EXPECT_EQ(Text("STR(1/0,3)"), "  0");
    mTable.Set("AMOUNT", "1234.50");
    EXPECT_EQ(Text("STR(AMOUNT,10,2)"), "   1234.50");
    EXPECT_EQ(ErrorOf("STR(1,0)", TErrorKind::Type),
              "Type error at position 7: the length of STR expects a whole number from 1 to 255 "
              "written as a number");
    ErrorOf("STR(1,5,-1)", TErrorKind::Type);
    ErrorOf("STR(1,AMOUNT)", TErrorKind::Type);
}

TEST_F(TExpressionTest, NumbersFromFieldsAndVal)
{
    mTable.Set("AMOUNT", "-12.75").SetInt("COUNT", -7);
    EXPECT_EQ(Number("AMOUNT"), -12.75);
    EXPECT_EQ(Number("COUNT"), -7);
    EXPECT_EQ(Number("AMOUNT*2+1"), -24.5);
    EXPECT_EQ(Number("-AMOUNT/5"), 2.55);
    EXPECT_EQ(Number("1+2*3-4/2"), 5);
    EXPECT_EQ(Number("--3"), 3);
    EXPECT_EQ(Number("2.+.5"), 2.5);
    EXPECT_FALSE(Logical("AMOUNT=1.and..T."));
    EXPECT_TRUE(Logical("AMOUNT=-12.75.and..T."));
    EXPECT_EQ(ErrorOf("1" + std::string(400, '0')), "Syntax error at position 1: the number 1" +
                                                        std::string(400, '0') + " is out of range");
    EXPECT_EQ(Number("VAL(' 12.5abc')"), 12.5);
    EXPECT_EQ(Number("VAL('-.5')"), -0.5);
    EXPECT_EQ(Number("VAL('abc')"), 0);
    EXPECT_EQ(Number("VAL('')"), 0);
    EXPECT_EQ(Number("VAL('12345678901234567890')"), 12345678901234567890.0);
    mTable.Set("AMOUNT", "");
    EXPECT_EQ(Number("AMOUNT"), 0);
    EXPECT_EQ(Number("AMOUNT/AMOUNT"), 0);
}

TEST_F(TExpressionTest, EqualsIsAPrefixMatchUnlessExact)
{
    mTable.Set("LNAME", "SMITH");
    EXPECT_TRUE(Logical("LNAME='SM'"));
    EXPECT_TRUE(Logical("LNAME=''"));
    EXPECT_TRUE(Logical("LNAME='SMITH'"));
    EXPECT_FALSE(Logical("'SM'=LNAME")); // the right side decides the length
    EXPECT_FALSE(Logical("LNAME<>'SM'"));
    EXPECT_TRUE(Logical("LNAME<='SM'"));
    EXPECT_FALSE(Logical("LNAME>'SM'"));
    EXPECT_TRUE(Logical("'SM'<LNAME"));
    {
        TSettingScope exact(&TEngineSettings::exact, true);
        EXPECT_FALSE(Logical("LNAME='SM'"));
        EXPECT_TRUE(Logical("LNAME='SMITH'")); // trailing blanks do not count
        EXPECT_TRUE(Logical("LNAME='SMITH   '"));
        EXPECT_TRUE(Logical("LNAME#'SM'"));
        EXPECT_TRUE(Logical("LNAME>'SM'"));
    }
    EXPECT_FALSE(Logical("'SM'='SMI'"));
    EXPECT_TRUE(Logical("'SM '='SM'"));
    EXPECT_TRUE(Logical("'SM'='SM '"));
}

TEST_F(TExpressionTest, DoubleEqualsIsExactWhatEverTheSetting)
{
    mTable.Set("LNAME", "SMITH");
    EXPECT_FALSE(Logical("LNAME=='SM'"));
    EXPECT_FALSE(Logical("LNAME=='SMITH'")); // the field keeps its trailing blanks
    EXPECT_TRUE(Logical("TRIM(LNAME)=='SMITH'"));
    EXPECT_TRUE(Logical("LEFT(LNAME,5)=='SMITH'"));
    EXPECT_TRUE(Logical("LEFT(upper(LNAME),5)==upper(\"smith\")"));
    EXPECT_FALSE(Logical("'a'=='a '"));
    EXPECT_TRUE(Logical("''==''"));
}

TEST_F(TExpressionTest, ByteOrderDecidesOrderingComparisons)
{
    EXPECT_TRUE(Logical("'B'>'A'"));
    EXPECT_TRUE(Logical("'\xC9'>'Z'"));
    EXPECT_TRUE(Logical("'a'>'Z'"));
    EXPECT_TRUE(Logical("'AB'<'ABC'"));
    EXPECT_TRUE(Logical("'ABC'>='AB'"));
}

TEST_F(TExpressionTest, ContainsLooksForTheLeftSideInTheRight)
{
    mTable.Set("CITY", "Springfield").Set("STATE", "IL");
    EXPECT_TRUE(Logical("'SPRING'$UPPER(CITY+STATE)"));
    EXPECT_TRUE(Logical("'DIL'$UPPER(CITY-STATE)"));
    EXPECT_FALSE(Logical("'DIL'$UPPER(CITY+STATE)"));
    EXPECT_FALSE(Logical("'spring'$CITY"));
    EXPECT_FALSE(Logical("''$CITY"));
    EXPECT_FALSE(Logical("'Springfield and more'$CITY"));
}

TEST_F(TExpressionTest, LogicalOperatorsInEveryForm)
{
    mTable.Set("ISDEL", "F").Set("LNAME", "Adams").Set("CITY", "Springfield");
    EXPECT_TRUE(Logical("!ISDEL"));
    EXPECT_TRUE(Logical(".NOT. ISDEL"));
    EXPECT_TRUE(Logical("not ISDEL"));
    EXPECT_TRUE(Logical("UPPER(LNAME)='A' and 'SPRING'$UPPER(CITY+STATE).and. !ISDEL"));
    EXPECT_TRUE(Logical("UPPER(LNAME)='B' Or UPPER(LNAME)='A'"));
    EXPECT_TRUE(Logical("((UPPER(LNAME)=\"A\").or.(UPPER(LNAME)=\"B\"))"));
    EXPECT_FALSE(Logical("UPPER(LNAME)='A' .AnD. .not. UPPER(LNAME)='A'"));
    // .AND. binds before .OR.; .NOT. applies to the whole comparison.
    EXPECT_TRUE(Logical(".T. .or. .F. .and. .F."));
    EXPECT_FALSE(Logical("(.T. .or. .F.) .and. .F."));
    EXPECT_TRUE(Logical("!LNAME='B'"));
    EXPECT_TRUE(Logical("!!.T."));
    EXPECT_TRUE(Logical(".y. .and. !.n."));
    mTable.Set("ISDEL", "T");
    EXPECT_FALSE(Logical("!ISDEL"));
    mTable.Set("ISDEL", "y");
    EXPECT_TRUE(Logical("ISDEL"));
}

TEST_F(TExpressionTest, DeletedRecnoAndAFieldNamedDeleted)
{
    mTable.Mark(true).RecNo(42).Set("DELETED", "F");
    EXPECT_TRUE(Logical("DELETED()"));
    EXPECT_TRUE(Logical("deleted()"));
    EXPECT_FALSE(Logical("DELETED")); // the field of that name
    EXPECT_TRUE(Logical("Recno()=42"));
    EXPECT_EQ(Number("RECNO()"), 42);
    mTable.Mark(false);
    EXPECT_FALSE(Logical("DELETED()"));
    EXPECT_EQ(Key("DELETED()"), "F");
}

TEST_F(TExpressionTest, EmptyForEveryType)
{
    EXPECT_TRUE(Logical("EMPTY(LNAME)"));
    EXPECT_TRUE(Logical("EMPTY(AMOUNT)"));
    EXPECT_TRUE(Logical("EMPTY(ISDEL)"));
    EXPECT_TRUE(Logical("EMPTY(BORN)"));
    EXPECT_TRUE(Logical("EMPTY(MEMO)"));
    EXPECT_TRUE(Logical("EMPTY('')"));
    mTable.Set("LNAME", "x")
        .Set("AMOUNT", "0.01")
        .Set("ISDEL", "T")
        .Set("BORN", "20240229")
        .Set("MEMO", "        12");
    EXPECT_FALSE(Logical("EMPTY(LNAME)"));
    EXPECT_FALSE(Logical("EMPTY(AMOUNT)"));
    EXPECT_FALSE(Logical("EMPTY(ISDEL)"));
    EXPECT_FALSE(Logical("EMPTY(BORN)"));
    EXPECT_FALSE(Logical("EMPTY(MEMO)"));
    mTable.Set("MEMO", "0000000000");
    EXPECT_TRUE(Logical("EMPTY(MEMO)"));
    EXPECT_EQ(ErrorOf("MEMO='x'", TErrorKind::Type),
              "Type error at position 1: the memo field MEMO can only be tested with EMPTY()");
    ErrorOf("EMPTY(MEMO+'x')", TErrorKind::Type);
}

TEST_F(TExpressionTest, DatesCompareAndConvert)
{
    mTable.Set("BORN", "19991231");
    EXPECT_EQ(Text("DTOS(BORN)"), "19991231");
    EXPECT_EQ(Text("BORN"), "19991231");
    EXPECT_TRUE(Logical("BORN=BORN"));
    EXPECT_TRUE(Logical("DTOS(BORN)>='1999'"));
    EXPECT_EQ(TExpression::Compile("BORN", mTable.Fields()).Width(), 8);
    std::string key;
    TKeyEncoding::Date("19991231", key);
    EXPECT_EQ(Key("BORN"), key);
    ErrorOf("BORN='1999'", TErrorKind::Type);
    ErrorOf("UPPER(BORN)", TErrorKind::Type);
}

TEST_F(TExpressionTest, IifChoosesByTheCondition)
{
    mTable.Set("ISDEL", "T").Set("LNAME", "Ng");
    EXPECT_EQ(Text("IIF(ISDEL,'gone',LNAME)"), "gone");
    EXPECT_EQ(Number("IIF(!ISDEL,1,2)"), 2);
    EXPECT_TRUE(Logical("IIF(ISDEL,.T.,.F.)"));
    EXPECT_EQ(TExpression::Compile("IIF(ISDEL,'gone',LNAME)", mTable.Fields()).Width(), 20);
    EXPECT_EQ(Key("IIF(ISDEL,'gone',LNAME)"), "gone" + std::string(16, ' '));
    ErrorOf("IIF(ISDEL,'a',1)", TErrorKind::Type);
    ErrorOf("IIF(LNAME,'a','b')", TErrorKind::Type);
}

TEST_F(TExpressionTest, KeysFollowTheKeyEncoding)
{
    mTable.Set("LNAME", "o'Neil").Set("FNAME", "Ann").Set("AMOUNT", "12.5").Set("ISDEL", "T");
    EXPECT_EQ(Key("UPPER(LNAME-FNAME)"), "O'NEILANN" + std::string(23, ' '));
    EXPECT_EQ(Key("UPPER(LNAME)+UPPER(FNAME)").size(), 32u);
    EXPECT_EQ(Key("TRIM(LNAME)"), "o'Neil" + std::string(14, ' ')); // padded back to the width
    std::string number;
    TKeyEncoding::Numeric(12.5, number);
    EXPECT_EQ(Key("AMOUNT"), number);
    EXPECT_EQ(Key("ISDEL"), "T");
    EXPECT_EQ(Key("!ISDEL"), "F");
    // The output string is reused: a longer earlier content does not survive.
    std::string key(100, 'x');
    TExpression::Compile("STATE", mTable.Fields()).EvalKey(mTable.View(), key);
    EXPECT_EQ(key, "    ");
}

TEST_F(TExpressionTest, FunctionsByAbbreviationAndInAnyCase)
{
    mTable.Set("LNAME", " a ");
    EXPECT_EQ(Text("uppe(alltr(lname))"), "A");
    EXPECT_EQ(Text("Upper(LName)"), Text("UPPER(LNAME)"));
    EXPECT_EQ(ErrorOf("UPP(LNAME)"), "Syntax error at position 1: unknown function UPP");
}

TEST_F(TExpressionTest, SyntaxErrorsNamePositionAndExpectation)
{
    EXPECT_EQ(
        ErrorOf(""),
        "Syntax error at position 1: expected a value (a field, a literal, a function or '('), "
        "found the end of the expression");
    EXPECT_EQ(ErrorOf("UPPER(LNAME"),
              "Syntax error at position 12: expected ',' or ')', found the end of the expression");
    EXPECT_EQ(ErrorOf("LNAME=\"SMI"),
              "Syntax error at position 7: expected the closing \" of the text that starts here");
    EXPECT_EQ(ErrorOf("LNAME='A' FNAME"), "Syntax error at position 11: expected an operator or "
                                          "the end of the expression, found a name (FNAME)");
    EXPECT_EQ(ErrorOf("LNAMES='A'"), "Syntax error at position 1: unknown field LNAMES");
    EXPECT_EQ(ErrorOf("ISDEL .an. ISDEL"),
              "Syntax error at position 7: expected .AND., .OR., .NOT., .T. or .F., found .an.");
    EXPECT_EQ(ErrorOf("RECNO"),
              "Syntax error at position 1: RECNO is not a field; a function is written with "
              "parentheses, as RECNO()");
    EXPECT_EQ(ErrorOf("LEFT(LNAME)"),
              "Syntax error at position 1: LEFT expects 2 arguments, found 1");
    EXPECT_EQ(ErrorOf("SUBSTR(LNAME,1,2,3)"),
              "Syntax error at position 1: SUBSTR expects 2 to 3 arguments, found 4");
    EXPECT_EQ(ErrorOf("LNAME = = 'a'"),
              "Syntax error at position 9: expected a value (a field, a literal, a function "
              "or '('), found '='");
    EXPECT_EQ(ErrorOf("LNAME ~ 'a'"), "Syntax error at position 7: unexpected character '~'");
    EXPECT_EQ(ErrorOf("LNAME \xE9"),
              "Syntax error at position 7: unexpected character 0xE9 outside a text literal");
    ErrorOf("(LNAME='a'");
    ErrorOf("[abc");
    ErrorOf("'a'+");
}

TEST_F(TExpressionTest, TypeErrorsNameTheOperandAndItsType)
{
    EXPECT_EQ(ErrorOf("LNAME+1", TErrorKind::Type),
              "Type error at position 6: '+' expects two text values or two numbers, found a text "
              "value and a number");
    EXPECT_EQ(ErrorOf("LNAME .AND. ISDEL", TErrorKind::Type),
              "Type error at position 1: .AND. expects a logical value, found a text value");
    EXPECT_EQ(ErrorOf("AMOUNT='5'", TErrorKind::Type),
              "Type error at position 8: '=' compares a number with a text value");
    EXPECT_EQ(ErrorOf("UPPER(AMOUNT)", TErrorKind::Type),
              "Type error at position 7: UPPER expects a text value, found a number");
    ErrorOf("!LNAME", TErrorKind::Type);
    ErrorOf("-LNAME", TErrorKind::Type);
    ErrorOf("1$'1'", TErrorKind::Type);
    ErrorOf("LNAME*2", TErrorKind::Type);
}

TEST_F(TExpressionTest, CheckAcceptsOnlyLogicalQueries)
{
    EXPECT_NO_THROW(TExpression::Check("UPPER(LNAME)=\"SM\" .and. !ISDEL", mTable.Fields()));
    try {
        TExpression::Check("UPPER(LNAME)", mTable.Fields());
        ADD_FAILURE() << "a text expression passed as a query";
    } catch (const TXbaseError& e) {
        EXPECT_EQ(e.Kind(), TErrorKind::Type);
        EXPECT_STREQ(
            e.what(),
            "Type error at position 1: a query expects a logical value, found a text value");
    }
    EXPECT_THROW(TExpression::Check("UPPER(LNAME", mTable.Fields()), TXbaseError);
}

TEST_F(TExpressionTest, EvaluationRefusesShortRecordsAndWrongTypes)
{
    const TExpression e = TExpression::Compile("UPPER(CITY)='X' .and. COUNT=0", mTable.Fields());
    const std::string shortRecord(10, ' ');
    try {
        e.EvalLogical({shortRecord, 1});
        ADD_FAILURE() << "a short record was read";
    } catch (const TXbaseError& err) {
        EXPECT_EQ(err.Kind(), TErrorKind::Usage);
    }
    EXPECT_THROW(e.EvalNumeric(mTable.View()), TXbaseError);
    EXPECT_THROW(e.EvalCharacter(mTable.View()), TXbaseError);
    EXPECT_THROW(TExpression::Compile("LNAME", mTable.Fields()).EvalLogical(mTable.View()),
                 TXbaseError);
}

TEST_F(TExpressionTest, HostileTextIsRefusedWithoutExhaustingStackOrMemory)
{
    // Deep parentheses and long operator chains.
    ErrorOf(std::string(100000, '(') + "1" + std::string(100000, ')'));
    ErrorOf(std::string(100000, '!') + ".T.", TErrorKind::Syntax);
    std::string chain = "LNAME";
    for (int i = 0; i < 5000; ++i)
        chain += "+LNAME";
    ErrorOf(chain);
    // Text values that would need too much scratch space.
    std::string wide = "LNAME";
    for (int i = 0; i < 600; ++i)
        wide = "UPPER(" + wide + "+LNAME)";
    ErrorOf(wide);
    // A long but shallow query is fine.
    std::string flat = "ISDEL";
    for (int i = 0; i < 200; ++i)
        flat += " .or. (LNAME='x')";
    EXPECT_FALSE(Logical(flat));
}

TEST_F(TExpressionTest, MovedExpressionsKeepWorking)
{
    mTable.Set("LNAME", "abc");
    TExpression a = TExpression::Compile("UPPER(LNAME)", mTable.Fields());
    TExpression b = std::move(a);
    EXPECT_EQ(b.EvalCharacter(mTable.View()).substr(0, 3), "ABC");
    std::vector<TExpression> many;
    for (int i = 0; i < 30; ++i)
        many.push_back(TExpression::Compile("UPPER(LNAME)+STR(RECNO())", mTable.Fields()));
    EXPECT_EQ(many.front().EvalCharacter(mTable.View()).substr(0, 3), "ABC");
}

} // namespace

namespace {

// The rule "=" follows while Exact is off, written out plainly: the left side cut to the right
// side's length, then both compared with the shorter padded with blanks.
bool PrefixEqual(std::string left, std::string right)
{
    if (right.size() < left.size())
        left.resize(right.size());
    const size_t n = std::max(left.size(), right.size());
    left.resize(n, ' ');
    right.resize(n, ' ');
    return left == right;
}

} // namespace

TEST_F(TExpressionTest, PrefixComparisonsAgreeWithTheWholeValue)
{
    // "=" evaluates only as many bytes of the left side as the literal has; every kind of text
    // node must still give the answer the whole value gives.
    mTable.Set("LNAME", "Smith ")
        .Set("FNAME", "Al")
        .Set("CITY", "  Spring")
        .Set("ISDEL", "T")
        .Set("BORN", "19991231");
    const std::vector<std::string> lefts = {
        "LNAME",
        "UPPER(LNAME)",
        "LOWER(LNAME+FNAME)",
        "LNAME+FNAME",
        "LNAME-FNAME",
        "UPPER(LNAME-FNAME)",
        "TRIM(LNAME)+FNAME",
        "TRIM(LNAME)-FNAME",
        "LEFT(LNAME,3)",
        "LEFT(LNAME,2)",
        "LEFT(LNAME+FNAME,25)",
        "RIGHT(LNAME,3)",
        "SUBSTR(LNAME+FNAME,19,5)",
        "LTRIM(CITY)",
        "ALLTRIM(CITY)+'x'",
        "STR(42,4)+LNAME",
        "IIF(ISDEL,LNAME,FNAME)",
        "IIF(!ISDEL,LNAME,FNAME)+CITY",
        "DTOS(BORN)",
        "DTOS(BORN)+LNAME",
        "''",
    };
    const std::vector<std::string> rights = {
        "",        "S",         "Sm",
        "Smith",   "Smith ",    "Smith Al",
        "SmithAl", "smith",     "Smith" + std::string(15, ' ') + "A",
        "1999",    "19991231S", "Spring",
        "  42",    "Al",        "Smith" + std::string(30, ' ')};
    for (const std::string& left : lefts) {
        const std::string whole = Text(left);
        for (const std::string& right : rights) {
            const std::string query = left + "=\"" + right + "\"";
            EXPECT_EQ(Logical(query), PrefixEqual(whole, right))
                << query << " with the value [" << whole << "]";
        }
    }
}
