#include "LogRowDelegate.h"

#include "LogRowsModel.h"

#include "design/Ink.h"
#include "design/ShownText.h"
#include "design/Squircle.h"
#include "design/ToneInk.h"

#include <QPainter>

namespace {

QColor withAlpha(QColor color, qreal alpha)
{
    color.setAlphaF(float(color.alphaF() * alpha));
    return color;
}

} // namespace

void LogRowDelegate::setHighlight(const QString &text) { m_highlight = text; }

QList<std::pair<qsizetype, qsizetype>> LogRowDelegate::marks(QStringView message, const QString &highlight)
{
    QList<std::pair<qsizetype, qsizetype>> found;
    const QStringView needle = trimmedLogText(highlight);
    if (needle.isEmpty())
        return found;
    qsizetype from = 0;
    while (from < message.size()) {
        const qsizetype at = message.indexOf(needle, from, Qt::CaseInsensitive);
        if (at < 0)
            break;
        found.append({at, needle.size()});
        from = at + needle.size();
    }
    return found;
}

QColor LogRowDelegate::messageColor(LogLevel level)
{
    switch (level) {
    case LogLevel::verbose:
    case LogLevel::debug:
        return Ink::textTertiary();
    case LogLevel::info:
        return Ink::textSecondary();
    case LogLevel::warning:
        return Ink::warning();
    case LogLevel::error:
    case LogLevel::fatal:
        break;
    }
    return Ink::danger();
}

QSize LogRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const auto *rows = qobject_cast<const LogRowsModel *>(index.model());
    if (!rows)
        return QStyledItemDelegate::sizeHint(option, index);
    return {int(rows->layout().width()), rows->layout().rowHeight()};
}

void LogRowDelegate::paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const auto *rows = qobject_cast<const LogRowsModel *>(index.model());
    if (!rows)
        return;
    const LogRowsModel::Row row = rows->rowAt(index.row());
    if (!row.line)
        return;
    const LogLine &line = *row.line;
    const LogRowLayout &layout = rows->layout();
    const QRectF rect = option.rect;

    p->save();
    p->setRenderHint(QPainter::Antialiasing);
    if (option.state & QStyle::State_Selected)
        p->fillRect(rect, withAlpha(Ink::accent(), 0.16));
    p->setFont(layout.font());
    const QFontMetricsF metrics(layout.font());
    const qreal baseline = rect.top() + LogRowLayout::kVerticalInset + metrics.ascent();
    const QPointF origin = rect.topLeft();

    if (row.segment == 0) {
        if (!layout.isCompact()) {
            const QRectF cell = layout.timeCell().translated(origin);
            p->setPen(withAlpha(Ink::textTertiary(), 0.8));
            p->drawText(QPointF(cell.left(), baseline),
                        metrics.elidedText(ShownText::line(line.timestamp().toString()), Qt::ElideRight, cell.width()));
        }
        const QRectF badge = layout.badgeCell().translated(origin);
        const Tone levelTone = tone(line.level);
        const QRectF badgeFill(badge.left() - 2, rect.top() + 0.5, badge.width() + 4, rect.height() - 1);
        p->fillPath(Squircle::path(badgeFill, 3), fill(levelTone));
        QFont bold = layout.font();
        bold.setBold(true);
        p->setFont(bold);
        p->setPen(foreground(levelTone));
        p->drawText(QRectF(badge.left(), rect.top(), badge.width(), rect.height()), Qt::AlignCenter,
                    rawValue(line.level));
        p->setFont(layout.font());

        const QRectF tag = layout.tagCell().translated(origin);
        p->setPen(withAlpha(Ink::accent(), 0.85));
        p->drawText(QPointF(tag.left(), baseline),
                    metrics.elidedText(ShownText::line(line.tag().toString()), Qt::ElideMiddle, tag.width()));
    }

    // This row's part of the message as drawn (colour codes gone, controls visible).
    QString shown;
    const QStringView message = LogRowLayout::shownMessage(line.message(), shown);
    qsizetype from = 0;
    qsizetype to = message.size();
    if (row.segments > 1) {
        const QList<qsizetype> starts = layout.rowStarts(message);
        from = starts.value(row.segment, message.size());
        to = row.segment + 1 < starts.size() ? starts[row.segment + 1] : message.size();
    }
    const qreal left = rect.left() + layout.messageX();
    p->setClipRect(QRectF(left, rect.top(), layout.messageWidth(), rect.height()));
    const QColor base = messageColor(line.level);
    qreal x = left;
    qsizetype at = from;
    auto drawRun = [&](qsizetype end, bool marked) {
        if (end <= at)
            return;
        const QStringView run = message.sliced(at, end - at);
        const qreal width = layout.advance(run);
        if (marked) {
            p->fillRect(QRectF(x, rect.top() + 0.5, width, rect.height() - 1), withAlpha(Ink::warning(), 0.28));
            p->setPen(Ink::text());
        } else {
            p->setPen(base);
        }
        p->drawText(QPointF(x, baseline), run.toString());
        x += width;
        at = end;
    };
    for (const auto &[start, length] : marks(message, m_highlight)) {
        const qsizetype end = start + length;
        if (end <= from || start >= to)
            continue;
        drawRun(std::max(start, from), false);
        drawRun(std::min(end, to), true);
    }
    drawRun(to, false);
    p->restore();
}
