// Device folder listing and the file operations of the device pane.
#include "ADBService.h"
#include "NameCollation.h"
#include "RawProcess.h"
#include "ShellQuote.h"

#include <QCoro/QCoroFuture>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace {

// Writes kind, size, time and name of every entry, each followed by a NUL byte.
const char *const kListingScript =
    " || exit 1\n"
    "for entry in ./* ./.[!.]* ./..?*; do\n"
    "    if [ ! -e \"$entry\" ] && [ ! -L \"$entry\" ]; then continue; fi\n"
    "    if [ -d \"$entry\" ]; then kind=d; else kind=f; fi\n"
    "    size=$(stat -c %s -- \"$entry\" 2>/dev/null || echo 0)\n"
    "    modified=$(stat -c %Y -- \"$entry\" 2>/dev/null || echo 0)\n"
    "    name=${entry#./}\n"
    "    printf '%s\\000%s\\000%s\\000%s\\000' \"$kind\" \"$size\" \"$modified\" \"$name\"\n"
    "done";

constexpr double kLatestTime = 4102444800.0; // 2100-01-01 00:00:00 UTC

std::optional<qint64> strictInt64(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    qsizetype i = (text.at(0) == QLatin1Char('+') || text.at(0) == QLatin1Char('-')) ? 1 : 0;
    if (i == text.size())
        return std::nullopt;
    for (qsizetype k = i; k < text.size(); ++k)
        if (text.at(k) < QLatin1Char('0') || text.at(k) > QLatin1Char('9'))
            return std::nullopt;
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

// An existence check in the same shell line as the change, so nothing is replaced.
QString refuseIfExists(const QString &quotedTarget)
{
    return QStringLiteral("if [ -e %1 ] || [ -L %1 ]; then exit %2; fi; ")
        .arg(quotedTarget)
        .arg(ADBService::kTargetExistsExitCode);
}

CommandResult explainExisting(CommandResult result, const QString &target)
{
    if (result.exitCode == ADBService::kTargetExistsExitCode)
        result.stdErr = QStringLiteral("На устройстве уже есть «%1»; ничего не заменено").arg(target);
    return result;
}

} // namespace

QString ADBService::deviceListingCommand(const QString &path)
{
    // Not every device shell's cd takes "--": a path that cannot begin with "-" needs none.
    const QString anchored = path.startsWith(QLatin1Char('/')) ? path : QStringLiteral("./") + path;
    return QStringLiteral("cd ") + shellQuote(anchored) + QString::fromUtf8(kListingScript);
}

QList<DeviceFileItem> ADBService::parseDeviceDirectoryListing(const QString &output, const QString &basePath)
{
    return parseDeviceDirectoryListing(output.toUtf8(), basePath);
}

QList<DeviceFileItem> ADBService::parseDeviceDirectoryListing(const QByteArray &output, const QString &basePath)
{
    // Split as bytes and decode record by record: a name that is not UTF-8 spoils only itself.
    const QList<QByteArray> pieces = output.split('\0');
    QList<DeviceFileItem> items;
    if (pieces.size() < 4)
        return items;

    QString base = basePath;
    while (base.startsWith(QLatin1Char('/')))
        base.remove(0, 1);
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    const QString prefix = base.isEmpty() ? QStringLiteral("/") : QLatin1Char('/') + base + QLatin1Char('/');

    for (qsizetype i = 0; i + 4 <= pieces.size(); i += 4) {
        const QByteArray &kind = pieces.at(i);
        const QByteArray &rawName = pieces.at(i + 3);
        if (kind != "d" && kind != "f")
            continue;
        if (rawName.isEmpty() || rawName == "." || rawName == ".." || rawName.contains('/'))
            continue;
        DeviceFileItem item;
        if (const std::optional<QString> name = decodeUtf8Strict(rawName)) {
            item.name = *name;
            item.path = prefix + item.name;
        } else {
            item.name = QString::fromUtf8(rawName); // replacement characters where the bytes fail
            item.undecodableName = true;
            item.path = prefix + item.name + QChar(0) + QString::fromLatin1(rawName.toHex());
        }
        item.isDirectory = kind == "d";
        if (!item.isDirectory)
            item.size = strictInt64(QString::fromLatin1(pieces.at(i + 1)));
        bool ok = false;
        const QString timeText = QString::fromLatin1(pieces.at(i + 2));
        const double seconds = timeText.trimmed() == timeText ? timeText.toDouble(&ok) : 0.0;
        if (ok && seconds > 0 && seconds <= kLatestTime)
            item.modifiedAt = QDateTime::fromMSecsSinceEpoch(qint64(seconds * 1000.0), Qt::UTC);
        items << item;
    }

    const std::vector<int> order = NameCollation::displayOrder(
        int(items.size()), [&](int i) { return items.at(i).isDirectory; }, [&](int i) { return items.at(i).name; });
    QList<DeviceFileItem> sorted;
    sorted.reserve(items.size());
    for (int i : order)
        sorted.append(std::move(items[i]));
    return sorted;
}

QCoro::Task<DeviceDirectoryListing> ADBService::listDeviceDirectory(QString path, QString serial) const
{
    QStringList argv;
    if (!serial.isEmpty())
        argv << QStringLiteral("-s") << serial;
    argv << QStringLiteral("shell") << deviceListingCommand(path);
    const QString adb = executableURL;
    // Read undecoded: the parser decodes name by name. Parsing stays off the main thread, as a
    // folder may hold thousands of entries.
    co_return co_await QtConcurrent::run(processThreadPool(), [adb, argv, path] {
        const RawCommandResult raw = runProcessRaw(adb, argv);
        DeviceDirectoryListing listing;
        if (!raw.startError.isEmpty()) {
            listing.result = CommandResult{-1, QString(), raw.startError};
            return listing;
        }
        listing.result.exitCode = raw.exitCode;
        listing.result.stdErr = QString::fromUtf8(raw.stdErr);
        listing.result.stdOut = QString::fromUtf8(raw.stdOut);
        if (listing.result.succeeded())
            listing.items = parseDeviceDirectoryListing(raw.stdOut, path);
        return listing;
    });
}

QCoro::Task<CommandResult> ADBService::pushLocalItem(QString source, QString remotePath, QString serial) const
{
    // adb push replaces silently: look at the device first.
    const ADBService self = *this; // this value may be gone after the first wait
    const CommandResult check = co_await self.run({QStringLiteral("shell"), refuseIfExists(shellQuote(remotePath)) +
                                                                           QStringLiteral("exit 0")},
                                             serial);
    if (!check.succeeded())
        co_return explainExisting(check, remotePath);
    co_return co_await self.run({QStringLiteral("push"), source, remotePath}, serial);
}

QCoro::Task<CommandResult> ADBService::createDeviceDirectory(QString path, QString serial) const
{
    co_return co_await run({QStringLiteral("shell"), QStringLiteral("mkdir -- ") + shellQuote(path)}, serial);
}

QCoro::Task<CommandResult> ADBService::moveDeviceItem(QString from, QString to, QString serial) const
{
    const QString target = shellQuote(to);
    const CommandResult result = co_await run(
        {QStringLiteral("shell"), refuseIfExists(target) + QStringLiteral("mv -- ") + shellQuote(from) +
                                      QLatin1Char(' ') + target},
        serial);
    co_return explainExisting(result, to);
}

QCoro::Task<CommandResult> ADBService::removeDeviceItem(QString path, QString serial) const
{
    co_return co_await run({QStringLiteral("shell"), QStringLiteral("rm -rf -- ") + shellQuote(path)}, serial);
}
