#include "bridge/ADBService.h"
#include "bridge/ProcessExecution.h"

#include "FakeTool.h"
#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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
    EXPECT_EQ(ADBService::locateADB(e), std::nullopt);

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
