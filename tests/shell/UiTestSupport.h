#pragma once

#include "WidgetTestSupport.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QDir>
#include <QString>
#include <QWidget>

// Keyboard input as a user types it, delivered straight to `target`.
inline void pressKey(QWidget *target, int key, const QString &text = {}, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(target, &release);
}

inline void typeText(QWidget *target, const QString &text)
{
    for (const QChar c : text)
        pressKey(target, c.unicode() < 128 ? QChar(c).toUpper().unicode() : Qt::Key_unknown, QString(c));
}

inline void pressReturn(QWidget *target) { pressKey(target, Qt::Key_Return, QStringLiteral("\r")); }

// Moves keyboard focus as a click or Tab would (offscreen windows need to be active first).
inline void giveFocus(QWidget *widget)
{
    QApplication::setActiveWindow(widget->window());
    widget->setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
}
