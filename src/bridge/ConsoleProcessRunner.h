#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>

// Why `ConsoleProcessRunner::start` refused or failed. The busy refusal has domain
// "KestrelConsole" and code 1; a failed launch has domain "POSIX" and the errno.
struct ConsoleRunError {
    QString domain;
    int code = 0;
    QString localizedDescription;

    bool operator==(const ConsoleRunError &) const = default;
};

// Runs one long-lived child process at a time and streams its output as text.
//
// Callbacks arrive on the run's own reader thread, never on the caller's: owners hop
// to their own thread themselves. All deliveries of one run are serialised and in
// order: chunks of each stream as the child wrote them, then the remainders read
// after the child ended (output before error), then `onCompletion` with the exit
// code, or the signal number when a signal ended the child. No lock of the runner is
// held while `onCompletion` runs, and the runner is idle again by then, so the
// callback may start the next command at once. Each stream is decoded with one
// stateful UTF-8 decoder per run, so a character split between reads comes out whole.
//
// Releasing the runner stops its child; the run's callbacks, `onCompletion`
// included, are still delivered.
class ConsoleProcessRunner {
public:
    using TextHandler = std::function<void(const QString &)>;
    using CompletionHandler = std::function<void(int)>;

    ConsoleProcessRunner();
    ~ConsoleProcessRunner();
    ConsoleProcessRunner(const ConsoleProcessRunner &) = delete;
    ConsoleProcessRunner &operator=(const ConsoleProcessRunner &) = delete;

    // True while a child is held and has not exited yet.
    bool isRunning() const;

    // Runs in this process that are not over yet: a child, its reader thread or a
    // delayed stop still holds them. Once it is zero nothing more can be delivered,
    // which is what a test waits for before it checks that nothing more came.
    static int liveRuns();

    // Launches `executableURL` with `arguments` exactly as given (standard input is
    // /dev/null) and returns once it runs. On an error nothing was launched and none
    // of the callbacks will be called.
    [[nodiscard]] std::optional<ConsoleRunError> start(const QString &executableURL, const QStringList &arguments,
                                                       TextHandler onStandardOutput, TextHandler onStandardError,
                                                       CompletionHandler onCompletion);

    // Sends the child SIGINT now and SIGTERM one second later if it still runs then.
    // Returns at once; the end is reported through `onCompletion` as usual.
    void stop();

    struct Run;
    struct Slot {
        std::mutex lock;              // guards `process` and nothing else
        std::shared_ptr<Run> process; // held from just before launch until the run completes
    };

private:
    std::shared_ptr<Slot> m_slot;
};
