#include "labels/TLabelLayoutStore.h"

#include "data/TMessageService.h"
#include "data/TSystemTableRows.h"
#include "data/TSystemTables.h"
#include "design/core/TLayoutFileNames.h"
#include "design/stream/TLayoutError.h"
#include "labels/TLabelRow.h"
#include "labels/TLabelSheet.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
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
    QSaveFile target(to);
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
    Close();
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
    const QString failure =
        data::TSystemTables::OpenOrCreate(mSet, data::TSystemTable::Label, sysdataDir);
    if (!failure.isEmpty())
        return failure;
    Reload();
    return {};
}

void TLabelLayoutStore::Close()
{
    if (mSet.Active())
        mSet.Close();
    mRows.clear();
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
    mSet.MarkDeleted(true);
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
    // The new file is complete before a row names it, and goes again if the row cannot be added.
    const QString copyError = mCopy(from, to);
    if (!copyError.isEmpty()) {
        QFile::remove(to);
        data::TMessageService::Inform(parent, copyError);
        return -1;
    }
    try {
        return Append(g);
    } catch (...) {
        QFile::remove(to);
        throw;
    }
}

int TLabelLayoutStore::Append(const TLabelGeometry& geometry)
{
    mSet.Append();
    try {
        TLabelRow::WriteLayout(mSet, geometry);
        mSet.Post();
    } catch (...) {
        mSet.Cancel();
        throw;
    }
    const uint32_t recNo = mSet.RecNo();
    Reload();
    return IndexOfRecord(recNo);
}

void TLabelLayoutStore::Rewrite(int row, const TLabelGeometry& geometry)
{
    if (!GoToRow(row))
        return;
    mSet.Edit();
    try {
        TLabelRow::WriteLayout(mSet, geometry);
        mSet.Post();
    } catch (...) {
        mSet.Cancel();
        throw;
    }
    Reload();
}

} // namespace qm::labels
