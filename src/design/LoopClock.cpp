#include "LoopClock.h"

// One timer for every loop in common phase, waking at the earliest frame any of them waits for.
// Loops live on the main thread, as the widgets that show them.
class LoopPace : public QObject {
public:
    static LoopPace &instance()
    {
        // Never destroyed: loops may outlive static destruction order's guarantees.
        static LoopPace *pace = new LoopPace;
        return *pace;
    }
    qint64 now() const { return m_origin.elapsed(); }
    void wait(LoopClock *clock)
    {
        if (!m_waiting.contains(clock))
            m_waiting.append(clock);
        reschedule();
    }
    void leave(LoopClock *clock)
    {
        m_waiting.removeOne(clock);
        reschedule();
    }

private:
    LoopPace()
    {
        m_origin.start();
        m_timer.setSingleShot(true);
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, &LoopPace::wake);
    }
    void reschedule()
    {
        if (m_waking)
            return;
        if (m_waiting.isEmpty()) {
            m_timer.stop();
            return;
        }
        qint64 due = m_waiting.first()->m_nextDue;
        for (const LoopClock *clock : m_waiting)
            due = std::min(due, clock->m_nextDue);
        m_timer.start(int(std::max<qint64>(0, due - now())));
    }
    void wake()
    {
        const qint64 at = now();
        m_waking = true;
        // A tick may stop or start any loop: each is looked up again before it fires.
        const QList<LoopClock *> due = m_waiting;
        for (LoopClock *clock : due)
            if (m_waiting.contains(clock) && clock->m_nextDue <= at)
                clock->fire();
        m_waking = false;
        reschedule();
    }

    QElapsedTimer m_origin;
    QTimer m_timer;
    QList<LoopClock *> m_waiting;
    bool m_waking = false;
};

LoopClock::LoopClock(int periodMs, const QEasingCurve &easing, int frameIntervalMs, Step step, QObject *parent)
    : QObject(parent), m_period(std::max(1, periodMs)), m_interval(std::clamp(frameIntervalMs, 1, m_period)),
      m_easing(easing), m_step(std::move(step))
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &LoopClock::fire);
}

LoopClock::~LoopClock()
{
    if (m_common)
        LoopPace::instance().leave(this);
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
    m_clock.start();
    if (m_common && !m_frames.isEmpty()) {
        // Joins the loops already running: the frame due now is shown at once.
        m_nextDue = now();
        fire();
        return;
    }
    m_value = m_easing.valueForProgress(0);
    m_nextIndex = 1;
    m_nextDue = 0;
    scheduleNext();
}

qint64 LoopClock::now() const { return m_common ? LoopPace::instance().now() : m_clock.elapsed(); }

void LoopClock::stop()
{
    m_running = false;
    m_timer.stop();
    if (m_common)
        LoopPace::instance().leave(this);
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
    if (m_common)
        LoopPace::instance().wait(this);
    else
        m_timer.start(int(std::max<qint64>(0, m_nextDue - now())));
}

void LoopClock::fire()
{
    if (!m_running)
        return;
    // A late wake-up (a busy main thread) shows the frame due now, not every frame it missed.
    const qint64 at = std::max(now(), m_nextDue);
    const qint64 loopStart = at / m_period * m_period;
    const int into = int(at - loopStart);
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
