#include "core/FileNaming.h"

#include <gtest/gtest.h>

namespace {

std::string s(const QString &text) { return text.toStdString(); }

TEST(FileNaming, SafeFileNameTable)
{
    struct Case { QString name, fallback, expected; };
    const Case cases[] = {
        {QStringLiteral("com.example.app_1"), QStringLiteral("package"), QStringLiteral("com.example.app_1")},
        {QStringLiteral("Мой пресет"), QStringLiteral("package"), QStringLiteral("Мой_пресет")},
        {QStringLiteral(".."), QStringLiteral("package.apk"), QStringLiteral("package.apk")},
        {QStringLiteral("   "), QStringLiteral("x"), QStringLiteral("___")},
        {QStringLiteral("..a.b.."), QStringLiteral("x"), QStringLiteral("a.b")},
        {QStringLiteral("_-a-_"), QStringLiteral("x"), QStringLiteral("_-a-_")},
        {QStringLiteral("a/b:c(d)"), QStringLiteral("x"), QStringLiteral("a_b_c_d_")},
        {QStringLiteral("a😀b"), QStringLiteral("x"), QStringLiteral("a_b")},       // one scalar
        {QStringLiteral("a👍🏽b"), QStringLiteral("x"), QStringLiteral("a__b")},     // two scalars
        {QStringLiteral("e\u0301٣"), QStringLiteral("x"), QStringLiteral("e\u0301٣")}, // mark, Arabic digit
        {QString(), QStringLiteral("package"), QStringLiteral("package")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(s(FileNaming::safeFileName(c.name, c.fallback)), s(c.expected)) << s(c.name);
}

TEST(FileNaming, UniqueFileNameTable)
{
    struct Case { QStringList used; QStringList wanted; QStringList expected; };
    const Case cases[] = {
        {{}, {"base.apk", "base.apk", "base.apk"}, {"base.apk", "base-2.apk", "base-3.apk"}},
        {{"base.apk", "base-2.apk"}, {"base.apk"}, {"base-3.apk"}},
        {{"archive.tar.gz"}, {"archive.tar.gz"}, {"archive.tar-2.gz"}},
        {{"README"}, {"README", "README"}, {"README-2", "README-3"}},
        {{"base.apk"}, {"Base.apk"}, {"Base.apk"}},
        {{".hidden"}, {".hidden"}, {".hidden-2"}},
        // A generated name already taken is skipped like any other.
        {{"a-2.txt"}, {"a-2.txt", "a.txt", "a.txt"}, {"a-2-2.txt", "a.txt", "a-3.txt"}},
    };
    for (const Case &c : cases) {
        QSet<QString> used(c.used.begin(), c.used.end());
        QStringList got;
        for (const QString &w : c.wanted)
            got << FileNaming::uniqueFileName(w, used);
        EXPECT_EQ(s(got.join(u'|')), s(c.expected.join(u'|')));
        for (const QString &g : got)
            EXPECT_TRUE(used.contains(g));
    }
}

qsizetype utf8Bytes(const QString &text) { return text.toUtf8().size(); }

TEST(FileNaming, LongNamesAreShortenedKeepingTheExtension)
{
    // 200 Cyrillic letters are 400 bytes: over the 255-byte limit of file names.
    const QString longName = QString(200, QChar(u'ж')) + QStringLiteral(".txt");
    const QString safe = FileNaming::safeFileName(longName, QStringLiteral("preset.txt"));
    EXPECT_LE(utf8Bytes(safe), FileNaming::maxNameBytes);
    EXPECT_TRUE(safe.endsWith(QStringLiteral(".txt")));
    EXPECT_TRUE(safe.startsWith(QStringLiteral("жжж")));
    EXPECT_EQ(utf8Bytes(safe), 254); // 2-byte letters: never half a character

    QSet<QString> used{safe};
    const QString second = FileNaming::uniqueFileName(safe, used);
    EXPECT_LE(utf8Bytes(second), FileNaming::maxNameBytes);
    EXPECT_TRUE(second.endsWith(QStringLiteral("-2.txt")));
    EXPECT_NE(second, safe);

    // A grapheme of base letter and mark is never split.
    const QString accented = QString(200, QChar(u'a')).append(QStringLiteral("e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301e\u0301"));
    const QString fitted = FileNaming::fitFileName(accented);
    EXPECT_LE(utf8Bytes(fitted), 255);
    EXPECT_TRUE(fitted.endsWith(QStringLiteral("e\u0301")));

    // Short names are untouched.
    EXPECT_EQ(FileNaming::fitFileName(QStringLiteral("a.json")), QStringLiteral("a.json"));
    // An absurd extension is not kept at the cost of the stem.
    const QString hugeExtension = QStringLiteral("a.") + QString(300, QChar(u'x'));
    EXPECT_EQ(utf8Bytes(FileNaming::fitFileName(hugeExtension)), 255);
}

TEST(FileNaming, PresetError)
{
    const DomainError e = FileNaming::presetError(QStringLiteral("Сообщение"));
    EXPECT_EQ(e.domain, QStringLiteral("KestrelPreset"));
    EXPECT_EQ(e.code, 1);
    EXPECT_EQ(e.localizedDescription(), QStringLiteral("Сообщение"));
}

} // namespace

namespace {

TEST(FileNaming, FreeNamesUnderEitherNotionOfEqualNames)
{
    using M = FileNaming::NameMatch;
    struct Case { M match; QStringList used; QStringList wanted; QStringList expected; };
    const Case cases[] = {
        {M::ignoringCase, {"Report.PDF", "report-2.pdf"}, {"report.pdf"}, {"report-3.pdf"}},
        {M::ignoringCase, {}, {"A.txt", "a.TXT"}, {"A.txt", "a-2.TXT"}},
        {M::ignoringCase, {"ЁЛКА"}, {"ёлка"}, {"ёлка-2"}},
        {M::exact, {"Report.pdf"}, {"report.pdf"}, {"report.pdf"}},
        // The composed and the decomposed "é" are one letter under either notion.
        {M::exact, {"cafe\u0301.txt"}, {"caf\u00e9.txt"}, {"caf\u00e9-2.txt"}},
        {M::exact, {}, {"caf\u00e9", "cafe\u0301"}, {"caf\u00e9", "cafe\u0301-2"}},
        {M::ignoringCase, {"CAFE\u0301"}, {"caf\u00e9"}, {"caf\u00e9-2"}},
    };
    for (const Case &c : cases) {
        QSet<QString> keys;
        for (const QString &u : c.used)
            keys.insert(FileNaming::nameKey(u, c.match));
        QStringList got;
        for (const QString &w : c.wanted)
            got << FileNaming::uniqueFileName(w, keys, c.match);
        EXPECT_EQ(got, c.expected) << c.wanted.join(u',').toStdString();
    }
}

TEST(FileNaming, FreeNameAsksAndCanDropTheExtensionOfNumberedFolders)
{
    const QSet<QString> present{QStringLiteral("photos.2020"), QStringLiteral("photos-2"), QStringLiteral("notes.txt")};
    const auto taken = [&](const QString &name) { return present.contains(name); };
    EXPECT_EQ(FileNaming::freeFileName(QStringLiteral("photos.2020"), taken, false), QStringLiteral("photos-3"));
    EXPECT_EQ(FileNaming::freeFileName(QStringLiteral("photos.2020"), taken, true), QStringLiteral("photos-2.2020"));
    EXPECT_EQ(FileNaming::freeFileName(QStringLiteral("notes.txt"), taken), QStringLiteral("notes-2.txt"));
    EXPECT_EQ(FileNaming::freeFileName(QStringLiteral("fresh"), taken), QStringLiteral("fresh"));
}

} // namespace
