#include "ADBService.h"

#include "Resources.h"

#include <QCoro/QCoroFuture>
#include <QDir>
#include <QFileInfo>
#include <QtConcurrent/QtConcurrentRun>

namespace {

QStringList candidates(const QString &tool, const QStringList &first, const ToolSearchEnvironment &env)
{
    QStringList list = first;
    for (const QString &folder : env.fixedFolders)
        list << folder + QLatin1Char('/') + tool;
    if (!env.home.isEmpty())
        list << env.home + QStringLiteral("/Library/Android/sdk/platform-tools/") + tool;
    if (env.path) {
        for (const QString &entry : env.path->split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
            // A relative entry would make the current folder's files count as tools.
            if (!QDir::isAbsolutePath(entry))
                continue;
            list << entry + QLatin1Char('/') + tool;
        }
    }
    for (const QString &folder : env.lateFolders)
        list << folder + QLatin1Char('/') + tool;
    return list;
}

std::optional<QString> firstExecutable(const QStringList &list)
{
    for (const QString &candidate : list)
        if (isExecutableFile(candidate))
            return candidate;
    return std::nullopt;
}

} // namespace

ToolSearchEnvironment ToolSearchEnvironment::current()
{
    ToolSearchEnvironment env;
    const QString tools = Resources::path(QStringLiteral("platform-tools"));
    env.bundledPlatformTools = tools;
    env.fixedFolders = {QStringLiteral("/opt/homebrew/bin"), QStringLiteral("/usr/local/bin")};
    env.home = QDir::homePath();
    if (qEnvironmentVariableIsSet("PATH"))
        env.path = qEnvironmentVariable("PATH");
#ifndef Q_OS_MACOS
    // Android Studio's own SDK, then Debian's.
    env.lateFolders = {env.home + QStringLiteral("/Android/Sdk/platform-tools"),
                       QStringLiteral("/usr/lib/android-sdk/platform-tools")};
#endif
    return env;
}

bool isExecutableFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

std::optional<QString> ADBService::locateADB(const ToolSearchEnvironment &env)
{
    QStringList first;
    if (!env.bundledPlatformTools.isEmpty() && QFileInfo::exists(env.bundledPlatformTools + QStringLiteral("/adb")))
        first << env.bundledPlatformTools + QStringLiteral("/adb");
    return firstExecutable(candidates(QStringLiteral("adb"), first, env));
}

std::optional<QString> ADBService::locateFastboot(const std::optional<QString> &nextTo, const ToolSearchEnvironment &env)
{
    QStringList first;
    if (nextTo)
        first << QFileInfo(*nextTo).path() + QStringLiteral("/fastboot");
    return firstExecutable(candidates(QStringLiteral("fastboot"), first, env));
}

QCoro::Task<CommandResult> ADBService::run(QStringList arguments, QString serial, RunTimeout timeout) const
{
    QStringList argv;
    if (!serial.isEmpty())
        argv << QStringLiteral("-s") << serial;
    argv += arguments;
    co_return co_await runProcessAsync(executableURL, argv, timeout);
}

QCoro::Task<CommandResult> runProcessAsync(QString executable, QStringList arguments, RunTimeout timeout)
{
    co_return co_await QtConcurrent::run(processThreadPool(), [executable, arguments, timeout] {
        return runProcess(executable, arguments, timeout);
    });
}
