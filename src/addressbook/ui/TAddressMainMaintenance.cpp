// The Utilities menu's checks and bulk edits: each hands the records to its window as the main
// window does for every other window (THandOver) and takes them back afterwards.

#include "addressbook/THandOver.h"
#include "addressbook/ui/TAddressMain.h"
#include "addressbook/ui/TTaggingDialog.h"
#include "data/TMessageService.h"
#include "data/TProgramHome.h"
#include "data/TSystemTables.h"
#include "maintenance/TResultIndex.h"
#include "maintenance/ui/TConvertCaseDialog.h"
#include "maintenance/ui/TDeleteRecordsDialog.h"
#include "maintenance/ui/TDuplicateCheckDialog.h"
#include "maintenance/ui/TSearchReplaceDialog.h"
#include "maintenance/ui/TStateZipCheckDialog.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace qm::addressbook {

using data::TMessageService;

void TAddressMain::MaintenanceItemClick()
{
    auto* action = qobject_cast<QAction*>(sender());
    if (!action || !mBook.Commands().idle)
        return;
    const QString name = action->objectName();
    const auto tagAll = [this] {
        TTaggingDialog dialog(mBook, this);
        RunDialog(dialog);
    };
    bool rebuild = false;

    if (name == QLatin1String("CheckDuplicatesItem")) {
        THandOverOptions options;
        options.applyFilterAfter = true;
        {
            THandOver handOver(mBook, options);
            mBook.Apollo().SetQuery(QStringLiteral("!ISDEL"));
            maintenance::TDuplicateCheckDialog dialog(mBook, this);
            dialog.SetTagAll(tagAll);
            RunDialog(dialog);
            rebuild = dialog.RebuildWanted();
        }
        QFile::remove(
            QDir(data::TProgramHome::Current().Dir())
                .filePath(QString::fromLatin1(maintenance::TResultIndex::kDuplicatesFile)));
    } else if (name == QLatin1String("CheckStateZipItem")) {
        const QString csz = data::TSystemTables::FilePath(
            data::TSystemTable::StateZip, data::TProgramHome::Current().SysDataDir());
        if (!QFileInfo::exists(csz)) {
            TMessageService::Inform(this,
                                    QStringLiteral("The file CSZ.DBF has been removed from the "
                                                   "SYSDATA directory. Unable to continue."));
            return;
        }
        THandOverOptions options;
        {
            THandOver handOver(mBook, options);
            mBook.Apollo().SetQuery(QStringLiteral("!ISDEL"));
            maintenance::TStateZipCheckDialog dialog(mBook, this);
            dialog.SetTagAll(tagAll);
            RunDialog(dialog);
            rebuild = dialog.RebuildWanted();
        }
    } else if (name == QLatin1String("ConvertCaseItem")) {
        THandOverOptions options;
        options.rememberQuery = false;
        options.rememberOrder = false;
        THandOver handOver(mBook, options);
        maintenance::TConvertCaseDialog dialog(mBook.DataSet(), !mBook.FilterExpression().isEmpty(),
                                               this);
        RunDialog(dialog);
    } else if (name == QLatin1String("DeleteRecordsItem") ||
               name == QLatin1String("SearchReplaceItem")) {
        THandOverOptions options;
        options.rememberRecord = false;
        options.applyFilterAfter = true;
        options.firstRecordAfter = true;
        THandOver handOver(mBook, options);
        const QString filter = mBook.FilterExpression();
        mBook.Apollo().SetQuery(filter);
        if (name == QLatin1String("DeleteRecordsItem")) {
            maintenance::TDeleteRecordsDialog dialog(mBook.DataSet(), filter, this);
            RunDialog(dialog);
        } else {
            maintenance::TSearchReplaceDialog dialog(mBook.DataSet(), filter, this);
            RunDialog(dialog);
        }
    }
    UpdateCommands();
    if (rebuild)
        RebuildIndexesItemClick();
}

} // namespace qm::addressbook
