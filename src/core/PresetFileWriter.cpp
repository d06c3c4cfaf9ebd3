#include "PresetFileWriter.h"

#include "FileNaming.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString reason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

QString writeFailure(const QString &fileName, const QString &why)
{
    return QStringLiteral("Не удалось записать файл «%1»: %2").arg(fileName, why);
}

bool writeAll(int fd, const QByteArray &data)
{
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += n;
    }
    return ::fsync(fd) == 0;
}

// Creates `path` exclusively and writes `data` into it: for file systems without hard links.
// Returns 0 or the errno value; a partial file is removed.
int createExclusively(const QByteArray &path, const QByteArray &data)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0)
        return errno;
    const bool written = writeAll(fd, data);
    const int error = written ? 0 : errno;
    ::close(fd);
    if (!written)
        ::unlink(path.constData());
    return error;
}

bool linksUnsupported(int error) { return error == EPERM || error == EOPNOTSUPP || error == EXDEV || error == ENOSYS; }

} // namespace

PresetFileWriter::Outcome PresetFileWriter::writeNew(const QString &folder, const QString &firstName,
                                                     const QString &numberedBase, const QByteArray &data,
                                                     const std::function<void(const QString &)> &beforeCreate)
{
    const QDir dir(folder);
    QTemporaryFile temp(dir.filePath(QStringLiteral(".preset-XXXXXX")));
    if (!temp.open())
        return {{}, writeFailure(firstName, temp.errorString())};
    if (temp.write(data) != data.size() || !temp.flush() || ::fsync(temp.handle()) != 0)
        return {{}, writeFailure(firstName, temp.errorString())};

    const QStringList listed = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    QSet<QString> used(listed.begin(), listed.end());
    // The numbered names start at "-2" even when the plain numbered base is free.
    const QString plainBase = FileNaming::fitFileName(numberedBase);
    const auto taken = [&](const QString &candidate) { return candidate == plainBase || used.contains(candidate); };
    const QByteArray tempPath = QFile::encodeName(temp.fileName());
    bool linking = true;
    for (int attempt = 0; attempt < 10'000; ++attempt) {
        const QString fittedFirst = FileNaming::fitFileName(firstName);
        const QString name = used.contains(fittedFirst) ? FileNaming::freeFileName(numberedBase, taken) : fittedFirst;
        const QString chosen = dir.filePath(name);
        const QByteArray target = QFile::encodeName(chosen);
        if (beforeCreate)
            beforeCreate(chosen);
        int error = 0;
        if (linking) {
            if (::link(tempPath.constData(), target.constData()) == 0)
                return {chosen, {}};
            error = errno;
            if (linksUnsupported(error)) {
                linking = false;
                error = createExclusively(target, data);
            }
        } else {
            error = createExclusively(target, data);
        }
        if (error == 0)
            return {chosen, {}};
        if (error != EEXIST)
            return {{}, writeFailure(name, reason(error))};
        used.insert(name);
    }
    return {{}, writeFailure(firstName, QStringLiteral("не нашлось свободного имени"))};
}

QString PresetFileWriter::replace(const QString &path, const QByteArray &data)
{
    const QFileInfo target(path);
    if (target.isDir())
        return QStringLiteral("«%1» — это папка").arg(target.fileName());
    QSaveFile file(path);
    file.setDirectWriteFallback(false); // never write into the old file in place
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(data) != data.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return why;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

bool PresetFileWriter::isSameFile(const QString &a, const QString &b)
{
    struct stat first {};
    struct stat second {};
    if (::stat(QFile::encodeName(a).constData(), &first) != 0 || ::stat(QFile::encodeName(b).constData(), &second) != 0)
        return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}
