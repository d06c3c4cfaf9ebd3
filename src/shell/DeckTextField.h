#pragma once

#include "design/AnimatedValue.h"

#include <QLineEdit>
#include <QWidget>

#include <functional>
#include <optional>

// The single-line text input: a 28 px sunken rounded field whose hairline border becomes a 2 px
// accent ring while it has keyboard focus. It edits text owned by the caller (see
// bindDeckTextField); Return runs `onSubmit` when one is given and does nothing otherwise.
class DeckTextField : public QWidget {
    Q_OBJECT
public:
    explicit DeckTextField(const QString &placeholder, bool mono = false, std::function<void()> onSubmit = {},
                           QWidget *parent = nullptr);

    QString text() const { return m_edit->text(); }
    // Replaces the text; an equal text leaves the cursor where it is.
    void setText(const QString &text);
    // Shows a value that the owner's model holds, except while the field has focus and differs
    // from it only because the user typed: a model value that has not changed since it was last
    // shown never overwrites what the user is typing (nor moves the cursor).
    void showModelText(const QString &text);
    QString placeholder() const { return m_edit->placeholderText(); }
    bool isMono() const { return m_mono; }
    bool isFocused() const { return m_focused; }
    QLineEdit *lineEdit() const { return m_edit; }

    // Border of the current (eased) focus state.
    QColor ringColor() const;
    qreal ringWidth() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    static constexpr qreal kHeight = 28;

Q_SIGNALS:
    // Every change the field makes itself (typing, undo, the context menu), none made through
    // setText or showModelText.
    void textEdited(const QString &text);
    // The user finished an edit: Return, or the focus left after a change. Callers that must not
    // act on half-typed values (a tool path) take the value here instead of on every keystroke.
    void committed(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setFocused(bool focused);
    void commitIfEdited();

    QLineEdit *m_edit;
    bool m_mono;
    std::function<void()> m_onSubmit;
    bool m_focused = false;
    bool m_editedSinceCommit = false;
    bool m_settingText = false; // inside setText: the owner's change, not an edit
    std::optional<QString> m_modelText;
    AnimatedValue *m_focus;
};

// Keeps a text field (DeckTextField or DeckSearchField) and a text property (Published or Stored)
// of `owner` in step: every change the field makes itself (typing, a search field's clear button)
// sets the property, and changes of the property from elsewhere show in the field without ever
// overwriting what the user is typing.
template <typename Field, typename Owner, typename Property>
void bindDeckTextField(Field *field, Owner *owner, Property &property)
{
    field->showModelText(property.get());
    QObject::connect(field, &Field::textEdited, owner, [&property](const QString &text) { property.set(text); });
    owner->observe(property, field, [field, &property] { field->showModelText(property.get()); });
}
