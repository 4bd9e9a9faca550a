#include "labels/TLabelEditForm.h"

#include <cmath>
#include <iterator>

namespace qm::labels {
namespace {

struct TPaper {
    const char* item;
    const char* code;
    double width; // inches; 0 for the user-defined items, which leave the fields alone
    double height;
};

const TPaper kPapers[] = {
    {"Letter (8.5 x 11\")", "LTR", 8.5, 11},
    {"Letter Landscape (11 x 8.5\")", "LTRL", 11, 8.5},
    {"A4 (210 x 297mm)", "A4", 8.27, 11.69},
    {"A4 Landscape ( 297 x 210mm)", "A4L", 11.69, 8.27},
    {"A5 (148 x 210mm)", "A5", 5.82, 8.27},
    {"Other Portrait (User Defined)", "USERP", 0, 0},
    {"Other Landscape (User Defined)", "USERL", 0, 0},
};

const char* const kShapeCodes[] = {"RR", "SR", "EL"};

double Round3(double inches)
{
    return std::round(inches * 1000.0) / 1000.0;
}

// Lengths compared as whole thousandths, the precision they are typed and stored in.
long long Thousandths(double inches)
{
    return std::llround(inches * 1000.0);
}

} // namespace

QString TLabelEditForm::Caption(TLength field)
{
    static const char* const captions[] = {"Label Height",   "Label Width", "Horizontal Pitch",
                                           "Vertical Pitch", "Left Margin", "Top Margin",
                                           "Paper Width",    "Paper Height"};
    return QLatin1String(captions[size_t(field)]);
}

const QStringList& TLabelEditForm::PaperItems()
{
    static const QStringList items = [] {
        QStringList list;
        for (const TPaper& paper : kPapers)
            list << QString::fromLatin1(paper.item);
        return list;
    }();
    return items;
}

QString TLabelEditForm::PaperCode(int item)
{
    if (item < 0 || item >= static_cast<int>(std::size(kPapers)))
        return {};
    return QLatin1String(kPapers[item].code);
}

const QStringList& TLabelEditForm::ShapeItems()
{
    static const QStringList items = {QStringLiteral("Rectangular with Rounded Edges"),
                                      QStringLiteral("Rectangular"), QStringLiteral("Round")};
    return items;
}

QString TLabelEditForm::ShapeCode(int item)
{
    if (item < 0 || item >= static_cast<int>(std::size(kShapeCodes)))
        return {};
    return QLatin1String(kShapeCodes[item]);
}

void TLabelEditForm::Load(const TLabelGeometry& g)
{
    mLoaded = g;
    mUnit = TUnit::Inches;
    const float values[kLengthCount] = {g.labelHeight,   g.labelWidth, g.horizontalPitch,
                                        g.verticalPitch, g.leftMargin, g.topMargin,
                                        g.sheetWidth,    g.sheetDepth};
    for (int i = 0; i < kLengthCount; ++i)
        mFields[size_t(i)] = TField{values[i], QString(), false};
    mAcross = g.across;
    mDown = g.down;
    mPaperItem = -1;
    mShapeChosen = false;
    const QString shape = g.shape.trimmed().toUpper();
    mShapeItem = shape == QLatin1String("RR") ? 0 : shape == QLatin1String("SR") ? 1 : 2;
}

std::optional<double> TLabelEditForm::Parse(const QString& text) const
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return 0.0; // an emptied field is 0, which the checks then refuse where it matters
    bool ok = false;
    const double value = trimmed.toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) > 1e6)
        return std::nullopt;
    return Round3(mUnit == TUnit::Millimetres ? value / kMillimetresPerInch : value);
}

void TLabelEditForm::Take(TField& field)
{
    if (!field.pending)
        return;
    if (const std::optional<double> inches = Parse(field.typed)) {
        field.inches = *inches;
        field.pending = false;
        field.typed.clear();
    }
}

QString TLabelEditForm::Format(double inches) const
{
    if (mUnit == TUnit::Millimetres)
        return QString::number(std::llround(inches * kMillimetresPerInch));
    return QString::number(inches, 'f', 3);
}

void TLabelEditForm::SetUnit(TUnit unit)
{
    if (unit == mUnit)
        return;
    for (TField& field : mFields)
        Take(field);
    mUnit = unit;
}

QString TLabelEditForm::Text(TLength field) const
{
    const TField& f = F(field);
    return f.pending ? f.typed : Format(f.inches);
}

void TLabelEditForm::SetText(TLength field, const QString& text)
{
    TField& f = F(field);
    f.typed = text;
    f.pending = true;
}

std::optional<double> TLabelEditForm::Inches(TLength field) const
{
    const TField& f = F(field);
    return f.pending ? Parse(f.typed) : std::optional<double>(f.inches);
}

void TLabelEditForm::LeaveField(TLength field)
{
    Take(F(field));
    auto raise = [&](TLength size, TLength pitch) {
        Take(F(pitch));
        if (F(size).pending || F(pitch).pending)
            return;
        if (Thousandths(F(size).inches) > Thousandths(F(pitch).inches))
            F(pitch).inches = F(size).inches;
    };
    if (field == TLength::LabelWidth)
        raise(TLength::LabelWidth, TLength::HorizontalPitch);
    else if (field == TLength::LabelHeight)
        raise(TLength::LabelHeight, TLength::VerticalPitch);
}

void TLabelEditForm::ChoosePaper(int item)
{
    if (item < 0 || item >= static_cast<int>(std::size(kPapers)))
        return;
    mPaperItem = item;
    if (kPapers[item].width > 0) {
        F(TLength::PaperWidth) = TField{kPapers[item].width, QString(), false};
        F(TLength::PaperHeight) = TField{kPapers[item].height, QString(), false};
    }
}

void TLabelEditForm::ChooseShape(int item)
{
    if (item < 0 || item >= static_cast<int>(std::size(kShapeCodes)))
        return;
    mShapeItem = item;
    mShapeChosen = true;
}

QString TLabelEditForm::Accept(TLabelGeometry* geometry)
{
    for (int i = 0; i < kLengthCount; ++i) {
        TField& field = mFields[size_t(i)];
        Take(field);
        if (field.pending)
            return QStringLiteral("%1 must be a number").arg(Caption(TLength(i)));
    }
    if (mAcross < kMinAcross || mAcross > kMaxAcross)
        return QStringLiteral("# across must be from %1 to %2").arg(kMinAcross).arg(kMaxAcross);
    if (mDown < kMinDown || mDown > kMaxDown)
        return QStringLiteral("# down must be from %1 to %2").arg(kMinDown).arg(kMaxDown);

    auto at = [&](TLength field) { return Thousandths(F(field).inches); };
    const long long height = at(TLength::LabelHeight);
    const long long width = at(TLength::LabelWidth);
    const long long hPitch = at(TLength::HorizontalPitch);
    const long long vPitch = at(TLength::VerticalPitch);
    if (height < 300)
        return QStringLiteral("Label Height must be at least .3 inches (or 7mm)");
    if (width < 500)
        return QStringLiteral("Label Width must be at least .5 inch (or 13mm)");
    if (mAcross >= 2 && width > hPitch)
        return QStringLiteral("Horizontal Pitch must be at least = Label Width");
    if (mDown >= 2 && height > vPitch)
        return QStringLiteral("Vertical Pitch must be at least = Label Height");
    if (at(TLength::PaperWidth) < 300)
        return QStringLiteral("Page Width must be at least .3 inch");
    if (at(TLength::PaperHeight) < 300)
        return QStringLiteral("Page Height must be at least .3 inches");
    // A grid running off the paper would print its last labels off the sheet while the job
    // reports completion.
    if (at(TLength::LeftMargin) + (mAcross - 1) * hPitch + width > at(TLength::PaperWidth) ||
        at(TLength::TopMargin) + (mDown - 1) * vPitch + height > at(TLength::PaperHeight))
        return QStringLiteral("The labels do not fit on the paper");

    TLabelGeometry g = mLoaded;
    auto value = [&](TLength field) { return static_cast<float>(F(field).inches); };
    g.labelHeight = value(TLength::LabelHeight);
    g.labelWidth = value(TLength::LabelWidth);
    g.horizontalPitch = value(TLength::HorizontalPitch);
    g.verticalPitch = value(TLength::VerticalPitch);
    g.leftMargin = value(TLength::LeftMargin);
    g.topMargin = value(TLength::TopMargin);
    g.sheetWidth = value(TLength::PaperWidth);
    g.sheetDepth = value(TLength::PaperHeight);
    g.across = mAcross;
    g.down = mDown;
    if (mPaperItem >= 0)
        g.paperSize = PaperCode(mPaperItem);
    if (mShapeChosen)
        g.shape = ShapeCode(mShapeItem);
    *geometry = g;
    return {};
}

} // namespace qm::labels
