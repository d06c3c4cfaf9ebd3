// Installs of APK files and APKS archives, APK pulls and screenshots.
#include "ADBService.h"
#include "ArchiveUnpacker.h"
#include "RawProcess.h"

#include <QCoro/QCoroFuture>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QUuid>
#include <QtConcurrent/QtConcurrentRun>

namespace {

struct Unpacked {
    CommandResult result;
    QStringList apks;
};

// Removes a working folder whatever modes the archive gave its folders.
void removeTree(const QString &root)
{
    QStringList pending{root};
    while (!pending.isEmpty()) {
        const QString dir = pending.takeFirst();
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const auto infos = QDir(dir).entryInfoList(QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QFileInfo &info : infos)
            if (!info.isSymLink())
                pending << info.filePath();
    }
    QDir(root).removeRecursively();
}

QCoro::Task<CommandResult> unpackAndInstall(ADBService service, QString archive, QString folder, QString serial)
{
    const Unpacked unpacked = co_await QtConcurrent::run(processThreadPool(), [archive, folder] {
        Unpacked u;
        u.result = unpackArchive(archive, folder);
        if (u.result.succeeded())
            u.apks = collectApkFiles(folder);
        return u;
    });
    if (!unpacked.result.succeeded())
        co_return unpacked.result;
    if (unpacked.apks.isEmpty())
        co_return CommandResult{-1, QString(), QStringLiteral("В контейнере APKS не найдено APK-файлов")};

    QStringList args{QStringLiteral("install-multiple"), QStringLiteral("-r")};
    args += unpacked.apks;
    co_return co_await service.run(args, serial);
}

QCoro::Task<CommandResult> installApks(ADBService service, QString archive, QString serial)
{
    const QString folder = QDir::tempPath() + QStringLiteral("/kestrel-")
                           + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    if (!QDir().mkpath(folder))
        co_return CommandResult{-1, QString(), QStringLiteral("Не удалось создать временную папку %1").arg(folder)};

    const CommandResult result = co_await unpackAndInstall(service, archive, folder, serial);
    // Removed on every way out, off the main thread: an archive may unpack to gigabytes.
    co_await QtConcurrent::run(processThreadPool(), [folder] { removeTree(folder); });
    co_return result;
}

} // namespace

QCoro::Task<CommandResult> ADBService::install(QStringList urls, QString serial) const
{
    if (urls.isEmpty())
        co_return CommandResult{-1, QString(), QStringLiteral("Файлы не выбраны")};
    if (urls.size() == 1) {
        if (QFileInfo(urls.first()).suffix().toLower() == QStringLiteral("apks"))
            co_return co_await installApks(*this, urls.first(), serial);
        co_return co_await run({QStringLiteral("install"), QStringLiteral("-r"), urls.first()}, serial);
    }
    QStringList args{QStringLiteral("install-multiple"), QStringLiteral("-r")};
    args += urls;
    co_return co_await run(args, serial);
}

std::optional<QString> ADBService::installFailure(const CommandResult &result)
{
    const QString output = result.combinedOutput();
    static const QRegularExpression failure(QStringLiteral("Failure \\[([^\\]\\r\\n]*)"));
    const QRegularExpressionMatch match = failure.match(output);
    if (!match.hasMatch() && result.succeeded())
        return std::nullopt;
    if (match.hasMatch()) {
        // "INSTALL_FAILED_VERSION_DOWNGRADE: Downgrade detected: ..." names its reason first.
        static const QRegularExpression code(QStringLiteral("^[A-Z][A-Z0-9_]+(?=:|$)"));
        const QString text = match.captured(1).trimmed();
        const QRegularExpressionMatch named = code.match(text);
        if (named.hasMatch())
            return named.captured(0);
        if (!text.isEmpty())
            return text;
    }
    const QStringList lines = output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (auto it = lines.crbegin(); it != lines.crend(); ++it)
        if (!it->trimmed().isEmpty())
            return it->trimmed();
    return QStringLiteral("код завершения %1").arg(result.exitCode);
}

QCoro::Task<CommandResult> ADBService::pullAPK(QString remotePath, QString destination, QString serial) const
{
    co_return co_await run({QStringLiteral("pull"), remotePath, destination}, serial);
}

QCoro::Task<CommandResult> ADBService::pullDeviceItem(QString remotePath, QString destination, QString serial) const
{
    co_return co_await pullAPK(remotePath, destination, serial);
}

QCoro::Task<CommandResult> ADBService::captureScreenshot(QString serial, QString destination) const
{
    const QString adb = executableURL;
    co_return co_await QtConcurrent::run(processThreadPool(), [adb, serial, destination] {
        const RawCommandResult raw = runProcessRaw(
            adb, {QStringLiteral("-s"), serial, QStringLiteral("exec-out"), QStringLiteral("screencap"),
                  QStringLiteral("-p")});
        if (!raw.startError.isEmpty())
            return CommandResult{-1, QString(), raw.startError};
        const QString errText = decodeUtf8Strict(raw.stdErr).value_or(QString());
        if (raw.exitCode != 0)
            return CommandResult{raw.exitCode, QString(), errText};

        // A device that prints an error on standard output still exits 0: only an image counts.
        static const QByteArray pngSignature("\x89PNG\r\n\x1a\n", 8);
        if (!raw.stdOut.startsWith(pngSignature)) {
            QString detail = errText.trimmed();
            const QString outText = decodeUtf8Strict(raw.stdOut.left(4096)).value_or(QString()).trimmed();
            if (!outText.isEmpty())
                detail = detail.isEmpty() ? outText : outText + QLatin1Char('\n') + detail;
            QString message = QStringLiteral("Устройство не вернуло изображение PNG; снимок не сохранён");
            if (!detail.isEmpty())
                message += QStringLiteral(": ") + detail;
            return CommandResult{-1, QString(), message};
        }

        QSaveFile file(destination);
        if (!file.open(QIODevice::WriteOnly) || file.write(raw.stdOut) != raw.stdOut.size() || !file.commit())
            return CommandResult{-1, QString(), file.errorString()};
        return CommandResult{0, QStringLiteral("Снимок сохранён: ") + destination, errText};
    });
}
