#include "labels/TLabelLayoutStore.h"

#include "data/TMessageService.h"
#include "data/TOutputFile.h"
#include "data/TPendingFiles.h"
#include "data/TSystemTableRows.h"
#include "data/TSystemTables.h"
#include "design/core/TLayoutFileNames.h"
#include "design/stream/TLayoutError.h"
#include "labels/TLabelRow.h"
#include "labels/TLabelSheet.h"
#include "xbase/TTable.h"
#include "xbase/TXbaseError.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace qm::labels {

using data::TSystemTableRows;
namespace {

using design::TLayoutFileNames;
using design::TLayoutKind;

QString CopyFileBytes(const QString& from, const QString& to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return QStringLiteral("Unable to read %1: %2").arg(from, source.errorString());
    data::TOutputFile target(to);
    if (!target.open(QIODevice::WriteOnly))
        return QStringLiteral("Unable to write %1: %2").arg(to, target.errorString());
    while (!source.atEnd()) {
        const QByteArray block = source.read(1 << 16);
        if (block.isEmpty() && source.error() != QFileDevice::NoError)
            return QStringLiteral("Unable to read %1: %2").arg(from, source.errorString());
        if (target.write(block) != block.size())
            return QStringLiteral("Unable to write %1: %2").arg(to, target.errorString());
    }
    if (!target.commit())
        return QStringLiteral("Unable to write %1: %2").arg(to, target.errorString());
    return {};
}

} // namespace

TLabelLayoutStore::TLabelLayoutStore() : mCopy(&CopyFileBytes) {}

TLabelLayoutStore::~TLabelLayoutStore()
{
    data::TSystemTables::CloseQuietly(mSet);
}

QString TLabelLayoutStore::MissingLayoutMessage()
{
    return QStringLiteral("Label definition file has been removed from the sysdata directory");
}

QString TLabelLayoutStore::AllNamesTakenMessage()
{
    return QStringLiteral("All 99,999 label layout file names (BIN00001.L to BIN99999.L) are in "
                          "use in the sysdata folder or by rows of LABEL.DBF. Delete label "
                          "layouts you no longer need, then try again.");
}

QString TLabelLayoutStore::Open(const QString& sysdataDir)
{
    Close();
    mSysdataDir = sysdataDir;
    const QString failure = data::TSystemTables::OpenOrCreate(
        mSet, data::TSystemTable::Label, sysdataDir, xbase::TOpenMode::Exclusive, &mNotice);
    if (!failure.isEmpty())
        return failure;
    SettlePending();
    Reload();
    return {};
}

void TLabelLayoutStore::Close()
{
    mRows.clear();
    if (mSet.Active())
        mSet.Close();
}

void TLabelLayoutStore::Recover()
{
    data::TSystemTables::Reopen(mSet, data::TSystemTable::Label, mSysdataDir,
                                xbase::TOpenMode::Exclusive, &mNotice);
    SettlePending();
    Reload();
}

void TLabelLayoutStore::SettlePending()
{
    if (!mSet.Active())
        return;
    const QStringList held = HeldNames();
    data::TPendingFiles::Settle(
        mSysdataDir, QStringLiteral("BIN?????.L"),
        [&held](const QString& name) { return held.contains(name.trimmed().toUpper()); });
}

void TLabelLayoutStore::Reload()
{
    mRows.clear();
    if (!mSet.Active())
        return;
    // Tables written by other software may lack the column.
    const bool hasDeletedColumn = mSet.FindField(QStringLiteral("DELETED")) != nullptr;
    TSystemTableRows::ForEachListed(mSet, "DESCRIPT", [&] {
        if (hasDeletedColumn && mSet.AsBoolean(QStringLiteral("DELETED")))
            return;
        TLabelListRow row;
        row.recNo = mSet.RecNo();
        QString problem = TLabelRow::ReadLayout(mSet, &row.geometry);
        if (problem.isEmpty())
            problem = TLabelSheet::Problem(row.geometry);
        if (!problem.isEmpty())
            row.problem = QStringLiteral("The label layout \"%1\" describes no label sheet: %2")
                              .arg(row.geometry.description, problem);
        mRows.push_back(std::move(row));
    });
}

int TLabelLayoutStore::Find(const QString& description) const
{
    const QString wanted = description;
    for (size_t i = 0; i < mRows.size(); ++i)
        if (mRows[i].geometry.description == wanted)
            return static_cast<int>(i);
    return -1;
}

TLabelGeometry TLabelLayoutStore::WorkingRecord(int row) const
{
    if (row < 0 || row >= static_cast<int>(mRows.size()))
        return TLabelGeometry::DefaultSetup();
    return mRows[size_t(row)].geometry;
}

QString TLabelLayoutStore::LayoutPath(int row, QString* why) const
{
    auto fail = [&](const QString& reason) {
        if (why)
            *why = reason;
        return QString();
    };
    if (row < 0 || row >= static_cast<int>(mRows.size()))
        return fail(MissingLayoutMessage());
    const QString stored = mRows[size_t(row)].geometry.layoutFile;
    if (!TLayoutFileNames::IsLayoutName(stored.trimmed(), TLayoutKind::Label))
        return fail(QStringLiteral("The label layout \"%1\" names \"%2\", which is not a label "
                                   "layout file")
                        .arg(mRows[size_t(row)].geometry.description, stored));
    QString path;
    try {
        path = TLayoutFileNames::PathFor(mSysdataDir, stored);
    } catch (const design::TLayoutError&) {
        return fail(MissingLayoutMessage());
    }
    if (!QFileInfo(path).isFile())
        return fail(MissingLayoutMessage());
    return path;
}

QStringList TLabelLayoutStore::HeldNames() const
{
    return TSystemTableRows::HeldValues(mSet, "BINARY");
}

QString TLabelLayoutStore::NewLayoutName() const
{
    const QStringList names = HeldNames();
    const QSet<QString> held(names.begin(), names.end());
    for (int number = 1; number <= TLayoutFileNames::kMaxNumber; ++number) {
        const QString name = TLayoutFileNames::Name(number, TLayoutKind::Label);
        if (held.contains(name.toUpper()))
            continue;
        if (QFileInfo::exists(TLayoutFileNames::PathFor(mSysdataDir, name)))
            continue;
        return name;
    }
    return TLayoutFileNames::Name(0, TLayoutKind::Label);
}

bool TLabelLayoutStore::GoToRow(int row)
{
    if (row < 0 || row >= static_cast<int>(mRows.size()) || !mSet.Active())
        return false;
    mSet.GoTo(mRows[size_t(row)].recNo);
    return mSet.RecNo() == mRows[size_t(row)].recNo;
}

int TLabelLayoutStore::IndexOfRecord(uint32_t recNo) const
{
    for (size_t i = 0; i < mRows.size(); ++i)
        if (mRows[i].recNo == recNo)
            return static_cast<int>(i);
    return -1;
}

bool TLabelLayoutStore::Delete(int row, QWidget* parent)
{
    if (row < 0 || row >= static_cast<int>(mRows.size()))
        return false;
    const TLabelGeometry g = mRows[size_t(row)].geometry;
    if (!data::TMessageService::Ask(parent, QStringLiteral("DELETE"),
                                    QStringLiteral("Delete \"%1\"?").arg(g.description)))
        return false;
    const QString path = LayoutPath(row);
    // Another row naming the same file (hidden ones too, or a copy made by other software)
    // keeps it.
    const bool shared = HeldNames().count(g.layoutFile.trimmed().toUpper()) > 1;
    if (!GoToRow(row))
        return false;
    const uint32_t recNo = mRows[size_t(row)].recNo;
    try {
        mSet.MarkDeleted(true);
        mSet.Table().Commit();
    } catch (...) {
        Recover();
        // The mark may have reached the table before the failure: the file follows the row.
        if (IsOpen() && IndexOfRecord(recNo) < 0 && !path.isEmpty() && !shared)
            QFile::remove(path);
        throw;
    }
    // The file goes once the row is gone for good; a process stopped in between leaves a file
    // no row names, which is never reused.
    if (!path.isEmpty() && !shared)
        QFile::remove(path);
    Reload();
    return true;
}

int TLabelLayoutStore::Clone(int row, QWidget* parent)
{
    if (row < 0 || row >= static_cast<int>(mRows.size()))
        return -1;
    TLabelGeometry g = mRows[size_t(row)].geometry;
    if (!data::TMessageService::Ask(parent, QStringLiteral("CLONE"),
                                    QStringLiteral("Clone \"%1\"?").arg(g.description)))
        return -1;
    const QString from = LayoutPath(row);
    if (from.isEmpty()) {
        data::TMessageService::Inform(parent, MissingLayoutMessage());
        return -1;
    }
    g.description =
        (QStringLiteral("Clone of :") + g.description).left(TLabelGeometry::kMaxDescriptionLength);
    g.layoutFile = NewLayoutName();
    if (TLayoutFileNames::IsNoFreeName(g.layoutFile, TLayoutKind::Label)) {
        data::TMessageService::Inform(parent, AllNamesTakenMessage());
        return -1;
    }
    const QString to = TLayoutFileNames::PathFor(mSysdataDir, g.layoutFile);
    // The new file is complete before a row names it, and waits on the row (see SaveDesign).
    QString reason;
    if (!data::TPendingFiles::Mark(to, &reason)) {
        data::TMessageService::Inform(
            parent, QStringLiteral("Cannot write file \"%1\". %2").arg(g.layoutFile, reason));
        return -1;
    }
    const QString copyError = mCopy(from, to);
    if (!copyError.isEmpty()) {
        SettlePending();
        data::TMessageService::Inform(parent, copyError);
        return -1;
    }
    return Append(g);
}

uint32_t TLabelLayoutStore::WriteRow(uint32_t recNo, const TLabelGeometry& geometry)
{
    try {
        if (recNo == 0) {
            mSet.Append();
        } else {
            mSet.GoTo(recNo);
            if (mSet.RecNo() != recNo)
                throw data::TDataSetError(
                    QStringLiteral("The label layout \"%1\" is no longer in LABEL.DBF")
                        .arg(geometry.description));
            data::TSystemTables::MarkIndexOutOfStep(mSet.Table());
            mSet.Edit();
        }
        try {
            TLabelRow::WriteLayout(mSet, geometry);
            mSet.Post();
        } catch (...) {
            mSet.Cancel();
            throw;
        }
        // Committed at once: the index on disk is in step while the table stays open (the
        // "Print Labels" window keeps it open around the designer).
        mSet.Table().Commit();
    } catch (...) {
        Recover();
        throw;
    }
    const uint32_t written = mSet.RecNo();
    SettlePending();
    Reload();
    return written;
}

int TLabelLayoutStore::Append(const TLabelGeometry& geometry)
{
    return IndexOfRecord(WriteRow(0, geometry));
}

void TLabelLayoutStore::Rewrite(int row, const TLabelGeometry& geometry)
{
    if (row < 0 || row >= static_cast<int>(mRows.size()) || !mSet.Active())
        return;
    WriteRow(mRows[size_t(row)].recNo, geometry);
}

int TLabelLayoutStore::SaveDesign(int row, TLabelGeometry geometry,
                                  const std::function<void(const QString& path)>& write,
                                  QString* error)
{
    auto fail = [&](const QString& reason) {
        if (error)
            *error = reason;
        return -1;
    };
    if (!mSet.Active())
        return fail(QStringLiteral("Unable to Open or Create LABEL.DBF"));
    const bool isNew = row < 0;
    if (!isNew && row >= static_cast<int>(mRows.size()))
        return fail(MissingLayoutMessage());
    // The file the row names now, when it is the row's own (no other row shares it).
    QString oldName;
    if (!isNew) {
        const QString stored = mRows[size_t(row)].geometry.layoutFile.trimmed().toUpper();
        if (TLayoutFileNames::IsLayoutName(stored, TLayoutKind::Label) &&
            HeldNames().count(stored) == 1)
            oldName = stored;
    }
    // A new file every time: the row names it once it is complete, so a failure leaves the
    // earlier row and file. Only with every name taken does a layout rewrite its own file.
    geometry.layoutFile = NewLayoutName();
    if (TLayoutFileNames::IsNoFreeName(geometry.layoutFile, TLayoutKind::Label)) {
        if (oldName.isEmpty())
            return fail(AllNamesTakenMessage());
        geometry.layoutFile = oldName;
    }
    const QString path = TLayoutFileNames::PathFor(mSysdataDir, geometry.layoutFile);
    const QString oldPath =
        oldName.isEmpty() ? QString() : TLayoutFileNames::PathFor(mSysdataDir, oldName);

    // Both files wait on the row: the next open keeps the one a row names and removes the other,
    // also when the process is killed half-way.
    QString reason;
    if (!data::TPendingFiles::Mark(path, &reason) ||
        (!oldPath.isEmpty() && !data::TPendingFiles::Mark(oldPath, &reason))) {
        data::TPendingFiles::Clear(path);
        return fail(
            QStringLiteral("Cannot write file \"%1\". %2").arg(geometry.layoutFile, reason));
    }
    try {
        write(path);
    } catch (const design::TLayoutError& e) {
        SettlePending();
        return fail(e.Message());
    }
    try {
        const uint32_t recNo = WriteRow(isNew ? 0 : mRows[size_t(row)].recNo, geometry);
        return IndexOfRecord(recNo);
    } catch (const xbase::TXbaseError& e) {
        return fail(QString::fromStdString(e.Message()));
    } catch (const data::TDataSetError& e) {
        return fail(e.Message());
    }
}

} // namespace qm::labels
