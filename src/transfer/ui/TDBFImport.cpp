#include "transfer/ui/TDBFImport.h"

#include "data/TAddressFile.h"
#include "data/TMessageService.h"
#include "transfer/TDbfImportSource.h"
#include "transfer/TFileIdentity.h"
#include "transfer/TTransferError.h"
#include "transfer/ui/TDBFMatch.h"

#include <QFileInfo>
#include <QPushButton>

namespace qm::transfer {

TDBFImport::TDBFImport(const TFieldMatch::TLabelOf& labels, QWidget* parent)
    : TImportWindow(QStringLiteral("DBF File Import"), QStringLiteral("DBF File Name"),
                    QStringLiteral("Select DBF File"), true, kHelpContext, parent),
      mLabels(labels)
{
    setObjectName(QStringLiteral("TDBFImport"));
}

TDBFImport::~TDBFImport() = default;

bool TDBFImport::OpenAddressFile(const QString& path)
{
    mAddressPath = path;
    data::TAddressFile::DeclareFieldObjects(mDataSet);
    for (const auto& field : mDataSet.Fields()) {
        const TFieldMatch::TLabel label = mLabels(field->Name());
        field->SetDisplayLabel(label.label);
        field->SetVisible(label.visible);
    }
    return data::TAddressFile::Open(mDataSet, path).opened;
}

void TDBFImport::SelectFileClick()
{
    const QString chosen = ChooseFile(QStringLiteral("DBF Files (*.DBF *.dbf)"), QString());
    mSource.reset();
    mMatch = TFieldMatch();
    mMatchedBefore = false;
    mImport->setEnabled(false);
    MatchButton()->setEnabled(false);
    SetFileName(QString());
    if (chosen.isEmpty())
        return;
    if (TFileIdentity::Same(chosen, mAddressPath)) {
        data::TMessageService::Inform(this, QStringLiteral("Cannot import a file to itself"));
        return;
    }
    try {
        mSource = std::make_unique<TDbfSourceTable>(chosen);
    } catch (const TTransferError& error) {
        data::TMessageService::Inform(this, error.Message());
        return;
    }
    if (mSource->RecordCount() == 0) {
        data::TMessageService::Inform(this, QStringLiteral("There are no records in ") + chosen);
        mSource.reset();
        return;
    }
    mPath = chosen;
    SetFileName(chosen);
    mMatch = TFieldMatch(TFieldMatch::AddressTargets(mDataSet.Table(), mLabels, true),
                         TFieldMatch::TableSources(mSource->Table()));
    MatchButton()->setEnabled(true);
}

void TDBFImport::MatchButtonClick()
{
    if (!mSource)
        return;
    if (!mMatchedBefore)
        mMatch.Preset();
    TDBFMatch match(*mSource, mMatch, QFileInfo(mPath).fileName(), this);
    const int result = mMatchHook ? mMatchHook(match) : match.exec();
    if (result != QDialog::Accepted)
        return;
    mMatch = match.Match();
    mMatchedBefore = true;
    mImport->setEnabled(mMatch.AnyMatched());
}

std::unique_ptr<TImportSource> TDBFImport::MakeSource()
{
    if (!mSource)
        return nullptr;
    return std::make_unique<TDbfImportSource>(*mSource, mMatch, mDataSet.Table());
}

} // namespace qm::transfer
