// APK export: the APK files of chosen packages pulled into a new dated folder.
#include "core/AppModel.h"
#include "core/FileNaming.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QSet>

#include <algorithm>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

// Creates one folder (never its parents); the reason on failure.
std::optional<QString> makeFolder(const QString &path)
{
    if (::mkdir(QFile::encodeName(path).constData(), 0777) == 0)
        return std::nullopt;
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

QCoro::Task<void> AppModel::exportSelectedPackages(QString folder)
{
    QStringList names = selectedPackageIDs().values();
    std::sort(names.begin(), names.end());
    co_await exportPackages(names, folder);
}

QCoro::Task<void> AppModel::exportPackages(QStringList packageNames, QString folder)
{
    if (!service || !selectedDeviceID())
        co_return;
    const QString serial = *selectedDeviceID();
    auto deviceStillThere = [this, serial] {
        const auto device = selectedDevice();
        return selectedDeviceID() == serial && device && device->isReady();
    };
    if (!deviceStillThere() || packageNames.isEmpty())
        co_return;
    QPointer<AppModel> self(this);
    const ADBService adb = *service;

    const QString name = QStringLiteral("Kestrel-Export-") + FileNaming::timestamp();
    const QString exportFolder = uniqueDirectory(folder, name);
    if (const auto why = makeFolder(exportFolder)) {
        const QString message = QStringLiteral("Не удалось создать папку выгрузки: ") + *why;
        packageExportErrorMessage.set(message);
        appendLog(message);
        co_return;
    }

    BusyLedger::Token busy = beginBusy(QStringLiteral("Подготовка выгрузки APK…"));
    packageExportErrorMessage.set(std::nullopt);
    int exportedPackages = 0;
    int apkFiles = 0;
    QStringList failures;
    const int total = int(packageNames.size());
    const QString deviceGone = QStringLiteral("Устройство стало недоступно");

    for (int i = 0; i < total; ++i) {
        const QString &package = packageNames.at(i);
        if (!deviceStillThere()) {
            failures << deviceGone;
            break;
        }
        statusText.set(QStringLiteral("Скачивание %1 из %2: %3").arg(i + 1).arg(total).arg(package));
        const PackageAPKPaths found = co_await adb.packageAPKPaths(package, serial);
        if (!self)
            co_return;
        appendResult(QStringLiteral("pm path ") + package, found.result);
        if (!found.result.succeeded() || found.paths.isEmpty()) {
            failures << package + QStringLiteral(": APK не найдены");
            continue;
        }
        const QString packageFolder =
            exportFolder + QLatin1Char('/') + FileNaming::safeFileName(package, QStringLiteral("package"));
        if (makeFolder(packageFolder)) {
            failures << package + QStringLiteral(": не удалось создать папку");
            continue;
        }
        QSet<QString> usedNames;
        int copied = 0;
        for (const QString &remote : found.paths) {
            if (!deviceStillThere()) {
                failures << deviceGone;
                break;
            }
            const QString fileName = FileNaming::uniqueFileName(
                FileNaming::safeFileName(remote.section(QLatin1Char('/'), -1), QStringLiteral("package.apk")), usedNames);
            const QString destination = packageFolder + QLatin1Char('/') + fileName;
            const CommandResult pulled = co_await adb.pullAPK(remote, destination, serial);
            if (!self)
                co_return;
            appendResult(QStringLiteral("adb pull ") + remote, pulled);
            const QFileInfo written(destination);
            if (pulled.succeeded() && written.isFile() && written.size() >= 1) {
                ++copied;
                ++apkFiles;
            } else {
                failures << package + QStringLiteral(": не скачан ") + fileName;
            }
        }
        if (copied == found.paths.size())
            ++exportedPackages;
    }

    busy.release();
    const QString where = QDir::toNativeSeparators(exportFolder);
    if (!failures.isEmpty()) {
        const QString summary = QStringLiteral("Скачано пакетов: %1 из %2").arg(exportedPackages).arg(total);
        statusText.set(summary);
        packageExportErrorMessage.set(failures.join(QLatin1Char('\n')));
        appendLog(QStringLiteral("Выгрузка APK завершена с ошибками: ") + QString::number(failures.size()));
        // What was copied stays in the folder.
        record(QStringLiteral("Выгрузка APK завершена с ошибками"), summary + QStringLiteral(" · ") + where, false);
    } else {
        statusText.set(QStringLiteral("Скачано пакетов: %1, APK-файлов: %2").arg(exportedPackages).arg(apkFiles));
        appendLog(QStringLiteral("APK сохранены: ") + exportFolder);
        record(QStringLiteral("Выгрузка APK завершена"), QStringLiteral("APK-файлов: %1 · %2").arg(apkFiles).arg(where), true);
    }
}

void AppModel::clearExportDeviceState()
{
    packageExportErrorMessage.set(std::nullopt);
}
