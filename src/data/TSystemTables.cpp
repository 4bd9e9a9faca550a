#include "data/TSystemTables.h"

#include "data/TDataSet.h"
#include "data/TErrorReason.h"
#include "data/TFileFinder.h"
#include "xbase/TCursor.h"
#include "xbase/TXbaseError.h"

#include <QDir>
#include <QFileInfo>

namespace qm::data {
namespace {

using xbase::TFieldDef;
using xbase::TFieldType;

TFieldDef C(const char* name, int width)
{
    return {name, TFieldType::Character, width, 0};
}
TFieldDef N(const char* name, int width, int decimals = 0)
{
    return {name, TFieldType::Numeric, width, decimals};
}

const std::vector<TSystemTableSchema>& Schemas()
{
    static const std::vector<TSystemTableSchema> schemas = {
        {TSystemTable::Letter,
         "LETTER",
         {C("DESCRIPT", 50), {"RTF", TFieldType::Memo, 10, 0}},
         "DESCRIPT",
         "UPPER(descript)",
         "UPPER(DESCRIPT)",
         "Rebuilding Letters File indexes",
         "Unable to Open or Create LETTER.DBF",
         true},
        {TSystemTable::Report,
         "REPORT",
         {C("DESCRIPT", 60), C("LAYOUT", 60), C("BINARY", 12)},
         "DESCRIPT",
         "UPPER(descript)",
         "UPPER(descript)",
         "Rebuilding Report File indexes",
         "Unable to Open or Create REPORT.DBF",
         true},
        {TSystemTable::Envelope,
         "ENVELOPE",
         {C("DESCRIPT", 60), N("NUMBER", 5), C("BINARY", 12)},
         "DESCRIPT",
         "UPPER(descript)",
         "UPPER(descript)",
         "Rebuilding Envelope File indexes",
         "Unable to Open or Create ENVELOPE.DBF",
         true},
        {TSystemTable::Label,
         "LABEL",
         {C("DESCRIPT", 60),    C("PRINTER", 2),       N("LBLHEIGHT", 6, 3),
          N("LBLWIDTH", 6, 3),  N("NBRACROSS", 2),     N("NBRDOWN", 2),
          N("TOPMARG", 6, 3),   N("LEFTMARG", 6, 3),   N("HORIZPITCH", 6, 3),
          N("VERTPITCH", 6, 3), N("SHEETWIDTH", 6, 3), N("SHEETDEPTH", 6, 3),
          C("PAPERSIZE", 5),    C("LBLSHAPE", 2),      C("TPLDESCRIP", 60),
          C("MANUFAC", 10),     C("PRODTYPE", 25),     N("MIDEXTRAX", 6, 3),
          N("MIDEXTRAY", 6, 3), C("ART", 12),          {"DELETED", TFieldType::Logical, 1, 0},
          C("BINARY", 12)},
         "DESCRIPT",
         "UPPER(descript)",
         "UPPER(DESCRIPT)",
         "Rebuilding Label File indexes",
         "Unable to Open or Create LABEL.DBF",
         true},
        {TSystemTable::LabelTemplates,
         "LBLTPL",
         {},
         "DESCRIPT",
         "UPPER(descript)",
         "UPPER(descript)",
         "Rebuilding Label Setup File indexes",
         "Unable to Open LBLTPL.DBF",
         false},
        {TSystemTable::UserLabelTemplates,
         "LBLUSER",
         // The columns of the shipped LBLTPL (data/sysdata's TShippedTableSchema; a test keeps
         // the two lists equal), so that both tables read alike.
         {C("DESCRIPT", 60), C("PRINTER", 2), N("LBLHEIGHT", 6, 3), N("LBLWIDTH", 6, 3),
          N("NBRACROSS", 2), N("NBRDOWN", 2), N("TOPMARG", 6, 3), N("LEFTMARG", 6, 3),
          N("HORIZPITCH", 6, 3), N("VERTPITCH", 6, 3), N("SHEETWIDTH", 6, 3), N("SHEETDEPTH", 6, 3),
          C("PAPERSIZE", 5), C("LBLSHAPE", 2), C("MANUFAC", 10), C("PRODTYPE", 25),
          N("MIDEXTRAX", 6, 3), N("MIDEXTRAY", 6, 3), C("ART", 12)},
         "DESCRIPT",
         "UPPER(descript)",
         "UPPER(descript)",
         "Rebuilding Label Setup File indexes",
         "Unable to Open or Create LBLUSER.DBF",
         true},
        {TSystemTable::StateZip,
         "CSZ",
         {},
         "STATE",
         "UPPER(state)",
         "UPPER(STATE)",
         "Rebuilding State/Province File indexes",
         "Unable to Open or Create CSZ.DBF",
         false},
    };
    return schemas;
}

} // namespace

const TSystemTableSchema& TSystemTables::Schema(TSystemTable table)
{
    for (const auto& schema : Schemas())
        if (schema.table == table)
            return schema;
    return Schemas().front();
}

const std::vector<TSystemTable>& TSystemTables::RebuildOrder()
{
    static const std::vector<TSystemTable> order = {
        TSystemTable::Letter,         TSystemTable::Label,    TSystemTable::StateZip,
        TSystemTable::LabelTemplates, TSystemTable::Envelope, TSystemTable::Report};
    return order;
}

QString TSystemTables::FilePath(TSystemTable table, const QString& sysdataDir)
{
    const QString name = QString::fromLatin1(Schema(table).name) + QStringLiteral(".DBF");
    const QString found = TFileFinder::FindInDir(sysdataDir, name);
    return found.isEmpty() ? QDir(sysdataDir).filePath(name) : found;
}

QString TSystemTables::OpenOrCreate(TDataSet& dataSet, TSystemTable table,
                                    const QString& sysdataDir, xbase::TOpenMode mode)
{
    const TSystemTableSchema& schema = Schema(table);
    const QString path = FilePath(table, sysdataDir);
    const QString failure = QString::fromLatin1(schema.failureMessage);
    dataSet.Close();
    if (QFileInfo::exists(path)) {
        try {
            dataSet.Open(path, mode);
        } catch (const xbase::TXbaseError& error) {
            return TErrorReason::WithReason(failure, TErrorReason::Of(error));
        } catch (const TDataSetError& error) {
            return TErrorReason::WithReason(failure, error.Message());
        }
    } else {
        if (!schema.createdByProgram)
            return failure;
        try {
            xbase::TTable::Create(path.toStdString(), schema.fields)->Close();
            dataSet.Open(path, xbase::TOpenMode::Exclusive);
        } catch (const xbase::TXbaseError& error) {
            return TErrorReason::WithReason(failure, TErrorReason::Of(error));
        } catch (const TDataSetError& error) {
            return TErrorReason::WithReason(failure, error.Message());
        }
    }
    if (TFileFinder::FindCompanion(path, QStringLiteral("CDX")).isEmpty()) {
        try {
            dataSet.Table().AddTag(schema.tag, schema.tagExpression);
            dataSet.Cursor().SetOrder(0);
            dataSet.First();
        } catch (const xbase::TXbaseError&) {
            // The table is usable without its index; the rebuild command makes it later.
        }
    }
    return {};
}

void TSystemTables::RebuildIndex(TSystemTable table, const QString& sysdataDir,
                                 const xbase::TProgress& progress)
{
    const TSystemTableSchema& schema = Schema(table);
    xbase::TTableOptions options;
    options.mode = xbase::TOpenMode::Exclusive;
    auto file = xbase::TTable::Open(FilePath(table, sysdataDir).toStdString(), options);
    file->DeleteIndexFile();
    file->Pack(progress);
    file->AddTag(schema.tag, schema.rebuildExpression, progress);
    file->Close();
}

void TSystemTables::RebuildAll(const QString& sysdataDir,
                               const std::function<void(const QString& text)>& onTable,
                               const xbase::TProgress& progress)
{
    for (TSystemTable table : RebuildOrder()) {
        if (onTable)
            onTable(QString::fromLatin1(Schema(table).rebuildText));
        try {
            RebuildIndex(table, sysdataDir, progress);
        } catch (const xbase::TXbaseError&) {
            // One table's trouble must not keep the others from being rebuilt.
        }
        if (table == TSystemTable::LabelTemplates &&
            QFileInfo::exists(FilePath(TSystemTable::UserLabelTemplates, sysdataDir))) {
            try {
                RebuildIndex(TSystemTable::UserLabelTemplates, sysdataDir, progress);
            } catch (const xbase::TXbaseError&) {
            }
        }
    }
}

} // namespace qm::data
