#include "core/ConsoleSuggestions.h"

#include <gtest/gtest.h>

namespace {

using Mode = ConsoleMode;

TEST(ConsoleSuggestions, CandidatesInOrderWithoutTheTypedTextOrRepeats)
{
    const QList<ConsoleFavorite> favorites{
        ConsoleFavorite(Mode::deviceShell, QStringLiteral("logcat -s ActivityManager")),
        ConsoleFavorite(Mode::adb, QStringLiteral("logcat")),
        ConsoleFavorite(Mode::deviceShell, QStringLiteral("uptime")),
    };
    const QList<ConsoleCommandRecord> history{
        ConsoleCommandRecord(Mode::deviceShell, QStringLiteral("logcat -c")),
        ConsoleCommandRecord(Mode::deviceShell, QStringLiteral("uptime")),   // also a snippet
        ConsoleCommandRecord(Mode::deviceShell, QStringLiteral("UPTIME -p")),
        ConsoleCommandRecord(Mode::deviceShell, QStringLiteral("uptime -P")),
        ConsoleCommandRecord(Mode::deviceShell, QStringLiteral("logcat -c")), // repeated later on
    };
    struct Case {
        const char *name;
        QString input;
        Mode mode;
        QStringList expected;
    };
    const Case cases[] = {
        {"one character", QStringLiteral("l"), Mode::deviceShell, {}},
        {"one character in spaces", QStringLiteral("  l\t "), Mode::deviceShell, {}},
        {"one letter with its mark", QString::fromUtf8("\xD0\xB8\xCC\x86"), Mode::deviceShell, {}},
        {"snippets, favourites, history", QStringLiteral("LOG"), Mode::deviceShell,
         {QStringLiteral("logcat -d -t 100"), QStringLiteral("logcat -b crash -d"),
          QStringLiteral("logcat -s ActivityManager"), QStringLiteral("logcat -c")}},
        {"the other mode's catalogue", QStringLiteral("ver"), Mode::adb, {QStringLiteral("version")}},
        {"the typed text itself is not offered", QStringLiteral("uptime"), Mode::deviceShell,
         {QStringLiteral("UPTIME -p"), QStringLiteral("uptime -P")}},
        {"a snippet's trailing space stays", QStringLiteral("pm path "), Mode::deviceShell, {QStringLiteral("pm path ")}},
        {"once, at the snippet's place; letter case keeps both", QStringLiteral("upt"), Mode::deviceShell,
         {QStringLiteral("uptime"), QStringLiteral("UPTIME -p"), QStringLiteral("uptime -P")}},
        {"no match", QStringLiteral("zzz"), Mode::adb, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(consoleSuggestions(c.input, c.mode, favorites, history), c.expected);
    }
}

TEST(ConsoleSuggestions, HasNoLengthLimit)
{
    QList<ConsoleCommandRecord> history;
    for (int i = 0; i < 30; ++i)
        history.append(ConsoleCommandRecord(Mode::adb, QStringLiteral("shell echo %1").arg(i)));
    const QStringList all = consoleSuggestions(QStringLiteral("echo"), Mode::adb, {}, history);
    ASSERT_EQ(all.size(), 30);
    EXPECT_EQ(all.first(), QStringLiteral("shell echo 0"));
}

} // namespace
