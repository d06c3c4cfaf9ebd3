#include "AnimatedValue.h"

AnimatedValue::AnimatedValue(qreal initial, QWidget *owner)
    : QObject(owner), m_owner(owner), m_value(initial), m_target(initial)
{
    connect(&m_animation, &QVariantAnimation::valueChanged, this,
            [this](const QVariant &v) { set(v.toReal()); });
}

void AnimatedValue::animateTo(qreal target, const std::optional<Animation> &animation)
{
    if (qFuzzyCompare(target + 1, m_target + 1) && (isRunning() || qFuzzyCompare(target + 1, m_value + 1)))
        return;
    m_target = target;
    if (!animation || animation->durationMs() <= 0) {
        jumpTo(target);
        return;
    }
    m_animation.stop();
    m_animation.setStartValue(m_value);
    m_animation.setEndValue(target);
    m_animation.setDuration(animation->durationMs());
    m_animation.setEasingCurve(animation->easing());
    m_animation.start();
}

void AnimatedValue::jumpTo(qreal target)
{
    m_animation.stop();
    m_target = target;
    set(target);
}

void AnimatedValue::set(qreal v)
{
    if (v == m_value)
        return;
    m_value = v;
    if (m_owner)
        m_owner->update();
    Q_EMIT valueChanged(v);
}
