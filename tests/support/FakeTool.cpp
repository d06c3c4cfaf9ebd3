#include "FakeTool.h"

#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>

QJsonObject FakeResponse::toJson() const
{
    QJsonObject o{{"stdout", out}, {"stderr", err}, {"exit", exit}};
    if (delayMs)
        o["delayMs"] = delayMs;
    if (!outBytes.isEmpty())
        o["stdoutBase64"] = QString::fromLatin1(outBytes.toBase64());
    if (!outFile.isEmpty())
        o["stdoutFile"] = outFile;
    if (!lines.isEmpty())
        o["lines"] = QJsonArray::fromStringList(lines);
    if (intervalMs)
        o["intervalMs"] = intervalMs;
    if (holdMs)
        o["holdMs"] = holdMs;
    if (ignoreInterrupt)
        o["ignoreInterrupt"] = true;
    if (ignoreTerminate)
        o["ignoreTerminate"] = true;
    if (stderrFirst)
        o["stderrFirst"] = true;
    if (!gate.isEmpty())
        o["gate"] = gate;
    if (awaitCalls)
        o["awaitCalls"] = awaitCalls;
    if (!steps.isEmpty()) {
        QJsonArray list;
        for (const Step &step : steps)
            list.append(QJsonObject{{"out", step.out}, {"err", step.err}, {"pauseMs", step.pauseMs}});
        o["steps"] = list;
    }
    if (streamRate) {
        o["streamRate"] = streamRate;
        o["streamMs"] = streamMs;
    }
    return o;
}

QString FakeResponse::burstLine(qint64 n)
{
    static const char levels[] = "VDIWEF";
    return QString::asprintf("01-02 03:04:05.678  1000  %4d %c Burst: line %lld lorem ipsum dolor sit amet", int(n % 1000),
                             levels[n % 6], n);
}

FakeTool::FakeTool()
{
    QFile::link(QStringLiteral(KESTREL_FAKE_TOOL), adbPath());
    QFile::link(QStringLiteral(KESTREL_FAKE_TOOL), fastbootPath());
    save();
}

FakeTool &FakeTool::on(const QStringList &args, const FakeResponse &response, const QString &tool)
{
    return onSequence(args, {response}, tool, false);
}

FakeTool &FakeTool::onPrefix(const QStringList &args, const FakeResponse &response, const QString &tool)
{
    return onSequence(args, {response}, tool, true);
}

FakeTool &FakeTool::onSequence(const QStringList &args, const QList<FakeResponse> &responses,
                               const QString &tool, bool prefix)
{
    QJsonArray list;
    for (const auto &r : responses)
        list.append(r.toJson());
    m_rules.append(QJsonObject{{"tool", tool}, {"args", QJsonArray::fromStringList(args)},
                               {"prefix", prefix}, {"responses", list}});
    save();
    return *this;
}

FakeTool &FakeTool::setDefault(const FakeResponse &response)
{
    m_default = response.toJson();
    save();
    return *this;
}

QList<QStringList> FakeTool::calls(const QString &tool) const
{
    QList<QStringList> result;
    QFile log(dir() + QStringLiteral("/calls.jsonl"));
    if (!log.open(QIODevice::ReadOnly))
        return result;
    for (const QByteArray &line : log.readAll().split('\n')) {
        if (line.isEmpty())
            continue;
        const QJsonObject entry = QJsonDocument::fromJson(line).object();
        if (entry.value("tool").toString() != tool)
            continue;
        QStringList args;
        for (const auto &a : entry.value("args").toArray())
            args << a.toString();
        result << args;
    }
    return result;
}

void FakeTool::open(const QString &gate)
{
    QFile f(dir() + QStringLiteral("/gate-") + gate);
    f.open(QIODevice::WriteOnly);
}

void FakeTool::clearCalls()
{
    QFile::remove(dir() + QStringLiteral("/calls.jsonl"));
}

void FakeTool::save() const
{
    QJsonObject scenario{{"rules", m_rules}};
    if (!m_default.isEmpty())
        scenario["default"] = m_default;
    // Replaced whole, so a call running meanwhile never reads half a scenario.
    QSaveFile f(dir() + QStringLiteral("/scenario.json"));
    f.open(QIODevice::WriteOnly);
    f.write(QJsonDocument(scenario).toJson());
    f.commit();
}
