#include "reports/TReportStore.h"

#include "data/TPendingFiles.h"
#include "data/TSystemTableRows.h"
#include "data/TSystemTables.h"
#include "design/core/TGBasePanel.h"
#include "design/core/TGLabelObjectFiler.h"
#include "design/core/TLayoutFileNames.h"
#include "design/stream/TLayoutError.h"
#include "reports/TReportFile.h"
#include "xbase/TTable.h"
#include "xbase/TXbaseError.h"

#include <QFile>
#include <QFileInfo>
#include <optional>

namespace qm::reports {

using data::TSystemTableRows;
namespace {

using design::TGLabelObjectFiler;
using design::TLayoutError;
using design::TLayoutFileNames;
using design::TLayoutKind;

const QString kDescript = QStringLiteral("DESCRIPT");
const QString kLayout = QStringLiteral("LAYOUT");
const QString kBinary = QStringLiteral("BINARY");

QString ErrorText(const std::exception& e)
{
    if (const auto* dataError = dynamic_cast<const data::TDataSetError*>(&e))
        return dataError->Message();
    if (const auto* layoutError = dynamic_cast<const TLayoutError*>(&e))
        return layoutError->Message();
    return QString::fromLocal8Bit(e.what());
}

bool IsReportName(const QString& name)
{
    return TLayoutFileNames::IsLayoutName(TSystemTableRows::RightTrimmed(name),
                                          TLayoutKind::Report);
}

} // namespace

TReportStore::TReportStore() = default;

TReportStore::~TReportStore()
{
    data::TSystemTables::CloseQuietly(mSet);
}

QString TReportStore::Open(const QString& sysdataDir)
{
    Close();
    mSysdataDir = sysdataDir;
    const QString failure = data::TSystemTables::OpenOrCreate(
        mSet, data::TSystemTable::Report, sysdataDir, xbase::TOpenMode::Exclusive, &mNotice);
    if (!failure.isEmpty())
        return failure;
    SettlePending();
    Reload();
    return {};
}

void TReportStore::Close()
{
    mRows.clear();
    if (mSet.Active())
        mSet.Close();
}

void TReportStore::Recover()
{
    data::TSystemTables::Reopen(mSet, data::TSystemTable::Report, mSysdataDir,
                                xbase::TOpenMode::Exclusive, &mNotice);
    SettlePending();
    Reload();
}

void TReportStore::SettlePending()
{
    if (!mSet.Active())
        return;
    const QStringList held = HeldNames();
    data::TPendingFiles::Settle(
        mSysdataDir, QStringLiteral("BIN?????.R"),
        [&held](const QString& name) { return held.contains(name.trimmed().toUpper()); });
}

void TReportStore::Reload()
{
    mRows.clear();
    if (!mSet.Active())
        return;
    // The window's view: "not DELETED()" in the order of the table's first tag.
    TSystemTableRows::ForEachListed(mSet, "", [this] {
        TReportRow row;
        row.recNo = mSet.RecNo();
        row.description = TSystemTableRows::RightTrimmed(mSet.AsString(kDescript));
        row.layoutName = TSystemTableRows::RightTrimmed(mSet.AsString(kLayout));
        row.layoutFile = mSet.AsString(kBinary).trimmed();
        mRows.push_back(std::move(row));
    });
}

int TReportStore::Find(const QString& description) const
{
    const QString wanted = TSystemTableRows::RightTrimmed(description);
    for (std::size_t i = 0; i < mRows.size(); ++i)
        if (mRows[i].description == wanted)
            return int(i);
    return -1;
}

int TReportStore::FindFile(const QString& fileName) const
{
    const QString wanted = fileName.trimmed();
    for (std::size_t i = 0; i < mRows.size(); ++i)
        if (mRows[i].layoutFile.compare(wanted, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

int TReportStore::IndexOfRecord(std::uint32_t recNo) const
{
    for (std::size_t i = 0; i < mRows.size(); ++i)
        if (mRows[i].recNo == recNo)
            return int(i);
    return -1;
}

TReportRow TReportStore::NewRow()
{
    TReportRow row;
    row.description = QString::fromLatin1(TReportSettings::kNewDescription);
    row.layoutName = QString::fromLatin1(TReportSettings::Layouts()[0].name);
    return row;
}

QString TReportStore::LayoutPath(const TReportRow& row) const
{
    if (!IsReportName(row.layoutFile))
        throw TLayoutError(
            design::TLayoutErrorKind::FileName,
            QStringLiteral("The report \"%1\" names \"%2\" as its layout file. Report layout "
                           "files are named BIN followed by five digits and .R, and are kept in "
                           "the sysdata folder; no other file is used.")
                .arg(row.description, row.layoutFile));
    return TLayoutFileNames::PathFor(mSysdataDir, row.layoutFile);
}

TReportSettings TReportStore::Load(const TReportRow& row, design::TGOwner& owner,
                                   const std::array<design::TGBasePanel*, 3>& bands) const
{
    for (design::TGBasePanel* band : bands)
        band->ClearObjects();
    if (row.IsNew())
        return TReportSettings::NewReport();
    // A missing file reads as nothing: a new report's settings and empty bands.
    return TReportFile::Load(owner, bands, LayoutPath(row));
}

QStringList TReportStore::HeldNames() const
{
    return TSystemTableRows::HeldValues(mSet, "BINARY");
}

QString TReportStore::AllNamesTakenMessage()
{
    return QStringLiteral("All 99,999 report layout file names (BIN00001.R to BIN99999.R) are in "
                          "use in the sysdata folder or by rows of REPORT.DBF. Delete reports "
                          "you no longer need, then try again.");
}

QString TReportStore::FreeFileName(QString* error) const
{
    const QString name = TLayoutFileNames::NewName(mSysdataDir, TLayoutKind::Report, HeldNames());
    // NewName falls back on number 0 only when every real number is taken; that file may belong
    // to another report, so it is never used.
    if (name == TLayoutFileNames::Name(0, TLayoutKind::Report)) {
        if (error)
            *error = AllNamesTakenMessage();
        return {};
    }
    return name;
}

bool TReportStore::GoToRow(std::uint32_t recNo)
{
    if (recNo == 0 || !mSet.Active())
        return false;
    mSet.GoTo(recNo);
    return mSet.RecNo() == recNo;
}

int TReportStore::Save(TReportRow& row, const std::array<design::TGBasePanel*, 3>& bands,
                       const TReportSettings& settings, QString* error)
{
    auto fail = [&](const QString& reason) {
        if (error)
            *error = reason;
        return -1;
    };
    if (!mSet.Active())
        return fail(QStringLiteral("Unable to Open or Create REPORT.DBF"));

    // The row's own file, when it has one no other row shares; the save writes a new file and
    // the row names it once it is complete, so a failure leaves the earlier row and file.
    QString oldName = row.layoutFile.trimmed().toUpper();
    const bool ownFile = !row.IsNew() && IsReportName(oldName) && HeldNames().count(oldName) == 1;
    if (!ownFile)
        oldName.clear();
    QString why;
    QString fileName = FreeFileName(&why);
    if (fileName.isEmpty()) {
        // Every name taken: a report with a file of its own rewrites it in place.
        if (oldName.isEmpty())
            return fail(why);
        fileName = oldName;
    }
    const QString path = TLayoutFileNames::PathFor(mSysdataDir, fileName);
    const QString oldPath =
        oldName.isEmpty() ? QString() : TLayoutFileNames::PathFor(mSysdataDir, oldName);

    TReportRow stored = row;
    stored.description =
        TSystemTableRows::RightTrimmed(row.description.left(kMaxDescriptionLength));
    if (const QString name = settings.LayoutName(); !name.isEmpty())
        stored.layoutName = name;
    stored.layoutFile = fileName;

    // Both files wait on the row: the next open keeps the one a row names and removes the other,
    // also when this process is killed half-way.
    QString reason;
    if (!data::TPendingFiles::Mark(path, &reason) ||
        (!oldPath.isEmpty() && !data::TPendingFiles::Mark(oldPath, &reason))) {
        data::TPendingFiles::Clear(path);
        return fail(QStringLiteral("Cannot write file \"%1\". %2").arg(fileName, reason));
    }
    try {
        TReportFile::SaveDesign(bands, settings, path);
        if (row.IsNew()) {
            mSet.Append();
        } else {
            if (!GoToRow(row.recNo))
                throw data::TDataSetError(
                    QStringLiteral("The report \"%1\" is no longer in REPORT.DBF")
                        .arg(row.description));
            data::TSystemTables::MarkIndexOutOfStep(mSet.Table());
            mSet.Edit();
        }
        try {
            mSet.SetAsString(kDescript, stored.description);
            mSet.SetAsString(kLayout, stored.layoutName.left(kMaxDescriptionLength));
            mSet.SetAsString(kBinary, stored.layoutFile);
            mSet.Post();
        } catch (...) {
            mSet.Cancel();
            throw;
        }
        mSet.Table().Commit();
    } catch (const std::exception& e) {
        Recover();
        return fail(ErrorText(e));
    }
    stored.recNo = mSet.RecNo();
    row = stored;
    SettlePending();
    Reload();
    return IndexOfRecord(stored.recNo);
}

int TReportStore::Clone(int index, QString* error)
{
    auto fail = [&](const QString& reason) {
        if (error)
            *error = reason;
        return -1;
    };
    if (index < 0 || index >= int(mRows.size()))
        return fail(QStringLiteral("There is no report to clone."));
    const TReportRow source = mRows[std::size_t(index)];
    QString from;
    try {
        from = LayoutPath(source);
    } catch (const TLayoutError& e) {
        return fail(e.Message());
    }
    QString why;
    const QString fileName = FreeFileName(&why);
    if (fileName.isEmpty())
        return fail(why);
    const QString to = TLayoutFileNames::PathFor(mSysdataDir, fileName);

    // The copy is complete before a row names it, and waits on the row (see Save).
    QString reason;
    if (!data::TPendingFiles::Mark(to, &reason))
        return fail(QStringLiteral("Cannot write file \"%1\". %2").arg(fileName, reason));
    try {
        if (const std::optional<QByteArray> bytes = TGLabelObjectFiler::ReadFile(from))
            TGLabelObjectFiler::WriteFile(to, *bytes);
        mSet.Append();
        try {
            mSet.SetAsString(
                kDescript,
                (QStringLiteral("Clone of ") + source.description).left(kMaxDescriptionLength));
            mSet.SetAsString(kLayout, source.layoutName);
            mSet.SetAsString(kBinary, fileName);
            mSet.Post();
        } catch (...) {
            mSet.Cancel();
            throw;
        }
        mSet.Table().Commit();
    } catch (const std::exception& e) {
        Recover();
        return fail(ErrorText(e));
    }
    const std::uint32_t recNo = mSet.RecNo();
    SettlePending();
    Reload();
    return IndexOfRecord(recNo);
}

bool TReportStore::Delete(int index, QString* note)
{
    if (note)
        note->clear();
    if (index < 0 || index >= int(mRows.size())) {
        if (note)
            *note = QStringLiteral("There is no report to delete.");
        return false;
    }
    const TReportRow row = mRows[std::size_t(index)];
    QString path;
    try {
        path = LayoutPath(row);
    } catch (const TLayoutError& e) {
        if (note)
            *note = e.Message() + QStringLiteral("\nThe report was deleted; no file was removed.");
    }
    // Another row naming the same file (a marked one too, or one copied by other software) keeps
    // it.
    const bool shared = HeldNames().count(row.layoutFile.trimmed().toUpper()) > 1;
    try {
        if (!GoToRow(row.recNo))
            throw data::TDataSetError(QStringLiteral("The report \"%1\" is no longer in REPORT.DBF")
                                          .arg(row.description));
        mSet.MarkDeleted(true);
        mSet.Table().Commit();
    } catch (const std::exception& e) {
        if (note)
            *note = ErrorText(e);
        Recover();
        // The mark may have reached the table before the failure: the file follows the row.
        if (IsOpen() && IndexOfRecord(row.recNo) < 0 && !path.isEmpty() && !shared)
            QFile::remove(path);
        return false;
    }
    if (!path.isEmpty() && !shared && QFileInfo(path).isFile())
        QFile::remove(path);
    Reload();
    return true;
}

QString TReportStore::DeleteQuestion(const QString& description)
{
    return QStringLiteral("Delete \"%1\"?").arg(description);
}

QString TReportStore::CloneQuestion(const QString& description)
{
    return QStringLiteral("Clone \"%1\"?").arg(description);
}

} // namespace qm::reports
