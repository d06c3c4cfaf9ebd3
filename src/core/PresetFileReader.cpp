#include "PresetFileReader.h"

#include "FileNaming.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

DomainError tooLarge()
{
    return FileNaming::presetError(QStringLiteral("Файл пресета превышает допустимый размер 1 МБ"));
}

DomainError readFailure(const QString &path, int error)
{
    const QString name = QFileInfo(path).fileName();
    switch (error) {
    case ENOENT: return FileNaming::presetError(QStringLiteral("Файл «%1» не найден").arg(name));
    case EACCES: case EPERM: return FileNaming::presetError(QStringLiteral("Нет доступа к файлу «%1»").arg(name));
    case EISDIR: return FileNaming::presetError(QStringLiteral("«%1» — это папка, а не файл пресета").arg(name));
    default:
        return FileNaming::presetError(QStringLiteral("Не удалось прочитать файл «%1»: %2")
                                           .arg(name, QString::fromLocal8Bit(std::strerror(error))));
    }
}

struct FileDescriptor {
    int fd = -1;
    ~FileDescriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

PresetFileReader::Result PresetFileReader::read(const QString &path, qint64 limit)
{
    const QByteArray native = QFile::encodeName(path);
    FileDescriptor file;
    // O_NONBLOCK: opening a FIFO without a writer would otherwise wait forever.
    file.fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (file.fd < 0)
        return {{}, readFailure(path, errno)};

    struct stat info {};
    if (::fstat(file.fd, &info) != 0)
        return {{}, readFailure(path, errno)};
    if (S_ISDIR(info.st_mode))
        return {{}, readFailure(path, EISDIR)};
    if (!S_ISREG(info.st_mode))
        return {{}, FileNaming::presetError(
                        QStringLiteral("«%1» не является обычным файлом").arg(QFileInfo(path).fileName()))};
    if (info.st_size > limit)
        return {{}, tooLarge()};

    // One byte past the limit tells a file that grew since fstat from one that fits.
    QByteArray data;
    data.resize(limit + 1);
    qint64 total = 0;
    while (total < limit + 1) {
        const ssize_t n = ::read(file.fd, data.data() + total, size_t(limit + 1 - total));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return {{}, readFailure(path, errno)};
        }
        if (n == 0)
            break;
        total += n;
    }
    if (total > limit)
        return {{}, tooLarge()};
    data.truncate(total);
    return {std::move(data), std::nullopt};
}
