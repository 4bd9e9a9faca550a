#include "envelopes/TEnvelopeLayoutStore.h"

#include "data/TMessageService.h"
#include "data/TPendingFiles.h"
#include "data/TSystemTableRows.h"
#include "data/TSystemTables.h"
#include "design/core/TGBasePanel.h"
#include "design/core/TGLabelObjectFiler.h"
#include "design/core/TLayoutFileNames.h"
#include "design/stream/TLayoutError.h"
#include "xbase/TTable.h"
#include "xbase/TXbaseError.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace qm::envelopes {

using data::TSystemTableRows;
namespace {

using design::TLayoutFileNames;
using design::TLayoutKind;

constexpr int kDescriptColumnWidth = 60;

} // namespace

TEnvelopeLayoutStore::TEnvelopeLayoutStore() = default;

TEnvelopeLayoutStore::~TEnvelopeLayoutStore()
{
    data::TSystemTables::CloseQuietly(mSet);
}

QString TEnvelopeLayoutStore::Open(const QString& sysdataDir)
{
    Close();
    mSysdataDir = sysdataDir;
    const QString failure = data::TSystemTables::OpenOrCreate(
        mSet, data::TSystemTable::Envelope, sysdataDir, xbase::TOpenMode::Exclusive, &mNotice);
    if (!failure.isEmpty())
        return failure;
    SettlePending();
    Reload();
    return {};
}

void TEnvelopeLayoutStore::Close()
{
    mRows.clear();
    if (mSet.Active())
        mSet.Close();
}

void TEnvelopeLayoutStore::Recover()
{
    data::TSystemTables::Reopen(mSet, data::TSystemTable::Envelope, mSysdataDir,
                                xbase::TOpenMode::Exclusive, &mNotice);
    SettlePending();
    Reload();
}

void TEnvelopeLayoutStore::SettlePending()
{
    if (!mSet.Active())
        return;
    const QStringList held = HeldNames();
    data::TPendingFiles::Settle(
        mSysdataDir, QStringLiteral("BIN?????.E"),
        [&held](const QString& name) { return held.contains(name.trimmed().toUpper()); });
}

void TEnvelopeLayoutStore::Reload()
{
    mRows.clear();
    if (!mSet.Active())
        return;
    TSystemTableRows::ForEachListed(mSet, "DESCRIPT", [this] {
        TEnvelopeLayout row;
        row.recNo = mSet.RecNo();
        row.description = TSystemTableRows::RightTrimmed(mSet.AsString(QStringLiteral("DESCRIPT")));
        // A NUMBER that does not read is no envelope size, like any unknown code.
        bool ok = false;
        row.code = mSet.AsString(QStringLiteral("NUMBER")).trimmed().toInt(&ok);
        if (!ok)
            row.code = 0;
        row.layoutFile = mSet.AsString(QStringLiteral("BINARY")).trimmed();
        mRows.push_back(std::move(row));
    });
}

int TEnvelopeLayoutStore::Find(const QString& description) const
{
    const QString wanted = TSystemTableRows::RightTrimmed(description);
    for (size_t i = 0; i < mRows.size(); ++i)
        if (mRows[i].description == wanted)
            return int(i);
    return -1;
}

int TEnvelopeLayoutStore::IndexOfRecord(uint32_t recNo) const
{
    for (size_t i = 0; i < mRows.size(); ++i)
        if (mRows[i].recNo == recNo)
            return int(i);
    return -1;
}

TEnvelopeLayout TEnvelopeLayoutStore::WorkingValues(int row) const
{
    if (row < 0 || row >= int(mRows.size()))
        return TEnvelopeLayout{};
    return mRows[size_t(row)];
}

TEnvelopeLayout TEnvelopeLayoutStore::NewLayout(int code) const
{
    TEnvelopeLayout values;
    values.description = TEnvelopeLayout::NewDescription();
    values.code = code;
    values.layoutFile = NewLayoutName();
    return values;
}

QString TEnvelopeLayoutStore::PathOf(const QString& storedName) const
{
    if (!TLayoutFileNames::IsLayoutName(storedName.trimmed(), TLayoutKind::Envelope))
        return {};
    try {
        return TLayoutFileNames::PathFor(mSysdataDir, storedName);
    } catch (const design::TLayoutError&) {
        return {};
    }
}

QString TEnvelopeLayoutStore::PrepareModify(TEnvelopeLayout& values) const
{
    const QString path = PathOf(values.layoutFile);
    if (!path.isEmpty() && QFileInfo(path).isFile())
        return path;
    if (path.isEmpty() || !values.IsNew())
        values.layoutFile = NewLayoutName();
    return {};
}

QString TEnvelopeLayoutStore::LayoutPath(int row, QString* why) const
{
    if (why)
        why->clear();
    const QString path =
        row >= 0 && row < int(mRows.size()) ? PathOf(mRows[size_t(row)].layoutFile) : QString();
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        if (why)
            *why = MissingLayoutMessage();
        return {};
    }
    return path;
}

QStringList TEnvelopeLayoutStore::HeldNames() const
{
    return TSystemTableRows::HeldValues(mSet, "BINARY");
}

QString TEnvelopeLayoutStore::NewLayoutName() const
{
    return TLayoutFileNames::NewName(mSysdataDir, TLayoutKind::Envelope, HeldNames());
}

bool TEnvelopeLayoutStore::GoToRow(uint32_t recNo)
{
    if (recNo == 0 || !mSet.Active())
        return false;
    mSet.GoTo(recNo);
    return mSet.RecNo() == recNo;
}

void TEnvelopeLayoutStore::WriteRow(const TEnvelopeLayout& values)
{
    mSet.SetAsString(QStringLiteral("DESCRIPT"),
                     values.description.left(TEnvelopeLayout::kMaxDescriptionLength));
    mSet.SetAsString(QStringLiteral("NUMBER"), QString::number(values.code));
    mSet.SetAsString(QStringLiteral("BINARY"), values.layoutFile);
}

int TEnvelopeLayoutStore::Save(const TEnvelopeLayout& given, design::TGBasePanel& panel,
                               QString* error)
{
    auto fail = [&](const QString& reason) {
        if (error)
            *error = reason;
        return -1;
    };
    if (!mSet.Active())
        return fail(QStringLiteral("Unable to Open or Create ENVELOPE.DBF"));
    TEnvelopeLayout values = given;
    // The file the row names now, when it is the row's own (no other row shares it).
    QString oldName;
    if (!values.IsNew()) {
        const auto own = std::find_if(mRows.begin(), mRows.end(), [&](const TEnvelopeLayout& r) {
            return r.recNo == values.recNo;
        });
        if (own != mRows.end() && !PathOf(own->layoutFile).isEmpty() &&
            HeldNames().count(own->layoutFile.trimmed().toUpper()) == 1)
            oldName = own->layoutFile.trimmed().toUpper();
    }
    // A new file every time: the row names it once it is complete, so a failure leaves the
    // earlier row and file. Only with every name taken does a layout rewrite its own file.
    values.layoutFile = NewLayoutName();
    if (TLayoutFileNames::IsNoFreeName(values.layoutFile, TLayoutKind::Envelope)) {
        if (oldName.isEmpty())
            return fail(AllNamesTakenMessage());
        values.layoutFile = oldName;
    }
    const QString path = TLayoutFileNames::PathFor(mSysdataDir, values.layoutFile);
    const QString oldPath = oldName.isEmpty() ? QString() : PathOf(oldName);

    // Both files wait on the row: the next open keeps the one a row names and removes the other.
    QString reason;
    if (!data::TPendingFiles::Mark(path, &reason) ||
        (!oldPath.isEmpty() && !data::TPendingFiles::Mark(oldPath, &reason))) {
        data::TPendingFiles::Clear(path);
        return fail(QStringLiteral("Cannot write file \"%1\". %2").arg(values.layoutFile, reason));
    }
    const float scale = panel.Scale();
    try {
        design::TGLabelObjectFiler::SaveToFile(panel, path);
    } catch (const design::TLayoutError& e) {
        // The filer leaves the panel at 100 % after a failed write; the designer stays open at
        // the zoom its caption shows.
        panel.SetScale(scale);
        SettlePending();
        return fail(e.Message());
    }
    try {
        if (values.IsNew()) {
            mSet.Append();
        } else {
            if (!GoToRow(values.recNo))
                throw data::TDataSetError(
                    QStringLiteral("The envelope layout \"%1\" is no longer in ENVELOPE.DBF")
                        .arg(values.description));
            data::TSystemTables::MarkIndexOutOfStep(mSet.Table());
            mSet.Edit();
        }
        try {
            WriteRow(values);
            mSet.Post();
        } catch (...) {
            mSet.Cancel();
            throw;
        }
        mSet.Table().Commit();
    } catch (const std::exception& e) {
        Recover();
        const auto* dataError = dynamic_cast<const data::TDataSetError*>(&e);
        return fail(dataError ? dataError->Message() : QString::fromLocal8Bit(e.what()));
    }
    const uint32_t recNo = mSet.RecNo();
    SettlePending();
    Reload();
    return IndexOfRecord(recNo);
}

bool TEnvelopeLayoutStore::Delete(int row, QWidget* parent)
{
    if (row < 0 || row >= int(mRows.size()))
        return false;
    const TEnvelopeLayout values = mRows[size_t(row)];
    if (!data::TMessageService::Ask(parent, QStringLiteral("DELETE"),
                                    QStringLiteral("Delete \"%1\"?").arg(values.description)))
        return false;
    const QString path = LayoutPath(row);
    // Another row naming the same file (marked ones too, or a copy made by other software)
    // keeps it.
    const bool shared = HeldNames().count(values.layoutFile.trimmed().toUpper()) > 1;
    if (!GoToRow(values.recNo))
        return false;
    const uint32_t recNo = values.recNo;
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

int TEnvelopeLayoutStore::Clone(int row, QWidget* parent)
{
    if (row < 0 || row >= int(mRows.size()))
        return -1;
    TEnvelopeLayout values = mRows[size_t(row)];
    if (!data::TMessageService::Ask(parent, QStringLiteral("CLONE"),
                                    QStringLiteral("Clone \"%1\"?").arg(values.description)))
        return -1;
    const QString from = LayoutPath(row);
    values.recNo = 0;
    values.description =
        (QStringLiteral("Clone of ") + values.description).left(kDescriptColumnWidth);
    values.layoutFile = NewLayoutName();
    if (TLayoutFileNames::IsNoFreeName(values.layoutFile, TLayoutKind::Envelope)) {
        data::TMessageService::Inform(parent, AllNamesTakenMessage());
        return -1;
    }
    const QString to = TLayoutFileNames::PathFor(mSysdataDir, values.layoutFile);
    // The copy is complete before a row names it, and waits on the row (see Save).
    QString reason;
    if (!data::TPendingFiles::Mark(to, &reason)) {
        data::TMessageService::Inform(
            parent, QStringLiteral("Cannot write file \"%1\". %2").arg(values.layoutFile, reason));
        return -1;
    }
    if (!from.isEmpty()) {
        try {
            const std::optional<QByteArray> bytes = design::TGLabelObjectFiler::ReadFile(from);
            if (bytes)
                design::TGLabelObjectFiler::WriteFile(to, *bytes);
        } catch (const design::TLayoutError& e) {
            SettlePending();
            data::TMessageService::Inform(parent, e.Message());
            return -1;
        }
    }
    try {
        mSet.Append();
        try {
            mSet.SetAsString(QStringLiteral("DESCRIPT"), values.description);
            mSet.SetAsString(QStringLiteral("NUMBER"), QString::number(values.code));
            mSet.SetAsString(QStringLiteral("BINARY"), values.layoutFile);
            mSet.Post();
        } catch (...) {
            mSet.Cancel();
            throw;
        }
        mSet.Table().Commit();
    } catch (...) {
        Recover();
        throw;
    }
    SettlePending();
    const uint32_t recNo = mSet.RecNo();
    Reload();
    return IndexOfRecord(recNo);
}

} // namespace qm::envelopes
