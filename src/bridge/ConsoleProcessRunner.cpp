#include "ConsoleProcessRunner.h"
#include "ProcessExecution.h"

#include <QByteArray>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>


namespace {

constexpr auto kTerminateDelay = std::chrono::milliseconds(1000);
std::atomic<int> liveRunCount{0};
// Without a process descriptor the reader checks for the child's end this often.
constexpr int kExitCheckMs = 100;
// After the child ends, a grandchild may still hold the pipes; read only what is there.
constexpr qsizetype kRemainderCap = 16 * 1024 * 1024;

// Decodes one stream chunk by chunk: a sequence cut at the end of a chunk waits for
// the next one instead of turning into replacement characters.
class Utf8StreamDecoder {
public:
    QString decode(const char *data, qsizetype size)
    {
        if (!m_carry.isEmpty()) {
            m_carry.append(data, size);
            QByteArray joined = std::move(m_carry);
            m_carry.clear();
            return take(joined.constData(), joined.size());
        }
        return take(data, size);
    }

    // Whatever is left at the end of the stream is an incomplete sequence.
    QString finish()
    {
        const QString text = QString::fromUtf8(m_carry);
        m_carry.clear();
        return text;
    }

private:
    QString take(const char *data, qsizetype size)
    {
        const qsizetype complete = completeLength(data, size);
        if (complete < size)
            m_carry = QByteArray(data + complete, size - complete);
        return QString::fromUtf8(data, complete);
    }

    static qsizetype completeLength(const char *data, qsizetype size)
    {
        for (qsizetype i = size - 1; i >= 0 && i >= size - 3; --i) {
            const auto byte = static_cast<unsigned char>(data[i]);
            if ((byte & 0xC0) == 0x80)
                continue; // continuation byte: look further back for the lead
            const qsizetype need = (byte >= 0xF0 && byte <= 0xF4) ? 4
                                 : (byte >= 0xE0 && byte <= 0xEF) ? 3
                                 : (byte >= 0xC2 && byte <= 0xDF) ? 2
                                                                  : 1;
            return size - i < need ? i : size;
        }
        return size;
    }

    QByteArray m_carry;
};

void closeFd(int &fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

int openPidFd(pid_t pid)
{
#if defined(__linux__) && defined(SYS_pidfd_open)
    const long fd = ::syscall(SYS_pidfd_open, pid, 0);
    if (fd >= 0) {
        ::fcntl(int(fd), F_SETFD, FD_CLOEXEC);
        return int(fd);
    }
#else
    (void)pid;
#endif
    return -1;
}

int statusCode(int status)
{
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        return WTERMSIG(status);
    return -1;
}

} // namespace

// One launched child with its pipes, decoders and callbacks. It lives as long as its
// reader thread or a pending delayed signal needs it, independent of the runner.
struct ConsoleProcessRunner::Run {
    TextHandler onStandardOutput;
    TextHandler onStandardError;
    CompletionHandler onCompletion;
    std::weak_ptr<Slot> slot;

    int outFd = -1;
    int errFd = -1;
    int pidFd = -1;

    // Serialises every delivery of this run.
    std::mutex outputLock;
    Utf8StreamDecoder outDecoder;
    Utf8StreamDecoder errDecoder;

    // Signals are sent and the pid is reaped only under this lock, so a signal can
    // never reach a process that took over the pid after ours was reaped.
    std::mutex signalLock;
    pid_t pid = -1;
    bool reaped = false;
    std::atomic<bool> launched{false};
    std::atomic<bool> exited{false};

    Run() { ++liveRunCount; }

    ~Run()
    {
        --liveRunCount;
        closeFd(outFd);
        closeFd(errFd);
        closeFd(pidFd);
    }

    bool isRunning() const { return launched.load() && !exited.load(); }

    void sendSignal(int signo)
    {
        std::lock_guard guard(signalLock);
        if (pid <= 0 || reaped || exited.load())
            return;
#if defined(__linux__) && defined(SYS_pidfd_send_signal)
        // The descriptor names this very process even if someone else reaped it.
        if (pidFd >= 0 && ::syscall(SYS_pidfd_send_signal, pidFd, signo, nullptr, 0) == 0)
            return;
#endif
        ::kill(pid, signo);
    }

    void deliver(bool error, const char *data, qsizetype size)
    {
        std::lock_guard guard(outputLock);
        const QString text = (error ? errDecoder : outDecoder).decode(data, size);
        if (!text.isEmpty())
            (error ? onStandardError : onStandardOutput)(text);
    }

    // Non-blocking: whether the child has ended (it stays unreaped, a zombie).
    bool checkExited()
    {
        siginfo_t info;
        std::memset(&info, 0, sizeof info);
        int rc;
        while ((rc = ::waitid(P_PID, id_t(pid), &info, WEXITED | WNOHANG | WNOWAIT)) < 0 && errno == EINTR) {}
        if (rc < 0 || info.si_pid != 0)
            exited = true;
        return exited.load();
    }

    void waitExited()
    {
        siginfo_t info;
        std::memset(&info, 0, sizeof info);
        while (::waitid(P_PID, id_t(pid), &info, WEXITED | WNOWAIT) < 0 && errno == EINTR) {}
        exited = true;
    }

    QByteArray readRest(int fd)
    {
        QByteArray rest;
        if (fd < 0)
            return rest;
        char buffer[65536];
        while (rest.size() < kRemainderCap) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break; // end of file, or nothing more right now
            rest.append(buffer, n);
        }
        return rest;
    }

    void readLoop()
    {
        std::vector<char> buffer(65536);
        while (!exited.load()) {
            pollfd fds[3];
            int n = 0;
            const int outIndex = outFd >= 0 ? n : -1;
            if (outFd >= 0)
                fds[n++] = {outFd, POLLIN, 0};
            const int errIndex = errFd >= 0 ? n : -1;
            if (errFd >= 0)
                fds[n++] = {errFd, POLLIN, 0};
            if (n == 0) {
                // Both streams are closed; only the end of the child is left to see.
                waitExited();
                break;
            }
            const int pidIndex = pidFd >= 0 ? n : -1;
            if (pidFd >= 0)
                fds[n++] = {pidFd, POLLIN, 0};

            const int ready = ::poll(fds, nfds_t(n), pidFd >= 0 ? -1 : kExitCheckMs);
            if (ready < 0) {
                // Giving up here would leave the child blocked on a full pipe.
                if (errno != EINTR)
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                continue;
            }
            for (int index : {outIndex, errIndex}) {
                if (index < 0 || !(fds[index].revents & (POLLIN | POLLHUP | POLLERR)))
                    continue;
                int &fd = index == outIndex ? outFd : errFd;
                const ssize_t got = ::read(fd, buffer.data(), buffer.size());
                if (got > 0)
                    deliver(index == errIndex, buffer.data(), got);
                else if (got == 0 || (errno != EINTR && errno != EAGAIN))
                    closeFd(fd);
            }
            if (pidIndex >= 0 ? (fds[pidIndex].revents != 0) : checkExited())
                exited = true;
        }
    }

    void finish()
    {
        {
            std::lock_guard guard(outputLock);
            const QByteArray outRest = readRest(outFd);
            const QString out = outDecoder.decode(outRest.constData(), outRest.size()) + outDecoder.finish();
            const QByteArray errRest = readRest(errFd);
            const QString err = errDecoder.decode(errRest.constData(), errRest.size()) + errDecoder.finish();
            if (!out.isEmpty())
                onStandardOutput(out);
            if (!err.isEmpty())
                onStandardError(err);
        }
        closeFd(outFd);
        closeFd(errFd);

        int status = 0;
        pid_t waited;
        {
            std::lock_guard guard(signalLock);
            while ((waited = ::waitpid(pid, &status, 0)) < 0 && errno == EINTR) {}
            reaped = true;
        }
        closeFd(pidFd);

        if (std::shared_ptr<Slot> owner = slot.lock()) {
            std::lock_guard guard(owner->lock);
            owner->process.reset();
        }
        const CompletionHandler done = std::move(onCompletion);
        // Let go of what the callbacks hold before reporting the end.
        onStandardOutput = nullptr;
        onStandardError = nullptr;
        // -1 when the status was lost (someone else reaped the child).
        done(waited == pid ? statusCode(status) : -1);
    }
};

ConsoleProcessRunner::ConsoleProcessRunner() : m_slot(std::make_shared<Slot>()) {}

ConsoleProcessRunner::~ConsoleProcessRunner()
{
    stop();
}

int ConsoleProcessRunner::liveRuns()
{
    return liveRunCount.load();
}

bool ConsoleProcessRunner::isRunning() const
{
    std::lock_guard guard(m_slot->lock);
    return m_slot->process && m_slot->process->isRunning();
}

std::optional<ConsoleRunError> ConsoleProcessRunner::start(const QString &executableURL, const QStringList &arguments,
                                                           TextHandler onStandardOutput, TextHandler onStandardError,
                                                           CompletionHandler onCompletion)
{
    auto run = std::make_shared<Run>();
    run->onStandardOutput = std::move(onStandardOutput);
    run->onStandardError = std::move(onStandardError);
    run->onCompletion = std::move(onCompletion);
    run->slot = m_slot;

    {
        std::lock_guard guard(m_slot->lock);
        if (m_slot->process)
            return ConsoleRunError{QStringLiteral("KestrelConsole"), 1, QStringLiteral("Другая команда уже выполняется")};
        m_slot->process = run;
    }

    const auto fail = [&](int error) {
        {
            std::lock_guard guard(m_slot->lock);
            if (m_slot->process == run)
                m_slot->process.reset();
        }
        return ConsoleRunError{QStringLiteral("POSIX"), error,
                               QStringLiteral("Не удалось запустить «%1»: %2")
                                   .arg(executableURL, QString::fromLocal8Bit(std::strerror(error)))};
    };

    int outPipe[2] = {-1, -1};
    int errPipe[2] = {-1, -1};
    // Close-on-exec, so children started elsewhere never hold our pipes open.
    if (::pipe2(outPipe, O_CLOEXEC) != 0)
        return fail(errno);
    if (::pipe2(errPipe, O_CLOEXEC) != 0) {
        const int error = errno;
        ::close(outPipe[0]);
        ::close(outPipe[1]);
        return fail(error);
    }
    run->outFd = outPipe[0];
    run->errFd = errPipe[0];
    ::fcntl(run->outFd, F_SETFL, ::fcntl(run->outFd, F_GETFL) | O_NONBLOCK);
    ::fcntl(run->errFd, F_SETFL, ::fcntl(run->errFd, F_GETFL) | O_NONBLOCK);

    int spawnError;
    {
        std::lock_guard guard(run->signalLock);
        pid_t pid = -1;
        spawnError = spawnChild(executableURL, arguments, outPipe[1], errPipe[1], false, &pid);
        if (spawnError == 0) {
            run->pid = pid;
            run->launched = true;
        }
    }
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    if (spawnError != 0)
        return fail(spawnError);

    run->pidFd = openPidFd(run->pid);
    try {
        std::thread([run] {
            run->readLoop();
            run->finish();
        }).detach();
    } catch (const std::system_error &) {
        // No thread to watch it: end the child at once rather than leave it unattended.
        {
            std::lock_guard guard(run->signalLock);
            ::kill(run->pid, SIGKILL);
            int status = 0;
            while (::waitpid(run->pid, &status, 0) < 0 && errno == EINTR) {}
            run->reaped = true;
        }
        return fail(EAGAIN);
    }
    return std::nullopt;
}

void ConsoleProcessRunner::stop()
{
    std::shared_ptr<Run> run;
    {
        std::lock_guard guard(m_slot->lock);
        run = m_slot->process;
    }
    if (!run || !run->isRunning())
        return;
    run->sendSignal(SIGINT);
    // The delayed terminate holds the run, not the runner, so it fires after a release too.
    try {
        std::thread([run] {
            std::this_thread::sleep_for(kTerminateDelay);
            run->sendSignal(SIGTERM);
        }).detach();
    } catch (const std::system_error &) {
    }
}
