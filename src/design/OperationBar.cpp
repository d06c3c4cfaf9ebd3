#include "OperationBar.h"

#include "Accessibility.h"
#include "AnimatedValue.h"
#include "DeckButton.h"
#include "DeckParagraph.h"
#include "DeckText.h"
#include "Ink.h"
#include "Motion.h"
#include "Tokens.h"
#include "Typo.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace {

// The ring's circle: 16 px, with room for half of the 2 px stroke outside it.
constexpr qreal kRing = 16;
constexpr qreal kLine = 2;
const QRectF kCircle(kLine / 2, kLine / 2, kRing, kRing);
constexpr int kSide = int(kRing + kLine);

// An arc on the ring's circle from `startClockwise` degrees (clockwise from three o'clock)
// spanning `spanClockwise` degrees clockwise. Qt counts angles counter-clockwise.
QPainterPath clockwiseArc(qreal startClockwise, qreal spanClockwise)
{
    QPainterPath path;
    path.arcMoveTo(kCircle, -startClockwise);
    path.arcTo(kCircle, -startClockwise, -spanClockwise);
    return path;
}

class ProgressIndicator : public QWidget {
public:
    ProgressIndicator(const OperationBar *bar, QWidget *parent) : QWidget(parent), m_bar(bar)
    {
        setFixedSize(kSide, kSide);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Ink::stroke(), kLine, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(kCircle);
        if (OperationBar::isIndeterminate(m_bar->progress()))
            return;
        p.setPen(QPen(Ink::accent(), kLine, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
        // From twelve o'clock (−90° clockwise from three), growing clockwise.
        p.drawPath(clockwiseArc(-90, 360 * m_bar->shownArcFraction()));
    }

private:
    const OperationBar *m_bar;
};

} // namespace

// --- IndeterminateRing ---

IndeterminateRing::IndeterminateRing(QWidget *parent) : QWidget(parent)
{
    setFixedSize(kSide, kSide);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_spin.setStartValue(0.0);
    m_spin.setEndValue(360.0);
    m_spin.setDuration(kTurnMs);
    m_spin.setEasingCurve(QEasingCurve::Linear);
    m_spin.setLoopCount(-1);
    connect(&m_spin, &QVariantAnimation::valueChanged, this, [this](const QVariant &v) {
        m_angle = v.toReal();
        update();
    });
}

qreal IndeterminateRing::ringOpacity() const { return A11y::reduceMotion() ? 0.6 : 1.0; }

void IndeterminateRing::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!A11y::reduceMotion() && !isSpinning())
        m_spin.start();
}

void IndeterminateRing::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_spin.stop();
}

void IndeterminateRing::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setOpacity(ringOpacity());
    p.setPen(QPen(Ink::accent(), kLine, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
    p.drawPath(clockwiseArc(m_angle, 0.3 * 360));
}

// --- OperationBar ---

PanelStyle OperationBar::panelStyle() { return {PanelKind::raised, Radius::m, Elevation::medium(), true, true}; }

QMarginsF OperationBar::shadowMargins() { return Panel::shadowMargins(panelStyle()); }

std::optional<qint64> OperationBar::percentValue(std::optional<double> progress)
{
    if (!progress)
        return std::nullopt;
    const double hundredfold = *progress * 100;
    // Anything that does not fit a 64-bit integer would be undefined to convert.
    constexpr double limit = 9.2e18;
    if (!std::isfinite(hundredfold) || hundredfold >= limit || hundredfold <= -limit)
        return std::nullopt;
    return qint64(std::trunc(hundredfold));
}

double OperationBar::arcFraction(double progress)
{
    if (std::isnan(progress))
        return 0.02;
    return std::max(0.02, std::min(progress, 1.0));
}

bool OperationBar::isIndeterminate(std::optional<double> progress) { return !progress || std::isnan(*progress); }

OperationBar::OperationBar(const QString &title, std::optional<QString> detail, std::optional<double> progress,
                           std::function<void()> onCancel, QWidget *parent)
    : QWidget(parent), m_progress(progress), m_onCancel(std::move(onCancel))
{
    const QMarginsF shadow = shadowMargins();
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins((shadow + QMarginsF(Space::m, Space::s, Space::m, Space::s)).toMargins());
    row->setSpacing(int(Space::m));

    m_arc = new AnimatedValue(progress && !std::isnan(*progress) ? arcFraction(*progress) : 0.02, this);
    m_indicator = new ProgressIndicator(this, this);
    m_ring = new IndeterminateRing(m_indicator);
    m_ring->move(0, 0);
    connect(m_arc, &AnimatedValue::valueChanged, m_indicator, qOverload<>(&QWidget::update));
    row->addWidget(m_indicator, 0, Qt::AlignVCenter);

    auto *texts = new QVBoxLayout;
    texts->setSpacing(1);
    m_title = new DeckParagraph(title, Typo::bodyMedium(), [] { return Ink::text(); }, this);
    texts->addWidget(m_title);
    m_detail = new DeckText(detail.value_or(QString()), Typo::caption(), [] { return Ink::textTertiary(); }, this);
    m_detail->setVisible(detail.has_value());
    texts->addWidget(m_detail);
    row->addLayout(texts, 1);

    m_percent = new DeckText(QString(), Typo::label(), [] { return Ink::textSecondary(); }, this);
    m_percent->setElideMode(Qt::ElideNone);
    row->addWidget(m_percent, 0, Qt::AlignVCenter);

    if (m_onCancel) {
        m_stop = new DeckButton(tr("Остановить"), {DeckButtonRole::ghost, DeckButtonSize::small, false}, this);
        connect(m_stop, &QAbstractButton::clicked, this, [this] {
            if (m_onCancel)
                m_onCancel();
        });
        row->addWidget(m_stop, 0, Qt::AlignVCenter);
    }
    setTitle(title);
    sync();
}

void OperationBar::setTitle(const QString &title)
{
    m_title->setText(title);
    setAccessibleName(tr("Выполняется: ") + title);
}

void OperationBar::setDetail(std::optional<QString> detail)
{
    m_detail->setText(detail.value_or(QString()));
    m_detail->setVisible(detail.has_value());
}

void OperationBar::setProgress(std::optional<double> progress)
{
    if (progress == m_progress && !(progress && std::isnan(*progress)))
        return;
    m_progress = progress;
    sync();
}

void OperationBar::sync()
{
    const bool spinner = isIndeterminate(m_progress);
    m_ring->setVisible(spinner);
    if (!spinner)
        m_arc->animateTo(arcFraction(*m_progress), Motion::resolve(Motion::smooth(), A11y::reduceMotion()));
    const QString percent = percentText();
    m_percent->setText(percent);
    m_percent->setVisible(!percent.isEmpty());
    m_indicator->update();
}

QString OperationBar::accessibilityLabel() const { return accessibleName(); }

QString OperationBar::percentText() const
{
    const std::optional<qint64> value = percentValue(m_progress);
    return value ? tr("%1%").arg(*value) : QString();
}

double OperationBar::shownArcFraction() const { return m_arc->value(); }

QRectF OperationBar::barRect() const { return QRectF(rect()).marginsRemoved(shadowMargins()); }

void OperationBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    Panel::paint(p, barRect(), panelStyle());
}
