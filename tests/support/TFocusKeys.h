#pragma once

// Keys pressed as the user presses them: into whichever control of a window has the focus. For
// window tests that walk every control a key may start from.

#include <QApplication>
#include <QList>
#include <QTest>
#include <QWidget>

namespace qm::test {

// The controls of a shown window that can take the keyboard focus, in creation order.
inline QList<QWidget*> FocusableControls(QWidget& window)
{
    QList<QWidget*> controls;
    for (QWidget* child : window.findChildren<QWidget*>())
        if (child->window() == &window && child->isVisible() && child->isEnabled() &&
            child->focusPolicy() != Qt::NoFocus && child->focusProxy() == nullptr)
            controls << child;
    return controls;
}

// Makes the window the active one, so that focus and keys reach it offscreen too.
inline bool Activate(QWidget& window)
{
    window.show();
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window);
}

// Gives the control the focus; false when it would not take it.
inline bool Focus(QWidget& control)
{
    control.setFocus(Qt::OtherFocusReason);
    QCoreApplication::processEvents();
    return QApplication::focusWidget() == &control;
}

// Presses and releases the key where the focus is.
inline void PressKey(int key, Qt::KeyboardModifiers modifiers = {})
{
    QWidget* target = QApplication::focusWidget();
    if (target == nullptr)
        target = QApplication::activeWindow();
    if (target == nullptr)
        return;
    QTest::keyClick(target, Qt::Key(key), modifiers);
    QCoreApplication::processEvents();
}

} // namespace qm::test
