#include "data/TSystemTables.h"

#include "data/TDataSet.h"
#include "data/TErrorReason.h"
#include "data/TFileFinder.h"
#include "xbase/TCompoundIndex.h"
#include "xbase/TCursor.h"
#include "xbase/TXbaseError.h"

#include <QDir>
#include <QFileInfo>
#include <cstdint>
#include <limits>

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

namespace {

xbase::TFileIoSystem*& FilesSlot()
{
    static xbase::TFileIoSystem* files = nullptr;
    return files;
}

} // namespace

xbase::TFileIoSystem* TSystemTables::UseFiles(xbase::TFileIoSystem* files)
{
    xbase::TFileIoSystem* previous = FilesSlot();
    FilesSlot() = files;
    return previous;
}

xbase::TFileIoSystem& TSystemTables::Files()
{
    return FilesSlot() ? *FilesSlot() : xbase::TFileIoSystem::Native();
}

namespace {

// True when the engine refused the table because of its index file, not the table itself.
bool IsIndexFault(const xbase::TXbaseError& error, const QString& tablePath)
{
    if (error.Kind() != xbase::TErrorKind::Damaged || error.File().empty())
        return false;
    const QFileInfo file(QString::fromStdString(error.File()));
    const QFileInfo table(tablePath);
    return file.suffix().compare(QStringLiteral("CDX"), Qt::CaseInsensitive) == 0 &&
           file.completeBaseName().compare(table.completeBaseName(), Qt::CaseInsensitive) == 0;
}

} // namespace

QString TSystemTables::OpenOrCreate(TDataSet& dataSet, TSystemTable table,
                                    const QString& sysdataDir, xbase::TOpenMode mode,
                                    QString* notice)
{
    const TSystemTableSchema& schema = Schema(table);
    const QString path = FilePath(table, sysdataDir);
    const QString failure = QString::fromLatin1(schema.failureMessage);
    const QString fileName = QString::fromLatin1(schema.name) + QStringLiteral(".DBF");
    if (notice)
        notice->clear();
    xbase::TFileIoSystem& files = Files();
    xbase::TTableOptions options;
    options.mode = mode;
    options.files = &files;
    CloseQuietly(dataSet);

    QString damage; // why the index could not be opened
    const auto open = [&] {
        try {
            dataSet.Open(path, options);
        } catch (const xbase::TXbaseError& error) {
            if (!options.openIndex || !IsIndexFault(error, path))
                throw;
            damage = TErrorReason::Of(error);
            options.openIndex = false;
            dataSet.Open(path, options);
        }
    };
    try {
        if (files.Exists(path.toStdString())) {
            open();
        } else {
            if (!schema.createdByProgram)
                return failure;
            xbase::TTable::Create(path.toStdString(), schema.fields, {mode, true, &files})->Close();
            options.mode = xbase::TOpenMode::Exclusive;
            open();
        }
    } catch (const xbase::TXbaseError& error) {
        return TErrorReason::WithReason(failure, TErrorReason::Of(error));
    } catch (const TDataSetError& error) {
        return TErrorReason::WithReason(failure, error.Message());
    }

    xbase::TTable& file = dataSet.Table();
    const bool stale = damage.isEmpty() && file.Index() && file.IndexStale();
    const bool missing =
        damage.isEmpty() && TFileFinder::FindCompanion(path, QStringLiteral("CDX")).isEmpty();
    if (!stale && damage.isEmpty() && !missing)
        return {};

    const bool exclusive = options.mode == xbase::TOpenMode::Exclusive;
    const QString what = stale ? QStringLiteral("was out of step with the table")
                               : QStringLiteral("was damaged (%1)").arg(damage);
    if (!exclusive) {
        // Nothing may be written: the rows are read without the index rather than through a
        // wrong one.
        if (stale) {
            try {
                options.openIndex = false;
                dataSet.Open(path, options);
            } catch (const xbase::TXbaseError& error) {
                return TErrorReason::WithReason(failure, TErrorReason::Of(error));
            }
        }
        if (notice && !missing)
            *notice = QStringLiteral("The index of %1 %2; its rows are listed in the order they "
                                     "were added until it is rebuilt.")
                          .arg(fileName, what);
        return {};
    }
    try {
        if (stale) {
            file.Reindex();
        } else {
            // A damaged index is replaced by a new one; a missing one is made.
            if (!damage.isEmpty()) {
                const std::string old = files.FindCompanion(path.toStdString(), ".CDX");
                if (!old.empty())
                    files.Remove(old);
            }
            file.AddTag(schema.tag, schema.tagExpression);
        }
        file.Commit();
        dataSet.Cursor().SetOrder(0);
        dataSet.First();
    } catch (const xbase::TXbaseError& error) {
        if (missing)
            return {}; // the table is usable without its index; the rebuild command makes it
        // The table refuses writes after a failed one: it is opened again without the index.
        options.openIndex = false;
        CloseQuietly(dataSet);
        try {
            dataSet.Open(path, options);
        } catch (const xbase::TXbaseError& again) {
            return TErrorReason::WithReason(failure, TErrorReason::Of(again));
        }
        if (notice)
            *notice = QStringLiteral("The index of %1 %2 and could not be rebuilt: %3. Its rows "
                                     "are listed in the order they were added.")
                          .arg(fileName, what, TErrorReason::Of(error));
        return {};
    }
    if (notice && !missing)
        *notice = QStringLiteral("The index of %1 %2 and has been rebuilt.").arg(fileName, what);
    return {};
}

void TSystemTables::MarkIndexOutOfStep(xbase::TTable& table)
{
    xbase::TCompoundIndex* index = table.Index();
    if (!index || index->ReadOnly())
        return;
    // The engine's own mark for an index that must be rebuilt: a record count no table has.
    index->SetSyncCount(std::numeric_limits<std::uint32_t>::max());
    index->Flush();
}

void TSystemTables::CloseQuietly(TDataSet& dataSet) noexcept
{
    try {
        dataSet.Close();
    } catch (...) {
        // The caller reports the failure that made it close; the files keep what reached them.
    }
}

QString TSystemTables::Reopen(TDataSet& dataSet, TSystemTable table, const QString& sysdataDir,
                              xbase::TOpenMode mode, QString* notice)
{
    CloseQuietly(dataSet);
    return OpenOrCreate(dataSet, table, sysdataDir, mode, notice);
}

void TSystemTables::RebuildIndex(TSystemTable table, const QString& sysdataDir,
                                 const xbase::TProgress& progress)
{
    const TSystemTableSchema& schema = Schema(table);
    xbase::TTableOptions options;
    options.mode = xbase::TOpenMode::Exclusive;
    options.files = &Files();
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
