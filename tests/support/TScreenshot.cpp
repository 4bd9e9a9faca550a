#include "TScreenshot.h"

#include <QCoreApplication>
#include <QDir>
#include <QPixmap>
#include <QWidget>

namespace qm::test {

void SaveScreenshot(QWidget& widget, const QString& name)
{
    const QString dir = qEnvironmentVariable("QM_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    QDir().mkpath(dir);
    widget.show();
    QCoreApplication::processEvents();
    widget.grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

} // namespace qm::test
