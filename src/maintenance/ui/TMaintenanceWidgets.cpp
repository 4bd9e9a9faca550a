#include "maintenance/ui/TMaintenanceWidgets.h"

#include "data/ui/THelpWindow.h"

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace qm::maintenance {

QProgressBar* TMaintenanceWidgets::ProgressBar(QWidget* parent)
{
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(QStringLiteral("ProgressBar"));
    bar->setRange(0, 100);
    bar->hide();
    return bar;
}

QLabel* TMaintenanceWidgets::StatusLabel(QWidget* parent)
{
    auto* status = new QLabel(parent);
    status->setObjectName(QStringLiteral("StatusLabel"));
    status->hide();
    return status;
}

QPushButton* TMaintenanceWidgets::HelpButton(QDialog* dialog, int context)
{
    auto* help = new QPushButton(QStringLiteral("Help"), dialog);
    help->setObjectName(QStringLiteral("HelpButton"));
    QObject::connect(help, &QPushButton::clicked, dialog,
                     [dialog, context] { data::THelpWindow::ShowContext(context, dialog); });
    return help;
}

} // namespace qm::maintenance
