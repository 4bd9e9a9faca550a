#include "transfer/ui/TAsciiImport.h"

#include "data/TAddressFile.h"
#include "data/TMessageService.h"
#include "transfer/TColumnNames.h"
#include "transfer/TCsvImportSource.h"
#include "transfer/TTransferError.h"
#include "transfer/TVCardImportSource.h"
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
        ChooseFile(QStringLiteral("Text files, CSV Files, vCard files (*.TXT *.txt *.CSV *.csv "
                                  "*.VCF *.vcf);;All files (*)"),
                   QString());
    mPath = chosen;
    mSample = TCsvSample();
    mMatch = TFieldMatch();
    mHeader = false;
    mVCard = false;
    mImport->setEnabled(false);
    SetFileName(chosen);
    SetStatusText(QString());
    if (chosen.isEmpty()) {
        mMatch = TFieldMatch();
        MatchButton()->setEnabled(false);
        return;
    }
    if (TVCardImportSource::LooksLikeVCard(chosen)) {
        // The cards name their fields: nothing to match; the import checks the whole file first.
        mVCard = true;
        MatchButton()->setEnabled(false);
        mImport->setEnabled(true);
        SetStatusText(QStringLiteral("A vCard file: each card fills the fields by itself."));
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
    const QStringList& first = mSample.Rows().front();
    mHeader = TColumnNames::Shipped().IsHeader(first, mMatch.Targets());
    if (mHeader) {
        mMatch.SetColumnNames(first);
        const int matched = TColumnNames::Shipped().MatchByName(mMatch, first);
        SetStatusText(QStringLiteral("The first line holds column names; %1 of %2 matched by name.")
                          .arg(matched)
                          .arg(mSample.FieldCount()));
    }
    MatchButton()->setEnabled(true);
}

void TAsciiImport::MatchButtonClick()
{
    TAsciiMatch match(mSample, mMatch, mHeader, QFileInfo(mPath).fileName(), this);
    const int result = mMatchHook ? mMatchHook(match) : match.exec();
    if (result != QDialog::Accepted)
        return;
    mMatch = match.Match();
    mHeader = match.HeaderLine();
    mImport->setEnabled(mMatch.AnyMatched());
}

std::unique_ptr<TImportSource> TAsciiImport::MakeSource()
{
    try {
        if (mVCard)
            return std::make_unique<TVCardImportSource>(mPath, mDataSet.Table());
        auto source = std::make_unique<TCsvImportSource>(mPath, mMatch, mDataSet.Table(),
                                                         mSample.FieldCount());
        source->SetHeaderLine(mHeader);
        return source;
    } catch (const TTransferError& error) {
        data::TMessageService::Inform(this, TImportRun::RefusalMessage(error.Message()));
        return nullptr;
    }
}

} // namespace qm::transfer
