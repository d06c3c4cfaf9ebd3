#include "OperationOverlay.h"

#include "core/AppModel.h"
#include "design/Accessibility.h"
#include "design/Motion.h"
#include "design/OperationBar.h"
#include "design/Tokens.h"
#include "design/Transition.h"


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
        // Still arriving: the slide-in settles first, then the bar leaves from its resting place.
        Transition::settle(leaving);
        const QPoint from = leaving->pos();
        Transition::run(leaving, motion,
                        {.opacity = std::pair(1.0, 0.0), .position = std::pair(from, QPoint(from.x(), m_host->height()))},
                        {.done = [leaving] { leaving->deleteLater(); }});
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
        OperationBar *bar = m_bar;
        Transition::run(bar, motion,
                        {.opacity = std::pair(0.0, 1.0),
                         .position = std::pair(QPoint(rest.x(), m_host->height()), rest.topLeft())},
                        {.done = [bar, this] {
                            if (bar == m_bar)
                                place();
                        }});
    }
}
