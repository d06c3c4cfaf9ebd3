#include "PhoneSession.h"

#include "E2eTools.h"

#include "bridge/ProcessExecution.h"

#include <QDir>
#include <QThreadPool>

#include <unistd.h>

namespace {
const char *runName = "e2e";
}

void PhoneSession::setRunName(const char *name) { runName = name; }

QByteArray PhoneSession::runMarker()
{
    // Taken once, before TMPDIR points into a session's folder.
    static const QByteArray marker =
        (QDir::tempPath() + QStringLiteral("/kestrel-%1-%2-").arg(QLatin1String(runName)).arg(getppid())).toUtf8();
    return marker;
}

PhoneSession::PhoneSession() : folder(QString::fromUtf8(runMarker()) + QStringLiteral("XXXXXX"))
{
    if (folder.isValid()) {
        QDir().mkpath(path(QStringLiteral("home")));
        QDir().mkpath(path(QStringLiteral("tmp")));
    }
}

PhoneSession::~PhoneSession()
{
    shutdown();
}

QString PhoneSession::path(const QString &relative) const
{
    return relative.isEmpty() ? folder.path() : folder.path() + QLatin1Char('/') + relative;
}

void PhoneSession::setEnvironment(const char *name, const QByteArray &value)
{
    savedEnvironment.append({QByteArray(name), qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name))
                                                                              : std::nullopt});
    if (value.isNull())
        qunsetenv(name);
    else
        qputenv(name, value);
}

bool PhoneSession::startAdbServer(QString *error)
{
    serverPort = std::make_unique<LoopbackPort>();
    if (!serverPort->isValid()) {
        *error = QStringLiteral("no free loopback port for the adb server");
        return false;
    }
    // Everything adb and the model start from here on inherits these.
    setEnvironment("ANDROID_ADB_SERVER_PORT", QByteArray::number(serverPort->number()));
    setEnvironment("ADB_LOCAL_TRANSPORT_MAX_PORT", "5553"); // no emulator scan of 5555 and up
    setEnvironment("HOME", path(QStringLiteral("home")).toUtf8()); // adb keeps its key in ~/.android
    setEnvironment("TMPDIR", path(QStringLiteral("tmp")).toUtf8());
    for (const char *name : {"ADB_SERVER_SOCKET", "ANDROID_ADB_SERVER_ADDRESS", "ANDROID_SERIAL", "ADB_VENDOR_KEYS"})
        setEnvironment(name, QByteArray());

    const CommandResult started = adb({QStringLiteral("start-server")});
    if (!started.succeeded()) {
        *error = QStringLiteral("the private adb server did not start: ") + started.combinedOutput();
        return false;
    }
    return true;
}

SimulatedPhone *PhoneSession::addPhone(const QStringList &makeOptions, const QStringList &serveOptions,
                                       QString *error)
{
    auto phone = std::make_unique<SimulatedPhone>(path(QStringLiteral("phone-%1").arg(phones.size() + 1)));
    if (!phone->makeState(makeOptions, error) || !phone->start(serveOptions, error))
        return nullptr;
    phones.push_back(std::move(phone));
    return phones.back().get();
}

CommandResult PhoneSession::adb(const QStringList &arguments, int timeoutMs) const
{
    return runProcess(E2eTools::adb(), arguments, std::chrono::milliseconds(timeoutMs));
}

bool PhoneSession::connect(const SimulatedPhone &phone, QString *error) const
{
    const CommandResult linked = adb({QStringLiteral("connect"), phone.serial()});
    if (linked.stdOut.contains(QStringLiteral("connected to ") + phone.serial()))
        return true;
    *error = QStringLiteral("adb connect %1: %2").arg(phone.serial(), linked.combinedOutput());
    return false;
}

void PhoneSession::useHomeFolders()
{
    for (const auto &[name, folder] : {std::pair("XDG_CONFIG_HOME", ".config"), std::pair("XDG_DATA_HOME", ".local/share"),
                                       std::pair("XDG_CACHE_HOME", ".cache")}) {
        const QString where = path(QStringLiteral("home/") + QLatin1String(folder));
        QDir().mkpath(where);
        setEnvironment(name, where.toUtf8());
    }
}

AppModel &PhoneSession::makeModel(bool monitor, std::chrono::milliseconds monitorInterval)
{
    settings = std::make_unique<QSettings>(path(QStringLiteral("settings.ini")), QSettings::IniFormat);
    appModel = std::make_unique<AppModel>(settings.get(), ADBService(E2eTools::adb()), false, monitor,
                                          quint64(std::chrono::nanoseconds(monitorInterval).count()),
                                          ToolSearchEnvironment{});
    return *appModel;
}

void PhoneSession::shutdown()
{
    appModel.reset();
    settings.reset();
    // adb runs the model started may still be under way or queued; one that starts after
    // "kill-server" would start a new server.
    processThreadPool()->waitForDone(60000);
    if (serverPort) {
        const CommandResult killed = adb({QStringLiteral("kill-server")});
        if (!killed.succeeded())
            qWarning("adb kill-server: %d %s", killed.exitCode, qPrintable(killed.combinedOutput()));
        serverPort.reset();
    }
    for (auto &phone : phones)
        phone->stop();
    phones.clear();
    while (!savedEnvironment.isEmpty()) {
        const auto [name, value] = savedEnvironment.takeLast();
        if (value)
            qputenv(name.constData(), *value);
        else
            qunsetenv(name.constData());
    }
}
