#include "ConsoleSuggestionBar.h"

#include "design/Ink.h"
#include "design/Squircle.h"
#include "design/Tokens.h"
#include "design/Typo.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace {

const QString kTabSign = QStringLiteral("⇥");
constexpr qreal kChipPadX = 7;
constexpr qreal kChipPadY = 3;

qreal chipHeight() { return std::ceil(QFontMetricsF(Typo::monoSmall()).height() + 2 * kChipPadY); }

} // namespace

ConsoleSuggestionBar::ConsoleSuggestionBar(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("console-suggestions"));
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(QStringLiteral("Подсказки команд"));
    setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
}

void ConsoleSuggestionBar::setSuggestions(const QStringList &suggestions, int highlighted)
{
    const QStringList chips = suggestions.mid(0, kMaximumChips);
    if (chips == m_chips && highlighted == m_highlighted)
        return;
    m_chips = chips;
    m_highlighted = highlighted;
    QStringList names;
    for (const QString &chip : m_chips)
        names << chip;
    setAccessibleDescription(names.join(QStringLiteral(", ")));
    updateGeometry();
    update();
}

qreal ConsoleSuggestionBar::signWidth() const { return QFontMetricsF(Typo::caption()).horizontalAdvance(kTabSign); }

QList<QRectF> ConsoleSuggestionBar::chipRects() const
{
    QList<QRectF> rects;
    const QFontMetricsF metrics(Typo::monoSmall());
    const qreal h = chipHeight();
    qreal x = Space::gutter + signWidth() + Space::xs;
    const qreal y = Space::xs;
    for (const QString &chip : m_chips) {
        const qreal w = std::ceil(metrics.horizontalAdvance(chip) + 2 * kChipPadX);
        rects.append(QRectF(x, y, w, h));
        x += w + Space::xs;
    }
    return rects;
}

QSize ConsoleSuggestionBar::sizeHint() const
{
    const QList<QRectF> rects = chipRects();
    const qreal right = rects.isEmpty() ? Space::gutter + signWidth() : rects.last().right();
    return QSize(int(std::ceil(right + Space::gutter)), int(chipHeight() + 2 * Space::xs));
}

void ConsoleSuggestionBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal h = chipHeight();
    p.setFont(Typo::caption());
    p.setPen(Ink::textTertiary());
    p.drawText(QRectF(Space::gutter, Space::xs, signWidth(), h), Qt::AlignLeft | Qt::AlignVCenter, kTabSign);
    p.setFont(Typo::monoSmall());
    const QList<QRectF> rects = chipRects();
    for (int i = 0; i < rects.size(); ++i) {
        const bool on = i == m_highlighted;
        p.fillPath(Squircle::path(rects[i], Radius::xs), on ? Ink::accentSoft() : Ink::neutralSoft());
        p.setPen(on ? Ink::accent() : Ink::textSecondary());
        p.drawText(rects[i], Qt::AlignCenter, m_chips[i]);
    }
}

void ConsoleSuggestionBar::mouseReleaseEvent(QMouseEvent *event)
{
    const QList<QRectF> rects = chipRects();
    for (int i = 0; i < rects.size(); ++i)
        if (rects[i].contains(event->position())) {
            Q_EMIT chosen(m_chips[i]);
            return;
        }
    QWidget::mouseReleaseEvent(event);
}
