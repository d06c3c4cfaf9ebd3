#pragma once

#include "LoopbackPort.h"
#include "SimulatedPhone.h"

#include "bridge/CommandResult.h"
#include "core/AppModel.h"

#include <QByteArray>
#include <QList>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <list>
#include <memory>

// One test's private world: a folder of its own (HOME and TMPDIR of everything started),
// a private adb server on a port of its own, simulated phones and the application model
// with Debian's adb. Nothing is shared with another run on the machine; every process
// started here carries the folder's path, so what is left behind can be found.
class PhoneSession {
public:
    PhoneSession();
    ~PhoneSession();

    bool isValid() const { return folder.isValid(); }
    // Leaves the folder (the phones' states and logs) for a look after a failure.
    void keepFolder() { folder.setAutoRemove(false); }
    QString path(const QString &relative = {}) const;
    // The text every process of this session carries in its environment or command line.
    QByteArray marker() const { return folder.path().toUtf8(); }
    // The prefix shared by the sessions of one test run (the processes one ctest run started).
    static QByteArray runMarker();
    // The suite's name in that prefix ("e2e" unless set first), so suites that run side by side
    // never sweep each other's processes.
    static void setRunName(const char *name);

    // The private adb server's environment for this process and its children, then the server.
    bool startAdbServer(QString *error);
    // A phone with a fresh state, served on a free port.
    SimulatedPhone *addPhone(const QStringList &makeOptions, const QStringList &serveOptions, QString *error);
    // Runs Debian's adb against the private server, as a user in a terminal would.
    CommandResult adb(const QStringList &arguments, int timeoutMs = 30000) const;
    // "adb connect": the phone shows up from outside the application.
    bool connect(const SimulatedPhone &phone, QString *error) const;

    // The desktop's folders (configuration, data, cache) inside the session's home, for an
    // application made in this process.
    void useHomeFolders();

    // The model as the application makes it, with Debian's adb and a private settings store.
    AppModel &makeModel(bool monitor, std::chrono::milliseconds monitorInterval = std::chrono::milliseconds(200));
    AppModel *model() const { return appModel.get(); }

    // Ends the model, the adb server and the phones, and puts the environment back.
    void shutdown();

private:
    QTemporaryDir folder;
    std::unique_ptr<LoopbackPort> serverPort;
    std::list<std::unique_ptr<SimulatedPhone>> phones;
    std::unique_ptr<QSettings> settings;
    std::unique_ptr<AppModel> appModel;
    QList<QPair<QByteArray, std::optional<QByteArray>>> savedEnvironment;

    void setEnvironment(const char *name, const QByteArray &value);
};
