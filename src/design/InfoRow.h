#pragma once

#include "DeckText.h"

#include <QLabel>
#include <QWidget>

class CopyableValue;
class DeckParagraph;

// Wrapping text the user can select with the mouse, in a design font and an Ink role read at
// paint time.
class SelectableText : public QLabel {
    Q_OBJECT
public:
    SelectableText(const QString &text, const QFont &font, DeckText::InkRole ink, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    DeckText::InkRole m_ink;
};

// A label/value line of the detail lists: the label (supporting, Ink::textTertiary) wrapping in
// a 128 px column, then the value, 12 px apart, top-aligned. The value is a CopyableValue (one
// line, elided in the middle) when `copyable`, else selectable text that wraps onto as many
// lines as it needs; in Typo::mono when `mono`, else Typo::body, coloured `tone` (Ink::text by
// default); a copyable value's text starts where a plain value's would. Read as one element:
// "label: value". The value is a value from outside: its line breaks and other invisible
// characters are drawn as stand-ins (ShownText::line).
class InfoRow : public QWidget {
    Q_OBJECT
public:
    InfoRow(const QString &label, const QString &value, bool mono = false, bool copyable = false,
            DeckText::InkRole tone = {}, QWidget *parent = nullptr);

    QString accessibilityLabel() const;
    DeckParagraph *labelText() const { return m_label; }
    CopyableValue *copyableValue() const { return m_copyable; } // null unless copyable
    SelectableText *valueText() const { return m_text; }       // null when copyable

    static constexpr qreal kLabelWidth = 128;

private:
    DeckParagraph *m_label;
    CopyableValue *m_copyable = nullptr;
    SelectableText *m_text = nullptr;
    QString m_labelText;
    QString m_value;
};
