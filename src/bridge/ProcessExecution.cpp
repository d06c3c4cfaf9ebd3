#include "ProcessExecution.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QStringDecoder>
#include <QThreadPool>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <set>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

QString strictUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return {};
    return text;
}

struct Pipe {
    int read = -1;
    int write = -1;
    bool open() { int fds[2]; if (::pipe2(fds, O_CLOEXEC) != 0) return false; read = fds[0]; write = fds[1]; return true; }
    void closeRead() { if (read >= 0) ::close(read); read = -1; }
    void closeWrite() { if (write >= 0) ::close(write); write = -1; }
    ~Pipe() { closeRead(); closeWrite(); }
};

CommandResult startFailure(const QString &executable, int error)
{
    return CommandResult{-1, QString(), startFailureText(executable, error)};
}

// The children of `runProcess` still running, each the leader of its own group. A pid leaves the
// set before it is reaped, so a signal sent to a member never reaches a reused pid.
struct LiveChildren {
    std::mutex mutex;
    std::set<pid_t> groups;
    bool ending = false; // the application is ending: no new child starts
};

LiveChildren &liveChildren()
{
    static LiveChildren *live = new LiveChildren;
    return *live;
}

void signalLiveChildren(int signal)
{
    LiveChildren &live = liveChildren();
    const std::lock_guard lock(live.mutex);
    for (pid_t group : live.groups)
        ::kill(-group, signal);
}

// Waits for the child to end without reaping it, takes it out of the live set, then reaps it.
int reap(pid_t pid)
{
    siginfo_t info;
    while (::waitid(P_PID, id_t(pid), &info, WEXITED | WNOWAIT) < 0 && errno == EINTR) {}
    {
        LiveChildren &live = liveChildren();
        const std::lock_guard lock(live.mutex);
        live.groups.erase(pid);
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    return status;
}

// True once the child has ended (it is not reaped).
bool hasEnded(pid_t pid)
{
    siginfo_t info{};
    return ::waitid(P_PID, id_t(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid;
}

} // namespace

void endChildProcesses(std::chrono::milliseconds grace)
{
    LiveChildren &live = liveChildren();
    {
        const std::lock_guard lock(live.mutex);
        live.ending = true;
    }
    QThreadPool *pool = processThreadPool();
    bool done = pool->waitForDone(int(grace.count()));
    if (!done) {
        signalLiveChildren(SIGTERM);
        done = pool->waitForDone(1000);
    }
    if (!done) {
        signalLiveChildren(SIGKILL);
        done = pool->waitForDone(1000);
    }
    // Nothing is left that could start a child: runs may start again (tests go on after this).
    if (done) {
        const std::lock_guard lock(live.mutex);
        live.ending = false;
    }
}

QString startFailureText(const QString &executable, int error)
{
    return QStringLiteral("Не удалось запустить «%1»: %2").arg(executable, QString::fromLocal8Bit(std::strerror(error)));
}

int spawnChild(const QString &executable, const QStringList &arguments, int outFd, int errFd, bool ownGroup,
               pid_t *pid)
{
    const QByteArray exe = executable.toLocal8Bit();
    QList<QByteArray> argBytes;
    argBytes.reserve(arguments.size() + 1);
    argBytes << exe;
    for (const QString &a : arguments)
        argBytes << a.toUtf8();
    std::vector<char *> argv;
    for (QByteArray &a : argBytes)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outFd, 1);
    posix_spawn_file_actions_adddup2(&actions, errFd, 2);

    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    sigset_t all, none;
    sigfillset(&all);
    sigemptyset(&none);
    // Default dispositions, so a signal we send is not ignored by inheritance.
    posix_spawnattr_setsigdefault(&attr, &all);
    posix_spawnattr_setsigmask(&attr, &none);
    short flags = POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK;
    if (ownGroup) {
        posix_spawnattr_setpgroup(&attr, 0);
        flags |= POSIX_SPAWN_SETPGROUP;
    }
    posix_spawnattr_setflags(&attr, flags);

    const int error = ::posix_spawn(pid, exe.constData(), &actions, &attr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    return error;
}

QThreadPool *processThreadPool()
{
    // Children block their worker for their whole life; keep plenty of workers.
    static QThreadPool *pool = [] {
        auto *p = new QThreadPool;
        p->setMaxThreadCount(64);
        p->setExpiryTimeout(30000);
        return p;
    }();
    return pool;
}

CommandResult runProcess(const QString &executable, const QStringList &arguments, RunTimeout timeout)
{
    Pipe out, err;
    if (!out.open() || !err.open())
        return startFailure(executable, errno);

    // A group of its own, so a time-out also ends whatever the child started.
    pid_t pid = -1;
    {
        LiveChildren &live = liveChildren();
        const std::lock_guard lock(live.mutex);
        if (live.ending)
            return CommandResult{-1, QString(), QStringLiteral("Приложение завершается: команда не запущена.")};
        const int spawnError = spawnChild(executable, arguments, out.write, err.write, true, &pid);
        if (spawnError != 0)
            return startFailure(executable, spawnError);
        live.groups.insert(pid);
    }
    out.closeWrite();
    err.closeWrite();

    QByteArray outBytes, errBytes;
    QDeadlineTimer deadline = timeout ? QDeadlineTimer(*timeout) : QDeadlineTimer(QDeadlineTimer::Forever);
    bool timedOut = false;
    bool killed = false;
    QByteArray buffer(64 * 1024, Qt::Uninitialized);

    while (out.read >= 0 || err.read >= 0) {
        pollfd fds[2];
        int n = 0;
        if (out.read >= 0)
            fds[n++] = {out.read, POLLIN, 0};
        if (err.read >= 0)
            fds[n++] = {err.read, POLLIN, 0};
        const int wait = deadline.isForever() ? -1 : int(std::max<qint64>(0, deadline.remainingTime()));
        const int ready = ::poll(fds, nfds_t(n), wait);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0) {
            // Time is up: ask the child's group to end, then insist. The pid (and so the
            // group id) stays ours until waitpid.
            if (!timedOut) {
                timedOut = true;
                ::kill(-pid, SIGTERM);
                deadline = QDeadlineTimer(1000);
            } else if (!killed) {
                killed = true;
                ::kill(-pid, SIGKILL);
                deadline = QDeadlineTimer(1000);
            } else {
                break; // a grandchild holds the pipes open; stop reading
            }
            continue;
        }
        for (int i = 0; i < n; ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const ssize_t got = ::read(fds[i].fd, buffer.data(), size_t(buffer.size()));
            if (got < 0 && errno == EINTR)
                continue;
            Pipe &p = fds[i].fd == out.read ? out : err;
            if (got <= 0) {
                p.closeRead();
                continue;
            }
            (&p == &out ? outBytes : errBytes).append(buffer.constData(), got);
        }
    }

    if (timedOut && !killed) {
        // Pipes closed but the child may still be ending after the terminate.
        QDeadlineTimer grace(1000);
        while (!hasEnded(pid) && !grace.hasExpired())
            ::usleep(5000);
        if (!hasEnded(pid))
            ::kill(-pid, SIGKILL);
    }
    const int status = reap(pid);

    CommandResult result;
    result.stdOut = strictUtf8(outBytes);
    result.stdErr = strictUtf8(errBytes);
    if (timedOut) {
        result.exitCode = -1;
        const QString note = QStringLiteral("Команда не завершилась за %1 с и была остановлена.")
                                 .arg(double(timeout->count()) / 1000.0);
        result.stdErr = result.stdErr.trimmed().isEmpty() ? note : result.stdErr + QLatin1Char('\n') + note;
    } else if (WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.exitCode = WTERMSIG(status);
    }
    return result;
}
