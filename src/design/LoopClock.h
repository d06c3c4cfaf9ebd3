#pragma once

#include <QEasingCurve>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>

#include <functional>

// The phase of an endless loop that stays on screen for a long time (a pulse, a travelling dot).
// It wakes only when the picture changes: on start it samples one loop every `frameIntervalMs`
// through `step`, which maps the eased value to what would be drawn (rounded to the steps an
// eye can tell apart), and ticks only at the moments where that changes. A loop whose picture
// never changes, or a stopped one, costs nothing.
class LoopClock : public QObject {
    Q_OBJECT
public:
    using Step = std::function<qint64(qreal value)>;

    LoopClock(int periodMs, const QEasingCurve &easing, int frameIntervalMs, Step step, QObject *parent = nullptr);
    ~LoopClock() override;

    // Starts the loop at its beginning; a running loop keeps its pace.
    void start();
    // Loops that keep a common phase (set before the first start) count their time from one
    // origin and wake together: two pulses of one period are in step, their frames fall in the
    // same wake-up and a window shows them with one repaint. Such a loop joins at the frame due
    // now rather than at its beginning.
    void setCommonPhase(bool common) { m_common = common; }
    void stop();
    bool isRunning() const { return m_running; }
    // The eased progress of the frame shown now, 0 to 1; 0 while stopped.
    qreal value() const { return m_running ? m_value : 0; }
    int period() const { return m_period; }
    // The moments of one loop (ms from its start) at which the picture changes.
    QList<int> frameTimes() const;

Q_SIGNALS:
    void tick();

private:
    friend class LoopPace;
    struct Frame {
        int at;
        qreal value;
    };
    void scheduleNext();
    void fire();
    // Milliseconds into this loop's time line.
    qint64 now() const;

    QTimer m_timer;
    QElapsedTimer m_clock;
    int m_period;
    int m_interval;
    QEasingCurve m_easing;
    Step m_step;
    QList<Frame> m_frames;
    qint64 m_nextDue = 0; // ms since start of the frame the timer waits for
    int m_nextIndex = 0;
    qreal m_value = 0;
    bool m_running = false;
    bool m_common = false;
};
