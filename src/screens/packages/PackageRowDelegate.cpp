#include "PackageRowDelegate.h"

#include "ApplicationsState.h"
#include "PackageIconView.h"

#include "bridge/Bytes.h"
#include "design/Ink.h"
#include "design/Labels.h"
#include "design/ShownText.h"
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
    : QStyledItemDelegate(parent), m_state(state), m_names(Typo::bodyMedium()), m_mono(Typo::monoSmall())
{
}

void PackageRowDelegate::setDensity(ListDensity density) { m_density = density; }
void PackageRowDelegate::setShowRisk(bool show) { m_showRisk = show; }

QSize PackageRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return QSize(option.rect.width() > 0 ? option.rect.width() : 300, rowHeight(m_density));
}

const QStaticText &PackageRowDelegate::ShapedTexts::operator()(const QString &text)
{
    auto it = m_texts.find(text);
    if (it == m_texts.end()) {
        if (m_texts.size() >= 24'000)
            m_texts.clear();
        QStaticText shaped(text);
        shaped.setTextFormat(Qt::PlainText); // device text is never markup
        shaped.prepare(QTransform(), m_font);
        it = m_texts.insert(text, shaped);
    }
    return *it;
}

const QStaticText &PackageRowDelegate::fitted(ShapedTexts &texts, const QString &text, qreal room,
                                             Qt::TextElideMode mode) const
{
    const QStaticText &whole = texts(text);
    if (whole.size().width() <= room)
        return whole;
    return texts(QFontMetricsF(texts.font()).elidedText(text, mode, room));
}

namespace {

// Measures of the badges by their words (a handful), taken once.
QSizeF compactBadgeSize(const QString &text)
{
    static QHash<QString, QSizeF> sizes;
    auto it = sizes.constFind(text);
    if (it == sizes.constEnd())
        it = sizes.insert(text, StatusBadge::badgeSize(text, true));
    return *it;
}

} // namespace

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
        const QSizeF s = compactBadgeSize(shortTitle(p.state));
        l.stateBadge = QRectF(right - s.width(), midY - s.height() / 2, s.width(), s.height());
        right = l.stateBadge.left() - Space::m;
    }
    if (m_showRisk) {
        const QSizeF s = compactBadgeSize(shortTitle(p.risk().risk));
        l.riskBadge = QRectF(right - s.width(), midY - s.height() / 2, s.width(), s.height());
        right = l.riskBadge.left() - Space::m;
    }
    // A flexible gap of at least Space::s, with the stack's spacing on its leading side.
    right -= Space::s + Space::m;

    const qreal textLeft = l.icon.right() + Space::m;
    const qreal textWidth = std::max<qreal>(0, right - textLeft);
    static const qreal nameHeight = QFontMetricsF(Typo::bodyMedium()).height();
    static const qreal idHeight = QFontMetricsF(Typo::monoSmall()).height();
    const bool second = showsSecondLine(m_density);
    const qreal blockHeight = nameHeight + (second ? 1 + idHeight : 0);
    const qreal top = midY - blockHeight / 2;
    const bool system = p.kind == PackageKind::system;
    const qreal nameRoom = std::max<qreal>(0, textWidth - (system ? Space::xs + kGearSize : 0));
    l.nameText = &fitted(m_names, ShownText::line(p.displayName), nameRoom, Qt::ElideRight);
    l.shownName = l.nameText->text();
    l.name = QRectF(textLeft, top, l.nameText->size().width(), nameHeight);
    if (system)
        l.gear = QRectF(l.name.right() + Space::xs, top, kGearSize, nameHeight);
    if (second) {
        l.packageNameText = &fitted(m_mono, ShownText::line(p.name), textWidth, Qt::ElideMiddle);
        l.shownPackageName = l.packageNameText->text();
        l.packageName = QRectF(textLeft, l.name.bottom() + 1, textWidth, idHeight);
    }
    return l;
}

const QStaticText &PackageRowDelegate::sizeText(std::optional<qint64> bytes) const
{
    // Formatting a size takes longer than looking it up.
    const qint64 key = bytes.value_or(-1);
    auto it = m_sizes.constFind(key);
    if (it == m_sizes.constEnd()) {
        if (m_sizes.size() >= 24'000)
            m_sizes.clear();
        it = m_sizes.insert(key, Bytes::shortText(bytes));
    }
    return m_mono(*it);
}

void PackageRowDelegate::forgetTheme() const
{
    m_badges.clear();
    m_gear = QPixmap();
}

const QPixmap &PackageRowDelegate::badge(int key, const QString &icon, const QString &text, Tone tone, bool outline,
                                         qreal dpr) const
{
    auto it = m_badges.find(key);
    if (it != m_badges.end())
        return *it;
    const QSizeF size = compactBadgeSize(text);
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

const QPixmap &PackageRowDelegate::gear(qreal dpr) const
{
    if (m_gear.isNull())
        m_gear = Symbols::pixmap(QStringLiteral("gearshape.2.fill"), kGearSize, Ink::textTertiary(), dpr);
    return m_gear;
}

void PackageRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!index.isValid() || index.row() >= m_state->rows.size())
        return;
    const AndroidPackage &p = m_state->packageAt(index.row());
    const Layout l = layout(option.rect, p);
    const qreal dpr = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    if (dpr != m_dpr || m_theme != Theme::key()) {
        forgetTheme();
        m_dpr = dpr;
        m_theme = Theme::key();
    }

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

    // Texts are drawn from their shaped form, vertically centred in their line boxes.
    painter->setFont(m_names.font());
    painter->setPen(p.isInactive() ? Ink::textSecondary() : Ink::text());
    painter->drawStaticText(l.name.topLeft() + QPointF(0, (l.name.height() - l.nameText->size().height()) / 2),
                            *l.nameText);
    if (!l.gear.isEmpty()) {
        const QPixmap &mark = gear(dpr);
        painter->drawPixmap(QPointF(l.gear.left(), l.gear.center().y() - kGearSize / 2), mark);
    }
    painter->setFont(m_mono.font());
    if (l.packageNameText) {
        painter->setPen(Ink::textTertiary());
        painter->drawStaticText(l.packageName.topLeft(), *l.packageNameText);
    }
    if (!l.riskBadge.isEmpty()) {
        const RemovalRisk risk = p.risk().risk;
        painter->drawPixmap(l.riskBadge.topLeft(),
                            badge(int(risk), icon(risk), shortTitle(risk), tone(risk), false, dpr));
    }
    if (!l.stateBadge.isEmpty())
        painter->drawPixmap(l.stateBadge.topLeft(),
                            badge(16 + int(p.state), icon(p.state), shortTitle(p.state), tone(p.state), true, dpr));
    painter->setPen(p.apkSize ? Ink::textSecondary() : Ink::textTertiary());
    const QStaticText &size = sizeText(p.apkSize);
    painter->drawStaticText(QPointF(l.size.right() - size.size().width(),
                                    l.size.center().y() - size.size().height() / 2),
                            size);
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
