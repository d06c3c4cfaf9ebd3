#include "PresetLibrary.h"

#include "core/FileNaming.h"
#include "core/PresetFileReader.h"
#include "core/PresetFileWriter.h"

#include "bridge/ProcessExecution.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QtConcurrent/QtConcurrentRun>

#include <QCoro/QCoroFuture>

#include <algorithm>

namespace {

const QString kReadFailed = QStringLiteral("Не удалось прочитать библиотеку пресетов: ");
const QString kStoreFailed = QStringLiteral("Не удалось сохранить пресет: ");
const QString kDeleteFailed = QStringLiteral("Не удалось удалить пресет: ");
const QString kImportFailed = QStringLiteral("Не удалось добавить пресет в библиотеку: ");
const QString kExportFailed = QStringLiteral("Не удалось экспортировать пресет: ");

const QString kJson = QStringLiteral(".json");

QString folderFailure(const QString &folder)
{
    return QStringLiteral("не удалось создать папку «%1»").arg(QDir::toNativeSeparators(folder));
}

// The writer's and reader's texts already name the file; only the reason is wanted after our prefix.
QString reasonOf(const DomainError &error) { return error.localizedDescription(); }

} // namespace

PresetLibrary::PresetLibrary(QString folder, QObject *parent) : Observable(parent), m_folder(std::move(folder)) {}

PresetLibrary::Listing PresetLibrary::list(const QString &folder, qint64 sizeLimit)
{
    Listing out;
    QDir dir(folder);
    if (!QDir().mkpath(folder)) {
        out.error = folderFailure(folder);
        return out;
    }
    if (!dir.isReadable()) {
        out.error = QStringLiteral("нет доступа к папке «%1»").arg(QDir::toNativeSeparators(folder));
        return out;
    }
    // Unsorted: the listing order breaks ties of equal stamps, as the folder gives it.
    const QStringList names = dir.entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::System, QDir::Unsorted);
    for (const QString &name : names) {
        if (name.startsWith(QLatin1Char('.')) || !name.endsWith(kJson, Qt::CaseInsensitive))
            continue;
        const QString path = dir.filePath(name);
        // The bounded reader refuses folders, special files and anything over the limit
        // before reading a byte of it.
        const PresetFileReader::Result read = PresetFileReader::read(path, sizeLimit);
        if (read.error)
            continue;
        std::optional<PackagePreset> preset = PackagePreset::decode(read.data);
        if (!preset)
            continue;
        out.presets.append(StoredPreset{path, std::move(*preset)});
    }
    std::stable_sort(out.presets.begin(), out.presets.end(), [](const StoredPreset &a, const StoredPreset &b) {
        return QStringView(a.preset.createdAt).compare(QStringView(b.preset.createdAt)) > 0;
    });
    return out;
}

void PresetLibrary::reload() { reloadNow(); }

QCoro::Task<void> PresetLibrary::reloadNow()
{
    QPointer<PresetLibrary> self(this);
    const quint64 ticket = ++m_issuedReloads;
    const QString folder = m_folder;
    Listing listing = co_await QtConcurrent::run(processThreadPool(), [folder] {
        return PresetLibrary::list(folder, PresetFileReader::sizeLimit);
    });
    if (!self || ticket != m_issuedReloads)
        co_return; // a later reload is on its way and will publish
    if (listing.error)
        errorMessage.set(kReadFailed + *listing.error);
    else
        presets.set(std::move(listing.presets));
    emit reloaded();
}

QString PresetLibrary::fileNameFor(const QString &presetName)
{
    QString base = presetName;
    base.replace(QLatin1Char('/'), QLatin1Char('-'));
    base = base.trimmed();
    qsizetype from = 0;
    while (from < base.size() && (base[from] == u'.' || base[from].isSpace()))
        ++from;
    base = base.mid(from);
    for (QChar &c : base)
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    if (base.isEmpty())
        base = QStringLiteral("preset");
    // The numbered names ("-2.json" ...) are fitted by the naming helper itself.
    return FileNaming::fitFileName(base + kJson);
}

bool PresetLibrary::store(const PackagePreset &preset)
{
    if (!QDir().mkpath(m_folder)) {
        errorMessage.set(kStoreFailed + folderFailure(m_folder));
        return false;
    }
    const QString name = fileNameFor(preset.name);
    const PresetFileWriter::Outcome outcome = PresetFileWriter::writeNew(m_folder, name, name, preset.encode());
    if (!outcome.error.isEmpty()) {
        errorMessage.set(kStoreFailed + outcome.error);
        return false;
    }
    reload();
    return true;
}

void PresetLibrary::remove(const StoredPreset &stored)
{
    QFile file(stored.path);
    if (!file.moveToTrash()) {
        errorMessage.set(kDeleteFailed + file.errorString());
        return;
    }
    reload();
}

bool PresetLibrary::copyIn(const QString &source)
{
    if (!QDir().mkpath(m_folder)) {
        errorMessage.set(kImportFailed + folderFailure(m_folder));
        return false;
    }
    // Read bounded: a FIFO or a huge file chosen in the panel must not hang the window.
    const PresetFileReader::Result read = PresetFileReader::read(source);
    if (read.error) {
        errorMessage.set(kImportFailed + reasonOf(*read.error));
        return false;
    }
    const QFileInfo info(source);
    const PresetFileWriter::Outcome outcome =
        PresetFileWriter::writeNew(m_folder, info.fileName(), info.completeBaseName() + kJson, read.data);
    if (!outcome.error.isEmpty()) {
        errorMessage.set(kImportFailed + outcome.error);
        return false;
    }
    reload();
    return true;
}

bool PresetLibrary::exportTo(const StoredPreset &stored, const QString &destination)
{
    if (PresetFileWriter::isSameFile(stored.path, destination))
        return true; // the file is already there: copying it onto itself could only lose it
    if (QFileInfo(destination).isDir()) {
        errorMessage.set(kExportFailed
                         + QStringLiteral("«%1» — это папка").arg(QDir::toNativeSeparators(destination)));
        return false;
    }
    const PresetFileReader::Result read = PresetFileReader::read(stored.path);
    if (read.error) {
        errorMessage.set(kExportFailed + reasonOf(*read.error));
        return false;
    }
    const QString failure = PresetFileWriter::replace(destination, read.data);
    if (!failure.isEmpty()) {
        errorMessage.set(kExportFailed + QStringLiteral("Не удалось записать файл «%1»: %2")
                                             .arg(QFileInfo(destination).fileName(), failure));
        return false;
    }
    return true;
}

void PresetLibrary::adoptLegacyFolder(const QString &legacy, const QString &current)
{
    const QFileInfo old(legacy);
    const QFileInfo now(current);
    if (!(old.exists() || old.isSymLink()) || now.exists() || now.isSymLink())
        return;
    QDir().mkpath(now.absolutePath());
    QDir().rename(legacy, current);
}
