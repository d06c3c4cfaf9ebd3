#include "OperationOverlay.h"

#include "core/AppModel.h"
#include "design/Accessibility.h"
#include "design/Motion.h"
#include "design/OperationBar.h"
#include "design/Tokens.h"

#include <QGraphicsOpacityEffect>
#include <QVariantAnimation>

OperationOverlay::OperationOverlay(AppModel *model, QWidget *host) : QObject(host), m_model(model), m_host(host)
{
    model->observe(model->runningOperation, this, [this] { sync(); });
    sync();
}

QRect OperationOverlay::restingGeometry() const
{
    const QMarginsF shadow = OperationBar::shadowMargins();
    const int width = std::min(m_host->width(), kMaxWidth);
    const int outerWidth = width + int(shadow.left() + shadow.right());
    const int height = m_bar->sizeHint().height();
    const int bottom = m_host->height() - int(Space::xl) + int(shadow.bottom());
    return QRect((m_host->width() - outerWidth) / 2, bottom - height, outerWidth, height);
}

OperationBar *OperationOverlay::bar() const { return m_bar; }

void OperationOverlay::place()
{
    if (m_bar)
        m_bar->setGeometry(restingGeometry());
}

namespace {
// Slides `bar` between `from` and `to` while fading from `fadeFrom` to `fadeTo`.
QVariantAnimation *slide(QWidget *bar, QRect from, QRect to, qreal fadeFrom, qreal fadeTo, const Animation &motion)
{
    auto *fade = new QGraphicsOpacityEffect(bar);
    fade->setOpacity(fadeFrom);
    bar->setGraphicsEffect(fade);
    auto *run = new QVariantAnimation(bar);
    run->setStartValue(0.0);
    run->setEndValue(1.0);
    run->setDuration(motion.durationMs());
    run->setEasingCurve(motion.easing());
    QObject::connect(run, &QVariantAnimation::valueChanged, bar, [=](const QVariant &v) {
        const qreal t = v.toReal();
        fade->setOpacity(fadeFrom + (fadeTo - fadeFrom) * t);
        bar->move(from.topLeft() + (to.topLeft() - from.topLeft()) * t);
    });
    return run;
}
} // namespace

void OperationOverlay::sync()
{
    const std::optional<RunningOperation> operation = m_model->runningOperation();
    const std::optional<Animation> motion = Motion::resolve(Motion::smooth(), A11y::reduceMotion());
    const bool animated = motion && m_host->isVisible();

    if (!operation) {
        if (!m_bar)
            return;
        OperationBar *leaving = m_bar;
        m_bar = nullptr;
        if (!animated) {
            delete leaving;
            return;
        }
        const QRect from = leaving->geometry();
        QVariantAnimation *run =
            slide(leaving, from, from.translated(0, m_host->height() - from.top()), 1, 0, *motion);
        connect(run, &QVariantAnimation::finished, leaving, &QObject::deleteLater);
        run->start(QAbstractAnimation::DeleteWhenStopped);
        return;
    }

    if (m_bar) {
        // The bar eases its own progress; the texts change in place.
        m_bar->setTitle(operation->title);
        m_bar->setDetail(operation->detail);
        m_bar->setProgress(operation->progress);
        place();
        return;
    }
    // No cancel action: this overlay never offers a stop button.
    m_bar = new OperationBar(operation->title, operation->detail, operation->progress, {}, m_host);
    const QRect rest = restingGeometry();
    m_bar->setGeometry(rest);
    m_bar->show();
    m_bar->raise();
    if (animated) {
        QPointer<OperationBar> bar = m_bar;
        QVariantAnimation *run = slide(m_bar, rest.translated(0, m_host->height() - rest.top()), rest, 0, 1, *motion);
        connect(run, &QVariantAnimation::finished, m_bar, [bar, this] {
            if (!bar)
                return;
            bar->setGraphicsEffect(nullptr);
            if (bar == m_bar)
                place();
        });
        run->start(QAbstractAnimation::DeleteWhenStopped);
    }
}
