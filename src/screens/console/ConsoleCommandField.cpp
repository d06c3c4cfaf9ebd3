#include "ConsoleCommandField.h"

#include "design/LineEditAccessible.h"
#include "design/Typo.h"

#include <QKeyEvent>

ConsoleCommandField::ConsoleCommandField(QWidget *parent) : QLineEdit(parent)
{
    setObjectName(QStringLiteral("console-command"));
    setFrame(false);
    setFont(Typo::monoBody());
    setAttribute(Qt::WA_MacShowFocusRect, false);
    setStyleSheet(QStringLiteral("QLineEdit { background: transparent; border: none; padding: 0; }"));
    // An empty line reads as "пусто" rather than as nothing.
    LineEditAccessible::setEmptyValue(this, QStringLiteral("пусто"));
    setAccessibleName(QStringLiteral("Командная строка"));
}

void ConsoleCommandField::showModelText(const QString &text)
{
    if (hasFocus() && m_modelText == text && this->text() != text)
        return;
    m_modelText = text;
    if (this->text() != text)
        setText(text);
}

bool ConsoleCommandField::event(QEvent *event)
{
    // Tab is a focus key, which QWidget handles before keyPressEvent; taken here first.
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab && !(key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))
            && onTab && onTab()) {
            event->accept();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void ConsoleCommandField::keyPressEvent(QKeyEvent *event)
{
    const bool plain = !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (plain && event->key() == Qt::Key_Up) {
        Q_EMIT historyPrevious();
        event->accept();
        return;
    }
    if (plain && event->key() == Qt::Key_Down) {
        Q_EMIT historyNext();
        event->accept();
        return;
    }
    if (plain && event->key() == Qt::Key_Escape && onEscape && onEscape()) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void ConsoleCommandField::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    Q_EMIT focusChanged(true);
}

void ConsoleCommandField::focusOutEvent(QFocusEvent *event)
{
    QLineEdit::focusOutEvent(event);
    Q_EMIT focusChanged(false);
}
