#include "labels/TLabelRow.h"

#include "data/TDataSet.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

namespace qm::labels {
namespace {

class TReader {
public:
    explicit TReader(const data::TDataSet& row) : mRow(row) {}

    QString Text(const char* column) const
    {
        const QString name = QLatin1String(column);
        return mRow.FindField(name) ? mRow.AsString(name) : QString();
    }

    template <typename T> void Number(const char* column, T* value)
    {
        const QString text = Text(column).trimmed();
        if (text.isEmpty()) {
            *value = 0;
            return;
        }
        bool ok = false;
        const double number = text.toDouble(&ok);
        if (!ok || !std::isfinite(number)) {
            if (mProblem.isEmpty())
                mProblem = QStringLiteral("%1 holds \"%2\", which is not a number")
                               .arg(QLatin1String(column), text);
            *value = 0;
            return;
        }
        if constexpr (std::is_integral_v<T>) {
            // Counts are whole numbers; a fraction in a foreign table is dropped, as the
            // column's own width would.
            *value = static_cast<T>(std::clamp(std::trunc(number), -1e6, 1e6));
        } else {
            *value = static_cast<T>(number);
        }
    }

    QString Problem() const { return mProblem; }

private:
    const data::TDataSet& mRow;
    QString mProblem;
};

QString ReadGeometry(TReader& r, TLabelGeometry* g)
{
    g->printer = r.Text("PRINTER");
    r.Number("LBLHEIGHT", &g->labelHeight);
    r.Number("LBLWIDTH", &g->labelWidth);
    r.Number("NBRACROSS", &g->across);
    r.Number("NBRDOWN", &g->down);
    r.Number("TOPMARG", &g->topMargin);
    r.Number("LEFTMARG", &g->leftMargin);
    r.Number("HORIZPITCH", &g->horizontalPitch);
    r.Number("VERTPITCH", &g->verticalPitch);
    r.Number("SHEETWIDTH", &g->sheetWidth);
    r.Number("SHEETDEPTH", &g->sheetDepth);
    g->paperSize = r.Text("PAPERSIZE");
    g->shape = r.Text("LBLSHAPE");
    g->maker = r.Text("MANUFAC");
    g->productGroup = r.Text("PRODTYPE");
    r.Number("MIDEXTRAX", &g->midExtraX);
    r.Number("MIDEXTRAY", &g->midExtraY);
    g->art = r.Text("ART");
    return r.Problem();
}

} // namespace

QString TLabelRow::ReadLayout(const data::TDataSet& row, TLabelGeometry* geometry)
{
    TReader r(row);
    TLabelGeometry g;
    g.description = r.Text("DESCRIPT");
    g.templateDescription = r.Text("TPLDESCRIP");
    g.layoutFile = r.Text("BINARY");
    const QString problem = ReadGeometry(r, &g);
    *geometry = g;
    return problem;
}

QString TLabelRow::ReadTemplate(const data::TDataSet& row, TLabelGeometry* geometry)
{
    TReader r(row);
    TLabelGeometry g;
    g.templateDescription = r.Text("DESCRIPT");
    const QString problem = ReadGeometry(r, &g);
    *geometry = g;
    return problem;
}

void TLabelRow::WriteLayout(data::TDataSet& row, const TLabelGeometry& g)
{
    auto text = [&](const char* column, const QString& value) {
        const QString name = QLatin1String(column);
        const int width = row.FieldByName(name).Size();
        row.SetAsString(name, width > 0 ? value.left(width) : value);
    };
    auto length = [&](const char* column, float value) {
        row.SetAsString(QLatin1String(column),
                        QString::number(TLabelGeometry::RoundForTable(value), 'f', 3));
    };
    auto count = [&](const char* column, int value) {
        row.SetAsString(QLatin1String(column), QString::number(value));
    };
    text("DESCRIPT", g.description.left(TLabelGeometry::kMaxDescriptionLength));
    text("PRINTER", g.printer);
    length("LBLHEIGHT", g.labelHeight);
    length("LBLWIDTH", g.labelWidth);
    count("NBRACROSS", g.across);
    count("NBRDOWN", g.down);
    length("TOPMARG", g.topMargin);
    length("LEFTMARG", g.leftMargin);
    length("HORIZPITCH", g.horizontalPitch);
    length("VERTPITCH", g.verticalPitch);
    length("SHEETWIDTH", g.sheetWidth);
    length("SHEETDEPTH", g.sheetDepth);
    text("PAPERSIZE", g.paperSize);
    text("LBLSHAPE", g.shape);
    text("TPLDESCRIP", g.templateDescription);
    text("MANUFAC", g.maker);
    text("PRODTYPE", g.productGroup);
    length("MIDEXTRAX", g.midExtraX);
    length("MIDEXTRAY", g.midExtraY);
    text("ART", g.art);
    row.SetAsBoolean(QStringLiteral("DELETED"), false);
    text("BINARY", g.layoutFile);
}

QString TLabelRow::SheetName(const TLabelGeometry& geometry)
{
    return geometry.templateDescription.trimmed().isEmpty() ? QStringLiteral("[User Defined]")
                                                            : geometry.templateDescription;
}

} // namespace qm::labels
