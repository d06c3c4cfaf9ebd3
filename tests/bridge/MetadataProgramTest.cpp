// The on-device metadata program, run on this machine: the shipped dex is translated to
// JVM classes at build time and runs on the host's Java against stand-ins of our own for
// the framework classes it calls (tests/bridge/metadata-host). Its output goes through the
// application's own parser, so a line the program gets wrong is a record that goes missing.
#include "bridge/ADBService.h"
#include "bridge/ProcessExecution.h"
#include "bridge/Resources.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>

namespace {

using namespace std::chrono_literals;

const QString kHostDir = QStringLiteral(KESTREL_METADATA_HOST);
constexpr QRgb kIconColour = 0xff2050c0; // what the stand-in icons paint

QString builtDex()
{
    return Resources::path(QStringLiteral("kestrel-metadata.dex"));
}

// One package of the pretend device and what the program must report for it.
struct FakeApp {
    QString name;
    QString state = QStringLiteral("enabled");
    QString label;                        // the label the device holds; "!throws" and "!null" as the stand-in reads them
    QString icon = QStringLiteral("48x48");
    qint64 base = 1000;                   // bytes of the base APK; -1: the file is gone; -2: no path at all
    QList<qint64> splits;                 // bytes of each split APK; -1: that split is gone
    // Expected:
    bool listed = true;
    QString shownLabel;                   // empty: the package name
    qint64 size = 1000;
    QSize iconSize{48, 48};               // invalid: no icon
};

// The stand-in's table (see fake/FakeDevice.java) and the APK files it points at.
QString writeDevice(const QTemporaryDir &dir, const QList<FakeApp> &apps)
{
    auto apk = [&](const QString &name, qint64 bytes) {
        const QString path = dir.filePath(name);
        if (bytes >= 0) {
            QFile f(path);
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(bytes, 'x'));
        }
        return path;
    };
    QByteArray table;
    for (const FakeApp &a : apps) {
        QStringList splits;
        for (int i = 0; i < a.splits.size(); ++i)
            splits << apk(a.name + QStringLiteral("-split%1.apk").arg(i), a.splits[i]);
        const QString base = a.base == -2 ? QStringLiteral("-") : apk(a.name + QStringLiteral(".apk"), a.base);
        const QByteArray label = a.label.startsWith(u'!') ? a.label.toUtf8() : QUrl::toPercentEncoding(a.label);
        table += a.name.toUtf8() + '\t' + a.state.toUtf8() + '\t' + label + '\t' + a.icon.toUtf8() + '\t'
                 + base.toUtf8() + '\t' + splits.join(u':').toUtf8() + '\n';
    }
    const QString path = dir.filePath(QStringLiteral("packages.tsv"));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(table);
    return path;
}

// Runs the translated program in the C locale, so nothing but the program itself makes its output UTF-8.
CommandResult runProgram(const QStringList &properties)
{
    const QByteArray locale = qgetenv("LC_ALL");
    qputenv("LC_ALL", "C");
    QStringList args{QStringLiteral("-cp"), kHostDir + QStringLiteral("/classes:") + kHostDir + QStringLiteral("/kestrel-metadata.jar")};
    args << properties << QStringLiteral("local.quill.kestrel.MetadataMain");
    const CommandResult result = runProcess(QStringLiteral(KESTREL_JAVA), args, 120000ms);
    qputenv("LC_ALL", locale);
    return result;
}

int jsonLines(const QString &out)
{
    return int(out.split(u'\n', Qt::SkipEmptyParts).size());
}

TEST(MetadataProgram, DexHoldsTheEntryPointAndShipsAmongTheResources)
{
    const QString dex = builtDex();
    ASSERT_FALSE(dex.isEmpty()) << "the resource lookup does not find kestrel-metadata.dex";
    EXPECT_EQ(QFileInfo(dex).canonicalFilePath(),
              QFileInfo(QStringLiteral(KESTREL_BUILD_DIR "/resources/kestrel-metadata.dex")).canonicalFilePath());

    const CommandResult dump = runProcess(QStringLiteral(KESTREL_DEXDUMP), {dex}, 60000ms);
    ASSERT_EQ(dump.exitCode, 0) << dump.stdErr.toStdString();
    EXPECT_TRUE(dump.stdOut.contains(QStringLiteral("Class descriptor  : 'Llocal/quill/kestrel/MetadataMain;'")))
        << dump.stdOut.toStdString();
    static const QRegularExpression main(QStringLiteral(
        R"(\(in Llocal/quill/kestrel/MetadataMain;\)\s+name\s+: 'main'\s+type\s+: '\(\[Ljava/lang/String;\)V'\s+)"
        R"(access\s+: 0x0009 \(PUBLIC STATIC\))"));
    EXPECT_TRUE(main.match(dump.stdOut).hasMatch()) << dump.stdOut.toStdString();
}

TEST(MetadataProgram, ReportsEveryPackageOfAFakeDevice)
{
    const QString awkward = QStringLiteral("Say \"hi\" \\ C:\\\\dir\nПривет, мир\t\r\x01\x1f\u0085\u2028\u2029 😀 end");
    // clang-format off
    const QList<FakeApp> apps{
        {.name = "com.example.notes", .label = "Заметки", .shownLabel = "Заметки"},
        {.name = "com.example.awkward", .label = awkward, .shownLabel = awkward},
        {.name = "com.example.labelthrows", .label = "!throws"},
        {.name = "com.example.nolabel", .label = "!null"},
        {.name = "com.example.blanklabel", .label = " \t "},
        {.name = "com.example.noicon", .label = "No icon", .icon = "none", .shownLabel = "No icon", .iconSize = {}},
        {.name = "com.example.iconthrows", .label = "I", .icon = "throws", .shownLabel = "I", .iconSize = {}},
        {.name = "com.example.drawfails", .label = "D", .icon = "draw-throws", .shownLabel = "D", .iconSize = {}},
        {.name = "com.example.hugeicon", .label = "H", .icon = "5000x3000", .shownLabel = "H", .iconSize = {112, 67}},
        {.name = "com.example.tallicon", .label = "T", .icon = "30x9000", .shownLabel = "T", .iconSize = {1, 112}},
        {.name = "com.example.exacticon", .label = "X", .icon = "112x112", .shownLabel = "X", .iconSize = {112, 112}},
        {.name = "com.example.sizeless", .label = "S", .icon = "0x0", .shownLabel = "S", .iconSize = {112, 112}},
        {.name = "com.example.split", .label = "Split", .base = 4096, .splits = {300, 20}, .shownLabel = "Split", .size = 4416},
        {.name = "com.example.splitgone", .label = "G", .base = 10, .splits = {-1, 5}, .shownLabel = "G", .size = 15},
        {.name = "com.example.empty", .label = "E", .base = 0, .shownLabel = "E", .size = 0},
        {.name = "com.example.apkgone", .label = "Gone", .base = -1, .listed = false},
        {.name = "com.example.nopath", .label = "None", .base = -2, .listed = false},
        {.name = "com.example.disabled", .state = "disabled", .label = "Off", .shownLabel = "Off"},
        {.name = "com.example.untilused", .state = "disabled-until-used", .label = "Later", .shownLabel = "Later"},
        {.name = "com.example.removed", .state = "uninstalled", .label = "Removed", .shownLabel = "Removed"},
    };
    // clang-format on
    QTemporaryDir dir;
    const CommandResult run = runProgram({QStringLiteral("-Dfake.packages=") + writeDevice(dir, apps)});
    ASSERT_EQ(run.exitCode, 0) << run.stdErr.toStdString();
    EXPECT_TRUE(run.stdErr.isEmpty()) << run.stdErr.toStdString();

    const QHash<QString, PackageMetadata> records = ADBService::parsePackageMetadata(run.stdOut);
    // Every line the program printed is a record: none was broken.
    EXPECT_EQ(jsonLines(run.stdOut), records.size()) << run.stdOut.toStdString();
    qsizetype listed = 0;
    for (const FakeApp &a : apps) {
        SCOPED_TRACE(a.name.toStdString());
        if (!a.listed) {
            EXPECT_FALSE(records.contains(a.name));
            continue;
        }
        ++listed;
        ASSERT_TRUE(records.contains(a.name)) << run.stdOut.toStdString();
        const PackageMetadata &m = records[a.name];
        EXPECT_EQ(m.label, a.shownLabel.isEmpty() ? a.name : a.shownLabel);
        EXPECT_EQ(m.size, a.size);
        ASSERT_EQ(m.iconData.has_value(), a.iconSize.isValid());
        if (!m.iconData)
            continue;
        EXPECT_TRUE(m.iconData->startsWith("\x89PNG\r\n\x1a\n"));
        const QImage icon = QImage::fromData(*m.iconData);
        ASSERT_FALSE(icon.isNull());
        EXPECT_EQ(icon.size(), a.iconSize);
        // Drawn over the whole bitmap.
        EXPECT_EQ(icon.pixel(0, 0), kIconColour);
        EXPECT_EQ(icon.pixel(icon.width() - 1, icon.height() - 1), kIconColour);
    }
    EXPECT_EQ(records.size(), listed);
}

TEST(MetadataProgram, ThousandsOfPackagesComeThroughWhole)
{
    QList<FakeApp> apps;
    for (int i = 0; i < 2000; ++i)
        apps.append({.name = QStringLiteral("org.bulk.app%1").arg(i), .label = QStringLiteral("Приложение %1").arg(i),
                     .icon = QStringLiteral("%1x%1").arg(40 + i % 200), .base = i});
    QTemporaryDir dir;
    const CommandResult run = runProgram({QStringLiteral("-Dfake.packages=") + writeDevice(dir, apps)});
    ASSERT_EQ(run.exitCode, 0) << run.stdErr.toStdString();
    const QHash<QString, PackageMetadata> records = ADBService::parsePackageMetadata(run.stdOut);
    ASSERT_EQ(records.size(), apps.size());
    EXPECT_EQ(jsonLines(run.stdOut), apps.size());
    for (int i = 0; i < apps.size(); i += 661) {
        const PackageMetadata &m = records[apps[i].name];
        EXPECT_EQ(m.label, QStringLiteral("Приложение %1").arg(i));
        EXPECT_EQ(m.size, i);
        const int side = std::min(40 + i % 200, 112);
        EXPECT_EQ(QImage::fromData(m.iconData.value_or(QByteArray())).size(), QSize(side, side));
    }
}

TEST(MetadataProgram, AFailedListingExitsWithOneAndSaysWhy)
{
    const CommandResult run = runProgram({QStringLiteral("-Dfake.list=fails")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.stdOut.isEmpty()) << run.stdOut.toStdString();
    EXPECT_EQ(run.stdErr, QStringLiteral("kestrel-metadata: java.lang.SecurityException: listing refused\n"));
}

} // namespace
