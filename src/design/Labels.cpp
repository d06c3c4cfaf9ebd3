#include "Labels.h"

#include "Accessibility.h"
#include "FocusRing.h"
#include "Ink.h"
#include "ShownText.h"
#include "Squircle.h"
#include "Symbols.h"
#include "Theme.h"
#include "ToneInk.h"
#include "Tokens.h"

#include <QClipboard>
#include <QTextDocument>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

// --- Eyebrow ---

namespace {
QFont eyebrowFont()
{
    QFont f = Typo::eyebrow();
    f.setLetterSpacing(QFont::AbsoluteSpacing, 1.1);
    return f;
}
} // namespace

Eyebrow::Eyebrow(const QString &text, QWidget *parent)
    : DeckText(text.toUpper(), eyebrowFont(), [] { return Ink::textTertiary(); }, parent)
{
    setAccessibleName(text);
}

// --- SectionHeader ---

SectionHeader::SectionHeader(const QString &title, std::optional<QString> subtitle, QWidget *trailing,
                             QWidget *parent)
    : QWidget(parent), m_trailing(trailing)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    auto *column = new QVBoxLayout;
    column->setSpacing(2);
    m_title = new DeckText(title, Typo::cardTitle(), [] { return Ink::text(); }, this);
    column->addWidget(m_title);
    if (subtitle) {
        m_subtitle = new DeckText(*subtitle, Typo::supporting(), [] { return Ink::textTertiary(); }, this);
        column->addWidget(m_subtitle);
    }
    row->addLayout(column, 1);
    // The flexible space between title and trailing view keeps at least Space::s.
    row->addSpacing(int(Space::s));
    if (trailing)
        row->addWidget(trailing, 0, Qt::AlignTop);
}

// --- CopyableValue ---

namespace {
// The value may come from a device: a tooltip Qt would read as markup is escaped.
QString plainTip(const QString &text)
{
    return Qt::mightBeRichText(text) ? Qt::convertFromPlainText(text, Qt::WhiteSpacePre) : text;
}
} // namespace

CopyableValue::CopyableValue(const QString &text, QWidget *parent)
    : CopyableValue(text, Typo::mono(), [] { return Ink::textSecondary(); }, std::nullopt, parent)
{
}

CopyableValue::CopyableValue(const QString &text, const QFont &font, DeckText::InkRole tint,
                             std::optional<QString> label, QWidget *parent)
    : QAbstractButton(parent), m_text(text), m_tint(std::move(tint)), m_label(std::move(label)),
      m_surface(new InteractiveSurface(this, Radius::xs))
{
    setFont(font);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAccessibleName(accessibilityLabel());
    setAccessibleDescription(tr("Двойное нажатие копирует значение"));
    setToolTip(plainTip(tr("Скопировать: ") + ShownText::line(m_text)));
    connect(this, &QAbstractButton::clicked, this, &CopyableValue::copy);
}

QString CopyableValue::accessibilityLabel() const
{
    const QString value = ShownText::accessible(m_text);
    return m_label ? *m_label + QStringLiteral(": ") + value : value;
}

QString CopyableValue::symbolName() const
{
    return m_copied ? QStringLiteral("checkmark") : QStringLiteral("doc.on.doc");
}

QColor CopyableValue::symbolColor() const { return m_copied ? Ink::success() : Ink::textTertiary(); }

void CopyableValue::copy()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(m_text);
    setCopied(true);
    // Every click starts its own timer; the first to expire clears the mark.
    QPointer<CopyableValue> self(this);
    QTimer::singleShot(copiedDuration, [self] {
        if (self)
            self->setCopied(false);
    });
}

void CopyableValue::setCopied(bool copied)
{
    if (m_copied == copied)
        return;
    m_copied = copied;
    setToolTip(copied ? tr("Скопировано") : plainTip(tr("Скопировать: ") + ShownText::line(m_text)));
    update();
}

QPoint CopyableValue::textOffset() { return QPoint(int(Space::xs), 1); }

QSize CopyableValue::sizeHint() const
{
    const QFontMetricsF fm(font());
    const QPoint inset = textOffset();
    const qreal w = fm.horizontalAdvance(ShownText::line(m_text)) + Space::xs + 9 + 2 * inset.x();
    const qreal h = std::ceil(std::max<qreal>(fm.height(), 9)) + 2 * inset.y();
    return QSize(int(std::ceil(w)), int(h));
}

QSize CopyableValue::minimumSizeHint() const
{
    const QSize s = sizeHint();
    return QSize(int(Space::xs * 3 + 9 + QFontMetricsF(font()).horizontalAdvance(QStringLiteral("a…z"))), s.height());
}

void CopyableValue::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QPoint inset = textOffset();
    const QRectF inner = QRectF(rect()).adjusted(inset.x(), inset.y(), -inset.x(), -inset.y());
    const qreal iconSize = 9;
    const QFontMetricsF fm(font());
    const qreal textWidth = std::max<qreal>(0, inner.width() - Space::xs - iconSize);
    const QString shown = fm.elidedText(ShownText::line(m_text), Qt::ElideMiddle, textWidth);
    const qreal used = fm.horizontalAdvance(shown);
    p.setFont(font());
    p.setPen(m_tint());
    // The text's line starts at the inset (not centred in what the layout gave), so a list can
    // line its baseline up with plain text; the mark is centred on that line.
    const QRectF line(inner.left(), inner.top(), used + 1, fm.height());
    p.drawText(line, Qt::AlignLeft | Qt::AlignTop, shown);
    Symbols::paint(p, symbolName(), QRectF(line.right() - 1 + Space::xs, line.top(), iconSize, line.height()),
                   iconSize, symbolColor());
    FocusRing::paintIfShown(p, this, QRectF(rect()), Radius::xs);
}

// --- StatusBadge ---

StatusBadge::StatusBadge(const QString &icon, const QString &text, Tone tone, BadgeStyle style, bool compact,
                         QWidget *parent)
    : QWidget(parent), m_icon(icon), m_text(text), m_tone(tone), m_style(style), m_compact(compact)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setAccessibleName(text);
}

void StatusBadge::setTone(Tone tone)
{
    if (tone == m_tone)
        return;
    m_tone = tone;
    update();
}

void StatusBadge::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    setAccessibleName(text);
    updateGeometry();
    update();
}

void StatusBadge::setIcon(const QString &icon)
{
    if (icon == m_icon)
        return;
    m_icon = icon;
    update();
}

namespace {
QFont badgeFont(bool compact) { return compact ? Typo::caption() : Typo::label(); }
qreal badgeIconSize(bool compact) { return compact ? 8.5 : 9.5; }
QColor badgeLabel(Tone tone, BadgeStyle style) { return style == BadgeStyle::solid ? QColor(Qt::white) : foreground(tone); }
QColor badgeFill(Tone tone, BadgeStyle style)
{
    switch (style) {
    case BadgeStyle::soft: return fill(tone);
    case BadgeStyle::solid: return foreground(tone);
    case BadgeStyle::outline: return Qt::transparent;
    }
    return Qt::transparent;
}
QColor badgeBorder(Tone tone, BadgeStyle style)
{
    return style == BadgeStyle::outline ? withOpacity(foreground(tone), 0.45) : QColor(Qt::transparent);
}
} // namespace

QFont StatusBadge::textFont() const { return badgeFont(m_compact); }
qreal StatusBadge::iconSize() const { return badgeIconSize(m_compact); }

QColor StatusBadge::labelColor() const { return badgeLabel(m_tone, m_style); }
QColor StatusBadge::capsuleFill() const { return badgeFill(m_tone, m_style); }
QColor StatusBadge::borderColor() const { return badgeBorder(m_tone, m_style); }

QSizeF StatusBadge::badgeSize(const QString &text, bool compact)
{
    const QFontMetricsF fm(badgeFont(compact));
    const qreal spacing = compact ? 3 : Space::xs;
    const qreal hPad = compact ? 6 : 8, vPad = compact ? 2.5 : 4;
    const qreal w = badgeIconSize(compact) + spacing + fm.horizontalAdvance(text) + 2 * hPad;
    const qreal h = std::max(fm.height(), badgeIconSize(compact)) + 2 * vPad;
    return QSizeF(w, h);
}

QSize StatusBadge::sizeHint() const
{
    const QSizeF size = badgeSize(m_text, m_compact);
    return QSize(int(std::ceil(size.width())), int(std::ceil(size.height())));
}

void StatusBadge::paint(QPainter &p, const QRectF &r, const QString &icon, const QString &text, Tone tone,
                        BadgeStyle style, bool compact)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QPainterPath capsule = Squircle::path(r, Radius::pill);
    p.fillPath(capsule, badgeFill(tone, style));
    if (style == BadgeStyle::outline) {
        p.setPen(QPen(badgeBorder(tone, style), Stroke::hairline));
        p.drawPath(Squircle::strokePath(r, Radius::pill, Stroke::hairline));
    }
    const qreal spacing = compact ? 3 : Space::xs;
    const qreal hPad = compact ? 6 : 8;
    const qreal iconSide = badgeIconSize(compact);
    const QColor ink = badgeLabel(tone, style);
    Symbols::paint(p, icon, QRectF(r.left() + hPad, r.top(), iconSide, r.height()), iconSide, ink);
    p.setFont(badgeFont(compact));
    p.setPen(ink);
    p.drawText(QRectF(r.left() + hPad + iconSide + spacing, r.top(), r.width(), r.height()),
               Qt::AlignLeft | Qt::AlignVCenter, text);
    p.restore();
}

void StatusBadge::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    paint(p, QRectF(rect()), m_icon, m_text, m_tone, m_style, m_compact);
}

// --- PulseDot ---

PulseDot::PulseDot(Tone tone, bool animating, QWidget *parent)
    : QWidget(parent), m_tone(tone), m_animating(animating),
      m_pulse(kPeriodMs, QEasingCurve::OutCubic, kFrameIntervalMs,
              [this](qreal t) { return ringStep(t, devicePixelRatioF()); })
{
    setFixedSize(14, 14);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Every live dot on screen pulses in step (the sidebar's and a screen's show one state), so
    // a window repaints them together.
    m_pulse.setCommonPhase(true);
    connect(&m_pulse, &LoopClock::tick, this, [this] {
        // Reduce motion switched on while the ring runs: the loop ends at the next tick.
        if (!showsRing())
            m_pulse.stop();
        // Dots that tick in one wake-up are painted in one pass.
        update();
    });
}

qint64 PulseDot::ringStep(qreal t, qreal pixelRatio)
{
    return qint64(qRound(ringRadius(t) * pixelRatio)) * 100 + qRound(ringOpacity(t) * 6);
}

void PulseDot::setTone(Tone tone)
{
    if (tone == m_tone)
        return;
    m_tone = tone;
    update();
}

void PulseDot::setAnimating(bool animating)
{
    const bool changed = animating != m_animating;
    m_animating = animating;
    if (!animating)
        m_pulse.stop();
    else
        startPulse();
    if (changed)
        update();
}

void PulseDot::startPulse()
{
    // Only on screen, while animating and without reduce motion.
    if (!isVisible() || !showsRing() || m_pulse.isRunning())
        return;
    m_pulse.start();
}

bool PulseDot::showsRing() const { return m_animating && !A11y::reduceMotion(); }

void PulseDot::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The pulse starts only when the dot comes on screen while animating.
    startPulse();
}

void PulseDot::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    // Nothing pulses off screen (also sent when the window is minimised); showing the dot
    // again starts the loop afresh.
    m_pulse.stop();
}

void PulseDot::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink = foreground(m_tone);
    const QPointF c = QRectF(rect()).center();
    if (showsRing()) {
        const qreal t = m_pulse.value();
        const qreal radius = ringRadius(t);
        p.setOpacity(ringOpacity(t));
        p.setPen(Qt::NoPen);
        p.setBrush(withOpacity(ink, 0.35));
        p.drawEllipse(c, radius, radius);
        p.setOpacity(1);
    }
    // A soft glow of radius 4 stands in for the dot's shadow.
    QRadialGradient glow(c, 7);
    glow.setColorAt(0, withOpacity(ink, 0.8 * 0.6));
    QColor clear = ink;
    clear.setAlpha(0);
    glow.setColorAt(1, clear);
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(c, 7, 7);
    p.setBrush(ink);
    p.drawEllipse(c, 3, 3);
}
