#include "LoopbackPort.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#if defined(__APPLE__)
#include <sys/sysctl.h>
#endif

namespace {

QString lockFolder()
{
    // Fixed at the first call: the suite later points TMPDIR at a private folder.
    static const QString folder = [] {
        const QString path = QDir::tempPath() + QStringLiteral("/kestrel-e2e-ports");
        QDir().mkpath(path);
        return path;
    }();
    return folder;
}

// Ports no server of a test takes: the default adb server's (a developer's own adb would reach
// ours) and those adb treats as emulators (odd ports from 5555 to 5585).
bool isKeptFree(quint16 port) { return port == 5037 || (port >= 5554 && port <= 5586); }

// Whether nothing is bound to `port` on loopback (or on every address).
bool isFree(quint16 port)
{
#if defined(SOCK_CLOEXEC)
    // A child spawned meanwhile must not inherit it: it would hold the port.
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
#else
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
#endif
    if (fd < 0)
        return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

} // namespace

std::pair<quint16, quint16> LoopbackPort::ephemeralRange()
{
#if defined(__linux__)
    QFile range(QStringLiteral("/proc/sys/net/ipv4/ip_local_port_range"));
    if (range.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> fields = range.readAll().simplified().split(' ');
        bool firstOk = false, lastOk = false;
        const uint first = fields.value(0).toUInt(&firstOk), last = fields.value(1).toUInt(&lastOk);
        if (firstOk && lastOk && first <= last && last <= 65535)
            return {quint16(first), quint16(last)};
    }
#elif defined(__APPLE__)
    int first = 0, last = 0;
    size_t size = sizeof first;
    if (sysctlbyname("net.inet.ip.portrange.first", &first, &size, nullptr, 0) == 0
        && sysctlbyname("net.inet.ip.portrange.last", &last, &size, nullptr, 0) == 0 && 0 < first && first <= last
        && last <= 65535)
        return {quint16(first), quint16(last)};
#endif
    return {49152, 65535}; // the range IANA assigns to dynamic ports
}

LoopbackPort::LoopbackPort()
{
    // Candidates: every unprivileged port outside the ephemeral range, tried from a random place so
    // that runs sharing the machine rarely meet at the same lock.
    const auto [first, last] = ephemeralRange();
    QList<std::pair<int, int>> spans; // inclusive
    if (first > 1024)
        spans.append({1024, first - 1});
    if (last < 65535)
        spans.append({std::max(int(last) + 1, 1024), 65535});
    int total = 0;
    for (const auto &[from, to] : spans)
        total += to - from + 1;
    if (total == 0)
        return; // the kernel may hand out every port: none is safe for a server
    const int start = int(QRandomGenerator::global()->bounded(total));
    for (int attempt = 0; attempt < std::min(total, 500); ++attempt) {
        int index = (start + attempt) % total;
        quint16 candidate = 0;
        for (const auto &[from, to] : spans) {
            if (index <= to - from) {
                candidate = quint16(from + index);
                break;
            }
            index -= to - from + 1;
        }
        if (isKeptFree(candidate))
            continue;
        auto candidateLock = std::make_unique<QLockFile>(lockFolder() + QStringLiteral("/%1.lock").arg(candidate));
        if (!candidateLock->tryLock(0))
            continue; // another run holds it
        if (!isFree(candidate))
            continue; // something else on the machine serves there
        port = candidate;
        lock = std::move(candidateLock);
        return;
    }
}
