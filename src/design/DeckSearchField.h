#pragma once

#include "AnimatedValue.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QWidget>

#include <optional>

// A small key-legend chip ("⌘F"): caption text, 4 px / 1 px padding, 5 px corners, neutral fill
// and hairline border. Not announced by accessibility.
class KeyHint : public QWidget {
    Q_OBJECT
public:
    explicit KeyHint(const QString &keys, QWidget *parent = nullptr);

    QString keys() const { return m_keys; }
    void setKeys(const QString &keys);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_keys;
};

// The search box of the list screens: a 28 px sunken rounded field with a magnifier, the text
// input and, at the end, a clear button while there is text or the key legend while empty.
// An accent 2 px ring shows keyboard focus. The field only edits the text; the owner filters.
//
// Width rule: with `width` the field prefers and never exceeds it and shrinks to
// min(minWidth, width); without it, it takes what it is offered, at least `minWidth`.
class DeckSearchField : public QWidget {
    Q_OBJECT
public:
    DeckSearchField(const QString &placeholder, std::optional<qreal> width = std::nullopt, qreal minWidth = 132,
                    std::optional<QString> shortcutHint = std::nullopt, QWidget *parent = nullptr);

    QString text() const;
    // Replaces the text; an equal text leaves the cursor where it is.
    void setText(const QString &text);
    // Shows a value that the owner's model holds, except while the field has focus and differs
    // from it only because the user typed: a model value that has not changed since it was last
    // shown never overwrites what the user is typing.
    void showModelText(const QString &text);
    QLineEdit *lineEdit() const { return m_edit; }
    bool isFocused() const { return m_focused; }

    // What the trailing end shows now.
    bool showsClearButton() const;
    bool showsKeyHint() const;
    QAbstractButton *clearButton() const { return m_clear; }
    KeyHint *keyHint() const { return m_hint; }

    // Ring and magnifier colours and the ring width of the settled state.
    QColor ringColor() const;
    qreal ringWidth() const;
    QColor magnifierColor() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    static constexpr qreal kHeight = 28;

Q_SIGNALS:
    void textChanged(const QString &text);
    // Every change the field makes itself (typing, the clear button, undo), none made through
    // setText or showModelText.
    void textEdited(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateAccessory();
    void setFocused(bool focused);

    std::optional<qreal> m_width;
    qreal m_minWidth;
    QLineEdit *m_edit;
    QAbstractButton *m_clear;
    KeyHint *m_hint = nullptr;
    bool m_focused = false;
    bool m_settingText = false; // inside setText: the owner's change, not an edit
    std::optional<QString> m_modelText;
    AnimatedValue *m_focus;
};
