#include "SimulatedPhone.h"

#include "E2eTools.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>

#include <csignal>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

SimulatedPhone::SimulatedPhone(QString stateFolder) : folder(std::move(stateFolder)) {}

SimulatedPhone::~SimulatedPhone()
{
    stop();
}

bool SimulatedPhone::makeState(const QStringList &options, QString *error)
{
    QProcess make;
    make.start(E2eTools::python(),
               QStringList{E2eTools::phoneScript(), QStringLiteral("--make-state"), folder} + options);
    if (!make.waitForFinished(60000) || make.exitStatus() != QProcess::NormalExit || make.exitCode() != 0) {
        *error = QStringLiteral("the phone's state was not made: ") + QString::fromUtf8(make.readAllStandardError());
        make.kill();
        make.waitForFinished();
        return false;
    }
    return true;
}

bool SimulatedPhone::start(const QStringList &options, QString *error)
{
    serveOptions = options;
    // A port taken between the reservation and the simulator's bind: take another.
    for (int attempt = 0; attempt < 3; ++attempt) {
        portHeld = std::make_unique<LoopbackPort>();
        if (!portHeld->isValid()) {
            *error = QStringLiteral("no free loopback port");
            return false;
        }
        if (launch(error))
            return true;
    }
    return false;
}

bool SimulatedPhone::restart(QString *error)
{
    stop();
    if (!portHeld) {
        *error = QStringLiteral("the phone was never started");
        return false;
    }
    return launch(error);
}

bool SimulatedPhone::launch(QString *error)
{
    const QString readyFile = folder + QStringLiteral(".ready-%1").arg(port());
    QFile::remove(readyFile); // left by an earlier run on this port
    process = std::make_unique<QProcess>();
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(folder + QStringLiteral(".log"), QIODevice::Append);
    // Time limits of its own: the phone goes away even if this process is killed.
    process->start(E2eTools::python(),
                   QStringList{E2eTools::phoneScript(), QStringLiteral("--state"), folder, QStringLiteral("--port"),
                               QString::number(port()), QStringLiteral("--max-seconds"), QStringLiteral("300"),
                               QStringLiteral("--idle-timeout"), QStringLiteral("120"), QStringLiteral("--ready-file"),
                               readyFile, QStringLiteral("-v")}
                       + serveOptions);
    if (!process->waitForStarted(30000)) {
        *error = QStringLiteral("the simulator did not start: ") + process->errorString();
        return false;
    }
    const bool listening = waitUntil([&] {
        return QFileInfo::exists(readyFile) || process->state() == QProcess::NotRunning;
    }, 60000);
    if (listening && process->state() != QProcess::NotRunning)
        return true;
    stop();
    *error = QStringLiteral("the simulator did not listen on %1: %2")
                 .arg(port())
                 .arg(QString::fromUtf8(readAll(folder + QStringLiteral(".log"))).right(2000));
    return false;
}

void SimulatedPhone::stop()
{
    if (!process)
        return;
    if (process->state() != QProcess::NotRunning) {
        process->terminate(); // SIGTERM: the simulator ends its shells first
        if (!process->waitForFinished(30000)) {
            process->kill();
            process->waitForFinished(10000);
        }
    }
    process.reset();
}

QJsonArray SimulatedPhone::packages() const
{
    return QJsonDocument::fromJson(readAll(folder + QStringLiteral("/packages.json"))).array();
}

QJsonObject SimulatedPhone::package(const QString &name) const
{
    for (const QJsonValue &value : packages())
        if (value.toObject().value(QStringLiteral("name")).toString() == name)
            return value.toObject();
    return {};
}

QJsonObject SimulatedPhone::device() const
{
    return QJsonDocument::fromJson(readAll(folder + QStringLiteral("/device.json"))).object();
}

QStringList SimulatedPhone::services() const
{
    QStringList names;
    for (const QByteArray &line : readAll(folder + QStringLiteral("/log/services.log")).split('\n'))
        if (!line.trimmed().isEmpty())
            names << QJsonDocument::fromJson(line).object().value(QStringLiteral("service")).toString();
    return names;
}

QStringList SimulatedPhone::shellCommands() const
{
    QStringList commands;
    for (const QString &service : services()) {
        if (!service.startsWith(QStringLiteral("shell")) && !service.startsWith(QStringLiteral("exec:")))
            continue;
        const qsizetype colon = service.indexOf(QLatin1Char(':'));
        if (colon >= 0)
            commands << service.mid(colon + 1);
    }
    return commands;
}

QString SimulatedPhone::storagePath(const QString &devicePath) const
{
    QString path = devicePath;
    if (path.startsWith(QStringLiteral("/sdcard")))
        path.replace(0, int(qstrlen("/sdcard")), QStringLiteral("/storage/emulated/0"));
    return folder + QStringLiteral("/fs") + path;
}
