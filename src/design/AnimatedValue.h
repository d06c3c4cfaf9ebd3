#pragma once

#include "Motion.h"

#include <QObject>
#include <QPointer>
#include <QVariantAnimation>
#include <QWidget>

#include <optional>

// A number that eases towards a new target under an animation token, or jumps there when the
// token resolved to none (reduce motion). Each change repaints the owning widget.
class AnimatedValue : public QObject {
    Q_OBJECT
public:
    AnimatedValue(qreal initial, QWidget *owner);

    qreal value() const { return m_value; }
    qreal target() const { return m_target; }
    bool isRunning() const { return m_animation.state() == QAbstractAnimation::Running; }
    // The easing in use, for a test that checks which token drives it.
    const QVariantAnimation &animation() const { return m_animation; }

    void animateTo(qreal target, const std::optional<Animation> &animation);
    void jumpTo(qreal target);

Q_SIGNALS:
    void valueChanged(qreal value);

private:
    void set(qreal v);

    QPointer<QWidget> m_owner;
    QVariantAnimation m_animation;
    qreal m_value;
    qreal m_target;
};
