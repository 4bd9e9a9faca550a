#include "design/stream/TLayoutReader.h"

#include "design/stream/TLayoutError.h"

#include <gtest/gtest.h>

namespace qm::design {
namespace {

QByteArray Hex(const char* hex)
{
    return QByteArray::fromHex(hex);
}

TLayoutErrorKind FailureOf(const QByteArray& bytes)
{
    TLayoutReader in(bytes);
    try {
        in.ReadValue();
    } catch (const TLayoutError& e) {
        return e.Kind();
    }
    ADD_FAILURE() << "read succeeded: " << bytes.toHex().constData();
    return TLayoutErrorKind::Io;
}

TEST(TLayoutReader, ReadsEveryValueTheWriterProduces)
{
    const QByteArray bytes = Hex("0280"
                                 "03FF7F"
                                 "04FFFFFF7F"
                                 "0603616263"
                                 "0703636C58"
                                 "08"
                                 "09"
                                 "0A03000000010203"
                                 "0B0161016200"
                                 "0C020000007879"
                                 "0D"
                                 "01020106017A00");
    TLayoutReader in(bytes);
    EXPECT_EQ(in.ReadValue().AsInteger(), -128);
    EXPECT_EQ(in.ReadValue().AsInteger(), 32767);
    EXPECT_EQ(in.ReadValue().AsInteger(), 2147483647);
    EXPECT_EQ(in.ReadValue().AsString(), QStringLiteral("abc"));
    EXPECT_EQ(in.ReadValue().AsIdent(), QByteArray("clX"));
    EXPECT_FALSE(in.ReadValue().AsBoolean());
    EXPECT_TRUE(in.ReadValue().AsBoolean());
    EXPECT_EQ(in.ReadValue().AsBinary(), Hex("010203"));
    EXPECT_EQ(in.ReadValue().AsSet(), (QList<QByteArray>{"a", "b"}));
    EXPECT_EQ(in.ReadValue().AsString(), QStringLiteral("xy"));
    EXPECT_EQ(in.ReadValue().tag, TLayoutTag::vaNil);
    const TLayoutValue list = in.ReadValue();
    ASSERT_EQ(list.items.size(), 2u);
    EXPECT_EQ(list.items[0].AsInteger(), 1);
    EXPECT_EQ(list.items[1].AsString(), QStringLiteral("z"));
    EXPECT_TRUE(in.AtEnd());
}

TEST(TLayoutReader, ValuesOfTheWrongTypeAreInvalid)
{
    TLayoutReader in(Hex("0603616263"));
    const TLayoutValue text = in.ReadValue();
    EXPECT_THROW(text.AsInteger(), TLayoutError);
    EXPECT_THROW(text.AsBoolean(), TLayoutError);
    EXPECT_THROW(text.AsColor(), TLayoutError);
    static constexpr std::array<const char*, 2> names{"one", "two"};
    TLayoutReader idents(Hex("0703747776"
                             "070354574F"));
    EXPECT_THROW(idents.ReadValue().AsEnum(names), TLayoutError);
    EXPECT_EQ(idents.ReadValue().AsEnum(names), 1) << "identifiers match in any letter case";
    TLayoutReader colour(Hex("0706636C4E6F6E65"));
    EXPECT_EQ(colour.ReadValue().AsColor().value, TGColor::kNone);
}

TEST(TLayoutReader, TruncatedValuesAreStreamReadErrors)
{
    for (const char* hex : {"", "02", "0301", "04010203", "0605616263", "0C05000000", "0B0161",
                            "0A", "0A1000", "0101", "050102"})
        EXPECT_EQ(FailureOf(Hex(hex)), TLayoutErrorKind::StreamRead) << hex;
}

TEST(TLayoutReader, HugeLengthsFailBeforeAnyAllocation)
{
    EXPECT_EQ(FailureOf(Hex("0AFFFFFFFF00")), TLayoutErrorKind::StreamRead);
    EXPECT_EQ(FailureOf(Hex("0CFFFFFF7F41")), TLayoutErrorKind::StreamRead);
}

TEST(TLayoutReader, DeepNestingAndUnknownTagsAreInvalidValues)
{
    EXPECT_EQ(FailureOf(QByteArray(10000, '\x01')), TLayoutErrorKind::InvalidValue);
    EXPECT_EQ(FailureOf(QByteArray(TLayoutReader::kMaxDepth, '\x01') + QByteArray(1, '\x00')),
              TLayoutErrorKind::StreamRead)
        << "nesting up to the limit is read";
    EXPECT_EQ(FailureOf(Hex("0E00")), TLayoutErrorKind::InvalidValue);
    EXPECT_EQ(FailureOf(Hex("FF")), TLayoutErrorKind::InvalidValue);
}

TEST(TLayoutReader, ErrorsCarryTheOffset)
{
    TLayoutReader in(Hex("0201"
                         "0605414243"));
    in.ReadValue();
    try {
        in.ReadValue();
        FAIL();
    } catch (const TLayoutError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Stream read error"));
        EXPECT_EQ(e.Offset(), 4);
    }
}

} // namespace
} // namespace qm::design
