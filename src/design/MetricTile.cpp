#include "MetricTile.h"

#include "Accessibility.h"
#include "AnimatedValue.h"
#include "DeckParagraph.h"
#include "Ink.h"
#include "Labels.h"
#include "MeterBar.h"
#include "Motion.h"
#include "Symbols.h"
#include "ToneInk.h"
#include "Tokens.h"
#include "Typo.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr qreal kUnitGap = 3;
constexpr qreal kIconSize = 10.5;

class TileIcon : public QWidget {
public:
    TileIcon(QString name, const MetricTile *tile, QWidget *parent) : QWidget(parent), m_name(std::move(name)), m_tile(tile)
    {
        setFixedSize(12, 12);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        Symbols::paint(p, m_name, QRectF(rect()), kIconSize, m_tile->iconColor());
    }

private:
    QString m_name;
    const MetricTile *m_tile;
};

} // namespace

// --- MetricFigure ---

MetricFigure::MetricFigure(const QString &value, std::optional<QString> unit, QWidget *parent)
    : QWidget(parent), m_value(value), m_unit(std::move(unit)), m_roll(new AnimatedValue(1, this))
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void MetricFigure::setValue(const QString &value, std::optional<QString> unit)
{
    const bool changed = value != m_value;
    m_unit = std::move(unit);
    if (changed) {
        m_previous = m_value;
        m_value = value;
        m_roll->jumpTo(0);
        m_roll->animateTo(1, Motion::resolve(Motion::metric(), A11y::reduceMotion()));
    }
    updateGeometry();
    update();
}

bool MetricFigure::isAnimating() const { return m_roll->isRunning(); }

QSize MetricFigure::sizeHint() const
{
    const QFontMetricsF value(Typo::metric());
    qreal w = value.horizontalAdvance(m_value);
    qreal h = value.height();
    if (m_unit) {
        const QFontMetricsF unit(Typo::supporting());
        w += kUnitGap + unit.horizontalAdvance(*m_unit);
        h = std::max(h, value.ascent() + unit.descent());
    }
    return QSize(int(std::ceil(w)), int(std::ceil(h)));
}

QSize MetricFigure::minimumSizeHint() const { return QSize(std::min(sizeHint().width(), 24), sizeHint().height()); }

void MetricFigure::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QFontMetricsF vm(Typo::metric());
    const qreal baseline = vm.ascent();
    const qreal t = m_roll->value();
    const qreal travel = vm.height() * 0.5;
    p.setClipRect(rect());
    p.setFont(Typo::metric());
    // The outgoing value rises and fades; the incoming one rises into place.
    if (t < 1 && !m_previous.isEmpty()) {
        p.setOpacity(1 - t);
        p.setPen(Ink::text());
        p.drawText(QPointF(0, baseline - travel * t), m_previous);
    }
    p.setOpacity(t);
    p.setPen(Ink::text());
    p.drawText(QPointF(0, baseline + travel * (1 - t)), m_value);
    p.setOpacity(1);
    if (m_unit) {
        p.setFont(Typo::supporting());
        p.setPen(Ink::textTertiary());
        p.drawText(QPointF(vm.horizontalAdvance(m_value) + kUnitGap, baseline), *m_unit);
    }
}

// --- MetricTile ---

PanelStyle MetricTile::tileStyle() { return {PanelKind::raised, Radius::l, Elevation::low(), true, true}; }

MetricTile::MetricTile(const QString &icon, const QString &label, const QString &value, std::optional<QString> unit,
                       std::optional<QString> footnote, Tone tone, std::optional<double> progress, QWidget *accessory,
                       QWidget *parent)
    : DeckPanel(tileStyle(), parent), m_icon(icon), m_label(label), m_tone(tone), m_accessory(accessory)
{
    setPadding(QMarginsF(Space::l, Space::l, Space::l, Space::l));
    // Items sit Space::s apart; the bar's glow margin is taken out of the gaps around it.
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0); // the panel's padding is the whole inset
    column->setSpacing(0);

    auto *labelLine = m_labelLine = new QHBoxLayout;
    labelLine->setSpacing(int(Space::xs));
    labelLine->addWidget(new TileIcon(icon, this, this), 0, Qt::AlignVCenter);
    labelLine->addWidget(new Eyebrow(label, this), 0, Qt::AlignVCenter);
    labelLine->addStretch(1);
    if (accessory)
        labelLine->addWidget(accessory, 0, Qt::AlignVCenter);
    column->addLayout(labelLine);

    column->addSpacing(int(Space::s));
    m_figure = new MetricFigure(value, unit, this);
    column->addWidget(m_figure);

    if (progress) {
        column->addSpacing(int(Space::s - MeterBar::kGlowMargin));
        m_meter = new MeterBar(*progress, tone, 5, this);
        column->addWidget(m_meter);
    }
    if (footnote) {
        column->addSpacing(int(m_meter ? Space::s - MeterBar::kGlowMargin : Space::s));
        m_footnote = new DeckParagraph(*footnote, Typo::caption(), [] { return Ink::textTertiary(); }, this);
        m_footnote->setMaximumLines(2);
        column->addWidget(m_footnote);
    }
    column->addStretch(1);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_footnoteText = footnote;
    updateAccessibility();
}

void MetricTile::setValue(const QString &value, std::optional<QString> unit)
{
    m_figure->setValue(value, std::move(unit));
    updateAccessibility();
}

void MetricTile::setProgress(double progress)
{
    if (m_meter)
        m_meter->setProgress(progress);
}

int MetricTile::labelLineWidth() const
{
    return m_labelLine->sizeHint().width() + int(std::ceil(2 * Space::l));
}

QColor MetricTile::iconColor() const { return m_tone == Tone::neutral ? Ink::textTertiary() : foreground(m_tone); }

QString MetricTile::accessibilityLabel() const
{
    return m_label + QStringLiteral(": ") + m_figure->value() + QStringLiteral(" ") +
           m_figure->unit().value_or(QString()) + QStringLiteral(". ") + m_footnoteText.value_or(QString());
}

void MetricTile::updateAccessibility() { setAccessibleName(accessibilityLabel()); }
