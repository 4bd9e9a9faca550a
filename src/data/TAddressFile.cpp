#include "data/TAddressFile.h"

#include "data/TAddressFileLayout.h"
#include "data/TDataSet.h"
#include "data/TFileFinder.h"
#include "xbase/TTable.h"
#include "xbase/TXbaseError.h"

#include <QFileInfo>

namespace qm::data {

void TAddressFile::DeclareFieldObjects(TDataSet& dataSet)
{
    for (const TFieldObject& object : TAddressFileLayout::FieldObjects()) {
        const QString name = QString::fromLatin1(object.name);
        const QString label = QString::fromLatin1(object.displayLabel);
        if (object.kind == TFieldObjectKind::Stored) {
            dataSet.AddStoredField(name, label, object.visibleInGrids);
        } else {
            const auto type = name == QLatin1String("Tagged") ? TDataFieldType::Logical
                                                              : TDataFieldType::String;
            dataSet.AddCalculatedField(name, label, object.visibleInGrids, type,
                                       object.calculatedSize);
        }
    }
}

QString TAddressFile::Create(const QString& path, const TNewFileFieldLengths& lengths,
                             const TTagProgress& progress)
{
    try {
        xbase::TTable::Create(path.toStdString(), TAddressFileLayout::FieldDefs(lengths))->Close();
    } catch (const xbase::TXbaseError&) {
        return QStringLiteral("Create failed");
    }
    std::unique_ptr<xbase::TTable> table;
    try {
        table = xbase::TTable::Open(path.toStdString());
    } catch (const xbase::TXbaseError&) {
        return QStringLiteral("File creation failed");
    }
    QString message;
    if (!BuildTags(*table, progress, &message))
        return message;
    try {
        table->Close();
    } catch (const xbase::TXbaseError&) {
        return QStringLiteral("File creation failed");
    }
    return {};
}

bool TAddressFile::BuildTags(xbase::TTable& table, const TTagProgress& progress, QString* message)
{
    try {
        table.DeleteIndexFile();
        const auto& tags = TAddressFileLayout::Tags();
        for (size_t i = 0; i < tags.size(); ++i) {
            xbase::TProgress tagProgress;
            if (progress)
                tagProgress = [&progress, i](int percent) { progress(int(i), percent); };
            table.AddTag(tags[i].name, tags[i].expression, tagProgress);
            if (progress)
                progress(int(i), 100);
        }
        table.Commit();
    } catch (const xbase::TXbaseError&) {
        if (message)
            *message = QStringLiteral("Unable to create index files");
        return false;
    }
    return true;
}

QString TAddressFile::OpenFailureText(const QString& path)
{
    return QStringLiteral("Unable to open ") + path + QStringLiteral("\r\n\r\n * May not be ")
           + QStringLiteral("a Quillmark") + QStringLiteral(" file.\r\n * May be in use by another "
                                                           "program or user");
}

TAddressOpenResult TAddressFile::Open(TDataSet& dataSet, const QString& path)
{
    dataSet.Close();
    const QFileInfo info(path);
    const QString found = TFileFinder::FindInDir(info.absolutePath(), info.fileName());
    if (found.isEmpty() || !QFileInfo(found).isFile())
        return {false, QStringLiteral("File ") + path + QStringLiteral(" not found")};
    try {
        dataSet.Open(found, xbase::TOpenMode::Exclusive);
    } catch (const TDataSetError& error) {
        return {false, OpenFailureText(path) + QStringLiteral("\r\n * ") + error.Message()};
    } catch (const xbase::TXbaseError&) {
        return {false, OpenFailureText(path)};
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
    return QStringLiteral("The index file for ") + path
           + QStringLiteral("\r\nis missing or invalid. Rebuild now?");
}

} // namespace qm::data
