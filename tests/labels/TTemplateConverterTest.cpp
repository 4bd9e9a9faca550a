// From the templates of one file to rows of the template table: the rules column by column and
// what is left out, with the reason.

#include "labels/TTemplateConverter.h"

#include <gtest/gtest.h>

namespace qm::labels {
namespace {

using TReason = TTemplateConverter::TReason;

TTemplateConverter::TResult Convert(const QByteArray& templates)
{
    const TTemplateFile file =
        TTemplateFile::Read("<Glabels-templates>" + templates + "</Glabels-templates>");
    EXPECT_EQ(file.Problem(), "");
    return TTemplateConverter::Convert(file, QStringLiteral("test.xml"));
}

const TTemplateRow* Row(const TTemplateConverter::TResult& result, const char* description)
{
    for (const TTemplateRow& row : result.rows)
        if (row.description == QLatin1String(description))
            return &row;
    ADD_FAILURE() << "no row " << description;
    return nullptr;
}

QStringList LeftOut(const TTemplateConverter::TResult& result)
{
    QStringList lines;
    for (const auto& l : result.leftOut)
        lines << l.message;
    return lines;
}

// The lengths of a row as the table stores them, in column order.
QStringList Lengths(const TTemplateRow& row)
{
    return {row.labelHeight.ThreeDecimals(),     row.labelWidth.ThreeDecimals(),
            QString::number(row.across),         QString::number(row.down),
            row.topMargin.ThreeDecimals(),       row.leftMargin.ThreeDecimals(),
            row.horizontalPitch.ThreeDecimals(), row.verticalPitch.ThreeDecimals(),
            row.sheetWidth.ThreeDecimals(),      row.sheetDepth.ThreeDecimals(),
            row.midExtraX.ThreeDecimals(),       row.midExtraY.ThreeDecimals()};
}

TEST(TemplateConverter, ASheetAndItsEquivalentsEachGetARow)
{
    const auto result = Convert(R"(
      <Template brand="Herma" part="4226" size="A4" _description="Address labels">
        <Meta category="mail"/>
        <Label-rectangle id="0" width="48.3mm" height="25.4mm" round="1mm">
          <Layout nx="4" ny="10" x0="8.4mm" y0="21.5mm" dx="48.3mm" dy="25.4mm"/>
        </Label-rectangle>
      </Template>
      <Template brand="Herma" part="4227" equiv="4226"/>
      <Template brand="Herma" part="4228" equiv="4227"/>)");
    ASSERT_EQ(result.rows.size(), 3u) << LeftOut(result).join("\n").toStdString();
    for (const char* name : {"Herma 4226  Address", "Herma 4227  Address", "Herma 4228  Address"}) {
        const TTemplateRow* row = Row(result, name);
        ASSERT_TRUE(row);
        EXPECT_EQ(Lengths(*row),
                  (QStringList{"1.000", "1.902", "4", "10", "0.846", "0.331", "1.902", "1.000",
                               "8.268", "11.693", "0.000", "0.000"}));
        EXPECT_EQ(row->printer, "LJ");
        EXPECT_EQ(row->paperSize, "A4");
        EXPECT_EQ(row->shape, "RR");
        EXPECT_EQ(row->maker, "Herma");
        EXPECT_EQ(row->productGroup, "ADDRESS/SHIPPING LABELS");
        EXPECT_EQ(row->art, "");
        EXPECT_EQ(row->source, "test.xml 4226");
    }
    EXPECT_TRUE(result.leftOut.empty());
}

TEST(TemplateConverter, AliasesOfAnOlderFileAreEquivalents)
{
    const auto result = Convert(R"(
      <Template brand="Avery" part="5160" size="US-Letter" _description="Address Labels">
        <Alias brand="Avery" part="8160"/>
        <Alias brand="Zweckform" part="Z5160"/>
        <Label-rectangle id="0" width="2.625in" height="1in" round="0.0625in">
          <Layout nx="3" ny="10" x0="0.15625in" y0="0.5in" dx="2.78125in" dy="1in"/>
        </Label-rectangle>
      </Template>)");
    QStringList rows;
    for (const TTemplateRow& row : result.rows)
        rows << row.description + " " + row.printer + " " + row.maker + " " +
                    row.leftMargin.ThreeDecimals();
    EXPECT_EQ(rows, (QStringList{"Avery 5160  Address LJ AVERY 0.156",
                                 "Avery 8160  Address IJ AVERY 0.156",
                                 "Zweckform Z5160  Address LJ Zweckform 0.156"}));
    EXPECT_TRUE(result.leftOut.empty());
}

TEST(TemplateConverter, SeveralBlocksThatFormOneGridAreOneLayout)
{
    const auto result = Convert(R"(
      <Template brand="M" part="even" size="US-Letter" _description="Even">
        <Label-rectangle id="0" width="4in" height="1in">
          <Layout nx="1" ny="10" x0="0.25in" y0="0.5in" dx="0" dy="1in"/>
          <Layout nx="1" ny="10" x0="4.25in" y0="0.5in" dx="0" dy="1in"/>
        </Label-rectangle>
      </Template>
      <Template brand="M" part="gap" size="US-Letter" _description="Gap">
        <Label-rectangle id="0" width="2.5in" height="2.75in">
          <Layout nx="1" ny="3" x0="0.25in" y0="0.5in" dx="0" dy="3in"/>
          <Layout nx="2" ny="3" x0="3in" y0="0.5in" dx="2.5in" dy="3in"/>
        </Label-rectangle>
      </Template>
      <Template brand="M" part="four" size="US-Letter" _description="Quarters">
        <Label-round id="0" radius="1in">
          <Layout nx="1" ny="1" x0="0.5in" y0="0.5in"/>
          <Layout nx="1" ny="1" x0="3in" y0="0.5in"/>
          <Layout nx="1" ny="1" x0="0.5in" y0="3in"/>
          <Layout nx="1" ny="1" x0="3in" y0="3in"/>
        </Label-round>
      </Template>
      <Template brand="M" part="uneven" size="US-Letter" _description="Uneven">
        <Label-rectangle id="0" width="1in" height="1in">
          <Layout nx="2" ny="3" x0="0.5in" y0="0.5in" dx="1in" dy="1in"/>
          <Layout nx="2" ny="4" x0="4in" y0="0.5in" dx="1in" dy="1in"/>
        </Label-rectangle>
      </Template>
      <Template brand="M" part="overlap" size="US-Letter" _description="Overlap">
        <Label-rectangle id="0" width="1in" height="1in">
          <Layout nx="2" ny="2" x0="0.5in" y0="0.5in" dx="1in" dy="1in"/>
          <Layout nx="1" ny="2" x0="1.5in" y0="0.5in" dx="1in" dy="1in"/>
        </Label-rectangle>
      </Template>
      <Template brand="M" part="steps" size="US-Letter" _description="Steps">
        <Label-rectangle id="0" width="1in" height="1in">
          <Layout nx="1" ny="1" x0="0.5in" y0="0.5in"/>
          <Layout nx="1" ny="1" x0="2in" y0="0.5in"/>
          <Layout nx="1" ny="1" x0="4in" y0="0.5in"/>
          <Layout nx="1" ny="1" x0="5.2in" y0="0.5in"/>
        </Label-rectangle>
      </Template>)");
    const TTemplateRow* even = Row(result, "M even  Even");
    ASSERT_TRUE(even);
    EXPECT_EQ(Lengths(*even), (QStringList{"1.000", "4.000", "2", "10", "0.500", "0.250", "4.000",
                                           "1.000", "8.500", "11.000", "0.000", "0.000"}));
    // 1 + 2 columns: the step before column 3 div 2 = 1 is larger by the middle gap.
    const TTemplateRow* gap = Row(result, "M gap  Gap");
    ASSERT_TRUE(gap);
    EXPECT_EQ(Lengths(*gap), (QStringList{"2.750", "2.500", "3", "3", "0.500", "0.250", "2.500",
                                          "3.000", "8.500", "11.000", "0.250", "0.000"}));
    const TTemplateRow* four = Row(result, "M four  Quarters");
    ASSERT_TRUE(four);
    EXPECT_EQ(Lengths(*four), (QStringList{"2.000", "2.000", "2", "2", "0.500", "0.500", "2.500",
                                           "2.500", "8.500", "11.000", "0.000", "0.000"}));
    EXPECT_EQ(four->shape, "EL");
    EXPECT_EQ(LeftOut(result),
              (QStringList{"test.xml: M uneven: layout blocks do not form one grid",
                           "test.xml: M overlap: layout blocks overlap",
                           "test.xml: M steps: layout blocks do not form one grid"}));
    for (const auto& l : result.leftOut)
        EXPECT_EQ(l.reason, TReason::UnequalGrid);
}

TEST(TemplateConverter, LabelPrinterStockIsTurnedLongSideAcross)
{
    const auto result = Convert(R"(
      <Template brand="Dymo" part="99010" size="Other" width="28mm" height="89mm"
                _description="Address Labels">
        <Meta category="mail"/>
        <Label-rectangle id="0" width="28mm" height="89mm" round="0pt">
          <Layout nx="1" ny="1" x0="0" y0="0" dx="28mm" dy="89mm"/>
        </Label-rectangle>
      </Template>
      <Template brand="Avery" part="6141" size="Other" width="207pt" height="351pt"
                _description="File Folder Labels">
        <Label-rectangle id="0" width="198pt" height="45pt" round="4.5pt">
          <Layout nx="1" ny="7" x0="4.5pt" y0="4.5pt" dx="198pt" dy="49.5pt"/>
        </Label-rectangle>
      </Template>)");
    const TTemplateRow* roll = Row(result, "Dymo 99010  Address");
    ASSERT_TRUE(roll);
    EXPECT_EQ(roll->printer, "LP");
    EXPECT_EQ(roll->paperSize, "USERL");
    EXPECT_EQ(Lengths(*roll), (QStringList{"1.102", "3.504", "1", "1", "0.000", "0.000", "3.504",
                                           "1.102", "3.504", "1.102", "0.000", "0.000"}));
    // A sheet of another size with several labels is no roll.
    const TTemplateRow* sheet = Row(result, "Avery 6141  File Folder");
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->printer, "LJ");
    EXPECT_EQ(sheet->paperSize, "USERP");
    EXPECT_EQ(sheet->productGroup, "FILE FOLDER LABELS");
}

TEST(TemplateConverter, WhatTheTableCannotHoldIsLeftOutWithTheReason)
{
    const auto result = Convert(R"(
      <Template brand="Avery" part="5931" size="US-Letter" _description="CD Labels">
        <Label-cd id="0" radius="2.3125in" hole="0.8125in"><Layout nx="1" ny="2"/></Label-cd>
      </Template>
      <Template brand="P" part="roll" size="Other" width="62mm" height="1000mm">
        <Label-continuous id="0" width="62mm"/>
      </Template>
      <Template brand="P" part="spine" size="US-Letter">
        <Label-rectangle id="0" width="0.21875in" height="4.6875in">
          <Layout nx="2" ny="1" x0="1in" y0="1in" dx="1in"/>
        </Label-rectangle>
      </Template>
      <Template brand="P" part="wide" size="US-Letter">
        <Label-rectangle id="0" width="3in" height="1in">
          <Layout nx="3" ny="1" x0="0.5in" y0="0.5in" dx="3in"/>
        </Label-rectangle>
      </Template>
      <Template brand="P" part="folio" size="Folio">
        <Label-round id="0" radius="1in"><Layout nx="1" ny="1"/></Label-round>
      </Template>
      <Template brand="P" part="nowidth" size="A4">
        <Label-rectangle id="0" height="20mm"><Layout nx="1" ny="1"/></Label-rectangle>
      </Template>
      <Template brand="P" part="nocount" size="A4">
        <Label-rectangle id="0" width="20mm" height="20mm"><Layout ny="1"/></Label-rectangle>
      </Template>
      <Template brand="P" part="twoshapes" size="A4">
        <Label-round id="0" radius="1in"><Layout nx="1" ny="1"/></Label-round>
        <Label-round id="1" radius="1in"><Layout nx="1" ny="1"/></Label-round>
      </Template>
      <Template brand="P" part="nolayout" size="A4">
        <Label-round id="0" radius="1in"/>
      </Template>
      <Template brand="P" part="corner" size="A4">
        <Label-rectangle id="0" width="20mm" height="20mm" round="in"><Layout nx="1" ny="1"/>
        </Label-rectangle>
      </Template>
      <Template brand="P" part="lost" equiv="nowhere"/>
      <Template brand="P" part="loop1" equiv="loop2"/>
      <Template brand="P" part="loop2" equiv="loop1"/>
      <Template part="nobrand" size="A4"/>
      <Template brand="P" part="many" size="A4">
        <Label-rectangle id="0" width="1mm" height="1mm"><Layout nx="150" ny="1"/>
        </Label-rectangle>
      </Template>)");
    EXPECT_TRUE(result.rows.empty());
    EXPECT_EQ(
        LeftOut(result),
        (QStringList{
            "test.xml: Avery 5931: Label-cd cannot be described (disc labels)",
            "test.xml: P roll: Label-continuous cannot be described (a continuous roll)",
            "test.xml: P spine: label smaller than the program's minimum (0.3 in high, 0.5 "
            "in wide)",
            "test.xml: P wide: the labels run off the sheet",
            "test.xml: P folio: paper size 'Folio' is not known",
            "test.xml: P nowidth: the label width is missing",
            "test.xml: P nocount: nx None is not a count", "test.xml: P twoshapes: 2 label shapes",
            "test.xml: P nolayout: the label has no layout",
            "test.xml: P corner: corner 'in' is not understood",
            "test.xml: P lost: equivalent nowhere not found",
            "test.xml: P loop1: equivalent loop1 not found",
            "test.xml: P loop2: equivalent loop2 not found",
            "test.xml:  nobrand: a template needs a brand and a part",
            "test.xml: P many: counts outside 1..99"}));
    const TReason reasons[] = {TReason::Disc,  TReason::ContinuousRoll, TReason::TooSmall,
                               TReason::Other, TReason::Other,          TReason::Other};
    for (size_t i = 0; i < std::size(reasons); ++i)
        EXPECT_EQ(result.leftOut[i].reason, reasons[i]) << i;
}

TEST(TemplateConverter, AveryFamilyNumbersAndRepeatedProducts)
{
    const auto result = Convert(R"(
      <Template brand="Avery" part="7160" size="A4" _description="Mailing labels">
        <Label-rectangle id="0" width="63.5mm" height="38.1mm" round="2mm">
          <Layout nx="3" ny="7" x0="7mm" y0="15mm" dx="66mm" dy="38.1mm"/>
        </Label-rectangle>
      </Template>
      <Template brand="Avery" part="L7160" equiv="7160"/>
      <Template brand="Avery" part="J8160" equiv="7160"/>
      <Template brand="Avery" part="6121" size="A4" _description="Allround labels">
        <Label-rectangle id="0" width="38mm" height="21.2mm">
          <Layout nx="5" ny="13" x0="9.5mm" y0="10.5mm" dx="38mm" dy="21.2mm"/>
        </Label-rectangle>
      </Template>
      <Template brand="Herma" part="1" size="A4" _description="Address labels">
        <Label-rectangle id="0" width="50mm" height="30mm">
          <Layout nx="2" ny="2" x0="10mm" y0="10mm" dx="60mm" dy="40mm"/>
        </Label-rectangle>
      </Template>
      <Template brand="Herma" part=" 1 " size="A4" _description="Address labels">
        <Label-rectangle id="0" width="50mm" height="30mm">
          <Layout nx="2" ny="2" x0="12mm" y0="10mm" dx="60mm" dy="40mm"/>
        </Label-rectangle>
      </Template>)");
    QStringList rows;
    for (const TTemplateRow& row : result.rows)
        rows << row.description + " " + row.printer;
    // The family number is no product; its laser and inkjet products are. A number that no
    // product names as its sheet is a product.
    EXPECT_EQ(rows, (QStringList{"Avery L7160  Mailing LJ", "Avery J8160  Mailing IJ",
                                 "Avery 6121  Allround LJ", "Herma 1  Address LJ"}));
    EXPECT_EQ(LeftOut(result),
              (QStringList{"test.xml: Avery 7160: not a product number",
                           "test.xml: Herma 1  Address: listed again with other measures; the "
                           "first row is kept"}));
    EXPECT_EQ(result.leftOut[0].reason, TReason::FamilyEntry);
    EXPECT_EQ(result.leftOut[1].reason, TReason::Repeated);
}

TEST(TemplateConverter, NamesMakersPrintersAndGroups)
{
    EXPECT_EQ(TTemplateConverter::MakerName("Avery"), "AVERY");
    EXPECT_EQ(TTemplateConverter::MakerName("  Herma "), "Herma");
    EXPECT_EQ(TTemplateConverter::MakerName("Worldlabel"), "Worldlabel");
    EXPECT_EQ(TTemplateConverter::MakerName("Online Labels"), "OnlineLbls");
    EXPECT_EQ(TTemplateConverter::MakerName("Micro Application"), "MicroApp");
    EXPECT_EQ(TTemplateConverter::MakerName("Some Long Maker"), "Some Long");

    EXPECT_EQ(TTemplateConverter::PrinterCode("Avery", "8160", false), "IJ");
    EXPECT_EQ(TTemplateConverter::PrinterCode("Avery", "18160", false), "IJ");
    EXPECT_EQ(TTemplateConverter::PrinterCode("Avery", "J8160", false), "IJ");
    EXPECT_EQ(TTemplateConverter::PrinterCode("Avery", "5160", false), "LJ");
    EXPECT_EQ(TTemplateConverter::PrinterCode("Avery", "L7160", false), "LJ");
    EXPECT_EQ(TTemplateConverter::PrinterCode("Herma", "8160", false), "LJ");
    EXPECT_EQ(TTemplateConverter::PrinterCode("Dymo", "99010", true), "LP");

    EXPECT_EQ(TTemplateConverter::KindOfSheet("Address labels"), "Address");
    EXPECT_EQ(TTemplateConverter::KindOfSheet("Jar labels, candle labels"), "Jar");
    EXPECT_EQ(TTemplateConverter::KindOfSheet("Binder Spine Inserts, for 1 inch binders"),
              "Binder Spine Inserts, For 1 Inch Binders");
    EXPECT_EQ(TTemplateConverter::KindOfSheet("Labels 29mm x  90mm\n"), "Labels 29mm x 90mm");
    EXPECT_EQ(TTemplateConverter::KindOfSheet("Labels"), "Labels");
    EXPECT_EQ(TTemplateConverter::Description("Brother", "DK-11201-old",
                                              "Standard Address Labels 29mm x 90mm (Old)"),
              "Brother DK-11201-old  Standard Address Labels 29mm x 90mm");
    EXPECT_EQ(TTemplateConverter::Description("Herma", "1", ""), "Herma 1");

    EXPECT_EQ(TTemplateConverter::ProductGroup("Diskette", {}), "DISKETTE LABELS");
    EXPECT_EQ(TTemplateConverter::ProductGroup("Lever Arch File", {}), "FILE FOLDER LABELS");
    EXPECT_EQ(TTemplateConverter::ProductGroup("Rectangular", {"filing"}), "FILE FOLDER LABELS");
    EXPECT_EQ(TTemplateConverter::ProductGroup("Divider", {}), "INDEX PRODUCTS");
    EXPECT_EQ(TTemplateConverter::ProductGroup("Rectangular", {"name-badge"}), "MISCELLANEOUS");
    EXPECT_EQ(TTemplateConverter::ProductGroup("Rectangular", {"business-card"}), "CARD PRODUCTS");
    EXPECT_EQ(TTemplateConverter::ProductGroup("Rectangular", {"label", "mail"}),
              "ADDRESS/SHIPPING LABELS");
    EXPECT_EQ(TTemplateConverter::ProductGroup("Shipping", {}), "ADDRESS/SHIPPING LABELS");
    EXPECT_EQ(TTemplateConverter::ProductGroup("Rectangular", {"label"}), "MISCELLANEOUS");
}

} // namespace
} // namespace qm::labels
