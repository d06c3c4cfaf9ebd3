#include "ArchiveUnpacker.h"

#include "ADBService.h"
#include "ProcessExecution.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cctype>

namespace {

constexpr quint32 kEndOfDirectory = 0x06054b50;
constexpr quint32 kZip64Locator = 0x07064b50;
constexpr quint32 kZip64End = 0x06064b50;
constexpr quint32 kDirectoryEntry = 0x02014b50;
constexpr qint64 kMaxDirectoryBytes = 256LL * 1024 * 1024;
constexpr quint64 kMaxEntries = 200000;

quint16 u16(const char *p) { return quint16(quint8(p[0]) | quint8(p[1]) << 8); }
quint32 u32(const char *p) { return quint32(u16(p)) | quint32(u16(p + 2)) << 16; }
quint64 u64(const char *p) { return quint64(u32(p)) | quint64(u32(p + 4)) << 32; }

QString refused(const QString &reason)
{
    return QStringLiteral("Архив отклонён: %1. Ничего не установлено.").arg(reason);
}

// Names are judged with both separators, as some unpackers turn "\" into "/".
std::optional<QString> badName(const QByteArray &raw)
{
    const QString name = QString::fromUtf8(raw);
    if (raw.isEmpty() || raw.contains('\0'))
        return refused(QStringLiteral("пустое или повреждённое имя элемента"));
    if (raw.startsWith('/') || raw.startsWith('\\')
        || (raw.size() >= 2 && raw.at(1) == ':' && std::isalpha(quint8(raw.at(0)))))
        return refused(QStringLiteral("абсолютный путь «%1»").arg(name));
    QByteArray normalised = raw;
    normalised.replace('\\', '/');
    for (const QByteArray &part : normalised.split('/'))
        if (part == "..")
            return refused(QStringLiteral("путь с «..» «%1»").arg(name));
    return std::nullopt;
}

} // namespace

std::optional<QString> inspectZipArchive(const QString &archivePath, qint64 maxTotalBytes)
{
    QFile file(archivePath);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("Не удалось открыть архив: %1").arg(file.errorString());
    const qint64 size = file.size();
    const QString damaged = refused(QStringLiteral("файл не является ZIP-архивом или повреждён"));
    if (size < 22)
        return damaged;

    // The end record sits in the last 64 KiB + 22 bytes (its comment is at most 64 KiB).
    const qint64 tailSize = std::min<qint64>(size, 65535 + 22);
    file.seek(size - tailSize);
    const QByteArray tail = file.read(tailSize);
    qint64 endAt = -1;
    for (qint64 i = tail.size() - 22; i >= 0; --i) {
        if (u32(tail.constData() + i) == kEndOfDirectory) {
            endAt = i;
            break;
        }
    }
    if (endAt < 0)
        return damaged;
    const char *end = tail.constData() + endAt;
    quint64 entries = u16(end + 10);
    quint64 directorySize = u32(end + 12);
    quint64 directoryOffset = u32(end + 16);

    if (entries == 0xFFFF || directorySize == 0xFFFFFFFFu || directoryOffset == 0xFFFFFFFFu) {
        const qint64 locatorAt = size - tailSize + endAt - 20;
        if (locatorAt < 0)
            return damaged;
        file.seek(locatorAt);
        const QByteArray locator = file.read(20);
        if (locator.size() != 20 || u32(locator.constData()) != kZip64Locator)
            return damaged;
        const quint64 zip64At = u64(locator.constData() + 8);
        if (zip64At > quint64(size) - 56)
            return damaged;
        file.seek(qint64(zip64At));
        const QByteArray zip64 = file.read(56);
        if (zip64.size() != 56 || u32(zip64.constData()) != kZip64End)
            return damaged;
        entries = u64(zip64.constData() + 32);
        directorySize = u64(zip64.constData() + 40);
        directoryOffset = u64(zip64.constData() + 48);
    }
    if (entries > kMaxEntries)
        return refused(QStringLiteral("слишком много элементов (%1)").arg(entries));
    if (directorySize > quint64(kMaxDirectoryBytes) || directoryOffset > quint64(size)
        || directorySize > quint64(size) - directoryOffset)
        return damaged;

    file.seek(qint64(directoryOffset));
    const QByteArray directory = file.read(qint64(directorySize));
    if (quint64(directory.size()) != directorySize)
        return damaged;

    quint64 total = 0;
    qsizetype at = 0;
    for (quint64 n = 0; n < entries; ++n) {
        if (at + 46 > directory.size() || u32(directory.constData() + at) != kDirectoryEntry)
            return damaged;
        const char *e = directory.constData() + at;
        const quint8 host = quint8(u16(e + 4) >> 8);
        const quint16 flags = u16(e + 8);
        quint64 unpacked = u32(e + 24);
        const qsizetype nameLength = u16(e + 28);
        const qsizetype extraLength = u16(e + 30);
        const qsizetype commentLength = u16(e + 32);
        const quint32 external = u32(e + 38);
        if (at + 46 + nameLength + extraLength + commentLength > directory.size())
            return damaged;
        const QByteArray name = directory.mid(at + 46, nameLength);
        const QByteArray extra = directory.mid(at + 46 + nameLength, extraLength);
        at += 46 + nameLength + extraLength + commentLength;

        if (auto why = badName(name))
            return why;
        if (flags & 0x1)
            return refused(QStringLiteral("зашифрованный элемент «%1»").arg(QString::fromUtf8(name)));
        // Unix hosts keep the file type in the high half of the external attributes.
        if (host == 3) {
            const quint32 type = (external >> 16) & 0170000;
            if (type == 0120000)
                return refused(QStringLiteral("символическая ссылка «%1»").arg(QString::fromUtf8(name)));
            if (type != 0 && type != 0100000 && type != 0040000)
                return refused(QStringLiteral("специальный файл «%1»").arg(QString::fromUtf8(name)));
        }
        if (unpacked == 0xFFFFFFFFu) {
            bool found = false;
            for (qsizetype x = 0; x + 4 <= extra.size();) {
                const quint16 id = u16(extra.constData() + x);
                const quint16 length = u16(extra.constData() + x + 2);
                if (id == 0x0001 && length >= 8 && x + 4 + 8 <= extra.size()) {
                    unpacked = u64(extra.constData() + x + 4);
                    found = true;
                    break;
                }
                x += 4 + length;
            }
            if (!found)
                return damaged;
        }
        total += unpacked;
        if (unpacked > quint64(maxTotalBytes) || total > quint64(maxTotalBytes))
            return refused(QStringLiteral("распакованный объём больше %1 МиБ").arg(maxTotalBytes / (1024 * 1024)));
    }
    return std::nullopt;
}

namespace {

// A second look after unpacking: whatever the directory claimed, nothing but plain
// files and folders may have landed, and no more bytes than allowed.
std::optional<QString> checkUnpackedTree(const QString &folder, qint64 maxTotalBytes)
{
    qint64 total = 0;
    QStringList pending{folder};
    while (!pending.isEmpty()) {
        const QDir dir(pending.takeFirst());
        const auto infos = dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QFileInfo &info : infos) {
            if (info.isSymLink())
                return refused(QStringLiteral("символическая ссылка «%1»").arg(info.fileName()));
            if (info.isDir()) {
                pending << info.filePath();
            } else if (info.isFile()) {
                total += info.size();
                if (total > maxTotalBytes)
                    return refused(QStringLiteral("распакованный объём больше %1 МиБ").arg(maxTotalBytes / (1024 * 1024)));
            } else {
                return refused(QStringLiteral("специальный файл «%1»").arg(info.fileName()));
            }
        }
    }
    return std::nullopt;
}

} // namespace

CommandResult unpackArchive(const QString &archivePath, const QString &folder, qint64 maxTotalBytes)
{
    const QString archive = QFileInfo(archivePath).absoluteFilePath();
    if (auto why = inspectZipArchive(archive, maxTotalBytes))
        return CommandResult{-1, QString(), *why};

    CommandResult result;
    const QString ditto = QStringLiteral("/usr/bin/ditto");
    if (isExecutableFile(ditto)) {
        result = runProcess(ditto, {QStringLiteral("-x"), QStringLiteral("-k"), archive, folder});
    } else {
        const QString unzip = QStandardPaths::findExecutable(QStringLiteral("unzip"));
        if (unzip.isEmpty())
            return CommandResult{-1, QString(), QStringLiteral("Не найдена программа распаковки unzip")};
        // unzip reads its archive argument as a wildcard pattern: hand it a link with a
        // plain name beside the target instead of the user's path.
        const QString link = QFileInfo(folder).absolutePath() + QStringLiteral("/")
                             + QFileInfo(folder).fileName() + QStringLiteral(".source.zip");
        QFile::remove(link);
        if (!QFile::link(archive, link))
            return CommandResult{-1, QString(), QStringLiteral("Не удалось подготовить архив к распаковке")};
        // -qq quiet, -o never ask (the folder is new); links and "../" are
        // refused above, so the unpacker's own options for them stay off.
        result = runProcess(unzip, {QStringLiteral("-qq"), QStringLiteral("-o"), link,
                                    QStringLiteral("-d"), folder});
        QFile::remove(link);
    }
    if (!result.succeeded())
        return result;
    if (auto why = checkUnpackedTree(folder, maxTotalBytes))
        return CommandResult{-1, QString(), *why};
    return result;
}

QStringList collectApkFiles(const QString &folder)
{
    QStringList found;
    QStringList pending{folder};
    while (!pending.isEmpty()) {
        const QDir dir(pending.takeFirst());
        const auto infos = dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                             QDir::Name);
        for (const QFileInfo &info : infos) {
            if (info.fileName().startsWith(QLatin1Char('.')) || info.isSymLink())
                continue;
            if (info.isDir())
                pending << info.filePath();
            else if (info.isFile() && info.suffix().toLower() == QStringLiteral("apk"))
                found << info.filePath();
        }
    }
    auto key = [](const QString &path) {
        return QFileInfo(path).fileName().normalized(QString::NormalizationForm_C).toUcs4();
    };
    std::stable_sort(found.begin(), found.end(),
                     [&](const QString &a, const QString &b) { return key(a) < key(b); });
    return found;
}
