#include "core/LocalFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void write(const QString &path, const QByteArray &data)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(data);
}

TEST(LocalFiles, RenameNeverReplacesWhateverHasTheName)
{
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a")), b = dir.filePath(QStringLiteral("b"));
    write(a, "mine");
    write(b, "theirs");
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
    QFile::link(dir.filePath(QStringLiteral("missing")), dir.filePath(QStringLiteral("dangling")));
    for (const char *target : {"b", "folder", "dangling"}) {
        EXPECT_FALSE(LocalFiles::renameWithoutReplacing(a, dir.filePath(QString::fromUtf8(target))).isEmpty()) << target;
        EXPECT_EQ(contents(a), QByteArray("mine"));
    }
    EXPECT_EQ(contents(b), QByteArray("theirs"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("missing"))));

    EXPECT_EQ(LocalFiles::renameWithoutReplacing(a, dir.filePath(QStringLiteral("c"))), QString());
    EXPECT_EQ(contents(dir.filePath(QStringLiteral("c"))), QByteArray("mine"));
    EXPECT_FALSE(QFileInfo::exists(a));
    EXPECT_EQ(LocalFiles::renameWithoutReplacing(dir.filePath(QStringLiteral("folder")), dir.filePath(QStringLiteral("moved"))),
              QString());
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("moved"))).isDir());
}

TEST(LocalFiles, TakenNamesIncludeDanglingLinks)
{
    QTemporaryDir dir;
    QFile::link(dir.filePath(QStringLiteral("missing")), dir.filePath(QStringLiteral("dangling")));
    EXPECT_TRUE(LocalFiles::isTaken(dir.filePath(QStringLiteral("dangling"))));
    EXPECT_TRUE(LocalFiles::isTaken(dir.path()));
    EXPECT_FALSE(LocalFiles::isTaken(dir.filePath(QStringLiteral("missing"))));
}

TEST(LocalFiles, ListingShowsDanglingLinksAndReportsUnreadableFolders)
{
    QTemporaryDir dir;
    QFile::link(dir.filePath(QStringLiteral("missing")), dir.filePath(QStringLiteral("dangling")));
    const LocalFiles::Listing listing = LocalFiles::list(dir.path(), false);
    ASSERT_FALSE(listing.error);
    ASSERT_EQ(listing.items.size(), 1);
    EXPECT_EQ(listing.items.at(0).name, QStringLiteral("dangling"));
    EXPECT_FALSE(listing.items.at(0).isDirectory);

    const LocalFiles::Listing missing = LocalFiles::list(dir.filePath(QStringLiteral("nope")), false);
    EXPECT_TRUE(missing.error);
    EXPECT_TRUE(missing.items.isEmpty());
}

} // namespace
