#include "transfer/ui/TAsciiImport.h"

#include "data/TAddressFile.h"
#include "data/TMessageService.h"
#include "transfer/TCsvImportSource.h"
#include "transfer/TTransferError.h"
#include "transfer/ui/TAsciiMatch.h"

#include <QFileInfo>
#include <QPushButton>

namespace qm::transfer {

TAsciiImport::TAsciiImport(const TFieldMatch::TLabelOf& labels, QWidget* parent)
    : TImportWindow(QStringLiteral("ASCII File Import"), QStringLiteral("ASCII File Name"),
                    QStringLiteral("Select ASCII File"), true, kHelpContext, parent),
      mLabels(labels)
{
    setObjectName(QStringLiteral("TAsciiImport"));
}

bool TAsciiImport::OpenAddressFile(const QString& path)
{
    data::TAddressFile::DeclareFieldObjects(mDataSet);
    for (const auto& field : mDataSet.Fields()) {
        const TFieldMatch::TLabel label = mLabels(field->Name());
        field->SetDisplayLabel(label.label);
        field->SetVisible(label.visible);
    }
    return data::TAddressFile::Open(mDataSet, path).opened;
}

void TAsciiImport::SelectFileClick()
{
    const QString chosen =
        ChooseFile(QStringLiteral("Text files, CSV Files (*.TXT *.txt *.CSV *.csv);;All files (*)"),
                   QString());
    mPath = chosen;
    mSample = TCsvSample();
    mMatch = TFieldMatch();
    mImport->setEnabled(false);
    SetFileName(chosen);
    if (chosen.isEmpty()) {
        mMatch = TFieldMatch();
        MatchButton()->setEnabled(false);
        return;
    }
    mSample = TCsvSample::FromFile(chosen);
    if (!mSample.Usable()) {
        data::TMessageService::Inform(this, mSample.Error().isEmpty()
                                                ? QStringLiteral("Unable to import from this file")
                                                : TImportRun::RefusalMessage(mSample.Error()));
        MatchButton()->setEnabled(false);
        return;
    }
    mMatch = TFieldMatch(TFieldMatch::AddressTargets(mDataSet.Table(), mLabels, false),
                         TFieldMatch::TextSources(mSample.FieldCount()));
    MatchButton()->setEnabled(true);
}

void TAsciiImport::MatchButtonClick()
{
    TAsciiMatch match(mSample, mMatch, QFileInfo(mPath).fileName(), this);
    const int result = mMatchHook ? mMatchHook(match) : match.exec();
    if (result != QDialog::Accepted)
        return;
    mMatch = match.Match();
    mImport->setEnabled(mMatch.AnyMatched());
}

std::unique_ptr<TImportSource> TAsciiImport::MakeSource()
{
    try {
        return std::make_unique<TCsvImportSource>(mPath, mMatch, mDataSet.Table(),
                                                  mSample.FieldCount());
    } catch (const TTransferError& error) {
        data::TMessageService::Inform(this, TImportRun::RefusalMessage(error.Message()));
        return nullptr;
    }
}

} // namespace qm::transfer
