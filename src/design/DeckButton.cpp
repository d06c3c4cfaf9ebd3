#include "DeckButton.h"

#include "Accessibility.h"
#include "DropShadowUnderlay.h"
#include "FocusRing.h"
#include "Ink.h"
#include "SpecularEdge.h"
#include "Squircle.h"
#include "Symbols.h"
#include "Theme.h"
#include "ToneInk.h"
#include "Tokens.h"
#include "Typo.h"

#include <QEvent>
#include <QPainter>

#include <cmath>

namespace {
constexpr qreal kSymbolGap = 6;
constexpr qreal kStackedSymbol = 15;
constexpr qreal kStackedGap = 4;

std::optional<Animation> quick() { return Motion::resolve(Motion::quick(), A11y::reduceMotion()); }
} // namespace

qreal DeckButtonStyle::height(DeckButtonSize size)
{
    switch (size) {
    case DeckButtonSize::small: return 24;
    case DeckButtonSize::regular: return 30;
    case DeckButtonSize::large: return 38;
    }
    return 30;
}

qreal DeckButtonStyle::padding(DeckButtonSize size)
{
    switch (size) {
    case DeckButtonSize::small: return 9;
    case DeckButtonSize::regular: return 13;
    case DeckButtonSize::large: return 18;
    }
    return 13;
}

QFont DeckButtonStyle::font(DeckButtonSize size)
{
    switch (size) {
    case DeckButtonSize::small: return Typo::label();
    case DeckButtonSize::regular: return Typo::bodyMedium();
    case DeckButtonSize::large: return Typo::system(14, QFont::DemiBold);
    }
    return Typo::bodyMedium();
}

// --- DeckButton ---

DeckButton::DeckButton(const QString &text, const DeckButtonStyle &style, QWidget *parent)
    : DeckButton(QString(), text, style, parent)
{
}

DeckButton::DeckButton(const QString &symbol, const QString &text, const DeckButtonStyle &style, QWidget *parent)
    : QPushButton(parent), m_symbol(symbol), m_hover(new AnimatedValue(0, this)),
      m_press(new AnimatedValue(1, this))
{
    setAutoDefault(false);
    setText(text);
    setCursor(Qt::PointingHandCursor);
    setButtonStyle(style);
    connect(this, &QAbstractButton::pressed, this, &DeckButton::syncPress);
    connect(this, &QAbstractButton::released, this, &DeckButton::syncPress);
    auto poke = [this] {
        if (m_shadow)
            m_shadow->update();
    };
    connect(m_hover, &AnimatedValue::valueChanged, this, poke);
    connect(m_press, &AnimatedValue::valueChanged, this, poke);
}

void DeckButton::setButtonStyle(const DeckButtonStyle &style)
{
    m_style = style;
    setFont(DeckButtonStyle::font(style.size));
    setSizePolicy(style.fullWidth ? QSizePolicy::Expanding : QSizePolicy::Fixed, QSizePolicy::Fixed);
    if (style.stacked) {
        // A stacked label (symbol over caption) is as tall as its size hint, which grows with a
        // caption given later: a fixed height taken now would cut it.
        setMinimumHeight(0);
        setMaximumHeight(QWIDGETSIZE_MAX);
    } else {
        setFixedHeight(int(DeckButtonStyle::height(style.size)));
    }
    if (style.role == DeckButtonRole::primary && !m_shadow && parentWidget()) {
        m_shadow = new DropShadowUnderlay(this, [this] {
            DropShadowUnderlay::Shadow s;
            if (m_style.role != DeckButtonRole::primary || !isEnabled())
                return s;
            const qreal h = m_hover->value();
            s.color = withOpacity(Ink::accent(), 0.22 + (0.35 - 0.22) * h);
            s.blur = 7 + (12 - 7) * h;
            s.y = 3;
            s.radius = Radius::s;
            s.scale = m_press->value();
            return s;
        });
    }
    updateGeometry();
    update();
}

void DeckButton::setSymbol(const QString &symbol)
{
    m_symbol = symbol;
    updateGeometry();
    update();
}

void DeckButton::setHovering(bool inside)
{
    const bool hovering = inside && isEnabled();
    if (hovering == m_hovering)
        return;
    m_hovering = hovering;
    m_hover->animateTo(hovering ? 1 : 0, quick());
}

void DeckButton::enterEvent(QEnterEvent *event)
{
    QPushButton::enterEvent(event);
    setHovering(true);
}

void DeckButton::leaveEvent(QEvent *event)
{
    QPushButton::leaveEvent(event);
    setHovering(false);
}

void DeckButton::changeEvent(QEvent *event)
{
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        syncPress();
        if (m_shadow)
            m_shadow->update();
    } else if (event->type() == QEvent::ParentChange && m_style.role == DeckButtonRole::primary && !m_shadow) {
        setButtonStyle(m_style);
    }
}

void DeckButton::syncPress()
{
    m_press->animateTo(isDown() && isEnabled() ? 0.975 : 1.0, quick());
}

QColor DeckButton::labelColor() const
{
    if (!isEnabled())
        return withOpacity(Ink::textTertiary(), 0.7);
    switch (m_style.role) {
    case DeckButtonRole::primary: return Qt::white;
    case DeckButtonRole::secondary: return Ink::text();
    case DeckButtonRole::ghost: return Ink::textSecondary();
    case DeckButtonRole::destructive: return Ink::danger();
    }
    return Ink::text();
}

QColor DeckButton::fillColor() const
{
    const qreal h = m_hover->value();
    switch (m_style.role) {
    case DeckButtonRole::primary: return withOpacity(Ink::accent(), 0.95 + 0.05 * h);
    case DeckButtonRole::secondary: return mix(Ink::surfaceHover(), Ink::surfacePressed(), h);
    case DeckButtonRole::ghost: return mix(QColor(0, 0, 0, 0), Ink::surfaceHover(), h);
    case DeckButtonRole::destructive: return mix(Ink::dangerSoft(), withOpacity(Ink::dangerSoft(), 1.5), h);
    }
    return Qt::transparent;
}

QColor DeckButton::borderColor() const
{
    switch (m_style.role) {
    case DeckButtonRole::primary: return withOpacity(Qt::white, 0.22);
    case DeckButtonRole::secondary: return Ink::stroke();
    case DeckButtonRole::ghost: return withOpacity(Ink::stroke(), 0); // never visible
    case DeckButtonRole::destructive: return withOpacity(Ink::danger(), 0.35);
    }
    return Qt::transparent;
}

void DeckButton::setLabelLeading(bool leading)
{
    m_leading = leading;
    update();
}

QSize DeckButton::sizeHint() const
{
    if (m_style.stacked) {
        const QFontMetricsF caption(Typo::caption());
        const qreal w = std::max(kStackedSymbol, caption.horizontalAdvance(text())) + 2 * Space::xs;
        const qreal h = 2 * Space::s + kStackedSymbol + (text().isEmpty() ? 0 : kStackedGap + caption.height());
        return QSize(int(std::ceil(w)), int(std::ceil(h)));
    }
    const QFontMetricsF fm(font());
    qreal w = fm.horizontalAdvance(text());
    if (!m_symbol.isEmpty())
        w += Typo::pixelSize(font()) + (text().isEmpty() ? 0 : kSymbolGap);
    w += 2 * DeckButtonStyle::padding(m_style.size);
    return QSize(int(std::ceil(w)), int(DeckButtonStyle::height(m_style.size)));
}

QSize DeckButton::minimumSizeHint() const
{
    // A stacked label elides its text, so the button may be as narrow as its symbol.
    if (m_style.stacked)
        return QSize(int(kStackedSymbol + 2 * Space::s), sizeHint().height());
    return sizeHint();
}

void DeckButton::paintEvent(QPaintEvent *)
{
    syncPress();
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const bool enabled = isEnabled();
    // The whole button's opacity (0.75 when disabled), folded into each layer's colour.
    const qreal whole = enabled ? 1.0 : 0.75;
    const QRectF r(rect());
    const qreal scale = m_press->value();
    p.translate(r.center());
    p.scale(scale, scale);
    p.translate(-r.center());

    const QPainterPath shape = Squircle::path(r, Radius::s);
    const qreal layerOpacity = (enabled ? 1.0 : 0.4) * whole;
    if (m_style.role == DeckButtonRole::primary) {
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, withOpacity(fillColor(), layerOpacity));
        g.setColorAt(1, withOpacity(withOpacity(Ink::accent(), 0.82), layerOpacity));
        p.fillPath(shape, g);
    } else {
        p.fillPath(shape, withOpacity(fillColor(), layerOpacity));
    }
    if (m_style.role != DeckButtonRole::ghost) {
        QPen pen(withOpacity(borderColor(), layerOpacity), Stroke::hairline, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawPath(Squircle::strokePath(r, Radius::s, Stroke::hairline));
    }
    if (m_style.role == DeckButtonRole::primary && enabled)
        SpecularEdge::paint(p, r, Radius::s, 0.9);
    if (FocusRing::isShown(this)) {
        p.save();
        p.resetTransform(); // the ring stays put while the button shrinks under a press
        FocusRing::paint(p, QRectF(rect()), Radius::s);
        p.restore();
    }

    const QColor ink = withOpacity(labelColor(), whole);
    if (m_style.stacked) {
        const QFontMetricsF caption(Typo::caption());
        const qreal textHeight = text().isEmpty() ? 0 : kStackedGap + caption.height();
        const qreal top = r.center().y() - (kStackedSymbol + textHeight) / 2;
        if (!m_symbol.isEmpty())
            Symbols::paint(p, m_symbol, QRectF(r.left(), top, r.width(), kStackedSymbol), kStackedSymbol, ink);
        if (!text().isEmpty()) {
            const QRectF line(r.left() + Space::xs, top + kStackedSymbol + kStackedGap, r.width() - 2 * Space::xs,
                              caption.height());
            p.setPen(ink);
            p.setFont(Typo::caption());
            p.drawText(line, Qt::AlignCenter, caption.elidedText(text(), Qt::ElideRight, line.width() + 1));
        }
        return;
    }
    // The label: optional symbol, then the text, centred together.
    const QFontMetricsF fm(font());
    const qreal symbolSize = m_symbol.isEmpty() ? 0 : Typo::pixelSize(font());
    const qreal gap = (!m_symbol.isEmpty() && !text().isEmpty()) ? kSymbolGap : 0;
    const qreal pad = DeckButtonStyle::padding(m_style.size);
    const qreal textWidth = std::min(fm.horizontalAdvance(text()), r.width() - 2 * pad - symbolSize - gap);
    const qreal contentWidth = symbolSize + gap + textWidth;
    qreal x = m_leading ? r.left() + pad : r.center().x() - contentWidth / 2;
    if (!m_symbol.isEmpty()) {
        Symbols::paint(p, m_symbol, QRectF(x, r.top(), symbolSize, r.height()), symbolSize, ink);
        x += symbolSize + gap;
    }
    p.setPen(ink);
    p.setFont(font());
    p.drawText(QRectF(x, r.top(), textWidth + 1, r.height()), Qt::AlignLeft | Qt::AlignVCenter,
               fm.elidedText(text(), Qt::ElideRight, textWidth + 1));
}

// --- IconButton ---

IconButton::IconButton(const QString &symbol, const IconButtonStyle &style, QWidget *parent)
    : QAbstractButton(parent), m_symbol(symbol), m_hover(new AnimatedValue(0, this)),
      m_press(new AnimatedValue(1, this))
{
    setCursor(Qt::PointingHandCursor);
    setButtonStyle(style);
    auto sync = [this] { m_press->animateTo(isDown() && isEnabled() ? 0.92 : 1.0, quick()); };
    connect(this, &QAbstractButton::pressed, this, sync);
    connect(this, &QAbstractButton::released, this, sync);
}

void IconButton::setButtonStyle(const IconButtonStyle &style)
{
    m_style = style;
    setFixedSize(int(std::round(style.size)), int(std::round(style.size)));
    update();
}

void IconButton::setSymbol(const QString &symbol)
{
    m_symbol = symbol;
    update();
}

void IconButton::setHovering(bool inside)
{
    const bool hovering = inside && isEnabled();
    if (hovering == m_hovering)
        return;
    m_hovering = hovering;
    m_hover->animateTo(hovering ? 1 : 0, quick());
}

void IconButton::enterEvent(QEnterEvent *event)
{
    QAbstractButton::enterEvent(event);
    setHovering(true);
}

void IconButton::leaveEvent(QEvent *event)
{
    QAbstractButton::leaveEvent(event);
    setHovering(false);
}

QColor IconButton::glyphColor() const
{
    if (!isEnabled())
        return withOpacity(Ink::textTertiary(), 0.55);
    if (m_style.isActive)
        return Ink::accent();
    return foreground(m_style.tone); // neutral gives Ink::textSecondary
}

QColor IconButton::fillColor() const
{
    if (m_style.isActive)
        return Ink::accentSoft();
    return mix(QColor(0, 0, 0, 0), Ink::surfaceHover(), isEnabled() ? m_hover->value() : 0);
}

QColor IconButton::borderColor() const
{
    return m_style.isActive ? withOpacity(Ink::accent(), 0.32) : QColor(Qt::transparent);
}

QSize IconButton::sizeHint() const { return QSize(int(std::round(m_style.size)), int(std::round(m_style.size))); }

void IconButton::paintEvent(QPaintEvent *)
{
    m_press->animateTo(isDown() && isEnabled() ? 0.92 : 1.0, quick());
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(rect());
    const qreal scale = m_press->value();
    p.translate(r.center());
    p.scale(scale, scale);
    p.translate(-r.center());
    p.fillPath(Squircle::path(r, Radius::s), fillColor());
    if (m_style.isActive) {
        p.setPen(QPen(borderColor(), Stroke::hairline));
        p.drawPath(Squircle::strokePath(r, Radius::s, Stroke::hairline));
    }
    Symbols::paint(p, m_symbol, r, glyphSize(), glyphColor());
    if (FocusRing::isShown(this)) {
        p.resetTransform();
        FocusRing::paint(p, QRectF(rect()), Radius::s);
    }
}
