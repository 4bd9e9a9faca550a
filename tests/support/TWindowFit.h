#pragma once

// Whether a window fits a small screen: it can be made as small as the screen, and then every
// control it shows lies inside it (nothing cut at the right or bottom edge).

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QLineEdit>
#include <QStringList>
#include <QWidget>

namespace qm::test {

// Resizes the window to the size and lists the shown buttons and edits that do not lie wholly
// inside it (by object name), or the window's own name when it would not get that small.
inline QStringList ControlsOutside(QWidget& window, const QSize& size)
{
    window.resize(size);
    QCoreApplication::processEvents();
    QStringList outside;
    if (window.width() > size.width() || window.height() > size.height())
        outside << QStringLiteral("%1 (at least %2 x %3)")
                       .arg(window.objectName())
                       .arg(window.width())
                       .arg(window.height());
    const QRect inside = window.rect();
    for (QWidget* child : window.findChildren<QWidget*>()) {
        if (!child->isVisibleTo(&window) || child->window() != &window)
            continue;
        if (qobject_cast<QAbstractButton*>(child) == nullptr &&
            qobject_cast<QLineEdit*>(child) == nullptr)
            continue;
        bool scrolled = false; // what a scroll area holds is reached by scrolling
        for (QWidget* p = child->parentWidget(); p != nullptr && p != &window;
             p = p->parentWidget())
            scrolled = scrolled || qobject_cast<QAbstractScrollArea*>(p) != nullptr;
        if (scrolled)
            continue;
        const QRect at(child->mapTo(&window, QPoint(0, 0)), child->size());
        if (!inside.contains(at))
            outside << child->objectName();
    }
    return outside;
}

} // namespace qm::test
