#pragma once

#include "DeckText.h"

#include <QLabel>

// One line of text the user can select with the mouse, in a design font and an Ink role read at
// paint time. Too long a line is cut in the middle with "…"; copying a selection that takes in
// the "…" copies the hidden middle too, so what lands on the clipboard is the real text; with
// nothing selected the menu's "Копировать" copies the whole line.
class SelectableLine : public QLabel {
    Q_OBJECT
public:
    SelectableLine(const QString &text, const QFont &font, DeckText::InkRole ink, QWidget *parent = nullptr);

    QString fullText() const { return m_full; }
    // The text as drawn at the current width.
    QString shownText() const { return text(); }
    // The part of the full text that the current selection stands for.
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
    DeckText::InkRole m_ink;
};
