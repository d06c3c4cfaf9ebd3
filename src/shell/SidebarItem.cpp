#include "SidebarItem.h"

#include "core/AppModel.h"
#include "design/FocusRing.h"
#include "design/Accessibility.h"
#include "design/DeckSearchField.h"
#include "design/Ink.h"
#include "design/Squircle.h"
#include "design/Symbols.h"
#include "design/Theme.h"
#include "design/Tokens.h"
#include "design/Typo.h"

#include <QKeySequence>
#include <QPainter>

#include <cmath>

namespace {
constexpr qreal kBarWidth = 3;
constexpr qreal kBarHeight = 16;
constexpr qreal kIconFrame = 18;
constexpr qreal kIconSize = 12.5;
constexpr qreal kSurfaceInset = 8;

QFont badgeFont()
{
    QFont f = Typo::caption();
    f.setStyleHint(f.styleHint(), QFont::PreferQuality);
    return f;
}
} // namespace

QString SidebarItem::shortcutText(int digit)
{
    return QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_0 + digit)).toString(QKeySequence::NativeText);
}

SidebarItem::SidebarItem(AppRoute route, AppModel *model, QWidget *parent)
    : QAbstractButton(parent), m_route(route), m_model(model), m_hover(new AnimatedValue(0, this))
{
    setCheckable(true);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFixedHeight(int(kHeight));
    setText(::title(route));
    setAccessibleName(::title(route));
    if (const auto digit = shortcutIndex(route)) {
        // "⌘1" on macOS; the same shortcut reads "Ctrl+1" where Control stands in for Command.
        m_hint = new KeyHint(shortcutText(*digit), this);
        m_hint->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_hint->hide();
    }
    connect(this, &QAbstractButton::clicked, this, [this] {
        // A route that needs a device is chosen all the same; the root view shows the gate.
        m_model->route.set(m_route);
        refresh();
    });
    refresh();
}

void SidebarItem::setBadge(const std::optional<QString> &badge)
{
    if (badge == m_badge)
        return;
    m_badge = badge;
    placeHint();
    update();
}

bool SidebarItem::showsKeyHint() const { return !m_badge && m_hovering && m_hint; }

void SidebarItem::setHovering(bool hovering)
{
    if (hovering == m_hovering)
        return;
    m_hovering = hovering;
    m_hover->animateTo(hovering ? 1 : 0, Motion::resolve(Motion::quick(), A11y::reduceMotion()));
    placeHint();
}

void SidebarItem::refresh()
{
    const bool selected = m_model->route() == m_route;
    const bool dimmed = needsDevice(m_route) && !m_model->isDeviceUsable();
    if (selected != m_selected || dimmed != m_dimmed || isChecked() != selected) {
        m_selected = selected;
        m_dimmed = dimmed;
        setChecked(selected);
        setAccessibleDescription(dimmed ? tr("Требуется подключённое устройство") : QString());
        update();
    }
}

QSize SidebarItem::sizeHint() const
{
    const QFontMetricsF fm(Typo::bodyMedium());
    const qreal w = kBarWidth + Space::s + kIconFrame + Space::s + fm.horizontalAdvance(text()) + Space::s + 40 + Space::s;
    return QSize(int(std::ceil(w)), int(kHeight));
}

QSize SidebarItem::minimumSizeHint() const { return QSize(int(kBarWidth + 2 * Space::s + kIconFrame), int(kHeight)); }

QRectF SidebarItem::badgeRect() const
{
    if (!m_badge)
        return {};
    const QFontMetricsF fm(badgeFont());
    const qreal w = fm.horizontalAdvance(*m_badge) + 10;
    const qreal h = fm.height() + 2;
    return QRectF(width() - Space::s - w, (height() - h) / 2, w, h);
}

void SidebarItem::placeHint()
{
    if (!m_hint)
        return;
    const QSize hint = m_hint->sizeHint();
    m_hint->setGeometry(int(width() - Space::s - hint.width()), (height() - hint.height()) / 2, hint.width(),
                        hint.height());
    m_hint->setVisible(showsKeyHint());
}

void SidebarItem::resizeEvent(QResizeEvent *event)
{
    QAbstractButton::resizeEvent(event);
    placeHint();
}

void SidebarItem::enterEvent(QEnterEvent *event)
{
    QAbstractButton::enterEvent(event);
    setHovering(true);
}

void SidebarItem::leaveEvent(QEvent *event)
{
    QAbstractButton::leaveEvent(event);
    setHovering(false);
}

void SidebarItem::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(rect());

    // Background: inset from the leading edge so the selection bar stands beside it.
    const QRectF surface = r.adjusted(kSurfaceInset, 0, 0, 0);
    if (m_selected)
        p.fillPath(Squircle::path(surface, Radius::s), Ink::accentSoft());
    else if (m_hover->value() > 0)
        p.fillPath(Squircle::path(surface, Radius::s), withOpacity(Ink::surfaceHover(), m_hover->value()));

    p.setOpacity(contentOpacity());
    qreal x = 0;
    if (m_selected) {
        QPainterPath bar;
        bar.addRoundedRect(QRectF(x, (r.height() - kBarHeight) / 2, kBarWidth, kBarHeight), 1.5, 1.5);
        p.fillPath(bar, Ink::accent());
    }
    x += kBarWidth + Space::s;
    Symbols::paint(p, m_selected ? ::selectedIcon(m_route) : ::icon(m_route), QRectF(x, 0, kIconFrame, r.height()),
                   kIconSize, m_selected ? Ink::accent() : Ink::textSecondary());
    x += kIconFrame + Space::s;

    const QRectF badge = badgeRect();
    const qreal trailing = m_badge ? badge.left() - Space::s : r.width() - Space::s;
    const QFont titleFont = m_selected ? Typo::bodyMedium() : Typo::body();
    p.setFont(titleFont);
    p.setPen(m_selected ? Ink::text() : Ink::textSecondary());
    const QFontMetricsF fm(titleFont);
    p.drawText(QRectF(x, 0, std::max<qreal>(0, trailing - x), r.height()), Qt::AlignLeft | Qt::AlignVCenter,
               fm.elidedText(text(), Qt::ElideRight, std::max<qreal>(0, trailing - x)));

    if (m_badge) {
        QPainterPath capsule;
        capsule.addRoundedRect(badge, badge.height() / 2, badge.height() / 2);
        p.fillPath(capsule, m_selected ? Ink::accentSoft() : Ink::neutralSoft());
        p.setFont(badgeFont());
        p.setPen(m_selected ? Ink::accent() : Ink::textTertiary());
        p.drawText(badge, Qt::AlignCenter, *m_badge);
    }
    p.setOpacity(1);
    FocusRing::paintIfShown(p, this, surface, Radius::s);
}
