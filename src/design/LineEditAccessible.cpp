#include "LineEditAccessible.h"

#include <QLineEdit>

namespace {

const char *const kEmptyValue = "kestrelEmptyAccessibleValue";

QAccessibleInterface *factory(const QString &, QObject *object)
{
    auto *edit = qobject_cast<QLineEdit *>(object);
    if (edit && edit->property(kEmptyValue).isValid())
        return new LineEditAccessible(edit);
    return nullptr;
}

} // namespace

LineEditAccessible::LineEditAccessible(QLineEdit *edit) : QAccessibleWidget(edit, QAccessible::EditableText) {}

void LineEditAccessible::setEmptyValue(QLineEdit *edit, const QString &emptyValue)
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
    edit->setProperty(kEmptyValue, emptyValue);
}

QLineEdit *LineEditAccessible::lineEdit() const { return static_cast<QLineEdit *>(widget()); }

QString LineEditAccessible::text(QAccessible::Text t) const
{
    if (t != QAccessible::Value)
        return QAccessibleWidget::text(t);
    QLineEdit *edit = lineEdit();
    if (edit->text().isEmpty())
        return edit->property(kEmptyValue).toString();
    return edit->echoMode() == QLineEdit::Normal ? edit->text() : QString();
}

void LineEditAccessible::setText(QAccessible::Text t, const QString &text)
{
    if (t != QAccessible::Value || lineEdit()->isReadOnly())
        return;
    QLineEdit *edit = lineEdit();
    edit->selectAll();
    edit->insert(text); // as typed: the field's listeners hear an edit
}

QAccessible::State LineEditAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    QLineEdit *edit = lineEdit();
    s.editable = !edit->isReadOnly();
    s.readOnly = edit->isReadOnly();
    s.selectableText = true;
    s.passwordEdit = edit->echoMode() != QLineEdit::Normal;
    return s;
}

void *LineEditAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

void LineEditAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    QLineEdit *edit = lineEdit();
    if (selectionIndex != 0 || !edit->hasSelectedText())
        return;
    *startOffset = edit->selectionStart();
    *endOffset = edit->selectionEnd();
}

int LineEditAccessible::selectionCount() const { return lineEdit()->hasSelectedText() ? 1 : 0; }
void LineEditAccessible::addSelection(int startOffset, int endOffset) { setSelection(0, startOffset, endOffset); }
void LineEditAccessible::removeSelection(int) { lineEdit()->deselect(); }

void LineEditAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        lineEdit()->setSelection(startOffset, endOffset - startOffset);
}

int LineEditAccessible::cursorPosition() const { return lineEdit()->cursorPosition(); }
void LineEditAccessible::setCursorPosition(int position) { lineEdit()->setCursorPosition(position); }

QString LineEditAccessible::text(int startOffset, int endOffset) const
{
    if (lineEdit()->echoMode() != QLineEdit::Normal)
        return {};
    return lineEdit()->text().mid(startOffset, endOffset - startOffset);
}

int LineEditAccessible::characterCount() const { return int(lineEdit()->text().size()); }

QRect LineEditAccessible::characterRect(int offset) const
{
    QLineEdit *edit = lineEdit();
    const QString text = edit->text();
    if (offset < 0 || offset >= text.size())
        return {};
    // Measured from the caret, which already accounts for the line's scrolling.
    const QFontMetrics metrics = edit->fontMetrics();
    const QRect caret = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const int x = caret.center().x() + metrics.horizontalAdvance(text.left(offset))
                  - metrics.horizontalAdvance(text.left(edit->cursorPosition()));
    const QRect local(x, caret.top(), metrics.horizontalAdvance(text.at(offset)), caret.height());
    return QRect(edit->mapToGlobal(local.topLeft()), local.size());
}

int LineEditAccessible::offsetAtPoint(const QPoint &point) const
{
    QLineEdit *edit = lineEdit();
    return edit->cursorPositionAt(edit->mapFromGlobal(point));
}

void LineEditAccessible::scrollToSubstring(int, int endIndex) { lineEdit()->setCursorPosition(endIndex); }

QString LineEditAccessible::attributes(int, int *startOffset, int *endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

void LineEditAccessible::deleteText(int startOffset, int endOffset)
{
    QLineEdit *edit = lineEdit();
    edit->setSelection(startOffset, endOffset - startOffset);
    edit->del();
}

void LineEditAccessible::insertText(int offset, const QString &text)
{
    QLineEdit *edit = lineEdit();
    edit->setCursorPosition(offset);
    edit->insert(text);
}

void LineEditAccessible::replaceText(int startOffset, int endOffset, const QString &text)
{
    QLineEdit *edit = lineEdit();
    edit->setSelection(startOffset, endOffset - startOffset);
    edit->insert(text);
}
