#include "AppModel.h"

#include "bridge/PackageName.h"
#include "core/AppPaths.h"
#include "core/FileNaming.h"
#include "core/PresetFileReader.h"
#include "core/PresetFileWriter.h"
#include "core/PresetLibrary.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>
#include <mutex>

namespace {

const QString kLoadFailed = QStringLiteral("Не удалось загрузить пресет: ");
const QString kSaveFailed = QStringLiteral("Не удалось сохранить пресет: ");

bool holdsWhiteSpace(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSpace(); });
}

QString writeFailure(const QString &fileName, const QString &reason)
{
    return QStringLiteral("Не удалось записать файл «%1»: %2").arg(fileName, reason);
}

bool isInFolder(const QString &path, const QString &folder)
{
    if (folder.isEmpty())
        return false;
    const QString parent = QFileInfo(path).absoluteDir().canonicalPath();
    return !parent.isEmpty() && parent == QDir(folder).canonicalPath();
}

} // namespace

QString AppModel::safeFileName(const QString &name, const QString &fallback)
{
    return FileNaming::safeFileName(name, fallback);
}

QString AppModel::uniqueFileName(const QString &name, QSet<QString> &usedNames)
{
    return FileNaming::uniqueFileName(name, usedNames);
}

DomainError AppModel::presetError(const QString &message)
{
    return FileNaming::presetError(message);
}

QString AppModel::defaultPresetLibraryFolder()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        base = QDir::homePath();
    const QString current = base + QLatin1Char('/') + AppPaths::supportFolder + QStringLiteral("/Presets");
    // A library left under the former folder name moves over once per process, on first use.
    static std::once_flag adopted;
    std::call_once(adopted, [&] {
        PresetLibrary::adoptLegacyFolder(base + QLatin1Char('/') + AppPaths::legacySupportFolder
                                             + QStringLiteral("/Presets"),
                                         current);
    });
    return current;
}

std::variant<PresetPreview, DomainError> AppModel::readPreset(const QString &path) const
{
    PresetFileReader::Result read = PresetFileReader::read(path);
    if (read.error)
        return *read.error;
    const std::optional<PackagePreset> decoded = PackagePreset::decode(read.data);
    if (!decoded)
        return presetError(QStringLiteral("Не удалось прочитать данные, так как они имеют неверный формат."));
    if (decoded->version != PackagePreset::supportedVersion)
        return presetError(QStringLiteral("Версия пресета %1 не поддерживается").arg(decoded->version));
    const QString name = decoded->name.trimmed();
    if (name.isEmpty())
        return presetError(QStringLiteral("В пресете не указано название"));

    // Only package names count and reach the device; other entries are named in the
    // preview as not applicable.
    QStringList names;
    QStringList inapplicable;
    QSet<QString> seen;
    for (const QString &entry : decoded->packages) {
        const QString trimmed = entry.trimmed();
        if (trimmed.isEmpty() || seen.contains(trimmed))
            continue;
        seen.insert(trimmed);
        if (holdsWhiteSpace(trimmed) || !isValidPackageName(trimmed))
            inapplicable << trimmed;
        else
            names << trimmed;
    }
    if (names.isEmpty())
        return presetError(QStringLiteral("В пресете нет корректных идентификаторов пакетов"));
    if (names.size() > maxPresetPackages)
        return presetError(QStringLiteral("Пресет содержит больше 5000 пакетов"));

    PackagePreset cleaned = *decoded;
    cleaned.name = name;
    cleaned.description = decoded->description.trimmed();
    cleaned.packages = names;

    QHash<QString, qsizetype> index;
    const QList<AndroidPackage> &catalogue = packages();
    for (qsizetype i = 0; i < catalogue.size(); ++i)
        index.insert(catalogue[i].name, i);
    QList<PresetPackageEntry> entries;
    entries.reserve(names.size());
    for (const QString &n : names) {
        const auto it = index.constFind(n);
        if (it != index.constEnd())
            entries << PresetPackageEntry{n, catalogue[*it].displayName, catalogue[*it].kind};
        else
            entries << PresetPackageEntry{n, n, std::nullopt};
    }
    PresetPreview preview(std::move(cleaned), std::move(entries));
    preview.inapplicableNames = inapplicable;
    return preview;
}

void AppModel::loadPreset(const QString &path)
{
    auto outcome = readPreset(path);
    if (const DomainError *error = std::get_if<DomainError>(&outcome)) {
        const QString text = kLoadFailed + error->localizedDescription();
        presetErrorMessage.set(text);
        appendLog(text);
        return;
    }
    PresetPreview preview = std::get<PresetPreview>(std::move(outcome));
    const qsizetype installed = preview.installedEntries().size();
    const qsizetype total = preview.entries.size();
    const qsizetype inapplicable = preview.inapplicableNames.size();
    const QString presetName = preview.preset.name;
    presetPreview.set(std::move(preview));
    statusText.set(QStringLiteral("Пресет загружен: найдено %1 из %2").arg(installed).arg(total));
    QString line = QStringLiteral("Пресет «%1»: найдено %2, отсутствует %3").arg(presetName).arg(installed).arg(total - installed);
    if (inapplicable > 0)
        line += QStringLiteral(", неприменимо %1").arg(inapplicable);
    appendLog(line);
}

void AppModel::savePreset(const QString &path, const QString &name, const QString &description, PresetAction action)
{
    const auto fail = [this](const QString &message) {
        const QString text = kSaveFailed + message;
        presetErrorMessage.set(text);
        appendLog(text);
    };
    const QString trimmedName = name.trimmed();
    if (trimmedName.isEmpty())
        return fail(QStringLiteral("Укажите название пресета"));
    QStringList selected = selectedPackageIDs().values();
    if (selected.isEmpty())
        return fail(QStringLiteral("Выберите хотя бы одно приложение"));
    std::sort(selected.begin(), selected.end());

    const PackagePreset preset{PackagePreset::supportedVersion, trimmedName, description.trimmed(), action, selected,
                               PackagePreset::timestamp(QDateTime::currentDateTimeUtc())};
    const QByteArray data = preset.encode();

    QString written = path;
    if (isInFolder(path, presetLibraryFolder)) {
        // The library keeps every preset: a name that is taken gets "-2", "-3", ...
        const QFileInfo target(path);
        const PresetFileWriter::Outcome outcome =
            PresetFileWriter::writeNew(target.absolutePath(), target.fileName(), target.fileName(), data);
        if (!outcome.error.isEmpty())
            return fail(outcome.error);
        written = outcome.path;
    } else {
        // Elsewhere the save panel has asked about replacing; the write is atomic, so a
        // failure leaves the old file (or none) in place, never a partial one.
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return fail(writeFailure(QFileInfo(path).fileName(), file.errorString()));
        file.write(data);
        if (!file.commit())
            return fail(writeFailure(QFileInfo(path).fileName(), file.errorString()));
    }
    statusText.set(QStringLiteral("Пресет сохранён: %1 приложений").arg(selected.size()));
    appendLog(QStringLiteral("Пресет «%1» сохранён: %2").arg(trimmedName, QFileInfo(written).fileName()));
}

void AppModel::selectPackages(PresetPreview preview)
{
    QSet<QString> names;
    for (const PresetPackageEntry &entry : preview.installedEntries())
        names.insert(entry.packageName);
    const qsizetype count = names.size();
    selectedPackageIDs.set(std::move(names));
    searchText.set(QString());
    packageFilter.set(PackageFilter::all);
    presetPreview.set(std::nullopt);
    statusText.set(QStringLiteral("Выбрано из пресета: %1").arg(count));
}

void AppModel::requestPresetExecution(PresetPreview preview)
{
    if (preview.installedEntries().isEmpty())
        return;
    presetPreview.set(std::nullopt);
    pendingPresetExecution.set(std::move(preview));
}

void AppModel::confirmPresetExecution()
{
    if (!pendingPresetExecution())
        return;
    const PresetPreview preview = *pendingPresetExecution();
    pendingPresetExecution.set(std::nullopt);
    QStringList names;
    for (const PresetPackageEntry &entry : preview.installedEntries())
        if (isValidPackageName(entry.packageName))
            names << entry.packageName;
    selectedPackageIDs.set(QSet<QString>(names.begin(), names.end()));
    execute(packageAction(preview.preset.action), names); // runs on by itself, in the preset's order
}

void AppModel::clearPresetDeviceState()
{
    presetPreview.set(std::nullopt);
    pendingPresetExecution.set(std::nullopt);
    presetErrorMessage.set(std::nullopt);
}
