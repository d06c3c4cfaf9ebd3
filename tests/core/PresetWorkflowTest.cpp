#include "ModelHarness.h"

#include "core/FileNaming.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

const QString kLoadPrefix = QStringLiteral("Не удалось загрузить пресет: ");
const QString kSavePrefix = QStringLiteral("Не удалось сохранить пресет: ");

QJsonObject presetObject(const QJsonArray &packages, qint64 version = 1, const QString &name = QStringLiteral("Чистка"))
{
    return QJsonObject{{"version", version},        {"name", name},          {"description", "  описание  "},
                       {"action", "disable"},       {"packages", packages}, {"createdAt", "2026-01-02T03:04:05Z"}};
}

struct PresetHarness : ModelHarness {
    QTemporaryDir dir;

    PresetHarness()
    {
        model->presetLibraryFolder = dir.filePath(QStringLiteral("library"));
        QDir().mkpath(model->presetLibraryFolder);
    }

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QString write(const QString &name, const QJsonObject &object)
    {
        return write(name, QJsonDocument(object).toJson());
    }
    QStringList entryNames() const
    {
        QStringList out;
        for (const auto &e : model->presetPreview()->entries)
            out << e.packageName;
        return out;
    }
};

QJsonArray manyNames(int count, const QString &stem = QStringLiteral("com.example.p"))
{
    QJsonArray a;
    for (int i = 0; i < count; ++i)
        a.append(stem + QString::number(i));
    return a;
}

TEST(PresetLoad, CleansNamesAndReportsTheOnesThatAreNotPackageNames)
{
    PresetHarness h;
    h->packages.set({AndroidPackage(QStringLiteral("com.b"), std::nullopt, PackageKind::system)});
    h->loadPreset(h.write("p.json", presetObject({" com.a ", "com.a", "com b", "", "com.b", "com.x;reboot",
                                                 "$(rm -rf /)", "com.x;reboot", "-f"})));
    ASSERT_TRUE(h->presetPreview().has_value());
    EXPECT_EQ(h.entryNames(), (QStringList{"com.a", "com.b"}));
    EXPECT_EQ(h->presetPreview()->inapplicableNames, (QStringList{"com b", "com.x;reboot", "$(rm -rf /)", "-f"}));
    const PackagePreset &preset = h->presetPreview()->preset;
    EXPECT_EQ(preset.packages, (QStringList{"com.a", "com.b"}));
    EXPECT_EQ(preset.description, QStringLiteral("описание"));
    EXPECT_EQ(preset.createdAt, QStringLiteral("2026-01-02T03:04:05Z"));
    const auto &entries = h->presetPreview()->entries;
    EXPECT_EQ(entries[0], (PresetPackageEntry{"com.a", "com.a", std::nullopt}));
    EXPECT_EQ(entries[1].kind, PackageKind::system);
    EXPECT_EQ(h->statusText(), QStringLiteral("Пресет загружен: найдено 1 из 2"));
    EXPECT_TRUE(logTexts(*h).contains(QStringLiteral("Пресет «Чистка»: найдено 1, отсутствует 1, неприменимо 4")));
    EXPECT_FALSE(h->presetErrorMessage().has_value());
}

TEST(PresetLoad, RefusalsTable)
{
    struct Case { const char *what; QByteArray bytes; QString message; };
    QJsonObject noDescription = presetObject({"com.a"});
    noDescription.remove("description");
    QJsonObject badAction = presetObject({"com.a"});
    badAction["action"] = "enable";
    QJsonArray over = manyNames(5001);
    QJsonArray exactlyMax = manyNames(5000);
    const QString format = QStringLiteral("Не удалось прочитать данные, так как они имеют неверный формат.");
    const Case cases[] = {
        {"version 2", QJsonDocument(presetObject({"com.a"}, 2)).toJson(), "Версия пресета 2 не поддерживается"},
        {"version 0", QJsonDocument(presetObject({"com.a"}, 0)).toJson(), "Версия пресета 0 не поддерживается"},
        {"version -1", QJsonDocument(presetObject({"com.a"}, -1)).toJson(), "Версия пресета -1 не поддерживается"},
        {"blank name", QJsonDocument(presetObject({"com.a"}, 1, "   ")).toJson(), "В пресете не указано название"},
        {"no usable name", QJsonDocument(presetObject({" ", "a b", "1bad"})).toJson(),
         "В пресете нет корректных идентификаторов пакетов"},
        {"5001 names", QJsonDocument(presetObject(over)).toJson(), "Пресет содержит больше 5000 пакетов"},
        {"malformed", QByteArray("{\"version\": 1,"), format},
        {"missing description", QJsonDocument(noDescription).toJson(), format},
        {"action enable", QJsonDocument(badAction).toJson(), format},
        {"over 1 MB", QByteArray(1'000'001, ' '), "Файл пресета превышает допустимый размер 1 МБ"},
    };
    for (const Case &c : cases) {
        PresetHarness h;
        h->loadPreset(h.write("ok.json", presetObject({"com.ok"})));
        ASSERT_TRUE(h->presetPreview().has_value());
        const auto earlier = h->presetPreview();
        const QString status = h->statusText();
        h->loadPreset(h.write("bad.json", c.bytes));
        EXPECT_EQ(h->presetErrorMessage(), kLoadPrefix + c.message) << c.what;
        EXPECT_EQ(h->presetPreview(), earlier) << c.what; // a failed load keeps the earlier preview
        EXPECT_EQ(h->statusText(), status) << c.what;
        EXPECT_EQ(logTexts(*h).last(), kLoadPrefix + c.message) << c.what;
    }
    // 5000 usable names load; duplicates and unusable entries do not count.
    PresetHarness h;
    exactlyMax.append("com.example.p1");
    exactlyMax.append("not a name");
    h->loadPreset(h.write("max.json", presetObject(exactlyMax)));
    ASSERT_TRUE(h->presetPreview().has_value());
    EXPECT_EQ(h->presetPreview()->entries.size(), 5000);
    EXPECT_EQ(h->statusText(), QStringLiteral("Пресет загружен: найдено 0 из 5000"));
}

TEST(PresetLoad, SpecialFilesAreRefusedAtOnce)
{
    PresetHarness h;
    const QString fifo = h.dir.filePath(QStringLiteral("pipe.json"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QElapsedTimer t;
    t.start();
    h->loadPreset(fifo);
    EXPECT_LT(t.elapsed(), 10000); // a read would wait for a writer for ever
    ASSERT_TRUE(h->presetErrorMessage().has_value());
    EXPECT_TRUE(h->presetErrorMessage()->startsWith(kLoadPrefix));
    EXPECT_TRUE(h->presetErrorMessage()->contains(QStringLiteral("не является обычным файлом")));
    h->loadPreset(QStringLiteral("/dev/zero"));
    EXPECT_TRUE(h->presetErrorMessage()->contains(QStringLiteral("не является обычным файлом")));
    EXPECT_FALSE(h->presetPreview().has_value());
}

QJsonObject readJson(const QString &path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return QJsonDocument::fromJson(f.readAll()).object();
}

TEST(PresetSave, WritesTheSortedSelection)
{
    PresetHarness h;
    h->selectedPackageIDs.set({"com.zeta", "com.alpha", "com.Beta"});
    const QString path = h.dir.filePath(QStringLiteral("out.json"));
    h->savePreset(path, QStringLiteral("  Мой пресет "), QStringLiteral(" d "), PresetAction::uninstall);
    EXPECT_FALSE(h->presetErrorMessage().has_value());
    const QJsonObject o = readJson(path);
    EXPECT_EQ(o.value("version").toInteger(), 1);
    EXPECT_EQ(o.value("name").toString(), QStringLiteral("Мой пресет"));
    EXPECT_EQ(o.value("description").toString(), QStringLiteral("d"));
    EXPECT_EQ(o.value("action").toString(), QStringLiteral("uninstall"));
    EXPECT_EQ(o.value("packages").toArray(), (QJsonArray{"com.Beta", "com.alpha", "com.zeta"}));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ$"))
                    .match(o.value("createdAt").toString())
                    .hasMatch());
    EXPECT_EQ(h->statusText(), QStringLiteral("Пресет сохранён: 3 приложений"));
    EXPECT_EQ(logTexts(*h).last(), QStringLiteral("Пресет «Мой пресет» сохранён: out.json"));
    // Written by the loader's own rules, the file loads back.
    h->loadPreset(path);
    EXPECT_EQ(h.entryNames(), (QStringList{"com.Beta", "com.alpha", "com.zeta"}));
}

TEST(PresetSave, RefusalsComeInOrder)
{
    PresetHarness h;
    const QString path = h.dir.filePath(QStringLiteral("x.json"));
    h->savePreset(path, QStringLiteral("  "), QString(), PresetAction::disable);
    EXPECT_EQ(h->presetErrorMessage(), kSavePrefix + QStringLiteral("Укажите название пресета"));
    h->savePreset(path, QStringLiteral("Имя"), QString(), PresetAction::disable);
    EXPECT_EQ(h->presetErrorMessage(), kSavePrefix + QStringLiteral("Выберите хотя бы одно приложение"));
    EXPECT_EQ(logTexts(*h).last(), kSavePrefix + QStringLiteral("Выберите хотя бы одно приложение"));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(h->statusText(), QStringLiteral("Готово"));

    // A write that cannot happen leaves nothing behind.
    h->selectedPackageIDs.set({"com.a"});
    const QString nowhere = h.dir.filePath(QStringLiteral("missing/folder/x.json"));
    h->savePreset(nowhere, QStringLiteral("Имя"), QString(), PresetAction::disable);
    EXPECT_TRUE(h->presetErrorMessage()->startsWith(kSavePrefix + QStringLiteral("Не удалось записать файл «x.json»")));
    EXPECT_FALSE(QFile::exists(nowhere));
    EXPECT_EQ(h->statusText(), QStringLiteral("Готово"));
}

TEST(PresetSave, NeverReplacesAPresetOfTheLibrary)
{
    PresetHarness h;
    h->selectedPackageIDs.set({"com.a"});
    const QString first = QDir(h->presetLibraryFolder).filePath(QStringLiteral("Чистка.json"));
    h.write("library/Чистка.json", QByteArray("keep me"));
    h.write("library/Чистка-2.json", QByteArray("keep me too"));
    h->savePreset(first, QStringLiteral("Чистка"), QString(), PresetAction::disable);
    EXPECT_FALSE(h->presetErrorMessage().has_value());
    QFile kept(first);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("keep me"));
    const QString third = QDir(h->presetLibraryFolder).filePath(QStringLiteral("Чистка-3.json"));
    EXPECT_EQ(readJson(third).value("packages").toArray(), QJsonArray{"com.a"});
    EXPECT_EQ(logTexts(*h).last(), QStringLiteral("Пресет «Чистка» сохранён: Чистка-3.json"));
    // No temporary file is left in the library.
    EXPECT_EQ(QDir(h->presetLibraryFolder).entryList(QDir::Files | QDir::Hidden).size(), 3);

    // Outside the library the user chose to replace the file in the save panel.
    const QString elsewhere = h.write("chosen.json", QByteArray("old"));
    h->savePreset(elsewhere, QStringLiteral("Чистка"), QString(), PresetAction::disable);
    EXPECT_EQ(readJson(elsewhere).value("name").toString(), QStringLiteral("Чистка"));
}

TEST(PresetPreviewActions, SelectRequestAndConfirm)
{
    PresetHarness h;
    h->packages.set({AndroidPackage(QStringLiteral("com.a"), std::nullopt, PackageKind::user),
                     AndroidPackage(QStringLiteral("com.b"), std::nullopt, PackageKind::system)});
    h->loadPreset(h.write("p.json", presetObject({"com.b", "com.missing", "com.a"})));
    const PresetPreview preview = *h->presetPreview();
    EXPECT_EQ(preview.systemCount(), 1);
    EXPECT_EQ(preview.userCount(), 1);

    h->searchText.set(QStringLiteral("abc"));
    h->packageFilter.set(PackageFilter::system);
    h->selectPackages(preview);
    EXPECT_EQ(h->selectedPackageIDs(), (QSet<QString>{"com.a", "com.b"}));
    EXPECT_EQ(h->searchText(), QString());
    EXPECT_EQ(h->packageFilter(), PackageFilter::all);
    EXPECT_FALSE(h->presetPreview().has_value());
    EXPECT_EQ(h->statusText(), QStringLiteral("Выбрано из пресета: 2"));

    // A preview with nothing installed cannot be run; the sheet stays.
    h->packages.set({});
    h->loadPreset(h.write("q.json", presetObject({"com.a"})));
    const PresetPreview nothing = *h->presetPreview();
    h->requestPresetExecution(nothing);
    EXPECT_TRUE(h->presetPreview().has_value());
    EXPECT_FALSE(h->pendingPresetExecution().has_value());

    h->requestPresetExecution(preview);
    EXPECT_FALSE(h->presetPreview().has_value());
    EXPECT_EQ(h->pendingPresetExecution(), preview);
}

} // namespace

namespace {

// Confirming runs the preset's action on its installed packages in the file's order.
TEST(PresetPreviewActions, ConfirmRunsInstalledEntriesInPresetOrder)
{
    PresetHarness h;
    h->devices.set({AndroidDevice{"SER1", "device", "Pixel", "1"}});
    h->selectedDeviceID.set(QStringLiteral("SER1"));
    h->packages.set({AndroidPackage(QStringLiteral("com.a"), std::nullopt, PackageKind::user),
                     AndroidPackage(QStringLiteral("com.b"), std::nullopt, PackageKind::system)});
    QJsonObject object = presetObject({"com.b", "com.missing", "com.a"});
    object["action"] = "uninstall";
    h->loadPreset(h.write("p.json", object));
    h->requestPresetExecution(*h->presetPreview());
    h.fake.setDefault({});
    h->confirmPresetExecution();
    EXPECT_FALSE(h->pendingPresetExecution().has_value());
    EXPECT_EQ(h->selectedPackageIDs(), (QSet<QString>{"com.a", "com.b"}));
    ASSERT_TRUE(waitUntil([&] { return !h->recentOperations().isEmpty(); }));
    QList<QStringList> uninstalls;
    for (const QStringList &c : h.fake.calls())
        if (c.contains(QStringLiteral("uninstall")))
            uninstalls << c;
    EXPECT_EQ(uninstalls, (QList<QStringList>{{"-s", "SER1", "shell", "pm", "uninstall", "--user", "0", "com.b"},
                                              {"-s", "SER1", "shell", "pm", "uninstall", "--user", "0", "com.a"}}));
    EXPECT_FALSE(h->pendingAction().has_value()); // not confirmed a second time

    h->confirmPresetExecution(); // nothing pending: nothing happens
    EXPECT_FALSE(h->runningOperation().has_value()); // a batch shows itself at once
    ASSERT_TRUE(settleCommands());
    EXPECT_EQ(h->recentOperations().size(), 1);
}

} // namespace
