#include "addressbook/ui/TApplicationIdentity.h"

#include <QGuiApplication>

namespace qm::addressbook {

void TApplicationIdentity::Apply()
{
    QGuiApplication::setOrganizationName(QStringLiteral("quillmark"));
    QGuiApplication::setApplicationName(QStringLiteral("quillmark"));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.quillmark.Quillmark"));
}

} // namespace qm::addressbook
