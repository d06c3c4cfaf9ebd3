#include "bridge/ADBService.h"
#include "bridge/ProcessExecution.h"

#include "FakeTool.h"
#include "TestSupport.h"

#include <QFile>
#include <QElapsedTimer>
#include <QtConcurrent>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>

namespace {

CommandResult sh(const QString &script, RunTimeout timeout = std::nullopt)
{
    return runProcess(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script}, timeout);
}

TEST(CommandResult, CombinedOutputJoinsOnlyNonBlankTexts)
{
    struct Case { QString out, err, combined; };
    const Case cases[] = {
        {QStringLiteral(" \n"), QStringLiteral("boom"), QStringLiteral("boom")},
        {QStringLiteral("a\n"), QStringLiteral("b"), QStringLiteral("a\n\nb")},
        {QStringLiteral("  "), QStringLiteral("\n"), QString()},
        {QStringLiteral("x"), QString(), QStringLiteral("x")},
    };
    for (const Case &c : cases)
        EXPECT_EQ((CommandResult{1, c.out, c.err}.combinedOutput()), c.combined) << c.out.toStdString();
    EXPECT_TRUE((CommandResult{0, {}, {}}.succeeded()));
    EXPECT_FALSE((CommandResult{-1, {}, {}}.succeeded()));
}

TEST(RunProcess, CollectsBothStreamsAndExitCode)
{
    const auto r = sh(QStringLiteral("printf 'привет'; printf 'oops' >&2; exit 3"));
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.stdOut, QStringLiteral("привет"));
    EXPECT_EQ(r.stdErr, QStringLiteral("oops"));
}

TEST(RunProcess, LargeStderrBeforeStdoutDoesNotDeadlock)
{
    const auto r = sh(QStringLiteral("head -c 1000000 /dev/zero | tr '\\0' e >&2; echo done"));
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.stdErr.size(), 1000000);
    EXPECT_EQ(r.stdOut, QStringLiteral("done\n"));
}

TEST(RunProcess, InvalidUtf8EmptiesOnlyThatStream)
{
    const auto r = sh(QStringLiteral("printf 'ok\\377'; printf 'fine' >&2; exit 2"));
    EXPECT_EQ(r.stdOut, QString());
    EXPECT_EQ(r.stdErr, QStringLiteral("fine"));
    EXPECT_EQ(r.exitCode, 2);
}

TEST(RunProcess, MissingExecutableFailsToStart)
{
    const auto r = runProcess(QStringLiteral("/nonexistent/adb"), {QStringLiteral("devices")});
    EXPECT_EQ(r.exitCode, -1);
    EXPECT_TRUE(r.stdOut.isEmpty());
    EXPECT_FALSE(r.stdErr.isEmpty());
}

TEST(RunProcess, StandardInputIsEmpty)
{
    const auto r = sh(QStringLiteral("cat; echo end"));
    EXPECT_EQ(r.stdOut, QStringLiteral("end\n"));
}

TEST(RunProcess, TimeoutTerminatesAndKills)
{
    // Both children would run 30 s; the limit ends them long before.
    QElapsedTimer t;
    t.start();
    auto r = sh(QStringLiteral("echo started; sleep 30"), std::chrono::milliseconds(1000));
    EXPECT_EQ(r.exitCode, -1);
    EXPECT_TRUE(r.stdOut.startsWith(QStringLiteral("started"))); // what came before the limit is kept
    EXPECT_TRUE(r.stdErr.contains(QStringLiteral("не завершилась")));
    EXPECT_LT(t.elapsed(), 20000);

    t.restart();
    r = sh(QStringLiteral("trap '' TERM; sleep 30"), std::chrono::milliseconds(200));
    EXPECT_EQ(r.exitCode, -1);
    EXPECT_LT(t.elapsed(), 20000);
}

// At the application's end a run that finishes within the grace keeps its own result, a run that
// would go on (even one that ignores the terminate) is ended with its group, and runs work again
// afterwards.
TEST(RunProcess, ChildrenStillRunningEndWithTheApplication)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const auto started = [&](const QString &name) { return QFile::exists(dir.filePath(name)); };
    const auto inPool = [&](const QString &script) {
        return QtConcurrent::run(processThreadPool(), [script] { return sh(script); });
    };
    QFuture<CommandResult> quick = inPool(QStringLiteral("touch '%1'; sleep 1; exit 7").arg(dir.filePath(QStringLiteral("quick"))));
    ASSERT_TRUE(waitUntil([&] { return started(QStringLiteral("quick")); }));
    endChildProcesses(std::chrono::seconds(20));
    EXPECT_EQ(quick.result().exitCode, 7);

    QFuture<CommandResult> endless = inPool(QStringLiteral("touch '%1'; sleep 60").arg(dir.filePath(QStringLiteral("endless"))));
    QFuture<CommandResult> stubborn =
        inPool(QStringLiteral("trap '' TERM; touch '%1'; sleep 60").arg(dir.filePath(QStringLiteral("stubborn"))));
    ASSERT_TRUE(waitUntil([&] { return started(QStringLiteral("endless")) && started(QStringLiteral("stubborn")); }));
    QElapsedTimer t;
    t.start();
    endChildProcesses(std::chrono::milliseconds(100));
    EXPECT_LT(t.elapsed(), 20000);
    ASSERT_TRUE(endless.isFinished());
    ASSERT_TRUE(stubborn.isFinished());
    EXPECT_EQ(endless.result().exitCode, SIGTERM);
    EXPECT_EQ(stubborn.result().exitCode, SIGKILL);

    EXPECT_EQ(sh(QStringLiteral("exit 3")).exitCode, 3);
}

TEST(ADBServiceRun, SerialGoesFirstOnlyWhenNotEmpty)
{
    FakeTool fake;
    fake.on({QStringLiteral("devices"), QStringLiteral("-l")}, {.out = QStringLiteral("List of devices attached\n")});
    const ADBService adb(fake.adbPath());
    auto r = runSync(adb.run({QStringLiteral("devices"), QStringLiteral("-l")}));
    EXPECT_EQ(r.stdOut, QStringLiteral("List of devices attached\n"));
    runSync(adb.run({QStringLiteral("devices"), QStringLiteral("-l")}, QString()));
    runSync(adb.run({QStringLiteral("shell"), QStringLiteral("id")}, QStringLiteral("R58M")));
    const QList<QStringList> expected{
        {QStringLiteral("devices"), QStringLiteral("-l")},
        {QStringLiteral("devices"), QStringLiteral("-l")},
        {QStringLiteral("-s"), QStringLiteral("R58M"), QStringLiteral("shell"), QStringLiteral("id")},
    };
    EXPECT_EQ(fake.calls(), expected);
}

TEST(ADBServiceRun, MissingToolGivesFailedResult)
{
    const ADBService adb(QStringLiteral("/nonexistent/adb"));
    const auto r = runSync(adb.run({QStringLiteral("version")}));
    EXPECT_EQ(r.exitCode, -1);
    EXPECT_FALSE(r.stdErr.isEmpty());
}

class Locators : public ::testing::Test {
protected:
    QTemporaryDir root;
    QString make(const QString &relative, bool executable = true)
    {
        const QString p = root.path() + QLatin1Char('/') + relative;
        QDir().mkpath(QFileInfo(p).path());
        QFile f(p);
        f.open(QIODevice::WriteOnly);
        f.write("#!/bin/sh\n");
        f.close();
        f.setPermissions(executable ? QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                    : QFile::ReadOwner | QFile::WriteOwner);
        return p;
    }
    ToolSearchEnvironment env()
    {
        ToolSearchEnvironment e;
        e.fixedFolders = {root.path() + QStringLiteral("/opt/homebrew/bin"), root.path() + QStringLiteral("/usr/local/bin")};
        e.home = root.path() + QStringLiteral("/home");
        e.path = QString();
        return e;
    }
};

TEST_F(Locators, SearchOrderAndSkips)
{
    auto e = env();
    e.lateFolders = {root.path() + QStringLiteral("/home/Android/Sdk/platform-tools"),
                     root.path() + QStringLiteral("/usr/lib/android-sdk/platform-tools")};
    EXPECT_EQ(ADBService::locateADB(e), std::nullopt);

    // The late folders come last, in their order.
    const QString debianSdk = make(QStringLiteral("usr/lib/android-sdk/platform-tools/adb"));
    EXPECT_EQ(ADBService::locateADB(e), debianSdk);
    const QString studioSdk = make(QStringLiteral("home/Android/Sdk/platform-tools/adb"));
    EXPECT_EQ(ADBService::locateADB(e), studioSdk);

    const QString fromPath = make(QStringLiteral("bin/adb"));
    e.path = QStringLiteral(":") + root.path() + QStringLiteral("/bin:");
    EXPECT_EQ(ADBService::locateADB(e), fromPath);

    const QString sdk = make(QStringLiteral("home/Library/Android/sdk/platform-tools/adb"));
    EXPECT_EQ(ADBService::locateADB(e), sdk);

    make(QStringLiteral("opt/homebrew/bin/adb"), false); // not executable: skipped
    const QString local = make(QStringLiteral("usr/local/bin/adb"));
    EXPECT_EQ(ADBService::locateADB(e), local);

    const QString bundled = make(QStringLiteral("bundle/platform-tools/adb"));
    e.bundledPlatformTools = root.path() + QStringLiteral("/bundle/platform-tools");
    EXPECT_EQ(ADBService::locateADB(e), bundled);
}

TEST(ToolSearch, OnLinuxTheSdkFoldersComeAfterPath)
{
    const ToolSearchEnvironment e = ToolSearchEnvironment::current();
#ifdef Q_OS_MACOS
    EXPECT_TRUE(e.lateFolders.isEmpty());
#else
    EXPECT_EQ(e.lateFolders, (QStringList{QDir::homePath() + QStringLiteral("/Android/Sdk/platform-tools"),
                                          QStringLiteral("/usr/lib/android-sdk/platform-tools")}));
#endif
}

TEST_F(Locators, RelativePathEntriesAndFoldersNeverCount)
{
    auto e = env();
    QDir().mkpath(root.path() + QStringLiteral("/dir/adb")); // a folder named adb
    e.path = QStringLiteral(".:bin:") + root.path() + QStringLiteral("/dir");
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(root.path());
    make(QStringLiteral("adb"));
    make(QStringLiteral("bin/adb"));
    EXPECT_EQ(ADBService::locateADB(e), std::nullopt);
    QDir::setCurrent(cwd);
}

TEST_F(Locators, FastbootPrefersTheFolderOfAdb)
{
    auto e = env();
    const QString local = make(QStringLiteral("usr/local/bin/fastboot"));
    const QString besideAdb = make(QStringLiteral("tools/fastboot"));
    EXPECT_EQ(ADBService::locateFastboot(root.path() + QStringLiteral("/tools/adb"), e), besideAdb);
    EXPECT_EQ(ADBService::locateFastboot(std::nullopt, e), local);
    const QString brew = make(QStringLiteral("opt/homebrew/bin/fastboot"));
    EXPECT_EQ(ADBService::locateFastboot(std::nullopt, e), brew);
}

} // namespace
