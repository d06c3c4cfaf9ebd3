#pragma once

#include "core/Observable.h"
#include "core/PublishedList.h"

#include "bridge/PackagePreset.h"

#include <QCoro/QCoroTask>
#include <QString>

#include <optional>

// One preset file of the library and what it holds.
struct StoredPreset {
    QString path; // the file in the library folder; also the identity
    PackagePreset preset;

    bool operator==(const StoredPreset &) const = default;
};

// The preset files in one folder of this computer: lists them newest first, stores new ones
// under names made from the preset's name, copies files in, exports and moves them to the
// Trash. Never talks to a device and never replaces a file it did not mean to.
class PresetLibrary : public Observable {
    Q_OBJECT
public:
    explicit PresetLibrary(QString folder, QObject *parent = nullptr);

    PublishedList<StoredPreset> presets{this};        // newest createdAt text first
    Published<std::optional<QString>> errorMessage{this}; // cleared only by whoever shows it

    const QString &folder() const { return m_folder; }

    // Relists the folder. The folder is read off the main thread; a reload that a later one
    // overtakes is dropped. `reload` starts it and returns at once.
    void reload();
    QCoro::Task<void> reloadNow();
    // Writes `preset` under a free name made from its name and relists; false (with
    // errorMessage set) when nothing was written.
    bool store(const PackagePreset &preset);
    // Moves the file to the Trash and relists.
    void remove(const StoredPreset &stored);
    // Copies a file the user chose into the folder under a free name and relists.
    bool copyIn(const QString &source);
    // Copies the stored file to `destination`: the old file there survives any failure, the
    // stored file onto itself is a success that writes nothing, and a folder is refused.
    bool exportTo(const StoredPreset &stored, const QString &destination);

    struct Listing {
        QList<StoredPreset> presets;
        std::optional<QString> error; // the folder could not be created or read
    };
    // The decodable ".json" files of `folder` (hidden ones and files over `sizeLimit` skipped
    // unread), sorted. Blocking: runs off the main thread.
    static Listing list(const QString &folder, qint64 sizeLimit);

    // The file name a preset of this name is stored under first: "/" becomes "-", white space
    // is trimmed, leading dots go (a hidden file is never listed), control characters become
    // "_", "preset" stands in for nothing, and the result fits the file system with "-N.json".
    static QString fileNameFor(const QString &presetName);

    // Moves a library folder from the application's former folder name once: only when
    // something is at `legacy` and nothing at `current`. Errors are ignored.
    static void adoptLegacyFolder(const QString &legacy, const QString &current);

signals:
    void reloaded(); // a listing was applied (or failed) and no later one is on its way

private:
    QString m_folder;
    quint64 m_issuedReloads = 0;
};
