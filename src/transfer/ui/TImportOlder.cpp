#include "transfer/ui/TImportOlder.h"

#include "data/TMessageService.h"
#include "transfer/TFileIdentity.h"
#include "transfer/TTransferError.h"

#include <QPushButton>

namespace qm::transfer {

TImportOlder::TImportOlder(TOlderImportSource::TVersion version, xbase::TTable& target,
                           const QString& openPath, QWidget* parent)
    : TImportWindow(version == TOlderImportSource::TVersion::V1
                        ? QStringLiteral("Import Quillmark 1.x DBF")
                        : QStringLiteral("Import Quillmark 2.x DBF"),
                    QStringLiteral("DBF File Name"), QStringLiteral("Select DBF File"), false,
                    kHelpContext, parent),
      mVersion(version), mTarget(target), mOpenPath(openPath)
{
    setObjectName(QStringLiteral("TImportOlder"));
}

TImportOlder::~TImportOlder() = default;

void TImportOlder::SelectFileClick()
{
    const QString chosen = ChooseFile(QStringLiteral("DBF Files (*.dbf *.DBF)"), QString());
    mSource.reset();
    mImport->setEnabled(false);
    SetFileName(QString());
    if (chosen.isEmpty())
        return;
    if (TFileIdentity::Same(chosen, mOpenPath)) {
        data::TMessageService::Inform(this, QStringLiteral("Cannot import a file to itself"));
        return;
    }
    try {
        mSource = std::make_unique<TDbfSourceTable>(chosen);
    } catch (const TTransferError& error) {
        data::TMessageService::Inform(this, error.Message());
        return;
    }
    QString refusal;
    if (mSource->RecordCount() == 0)
        refusal = QStringLiteral("There are no records in ") + chosen;
    else
        refusal = TOlderImportSource::VersionError(*mSource, mVersion);
    if (!refusal.isEmpty()) {
        data::TMessageService::Inform(this, refusal);
        mSource.reset();
        return;
    }
    SetFileName(chosen);
    mImport->setEnabled(true);
}

std::unique_ptr<TImportSource> TImportOlder::MakeSource()
{
    if (!mSource)
        return nullptr;
    try {
        return std::make_unique<TOlderImportSource>(*mSource, mVersion, mTarget);
    } catch (const TTransferError& error) {
        data::TMessageService::Inform(this, error.Message());
        return nullptr;
    }
}

} // namespace qm::transfer
