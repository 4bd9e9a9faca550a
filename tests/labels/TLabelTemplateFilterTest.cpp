// The template picker's filter expression, its starting choices and positioning, and the
// shipped templates it is applied to.

#include "labels/TLabelTemplateFilter.h"
#include "labels/TLabelTemplates.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qm::labels;

TEST(LabelTemplateFilter, ExpressionForAveryLaserAddressEuropean)
{
    const TLabelTemplateFilter filter(0, 0, true);
    EXPECT_EQ(filter.Expression().toStdString(),
              " UPPER(manufac)=\"AVERY\"  and  UPPER(printer)=\"LJ\"  and  "
              "UPPER(PRODTYPE)=\"ADDRESS/SHIPPING LABELS\"  and  (\"A4\"$UPPER(PAPERSIZE) OR "
              "\"A5\"$UPPER(PAPERSIZE))");
}

TEST(LabelTemplateFilter, TermsForEachChoice)
{
    EXPECT_EQ(TLabelTemplateFilter(3, 6, false).Expression().toStdString(),
              " UPPER(manufac)=\"COSTAR\"  and  UPPER(printer)=\"LP\" ");
    EXPECT_EQ(TLabelTemplateFilter(1, 5, false).Expression().toStdString(),
              " UPPER(manufac)=\"AVERY\"  and  UPPER(printer)=\"IJ\"  and  "
              "UPPER(PRODTYPE)=\"MISCELLANEOUS\" ");
    EXPECT_EQ(TLabelTemplateFilter(2, 3, false).Expression().toStdString(),
              " UPPER(manufac)=\"AVERY\"  and  UPPER(printer)=\"DM\"  and  "
              "UPPER(PRODTYPE)=\"FILE FOLDER LABELS\" ");
    // No manufacturer chosen (an item the list lacks): no maker or printer term.
    EXPECT_EQ(TLabelTemplateFilter(-1, 6, false).Expression(), QString());
}

TEST(LabelTemplateFilter, StartingChoicesFollowTheLayout)
{
    using S = TLabelTemplateFilter::TStart;
    auto start = [](const char* maker, const char* printer, const char* group) {
        return TLabelTemplateFilter::StartFor(maker, printer, group);
    };
    S s = start("AVERY", "IJ", "card products");
    EXPECT_EQ(s.manufacturer, 1);
    EXPECT_EQ(s.product, 1);
    EXPECT_TRUE(s.positionGrid);

    s = start("COSTAR", "LP", "ADDRESS LABELS"); // no such item: "All"
    EXPECT_EQ(s.manufacturer, 3);
    EXPECT_EQ(s.product, 6);

    // A new layout's values are Avery laser addresses: its template is looked for too.
    s = start("AVERY", "LJ", "ADDRESS/SHIPPING LABELS");
    EXPECT_EQ(s.manufacturer, 0);
    EXPECT_EQ(s.product, 0);
    EXPECT_TRUE(s.positionGrid);

    s = start("USER", "", "");
    EXPECT_EQ(s.manufacturer, 0);
    EXPECT_FALSE(s.positionGrid);

    s = start("NEBS", "LJ", "CARD PRODUCTS"); // as any other maker, not positioned
    EXPECT_EQ(s.manufacturer, 0);
    EXPECT_EQ(s.product, 1);
    EXPECT_FALSE(s.positionGrid);

    s = start("ACME", "LJ", "CARD PRODUCTS");
    EXPECT_EQ(s.manufacturer, 0);
    EXPECT_TRUE(s.positionGrid);
}

TEST(LabelTemplateFilter, PositionsOnlyOnAnExactMatchWithBothBlanks)
{
    const QStringList rows = {"Avery 5160 Address", "Avery 5160  Address", "AVERY 5160  ADDRESS"};
    EXPECT_EQ(TLabelTemplateFilter::PositionOf(rows, "Avery 5160  Address"), 1);
    EXPECT_EQ(TLabelTemplateFilter::PositionOf(rows.mid(0, 1), "Avery 5160  Address"), -1);
    EXPECT_EQ(TLabelTemplateFilter::PositionOf({"AVERY 5160  ADDRESS"}, "Avery 5160  Address"), -1);
}

TEST(LabelTemplates, FilterSelectsShippedRowsInTagOrder)
{
    const QString sysdata = QStringLiteral(QM_BUILD_DIR "/share/quillmark/sysdata");
    TLabelTemplates templates;
    ASSERT_EQ(templates.Open(sysdata), QString());

    const QStringList european = templates.Matching(TLabelTemplateFilter(0, 0, true).Expression());
    ASSERT_FALSE(european.isEmpty());
    EXPECT_TRUE(european.contains("Avery L7166  Parcel"));
    for (int i = 1; i < european.size(); ++i)
        EXPECT_LE(european[i - 1].toUpper(), european[i].toUpper());

    const QStringList letter = templates.Matching(TLabelTemplateFilter(0, 0, false).Expression());
    EXPECT_TRUE(letter.contains("Avery 5160  Address"));
    EXPECT_GT(letter.size(), european.size());
    EXPECT_GT(templates.Matching({}).size(), 300);

    const auto avery5160 = templates.Find("Avery 5160  Address");
    ASSERT_TRUE(avery5160);
    EXPECT_EQ(avery5160->templateDescription, "Avery 5160  Address");
    EXPECT_EQ(avery5160->across, 3);
    EXPECT_EQ(avery5160->down, 10);
    EXPECT_FALSE(templates.Find("Avery 5160 Address")); // one blank: another name
}

TEST(LabelTemplates, MissingTableIsReportedNotCreated)
{
    QTemporaryDir sysdata;
    TLabelTemplates templates;
    EXPECT_EQ(templates.Open(sysdata.path()), "Unable to Open LBLTPL.DBF");
    EXPECT_TRUE(QDir(sysdata.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    // Nor is a missing folder made.
    const QString missing = QDir(sysdata.path()).filePath(QStringLiteral("sysdata"));
    EXPECT_EQ(templates.Open(missing), "Unable to Open LBLTPL.DBF");
    EXPECT_FALSE(QFileInfo::exists(missing));
}
