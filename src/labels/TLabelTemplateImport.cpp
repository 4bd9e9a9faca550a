#include "labels/TLabelTemplateImport.h"

#include "data/TDataSet.h"
#include "data/TErrorReason.h"
#include "data/TSystemTables.h"
#include "labels/TLabelTemplates.h"
#include "labels/TTemplateFile.h"
#include "xbase/TXbaseError.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <cmath>
#include <stdexcept>

namespace qm::labels {
namespace {

bool SameSheet(const TLabelGeometry& a, const TLabelGeometry& b)
{
    const auto same = [](float x, float y) { return std::fabs(double(x) - double(y)) < 0.0005; };
    return a.printer.trimmed() == b.printer.trimmed() && same(a.labelHeight, b.labelHeight) &&
           same(a.labelWidth, b.labelWidth) && a.across == b.across && a.down == b.down &&
           same(a.topMargin, b.topMargin) && same(a.leftMargin, b.leftMargin) &&
           same(a.horizontalPitch, b.horizontalPitch) && same(a.verticalPitch, b.verticalPitch) &&
           same(a.sheetWidth, b.sheetWidth) && same(a.sheetDepth, b.sheetDepth) &&
           a.paperSize.trimmed() == b.paperSize.trimmed() &&
           a.shape.trimmed() == b.shape.trimmed() && a.maker.trimmed() == b.maker.trimmed() &&
           a.productGroup.trimmed() == b.productGroup.trimmed() && same(a.midExtraX, b.midExtraX) &&
           same(a.midExtraY, b.midExtraY) && a.art.trimmed() == b.art.trimmed();
}

void WriteRow(data::TDataSet& set, const TTemplateRow& row)
{
    const auto text = [&set](const char* column, const QString& value) {
        set.SetAsString(QLatin1String(column), value);
    };
    const auto length = [&set](const char* column, TTemplateLength value) {
        set.SetAsString(QLatin1String(column), value.ThreeDecimals());
    };
    text("DESCRIPT", row.description);
    text("PRINTER", row.printer);
    length("LBLHEIGHT", row.labelHeight);
    length("LBLWIDTH", row.labelWidth);
    text("NBRACROSS", QString::number(row.across));
    text("NBRDOWN", QString::number(row.down));
    length("TOPMARG", row.topMargin);
    length("LEFTMARG", row.leftMargin);
    length("HORIZPITCH", row.horizontalPitch);
    length("VERTPITCH", row.verticalPitch);
    length("SHEETWIDTH", row.sheetWidth);
    length("SHEETDEPTH", row.sheetDepth);
    text("PAPERSIZE", row.paperSize);
    text("LBLSHAPE", row.shape);
    text("MANUFAC", row.maker);
    text("PRODTYPE", row.productGroup);
    length("MIDEXTRAX", row.midExtraX);
    length("MIDEXTRAY", row.midExtraY);
    text("ART", row.art);
}

QString Plural(int n, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

} // namespace

QString TLabelTemplateImport::TResult::Summary(int maxLeftOut) const
{
    QStringList lines;
    if (!refused.isEmpty()) {
        lines << QStringLiteral("Nothing was imported from \"%1\": %2.").arg(fileName, refused);
        return lines.join(QStringLiteral("\r\n"));
    }
    if (Usable() == 0 && writeFailed.isEmpty()) {
        lines << (templates == 0
                      ? QStringLiteral("Nothing was imported from \"%1\": it describes no label "
                                       "sheets.")
                            .arg(fileName)
                      : QStringLiteral("Nothing was imported from \"%1\": none of its %2 describes "
                                       "a sheet the label table can hold.")
                            .arg(fileName, Plural(templates, "template", "templates")));
    } else {
        QStringList parts;
        if (added > 0)
            parts << QStringLiteral("%1 added").arg(Plural(added, "label sheet", "label sheets"));
        if (replaced > 0)
            parts << QStringLiteral("%1 replaced").arg(replaced);
        if (alreadyListed > 0)
            parts << QStringLiteral("%1 already listed").arg(alreadyListed);
        if (parts.isEmpty())
            parts << QStringLiteral("no label sheets added");
        lines << QStringLiteral("From \"%1\": %2.").arg(fileName, parts.join(QStringLiteral(", ")));
    }
    if (!writeFailed.isEmpty())
        lines << QStringLiteral("Writing your label sheets stopped: %1").arg(writeFailed);
    if (!leftOut.empty()) {
        lines << QStringLiteral("%1 left out:")
                     .arg(Plural(int(leftOut.size()), "template", "templates"));
        for (int i = 0; i < int(leftOut.size()) && i < maxLeftOut; ++i) {
            // The file's name starts every message; the user knows which file it is.
            QString message = leftOut[size_t(i)].message;
            if (message.startsWith(fileName + QStringLiteral(": ")))
                message = message.mid(fileName.size() + 2);
            lines << QStringLiteral("  ") + message;
        }
        if (int(leftOut.size()) > maxLeftOut)
            lines << QStringLiteral("  and %1 more").arg(int(leftOut.size()) - maxLeftOut);
    }
    return lines.join(QStringLiteral("\r\n"));
}

TLabelTemplateImport::TResult TLabelTemplateImport::Run(const QString& path, const QString& userDir,
                                                        TLabelTemplates& templates)
{
    TResult result;
    result.fileName = QFileInfo(path).fileName();
    const TTemplateFile file = TTemplateFile::ReadFile(path);
    if (!file.Problem().isEmpty()) {
        result.refused = file.Problem();
        return result;
    }
    result.templates = int(file.Templates().size());
    TTemplateConverter::TResult converted = TTemplateConverter::Convert(file, result.fileName);
    result.leftOut = std::move(converted.leftOut);

    // Decide each row against what is listed now.
    std::vector<const TTemplateRow*> plan;
    const auto note = [&result](const TTemplateRow& row) {
        if (result.firstDescription.isEmpty())
            result.firstDescription = row.description;
        if (!result.makers.contains(row.maker, Qt::CaseInsensitive))
            result.makers << row.maker;
    };
    for (const TTemplateRow& row : converted.rows) {
        const std::optional<TLabelGeometry> listed = templates.Find(row.description);
        if (listed && SameSheet(*listed, row.Geometry())) {
            ++result.alreadyListed;
            note(row);
            continue;
        }
        plan.push_back(&row);
    }
    if (plan.empty())
        return result;

    if (!QDir().mkpath(userDir)) {
        result.writeFailed =
            QStringLiteral("the folder %1 cannot be made").arg(QDir::toNativeSeparators(userDir));
        return result;
    }
    templates.CloseOwn();
    data::TDataSet set;
    const QString failure = data::TSystemTables::OpenOrCreate(
        set, data::TSystemTable::UserLabelTemplates, userDir, xbase::TOpenMode::Exclusive);
    if (!failure.isEmpty()) {
        result.writeFailed = failure;
        templates.ReopenOwn();
        return result;
    }
    try {
        // Where each description already stands in the user's table.
        QHash<QString, uint32_t> recordOf;
        for (set.First(); !set.Eof() && !set.IsEmpty(); set.Next())
            recordOf.insert(set.AsString(QStringLiteral("DESCRIPT")), set.RecNo());
        for (const TTemplateRow* row : plan) {
            const auto it = recordOf.find(row->description);
            if (it != recordOf.end()) {
                set.GoTo(*it);
                set.Edit();
            } else {
                set.Append();
            }
            WriteRow(set, *row);
            set.Post();
            ++(it != recordOf.end() ? result.replaced : result.added);
            if (it == recordOf.end())
                recordOf.insert(row->description, set.RecNo());
            note(*row);
        }
    } catch (const xbase::TXbaseError& error) {
        result.writeFailed = data::TErrorReason::Of(error);
    } catch (const data::TDataSetError& error) {
        result.writeFailed = error.Message();
    }
    // After a failed write the engine refuses everything but letting go of the table; the rows
    // posted before stay as written.
    try {
        if (set.Editing())
            set.Cancel();
    } catch (const std::exception&) {
    }
    try {
        set.Close();
    } catch (const std::exception& error) {
        if (result.writeFailed.isEmpty())
            result.writeFailed = QString::fromStdString(error.what());
    }
    templates.ReopenOwn();
    return result;
}

} // namespace qm::labels
