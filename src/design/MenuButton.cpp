#include "MenuButton.h"

#include "FocusRing.h"
#include "Ink.h"
#include "PopupPlacement.h"
#include "Squircle.h"
#include "Symbols.h"
#include "Theme.h"
#include "Tokens.h"
#include "Typo.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <cmath>

namespace {
constexpr qreal kGlyph = 14;
constexpr qreal kPadding = Space::s;
} // namespace

MenuButton::MenuButton(std::optional<QString> symbol, const QString &title, std::optional<qreal> width,
                       QWidget *parent)
    : QToolButton(parent), m_symbol(std::move(symbol)), m_title(title), m_width(width)
{
    // The tool button's own popup modes run the menu in a nested loop; this mode leaves the
    // press to `openMenu`.
    setPopupMode(QToolButton::MenuButtonPopup);
    connect(this, &QAbstractButton::pressed, this, &MenuButton::openMenu);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setText(title);
    if (!title.isEmpty())
        setAccessibleName(title);
}

QColor MenuButton::inkColor() const
{
    if (!isEnabled())
        return withOpacity(Ink::textTertiary(), 0.55);
    return isDown() || m_hovering ? Ink::text() : Ink::textSecondary();
}

QSize MenuButton::sizeHint() const
{
    if (m_width)
        return QSize(int(std::round(*m_width)), int(kHeight));
    qreal w = 2 * kPadding;
    if (m_symbol)
        w += kGlyph;
    if (!m_title.isEmpty())
        w += (m_symbol ? Space::xs + 2 : 0) + QFontMetricsF(Typo::bodyMedium()).horizontalAdvance(m_title);
    return QSize(int(std::ceil(w)), int(kHeight));
}

void MenuButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(rect());
    if (isEnabled() && (m_hovering || isDown()))
        p.fillPath(Squircle::path(r, Radius::s), Ink::surfaceHover());
    FocusRing::paintIfShown(p, this, r, Radius::s);
    const QColor ink = inkColor();
    if (m_title.isEmpty()) {
        if (m_symbol)
            Symbols::paint(p, *m_symbol, r, kGlyph, ink);
        return;
    }
    qreal x = kPadding;
    if (m_symbol) {
        Symbols::paint(p, *m_symbol, QRectF(x, 0, kGlyph, r.height()), kGlyph - 1, ink);
        x += kGlyph + Space::xs + 2;
    }
    p.setFont(Typo::bodyMedium());
    p.setPen(ink);
    p.drawText(QRectF(x, 0, r.width() - x, r.height()), Qt::AlignLeft | Qt::AlignVCenter, m_title);
}

void MenuButton::enterEvent(QEnterEvent *event)
{
    m_hovering = true;
    update();
    QToolButton::enterEvent(event);
}

void MenuButton::leaveEvent(QEvent *event)
{
    m_hovering = false;
    update();
    QToolButton::leaveEvent(event);
}

void MenuButton::openMenu()
{
    QMenu *shown = menu();
    if (!shown || shown->isVisible() || !isEnabled())
        return;
    connect(shown, &QMenu::aboutToHide, this, &MenuButton::menuClosed, Qt::UniqueConnection);
    setDown(true);
    shown->ensurePolished();
    shown->popup(PopupPlacement::below(this, shown->sizeHint()));
}

void MenuButton::menuClosed()
{
    setDown(false);
    m_closingPress = true;
    QTimer::singleShot(0, this, [this] { m_closingPress = false; });
}

void MenuButton::mousePressEvent(QMouseEvent *event)
{
    if (m_closingPress) {
        event->accept();
        return;
    }
    // Past the tool button, whose press opens its menu area in a nested loop.
    QAbstractButton::mousePressEvent(event);
}

void MenuButton::keyPressEvent(QKeyEvent *event)
{
    if (menu() && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Down)) {
        openMenu();
        event->accept();
        return;
    }
    QToolButton::keyPressEvent(event);
}
