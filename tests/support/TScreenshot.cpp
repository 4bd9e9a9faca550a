#include "TScreenshot.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
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

void SaveScreenScreenshot(const QString& name)
{
    const QString dir = qEnvironmentVariable("QM_SCREENSHOT_DIR");
    QScreen* screen = QGuiApplication::primaryScreen();
    if (dir.isEmpty() || !screen)
        return;
    QDir().mkpath(dir);
    QCoreApplication::processEvents();
    screen->grabWindow(0).save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

} // namespace qm::test
