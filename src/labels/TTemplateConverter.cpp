#include "labels/TTemplateConverter.h"

#include "data/TWin1252.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>
#include <tuple>

namespace qm::labels {
namespace {

using TLength = TTemplateLength;
using TReason = TTemplateConverter::TReason;

constexpr int kDescriptionWidth = 60;
constexpr int kMakerWidth = 10;
constexpr int kArtWidth = 12;
constexpr int kMaxCount = 99;

const TLength kLineUp = TLength::Thousandths(1);    // blocks line up within 0.001 in
const TLength kTouching = TLength::Thousandths(10); // a label at most 0.01 in over its pitch
const TLength kMinHeight = TLength::Thousandths(300);
const TLength kMinWidth = TLength::Thousandths(500);

// A template that cannot become a row: the whole message and why.
struct TRefusal {
    QString message;
    TReason reason = TReason::Other;
};

[[noreturn]] void Refuse(const QString& message, TReason reason = TReason::Other)
{
    throw TRefusal{message, reason};
}

QString Quoted(const std::optional<QString>& text)
{
    return text ? QStringLiteral("'%1'").arg(*text) : QStringLiteral("None");
}

TLength Length(const std::optional<QString>& text, const QString& where, const QString& what)
{
    if (!text)
        Refuse(QStringLiteral("%1: the %2 is missing").arg(where, what));
    QString why;
    const std::optional<TLength> length = TLength::Parse(*text, &why);
    if (!length) {
        if (why == QLatin1String("is out of range"))
            Refuse(QStringLiteral("%1: %2 %3 is out of range").arg(where, what, Quoted(text)));
        Refuse(QStringLiteral("%1: %2 %3 is not understood").arg(where, what, Quoted(text)));
    }
    return *length;
}

TLength LengthOr(const std::optional<QString>& text, const QString& fallback, const QString& where,
                 const QString& what)
{
    return Length(text ? text : std::optional<QString>(fallback), where, what);
}

int Count(const std::optional<QString>& text, const QString& where, const QString& what)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*[0-9]{1,4}\\s*$"));
    if (!text || !pattern.match(*text).hasMatch())
        Refuse(QStringLiteral("%1: %2 %3 is not a count").arg(where, what, Quoted(text)));
    return text->trimmed().toInt();
}

QString Simplified(const std::optional<QString>& text)
{
    return text ? text->simplified() : QString();
}

// Paper sizes by the database's id: the code ("" for USERP/USERL) and the size in tenths of a
// millimetre or thousandths of an inch.
struct TPaper {
    const char* id;
    const char* code;
    TLength width, height;
};

TLength Mm(int millimetres)
{
    return TLength::FromUnits(int64_t(millimetres) * 360'000'000'000);
}

TLength In(int thousandths)
{
    return TLength::Thousandths(thousandths);
}

const std::vector<TPaper>& Papers()
{
    static const std::vector<TPaper> papers = {
        {"US-Letter", "LTR", In(8500), In(11000)},
        {"A4", "A4", Mm(210), Mm(297)},
        {"A5", "A5", Mm(148), Mm(210)},
        {"US-Legal", "", In(8500), In(14000)},
        {"US-Executive", "", In(7250), In(10500)},
        {"A0", "", Mm(841), Mm(1189)},
        {"A1", "", Mm(594), Mm(841)},
        {"A2", "", Mm(420), Mm(594)},
        {"A3", "", Mm(297), Mm(420)},
        {"A6", "", Mm(105), Mm(148)},
        {"A7", "", Mm(74), Mm(105)},
        {"A8", "", Mm(52), Mm(74)},
        {"A9", "", Mm(37), Mm(52)},
        {"A10", "", Mm(26), Mm(37)},
        {"B0", "", Mm(1000), Mm(1414)},
        {"B1", "", Mm(707), Mm(1000)},
        {"B2", "", Mm(500), Mm(707)},
        {"B3", "", Mm(353), Mm(500)},
        {"B4", "", Mm(250), Mm(353)},
        {"B5", "", Mm(176), Mm(250)},
        {"B6", "", Mm(125), Mm(176)},
        {"B7", "", Mm(88), Mm(125)},
        {"B8", "", Mm(62), Mm(88)},
        {"B9", "", Mm(44), Mm(62)},
        {"B10", "", Mm(31), Mm(44)},
        {"number10", "", In(4125), In(9500)},
        {"monarch", "", In(3875), In(7500)},
        {"c5", "", Mm(162), Mm(229)},
        {"c6", "", Mm(114), Mm(162)},
        {"dl", "", Mm(110), Mm(220)},
        {"RA0", "", Mm(860), Mm(1220)},
        {"RA1", "", Mm(610), Mm(860)},
        {"RA2", "", Mm(430), Mm(610)},
        {"RA3", "", Mm(305), Mm(430)},
        {"RA4", "", Mm(215), Mm(305)},
        {"SRA0", "", Mm(900), Mm(1280)},
        {"SRA1", "", Mm(640), Mm(900)},
        {"SRA2", "", Mm(450), Mm(640)},
        {"SRA3", "", Mm(320), Mm(450)},
        {"SRA4", "", Mm(225), Mm(320)},
    };
    return papers;
}

struct TBlock {
    int nx = 0, ny = 0;
    TLength x0, y0, dx, dy;
    bool operator==(const TBlock&) const = default;
};

struct TGrid {
    int nx = 0, ny = 0;
    TLength x0, y0, dx, dy, extraX, extraY;
};

// The distinct positions among values (a value within kLineUp of the one before it counts as the
// same position, which is the smallest of its group) and each value's position index.
std::pair<std::vector<TLength>, std::map<int64_t, int>> LineUp(std::vector<TLength> values)
{
    std::sort(values.begin(), values.end());
    std::vector<TLength> lines;
    std::map<int64_t, int> index;
    for (size_t i = 0; i < values.size(); ++i) {
        if (i == 0 || values[i] - values[i - 1] > kLineUp)
            lines.push_back(values[i]);
        index[values[i].Units()] = int(lines.size()) - 1;
    }
    return {lines, index};
}

// Pitch and middle gap along one direction (see the converter script's regular()).
std::pair<TLength, TLength> Regular(const std::vector<TLength>& lines, TLength size,
                                    const QString& where)
{
    if (lines.size() == 1)
        return {size, TLength()};
    std::vector<TLength> steps;
    for (size_t i = 0; i + 1 < lines.size(); ++i)
        steps.push_back(lines[i + 1] - lines[i]);
    const size_t middle = lines.size() / 2 - 1;
    std::vector<TLength> others;
    for (size_t i = 0; i < steps.size(); ++i)
        if (i != middle)
            others.push_back(steps[i]);
    const TLength pitch = others.empty() ? steps[middle] : others.front();
    for (const TLength& step : others)
        if ((step - pitch).Abs() > kLineUp)
            Refuse(QStringLiteral("%1: layout blocks do not form one grid").arg(where),
                   TReason::UnequalGrid);
    const TLength extra = steps[middle] - pitch;
    if (extra < TLength() - kLineUp)
        Refuse(QStringLiteral("%1: layout blocks do not form one grid").arg(where),
               TReason::UnequalGrid);
    return {pitch, extra > kLineUp ? extra : TLength()};
}

TGrid MergedGrid(const std::vector<TTemplateFileLayout>& layouts, TLength width, TLength height,
                 const QString& where)
{
    if (layouts.empty())
        Refuse(QStringLiteral("%1: the label has no layout").arg(where), TReason::UnequalGrid);
    std::vector<TBlock> blocks;
    for (const TTemplateFileLayout& layout : layouts) {
        TBlock b;
        b.nx = Count(layout.nx, where, QStringLiteral("nx"));
        b.ny = Count(layout.ny, where, QStringLiteral("ny"));
        b.x0 = LengthOr(layout.x0, QStringLiteral("0"), where, QStringLiteral("x0"));
        b.y0 = LengthOr(layout.y0, QStringLiteral("0"), where, QStringLiteral("y0"));
        b.dx = LengthOr(layout.dx, QStringLiteral("0"), where, QStringLiteral("dx"));
        b.dy = LengthOr(layout.dy, QStringLiteral("0"), where, QStringLiteral("dy"));
        if (b.nx < 1 || b.nx > kMaxCount || b.ny < 1 || b.ny > kMaxCount)
            Refuse(QStringLiteral("%1: counts outside 1..%2").arg(where).arg(kMaxCount));
        // A block repeated word for word adds no labels.
        if (std::find(blocks.begin(), blocks.end(), b) == blocks.end())
            blocks.push_back(b);
    }
    if (blocks.size() == 1) {
        const TBlock& b = blocks.front();
        return {b.nx,      b.ny,     b.x0, b.y0, b.nx > 1 ? b.dx : width, b.ny > 1 ? b.dy : height,
                TLength(), TLength()};
    }

    std::vector<TLength> xs, ys;
    for (const TBlock& b : blocks) {
        for (int i = 0; i < b.nx; ++i)
            xs.push_back(b.x0 + b.dx * i);
        for (int j = 0; j < b.ny; ++j)
            ys.push_back(b.y0 + b.dy * j);
    }
    const auto [columns, columnOf] = LineUp(xs);
    const auto [rows, rowOf] = LineUp(ys);
    if (columns.size() > size_t(kMaxCount) || rows.size() > size_t(kMaxCount))
        Refuse(QStringLiteral("%1: counts outside 1..%2").arg(where).arg(kMaxCount));
    std::set<std::pair<int, int>> cells;
    for (const TBlock& b : blocks)
        for (int i = 0; i < b.nx; ++i)
            for (int j = 0; j < b.ny; ++j) {
                const std::pair<int, int> cell{columnOf.at((b.x0 + b.dx * i).Units()),
                                               rowOf.at((b.y0 + b.dy * j).Units())};
                if (!cells.insert(cell).second)
                    Refuse(QStringLiteral("%1: layout blocks overlap").arg(where),
                           TReason::UnequalGrid);
            }
    if (cells.size() != columns.size() * rows.size())
        Refuse(QStringLiteral("%1: layout blocks do not form one grid").arg(where),
               TReason::UnequalGrid);
    const auto [dx, extraX] = Regular(columns, width, where);
    const auto [dy, extraY] = Regular(rows, height, where);
    return {int(columns.size()),
            int(rows.size()),
            columns.front(),
            rows.front(),
            dx,
            dy,
            extraX,
            extraY};
}

// The geometry of one template (not an equivalent): everything but the names and codes that
// come from the maker, product number and description.
TTemplateRow Geometry(const TTemplateFileEntry& t, const QString& where)
{
    TTemplateRow row;
    QString paper;
    TLength sheetW, sheetH;
    const std::optional<QString>& size = t.size;
    const bool ownSize = (size && *size == QLatin1String("Other")) || (!size && t.width);
    if (ownSize) {
        sheetW = Length(t.width, where, QStringLiteral("paper width"));
        sheetH = Length(t.height, where, QStringLiteral("paper height"));
    } else {
        const auto found = std::find_if(Papers().begin(), Papers().end(), [&](const TPaper& p) {
            return size && *size == QLatin1String(p.id);
        });
        if (found == Papers().end())
            Refuse(QStringLiteral("%1: paper size %2 is not known").arg(where, Quoted(size)));
        paper = QLatin1String(found->code);
        sheetW = found->width;
        sheetH = found->height;
    }

    int shapes = 0;
    const TTemplateFileLabel* label = nullptr;
    for (const TTemplateFileLabel& l : t.labels) {
        ++shapes;
        label = &l;
    }
    if (shapes != 1)
        Refuse(QStringLiteral("%1: %2 label shapes").arg(where).arg(shapes));
    const auto attribute = [label](const char* name) -> std::optional<QString> {
        const auto it = label->attributes.find(QLatin1String(name));
        if (it == label->attributes.end())
            return std::nullopt;
        return *it;
    };
    TLength width, height;
    if (label->kind == QLatin1String("Label-rectangle")) {
        width = Length(attribute("width"), where, QStringLiteral("label width"));
        height = Length(attribute("height"), where, QStringLiteral("label height"));
        const TLength corner =
            LengthOr(attribute("round"), QStringLiteral("0"), where, QStringLiteral("corner"));
        row.shape = corner > TLength() ? QStringLiteral("RR") : QStringLiteral("SR");
    } else if (label->kind == QLatin1String("Label-round")) {
        width = height = Length(attribute("radius"), where, QStringLiteral("radius")) * 2;
        row.shape = QStringLiteral("EL");
    } else if (label->kind == QLatin1String("Label-ellipse")) {
        width = Length(attribute("width"), where, QStringLiteral("label width"));
        height = Length(attribute("height"), where, QStringLiteral("label height"));
        row.shape = QStringLiteral("EL");
    } else if (label->kind == QLatin1String("Label-cd")) {
        Refuse(QStringLiteral("%1: Label-cd cannot be described (disc labels)").arg(where),
               TReason::Disc);
    } else if (label->kind == QLatin1String("Label-continuous")) {
        Refuse(QStringLiteral("%1: Label-continuous cannot be described (a continuous roll)")
                   .arg(where),
               TReason::ContinuousRoll);
    } else {
        Refuse(QStringLiteral("%1: %2 cannot be described").arg(where, label->kind));
    }

    const TGrid grid = MergedGrid(label->layouts, width, height, where);
    TLength pitchX = grid.dx;
    TLength pitchY = grid.dy;
    if (grid.nx > 1 && width - pitchX > TLength() && width - pitchX <= kTouching)
        width = pitchX;
    if (grid.ny > 1 && height - pitchY > TLength() && height - pitchY <= kTouching)
        height = pitchY;

    // Label-printer stock: a page of a size of its own (no named paper) holding one label and
    // nothing else, turned so that its long side runs across.
    const bool labelPrinter = ownSize && grid.nx == 1 && grid.ny == 1 && grid.x0 == TLength() &&
                              grid.y0 == TLength() && (width - sheetW).Abs() <= kLineUp &&
                              (height - sheetH).Abs() <= kLineUp;
    if (labelPrinter && height > width) {
        std::swap(width, height);
        std::swap(sheetW, sheetH);
    }
    if (labelPrinter) {
        pitchX = width;
        pitchY = height;
    }
    if (paper.isEmpty())
        paper = sheetW > sheetH ? QStringLiteral("USERL") : QStringLiteral("USERP");

    row.printer = labelPrinter ? QStringLiteral("LP") : QString();
    row.labelHeight = height;
    row.labelWidth = width;
    row.across = grid.nx;
    row.down = grid.ny;
    row.topMargin = grid.y0;
    row.leftMargin = grid.x0;
    row.horizontalPitch = pitchX;
    row.verticalPitch = pitchY;
    row.sheetWidth = sheetW;
    row.sheetDepth = sheetH;
    row.paperSize = paper;
    row.midExtraX = grid.extraX;
    row.midExtraY = grid.extraY;
    return row;
}

// Avery's A4 family numbers ("7160"), which others name as their equivalent and which are not
// sold under that number.
QSet<QString> FamilyHeads(const std::vector<TTemplateFileEntry>& templates)
{
    QSet<QString> named;
    for (const TTemplateFileEntry& t : templates)
        if (t.equiv && !t.equiv->isEmpty())
            named.insert(*t.equiv);
    QSet<QString> heads;
    for (const TTemplateFileEntry& t : templates) {
        const QString part = t.part.value_or(QString());
        if (t.brand.value_or(QString()).toLower() == QLatin1String("avery") && t.size &&
            *t.size == QLatin1String("A4") && !part.isEmpty() && part[0].isDigit() &&
            part[0].unicode() < 128 && named.contains(part))
            heads.insert(part);
    }
    return heads;
}

// The checks on a finished row, made on the values as stored; "" when it passes.
QString Problems(const TTemplateRow& row)
{
    QStringList problems;
    if (row.description.isEmpty() || row.description.size() > kDescriptionWidth)
        problems << QStringLiteral("description must be 1..%1 characters").arg(kDescriptionWidth);
    for (const auto& [column, text] :
         {std::pair{"DESCRIPT", row.description}, std::pair{"MANUFAC", row.maker}}) {
        if (!data::TWin1252::CanEncode(text))
            problems << QStringLiteral("%1 has a character outside Windows-1252").arg(column);
        if (std::any_of(text.begin(), text.end(),
                        [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; }))
            problems << QStringLiteral("%1 has a control character").arg(column);
    }
    static const QStringList printers = {"LJ", "IJ", "DM", "LP"};
    static const QStringList papers = {"LTR", "LTRL", "A4", "A4L", "A5", "USERP", "USERL"};
    static const QStringList shapes = {"RR", "SR", "EL"};
    static const QStringList groups = {"ADDRESS/SHIPPING LABELS", "CARD PRODUCTS",
                                       "DISKETTE LABELS",         "FILE FOLDER LABELS",
                                       "INDEX PRODUCTS",          "MISCELLANEOUS"};
    if (!printers.contains(row.printer))
        problems << QStringLiteral("printer code '%1'").arg(row.printer);
    if (!papers.contains(row.paperSize))
        problems << QStringLiteral("paper code '%1'").arg(row.paperSize);
    if (!shapes.contains(row.shape))
        problems << QStringLiteral("shape code '%1'").arg(row.shape);
    if (row.maker.isEmpty() || row.maker.size() > kMakerWidth ||
        row.maker.contains(QLatin1Char('"')) || row.maker.toUpper() == QLatin1String("USER"))
        problems << QStringLiteral("maker '%1'").arg(row.maker);
    if (!groups.contains(row.productGroup))
        problems << QStringLiteral("product group '%1'").arg(row.productGroup);
    if (row.art.size() > kArtWidth)
        problems << QStringLiteral("art name too long");

    // Thousandths as stored.
    const auto v = [](TLength length) { return length.RoundedThousandths(); };
    const std::pair<const char*, TLength> lengths[] = {
        {"LBLHEIGHT", row.labelHeight},      {"LBLWIDTH", row.labelWidth},
        {"TOPMARG", row.topMargin},          {"LEFTMARG", row.leftMargin},
        {"HORIZPITCH", row.horizontalPitch}, {"VERTPITCH", row.verticalPitch},
        {"SHEETWIDTH", row.sheetWidth},      {"SHEETDEPTH", row.sheetDepth},
        {"MIDEXTRAX", row.midExtraX},        {"MIDEXTRAY", row.midExtraY}};
    for (const auto& [column, length] : lengths)
        if (v(length) < 0 || v(length) >= 100'000)
            problems << QStringLiteral("%1 %2 outside 0..99.999")
                            .arg(QLatin1String(column), length.ThreeDecimals());
    if (v(row.labelHeight) < 300 || v(row.labelWidth) < 500)
        problems << QStringLiteral("label smaller than the program's minimum");
    if (row.across < 1 || row.across > kMaxCount || row.down < 1 || row.down > kMaxCount)
        problems << QStringLiteral("counts outside 1..%1").arg(kMaxCount);
    if (row.across > 1 && v(row.horizontalPitch) < v(row.labelWidth))
        problems << QStringLiteral("horizontal pitch below the label width");
    if (row.down > 1 && v(row.verticalPitch) < v(row.labelHeight))
        problems << QStringLiteral("vertical pitch below the label height");
    const int64_t slack = 10; // the source's own rounding of fractions such as 2/3 in
    const int64_t right = v(row.leftMargin) + (row.across - 1) * v(row.horizontalPitch) +
                          v(row.midExtraX) + v(row.labelWidth);
    const int64_t bottom = v(row.topMargin) + (row.down - 1) * v(row.verticalPitch) +
                           v(row.midExtraY) + v(row.labelHeight);
    if (right > v(row.sheetWidth) + slack || bottom > v(row.sheetDepth) + slack)
        problems << QStringLiteral("the labels run off the sheet");
    const bool landscape = row.paperSize == QLatin1String("LTRL") ||
                           row.paperSize == QLatin1String("A4L") ||
                           row.paperSize == QLatin1String("USERL");
    static const QStringList standard = {"LTR", "LTRL", "A4", "A4L", "A5"};
    if (landscape != (v(row.sheetWidth) > v(row.sheetDepth)) && standard.contains(row.paperSize))
        problems << QStringLiteral("paper code and sheet orientation disagree");
    return problems.join(QStringLiteral("; "));
}

} // namespace

QString TTemplateConverter::MakerName(const QString& brand)
{
    static const QHash<QString, QString> shortNames = {
        {QStringLiteral("Online Labels"), QStringLiteral("OnlineLbls")},
        {QStringLiteral("SheetLabels"), QStringLiteral("SheetLbls")},
        {QStringLiteral("Your Design"), QStringLiteral("YourDesign")},
        {QStringLiteral("Cable Label Co"), QStringLiteral("CableLabel")},
        {QStringLiteral("Great Gizmos"), QStringLiteral("GreatGizmo")},
        {QStringLiteral("Imation-SoniX"), QStringLiteral("Imation")},
        {QStringLiteral("Micro Application"), QStringLiteral("MicroApp")},
        {QStringLiteral("Best Office"), QStringLiteral("BestOffice")},
    };
    const QString name = brand.simplified();
    if (name.toLower() == QLatin1String("avery"))
        return QStringLiteral("AVERY");
    if (name.size() <= kMakerWidth)
        return name;
    const auto it = shortNames.find(name);
    if (it != shortNames.end())
        return *it;
    QString cut = name.left(kMakerWidth);
    while (cut.endsWith(QLatin1Char(' ')))
        cut.chop(1);
    return cut;
}

QString TTemplateConverter::PrinterCode(const QString& brand, const QString& part,
                                        bool labelPrinter)
{
    if (labelPrinter)
        return QStringLiteral("LP");
    if (brand.toLower() != QLatin1String("avery"))
        return QStringLiteral("LJ");
    if (part.startsWith(QLatin1Char('J')) || part.startsWith(QLatin1Char('C')))
        return QStringLiteral("IJ");
    if (part.startsWith(QLatin1Char('L')))
        return QStringLiteral("LJ");
    QString number;
    for (QChar c : part) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        number += c;
    }
    if (number.size() == 4 && (number[0] == QLatin1Char('8') || number[0] == QLatin1Char('3')))
        return QStringLiteral("IJ");
    if (number.size() == 5 &&
        (number.startsWith(QLatin1String("18")) || number.startsWith(QLatin1String("28")) ||
         number.startsWith(QLatin1String("48"))))
        return QStringLiteral("IJ");
    return QStringLiteral("LJ");
}

QString TTemplateConverter::ProductGroup(const QString& kindOfSheet, const QStringList& categories)
{
    const auto matches = [text = kindOfSheet.toLower()](const char* pattern) {
        const QRegularExpression re(QLatin1String(pattern),
                                    QRegularExpression::UseUnicodePropertiesOption);
        return re.match(text).hasMatch();
    };
    const auto has = [&categories](const char* category) {
        return categories.contains(QLatin1String(category));
    };
    if (matches("\\bdisk|diskette"))
        return QStringLiteral("DISKETTE LABELS");
    if (matches("fil(e|ing)\\b") || has("filing"))
        return QStringLiteral("FILE FOLDER LABELS");
    if (matches("index|\\btabs?\\b|divider"))
        return QStringLiteral("INDEX PRODUCTS");
    if (matches("badge") || has("name-badge"))
        return QStringLiteral("MISCELLANEOUS");
    if (has("card") || has("business-card") || has("foldable") || matches("card|post ?card|tent"))
        return QStringLiteral("CARD PRODUCTS");
    if (has("mail") || matches("address|shipping|mailing|return"))
        return QStringLiteral("ADDRESS/SHIPPING LABELS");
    return QStringLiteral("MISCELLANEOUS");
}

QString TTemplateConverter::KindOfSheet(const QString& description)
{
    QString text = description;
    const QStringList uses = description.split(QLatin1Char(','));
    static const QRegularExpression labelsAtEnd(QStringLiteral("\\blabels?\\s*$"),
                                                QRegularExpression::CaseInsensitiveOption |
                                                    QRegularExpression::UseUnicodePropertiesOption);
    if (uses.size() > 1 && std::all_of(uses.begin(), uses.end(), [](const QString& use) {
            return labelsAtEnd.match(use).hasMatch();
        }))
        text = uses.front();
    QStringList words = text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (QString& word : words)
        if (word != QLatin1String("x"))
            word = word.left(1).toUpper() + word.mid(1);
    if (words.size() > 1 && words.back().toLower() == QLatin1String("labels"))
        words.removeLast();
    return words.join(QLatin1Char(' '));
}

QString TTemplateConverter::Description(const QString& brand, const QString& part,
                                        const QString& kind)
{
    const QString head = brand.simplified() + QLatin1Char(' ') + part.simplified();
    QStringList words = kind.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    while (!words.isEmpty() &&
           head.size() + 2 + words.join(QLatin1Char(' ')).size() > kDescriptionWidth)
        words.removeLast();
    return words.isEmpty() ? head : head + QStringLiteral("  ") + words.join(QLatin1Char(' '));
}

QString TTemplateConverter::ReasonText(TReason reason)
{
    switch (reason) {
    case TReason::Disc:
        return QStringLiteral("disc labels");
    case TReason::ContinuousRoll:
        return QStringLiteral("continuous rolls");
    case TReason::UnequalGrid:
        return QStringLiteral("unequal grids");
    case TReason::TooSmall:
        return QStringLiteral("labels below the minimum size");
    case TReason::FamilyEntry:
        return QStringLiteral("family entries without a product number");
    case TReason::Repeated:
        return QStringLiteral("products listed twice");
    case TReason::Other:
        break;
    }
    return QStringLiteral("other faults");
}

TTemplateConverter::TResult TTemplateConverter::Convert(const TTemplateFile& file,
                                                        const QString& fileName)
{
    TResult result;
    const std::vector<TTemplateFileEntry>& templates = file.Templates();
    QHash<QPair<QString, QString>, const TTemplateFileEntry*> byPart;
    for (const TTemplateFileEntry& t : templates) {
        const QPair<QString, QString> key{t.brand.value_or(QString()), t.part.value_or(QString())};
        if (!byPart.contains(key))
            byPart.insert(key, &t);
    }
    const QSet<QString> heads = FamilyHeads(templates);
    QHash<QString, size_t> first; // description -> index in result.rows

    for (const TTemplateFileEntry& t : templates) {
        const QString brand = Simplified(t.brand);
        const QString part = Simplified(t.part);
        const QString where = QStringLiteral("%1: %2 %3").arg(fileName, brand, part);
        try {
            if (brand.isEmpty() || part.isEmpty())
                Refuse(QStringLiteral("%1: a template needs a brand and a part").arg(where));
            const TTemplateFileEntry* base = &t;
            QSet<QString> seen;
            while (base->equiv && !base->equiv->isEmpty()) {
                seen.insert(base->part.value_or(QString()));
                const QString brandOfSheet =
                    base->equivBrand.value_or(base->brand.value_or(QString()));
                const TTemplateFileEntry* next =
                    byPart.value({brandOfSheet, *base->equiv}, nullptr);
                if (!next || seen.contains(next->part.value_or(QString())))
                    Refuse(QStringLiteral("%1: equivalent %2 not found").arg(where, *base->equiv));
                base = next;
            }
            if (heads.contains(t.part.value_or(QString())))
                Refuse(QStringLiteral("%1: not a product number").arg(where), TReason::FamilyEntry);
            TTemplateRow row = Geometry(*base, where);
            if (row.labelHeight < kMinHeight || row.labelWidth < kMinWidth)
                Refuse(QStringLiteral("%1: label smaller than the program's minimum (0.3 in high, "
                                      "0.5 in wide)")
                           .arg(where),
                       TReason::TooSmall);
            const QString kind = KindOfSheet(base->description.value_or(QString()));
            row.description = Description(brand, part, kind);
            row.printer = PrinterCode(brand, part, !row.printer.isEmpty());
            row.maker = MakerName(brand);
            row.productGroup = ProductGroup(kind, base->categories);
            row.source = fileName + QLatin1Char(' ') + base->part.value_or(QString());
            if (const QString problems = Problems(row); !problems.isEmpty())
                Refuse(QStringLiteral("%1: %2").arg(where, problems));

            const auto earlier = first.find(row.description);
            if (earlier != first.end()) {
                const bool same = result.rows[*earlier].SameColumns(row);
                Refuse(QStringLiteral("%1: %2: listed again%3; the first row is kept")
                           .arg(fileName, row.description,
                                same ? QString() : QStringLiteral(" with other measures")),
                       TReason::Repeated);
            }
            first.insert(row.description, result.rows.size());
            result.rows.push_back(std::move(row));
        } catch (const TRefusal& refusal) {
            result.leftOut.push_back({refusal.message, refusal.reason});
        }
    }
    return result;
}

} // namespace qm::labels
