#pragma once

#include "bridge/ConsoleEntry.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QList>
#include <QStyledItemDelegate>
#include <QUuid>

class QListView;

// A transcript text broken into the lines it is drawn in: the text as drawn (tabs expanded to
// stops of 8 columns, carriage returns dropped, other control characters and bidirectional
// controls shown as their stand-ins, ShownText::standIn) and, per line, where it starts and how long it is. A line break ends a line; a line
// wider than the width wraps after its last space, or anywhere in a word too long for a line.
// A text ending with a line break draws no empty last line.
struct ConsoleTextLayout {
    struct Line {
        qsizetype start = 0;
        qsizetype length = 0;
        bool operator==(const Line &) const = default;
    };
    QString display;
    QList<Line> lines;

    // Advances of the characters of one monospaced font, measured once per character.
    class Advances {
    public:
        explicit Advances(const QFont &font);
        qreal of(char32_t codePoint) const
        {
            return codePoint < 128 ? m_ascii[codePoint] : other(codePoint);
        }
        qreal widest() const { return m_widest; }
        // The one advance of every printable ASCII character, or 0 when they differ.
        qreal asciiCell() const { return m_asciiCell; }

    private:
        qreal other(char32_t codePoint) const;

        QFont m_font;
        qreal m_ascii[128];
        qreal m_widest = 1;
        qreal m_asciiCell = 0;
        mutable QHash<char32_t, qreal> m_other;
    };

    static ConsoleTextLayout make(const QString &text, const Advances &advances, qreal width);
    // How many lines `make` would give, without keeping them.
    static qsizetype lineCount(const QString &text, const Advances &advances, qreal width);
    // Where each UTF-16 unit of `line` starts, from the line's left edge, and the line's width
    // last (size + 1 values).
    static QList<qreal> offsets(QStringView line, const Advances &advances);
};

// The ranges of `text` to mark for `highlight` (already trimmed): every non-overlapping
// occurrence from the start, ignoring letter case.
QList<QPair<qsizetype, qsizetype>> consoleMarkRanges(const QString &text, const QString &highlight);

// One transcript row: the time of day, a thin bar coloured by the entry's kind, and the text in
// the kind's colour, wrapped onto as many lines as it needs, with search matches marked. A row's
// height is measured once per width and kept in the transcript model beside its entry, so a
// layout pass over 3,000 rows costs 3,000 lookups; only the rows drawn are broken into lines.
class ConsoleRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit ConsoleRowDelegate(QListView *view);

    // Geometry of a row, in the view's viewport.
    static constexpr qreal kTimeWidth = 58;
    static constexpr qreal kBarWidth = 2;
    static constexpr qreal kRowGap = 3; // between rows
    qreal textLeft() const;
    qreal textWidth() const;
    qreal lineHeight() const { return m_lineHeight; }

    // Colours per kind: the bar's (with its opacity applied) and the text's.
    static QColor barColor(ConsoleEntryKind kind);
    static QColor textColor(ConsoleEntryKind kind);

    // The layout of an entry at the current width.
    ConsoleTextLayout layoutFor(const ConsoleEntry &entry) const;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // The read-only text of a row, to select part of it and copy.
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *, QAbstractItemModel *, const QModelIndex &) const override {}
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    QListView *m_view;
    QFont m_textFont;
    QFont m_timeFont;
    ConsoleTextLayout::Advances m_advances;
    qreal m_lineHeight;
    qreal m_ascent;
    mutable qreal m_measuredWidth = -1;
};
