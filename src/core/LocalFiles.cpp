#include "LocalFiles.h"

#include "FileNaming.h"

#include "bridge/NameCollation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray native(const QString &path) { return QFile::encodeName(path); }

} // namespace

QString LocalFiles::describe(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

bool LocalFiles::isTaken(const QString &path)
{
    struct stat st;
    return ::lstat(native(path).constData(), &st) == 0;
}

namespace {

QString childPath(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

// The canonical keys of every name in `folder`, hidden ones included.
QSet<QString> canonicalNames(const QString &folder)
{
    QSet<QString> keys;
    const QStringList names =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    for (const QString &name : names)
        keys.insert(FileNaming::nameKey(name, FileNaming::NameMatch::exact));
    return keys;
}

} // namespace

bool LocalFiles::isNameTaken(const QString &folder, const QString &name)
{
    return isTaken(childPath(folder, name))
        || canonicalNames(folder).contains(FileNaming::nameKey(name, FileNaming::NameMatch::exact));
}

QString LocalFiles::freeName(const QString &folder, const QString &name, bool keepExtension)
{
    const QSet<QString> keys = canonicalNames(folder);
    return FileNaming::freeFileName(
        name,
        [&](const QString &candidate) {
            return isTaken(childPath(folder, candidate))
                || keys.contains(FileNaming::nameKey(candidate, FileNaming::NameMatch::exact));
        },
        keepExtension);
}

QString LocalFiles::renameWithoutReplacing(const QString &from, const QString &to)
{
    const QByteArray f = native(from);
    const QByteArray t = native(to);
#if defined(Q_OS_LINUX) && defined(RENAME_NOREPLACE)
    if (::renameat2(AT_FDCWD, f.constData(), AT_FDCWD, t.constData(), RENAME_NOREPLACE) == 0)
        return {};
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return describe(errno);
#elif defined(Q_OS_MACOS)
    if (::renamex_np(f.constData(), t.constData(), RENAME_EXCL) == 0)
        return {};
    if (errno != EINVAL && errno != ENOTSUP)
        return describe(errno);
#endif
    // The file system cannot refuse for us. A hard link refuses an existing name by itself, so
    // files and links move by linking the new name and unlinking the old one.
    struct stat st;
    if (::lstat(f.constData(), &st) != 0)
        return describe(errno);
    if (!S_ISDIR(st.st_mode)) {
        if (::linkat(AT_FDCWD, f.constData(), AT_FDCWD, t.constData(), 0) == 0) {
            if (::unlink(f.constData()) == 0)
                return {};
            const int error = errno;
            ::unlink(t.constData());
            return describe(error);
        }
        if (errno == EEXIST)
            return describe(EEXIST);
    }
    // Folders (and file systems without links): checked just before the move.
    if (isTaken(to))
        return describe(EEXIST);
    if (::rename(f.constData(), t.constData()) == 0)
        return {};
    return describe(errno);
}

QString LocalFiles::createFolder(const QString &path)
{
    if (::mkdir(native(path).constData(), 0777) == 0)
        return {};
    return describe(errno);
}

LocalFiles::Listing LocalFiles::list(const QString &folder, bool includeHidden)
{
    Listing listing;
    // QDir reads an unreadable folder as an empty one: ask the system first for the reason.
    if (DIR *probe = ::opendir(native(folder).constData()))
        ::closedir(probe);
    else
        return {{}, describe(errno)};

    QDir::Filters filters = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System;
    if (includeHidden)
        filters |= QDir::Hidden;
    const QFileInfoList infos = QDir(folder).entryInfoList(filters, QDir::Unsorted);
    QList<LocalFileItem> items;
    items.reserve(infos.size());
    for (const QFileInfo &info : infos) {
        LocalFileItem item;
        item.url = info.absoluteFilePath();
        item.name = info.fileName();
        item.isDirectory = info.isDir();
        if (!item.isDirectory)
            item.size = info.isSymLink() && !info.exists() ? 0 : info.size();
        if (const QDateTime modified = info.lastModified(); modified.isValid())
            item.modifiedAt = modified;
        items.append(std::move(item));
    }
    const std::vector<int> order = NameCollation::displayOrder(
        int(items.size()), [&](int i) { return items.at(i).isDirectory; }, [&](int i) { return items.at(i).name; });
    listing.items.reserve(items.size());
    for (int i : order)
        listing.items.append(std::move(items[i]));
    return listing;
}

bool LocalFiles::couldLaunchProgram(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return false;
    return info.isExecutable() || info.suffix().compare(QStringLiteral("desktop"), Qt::CaseInsensitive) == 0;
}
