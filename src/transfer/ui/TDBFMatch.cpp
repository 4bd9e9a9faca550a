#include "transfer/ui/TDBFMatch.h"

#include "transfer/ui/TSourceTableModel.h"

#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace qm::transfer {

TDBFMatch::TDBFMatch(TDbfSourceTable& source, const TFieldMatch& match, const QString& fileName,
                     QWidget* parent)
    : TMatchFieldsDialog(QStringLiteral("DBF File Import Match Fields"), match, fileName,
                         kHelpContext, parent)
{
    setObjectName(QStringLiteral("TDBFMatch"));
    TopArea()->addWidget(new QLabel(QStringLiteral("Import DBF File Browser"), this));
    mBrowse = new QTableView(this);
    mBrowse->setObjectName(QStringLiteral("BrowseGrid"));
    mBrowse->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mBrowse->setModel(new TSourceTableModel(source, mBrowse));
    TopArea()->addWidget(mBrowse);
    resize(std::max(640, logicalDpiX() * 7), std::max(480, logicalDpiY() * 5));
}

} // namespace qm::transfer
