#include "LoopbackPort.h"

#include <QDir>
#include <QTcpServer>

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

} // namespace

LoopbackPort::LoopbackPort()
{
    for (int attempt = 0; attempt < 50; ++attempt) {
        QTcpServer probe;
        if (!probe.listen(QHostAddress::LocalHost, 0))
            continue;
        const quint16 candidate = probe.serverPort();
        // adb treats odd ports from 5555 to 5585 as emulators.
        if (candidate >= 5554 && candidate <= 5586)
            continue;
        auto candidateLock = std::make_unique<QLockFile>(lockFolder() + QStringLiteral("/%1.lock").arg(candidate));
        if (!candidateLock->tryLock(0))
            continue; // another run holds it
        probe.close();
        port = candidate;
        lock = std::move(candidateLock);
        return;
    }
}
