#pragma once

#include "DeckText.h"

#include <QLabel>

// One line of text the user can select with the mouse, in a design font and an Ink role read at
// paint time. Invisible characters show as stand-ins (ShownText::line). Too long a line is cut
// in the middle with "…"; copying a selection that takes in the "…" copies the hidden middle
// too, and copying the whole line copies the text as received; with nothing selected the
// menu's "Копировать" copies the whole line.
class SelectableLine : public QLabel {
    Q_OBJECT
public:
    SelectableLine(const QString &text, const QFont &font, DeckText::InkRole ink, QWidget *parent = nullptr);

    QString fullText() const { return m_full; }
    // The text as drawn at the current width.
    QString shownText() const { return text(); }
    // The part of the line that the current selection stands for (the text as received when it
    // has no stand-ins or the whole line is selected).
    QString selectedFullText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void elide();
    void copySelection() const;

    QString m_full;
    QString m_line; // m_full with its stand-ins
    DeckText::InkRole m_ink;
};
