#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP (a session ending, a terminal's Ctrl+C, a service
// manager) into a call on the main thread, so the application quits through its own
// quit path instead of dying wherever it was. The previous handlers come back with the
// object. One instance at a time.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(std::function<void(int signal)> onSignal, QObject *parent = nullptr);
    ~TerminationSignals() override;

private:
    void deliver();

    std::function<void(int)> handler;
    QSocketNotifier *notifier = nullptr;
};
