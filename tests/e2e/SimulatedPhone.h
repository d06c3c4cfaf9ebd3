#pragma once

#include "LoopbackPort.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

// One simulated phone: a state folder made fresh for the test and the simulator serving
// it on a free loopback port. The device's side of every check is read from here: the
// state files and the log of the services the host opened.
class SimulatedPhone {
public:
    explicit SimulatedPhone(QString stateFolder);
    ~SimulatedPhone();

    // Makes the state (`options` are the simulator's --make-state options).
    bool makeState(const QStringList &options, QString *error);
    // Serves the state; `options` such as "--auth". Waits until it listens.
    bool start(const QStringList &options, QString *error);
    // Ends the simulator (it ends the shells it started) and waits for it.
    void stop();
    // Serves the state again on the same port, as a phone that was switched off and on: adb
    // finds it there by itself.
    bool restart(QString *error);
    bool isRunning() const { return process && process->state() != QProcess::NotRunning; }

    quint16 port() const { return portHeld ? portHeld->number() : 0; }
    QString serial() const { return QStringLiteral("127.0.0.1:%1").arg(port()); }
    const QString &stateFolder() const { return folder; }

    // --- the device's side ---
    QJsonArray packages() const;
    QJsonObject package(const QString &name) const; // empty when the device has no such package
    QJsonObject device() const;
    // The services the host opened, in order ("shell,v2,raw:pm list packages -f -3", "sync:", ...).
    QStringList services() const;
    // The command lines of the shell and exec services among them.
    QStringList shellCommands() const;
    // The host path of a device path under the shared storage (/sdcard/...).
    QString storagePath(const QString &devicePath) const;

private:
    // Starts the simulator on the port held now; false when it did not listen.
    bool launch(QString *error);

    QString folder;
    QStringList serveOptions;
    std::unique_ptr<LoopbackPort> portHeld;
    std::unique_ptr<QProcess> process;
};
