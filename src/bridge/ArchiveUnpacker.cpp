#include "ArchiveUnpacker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <archive.h>
#include <archive_entry.h>

#include <algorithm>
#include <cctype>
#include <memory>

namespace {

constexpr quint64 kMaxEntries = 200000;
constexpr qsizetype kBlockBytes = 256 * 1024;

QString refused(const QString &reason)
{
    return QStringLiteral("Архив отклонён: %1. Ничего не установлено.").arg(reason);
}

QString tooLarge(qint64 maxTotalBytes)
{
    return refused(QStringLiteral("распакованный объём больше %1 МиБ").arg(maxTotalBytes / (1024 * 1024)));
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

struct ArchiveFree {
    void operator()(archive *a) const { archive_read_free(a); }
};
using ArchivePtr = std::unique_ptr<archive, ArchiveFree>;

// One walk over a zip archive's entries: every entry is checked before anything of it
// is written; with a target folder its data is then written there and counted.
class ArchiveWalk {
public:
    ArchiveWalk(const QString &archivePath, qint64 maxTotalBytes) : m_path(archivePath), m_max(maxTotalBytes) {}

    // Inspects every entry; unpacks them into `folder` when one is given.
    std::optional<QString> run(const QString *folder)
    {
        // Only the zip reader that works from the central directory: a damaged or cut
        // directory is refused, never read around through the local headers.
        ArchivePtr reader(archive_read_new());
        if (!reader)
            return QStringLiteral("Не удалось подготовить распаковку архива");
        archive_read_support_format_zip_seekable(reader.get());
        if (archive_read_open_filename(reader.get(), QFile::encodeName(m_path).constData(), 64 * 1024) != ARCHIVE_OK)
            return openFailure(reader.get());

        quint64 count = 0;
        for (;;) {
            archive_entry *entry = nullptr;
            const int status = archive_read_next_header(reader.get(), &entry);
            if (status == ARCHIVE_EOF)
                return std::nullopt;
            if (status < ARCHIVE_WARN)
                return damaged(reader.get());
            if (++count > kMaxEntries)
                return refused(QStringLiteral("слишком много элементов (больше %1)").arg(kMaxEntries));
            if (auto why = check(entry))
                return why;
            if (folder) {
                if (auto why = write(reader.get(), entry, *folder))
                    return why;
            }
        }
    }

private:
    static QByteArray rawName(archive_entry *entry)
    {
        if (const char *utf8 = archive_entry_pathname_utf8(entry))
            return QByteArray(utf8);
        const char *name = archive_entry_pathname(entry);
        return name ? QByteArray(name) : QByteArray();
    }

    std::optional<QString> check(archive_entry *entry)
    {
        const QByteArray raw = rawName(entry);
        if (auto why = badName(raw))
            return why;
        const QString name = QString::fromUtf8(raw);
        if (archive_entry_is_encrypted(entry))
            return refused(QStringLiteral("зашифрованный элемент «%1»").arg(name));
        const auto type = archive_entry_filetype(entry);
        if (type == AE_IFLNK || archive_entry_hardlink(entry) || archive_entry_symlink(entry))
            return refused(QStringLiteral("символическая ссылка «%1»").arg(name));
        if (type != AE_IFREG && type != AE_IFDIR)
            return refused(QStringLiteral("специальный файл «%1»").arg(name));
        if (archive_entry_size_is_set(entry)) {
            const la_int64_t size = archive_entry_size(entry);
            if (size < 0 || size > m_max || m_declared > m_max - size)
                return tooLarge(m_max);
            m_declared += size;
        }
        return std::nullopt;
    }

    std::optional<QString> write(archive *reader, archive_entry *entry, const QString &folder)
    {
        const QString name = QString::fromUtf8(rawName(entry));
        const QString root = QDir::cleanPath(folder);
        const QString target = QDir::cleanPath(folder + QLatin1Char('/') + name);
        if (target == root && archive_entry_filetype(entry) == AE_IFDIR)
            return std::nullopt; // "./": the folder itself
        // The checked name cannot leave the folder; this stays true whatever cleanPath made of it.
        if (!target.startsWith(root + QLatin1Char('/')))
            return refused(QStringLiteral("путь вне папки распаковки «%1»").arg(name));
        remember(folder, target);

        if (archive_entry_filetype(entry) == AE_IFDIR) {
            if (!QDir().mkpath(target))
                return QStringLiteral("Не удалось создать папку «%1»").arg(name);
            return std::nullopt;
        }
        if (!QDir().mkpath(QFileInfo(target).path()))
            return QStringLiteral("Не удалось создать папку для «%1»").arg(name);
        QFile file(target);
        // A name that comes twice is refused rather than written over.
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return QFileInfo::exists(target) ? refused(QStringLiteral("элемент «%1» повторяется").arg(name))
                                             : QStringLiteral("Не удалось записать «%1»: %2").arg(name, file.errorString());
        std::unique_ptr<char[]> block(new char[kBlockBytes]);
        for (;;) {
            const la_ssize_t got = archive_read_data(reader, block.get(), size_t(kBlockBytes));
            if (got == 0)
                break;
            if (got < 0)
                return damaged(reader);
            m_written += got;
            if (m_written > m_max)
                return tooLarge(m_max);
            if (file.write(block.get(), got) != got)
                return QStringLiteral("Не удалось записать «%1»: %2").arg(name, file.errorString());
        }
        if (!file.flush())
            return QStringLiteral("Не удалось записать «%1»: %2").arg(name, file.errorString());
        return std::nullopt;
    }

    // The top-level entries this walk creates, so a refusal can take them back.
    void remember(const QString &folder, const QString &target)
    {
        const QString first = target.mid(QDir::cleanPath(folder).size() + 1).section(QLatin1Char('/'), 0, 0);
        const QString top = QDir::cleanPath(folder) + QLatin1Char('/') + first;
        if (!m_created.contains(top) && !QFileInfo::exists(top))
            m_created << top;
    }

public:
    void removeCreated() const
    {
        for (const QString &path : m_created) {
            const QFileInfo info(path);
            if (info.isDir() && !info.isSymLink())
                QDir(path).removeRecursively();
            else
                QFile::remove(path);
        }
    }

private:
    static QString detail(archive *reader)
    {
        const char *text = archive_error_string(reader);
        return text ? QString::fromLocal8Bit(text) : QString();
    }

    std::optional<QString> openFailure(archive *reader) const
    {
        const QFileInfo info(m_path);
        if (!info.exists() || !info.isReadable())
            return QStringLiteral("Не удалось открыть архив: %1").arg(detail(reader));
        return damaged(reader);
    }

    static QString damaged(archive *)
    {
        return refused(QStringLiteral("файл не является ZIP-архивом или повреждён"));
    }

    QString m_path;
    qint64 m_max;
    qint64 m_declared = 0;
    qint64 m_written = 0;
    QStringList m_created;
};

} // namespace

std::optional<QString> inspectArchive(const QString &archivePath, qint64 maxTotalBytes)
{
    return ArchiveWalk(archivePath, maxTotalBytes).run(nullptr);
}

CommandResult unpackArchive(const QString &archivePath, const QString &folder, qint64 maxTotalBytes)
{
    ArchiveWalk walk(QFileInfo(archivePath).absoluteFilePath(), maxTotalBytes);
    const QString target = QFileInfo(folder).absoluteFilePath();
    if (auto why = walk.run(&target)) {
        walk.removeCreated();
        return CommandResult{-1, QString(), *why};
    }
    return CommandResult{0, QString(), QString()};
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
