#pragma once

#include "core/LogLine.h"

#include <QStyledItemDelegate>

class LogRowLayout;

// Paints one row of the log list (a LogRowsModel): on a line's first row its time (not in a
// compact list), level badge and tag, then the part of the message that falls on this row, in
// the level's colour, with every occurrence of the search text marked. The message is drawn
// without its colour codes and with its other controls visible (LogRowLayout::shownMessage);
// copying and saving take the line as received.
class LogRowDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // The text to mark, as typed; spaces and tabs at its ends do not count.
    void setHighlight(const QString &text);
    QString highlight() const { return m_highlight; }

    // Where the trimmed `highlight` occurs in `message`: non-overlapping, case-insensitive,
    // from the start; as (start, length) pairs.
    static QList<std::pair<qsizetype, qsizetype>> marks(QStringView message, const QString &highlight);
    // The message colour of a level.
    static QColor messageColor(LogLevel level);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    QString m_highlight;
};
