#include "E2eTest.h"

namespace {

using Console = E2eTest;

QString output(const AppModel &model, ConsoleEntryKind kind)
{
    QString text;
    for (const ConsoleEntry &entry : model.consoleEntries())
        if (entry.kind == kind)
            text += entry.text;
    return text;
}

// A device-shell command line reaches the device as typed (pipes, quotes and all), its
// output and error stay apart, and its exit code comes back over the shell protocol.
TEST_F(Console, DeviceShellCommandRunsAndReportsItsExitCode)
{
    struct Case {
        QString line;
        QString standardOutput;
        QString standardError;
        QString status;
    };
    const QList<Case> cases{
        {QStringLiteral("echo 'один  два' | sed 's/два/три/'; getprop ro.product.model"), QStringLiteral("один  три\nPixel 8\n"),
         QString(), QStringLiteral("Завершено успешно")},
        {QStringLiteral("echo out; echo err >&2; exit 3"), QStringLiteral("out\n"), QStringLiteral("err\n"),
         QStringLiteral("Завершено с кодом 3")},
        {QStringLiteral("pm list packages --no-such-option"), QString(),
         QStringLiteral("Error: Unknown option: --no-such-option\n"), QStringLiteral("Завершено с кодом 255")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        model->clearConsole();
        model->consoleInput.set(c.line);
        model->runConsoleCommand();
        ASSERT_TRUE(model->consoleIsRunning());
        ASSERT_TRUE(eventually([&] { return !model->consoleIsRunning(); }));
        EXPECT_EQ(output(*model, ConsoleEntryKind::standardOutput), c.standardOutput);
        EXPECT_EQ(output(*model, ConsoleEntryKind::standardError), c.standardError);
        EXPECT_EQ(model->consoleStatusText(), c.status);
        EXPECT_TRUE(phone->shellCommands().contains(c.line));
    }
}

// Stopping a running command ends it on the device too: no shell of it is left there.
TEST_F(Console, StopEndsTheRunningCommandOnThePhone)
{
    const QString line = QStringLiteral("echo started; sleep 4711; echo finished");
    const auto sleeping = [&] {
        int count = 0;
        for (const MarkedProcess &p : processesMarkedWith(phone->stateFolder().toUtf8()))
            count += p.commandLine == QStringLiteral("sleep 4711") ? 1 : 0;
        return count;
    };
    model->consoleInput.set(line);
    model->runConsoleCommand();
    ASSERT_TRUE(eventually([&] {
        return output(*model, ConsoleEntryKind::standardOutput).contains(QStringLiteral("started")) && sleeping() == 1;
    })) << "the command runs on the phone";

    model->stopConsoleCommand();
    ASSERT_TRUE(eventually([&] { return !model->consoleIsRunning(); }, 20000)) << "the console sees the command end";
    EXPECT_NE(model->consoleStatusText(), QStringLiteral("Завершено успешно"));
    ASSERT_TRUE(eventually([&] { return sleeping() == 0; }, 20000)) << "the device's shell ends";
    EXPECT_FALSE(output(*model, ConsoleEntryKind::standardOutput).contains(QStringLiteral("finished")));

    // The console runs the next command as usual.
    model->consoleInput.set(QStringLiteral("echo again"));
    model->runConsoleCommand();
    ASSERT_TRUE(eventually([&] { return !model->consoleIsRunning(); }));
    EXPECT_TRUE(output(*model, ConsoleEntryKind::standardOutput).endsWith(QStringLiteral("again\n")));
}

} // namespace
