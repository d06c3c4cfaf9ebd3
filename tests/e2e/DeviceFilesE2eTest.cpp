#include "E2eTest.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <vector>

namespace {

using DeviceFiles = E2eTest;

// Names a shell would split, expand or read as an option, unless quoted.
const QStringList kOddNames{
    QStringLiteral("with  two spaces.txt"),
    QStringLiteral("it's \"quoted\".txt"),
    QStringLiteral("$(touch pwned).txt"),
    QStringLiteral("`touch pwned`; x"),
    QStringLiteral("-leading dash.txt"),
    QStringLiteral("Кириллица в имени.txt"),
    QStringLiteral("line\nbreak.txt"),
};

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// One name's way: pushed, pulled back, a folder made after it, then renamed.
struct Trip {
    CommandResult push, pull, create, rename;
};

QCoro::Task<Trip> roundTrip(ADBService adb, QString serial, QString localFile, QString folder, QString pulled,
                            QString name)
{
    Trip trip;
    const QString remote = folder + QLatin1Char('/') + name;
    trip.push = co_await adb.pushLocalItem(localFile, remote, serial);
    trip.pull = co_await adb.pullDeviceItem(remote, pulled + QLatin1Char('/') + name, serial);
    trip.create = co_await adb.createDeviceDirectory(folder + QStringLiteral("/dir ") + name, serial);
    trip.rename = co_await adb.moveDeviceItem(remote, folder + QStringLiteral("/renamed ") + name, serial);
    co_return trip;
}

// Every file and folder under `root` but those under `except`: path, kind, size and time
// of files (a folder's own time changes when an entry is added to it).
QStringList treeOutside(const QString &root, const QString &except)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!except.isEmpty() && (path == except || path.startsWith(except + QLatin1Char('/'))))
            continue;
        const QFileInfo info = it.fileInfo();
        entries << (info.isSymLink() ? QStringLiteral("link ") + path + QStringLiteral(" -> ") + info.symLinkTarget()
                    : info.isDir()   ? QStringLiteral("dir ") + path
                                     : QStringLiteral("file %1 %2 %3")
                                         .arg(path)
                                         .arg(info.size())
                                         .arg(info.lastModified().toMSecsSinceEpoch()));
    }
    entries.sort();
    return entries;
}

QStringList namesIn(const DeviceDirectoryListing &listing)
{
    QStringList names;
    for (const DeviceFileItem &item : listing.items)
        names << (item.isDirectory ? QStringLiteral("dir:") : QStringLiteral("file:")) + item.name;
    names.sort();
    return names;
}

// Copy to and from the device, create, rename and delete names that hold spaces, quotes,
// "$(…)", a leading "-", Cyrillic letters and a line break: every name arrives as it is,
// nothing of it runs, and nothing outside the chosen folder changes on either side.
TEST_F(DeviceFiles, OddNamesTravelBothWaysAndNothingElseChanges)
{
    const ADBService adb = *model->service;
    const QString serial = phone->serial();
    const QString folder = QStringLiteral("/sdcard/Kestrel проба 'e2e'");
    const QString hostFolder = phone->storagePath(folder);
    const QString deviceRoot = phone->stateFolder() + QStringLiteral("/fs");
    const QString local = session->path(QStringLiteral("local"));
    const QString pulled = session->path(QStringLiteral("pulled"));
    ASSERT_TRUE(QDir().mkpath(local) && QDir().mkpath(pulled));
    const auto contentOf = [](const QString &name) { return "content of " + name.toUtf8() + "\n"; };
    for (const QString &name : kOddNames)
        ASSERT_TRUE(writeFile(local + QLatin1Char('/') + name, contentOf(name)));
    const QStringList deviceBefore = treeOutside(deviceRoot, hostFolder);
    const QStringList localBefore = treeOutside(local, QString());
    ASSERT_FALSE(deviceBefore.isEmpty());

    const auto succeeds = [](const CommandResult &r) {
        return r.succeeded() ? ::testing::AssertionSuccess()
                             : ::testing::AssertionFailure() << r.exitCode << " " << r.combinedOutput().toStdString();
    };
    ASSERT_TRUE(succeeds(finish(adb.createDeviceDirectory(folder, serial))));
    ASSERT_TRUE(QFileInfo(hostFolder).isDir());

    // The names travel side by side, each through its own sequence of operations.
    std::vector<QCoro::Task<Trip>> running;
    for (const QString &name : kOddNames)
        running.push_back(roundTrip(adb, serial, local + QLatin1Char('/') + name, folder, pulled, name));
    QStringList expected;
    for (qsizetype i = 0; i < kOddNames.size(); ++i) {
        const QString &name = kOddNames[i];
        SCOPED_TRACE(name.toStdString());
        const Trip trip = finish(std::move(running[size_t(i)]));
        const QByteArray content = contentOf(name);
        EXPECT_TRUE(succeeds(trip.push));
        EXPECT_TRUE(succeeds(trip.pull));
        EXPECT_EQ(fileBytes(pulled + QLatin1Char('/') + name), content);
        EXPECT_TRUE(succeeds(trip.create));
        EXPECT_TRUE(QFileInfo(hostFolder + QStringLiteral("/dir ") + name).isDir());
        EXPECT_TRUE(succeeds(trip.rename));
        EXPECT_FALSE(QFileInfo::exists(hostFolder + QLatin1Char('/') + name));
        EXPECT_EQ(fileBytes(hostFolder + QStringLiteral("/renamed ") + name), content);
        expected << QStringLiteral("dir:dir ") + name << QStringLiteral("file:renamed ") + name;
    }
    expected.sort();

    const DeviceDirectoryListing listing = finish(adb.listDeviceDirectory(folder, serial));
    ASSERT_TRUE(succeeds(listing.result));
    EXPECT_EQ(namesIn(listing), expected);
    for (const DeviceFileItem &item : listing.items) {
        if (!item.isDirectory)
            EXPECT_EQ(item.size, QFileInfo(hostFolder + QLatin1Char('/') + item.name).size())
                << item.name.toStdString();
        EXPECT_EQ(item.path, folder + QLatin1Char('/') + item.name);
    }

    std::vector<QCoro::Task<CommandResult>> removals;
    for (const QString &name : kOddNames) {
        removals.push_back(adb.removeDeviceItem(folder + QStringLiteral("/renamed ") + name, serial));
        removals.push_back(adb.removeDeviceItem(folder + QStringLiteral("/dir ") + name, serial));
    }
    for (auto &removal : removals)
        EXPECT_TRUE(succeeds(finish(std::move(removal))));
    EXPECT_TRUE(namesIn(finish(adb.listDeviceDirectory(folder, serial))).isEmpty());
    EXPECT_TRUE(succeeds(finish(adb.removeDeviceItem(folder, serial))));
    EXPECT_FALSE(QFileInfo::exists(hostFolder));

    // Nothing ran: no "pwned" anywhere, and the rest of both sides is as it was.
    EXPECT_EQ(treeOutside(deviceRoot, hostFolder), deviceBefore);
    EXPECT_EQ(treeOutside(local, QString()), localBefore);
    QStringList pulledNames = QDir(pulled).entryList(QDir::Files | QDir::Hidden);
    QStringList oddNames = kOddNames;
    pulledNames.sort();
    oddNames.sort();
    EXPECT_EQ(pulledNames, oddNames);
    for (const QString &root : {session->path(), QDir::currentPath(), phone->stateFolder()}) {
        QDirIterator it(root, {QStringLiteral("pwned")}, QDir::AllEntries | QDir::Hidden, QDirIterator::Subdirectories);
        EXPECT_FALSE(it.hasNext()) << it.next().toStdString();
    }
}

} // namespace
