// The picker's find box: which rows stay, and which one the list moves to.

#include "labels/TTemplateFind.h"

#include <gtest/gtest.h>

namespace qm::labels {
namespace {

const QStringList kList = {"Avery 15160  Address",    "Avery 18160  Address",
                           "Avery 5160  Address",     "Avery 8160  Address",
                           "Avery L7160  Mailing",    "Herma 4226  Address",
                           "Herma 4227  Rectangular", "OnlineLabels OL875  Address"};

QStringList Rows(const TTemplateFind::TResult& r)
{
    QStringList rows;
    for (int i : r.rows)
        rows << kList[i];
    return rows;
}

QString Current(const TTemplateFind::TResult& r)
{
    return r.current < 0 ? QString() : kList[r.rows[size_t(r.current)]];
}

TEST(TemplateFind, NarrowsAsTheProductNumberIsTyped)
{
    // Typing "5160" one key at a time.
    TTemplateFind::TResult r = TTemplateFind::Narrow(kList, "5");
    EXPECT_EQ(Rows(r), (QStringList{"Avery 15160  Address", "Avery 5160  Address",
                                    "OnlineLabels OL875  Address"}));
    EXPECT_EQ(Current(r), "Avery 5160  Address"); // "5" starts a word there first
    r = TTemplateFind::Narrow(kList, "51");
    EXPECT_EQ(Rows(r), (QStringList{"Avery 15160  Address", "Avery 5160  Address"}));
    EXPECT_EQ(Current(r), "Avery 5160  Address");
    r = TTemplateFind::Narrow(kList, "5160");
    EXPECT_EQ(Rows(r), (QStringList{"Avery 15160  Address", "Avery 5160  Address"}));
    // The whole number wins over a row above that only contains it.
    EXPECT_EQ(Current(r), "Avery 5160  Address");
    r = TTemplateFind::Narrow(kList, "160");
    EXPECT_EQ(r.rows.size(), 5u);
    EXPECT_EQ(Current(r), "Avery 15160  Address"); // no word starts with it: the first row
}

TEST(TemplateFind, WordsInAnyOrderAndCase)
{
    TTemplateFind::TResult r = TTemplateFind::Narrow(kList, "  address   HERMA ");
    EXPECT_EQ(Rows(r), (QStringList{"Herma 4226  Address"}));
    r = TTemplateFind::Narrow(kList, "l71");
    EXPECT_EQ(Current(r), "Avery L7160  Mailing");
    r = TTemplateFind::Narrow(kList, "ol875 address");
    EXPECT_EQ(Current(r), "OnlineLabels OL875  Address");
    r = TTemplateFind::Narrow(kList, "4226  ADDRESS"); // two blanks typed like the list's
    EXPECT_EQ(Rows(r), (QStringList{"Herma 4226  Address"}));
}

TEST(TemplateFind, NothingTypedKeepsEveryRowAndNoMatchKeepsNone)
{
    TTemplateFind::TResult r = TTemplateFind::Narrow(kList, "   ");
    EXPECT_EQ(r.rows.size(), size_t(kList.size()));
    EXPECT_EQ(r.current, -1);
    r = TTemplateFind::Narrow(kList, "zweckform");
    EXPECT_TRUE(r.rows.empty());
    EXPECT_EQ(r.current, -1);
    r = TTemplateFind::Narrow({}, "5160");
    EXPECT_TRUE(r.rows.empty());
}

} // namespace
} // namespace qm::labels
