#include "bridge/ADBService.h"
#include "bridge/ArchiveUnpacker.h"
#include "bridge/ProcessExecution.h"

#include "FakeTool.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kSerial = QStringLiteral("R58M");

quint32 crc32(const QByteArray &data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (char ch : data) {
        crc ^= quint8(ch);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void put16(QByteArray &b, quint32 v) { b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); }
void put32(QByteArray &b, quint32 v) { put16(b, v & 0xFFFF); put16(b, v >> 16); }

// One stored (uncompressed) entry of a hand-written zip archive.
struct RawEntry {
    QByteArray name;
    QByteArray data;
    quint32 unixMode = 0100644;
    quint16 flags = 0;
    std::optional<quint32> declaredSize; // a size that differs from the data
};

// Writes a valid zip archive byte by byte, so names that zip(1) would clean up survive.
QByteArray zipBytes(const QList<RawEntry> &entries)
{
    QByteArray out, directory;
    for (const RawEntry &e : entries) {
        const quint32 offset = quint32(out.size());
        const quint32 crc = crc32(e.data);
        const quint32 size = e.declaredSize.value_or(quint32(e.data.size()));
        put32(out, 0x04034b50); put16(out, 20); put16(out, e.flags); put16(out, 0); put32(out, 0);
        put32(out, crc); put32(out, quint32(e.data.size())); put32(out, size);
        put16(out, quint16(e.name.size())); put16(out, 0);
        out += e.name;
        out += e.data;
        put32(directory, 0x02014b50); put16(directory, 0x031E); put16(directory, 20); put16(directory, e.flags);
        put16(directory, 0); put32(directory, 0); put32(directory, crc); put32(directory, quint32(e.data.size()));
        put32(directory, size); put16(directory, quint16(e.name.size())); put16(directory, 0); put16(directory, 0);
        put16(directory, 0); put16(directory, 0); put32(directory, e.unixMode << 16); put32(directory, offset);
        directory += e.name;
    }
    const quint32 directoryOffset = quint32(out.size());
    out += directory;
    put32(out, 0x06054b50); put16(out, 0); put16(out, 0); put16(out, quint16(entries.size()));
    put16(out, quint16(entries.size())); put32(out, quint32(directory.size())); put32(out, directoryOffset);
    put16(out, 0);
    return out;
}

// Each test gets its own temporary folder, so leftovers are visible and tests run apart.
class Installs : public ::testing::Test {
protected:
    FakeTool fake;
    ADBService adb{fake.adbPath()};
    QTemporaryDir files;
    QTemporaryDir temp;
    QByteArray savedTmp = qgetenv("TMPDIR");

    void SetUp() override
    {
        qputenv("TMPDIR", temp.path().toUtf8());
        fake.onPrefix({QStringLiteral("-s"), kSerial, QStringLiteral("install-multiple")},
                      {.out = QStringLiteral("Success\n")});
    }
    void TearDown() override { qputenv("TMPDIR", savedTmp); }

    QString write(const QString &relative, const QByteArray &bytes = "APK")
    {
        const QString path = files.path() + QLatin1Char('/') + relative;
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    // Zips the folder `tree` under files/ with zip(1); `links` keeps symbolic links as links.
    QString zipTree(const QString &tree, const QString &archiveName, bool links = false)
    {
        const QString archive = files.path() + QLatin1Char('/') + archiveName;
        const auto r = runProcess(QStringLiteral("/bin/sh"),
                                  {QStringLiteral("-c"), QStringLiteral("cd \"$1\" && zip -q -r %1 \"$2\" .")
                                                             .arg(links ? QStringLiteral("-y") : QString()),
                                   QStringLiteral("sh"), files.path() + QLatin1Char('/') + tree, archive});
        EXPECT_EQ(r.exitCode, 0) << r.combinedOutput().toStdString();
        return archive;
    }

    QStringList workingFolders() const
    {
        return QDir(temp.path()).entryList({QStringLiteral("kestrel-*")}, QDir::AllEntries | QDir::Hidden);
    }
};

TEST_F(Installs, ChoosesTheInstallFormByCountAndExtension)
{
    fake.onPrefix({QStringLiteral("-s"), kSerial, QStringLiteral("install")}, {.out = QStringLiteral("Success\n")});
    const auto none = runSync(adb.install({}, kSerial));
    EXPECT_EQ(none, (CommandResult{-1, QString(), QStringLiteral("Файлы не выбраны")}));
    EXPECT_TRUE(fake.calls().isEmpty());

    const QString apk = write(QStringLiteral("app.apk"));
    const QString xapk = write(QStringLiteral("app.xapk"));
    const QString apks = write(QStringLiteral("b.apks"));
    EXPECT_TRUE(runSync(adb.install({apk}, kSerial)).succeeded());
    runSync(adb.install({xapk}, kSerial));
    runSync(adb.install({apk, apks}, kSerial));
    const QList<QStringList> expected{
        {QStringLiteral("-s"), kSerial, QStringLiteral("install"), QStringLiteral("-r"), apk},
        {QStringLiteral("-s"), kSerial, QStringLiteral("install"), QStringLiteral("-r"), xapk},
        {QStringLiteral("-s"), kSerial, QStringLiteral("install-multiple"), QStringLiteral("-r"), apk, apks},
    };
    EXPECT_EQ(fake.calls(), expected);
}

TEST_F(Installs, ApksArchiveInstallsItsApksInNameOrderAndCleansUp)
{
    write(QStringLiteral("tree/base.apk"));
    write(QStringLiteral("tree/split_config.arm64_v8a.apk"));
    write(QStringLiteral("tree/Split_b.apk"));
    write(QStringLiteral("tree/.hidden.apk"));
    write(QStringLiteral("tree/toc.pb"));
    write(QStringLiteral("tree/splits/nested/a_density.APK"));
    write(QStringLiteral("tree/.meta/c.apk"));
    // A folder the archive marks read-only must not keep the working folder alive.
    write(QStringLiteral("tree/ro/z.apk"));
    QFile::setPermissions(files.path() + QStringLiteral("/tree/ro"), QFile::ReadOwner | QFile::ExeOwner);
    const QString archive = zipTree(QStringLiteral("tree"), QStringLiteral("App.APKS"));
    QFile::setPermissions(files.path() + QStringLiteral("/tree/ro"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const auto r = runSync(adb.install({archive}, kSerial));
    EXPECT_TRUE(r.succeeded()) << r.combinedOutput().toStdString();
    const auto calls = fake.calls();
    ASSERT_EQ(calls.size(), 1);
    const QStringList call = calls.first();
    ASSERT_EQ(call.mid(0, 4), (QStringList{QStringLiteral("-s"), kSerial, QStringLiteral("install-multiple"),
                                           QStringLiteral("-r")}));
    QStringList names;
    for (const QString &path : call.mid(4)) {
        names << QFileInfo(path).fileName();
        EXPECT_TRUE(path.startsWith(temp.path() + QStringLiteral("/kestrel-"))) << path.toStdString();
    }
    EXPECT_EQ(names, (QStringList{QStringLiteral("Split_b.apk"), QStringLiteral("a_density.APK"),
                                  QStringLiteral("base.apk"), QStringLiteral("split_config.arm64_v8a.apk"),
                                  QStringLiteral("z.apk")}));
    // kestrel- and an upper-case UUID, then nothing left behind.
    const QString folder = call.at(4).mid(temp.path().size() + 1).section(QLatin1Char('/'), 0, 0);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^kestrel-[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}$"))
                    .match(folder).hasMatch()) << folder.toStdString();
    EXPECT_TRUE(workingFolders().isEmpty());
}

TEST_F(Installs, ApksWithoutApkOrNotAZipInstallsNothing)
{
    write(QStringLiteral("tree/toc.pb"));
    write(QStringLiteral("tree/base.apk/readme.txt")); // a folder named like an APK
    const QString archive = zipTree(QStringLiteral("tree"), QStringLiteral("empty.apks"));
    EXPECT_EQ(runSync(adb.install({archive}, kSerial)),
              (CommandResult{-1, QString(), QStringLiteral("В контейнере APKS не найдено APK-файлов")}));

    const auto garbage = runSync(adb.install({write(QStringLiteral("x.apks"), "not a zip at all, really")}, kSerial));
    EXPECT_EQ(garbage.exitCode, -1);
    EXPECT_TRUE(garbage.stdErr.contains(QStringLiteral("ZIP"))) << garbage.stdErr.toStdString();

    EXPECT_TRUE(fake.calls().isEmpty());
    EXPECT_TRUE(workingFolders().isEmpty());
}

TEST_F(Installs, HostileArchivesAreRefusedBeforeAnythingIsUnpacked)
{
    struct Case { const char *what; QList<RawEntry> entries; QString reason; };
    const QList<Case> cases{
        {"parent", {{"base.apk", "A"}, {"../evil.apk", "E"}}, QStringLiteral("..")},
        {"nested parent", {{"a/../../evil.apk", "E"}}, QStringLiteral("..")},
        {"backslash parent", {{"..\\evil.apk", "E"}}, QStringLiteral("..")},
        {"absolute", {{"/tmp/evil.apk", "E"}}, QStringLiteral("абсолютный")},
        {"link", {{"base.apk", "A"}, {"link.apk", "/etc/passwd", 0120777}}, QStringLiteral("ссылка")},
        {"character device", {{"tty.apk", "", 0020644}}, QStringLiteral("специальный")},
        {"block device", {{"disk.apk", "", 0060644}}, QStringLiteral("специальный")},
        {"socket", {{"sock.apk", "", 0140644}}, QStringLiteral("специальный")},
        {"encrypted", {{"base.apk", "A", 0100644, 1}}, QStringLiteral("зашифрованный")},
        // Each entry alone fits; together they pass 4 GiB. The second is refused before its data is read.
        {"over 4 GiB declared", {{"a.apk", QByteArray(0x20, 'A')}, {"b.apk", "B", 0100644, 0, 0xFFFFFFF0u}},
         QStringLiteral("объём")},
    };
    for (const Case &c : cases) {
        const QString archive = write(QStringLiteral("hostile.apks"), zipBytes(c.entries));
        const auto r = runSync(adb.install({archive}, kSerial));
        EXPECT_EQ(r.exitCode, -1) << c.what;
        EXPECT_TRUE(r.stdErr.startsWith(QStringLiteral("Архив отклонён"))) << c.what << " " << r.stdErr.toStdString();
        EXPECT_TRUE(r.stdErr.contains(c.reason)) << c.what << " " << r.stdErr.toStdString();
    }
    EXPECT_TRUE(fake.calls().isEmpty());
    EXPECT_TRUE(workingFolders().isEmpty());
    EXPECT_FALSE(QFile::exists(temp.path() + QStringLiteral("/evil.apk")));
    EXPECT_FALSE(QFile::exists(QStringLiteral("/tmp/evil.apk")));
}

// libarchive reads an entry marked as a named pipe as a plain file (some zip tools set that
// bit on ordinary files): it lands as a regular file, never as a pipe.
TEST_F(Installs, AnEntryMarkedAsAPipeLandsAsAPlainFile)
{
    const QString archive = write(QStringLiteral("pipe.apks"), zipBytes({{"pipe.apk", "P", 0010644}}));
    QTemporaryDir out;
    ASSERT_TRUE(unpackArchive(archive, out.path()).succeeded());
    const QFileInfo landed(out.filePath(QStringLiteral("pipe.apk")));
    EXPECT_TRUE(landed.isFile());
    EXPECT_EQ(landed.size(), 1);
}

TEST_F(Installs, ZipToolLinkEntryIsRefused)
{
    write(QStringLiteral("tree/base.apk"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/etc/hostname"), files.path() + QStringLiteral("/tree/other.apk")));
    const QString archive = zipTree(QStringLiteral("tree"), QStringLiteral("links.apks"), true);
    const auto r = runSync(adb.install({archive}, kSerial));
    EXPECT_EQ(r.exitCode, -1);
    EXPECT_TRUE(r.stdErr.contains(QStringLiteral("ссылка"))) << r.stdErr.toStdString();
    EXPECT_TRUE(fake.calls().isEmpty());
    EXPECT_TRUE(workingFolders().isEmpty());
}

TEST_F(Installs, UnpackedTotalIsCapped)
{
    write(QStringLiteral("tree/base.apk"), QByteArray(3000, 'x'));
    write(QStringLiteral("tree/split.apk"), QByteArray(3000, 'y'));
    const QString archive = zipTree(QStringLiteral("tree"), QStringLiteral("big.apks"));
    QTemporaryDir out;
    EXPECT_FALSE(inspectArchive(archive, 6000).has_value());
    EXPECT_TRUE(inspectArchive(archive, 5999).has_value());
    const auto refused = unpackArchive(archive, out.path(), 5999);
    EXPECT_EQ(refused.exitCode, -1);
    EXPECT_TRUE(QDir(out.path()).isEmpty()); // the first entry, written before the second was refused, is gone
    EXPECT_TRUE(unpackArchive(archive, out.path(), 6000).succeeded());
    EXPECT_EQ(collectApkFiles(out.path()).size(), 2);
}

TEST_F(Installs, AnEntryLargerThanDeclaredIsRefusedAndOnlyWhatTheCallWroteIsRemoved)
{
    // The directory declares one byte; the entry holds 3000.
    const QString archive = write(QStringLiteral("liar.apks"), zipBytes({{"a/base.apk", QByteArray(3000, 'x'), 0100644, 0, 1u}}));
    EXPECT_FALSE(inspectArchive(archive, 2000).has_value());
    QTemporaryDir out;
    QFile kept(out.filePath(QStringLiteral("keep.txt")));
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.close();
    const auto r = unpackArchive(archive, out.path(), 2000);
    EXPECT_EQ(r.exitCode, -1);
    EXPECT_TRUE(r.stdErr.startsWith(QStringLiteral("Архив отклонён"))) << r.stdErr.toStdString();
    EXPECT_EQ(QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{QStringLiteral("keep.txt")});
}

TEST_F(Installs, DamagedDirectoriesAreRefusedWithoutReadingPastTheEnd)
{
    const QByteArray good = zipBytes({{"base.apk", "A"}, {"split/x.apk", "BB"}});
    EXPECT_FALSE(inspectArchive(write(QStringLiteral("good.apks"), good)).has_value());
    // Every cut and every flipped byte of the directory and end record gives an answer, never a crash.
    for (qsizetype n = 0; n < good.size(); ++n)
        inspectArchive(write(QStringLiteral("cut.apks"), good.left(n)));
    for (qsizetype i = good.size() - 120; i < good.size(); ++i) {
        for (char value : {char(0x00), char(0xFF), char(0x7F)}) {
            QByteArray bad = good;
            bad[i] = value;
            inspectArchive(write(QStringLiteral("flip.apks"), bad));
        }
    }
    EXPECT_TRUE(inspectArchive(write(QStringLiteral("cut.apks"), good.left(good.size() - 1))).has_value());
}

TEST_F(Installs, PullRunsAdbPullWithBothPaths)
{
    fake.onPrefix({QStringLiteral("-s"), kSerial, QStringLiteral("pull")}, {.err = QStringLiteral("no such file"), .exit = 1});
    const auto r = runSync(adb.pullAPK(QStringLiteral("/data/app/x/base.apk"), QStringLiteral("/out/base.apk"), kSerial));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.stdErr, QStringLiteral("no such file"));
    runSync(adb.pullDeviceItem(QStringLiteral("/sdcard/DCIM"), QStringLiteral("/out"), kSerial));
    const QList<QStringList> expected{
        {QStringLiteral("-s"), kSerial, QStringLiteral("pull"), QStringLiteral("/data/app/x/base.apk"), QStringLiteral("/out/base.apk")},
        {QStringLiteral("-s"), kSerial, QStringLiteral("pull"), QStringLiteral("/sdcard/DCIM"), QStringLiteral("/out")},
    };
    EXPECT_EQ(fake.calls(), expected);
}

class Screenshots : public ::testing::Test {
protected:
    FakeTool fake;
    ADBService adb{fake.adbPath()};
    QTemporaryDir dir;
    const QStringList command{QStringLiteral("-s"), kSerial, QStringLiteral("exec-out"), QStringLiteral("screencap"),
                              QStringLiteral("-p")};
    QString target() const { return dir.path() + QStringLiteral("/shot.png"); }
};

TEST_F(Screenshots, SavesExactlyThePngBytes)
{
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    png += QByteArray("\x00\x01\xff\r\n binary", 12);
    fake.on(command, {.outBytes = png});
    const auto r = runSync(adb.captureScreenshot(kSerial, target()));
    EXPECT_EQ(r, (CommandResult{0, QStringLiteral("Снимок сохранён: ") + target(), QString()}));
    QFile f(target());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), png);
    EXPECT_EQ(fake.calls(), QList<QStringList>{command});
}

TEST_F(Screenshots, FailuresWriteNothingAndKeepAnOldFile)
{
    {
        QFile old(target());
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old image");
    }
    auto oldContent = [&] { QFile f(target()); f.open(QIODevice::ReadOnly); return f.readAll(); };

    fake.on(command, {.err = QStringLiteral("error: device offline"), .exit = 1});
    auto r = runSync(adb.captureScreenshot(kSerial, target()));
    EXPECT_EQ(r, (CommandResult{1, QString(), QStringLiteral("error: device offline")}));
    EXPECT_EQ(oldContent(), QByteArray("old image"));

    // Exit status 0 but an error text instead of an image.
    fake.on(command, {.out = QStringLiteral("/system/bin/sh: screencap: inaccessible or not found\n")});
    r = runSync(adb.captureScreenshot(kSerial, target()));
    EXPECT_EQ(r.exitCode, -1);
    EXPECT_TRUE(r.stdOut.isEmpty());
    EXPECT_TRUE(r.stdErr.contains(QStringLiteral("screencap: inaccessible"))) << r.stdErr.toStdString();
    EXPECT_EQ(oldContent(), QByteArray("old image"));

    fake.on(command, {.outBytes = QByteArray()});
    EXPECT_EQ(runSync(adb.captureScreenshot(kSerial, target())).exitCode, -1);
    EXPECT_EQ(oldContent(), QByteArray("old image"));
}

TEST_F(Screenshots, UnwritableDestinationFailsAfterAdbSucceeded)
{
    fake.on(command, {.outBytes = QByteArray("\x89PNG\r\n\x1a\nxx", 10)});
    const auto r = runSync(adb.captureScreenshot(kSerial, dir.path() + QStringLiteral("/missing/shot.png")));
    EXPECT_EQ(r.exitCode, -1);
    EXPECT_FALSE(r.stdErr.isEmpty());
    EXPECT_EQ(fake.calls().size(), 1);
}

// Why an install failed, as the history and the toast say it.
TEST(InstallFailure, NamesAdbsReasonOrItsLastLine)
{
    struct Case {
        const char *what;
        CommandResult result;
        std::optional<QString> reason;
    };
    const QList<Case> cases{
        {"installed", {0, QStringLiteral("Performing Streamed Install\nSuccess\n"), {}}, std::nullopt},
        {"not an APK",
         {1, QStringLiteral("Performing Streamed Install\n"),
          QStringLiteral("adb: failed to install /tmp/notes.apk: Failure [INSTALL_PARSE_FAILED_NOT_APK: Failed to parse "
                         "/data/app/vmdl1.tmp/base.apk: Failed to load asset path]\n")},
         QStringLiteral("INSTALL_PARSE_FAILED_NOT_APK")},
        {"downgrade",
         {1, QStringLiteral("Failure [INSTALL_FAILED_VERSION_DOWNGRADE: Downgrade detected: Update version code 1 is "
                            "older than current 5]\r\n"), {}},
         QStringLiteral("INSTALL_FAILED_VERSION_DOWNGRADE")},
        {"a failure that exits 0", {0, QStringLiteral("Failure [INSTALL_FAILED_INSUFFICIENT_STORAGE]\n"), {}},
         QStringLiteral("INSTALL_FAILED_INSUFFICIENT_STORAGE")},
        {"a failure without a code", {1, QStringLiteral("Failure [not installed for 0]\n"), {}},
         QStringLiteral("not installed for 0")},
        {"adb's own error", {1, {}, QStringLiteral("adb: failed to stat /x/a.apk: No such file or directory\n\n")},
         QStringLiteral("adb: failed to stat /x/a.apk: No such file or directory")},
        {"nothing said", {255, {}, {}}, QStringLiteral("код завершения 255")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ADBService::installFailure(c.result), c.reason) << c.what;
}

} // namespace
