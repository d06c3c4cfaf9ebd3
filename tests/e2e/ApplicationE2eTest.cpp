#include "E2eTest.h"

#include "E2eTools.h"

#include "TimedChecks.h"
#include "bridge/DeviceSnapshot.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>

namespace {

class Application : public E2eTest {
protected:
    bool startsWithModel() const override { return false; }
};

// The built application, started offscreen beside a connected phone, probes it and lists
// its packages within 10 s with no action of the user, then quits cleanly when asked
// to end (SIGTERM, as a session ending sends).
TEST_F(Application, StartsProbesListsAndQuitsOnRequest)
{
    QString error;
    ASSERT_TRUE(session->connect(*phone, &error)) << error.toStdString();

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (const char *name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
        const QString folder = session->path(QStringLiteral("app/") + QString::fromLatin1(name));
        ASSERT_TRUE(QDir().mkpath(folder));
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        environment.insert(QString::fromLatin1(name), folder);
    }
    QProcess application;
    application.setProcessEnvironment(environment);
    application.setStandardOutputFile(session->path(QStringLiteral("app/output.log")));
    application.setStandardErrorFile(session->path(QStringLiteral("app/errors.log")));
    MachineLoad load = machineLoad();
    load.start();
    QElapsedTimer clock;
    clock.start();
    application.start(E2eTools::applicationBinary(), {});
    ASSERT_TRUE(application.waitForStarted(30000)) << application.errorString().toStdString();

    const QStringList wanted{QStringLiteral("pm list packages -f -3"), QStringLiteral("pm list packages -f -s"),
                             QStringLiteral("pm list packages -d --user 0"),
                             QStringLiteral("pm list packages -u --user 0"), DeviceSnapshot::probeScript()};
    const auto seen = [&] {
        const QStringList commands = phone->shellCommands();
        return std::all_of(wanted.begin(), wanted.end(), [&](const QString &c) { return commands.contains(c); });
    };
    // Waited for longer than allowed, so a slow start shows its real time in the failure.
    const bool reached = eventually([&] { return seen() || application.state() == QProcess::NotRunning; }, 60000);
    const qint64 elapsed = clock.elapsed();
    ASSERT_TRUE(reached && seen()) << "the application did not probe and list the phone";
    if (TimedChecks::judgeOnIdleMachine("start-up within 10 s", load))
        EXPECT_LE(elapsed, 10000) << "probed and listed after " << elapsed << " ms";
    std::cout << "[ figure   ] the application probed and listed the phone " << elapsed << " ms after its start\n";

    ASSERT_EQ(application.state(), QProcess::Running);
    application.terminate();
    ASSERT_TRUE(application.waitForFinished(30000)) << "the application did not quit";
    EXPECT_EQ(application.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(application.exitCode(), 0);
}

} // namespace
