#include "DeckSegmented.h"

#include "Accessibility.h"
#include "FocusRing.h"
#include "Ink.h"
#include "ShadowCache.h"
#include "SpecularEdge.h"
#include "Squircle.h"
#include "Symbols.h"
#include "Theme.h"
#include "Tokens.h"
#include "Typo.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace {
constexpr qreal kPad = 11;
constexpr qreal kIcon = 10;
constexpr qreal kGap = 2;
constexpr qreal kPuckRadius = Radius::xs + 1;

QRectF lerp(const QRectF &a, const QRectF &b, qreal t)
{
    return QRectF(a.x() + (b.x() - a.x()) * t, a.y() + (b.y() - a.y()) * t, a.width() + (b.width() - a.width()) * t,
                  a.height() + (b.height() - a.height()) * t);
}
} // namespace

DeckSegmented::DeckSegmented(const QList<Item> &items, const QVariant &selection, QWidget *parent)
    : DeckSegmented(items, selection, tr("Фильтр"), parent)
{
}

DeckSegmented::DeckSegmented(const QList<Item> &items, const QVariant &selection,
                             const QString &accessibilityLabelText, QWidget *parent)
    : QWidget(parent), m_items(items), m_selection(selection), m_puck(new AnimatedValue(1, this))
{
    setAccessibleName(accessibilityLabelText);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    // Reached with Tab and worked with the arrow keys; a click chooses without taking the focus.
    setFocusPolicy(Qt::TabFocus);
    const int i = selectedIndex();
    if (i >= 0)
        m_puckFrom = m_puckTo = segmentRects().value(i);
}

void DeckSegmented::setItems(const QList<Item> &items)
{
    m_items = items;
    const int i = selectedIndex();
    m_puckFrom = m_puckTo = i >= 0 ? segmentRects().value(i) : QRectF();
    m_puck->jumpTo(1);
    updateGeometry();
    update();
}

int DeckSegmented::selectedIndex() const
{
    for (int i = 0; i < m_items.size(); ++i)
        if (m_items[i].value == m_selection)
            return i;
    return -1;
}

void DeckSegmented::setSelection(const QVariant &value)
{
    if (value == m_selection)
        return;
    const QRectF current = puckRect();
    m_selection = value;
    const int i = selectedIndex();
    const QRectF target = i >= 0 ? segmentRects().value(i) : QRectF();
    // Slide only from a visible puck; one that appears or goes away does so at once.
    if (current.isEmpty() || target.isEmpty()) {
        m_puckFrom = m_puckTo = target;
        m_puck->jumpTo(1);
    } else {
        m_puckFrom = current;
        m_puckTo = target;
        m_puck->jumpTo(0);
        m_puck->animateTo(1, Motion::resolve(Motion::snap(), A11y::reduceMotion()));
    }
    update();
    Q_EMIT selectionChanged(value);
}

qreal DeckSegmented::segmentWidth(const Item &item) const
{
    qreal w = 2 * kPad + QFontMetricsF(Typo::label()).horizontalAdvance(item.title);
    if (item.icon)
        w += kIcon + Space::xs;
    if (item.count)
        w += Space::xs + QFontMetricsF(Typo::caption()).horizontalAdvance(QString::number(*item.count));
    return std::ceil(w);
}

QList<QRectF> DeckSegmented::segmentRects() const
{
    QList<QRectF> rects;
    qreal x = kInset;
    for (const Item &item : m_items) {
        const qreal w = segmentWidth(item);
        rects.append(QRectF(x, kInset, w, kSegmentHeight));
        x += w + kGap;
    }
    return rects;
}

QRectF DeckSegmented::puckRect() const
{
    if (selectedIndex() < 0)
        return {};
    return lerp(m_puckFrom, m_puckTo, m_puck->value());
}

QSize DeckSegmented::sizeHint() const
{
    const QList<QRectF> rects = segmentRects();
    const qreal w = rects.isEmpty() ? 2 * kInset : rects.last().right() + kInset;
    return QSize(int(std::ceil(w)), int(kSegmentHeight + 2 * kInset));
}

void DeckSegmented::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QList<QRectF> rects = segmentRects();
    for (int i = 0; i < rects.size(); ++i) {
        if (rects[i].contains(event->position())) {
            const QVariant value = m_items[i].value;
            setSelection(value);
            Q_EMIT activated(value);
            return;
        }
    }
}

void DeckSegmented::keyPressEvent(QKeyEvent *event)
{
    const int step = event->key() == Qt::Key_Left || event->key() == Qt::Key_Up       ? -1
                   : event->key() == Qt::Key_Right || event->key() == Qt::Key_Down ? 1
                                                                                     : 0;
    if (step == 0 || m_items.isEmpty() || event->modifiers() & ~Qt::KeypadModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    const int current = selectedIndex();
    const int next = current < 0 ? (step > 0 ? 0 : int(m_items.size()) - 1)
                                 : std::clamp(current + step, 0, int(m_items.size()) - 1);
    if (next != current) {
        const QVariant value = m_items[next].value;
        setSelection(value);
        Q_EMIT activated(value);
    }
    event->accept();
}

void DeckSegmented::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF track(rect());
    p.fillPath(Squircle::path(track, Radius::s), Ink::surfaceSunken());
    p.setPen(QPen(Ink::stroke(), Stroke::hairline));
    p.drawPath(Squircle::strokePath(track, Radius::s, Stroke::hairline));

    const QRectF puck = puckRect();
    if (!puck.isEmpty()) {
        const qreal r = ShadowCache::reach(4);
        p.drawImage(puck.topLeft() + QPointF(-r, -r + 1),
                    ShadowCache::shadow(puck.size(), kPuckRadius, 4, withOpacity(Ink::shadow(), 0.5),
                                        devicePixelRatioF()));
        p.fillPath(Squircle::path(puck, kPuckRadius), Ink::surfaceRaised());
        SpecularEdge::paint(p, puck, kPuckRadius, 0.7);
    }

    const QList<QRectF> rects = segmentRects();
    const int selected = selectedIndex();
    const QFontMetricsF fm(Typo::label());
    const QFontMetricsF cm(Typo::caption());
    for (int i = 0; i < m_items.size(); ++i) {
        const Item &item = m_items[i];
        const QRectF r = rects[i];
        const QColor ink = i == selected ? Ink::text() : Ink::textSecondary();
        qreal x = r.left() + kPad;
        if (item.icon) {
            Symbols::paint(p, *item.icon, QRectF(x, r.top(), kIcon, r.height()), kIcon, ink);
            x += kIcon + Space::xs;
        }
        p.setFont(Typo::label());
        p.setPen(ink);
        const qreal tw = fm.horizontalAdvance(item.title);
        p.drawText(QRectF(x, r.top(), tw + 1, r.height()), Qt::AlignLeft | Qt::AlignVCenter, item.title);
        x += tw;
        if (item.count) {
            x += Space::xs;
            p.setFont(Typo::caption());
            p.setPen(Ink::textTertiary()); // the count stays tertiary, selected or not
            const QString c = QString::number(*item.count);
            p.drawText(QRectF(x, r.top(), cm.horizontalAdvance(c) + 1, r.height()), Qt::AlignLeft | Qt::AlignVCenter, c);
        }
    }
    FocusRing::paintIfShown(p, this, track, Radius::s);
}
