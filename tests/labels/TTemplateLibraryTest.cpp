// The whole template database Debian's glabels-data installs: the program's own reader agrees
// with the converter that made the shipped table, row for row, and twenty-two sheets of
// different makers, papers and shapes carry in the shipped table what their XML says.

#include "labels/TLabelTemplates.h"
#include "labels/TTemplateConverter.h"

#include "data/sysdata/TSysDataCsv.h"

#include <QDir>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>
#include <map>

namespace qm::labels {
namespace {

const QString kLibrary = QStringLiteral("/usr/share/libglabels-3.0/templates");
const QString kSysdata = QStringLiteral(QM_BUILD_DIR "/share/quillmark/sysdata");

QStringList LibraryFiles()
{
    return QDir(kLibrary).entryList({QStringLiteral("*-templates.xml")}, QDir::Files, QDir::Name);
}

TEST(TemplateLibrary, TheReaderMakesEveryRowTheConverterShipped)
{
    if (LibraryFiles().isEmpty())
        GTEST_SKIP() << "glabels-data is not installed";
    const auto csv =
        data::sysdata::TSysDataCsv::Read(QM_SOURCE_DIR "/resources/sysdata/lbltpl.csv");
    const int source = csv.ColumnIndex("SOURCE");
    std::map<QString, std::vector<std::string>> shipped;
    for (const auto& record : csv.Records())
        if (record.fields[size_t(source)].rfind("glabels ", 0) == 0)
            shipped[QString::fromStdString(record.fields[0])] = record.fields;

    int rows = 0;
    std::map<TTemplateConverter::TReason, int> leftOut;
    for (const QString& name : LibraryFiles()) {
        const TTemplateFile file = TTemplateFile::ReadFile(QDir(kLibrary).filePath(name));
        ASSERT_EQ(file.Problem(), QString()) << name.toStdString();
        const auto result = TTemplateConverter::Convert(file, name);
        for (const auto& l : result.leftOut)
            ++leftOut[l.reason];
        for (const TTemplateRow& row : result.rows) {
            ++rows;
            SCOPED_TRACE(row.description.toStdString());
            const auto it = shipped.find(row.description);
            ASSERT_NE(it, shipped.end());
            const std::vector<std::string>& f = it->second;
            const std::vector<std::string> made = {
                row.description.toStdString(),
                row.printer.toStdString(),
                row.labelHeight.ThreeDecimals().toStdString(),
                row.labelWidth.ThreeDecimals().toStdString(),
                std::to_string(row.across),
                std::to_string(row.down),
                row.topMargin.ThreeDecimals().toStdString(),
                row.leftMargin.ThreeDecimals().toStdString(),
                row.horizontalPitch.ThreeDecimals().toStdString(),
                row.verticalPitch.ThreeDecimals().toStdString(),
                row.sheetWidth.ThreeDecimals().toStdString(),
                row.sheetDepth.ThreeDecimals().toStdString(),
                row.paperSize.toStdString(),
                row.shape.toStdString(),
                row.maker.toStdString(),
                row.productGroup.toStdString(),
                row.midExtraX.ThreeDecimals().toStdString(),
                row.midExtraY.ThreeDecimals().toStdString(),
                row.art.toStdString()};
            EXPECT_EQ(made, std::vector<std::string>(f.begin(), f.begin() + 19));
            EXPECT_EQ("glabels " + row.source.toStdString(), f[size_t(source)]);
        }
    }
    EXPECT_EQ(rows, int(shipped.size()));
    // The converter's own summary of the same database.
    using R = TTemplateConverter::TReason;
    EXPECT_EQ(leftOut, (std::map<R, int>{{R::Disc, 144},
                                         {R::FamilyEntry, 18},
                                         {R::TooSmall, 37},
                                         {R::Other, 16},
                                         {R::UnequalGrid, 15}}));
}

// One sheet as its template file gives it: the paper, the label and its first layout block.
struct TSheet {
    const char* description;
    const char* paper; // a paper id, or "W x H"
    const char* kind;
    const char* width; // "2*r" for round labels
    const char* height;
    const char* round;
    const char* nx;
    const char* ny;
    const char* x0;
    const char* y0;
    const char* dx;
    const char* dy;
    const char* printer; // derived, not in the file
    const char* maker;
    const char* group;
};

// Copied from the template files of glabels-data 3.4.1.
const TSheet kSheets[] = {
    {"Avery 5160  Address", "US-Letter", "Label-rectangle", "2.625in", "1in", "0.0625in", "3", "10",
     "0.15625in", "0.5in", "2.78125in", "1in", "LJ", "AVERY", "ADDRESS/SHIPPING LABELS"},
    {"Avery L7160  Mailing", "A4", "Label-rectangle", "181.4", "108.0", "5", "3", "7", "21.2",
     "43.9", "187.2", "108.0", "LJ", "AVERY", "ADDRESS/SHIPPING LABELS"},
    {"Avery J8160  Mailing", "A4", "Label-rectangle", "181.4", "108.0", "5", "3", "7", "21.2",
     "43.9", "187.2", "108.0", "IJ", "AVERY", "ADDRESS/SHIPPING LABELS"},
    {"Herma 4283  Arch File Labels (small)", "A4", "Label-rectangle", "544.252", "110.551", "5",
     "1", "6", "25.5118", "32.5984", "544.252", "133.228", "LJ", "Herma", "FILE FOLDER LABELS"},
    {"Zweckform 32010  Business Cards", "A4", "Label-rectangle", "240.94", "153.07", "0", "2", "5",
     "40", "40", "269", "153", "LJ", "Zweckform", "CARD PRODUCTS"},
    {"Online Labels OL1025  Candle", "US-Letter", "Label-round", "2*0.5in", "2*0.5in", "", "7", "9",
     "0.375in", "0.5in", "1.125in", "1.125in", "LJ", "OnlineLbls", "MISCELLANEOUS"},
    {"SheetLabels SL107  Round", "US-Letter", "Label-round", "2*0.8125in", "2*0.8125in", "", "4",
     "6", "0.4157in", "0.549in", "2.0145in", "1.6554in", "LJ", "SheetLbls", "MISCELLANEOUS"},
    {"Uline S-5044  Shipping", "US-Letter", "Label-rectangle", "8.5in", "5.5in", "0in", "1", "2",
     "0in", "0in", "0in", "5.5in", "LJ", "Uline", "ADDRESS/SHIPPING LABELS"},
    {"Worldlabel WL-100  Address", "US-Letter", "Label-rectangle", "4in", "1.333333333in",
     "0.0625in", "2", "7", "0.15625in", "0.833333333in", "4.1875in", "1.333333333in", "LJ",
     "Worldlabel", "ADDRESS/SHIPPING LABELS"},
    {"Hisago CJH3019S  Round", "A4", "Label-round", "2*20mm", "2*20mm", "", "4", "6", "16mm",
     "13.5mm", "46mm", "46mm", "LJ", "Hisago", "MISCELLANEOUS"},
    {"Rayfilm 1123A3  Labels A3", "A3", "Label-rectangle", "297mm", "420mm", "0mm", "1", "1", "0mm",
     "0mm", "297mm", "420mm", "LJ", "Rayfilm", "MISCELLANEOUS"},
    {"Endisch 6400080x  Elliptical", "A4", "Label-ellipse", "80mm", "47mm", "", "2", "5", "15mm",
     "11mm", "100mm", "57mm", "LJ", "Endisch", "MISCELLANEOUS"},
    {"Igepa EA-1050x1480  Rectangular", "A4", "Label-rectangle", "105mm", "148mm", "0mm", "2", "2",
     "0mm", "0.5mm", "105mm", "148mm", "LJ", "Igepa", "MISCELLANEOUS"},
    {"JAC F-100  PVC", "323mm x 222.25mm", "Label-round", "2*50mm", "2*50mm", "", "3", "2", "3mm",
     "11.25mm", "107mm", "107.5mm", "LJ", "JAC", "MISCELLANEOUS"},
    {"Geha P10  Flyer Paper", "A4", "Label-rectangle", "210mm", "297mm", "0mm", "1", "1", "0mm",
     "0mm", "210mm", "297mm", "LJ", "Geha", "CARD PRODUCTS"},
    {"DECAdry DAW-327  Business Cards", "A4", "Label-rectangle", "240.945pt", "153.071pt", "0pt",
     "2", "5", "42.5197pt", "38.2677pt", "269.291pt", "153.071pt", "LJ", "DECAdry",
     "CARD PRODUCTS"},
    {"Ascom A4/24/MKII  Rectangular", "A4", "Label-rectangle", "181", "96", "10", "3", "8", "19",
     "36", "187", "96", "LJ", "Ascom", "MISCELLANEOUS"},
    {"Sattleford VM-6084  Elliptical", "A4", "Label-ellipse", "63.5mm", "42.3mm", "", "3", "6",
     "7.25mm", "11.6mm", "66mm", "46.3mm", "LJ", "Sattleford", "MISCELLANEOUS"},
    {"Dymo 99010  Address", "28mm x 89mm", "Label-rectangle", "28mm", "89mm", "0pt", "1", "1",
     "0pt", "0pt", "28mm", "89mm", "LP", "Dymo", "ADDRESS/SHIPPING LABELS"},
    {"Brother DK-1201  Standard Address Labels 29mm x 90mm", "82pt x 255pt", "Label-rectangle",
     "82pt", "255pt", "4pt", "1", "1", "0", "0", "0", "0", "LP", "Brother",
     "ADDRESS/SHIPPING LABELS"},
    {"Southworth BC#11  Business Cards", "US-Letter", "Label-rectangle", "252", "144", "0", "2",
     "5", "36", "36", "288", "144", "LJ", "Southworth", "CARD PRODUCTS"},
    {"Agipa 114036  Rectangular", "A5", "Label-rectangle", "18.5mm", "48.5mm", "10", "7", "4",
     "4mm", "2mm", "20mm", "49mm", "LJ", "Agipa", "MISCELLANEOUS"},
};

// Inches from a length of the file, computed here on its own: a bare number is points.
double Inches(const QString& text)
{
    static const QRegularExpression re(QStringLiteral("^(2\\*)?([0-9.]+)(in|mm|pt)?$"));
    const QRegularExpressionMatch m = re.match(text);
    EXPECT_TRUE(m.hasMatch()) << text.toStdString();
    double value = m.captured(2).toDouble() * (m.captured(1).isEmpty() ? 1 : 2);
    if (m.captured(3) == QLatin1String("mm"))
        value /= 25.4;
    else if (m.captured(3) != QLatin1String("in"))
        value /= 72;
    return value;
}

QString Three(double inches)
{
    return QString::number(inches, 'f', 3);
}

TEST(TemplateLibrary, TwentyTwoSheetsCarryWhatTheirXmlSays)
{
    TLabelTemplates templates;
    ASSERT_EQ(templates.Open(kSysdata), QString());
    QSet<QString> makers, papers, shapes;
    for (const TSheet& s : kSheets) {
        SCOPED_TRACE(s.description);
        const std::optional<TLabelGeometry> g = templates.Find(QString::fromUtf8(s.description));
        ASSERT_TRUE(g);
        double width = Inches(s.width);
        double height = Inches(s.height);
        const int nx = QString(s.nx).toInt();
        const int ny = QString(s.ny).toInt();
        double sheetW = 0;
        double sheetH = 0;
        QString paper = QString::fromLatin1(s.paper);
        const QStringList explicitSize = paper.split(QStringLiteral(" x "));
        if (explicitSize.size() == 2) {
            sheetW = Inches(explicitSize[0]);
            sheetH = Inches(explicitSize[1]);
            paper = sheetW > sheetH ? "USERL" : "USERP";
        } else if (paper == "US-Letter") {
            sheetW = 8.5, sheetH = 11, paper = "LTR";
        } else if (paper == "A4") {
            sheetW = 210 / 25.4, sheetH = 297 / 25.4;
        } else if (paper == "A5") {
            sheetW = 148 / 25.4, sheetH = 210 / 25.4;
        } else if (paper == "A3") {
            sheetW = 297 / 25.4, sheetH = 420 / 25.4, paper = "USERP";
        }
        double pitchX = nx > 1 ? Inches(s.dx) : width;
        double pitchY = ny > 1 ? Inches(s.dy) : height;
        // A label at most 0.01 in larger than its pitch is cut to the pitch.
        if (nx > 1 && width > pitchX && width - pitchX <= 0.01)
            width = pitchX;
        if (ny > 1 && height > pitchY && height - pitchY <= 0.01)
            height = pitchY;
        // Label-printer stock is turned so that its long side runs across.
        if (QLatin1String(s.printer) == QLatin1String("LP") && height > width) {
            std::swap(width, height);
            std::swap(sheetW, sheetH);
            pitchX = width, pitchY = height;
            paper = "USERL";
        }
        const QString shape = QLatin1String(s.kind) != QLatin1String("Label-rectangle") ? "EL"
                              : Inches(QString(s.round).isEmpty() ? "0" : s.round) > 0  ? "RR"
                                                                                        : "SR";
        EXPECT_EQ(Three(g->labelHeight), Three(height));
        EXPECT_EQ(Three(g->labelWidth), Three(width));
        EXPECT_EQ(g->across, nx);
        EXPECT_EQ(g->down, ny);
        EXPECT_EQ(Three(g->topMargin), Three(Inches(s.y0)));
        EXPECT_EQ(Three(g->leftMargin), Three(Inches(s.x0)));
        EXPECT_EQ(Three(g->horizontalPitch), Three(pitchX));
        EXPECT_EQ(Three(g->verticalPitch), Three(pitchY));
        EXPECT_EQ(Three(g->sheetWidth), Three(sheetW));
        EXPECT_EQ(Three(g->sheetDepth), Three(sheetH));
        EXPECT_EQ(g->paperSize, paper);
        EXPECT_EQ(g->shape, shape);
        EXPECT_EQ(g->printer, s.printer);
        EXPECT_EQ(g->maker, s.maker);
        EXPECT_EQ(g->productGroup, s.group);
        EXPECT_EQ(g->midExtraX, 0.0f);
        EXPECT_EQ(g->midExtraY, 0.0f);
        EXPECT_EQ(g->art, QString());
        makers.insert(g->maker);
        papers.insert(g->paperSize);
        shapes.insert(g->shape);
    }
    EXPECT_EQ(makers.size(), 20); // three Avery sheets
    EXPECT_EQ(papers, (QSet<QString>{"LTR", "A4", "A5", "USERP", "USERL"}));
    EXPECT_EQ(shapes, (QSet<QString>{"RR", "SR", "EL"}));
}

} // namespace
} // namespace qm::labels
