#include "E2eTest.h"

#include "E2eTools.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>

namespace {

using InstallExport = E2eTest;

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// An APK from a folder whose name holds spaces, quotes and Cyrillic letters is installed;
// the device lists the new package and so does the model.
TEST_F(InstallExport, ApkFromAnOddlyNamedFolderIsInstalled)
{
    const QString packageName = QStringLiteral("org.kestrel.probe");
    ASSERT_TRUE(phone->package(packageName).isEmpty());
    const QString folder = session->path(QStringLiteral("Загрузки 'мои' $(x)"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString apk = folder + QStringLiteral("/Проба \"новая\".apk");
    QString error;
    ASSERT_TRUE(E2eTools::writeApk(apk, packageName, 7, &error)) << error.toStdString();

    finish(model->install({apk}));
    EXPECT_TRUE(statuses.contains(QStringLiteral("Установка завершена")))
        << statuses.join(QLatin1Char('\n')).toStdString();
    // adb streams the file to the device's installer, which reads its size first.
    EXPECT_TRUE(phone->shellCommands().contains(
        QStringLiteral("cmd package 'install' '-r' -S %1").arg(QFileInfo(apk).size())));
    const QJsonObject installed = phone->package(packageName);
    ASSERT_FALSE(installed.isEmpty()) << model->logs().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(installed.value(QStringLiteral("versionCode")).toInt(), 7);
    EXPECT_TRUE(installed.value(QStringLiteral("installed")).toBool());
    // The bytes on the device are the file's.
    EXPECT_EQ(fileBytes(phone->storagePath(installed.value(QStringLiteral("apk")).toString())), fileBytes(apk));

    ASSERT_TRUE(eventually([&] { return listed(packageName).has_value() && !model->isBusy(); }));
    EXPECT_EQ(listed(packageName)->kind, PackageKind::user);
}

// Exporting a package with split APKs copies every APK the device lists, byte for byte,
// into a dated folder inside the chosen one.
TEST_F(InstallExport, ExportPullsEveryApkOfThePackage)
{
    const QJsonObject target = phonePackage([](const QJsonObject &p) {
        return !p.value(QStringLiteral("system")).toBool() && p.value(QStringLiteral("installed")).toBool()
            && !p.value(QStringLiteral("splits")).toArray().isEmpty();
    });
    ASSERT_FALSE(target.isEmpty());
    const QString name = target.value(QStringLiteral("name")).toString();
    const QString baseApk = target.value(QStringLiteral("apk")).toString();
    QStringList deviceApks{baseApk};
    for (const QJsonValue &split : target.value(QStringLiteral("splits")).toArray())
        deviceApks << baseApk.section(QLatin1Char('/'), 0, -2) + QLatin1Char('/') + split.toString();

    const QString destination = session->path(QStringLiteral("Выгрузка с пробелом"));
    ASSERT_TRUE(QDir().mkpath(destination));
    finish(model->exportPackages({name}, destination));
    EXPECT_EQ(model->packageExportErrorMessage(), std::nullopt);
    EXPECT_TRUE(statuses.contains(QStringLiteral("Скачано пакетов: 1, APK-файлов: %1").arg(deviceApks.size())))
        << statuses.join(QLatin1Char('\n')).toStdString();

    const QStringList dated = QDir(destination).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(dated.size(), 1);
    EXPECT_TRUE(dated.first().startsWith(QStringLiteral("Kestrel-Export-")));
    const QDir packageFolder(destination + QLatin1Char('/') + dated.first() + QLatin1Char('/') + name);
    QStringList expectedNames;
    for (const QString &remote : deviceApks) {
        const QString fileName = remote.section(QLatin1Char('/'), -1);
        expectedNames << fileName;
        const QByteArray pulled = fileBytes(packageFolder.filePath(fileName));
        EXPECT_FALSE(pulled.isEmpty()) << fileName.toStdString();
        EXPECT_EQ(pulled, fileBytes(phone->storagePath(remote))) << fileName.toStdString();
    }
    QStringList written = packageFolder.entryList(QDir::Files);
    written.sort();
    expectedNames.sort();
    EXPECT_EQ(written, expectedNames);
    EXPECT_TRUE(phone->shellCommands().contains(QStringLiteral("pm path ") + name));
}

} // namespace
