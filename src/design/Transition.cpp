#include "Transition.h"

#include <QGraphicsOpacityEffect>
#include <QPointer>
#include <QVariantAnimation>

namespace {

const char *const kRunName = "kestrel-transition";
const char *const kEffectName = "kestrel-transition-fade";

QGraphicsOpacityEffect *ownEffect(const QWidget *widget)
{
    auto *effect = qobject_cast<QGraphicsOpacityEffect *>(widget->graphicsEffect());
    return effect && effect->objectName() == QLatin1String(kEffectName) ? effect : nullptr;
}

// One running transition: a child of its widget until it ends, so the widget's end is its end.
class TransitionRun : public QObject {
public:
    TransitionRun(QWidget *widget, const Transition::Ends &ends, Transition::Hooks hooks)
        : QObject(widget), m_widget(widget), m_ends(ends), m_hooks(std::move(hooks))
    {
        setObjectName(QLatin1String(kRunName));
        m_animation.setStartValue(0.0);
        m_animation.setEndValue(1.0);
        connect(&m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant &v) {
            // A hook may settle this run from inside the animation's signal.
            const bool outer = !m_inSignal;
            m_inSignal = true;
            apply(v.toReal());
            if (outer && !m_ended)
                m_inSignal = false;
        });
        connect(&m_animation, &QVariantAnimation::finished, this, [this] {
            m_inSignal = true;
            finish();
        });
    }

    void start(const Animation &animation)
    {
        apply(0);
        m_animation.setDuration(animation.durationMs());
        m_animation.setEasingCurve(animation.easing());
        m_animation.start();
    }

    // Applies the end state, then `done`. The run leaves the widget first, so `done` may delete it.
    void finish()
    {
        if (m_ended)
            return;
        m_ended = true;
        m_animation.stop();
        apply(1);
        if (m_widget && m_ends.opacity && m_ends.opacity->second >= 1 && m_effect
            && m_widget->graphicsEffect() == m_effect)
            m_widget->setGraphicsEffect(nullptr); // deletes it: a settled widget draws plainly
        std::function<void()> done = std::move(m_hooks.done);
        m_hooks = {};
        setParent(nullptr);
        if (done)
            done();
        if (m_inSignal)
            deleteLater(); // inside the animation's own signal
        else
            delete this;
    }

    bool isEnded() const { return m_ended; }
    QAbstractAnimation *animation() { return &m_animation; }

private:
    void apply(qreal t)
    {
        if (!m_widget)
            return;
        if (m_ends.opacity) {
            const auto [from, to] = *m_ends.opacity;
            const qreal value = from + (to - from) * t;
            if (!m_effect)
                m_effect = ownEffect(m_widget);
            if (!m_effect && value < 1) {
                m_effect = new QGraphicsOpacityEffect(m_widget);
                m_effect->setObjectName(QLatin1String(kEffectName));
                m_widget->setGraphicsEffect(m_effect);
            }
            if (m_effect)
                m_effect->setOpacity(value);
        }
        if (m_ends.position) {
            const auto [from, to] = *m_ends.position;
            m_widget->move(from + (to - from) * t);
        }
        if (m_hooks.step)
            m_hooks.step(t);
    }

    QPointer<QWidget> m_widget;
    QPointer<QGraphicsOpacityEffect> m_effect;
    Transition::Ends m_ends;
    Transition::Hooks m_hooks;
    QVariantAnimation m_animation;
    bool m_ended = false;
    bool m_inSignal = false;
};

TransitionRun *runningOn(const QWidget *widget)
{
    // Not a Q_OBJECT: found by its name, which nothing else takes.
    auto *run = static_cast<TransitionRun *>(
        widget ? widget->findChild<QObject *>(QLatin1String(kRunName), Qt::FindDirectChildrenOnly) : nullptr);
    return run && !run->isEnded() ? run : nullptr;
}

} // namespace

namespace Transition {

void run(QWidget *widget, const std::optional<Animation> &animation, const Ends &ends, Hooks hooks)
{
    if (!widget)
        return;
    settle(widget);
    auto *transition = new TransitionRun(widget, ends, std::move(hooks));
    if (animation && animation->durationMs() > 0)
        transition->start(*animation);
    else
        transition->finish();
}

void settle(QWidget *widget)
{
    if (TransitionRun *transition = runningOn(widget))
        transition->finish();
}

bool isRunning(const QWidget *widget) { return runningOn(widget) != nullptr; }

QAbstractAnimation *animation(const QWidget *widget)
{
    TransitionRun *transition = runningOn(widget);
    return transition ? transition->animation() : nullptr;
}

qreal opacity(const QWidget *widget)
{
    const QGraphicsOpacityEffect *effect = widget ? ownEffect(widget) : nullptr;
    return effect ? effect->opacity() : 1.0;
}

} // namespace Transition
