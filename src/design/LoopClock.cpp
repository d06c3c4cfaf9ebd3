#include "LoopClock.h"

LoopClock::LoopClock(int periodMs, const QEasingCurve &easing, int frameIntervalMs, Step step, QObject *parent)
    : QObject(parent), m_period(std::max(1, periodMs)), m_interval(std::clamp(frameIntervalMs, 1, m_period)),
      m_easing(easing), m_step(std::move(step))
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &LoopClock::fire);
}

void LoopClock::start()
{
    if (m_running)
        return;
    m_running = true;
    // The picture can depend on the screen (its pixel ratio): sampled afresh on every start.
    m_frames.clear();
    qint64 shown = 0;
    for (int at = 0; at < m_period; at += m_interval) {
        const qreal value = m_easing.valueForProgress(qreal(at) / m_period);
        const qint64 key = m_step ? m_step(value) : at;
        if (m_frames.isEmpty() || key != shown)
            m_frames.append({at, value});
        shown = key;
    }
    // The jump back to the start is a change only when the last picture differs from the first.
    const bool wraps = m_step && m_step(m_frames.first().value) != shown;
    if (m_frames.size() == 1 && !wraps)
        m_frames.clear(); // one still picture: nothing to wake for
    m_value = m_easing.valueForProgress(0);
    m_clock.start();
    m_nextIndex = 1;
    m_nextDue = 0;
    scheduleNext();
}

void LoopClock::stop()
{
    m_running = false;
    m_timer.stop();
}

QList<int> LoopClock::frameTimes() const
{
    QList<int> times;
    for (const Frame &frame : m_frames)
        times.append(frame.at);
    return times;
}

void LoopClock::scheduleNext()
{
    if (m_frames.isEmpty())
        return;
    const qint64 loop = m_nextDue / m_period;
    if (m_nextIndex >= m_frames.size()) {
        m_nextIndex = 0;
        m_nextDue = (loop + 1) * m_period;
    } else {
        m_nextDue = loop * m_period + m_frames[m_nextIndex].at;
    }
    m_timer.start(int(std::max<qint64>(0, m_nextDue - m_clock.elapsed())));
}

void LoopClock::fire()
{
    if (!m_running)
        return;
    // A late wake-up (a busy main thread) shows the frame due now, not every frame it missed.
    const qint64 now = std::max(m_clock.elapsed(), m_nextDue);
    const qint64 loopStart = now / m_period * m_period;
    const int into = int(now - loopStart);
    int index = 0;
    while (index + 1 < m_frames.size() && m_frames[index + 1].at <= into)
        ++index;
    m_value = m_frames[index].value;
    m_nextDue = loopStart + m_frames[index].at;
    m_nextIndex = index + 1;
    Q_EMIT tick();
    if (m_running)
        scheduleNext();
}
