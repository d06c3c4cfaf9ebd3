#include "FastbootService.h"

#include "ADBService.h"

#include <QRegularExpression>
#include <QSet>

namespace {

QStringList splitLines(const QString &text)
{
    static const QRegularExpression breaks(QStringLiteral("\\r\\n|[\\n\\r\\x0B\\x0C\\x{85}\\x{2028}\\x{2029}]"));
    return text.split(breaks, Qt::SkipEmptyParts);
}

bool isBlank(QChar c)
{
    return c == QLatin1Char('\t') || c.category() == QChar::Separator_Space;
}

QString trimBlanks(QString text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text.remove(0, 1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

QStringList serialSelection(const std::optional<QString> &serial)
{
    if (serial && !serial->isEmpty())
        return {QStringLiteral("-s"), *serial};
    return {};
}

} // namespace

QList<FastbootDevice> ADBService::parseFastbootDevices(const QString &output)
{
    // Only a known mode makes a device line; error texts and "no permissions" lines never do.
    static const QSet<QString> modes{QStringLiteral("fastboot"), QStringLiteral("fastbootd"),
                                     QStringLiteral("bootloader")};
    QList<FastbootDevice> devices;
    for (const QString &line : splitLines(output)) {
        if (line.contains(QStringLiteral("no permissions")))
            continue;
        const QStringList fields = line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        if (fields.size() < 2 || !modes.contains(fields.at(1)))
            continue;
        devices << FastbootDevice{fields.at(0), fields.at(1)};
    }
    return devices;
}

bool ADBService::fastbootReportsNoPermissions(const QString &output)
{
    return output.contains(QStringLiteral("no permissions"));
}

QList<FastbootVariable> ADBService::parseFastbootVariables(const QString &output)
{
    // Variables that carry a partition or slot between their name and value.
    static const QSet<QString> perPartition{
        QStringLiteral("partition-size"), QStringLiteral("partition-type"), QStringLiteral("has-slot"),
        QStringLiteral("is-logical"),     QStringLiteral("slot-successful"), QStringLiteral("slot-unbootable"),
        QStringLiteral("slot-retry-count")};
    static const QString prefix = QStringLiteral("(bootloader)");

    QList<FastbootVariable> pairs;
    for (const QString &rawLine : splitLines(output)) {
        QString line = trimBlanks(rawLine);
        if (!line.startsWith(prefix))
            continue;
        line = trimBlanks(line.mid(prefix.size()));
        qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon < 0)
            continue;
        if (perPartition.contains(trimBlanks(line.left(colon)))) {
            const qsizetype next = line.indexOf(QLatin1Char(':'), colon + 1);
            if (next > colon + 1)
                colon = next;
        }
        const QString key = trimBlanks(line.left(colon));
        const QString value = trimBlanks(line.mid(colon + 1));
        if (key.isEmpty() || value.isEmpty() || key == QStringLiteral("all"))
            continue;
        pairs << FastbootVariable{key, value};
    }
    return pairs;
}

QCoro::Task<CommandResult> FastbootService::run(QStringList arguments, RunTimeout timeout) const
{
    co_return co_await runProcessAsync(executableURL, arguments, timeout);
}

QCoro::Task<FastbootDeviceList> FastbootService::devices() const
{
    FastbootDeviceList list;
    list.result = co_await run({QStringLiteral("devices")}, devicesTimeout);
    list.devices = ADBService::parseFastbootDevices(list.result.combinedOutput());
    co_return list;
}

QCoro::Task<FastbootVariableList> FastbootService::variables(std::optional<QString> serial) const
{
    FastbootVariableList list;
    QStringList args = serialSelection(serial);
    args << QStringLiteral("getvar") << QStringLiteral("all");
    list.result = co_await run(args, variablesTimeout);
    list.pairs = ADBService::parseFastbootVariables(list.result.combinedOutput());
    co_return list;
}

QCoro::Task<CommandResult> FastbootService::reboot(std::optional<QString> target, std::optional<QString> serial) const
{
    QStringList args = serialSelection(serial);
    args << QStringLiteral("reboot");
    if (target)
        args << *target;
    co_return co_await run(args, rebootTimeout);
}
