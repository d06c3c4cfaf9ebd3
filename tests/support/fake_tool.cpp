// A stand-in for adb and fastboot. It is reached through a link named "adb" or
// "fastboot" in a scenario folder; that folder holds scenario.json, and every call
// appends its argument vector as one JSON line to calls.jsonl.
//
// scenario.json: {"rules": [ {"tool": "adb", "args": [...], "prefix": false,
//                             "responses": [ response, ... ]} ],
//                 "default": response}
// response: {"stdout": text, "stdoutBase64": text, "stdoutFile": path, "stderr": text,
//            "exit": n, "delayMs": n, "lines": [text...], "intervalMs": n,
//            "ignoreInterrupt": bool, "ignoreTerminate": bool, "stderrFirst": bool, "awaitCalls": n,
//            "steps": [{"out": text, "err": text, "pauseMs": n}...],
//            "streamRate": lines per second, "streamMs": n, "gate": name}
// With "awaitCalls" the call answers only once calls.jsonl holds that many calls: calls
// that must overlap each wait for the others, and fail (exit 98) if they never come.
// Streamed lines are generated threadtime lines, written as fast as the rate allows.
// A response with a gate answers only once the file "gate-<name>" exists in the folder
// (the test opens it), or gives up when the scenario folder is removed.
// The n-th call that matches a rule gets responses[n] (the last one repeats).
// Later rules win over earlier ones.
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

void writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0)
            return;
        done += n;
    }
}

bool matches(const QJsonObject &rule, const QString &tool, const QStringList &args)
{
    if (rule.value("tool").toString("adb") != tool)
        return false;
    const QJsonArray want = rule.value("args").toArray();
    const bool prefix = rule.value("prefix").toBool(false);
    if (!prefix && want.size() != args.size())
        return false;
    if (want.size() > args.size())
        return false;
    for (int i = 0; i < want.size(); ++i)
        if (want.at(i).toString() != args.at(i))
            return false;
    return true;
}

int callIndex(const QString &dir, int rule)
{
    const QString path = dir + QStringLiteral("/count-%1").arg(rule);
    QFile f(path);
    int n = 0;
    if (f.open(QIODevice::ReadOnly))
        n = f.readAll().trimmed().toInt();
    f.close();
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(QByteArray::number(n + 1));
    return n;
}

int callsMade(const QString &dir)
{
    QFile log(dir + QStringLiteral("/calls.jsonl"));
    return log.open(QIODevice::ReadOnly) ? int(log.readAll().count('\n')) : 0;
}

} // namespace

int main(int argc, char **argv)
{
    const QString self = QString::fromLocal8Bit(argv[0]);
    const QFileInfo info(self);
    const QString dir = info.absolutePath();
    const QString tool = info.fileName();
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromUtf8(argv[i]);

    QJsonObject response;
    {
        // flock blocks without polling, so concurrent calls are not slowed down.
        const int lockFd = ::open(QFile::encodeName(dir + QStringLiteral("/fake.lock")).constData(),
                                  O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        ::flock(lockFd, LOCK_EX);
        QFile log(dir + QStringLiteral("/calls.jsonl"));
        if (log.open(QIODevice::Append)) {
            QJsonObject entry{{"tool", tool}, {"args", QJsonArray::fromStringList(args)}};
            log.write(QJsonDocument(entry).toJson(QJsonDocument::Compact) + '\n');
        }
        QFile scenarioFile(dir + QStringLiteral("/scenario.json"));
        scenarioFile.open(QIODevice::ReadOnly);
        const QJsonObject scenario = QJsonDocument::fromJson(scenarioFile.readAll()).object();
        const QJsonArray rules = scenario.value("rules").toArray();
        response = scenario.value("default").toObject(
            QJsonObject{{"stderr", QStringLiteral("fake %1: no rule for: %2\n").arg(tool, args.join(' '))},
                        {"exit", 1}});
        for (int i = int(rules.size()) - 1; i >= 0; --i) {
            const QJsonObject rule = rules.at(i).toObject();
            if (!matches(rule, tool, args))
                continue;
            const QJsonArray responses = rule.value("responses").toArray();
            if (!responses.isEmpty()) {
                const int n = callIndex(dir, i);
                response = responses.at(std::min<int>(n, int(responses.size()) - 1)).toObject();
            }
            break;
        }
        ::close(lockFd);
    }

    if (response.value("ignoreInterrupt").toBool())
        std::signal(SIGINT, SIG_IGN);
    if (response.value("ignoreTerminate").toBool())
        std::signal(SIGTERM, SIG_IGN);

    if (const int awaited = response.value("awaitCalls").toInt(); awaited > 0) {
        QElapsedTimer waited;
        waited.start();
        int made = 0;
        while ((made = callsMade(dir)) < awaited) {
            if (waited.elapsed() > 30000) {
                writeAll(2, QStringLiteral("fake %1: %2 of %3 calls came\n").arg(tool).arg(made).arg(awaited).toUtf8());
                return 98;
            }
            QThread::msleep(5);
        }
    }

    if (const int delay = response.value("delayMs").toInt(); delay > 0)
        QThread::msleep(ulong(delay));
    if (const QString gate = response.value("gate").toString(); !gate.isEmpty()) {
        const QString open = dir + QStringLiteral("/gate-") + gate;
        const QString scenario = dir + QStringLiteral("/scenario.json");
        while (!QFileInfo::exists(open) && QFileInfo::exists(scenario))
            QThread::msleep(2);
    }

    QByteArray out = response.value("stdout").toString().toUtf8();
    if (response.contains("stdoutBase64"))
        out = QByteArray::fromBase64(response.value("stdoutBase64").toString().toLatin1());
    if (response.contains("stdoutFile")) {
        QFile f(response.value("stdoutFile").toString());
        if (f.open(QIODevice::ReadOnly))
            out = f.readAll();
    }
    const QByteArray err = response.value("stderr").toString().toUtf8();

    if (response.value("stderrFirst").toBool()) {
        writeAll(2, err);
        writeAll(1, out);
    } else {
        writeAll(1, out);
        writeAll(2, err);
    }

    for (const auto &value : response.value("steps").toArray()) {
        const QJsonObject step = value.toObject();
        writeAll(1, step.value("out").toString().toUtf8());
        writeAll(2, step.value("err").toString().toUtf8());
        if (const int pause = step.value("pauseMs").toInt(); pause > 0)
            QThread::msleep(ulong(pause));
    }

    const QJsonArray lines = response.value("lines").toArray();
    const int interval = response.value("intervalMs").toInt();
    for (const auto &line : lines) {
        writeAll(1, line.toString().toUtf8() + '\n');
        if (interval > 0)
            QThread::msleep(ulong(interval));
    }
    // Must match FakeResponse::burstLine.
    const qint64 rate = response.value("streamRate").toInt();
    const qint64 total = rate * response.value("streamMs").toInt() / 1000;
    QElapsedTimer clock;
    clock.start();
    QByteArray burst;
    char line[160];
    for (qint64 sent = 0; sent < total;) {
        const qint64 due = std::min(total, rate * clock.elapsed() / 1000 + 1);
        if (due <= sent) {
            ::usleep(1000);
            continue;
        }
        burst.clear();
        for (; sent < due; ++sent) {
            const int n = std::snprintf(line, sizeof line,
                                        "01-02 03:04:05.678  1000  %4d %c Burst: line %lld lorem ipsum dolor sit amet\n",
                                        int(sent % 1000), "VDIWEF"[sent % 6], static_cast<long long>(sent));
            burst.append(line, n);
        }
        writeAll(1, burst);
    }
    if (const int hold = response.value("holdMs").toInt(); hold > 0)
        QThread::msleep(ulong(hold));
    return response.value("exit").toInt(0);
}
