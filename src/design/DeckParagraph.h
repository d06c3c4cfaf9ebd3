#pragma once

#include "DeckText.h"

#include <QFont>
#include <QWidget>

// Text that wraps onto as many lines as it needs within its width (at word boundaries, or
// anywhere inside a word too long for a line), in a design font and an Ink role read at paint
// time. With a line limit the last shown line is elided. Its height follows its width
// (height-for-width), so a layout gives it its full height: a paragraph is never squeezed.
// A line feed starts a new paragraph; every other invisible character is drawn as a visible
// stand-in (ShownText::paragraphs). A text from a device that must stay one paragraph is given as
// ShownText::line(text).
class DeckParagraph : public QWidget {
    Q_OBJECT
public:
    DeckParagraph(const QString &text, const QFont &font, DeckText::InkRole ink, QWidget *parent = nullptr);

    QString text() const { return m_text; }
    // The text as drawn: its paragraphs with their stand-ins.
    QString shownText() const { return m_shown; }
    void setText(const QString &text);
    void setInk(DeckText::InkRole ink);
    QColor color() const { return m_ink(); }
    // 0: no limit.
    int maximumLines() const { return m_maxLines; }
    void setMaximumLines(int lines);
    // Horizontal alignment of each line (left or centre).
    void setAlignment(Qt::Alignment alignment);
    Qt::Alignment alignment() const { return m_alignment; }

    // The lines the text breaks into at `width` (unlimited count), and how many are shown.
    int lineCountFor(qreal width) const;
    int shownLineCountFor(qreal width) const;
    // Whether the line limit cuts the text at the current width.
    bool isTruncated() const { return shownLineCountFor(width()) < lineCountFor(width()); }

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Line {
        int start;
        int length;
    };
    QList<Line> breakLines(qreal width) const;
    qreal lineHeight() const;

    QString m_text;
    QString m_shown;
    DeckText::InkRole m_ink;
    int m_maxLines = 0;
    Qt::Alignment m_alignment = Qt::AlignLeft;
};
