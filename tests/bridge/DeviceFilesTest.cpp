#include "bridge/ADBService.h"
#include "bridge/ProcessExecution.h"
#include "bridge/ShellQuote.h"

#include "FakeTool.h"
#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kSerial = QStringLiteral("R58M");

QByteArray record(const char *kind, const char *size, const char *time, const QByteArray &name)
{
    return QByteArray(kind) + '\0' + size + '\0' + time + '\0' + name + '\0';
}

QString listingScript()
{
    return QStringLiteral(" || exit 1\n"
                          "for entry in ./* ./.[!.]* ./..?*; do\n"
                          "    if [ ! -e \"$entry\" ] && [ ! -L \"$entry\" ]; then continue; fi\n"
                          "    if [ -d \"$entry\" ]; then kind=d; else kind=f; fi\n"
                          "    size=$(stat -c %s -- \"$entry\" 2>/dev/null || echo 0)\n"
                          "    modified=$(stat -c %Y -- \"$entry\" 2>/dev/null || echo 0)\n"
                          "    name=${entry#./}\n"
                          "    printf '%s\\000%s\\000%s\\000%s\\000' \"$kind\" \"$size\" \"$modified\" \"$name\"\n"
                          "done");
}

QStringList names(const QList<DeviceFileItem> &items)
{
    QStringList list;
    for (const auto &i : items)
        list << i.name;
    return list;
}

TEST(ShellQuote, WrapsAndEscapesSingleQuotes)
{
    EXPECT_EQ(shellQuote(QStringLiteral("/sdcard/it's")), QStringLiteral("'/sdcard/it'\\''s'"));
    EXPECT_EQ(shellQuote(QString()), QStringLiteral("''"));
    EXPECT_EQ(shellQuote(QStringLiteral("$(reboot); `x` \"y\"\n")), QStringLiteral("'$(reboot); `x` \"y\"\n'"));
}

TEST(DeviceListingParser, PathsKindsSizesAndTimes)
{
    const QByteArray out = record("d", "4096", "1700000000", "sdcard") + record("f", "12", "0", ".zhidden")
                           + record("f", "x1", "-5", "..data") + record("f", "7", " 1700000000", "line\nfeed")
                           + record("d", "4096", "4102444800", "system") + record("f", "1", "4102444801", "late")
                           + record("x", "1", "1", "badkind") + record("f", "1", "1", "a/b")
                           + record("f", "1", "1", "..") + record("f", "+9", "1.5", "plus");
    const auto items = ADBService::parseDeviceDirectoryListing(QString::fromUtf8(out), QStringLiteral("/"));
    ASSERT_EQ(names(items), (QStringList{QStringLiteral("sdcard"), QStringLiteral("system"), QStringLiteral("..data"),
                                         QStringLiteral(".zhidden"), QStringLiteral("late"),
                                         QStringLiteral("line\nfeed"), QStringLiteral("plus")}));
    EXPECT_EQ(items[0], (DeviceFileItem{QStringLiteral("/sdcard"), QStringLiteral("sdcard"), true, std::nullopt,
                                        QDateTime::fromSecsSinceEpoch(1700000000, Qt::UTC)}));
    EXPECT_EQ(items[1].modifiedAt, QDateTime(QDate(2100, 1, 1), QTime(0, 0), Qt::UTC));
    EXPECT_EQ(items[3].size, 12);
    EXPECT_EQ(items[3].modifiedAt, std::nullopt);
    EXPECT_EQ(items[2].size, std::nullopt);
    EXPECT_EQ(items[4].modifiedAt, std::nullopt);
    EXPECT_EQ(items[5].modifiedAt, std::nullopt); // a leading space is not a number
    EXPECT_EQ(items[6].size, 9);
    EXPECT_EQ(items[6].modifiedAt, QDateTime::fromMSecsSinceEpoch(1500, Qt::UTC));

    for (const QString &base : {QStringLiteral("/sdcard/"), QStringLiteral("sdcard"), QStringLiteral("//sdcard//")})
        EXPECT_EQ(ADBService::parseDeviceDirectoryListing(QString::fromUtf8(record("f", "1", "1", "a.txt")), base)
                      .value(0).path,
                  QStringLiteral("/sdcard/a.txt"));
    EXPECT_TRUE(ADBService::parseDeviceDirectoryListing(QString(), QStringLiteral("/")).isEmpty());
    EXPECT_TRUE(ADBService::parseDeviceDirectoryListing(QStringLiteral("f\0001\0001"), QStringLiteral("/")).isEmpty());
}

TEST(DeviceListingParser, FoldersFirstThenNamesIgnoringCase)
{
    const QByteArray out = record("f", "1", "1", "B.txt") + record("d", "0", "1", "b") + record("f", "1", "1", "a.txt")
                           + record("d", "0", "1", "A");
    EXPECT_EQ(names(ADBService::parseDeviceDirectoryListing(QString::fromUtf8(out), QStringLiteral("/x"))),
              (QStringList{QStringLiteral("A"), QStringLiteral("b"), QStringLiteral("a.txt"), QStringLiteral("B.txt")}));
}

class DeviceFiles : public ::testing::Test {
protected:
    FakeTool fake;
    ADBService adb{fake.adbPath()};
    QStringList shell(const QString &line) const { return {QStringLiteral("-s"), kSerial, QStringLiteral("shell"), line}; }
};

TEST_F(DeviceFiles, ListingRunsTheQuotedScriptAndParsesTheOutput)
{
    const QString path = QStringLiteral("/sdcard/it's");
    const QStringList command = shell(QStringLiteral("cd '/sdcard/it'\\''s'") + listingScript());
    fake.on(command, {.outBytes = record("f", "3", "1700000000", "a.txt") + record("d", "0", "0", "Папка")});
    const auto listing = runSync(adb.listDeviceDirectory(path, kSerial));
    EXPECT_TRUE(listing.result.succeeded());
    EXPECT_EQ(names(listing.items), (QStringList{QStringLiteral("Папка"), QStringLiteral("a.txt")}));
    EXPECT_EQ(listing.items.value(0).path, QStringLiteral("/sdcard/it's/Папка"));
    EXPECT_EQ(fake.calls(), QList<QStringList>{command});

    fake.on(command, {.out = QString()});
    const auto empty = runSync(adb.listDeviceDirectory(path, kSerial));
    EXPECT_TRUE(empty.result.succeeded());
    EXPECT_TRUE(empty.items.isEmpty());

    fake.on(command, {.out = record("f", "3", "1", "a.txt"), .err = QStringLiteral("cd: /sdcard/it's: No such file"),
                      .exit = 1});
    const auto missing = runSync(adb.listDeviceDirectory(path, kSerial));
    EXPECT_EQ(missing.result.exitCode, 1);
    EXPECT_EQ(missing.result.stdErr, QStringLiteral("cd: /sdcard/it's: No such file"));
    EXPECT_TRUE(missing.items.isEmpty());
}

// A relative path that begins with "-" is never read as an option of cd.
TEST_F(DeviceFiles, RelativeListingPathIsAnchoredToTheCurrentFolder)
{
    fake.setDefault({});
    runSync(adb.listDeviceDirectory(QStringLiteral("-P"), kSerial));
    runSync(adb.listDeviceDirectory(QStringLiteral("Download"), kSerial));
    EXPECT_EQ(fake.calls(), (QList<QStringList>{shell(QStringLiteral("cd './-P'") + listingScript()),
                                                shell(QStringLiteral("cd './Download'") + listingScript())}));
}

TEST_F(DeviceFiles, NameThatIsNotUtf8SpoilsOnlyItsOwnRecord)
{
    // Two names whose bad bytes differ but read alike, beside good ones: every good name is
    // listed as usual, each bad one once, readable, marked and with an identity of its own.
    fake.onPrefix(shell(QStringLiteral("cd '/sdcard'")).mid(0, 3),
                  {.outBytes = record("f", "3", "1", "good.txt") + record("d", "0", "1", QByteArray("bad\xff", 4)) +
                               record("f", "3", "1", QByteArray("bad\xfe", 4)) +
                               record("f", "5", "1", "\xd0\x9e\xd1\x82\xd1\x87\xd1\x91\xd1\x82.txt")});
    const auto listing = runSync(adb.listDeviceDirectory(QStringLiteral("/sdcard"), kSerial));
    EXPECT_TRUE(listing.result.succeeded()) << listing.result.combinedOutput().toStdString();
    const QString bad = QStringLiteral("bad") + QChar(QChar::ReplacementCharacter);
    // Folders first, then the collation's order (Cyrillic before Latin).
    ASSERT_EQ(names(listing.items), (QStringList{bad, QStringLiteral("Отчёт.txt"), bad, QStringLiteral("good.txt")}));
    for (const DeviceFileItem &item : listing.items) {
        const bool good = !item.name.startsWith(QStringLiteral("bad"));
        EXPECT_EQ(item.isUsable(), good) << item.name.toStdString();
        if (good)
            EXPECT_EQ(item.path, QStringLiteral("/sdcard/") + item.name);
        else
            EXPECT_TRUE(item.path.contains(QChar(0))) << "an identity that no command can take for a path";
    }
    EXPECT_TRUE(listing.items[0].isDirectory);
    EXPECT_EQ(listing.items[2].size, 3);
    EXPECT_NE(listing.items[0].id(), listing.items[2].id());

    // The text form of the parser knows only decodable names.
    EXPECT_TRUE(ADBService::parseDeviceDirectoryListing(QString::fromUtf8(record("f", "1", "1", "a")), QStringLiteral("/"))
                    .first()
                    .isUsable());
}

TEST_F(DeviceFiles, ChangesQuotePathsAndPutDoubleDashFirst)
{
    fake.setDefault({});
    runSync(adb.createDeviceDirectory(QStringLiteral("/sdcard/New 'one'"), kSerial));
    runSync(adb.removeDeviceItem(QStringLiteral("-rf"), kSerial));
    runSync(adb.moveDeviceItem(QStringLiteral("/sdcard/a b"), QStringLiteral("/sdcard/it's"), kSerial));
    const QList<QStringList> expected{
        shell(QStringLiteral("mkdir -- '/sdcard/New '\\''one'\\'''")),
        shell(QStringLiteral("rm -rf -- '-rf'")),
        shell(QStringLiteral("if [ -e '/sdcard/it'\\''s' ] || [ -L '/sdcard/it'\\''s' ]; then exit 17; fi; "
                             "mv -- '/sdcard/a b' '/sdcard/it'\\''s'")),
    };
    EXPECT_EQ(fake.calls(), expected);
}

TEST_F(DeviceFiles, MoveAndPushNeverReplaceAnExistingItem)
{
    fake.setDefault({.exit = ADBService::kTargetExistsExitCode});
    const auto moved = runSync(adb.moveDeviceItem(QStringLiteral("/sdcard/a"), QStringLiteral("/sdcard/b"), kSerial));
    EXPECT_EQ(moved.exitCode, ADBService::kTargetExistsExitCode);
    EXPECT_EQ(moved.stdErr, QStringLiteral("На устройстве уже есть «/sdcard/b»; ничего не заменено"));

    const QStringList check = shell(QStringLiteral("if [ -e '/sdcard/b.txt' ] || [ -L '/sdcard/b.txt' ]; then exit 17; fi; exit 0"));
    fake.clearCalls();
    const auto pushed = runSync(adb.pushLocalItem(QStringLiteral("/home/u/b.txt"), QStringLiteral("/sdcard/b.txt"), kSerial));
    EXPECT_FALSE(pushed.succeeded());
    EXPECT_TRUE(pushed.stdErr.contains(QStringLiteral("уже есть")));
    EXPECT_EQ(fake.calls(), QList<QStringList>{check}); // nothing pushed

    fake.setDefault({});
    fake.clearCalls();
    EXPECT_TRUE(runSync(adb.pushLocalItem(QStringLiteral("/home/u/b.txt"), QStringLiteral("/sdcard/b.txt"), kSerial)).succeeded());
    const QList<QStringList> expected{
        check,
        {QStringLiteral("-s"), kSerial, QStringLiteral("push"), QStringLiteral("/home/u/b.txt"), QStringLiteral("/sdcard/b.txt")},
    };
    EXPECT_EQ(fake.calls(), expected);
}

TEST_F(DeviceFiles, ExistenceCheckWorksInARealShell)
{
    // The same line the device gets, run by a local POSIX shell.
    QTemporaryDir dir;
    const QString from = dir.path() + QStringLiteral("/it's a");
    const QString to = dir.path() + QStringLiteral("/-b");
    QFile(from).open(QIODevice::WriteOnly);
    QFile(to).open(QIODevice::WriteOnly);
    fake.setDefault({});
    runSync(adb.moveDeviceItem(from, to, kSerial));
    const QString line = fake.calls().value(0).value(3);
    EXPECT_EQ(runProcess(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), line}).exitCode, 17);
    EXPECT_TRUE(QFile::exists(from));
    QFile::remove(to);
    EXPECT_EQ(runProcess(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), line}).exitCode, 0);
    EXPECT_TRUE(QFile::exists(to));
    EXPECT_FALSE(QFile::exists(from));
}

} // namespace
