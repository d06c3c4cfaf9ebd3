#include "ADBService.h"
#include "PackageName.h"
#include "PackageOutputLines.h"
#include "TextLines.h"

#include <QCoro/QCoroFuture>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <iterator>

namespace {

const QString kPackagePrefix = QStringLiteral("package:");

QStringList sortedByCodePoint(const QSet<QString> &set)
{
    QStringList list(set.begin(), set.end());
    std::sort(list.begin(), list.end());
    return list;
}

// Splits at white space, dropping empty pieces.
template <typename F>
void forEachToken(QStringView line, F &&visit)
{
    qsizetype start = -1;
    for (qsizetype i = 0; i <= line.size(); ++i) {
        const bool space = i == line.size() || line[i].isSpace();
        if (space) {
            if (start >= 0)
                visit(line.mid(start, i - start));
            start = -1;
        } else if (start < 0) {
            start = i;
        }
    }
}

QStringView stripComponentPunctuation(QStringView s)
{
    auto strip = [](QChar c) { return c == u':' || c == u',' || c == u'{' || c == u'}'; };
    qsizetype b = 0, e = s.size();
    while (b < e && strip(s[b]))
        ++b;
    while (e > b && strip(s[e - 1]))
        --e;
    return s.mid(b, e - b);
}

} // namespace

QSet<QString> ADBService::parsePackageNames(const QString &output)
{
    QSet<QString> names;
    forEachOutputLine(output, [&](QStringView raw) {
        const QStringView line = trimmedLine(raw);
        if (!line.startsWith(kPackagePrefix))
            return;
        QStringView rest = line.mid(kPackagePrefix.size());
        const qsizetype eq = rest.lastIndexOf(u'=');
        if (eq >= 0)
            rest = rest.mid(eq + 1);
        if (!rest.isEmpty())
            names.insert(rest.toString());
    });
    return names;
}

QStringList ADBService::parsePackageAPKPaths(const QString &output)
{
    QStringList paths;
    QSet<QString> seen;
    forEachOutputLine(output, [&](QStringView raw) {
        const QStringView line = trimmedLine(raw);
        if (!line.startsWith(kPackagePrefix))
            return;
        const QString path = line.mid(kPackagePrefix.size()).trimmed().toString();
        if (!path.startsWith(u'/') || !path.endsWith(QStringLiteral(".apk"), Qt::CaseInsensitive))
            return;
        if (seen.contains(path))
            return;
        seen.insert(path);
        paths << path;
    });
    return paths;
}

PackageDetails ADBService::parsePackageDetails(const QString &output, const QString &packageName)
{
    enum class Section { none, activity, receiver, service, provider };
    Section section = Section::none;
    bool declaredMode = false;
    bool runtimeMode = false;
    PackageDetails details;
    details.packageName = packageName;
    QSet<QString> activities, receivers, services;
    const QString component = packageName + QLatin1Char('/');

    struct KeyField {
        QLatin1StringView key;
        std::optional<QString> PackageDetails::*field;
    };
    const KeyField keys[] = {
        {QLatin1StringView("versionName"), &PackageDetails::versionName},
        {QLatin1StringView("versionCode"), &PackageDetails::versionCode},
        {QLatin1StringView("targetSdk"), &PackageDetails::targetSDK},
        {QLatin1StringView("minSdk"), &PackageDetails::minSDK},
        {QLatin1StringView("installerPackageName"), &PackageDetails::installer},
        {QLatin1StringView("dataDir"), &PackageDetails::dataDirectory},
        {QLatin1StringView("primaryCpuAbi"), &PackageDetails::primaryCPUABI},
    };
    bool seen[std::size(keys)] = {};

    // The same split as forEachOutputLine, with the faster scan: a large application's
    // dump runs to hundreds of kilobytes.
    forEachLine(output, [&](QStringView raw) {
        const QStringView line = trimmedBlanks(raw);
        if (line.isEmpty())
            return;

        // Headings end with ":", package lines start with "P" and components hold a "/":
        // testing one character first keeps the common line cheap.
        const bool endsWithColon = line.back() == u':';
        if (endsWithColon && line.endsWith(QLatin1StringView("Resolver Table:"))) {
            const QString lower = line.toString().toLower();
            if (lower.contains(QLatin1StringView("activity")))
                section = Section::activity;
            else if (lower.contains(QLatin1StringView("receiver")))
                section = Section::receiver;
            else if (lower.contains(QLatin1StringView("service")))
                section = Section::service;
            else if (lower.contains(QLatin1StringView("provider")))
                section = Section::provider;
            else
                section = Section::none;
            return;
        }

        if (line.front() == u'P'
            && (line.startsWith(QLatin1StringView("Packages:")) || line.startsWith(QLatin1StringView("Package [")))) {
            section = Section::none;
        } else if (section != Section::none && line.contains(u'/') && line.contains(component)) {
            QSet<QString> *target = section == Section::activity ? &activities
                : section == Section::receiver                 ? &receivers
                : section == Section::service                  ? &services
                                                               : nullptr;
            forEachToken(line, [&](QStringView token) {
                if (!token.startsWith(component))
                    return;
                const QString cleaned = token.toString().remove(component);
                const QStringView name = stripComponentPunctuation(cleaned);
                if (!name.isEmpty() && target)
                    target->insert(name.toString());
            });
            return;
        }

        if (endsWithColon && line == QLatin1StringView("declared permissions:")) {
            declaredMode = true;
            runtimeMode = false;
            return;
        }
        if (endsWithColon && line == QLatin1StringView("runtime permissions:")) {
            runtimeMode = true;
            declaredMode = false;
            return;
        }
        if (endsWithColon && line.endsWith(QLatin1StringView("permissions:"))) {
            declaredMode = runtimeMode = false;
            return;
        }
        if (runtimeMode) {
            const qsizetype at = line.indexOf(QLatin1StringView(": granted="));
            if (at >= 0) {
                ++details.runtimePermissionsTotal;
                if (line.mid(at + 10).startsWith(QLatin1StringView("true")))
                    ++details.runtimePermissionsGranted;
                return;
            }
        }
        if (declaredMode && line.contains(u':')
            && (line.startsWith(QLatin1StringView("android.")) || line.startsWith(packageName))) {
            details.declaredPermissions << line.left(line.indexOf(u':')).toString();
            return;
        }

        // Only "key=value" tokens matter below; most lines have none.
        if (!line.contains(u'=')) {
            declaredMode = runtimeMode = false;
            return;
        }
        forEachToken(line, [&](QStringView token) {
            const qsizetype eq = token.indexOf(u'=');
            if (eq < 1 || eq == token.size() - 1)
                return;
            const QStringView key = token.left(eq);
            for (size_t i = 0; i < std::size(keys); ++i) {
                if (key == keys[i].key) {
                    // The framework writes "null" for a value it does not have ("primaryCpuAbi=null"
                    // for an application without native code): the fact is absent, and as the
                    // first occurrence it still wins over the older package's facts further down.
                    if (!seen[i]) {
                        seen[i] = true;
                        const QStringView value = token.mid(eq + 1);
                        if (value != QLatin1StringView("null"))
                            details.*(keys[i].field) = value.toString();
                    }
                    break;
                }
            }
        });
        static const QString firstInstall = QStringLiteral("firstInstallTime=");
        static const QString lastUpdate = QStringLiteral("lastUpdateTime=");
        if (line.startsWith(firstInstall) && !details.firstInstallTime)
            details.firstInstallTime = line.mid(firstInstall.size()).toString();
        if (line.startsWith(lastUpdate) && !details.lastUpdateTime)
            details.lastUpdateTime = line.mid(lastUpdate.size()).toString();
        declaredMode = runtimeMode = false;
    });

    details.services = sortedByCodePoint(services);
    details.receivers = sortedByCodePoint(receivers);
    details.activities = sortedByCodePoint(activities);
    return details;
}

QCoro::Task<PackageStates> ADBService::packageStates(QString serial) const
{
    const ADBService self = *this; // the caller's value may be gone once we resume
    auto disabledRun = self.run({QStringLiteral("shell"), QStringLiteral("pm"), QStringLiteral("list"),
                                 QStringLiteral("packages"), QStringLiteral("-d"), QStringLiteral("--user"),
                                 QStringLiteral("0")},
                                serial);
    auto knownRun = self.run({QStringLiteral("shell"), QStringLiteral("pm"), QStringLiteral("list"),
                              QStringLiteral("packages"), QStringLiteral("-u"), QStringLiteral("--user"),
                              QStringLiteral("0")},
                             serial);
    const CommandResult disabled = co_await std::move(disabledRun);
    const CommandResult known = co_await std::move(knownRun);
    co_return PackageStates{parsePackageNames(disabled.stdOut), parsePackageNames(known.stdOut),
                            disabled.succeeded() ? known : disabled};
}

QCoro::Task<PackageAPKPaths> ADBService::packageAPKPaths(QString packageName, QString serial) const
{
    if (!isValidPackageName(packageName))
        co_return PackageAPKPaths{{}, invalidPackageNameResult(packageName)};
    const ADBService self = *this;
    const CommandResult r = co_await self.run(
        {QStringLiteral("shell"), QStringLiteral("pm"), QStringLiteral("path"), packageName}, serial);
    co_return PackageAPKPaths{r.succeeded() ? parsePackageAPKPaths(r.stdOut) : QStringList(), r};
}

QCoro::Task<PackageDetailsAnswer> ADBService::packageDetails(QString packageName, QString serial) const
{
    PackageDetails details;
    details.packageName = packageName;
    if (!isValidPackageName(packageName))
        co_return PackageDetailsAnswer{details, invalidPackageNameResult(packageName)};
    const ADBService self = *this;
    const CommandResult dump = co_await self.run(
        {QStringLiteral("shell"), QStringLiteral("dumpsys"), QStringLiteral("package"), packageName}, serial);
    if (!dump.succeeded())
        co_return PackageDetailsAnswer{details, dump};
    // Hundreds of kilobytes for a large application: parsed off the calling thread.
    details = co_await QtConcurrent::run(processThreadPool(), [text = dump.stdOut, packageName] {
        return parsePackageDetails(text, packageName);
    });
    const PackageAPKPaths paths = co_await self.packageAPKPaths(packageName, serial);
    details.apkPaths = paths.paths;
    co_return PackageDetailsAnswer{details, dump};
}
