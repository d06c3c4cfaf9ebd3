#include "core/FileNaming.h"
#include "core/PresetFileWriter.h"
#include "core/PresetLibrary.h"

#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSemaphore>
#include <QSignalSpy>
#include <QThreadPool>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

PackagePreset preset(const QString &name, const QString &createdAt = QStringLiteral("2026-01-02T03:04:05Z"),
                     PresetAction action = PresetAction::disable)
{
    return PackagePreset{1, name, QString(), action, {QStringLiteral("com.a")}, createdAt};
}

struct LibraryFixture {
    QTemporaryDir dir;
    QString folder = dir.filePath(QStringLiteral("Presets"));
    PresetLibrary library{folder};

    LibraryFixture() { QDir().mkpath(folder); }

    QString write(const QString &name, const QByteArray &bytes) const
    {
        const QString path = QDir(folder).filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path;
    }
    QByteArray read(const QString &path) const
    {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }
    QStringList files() const
    {
        return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
    void reload() { runSync(library.reloadNow()); }
    QStringList listedNames() const
    {
        QStringList names;
        for (const StoredPreset &stored : library.presets())
            names << QFileInfo(stored.path).fileName();
        return names;
    }
};

TEST(PresetLibrary, ListsDecodableJsonFilesNewestFirstKeepingFolderOrderForTies)
{
    LibraryFixture f;
    f.write("old.json", preset("Старый", "2025-01-01T00:00:00Z").encode());
    f.write("new.JSON", preset("Новый", "2026-06-01T00:00:00Z").encode());
    f.write("tie-a.json", preset("A", "2026-01-01T00:00:00Z").encode());
    f.write("tie-b.json", preset("B", "2026-01-01T00:00:00Z").encode());
    f.write("text.json", preset("Текст", "вчера").encode()); // plain text order: after the digits
    f.write(".hidden.json", preset("Скрытый").encode());
    f.write("notes.txt", preset("Не JSON").encode());
    f.write("broken.json", "{");
    QByteArray badAction = preset("x").encode();
    badAction.replace("\"disable\"", "\"explode\"");
    f.write("bad-action.json", badAction);
    QDir(f.folder).mkdir(QStringLiteral("folder.json"));
    ::mkfifo(QFile::encodeName(QDir(f.folder).filePath(QStringLiteral("pipe.json"))).constData(), 0644);
    // Valid when read whole, but far over the size limit: skipped unread.
    QByteArray huge = preset("Огромный", "2030-01-01T00:00:00Z").encode();
    huge.append(QByteArray(50 * 1024 * 1024, ' '));
    f.write("huge.json", huge);

    f.reload();
    EXPECT_EQ(f.listedNames().size(), 5);
    EXPECT_EQ(f.library.presets().at(0).preset.name, QStringLiteral("Текст"));
    EXPECT_EQ(f.library.presets().at(1).preset.name, QStringLiteral("Новый"));
    EXPECT_EQ(f.library.presets().at(4).preset.name, QStringLiteral("Старый"));
    // Equal stamps keep the folder's own listing order.
    const QStringList raw = QDir(f.folder).entryList(QDir::Files, QDir::Unsorted);
    const bool aFirst = raw.indexOf(QStringLiteral("tie-a.json")) < raw.indexOf(QStringLiteral("tie-b.json"));
    EXPECT_EQ(f.library.presets().at(2).preset.name, aFirst ? QStringLiteral("A") : QStringLiteral("B"));
    EXPECT_FALSE(f.library.errorMessage().has_value());
}

TEST(PresetLibrary, AReloadThatALaterOneOvertakesIsDropped)
{
    LibraryFixture f;
    f.write("one.json", preset("Один").encode());
    // Hold every worker, so both listings are still queued when the second reload starts.
    QThreadPool *pool = processThreadPool();
    QSemaphore release;
    QSemaphore started;
    const int workers = pool->maxThreadCount();
    for (int i = 0; i < workers; ++i)
        pool->start([&] {
            started.release();
            release.acquire();
        });
    started.acquire(workers);
    QSignalSpy reloaded(&f.library, &PresetLibrary::reloaded);
    QList<qsizetype> published;
    f.library.observe(f.library.presets, &f.library, [&] { published << f.library.presets().size(); });
    f.library.reload();
    f.library.reload();
    f.write("two.json", preset("Два").encode());
    release.release(workers);
    ASSERT_TRUE(waitUntil([&] { return reloaded.count() > 0; }));
    ASSERT_TRUE(settleCommands());
    EXPECT_EQ(reloaded.count(), 1);
    EXPECT_EQ(published, QList<qsizetype>{2});
}

TEST(PresetLibrary, AFailedListingKeepsTheListAndSaysWhy)
{
    LibraryFixture f;
    f.write("one.json", preset("Один").encode());
    f.reload();
    ASSERT_EQ(f.library.presets().size(), 1);
    QDir(f.folder).removeRecursively();
    QFile blocker(f.folder); // a file where the folder should be
    blocker.open(QIODevice::WriteOnly);
    blocker.close();
    f.reload();
    EXPECT_EQ(f.library.presets().size(), 1);
    ASSERT_TRUE(f.library.errorMessage().has_value());
    EXPECT_TRUE(f.library.errorMessage()->startsWith(QStringLiteral("Не удалось прочитать библиотеку пресетов: ")));
}

TEST(PresetLibrary, FileNamesFromPresetNames)
{
    const QString longName(300, QLatin1Char('x'));
    const struct {
        QString name;
        QString file;
    } cases[] = {
        {"Чистка", "Чистка.json"},
        {"  a/b  ", "a-b.json"},
        {".hidden", "hidden.json"},
        {"...", "preset.json"},
        {"  ", "preset.json"},
        {". ./x", "-x.json"}, // dots and the spaces between them
        {"a\tb\nc\x7f", "a_b_c_"},
    };
    for (const auto &c : cases) {
        QString expected = c.file;
        if (!expected.endsWith(QStringLiteral(".json")))
            expected += QStringLiteral(".json");
        EXPECT_EQ(PresetLibrary::fileNameFor(c.name), expected) << c.name.toStdString();
    }
    const QString fitted = PresetLibrary::fileNameFor(longName);
    EXPECT_LE(fitted.toUtf8().size(), FileNaming::maxNameBytes);
    EXPECT_TRUE(fitted.endsWith(QStringLiteral(".json")));
}

TEST(PresetLibrary, StoringNeverReplacesAndKeepsThePresetsOwnName)
{
    LibraryFixture f;
    for (const QString &name : {QStringLiteral("Чистка/1"), QStringLiteral("Чистка-1"), QStringLiteral(" Чистка-1 ")})
        ASSERT_TRUE(f.library.store(preset(name)));
    EXPECT_EQ(f.files(), (QStringList{"Чистка-1-2.json", "Чистка-1-3.json", "Чистка-1.json"}));
    EXPECT_EQ(PackagePreset::decode(f.read(QDir(f.folder).filePath("Чистка-1.json")))->name, QStringLiteral("Чистка/1"));
    ASSERT_TRUE(waitUntil([&] { return f.library.presets().size() == 3; }));

    // A dot name is stored visibly and listed; a long one still fits with its number.
    ASSERT_TRUE(f.library.store(preset(QStringLiteral(".secret"))));
    const QString longName(300, QChar(0x0436)); // two UTF-8 bytes each
    ASSERT_TRUE(f.library.store(preset(longName)));
    ASSERT_TRUE(f.library.store(preset(longName)));
    for (const QString &file : f.files())
        EXPECT_LE(file.toUtf8().size(), FileNaming::maxNameBytes) << file.toStdString();
    ASSERT_TRUE(settleCommands());
    f.reload();
    EXPECT_EQ(f.library.presets().size(), 6);
    EXPECT_TRUE(f.files().contains(QStringLiteral("secret.json")));
    // No temporary file is left behind.
    EXPECT_EQ(f.files().size(), 6);
}

TEST(PresetLibrary, AFileThatAppearsBeforeTheWriteIsNotReplaced)
{
    QTemporaryDir dir;
    int calls = 0;
    const PresetFileWriter::Outcome outcome = PresetFileWriter::writeNew(
        dir.path(), QStringLiteral("p.json"), QStringLiteral("p.json"), QByteArray("new"), [&](const QString &path) {
            if (calls++ == 0) { // someone else creates the chosen name just now
                QFile other(path);
                other.open(QIODevice::WriteOnly);
                other.write("theirs");
            }
        });
    EXPECT_TRUE(outcome.error.isEmpty());
    EXPECT_EQ(QFileInfo(outcome.path).fileName(), QStringLiteral("p-2.json"));
    QFile theirs(dir.filePath(QStringLiteral("p.json")));
    ASSERT_TRUE(theirs.open(QIODevice::ReadOnly));
    EXPECT_EQ(theirs.readAll(), QByteArray("theirs"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST(PresetLibrary, AFailedStoreSaysWhyAndWritesNothing)
{
    LibraryFixture f;
    QDir(f.folder).removeRecursively();
    QFile blocker(f.folder);
    blocker.open(QIODevice::WriteOnly);
    blocker.close();
    EXPECT_FALSE(f.library.store(preset("x")));
    ASSERT_TRUE(f.library.errorMessage().has_value());
    EXPECT_TRUE(f.library.errorMessage()->startsWith(QStringLiteral("Не удалось сохранить пресет: ")));
}

TEST(PresetLibrary, CopyInTakesAFreeName)
{
    LibraryFixture f;
    QTemporaryDir elsewhere;
    const QString source = elsewhere.filePath(QStringLiteral("Мой.json"));
    QFile file(source);
    file.open(QIODevice::WriteOnly);
    file.write(preset("Мой").encode());
    file.close();
    ASSERT_TRUE(f.library.copyIn(source));
    ASSERT_TRUE(f.library.copyIn(source));
    const QString text = elsewhere.filePath(QStringLiteral("list.txt"));
    QFile::copy(source, text);
    ASSERT_TRUE(f.library.copyIn(text));
    ASSERT_TRUE(f.library.copyIn(text));
    EXPECT_EQ(f.files(), (QStringList{"list-2.json", "list.txt", "Мой-2.json", "Мой.json"}));
    ASSERT_TRUE(settleCommands());
    f.reload();
    EXPECT_EQ(f.library.presets().size(), 3); // the ".txt" copy is kept but not listed
    EXPECT_EQ(f.read(QDir(f.folder).filePath("Мой-2.json")), preset("Мой").encode());

    // A special file is refused at once instead of hanging the window.
    const QString fifo = elsewhere.filePath(QStringLiteral("pipe.json"));
    ::mkfifo(QFile::encodeName(fifo).constData(), 0644);
    EXPECT_FALSE(f.library.copyIn(fifo));
    EXPECT_TRUE(f.library.errorMessage()->startsWith(QStringLiteral("Не удалось добавить пресет в библиотеку: ")));
}

TEST(PresetLibrary, ExportLosesNoFile)
{
    LibraryFixture f;
    ASSERT_TRUE(f.library.store(preset("Экспорт")));
    f.reload();
    ASSERT_EQ(f.library.presets().size(), 1);
    const StoredPreset stored = f.library.presets().at(0);
    const QByteArray original = f.read(stored.path);
    QTemporaryDir out;

    // Over an existing file: replaced byte for byte.
    const QString existing = out.filePath(QStringLiteral("old.json"));
    QFile old(existing);
    old.open(QIODevice::WriteOnly);
    old.write("old");
    old.close();
    EXPECT_TRUE(f.library.exportTo(stored, existing));
    EXPECT_EQ(f.read(existing), original);

    // Onto itself, even spelled differently: nothing is lost.
    EXPECT_TRUE(f.library.exportTo(stored, f.folder + QStringLiteral("/./") + QFileInfo(stored.path).fileName()));
    EXPECT_EQ(f.read(stored.path), original);
    EXPECT_FALSE(f.library.errorMessage().has_value());

    // A folder is refused, with what it holds.
    const QString folder = out.filePath(QStringLiteral("folder.json"));
    QDir().mkpath(folder + QStringLiteral("/inner"));
    EXPECT_FALSE(f.library.exportTo(stored, folder));
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/inner")));
    ASSERT_TRUE(f.library.errorMessage().has_value());
    EXPECT_TRUE(f.library.errorMessage()->startsWith(QStringLiteral("Не удалось экспортировать пресет: ")));
    f.library.errorMessage.set(std::nullopt);

    // A failed export (the stored file vanished) leaves the destination's file as it was.
    const QString keep = out.filePath(QStringLiteral("keep.json"));
    QFile kept(keep);
    kept.open(QIODevice::WriteOnly);
    kept.write("mine");
    kept.close();
    QFile::remove(stored.path);
    EXPECT_FALSE(f.library.exportTo(stored, keep));
    EXPECT_EQ(f.read(keep), QByteArray("mine"));
    EXPECT_TRUE(f.library.errorMessage().has_value());
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).size(), 2); // no temporary left
}

TEST(PresetLibrary, DeleteMovesToTheTrash)
{
    LibraryFixture f;
    QTemporaryDir data; // the desktop Trash lives under XDG_DATA_HOME
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    ASSERT_TRUE(f.library.store(preset("Удалить")));
    f.reload();
    ASSERT_EQ(f.library.presets().size(), 1);
    f.library.remove(f.library.presets().at(0));
    if (saved.isNull())
        qunsetenv("XDG_DATA_HOME");
    else
        qputenv("XDG_DATA_HOME", saved);
    ASSERT_TRUE(waitUntil([&] { return f.library.presets().isEmpty(); }));
    EXPECT_TRUE(QFileInfo::exists(data.path() + QStringLiteral("/Trash/files/Удалить.json")));

    // A file that is gone cannot go to the Trash: said, and the list stays.
    f.library.remove(StoredPreset{QDir(f.folder).filePath(QStringLiteral("gone.json")), preset("x")});
    ASSERT_TRUE(f.library.errorMessage().has_value());
    EXPECT_TRUE(f.library.errorMessage()->startsWith(QStringLiteral("Не удалось удалить пресет: ")));
}

TEST(PresetLibrary, TheFormerFolderMovesOverOnlyOnce)
{
    const struct {
        const char *what;
        bool legacy;
        bool current;
        bool moved;
    } cases[] = {
        {"only the former folder", true, false, true},
        {"both folders", true, true, false},
        {"neither folder", false, false, false},
    };
    for (const auto &c : cases) {
        QTemporaryDir base;
        const QString legacy = base.filePath(QStringLiteral("Wrenfield/Presets"));
        const QString current = base.filePath(QStringLiteral("Larkspur/Presets"));
        if (c.legacy) {
            QDir().mkpath(legacy);
            QFile(legacy + QStringLiteral("/a.json")).open(QIODevice::WriteOnly);
        }
        if (c.current)
            QDir().mkpath(current);
        PresetLibrary::adoptLegacyFolder(legacy, current);
        EXPECT_EQ(QFileInfo::exists(current + QStringLiteral("/a.json")), c.moved) << c.what;
        EXPECT_EQ(QFileInfo::exists(legacy), c.legacy && !c.moved) << c.what;
        EXPECT_EQ(QFileInfo::exists(current), c.current || c.moved) << c.what; // nothing created otherwise
    }
}

} // namespace
