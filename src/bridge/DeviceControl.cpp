// Small fixed commands: the adb server, network links, screen, keys and app start/stop.
#include "ADBService.h"
#include "PackageName.h"

#include <QRegularExpression>

namespace {

CommandResult refusal(const QString &message)
{
    return CommandResult{-1, QString(), message};
}

QStringList splitLines(const QString &text)
{
    static const QRegularExpression breaks(QStringLiteral("\\r\\n|[\\n\\r\\x0B\\x0C\\x{85}\\x{2028}\\x{2029}]"));
    return text.split(breaks, Qt::SkipEmptyParts);
}

QStringList splitWords(const QString &line)
{
    return line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

bool isIPv4(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (const QString &p : parts) {
        if (p.isEmpty() || p.size() > 3)
            return false;
        for (QChar c : p)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        if (p.toInt() > 255)
            return false;
    }
    return true;
}

} // namespace

bool ADBService::isValidScreenSize(const QString &size)
{
    static const QRegularExpression pattern(QStringLiteral("^[0-9]{1,5}x[0-9]{1,5}$"));
    return pattern.match(size).hasMatch();
}

bool ADBService::isValidKeyCode(const QString &keyCode)
{
    // A number or a key name, with or without its prefix ("KEYCODE_HOME", "HOME"): the device
    // takes all of them, and none can carry anything the device shell reads as syntax. Key
    // names are upper case; a lower-case one names no key.
    static const QRegularExpression pattern(QStringLiteral("^[A-Z0-9_]{1,64}$"));
    return pattern.match(keyCode).hasMatch();
}

bool ADBService::isValidNetworkAddress(const QString &address)
{
    // host[:port]; the host is a name or an IPv4 address (mDNS service names carry "_").
    static const QRegularExpression pattern(
        QStringLiteral("^[A-Za-z0-9_]([A-Za-z0-9_.-]{0,252})(:([0-9]{1,5}))?$"));
    const auto match = pattern.match(address);
    if (!match.hasMatch())
        return false;
    return match.captured(3).isEmpty() || (match.captured(3).toInt() >= 1 && match.captured(3).toInt() <= 65535);
}

bool ADBService::connectionEstablished(const CommandResult &result)
{
    if (!result.succeeded())
        return false;
    const QString text = result.combinedOutput();
    return text.contains(QStringLiteral("connected to"));
}

std::optional<QString> ADBService::parseDeviceIPAddress(const QString &ipRouteOutput)
{
    std::optional<QString> first;
    for (const QString &line : splitLines(ipRouteOutput)) {
        const QStringList words = splitWords(line);
        const qsizetype src = words.indexOf(QStringLiteral("src"));
        if (src < 0 || src + 1 >= words.size())
            continue;
        const QString &address = words.at(src + 1);
        if (!isIPv4(address))
            continue;
        // The Wi-Fi interface decides when there is one; mobile data or a VPN may come first.
        const qsizetype dev = words.indexOf(QStringLiteral("dev"));
        if (dev >= 0 && dev + 1 < words.size() && words.at(dev + 1).startsWith(QStringLiteral("wlan")))
            return address;
        if (!first)
            first = address;
    }
    return first;
}

std::optional<qint64> ADBService::parseScreenTimeout(const QString &output)
{
    const QString text = output.trimmed();
    static const QRegularExpression pattern(QStringLiteral("^[+-]?[0-9]+$"));
    if (!pattern.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

QCoro::Task<std::optional<QString>> ADBService::version() const
{
    const CommandResult result = co_await run({QStringLiteral("version")});
    if (!result.succeeded())
        co_return std::nullopt;
    const QStringList lines = splitLines(result.stdOut);
    if (lines.isEmpty())
        co_return std::nullopt;
    QString line = lines.first();
    auto blank = [](QChar c) { return c == QLatin1Char('\t') || c.category() == QChar::Separator_Space; };
    while (!line.isEmpty() && blank(line.front()))
        line.remove(0, 1);
    while (!line.isEmpty() && blank(line.back()))
        line.chop(1);
    co_return line;
}

QCoro::Task<CommandResult> ADBService::restartServer() const
{
    const ADBService self = *this; // this value may be gone after the first wait
    co_await self.run({QStringLiteral("kill-server")});
    co_return co_await self.run({QStringLiteral("start-server")});
}

QCoro::Task<CommandResult> ADBService::connect(QString address) const
{
    if (!isValidNetworkAddress(address))
        co_return refusal(QStringLiteral("Неверный адрес «%1»: нужен адрес вида хост или хост:порт").arg(address));
    co_return co_await run({QStringLiteral("connect"), address});
}

QCoro::Task<CommandResult> ADBService::disconnect(QString address) const
{
    // A bare "disconnect" would drop every network device.
    if (!isValidNetworkAddress(address))
        co_return refusal(QStringLiteral("Неверный адрес «%1»: нужен адрес вида хост или хост:порт").arg(address));
    co_return co_await run({QStringLiteral("disconnect"), address});
}

QCoro::Task<CommandResult> ADBService::pair(QString address, QString code) const
{
    if (!isValidNetworkAddress(address))
        co_return refusal(QStringLiteral("Неверный адрес «%1»: нужен адрес вида хост:порт").arg(address));
    co_return co_await run({QStringLiteral("pair"), address, code});
}

QCoro::Task<CommandResult> ADBService::enableWirelessMode(QString serial, int port) const
{
    co_return co_await run({QStringLiteral("tcpip"), QString::number(port)}, serial);
}

QCoro::Task<std::optional<QString>> ADBService::deviceIPAddress(QString serial) const
{
    const CommandResult result = co_await run({QStringLiteral("shell"), QStringLiteral("ip route")}, serial);
    if (!result.succeeded())
        co_return std::nullopt;
    co_return parseDeviceIPAddress(result.stdOut);
}

QCoro::Task<CommandResult> ADBService::setScreenSize(QString size, QString serial) const
{
    if (!isValidScreenSize(size))
        co_return refusal(QStringLiteral("Неверное разрешение «%1»: нужно ширина x высота, например 1080x2400").arg(size));
    co_return co_await run({QStringLiteral("shell"), QStringLiteral("wm"), QStringLiteral("size"), size}, serial);
}

QCoro::Task<CommandResult> ADBService::resetScreenSize(QString serial) const
{
    co_return co_await run({QStringLiteral("shell"), QStringLiteral("wm"), QStringLiteral("size"),
                            QStringLiteral("reset")},
                           serial);
}

QCoro::Task<CommandResult> ADBService::setScreenDensity(int density, QString serial) const
{
    co_return co_await run({QStringLiteral("shell"), QStringLiteral("wm"), QStringLiteral("density"),
                            QString::number(density)},
                           serial);
}

QCoro::Task<CommandResult> ADBService::resetScreenDensity(QString serial) const
{
    co_return co_await run({QStringLiteral("shell"), QStringLiteral("wm"), QStringLiteral("density"),
                            QStringLiteral("reset")},
                           serial);
}

QCoro::Task<CommandResult> ADBService::setScreenTimeout(qint64 milliseconds, QString serial) const
{
    co_return co_await run({QStringLiteral("shell"), QStringLiteral("settings"), QStringLiteral("put"),
                            QStringLiteral("system"), QStringLiteral("screen_off_timeout"),
                            QString::number(milliseconds)},
                           serial);
}

QCoro::Task<std::optional<qint64>> ADBService::readScreenTimeout(QString serial) const
{
    const CommandResult result = co_await run({QStringLiteral("shell"), QStringLiteral("settings"),
                                               QStringLiteral("get"), QStringLiteral("system"),
                                               QStringLiteral("screen_off_timeout")},
                                              serial);
    if (!result.succeeded())
        co_return std::nullopt;
    co_return parseScreenTimeout(result.stdOut);
}

QCoro::Task<CommandResult> ADBService::sendKeyEvent(QString keyCode, QString serial) const
{
    if (!isValidKeyCode(keyCode))
        co_return refusal(
            QStringLiteral("Неверный код клавиши «%1»: нужно число или имя из заглавных латинских букв, цифр и «_»").arg(keyCode));
    co_return co_await run({QStringLiteral("shell"), QStringLiteral("input"), QStringLiteral("keyevent"), keyCode},
                           serial);
}

QCoro::Task<CommandResult> ADBService::launchPackage(QString packageName, QString serial) const
{
    if (!isValidPackageName(packageName))
        co_return invalidPackageNameResult(packageName);
    co_return co_await run({QStringLiteral("shell"), QStringLiteral("monkey"), QStringLiteral("-p"), packageName,
                            QStringLiteral("-c"), QStringLiteral("android.intent.category.LAUNCHER"),
                            QStringLiteral("1")},
                           serial);
}

QCoro::Task<CommandResult> ADBService::forceStopPackage(QString packageName, QString serial) const
{
    if (!isValidPackageName(packageName))
        co_return invalidPackageNameResult(packageName);
    co_return co_await run({QStringLiteral("shell"), QStringLiteral("am"), QStringLiteral("force-stop"), packageName},
                           serial);
}
