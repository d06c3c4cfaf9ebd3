#include "DeviceSnapshot.h"

#include "ADBService.h"
#include "DeviceText.h"
#include "ProcessExecution.h"
#include "TextLines.h"

#include <QCoro/QCoroFuture>
#include <QtConcurrent/QtConcurrentRun>

using namespace DeviceText;

namespace {

enum class Section { prop, battery, storage, memory, uptime, screen, root, other };

Section sectionNamed(QStringView name)
{
    if (name == u"prop") return Section::prop;
    if (name == u"battery") return Section::battery;
    if (name == u"storage") return Section::storage;
    if (name == u"memory") return Section::memory;
    if (name == u"uptime") return Section::uptime;
    if (name == u"screen") return Section::screen;
    if (name == u"root") return Section::root;
    return Section::other;
}

// Kilobytes as bytes; a count that does not fit in 64 bits counts as not reported.
std::optional<qint64> kilobytes(qint64 value)
{
    qint64 bytes = 0;
    if (__builtin_mul_overflow(value, qint64(1024), &bytes))
        return std::nullopt;
    return bytes;
}

std::optional<QString> *textField(DeviceSnapshot &s, QStringView key)
{
    if (key == u"ro.product.model") return &s.model;
    if (key == u"ro.product.manufacturer") return &s.manufacturer;
    if (key == u"ro.product.brand") return &s.brand;
    if (key == u"ro.product.device") return &s.codename;
    if (key == u"ro.build.version.release") return &s.androidRelease;
    if (key == u"ro.build.version.security_patch") return &s.securityPatch;
    if (key == u"ro.build.display.id") return &s.buildID;
    if (key == u"ro.build.type") return &s.buildType;
    if (key == u"ro.product.cpu.abi") return &s.abi;
    return nullptr;
}

void readProp(DeviceSnapshot &s, QStringView line)
{
    if (!line.startsWith(u"prop "))
        return;
    const QStringView rest = line.sliced(5);
    const qsizetype eq = rest.indexOf(QLatin1Char('='));
    if (eq < 0)
        return;
    const QStringView key = rest.first(eq);
    const QStringView value = trimmed(rest.sliced(eq + 1));
    if (value.isEmpty())
        return;
    if (key == u"ro.build.version.sdk")
        s.sdkLevel = readInteger(value);
    else if (auto *field = textField(s, key))
        *field = value.toString();
}

void readBattery(DeviceSnapshot &s, QStringView line)
{
    // Split at the first ':' after a non-empty key; leading colons are skipped.
    qsizetype start = 0;
    while (start < line.size() && line[start] == QLatin1Char(':'))
        ++start;
    const qsizetype colon = line.indexOf(QLatin1Char(':'), start);
    if (colon < 0 || colon + 1 >= line.size())
        return;
    const QStringView key = trimmed(line.sliced(start, colon - start));
    const QStringView value = trimmed(line.sliced(colon + 1));

    if (key == u"level")
        s.batteryLevel = readInteger(value);
    else if (key == u"status")
        s.batteryStatusCode = readInteger(value);
    else if (key == u"health")
        s.batteryHealthCode = readInteger(value);
    else if (key == u"temperature") {
        const auto v = readNumber(value);
        s.batteryTemperature = v ? std::optional<double>(*v / 10.0) : std::nullopt;
    } else if (key == u"voltage") {
        const auto v = readNumber(value);
        s.batteryVoltage = v ? std::optional<double>(*v / 1000.0) : std::nullopt;
    } else if (key == u"AC powered" || key == u"USB powered" || key == u"Wireless powered") {
        if (value == u"true")
            s.isCharging = true;
    }
}

void readStorage(DeviceSnapshot &s, QStringView line)
{
    const QList<QStringView> f = fields(line);
    if (f.size() < 4 || f[0] == u"Filesystem")
        return;
    const auto total = readInteger(f[1]), used = readInteger(f[2]), free = readInteger(f[3]);
    if (!total || !used || !free)
        return;
    s.storageTotalBytes = kilobytes(*total);
    s.storageUsedBytes = kilobytes(*used);
    s.storageFreeBytes = kilobytes(*free);
}

void readMemory(DeviceSnapshot &s, QStringView line)
{
    const QList<QStringView> f = fields(line);
    if (f.size() < 2)
        return;
    const auto value = readInteger(f[1]);
    if (!value)
        return;
    if (f[0] == u"MemTotal:")
        s.ramTotalBytes = kilobytes(*value);
    else if (f[0] == u"MemAvailable:")
        s.ramAvailableBytes = kilobytes(*value);
}

void readUptime(DeviceSnapshot &s, QStringView line)
{
    const QList<QStringView> f = fields(line);
    if (f.isEmpty())
        return;
    s.uptime = readNumber(f[0]);
}

void readScreen(DeviceSnapshot &s, QStringView line)
{
    auto after = [&](QStringView prefix) -> std::optional<QStringView> {
        if (!line.startsWith(prefix))
            return std::nullopt;
        return trimmed(line.sliced(prefix.size()));
    };
    if (auto v = after(u"Physical size:"))
        s.screenSize = v->toString();
    else if (auto v = after(u"Override size:"))
        s.screenOverrideSize = v->toString();
    else if (auto v = after(u"Physical density:"))
        s.screenDensity = readInteger(*v);
    else if (auto v = after(u"Override density:"))
        s.screenOverrideDensity = readInteger(*v);
}

void readLine(DeviceSnapshot &s, Section section, QStringView line)
{
    switch (section) {
    case Section::prop: readProp(s, line); break;
    case Section::battery: readBattery(s, line); break;
    case Section::storage: readStorage(s, line); break;
    case Section::memory: readMemory(s, line); break;
    case Section::uptime: readUptime(s, line); break;
    case Section::screen: readScreen(s, line); break;
    case Section::root:
        if (line.startsWith(QLatin1Char('/')))
            s.suPath = line.toString();
        break;
    case Section::other: break;
    }
}

} // namespace

const QString &DeviceSnapshot::probeScript()
{
    static const QString script = QStringLiteral(
        "for key in ro.product.model ro.product.manufacturer ro.product.brand ro.product.device "
        "ro.build.version.release ro.build.version.sdk ro.build.version.security_patch ro.build.display.id "
        "ro.build.type ro.product.cpu.abi; do\n"
        "  echo \"prop $key=$(getprop $key)\"\n"
        "done\n"
        "echo '##battery'; dumpsys battery 2>/dev/null\n"
        "echo '##storage'; df /data 2>/dev/null\n"
        "echo '##memory'; cat /proc/meminfo 2>/dev/null | head -n 3\n"
        "echo '##uptime'; cat /proc/uptime 2>/dev/null\n"
        "echo '##screen'; wm size 2>/dev/null; wm density 2>/dev/null\n"
        "echo '##root'; command -v su 2>/dev/null || echo ''");
    return script;
}

DeviceSnapshot DeviceSnapshot::parse(QStringView output, const QString &serial)
{
    DeviceSnapshot s;
    s.serial = serial;
    s.capturedAt = QDateTime::currentDateTime();

    Section section = Section::prop;
    forEachLine(output, [&](QStringView raw) {
        const QStringView line = trimmed(raw);
        if (line.startsWith(u"##"))
            section = sectionNamed(line.sliced(2));
        else if (!line.isEmpty())
            readLine(s, section, line);
    });
    return s;
}

QCoro::Task<DeviceSnapshotLoad> ADBService::deviceSnapshot(QString serial) const
{
    const CommandResult result = co_await run({QStringLiteral("shell"), DeviceSnapshot::probeScript()}, serial);
    if (!result.succeeded())
        co_return DeviceSnapshotLoad{DeviceSnapshot{}, result};
    // A device can print a lot; the parse stays off the main thread.
    DeviceSnapshot snapshot = co_await QtConcurrent::run(processThreadPool(), [out = result.stdOut, serial] {
        return DeviceSnapshot::parse(out, serial);
    });
    co_return DeviceSnapshotLoad{std::move(snapshot), result};
}
