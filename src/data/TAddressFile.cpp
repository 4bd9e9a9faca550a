#include "data/TAddressFile.h"

#include "data/TAddressFileIndexTags.h"
#include "data/TAddressFileLayout.h"
#include "data/TDataSet.h"
#include "data/TErrorReason.h"
#include "data/TFileFinder.h"
#include "xbase/TFileIoSystem.h"
#include "xbase/TPairSwap.h"
#include "xbase/TTable.h"
#include "xbase/TXbaseError.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <vector>

namespace qm::data {
namespace {

// The type the layout gives a stored field: a file whose field has another type is not an
// address file (a character MEMO would cut every memo to its width).
xbase::TFieldType StoredType(const char* name)
{
    for (const xbase::TFieldDef& def : TAddressFileLayout::FieldDefs({}))
        if (def.name == name)
            return def.type;
    return xbase::TFieldType::Character;
}

} // namespace

void TAddressFile::DeclareFieldObjects(TDataSet& dataSet)
{
    for (const TFieldObject& object : TAddressFileLayout::FieldObjects()) {
        const QString name = QString::fromLatin1(object.name);
        const QString label = QString::fromLatin1(object.displayLabel);
        if (object.kind == TFieldObjectKind::Stored) {
            dataSet.AddStoredField(name, label, object.visibleInGrids, StoredType(object.name));
        } else {
            const auto type =
                name == QLatin1String("Tagged") ? TDataFieldType::Logical : TDataFieldType::String;
            dataSet.AddCalculatedField(name, label, object.visibleInGrids, type,
                                       object.calculatedSize);
        }
    }
}

TAddressCreateResult TAddressFile::CreateFile(const QString& path,
                                              const TNewFileFieldLengths& lengths,
                                              const TTagProgress& progress)
{
    TAddressCreateResult result;
    const auto fail = [&result](const char* message, const xbase::TXbaseError& error) {
        result.detail = TErrorReason::Of(error);
        result.messages << TErrorReason::WithReason(QString::fromLatin1(message), result.detail);
        return result;
    };
    try {
        xbase::TTable::Create(path.toStdString(), TAddressFileLayout::FieldDefs(lengths))->Close();
    } catch (const xbase::TXbaseError& error) {
        return fail("Create failed", error);
    }
    std::unique_ptr<xbase::TTable> table;
    try {
        table = xbase::TTable::Open(path.toStdString());
    } catch (const xbase::TXbaseError& error) {
        return fail("File creation failed", error);
    }
    QString message;
    if (!BuildTags(*table, progress, &message, &result.detail)) {
        result.messages << message << QStringLiteral("File creation failed");
        return result;
    }
    try {
        table->Close();
    } catch (const xbase::TXbaseError& error) {
        return fail("File creation failed", error);
    }
    return result;
}

QString TAddressFile::Create(const QString& path, const TNewFileFieldLengths& lengths,
                             const TTagProgress& progress)
{
    return CreateFile(path, lengths, progress).messages.join(QStringLiteral("\r\n"));
}

bool TAddressFile::BuildTags(xbase::TTable& table, const TTagProgress& progress, QString* message,
                             QString* detail)
{
    const auto& tags = TAddressFileLayout::Tags();
    // The tags are built together in one pass; the caller hears of them one after another, each
    // from 0 to 100, as the share of the whole pass that is done.
    int reported = 0; // tags reported complete
    const xbase::TProgress overall = [&](int percent) {
        if (!progress)
            return;
        const int done = std::clamp(percent, 0, 100) * int(tags.size());
        const int tag = std::min(done / 100, int(tags.size()) - 1);
        for (; reported < tag; ++reported)
            progress(reported, 100);
        progress(tag, done - tag * 100);
    };
    try {
        // Built beside the table and renamed over the old index file when complete: a failure or
        // a crash on the way leaves the old file (out of date, so the next open asks again),
        // never an address file without an index or with a half-built one.
        table.ReplaceIndex(AddressFileIndexTags(), overall);
        for (; reported < int(tags.size()); ++reported)
            if (progress)
                progress(reported, 100);
        table.Commit();
    } catch (const xbase::TXbaseError& error) {
        const QString reason = TErrorReason::Of(error);
        if (message)
            *message =
                TErrorReason::WithReason(QStringLiteral("Unable to create index files"), reason);
        if (detail)
            *detail = reason;
        return false;
    }
    return true;
}

QString TAddressFile::OpenFailureText(const QString& path, const QString& reason)
{
    return TErrorReason::WithReason(QStringLiteral("Unable to open ") + path, reason) +
           QStringLiteral("\r\n\r\n * May not be ") + QStringLiteral("a Quillmark") +
           QStringLiteral(" file.\r\n * May be in use by another program or user");
}

TAddressOpenResult TAddressFile::Open(TDataSet& dataSet, const QString& path)
{
    dataSet.Close();
    const QFileInfo info(path);
    QString found = TFileFinder::FindInDir(info.absolutePath(), info.fileName());
    if (found.isEmpty()) {
        // A replacement of the table and its memo that a crash cut short (a pack) may have the
        // table set aside: settled first, as opening it would.
        try {
            if (xbase::TPairSwap::Recover(xbase::TFileIoSystem::Default(),
                                          QFile::encodeName(info.absoluteFilePath()).toStdString()))
                found = TFileFinder::FindInDir(info.absolutePath(), info.fileName());
        } catch (const xbase::TXbaseError& error) {
            const QString reason = TErrorReason::Of(error);
            return {false, OpenFailureText(path, reason), reason};
        }
    }
    if (found.isEmpty() || !QFileInfo(found).isFile())
        return {false, QStringLiteral("File ") + path + QStringLiteral(" not found")};
    try {
        dataSet.Open(found, xbase::TOpenMode::Exclusive);
    } catch (const TDataSetError& error) {
        return {false, OpenFailureText(path) + QStringLiteral("\r\n * ") + error.Message(),
                error.Message()};
    } catch (const xbase::TXbaseError& error) {
        const QString reason = TErrorReason::Of(error);
        return {false, OpenFailureText(path, reason), reason};
    }
    return {true, {}};
}

QString TAddressFile::FirstMissingTag(const TDataSet& dataSet)
{
    for (const char* tag : TAddressFileLayout::TagCheckOrder())
        if (!dataSet.Active() || dataSet.Table().TagOrder(tag) == 0)
            return QString::fromLatin1(tag);
    return {};
}

bool TAddressFile::TagsValid(const TDataSet& dataSet)
{
    return dataSet.Active() && !dataSet.Table().IndexStale() && FirstMissingTag(dataSet).isEmpty();
}

QString TAddressFile::RebuildQuestion(const QString& path)
{
    return QStringLiteral("The index file for ") + path +
           QStringLiteral("\r\nis missing or invalid. Rebuild now?");
}

} // namespace qm::data
