#include "PackageRowDelegate.h"

#include "ApplicationsState.h"
#include "PackageIconView.h"

#include "bridge/Bytes.h"
#include "design/Ink.h"
#include "design/Labels.h"
#include "design/Squircle.h"
#include "design/Symbols.h"
#include "design/Theme.h"
#include "design/Tokens.h"
#include "design/Typo.h"
#include "shell/ViewUpdates.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <cmath>

namespace {

// The row's background is inset from the view's edges; the content again from the background.
constexpr qreal kBackgroundInset = Space::s;
constexpr qreal kContentInset = Space::m;

} // namespace

PackageRowDelegate::PackageRowDelegate(ApplicationsState *state, QObject *parent)
    : QStyledItemDelegate(parent), m_state(state)
{
}

void PackageRowDelegate::setDensity(ListDensity density) { m_density = density; }
void PackageRowDelegate::setShowRisk(bool show) { m_showRisk = show; }

QSize PackageRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return QSize(option.rect.width() > 0 ? option.rect.width() : 300, rowHeight(m_density));
}

PackageRowDelegate::Layout PackageRowDelegate::layout(const QRect &rect, const AndroidPackage &p) const
{
    Layout l;
    const QRectF row(rect);
    // Rows are 2 px apart: the content frame is the row less 2 px above and below.
    l.background = row.adjusted(kBackgroundInset, 1, -kBackgroundInset, -1);
    const QRectF content = l.background.adjusted(kContentInset, 1, -kContentInset, -1);
    const qreal side = iconSize(m_density);
    const qreal midY = content.center().y();
    l.icon = QRectF(content.left(), midY - side / 2, side, side);

    // Trailing parts, from the right edge inwards, Space::m apart.
    qreal right = content.right();
    l.size = QRectF(right - kSizeBoxWidth, content.top(), kSizeBoxWidth, content.height());
    right = l.size.left() - Space::m;
    if (p.isInactive()) {
        const QSizeF s = StatusBadge::badgeSize(shortTitle(p.state), true);
        l.stateBadge = QRectF(right - s.width(), midY - s.height() / 2, s.width(), s.height());
        right = l.stateBadge.left() - Space::m;
    }
    if (m_showRisk) {
        const QSizeF s = StatusBadge::badgeSize(shortTitle(p.risk().risk), true);
        l.riskBadge = QRectF(right - s.width(), midY - s.height() / 2, s.width(), s.height());
        right = l.riskBadge.left() - Space::m;
    }
    // A flexible gap of at least Space::s, with the stack's spacing on its leading side.
    right -= Space::s + Space::m;

    const qreal textLeft = l.icon.right() + Space::m;
    const qreal textWidth = std::max<qreal>(0, right - textLeft);
    const QFontMetricsF nameMetrics(Typo::bodyMedium());
    const bool second = showsSecondLine(m_density);
    const QFontMetricsF idMetrics(Typo::monoSmall());
    const qreal blockHeight = nameMetrics.height() + (second ? 1 + idMetrics.height() : 0);
    const qreal top = midY - blockHeight / 2;
    const bool system = p.kind == PackageKind::system;
    const qreal nameRoom = std::max<qreal>(0, textWidth - (system ? Space::xs + kGearSize : 0));
    const qreal fullName = nameMetrics.horizontalAdvance(p.displayName);
    l.shownName = fullName <= nameRoom ? p.displayName : nameMetrics.elidedText(p.displayName, Qt::ElideRight, nameRoom);
    const qreal nameWidth = fullName <= nameRoom ? fullName : nameMetrics.horizontalAdvance(l.shownName);
    l.name = QRectF(textLeft, top, nameWidth, nameMetrics.height());
    if (system)
        l.gear = QRectF(l.name.right() + Space::xs, top, kGearSize, nameMetrics.height());
    if (second) {
        const qreal fullId = idMetrics.horizontalAdvance(p.name);
        l.shownPackageName = fullId <= textWidth ? p.name : idMetrics.elidedText(p.name, Qt::ElideMiddle, textWidth);
        l.packageName = QRectF(textLeft, l.name.bottom() + 1, textWidth, idMetrics.height());
    }
    return l;
}

QPixmap PackageRowDelegate::badge(const QString &icon, const QString &text, Tone tone, bool outline, qreal dpr) const
{
    if (m_badgeTheme != Theme::key()) {
        m_badges.clear();
        m_badgeTheme = Theme::key();
    }
    const QString key = icon + QLatin1Char('/') + text + QLatin1Char('/') + QString::number(int(tone))
        + (outline ? QStringLiteral("/o/") : QStringLiteral("/s/")) + QString::number(dpr);
    if (const auto it = m_badges.constFind(key); it != m_badges.constEnd())
        return *it;
    const QSizeF size = StatusBadge::badgeSize(text, true);
    QImage image(int(std::ceil(size.width() * dpr)), int(std::ceil(size.height() * dpr)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        StatusBadge::paint(p, QRectF(QPointF(0, 0), size), icon, text, tone,
                           outline ? BadgeStyle::outline : BadgeStyle::soft, true);
    }
    return *m_badges.insert(key, QPixmap::fromImage(image));
}

void PackageRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!index.isValid() || index.row() >= m_state->rows.size())
        return;
    const AndroidPackage &p = m_state->packageAt(index.row());
    const Layout l = layout(option.rect, p);
    const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;

    const bool selected = option.state & QStyle::State_Selected;
    const bool hovered = option.state & QStyle::State_MouseOver;
    if (selected || hovered) {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        if (selected) {
            painter->fillPath(Squircle::path(l.background, Radius::s), Ink::accentSoft());
            painter->setPen(QPen(withOpacity(Ink::accent(), 0.35), Stroke::hairline));
            painter->drawPath(Squircle::strokePath(l.background, Radius::s, Stroke::hairline));
        } else {
            painter->fillPath(Squircle::path(l.background, Radius::s), Ink::surfaceHover());
        }
        painter->restore();
    }

    PackageIconView::paint(*painter, l.icon, p, l.icon.width());

    painter->setFont(Typo::bodyMedium());
    painter->setPen(p.isInactive() ? Ink::textSecondary() : Ink::text());
    painter->drawText(l.name, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, l.shownName);
    if (!l.gear.isEmpty())
        Symbols::paint(*painter, QStringLiteral("gearshape.2.fill"), l.gear, kGearSize, Ink::textTertiary());
    if (!l.packageName.isEmpty()) {
        painter->setFont(Typo::monoSmall());
        painter->setPen(Ink::textTertiary());
        painter->drawText(l.packageName, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, l.shownPackageName);
    }
    if (!l.riskBadge.isEmpty()) {
        const RemovalRisk risk = p.risk().risk;
        const QPixmap pm = badge(icon(risk), shortTitle(risk), tone(risk), false, dpr);
        painter->drawPixmap(l.riskBadge.topLeft(), pm);
    }
    if (!l.stateBadge.isEmpty()) {
        const QPixmap pm = badge(icon(p.state), shortTitle(p.state), tone(p.state), true, dpr);
        painter->drawPixmap(l.stateBadge.topLeft(), pm);
    }
    painter->setFont(Typo::monoSmall());
    painter->setPen(p.apkSize ? Ink::textSecondary() : Ink::textTertiary());
    painter->drawText(l.size, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, Bytes::shortText(p.apkSize));
}

bool PackageRowDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                                   const QModelIndex &index)
{
    if (event->type() != QEvent::ToolTip || !index.isValid() || index.row() >= m_state->rows.size())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const AndroidPackage &p = m_state->packageAt(index.row());
    const Layout l = layout(option.rect, p);
    QString tip;
    if (l.riskBadge.contains(event->pos()))
        tip = p.risk().summary;
    else if (l.gear.adjusted(-2, 0, 2, 0).contains(event->pos()))
        tip = QStringLiteral("Системное приложение");
    if (tip.isEmpty()) {
        QToolTip::hideText();
        return true;
    }
    QToolTip::showText(event->globalPos(), ViewUpdates::plainToolTip(tip), view->viewport(), l.riskBadge.toRect());
    return true;
}
