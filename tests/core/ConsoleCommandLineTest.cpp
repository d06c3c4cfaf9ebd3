#include "core/ConsoleCommandLine.h"

#include <gtest/gtest.h>

namespace {

TEST(ParseADBCommandLine, CutsWordsLikeAShell)
{
    struct Case {
        QString line;
        QStringList arguments;
    };
    const Case cases[] = {
        {QStringLiteral("devices -l"), {QStringLiteral("devices"), QStringLiteral("-l")}},
        {QStringLiteral("adb devices -l"), {QStringLiteral("devices"), QStringLiteral("-l")}},
        {QStringLiteral("/opt/tools/adb   devices\t-l "), {QStringLiteral("devices"), QStringLiteral("-l")}},
        {QStringLiteral("adb adb version"), {QStringLiteral("adb"), QStringLiteral("version")}},
        {QStringLiteral("shell echo \"hello world\""), {QStringLiteral("shell"), QStringLiteral("echo"), QStringLiteral("hello world")}},
        {QStringLiteral("shell echo \"\""), {QStringLiteral("shell"), QStringLiteral("echo")}},
        {QStringLiteral("a\"b c\"d"), {QStringLiteral("ab cd")}},
        {QStringLiteral("shell \"it's\" 'say \"hi\"'"), {QStringLiteral("shell"), QStringLiteral("it's"), QStringLiteral("say \"hi\"")}},
        {QStringLiteral("push my\\ file /sdcard"), {QStringLiteral("push"), QStringLiteral("my file"), QStringLiteral("/sdcard")}},
        {QStringLiteral("shell 'a\\'b'"), {QStringLiteral("shell"), QStringLiteral("a'b")}},
        {QStringLiteral("shell ls\\"), {QStringLiteral("shell"), QStringLiteral("ls\\")}},
        {QStringLiteral("shell ls \\"), {QStringLiteral("shell"), QStringLiteral("ls"), QStringLiteral("\\")}},
        {QStringLiteral("shell\r\nls\u00a0-a"), {QStringLiteral("shell"), QStringLiteral("ls"), QStringLiteral("-a")}},
        {QStringLiteral("shell echo \\\u0435\u0301"), {QStringLiteral("shell"), QStringLiteral("echo"), QStringLiteral("\u0435\u0301")}},
        // Only whole selectors and adb's glued forms are refused; these are not selectors.
        {QStringLiteral("-sSERIAL shell ls"), {QStringLiteral("-sSERIAL"), QStringLiteral("shell"), QStringLiteral("ls")}},
        {QStringLiteral("shell ls -S"), {QStringLiteral("shell"), QStringLiteral("ls"), QStringLiteral("-S")}},
        {QStringLiteral("shell ls --one-device-x -ds"), {QStringLiteral("shell"), QStringLiteral("ls"), QStringLiteral("--one-device-x"), QStringLiteral("-ds")}},
    };
    for (const Case &c : cases) {
        const auto result = parseADBCommandLine(c.line);
        const QStringList *arguments = std::get_if<QStringList>(&result);
        ASSERT_TRUE(arguments) << c.line.toStdString() << " -> "
                               << std::get<ConsoleCommandError>(result).errorDescription().toStdString();
        EXPECT_EQ(*arguments, c.arguments) << c.line.toStdString();
    }
}

TEST(ParseADBCommandLine, Refusals)
{
    struct Case {
        QString line;
        ConsoleCommandError error;
    };
    const auto selector = ConsoleCommandError::forbiddenDeviceSelector;
    const Case cases[] = {
        {QString(), ConsoleCommandError::empty()},
        {QStringLiteral("   \t"), ConsoleCommandError::empty()},
        {QStringLiteral("adb"), ConsoleCommandError::empty()},
        {QStringLiteral("  adb  "), ConsoleCommandError::empty()},
        {QStringLiteral("\"\" ''"), ConsoleCommandError::empty()},
        {QStringLiteral("shell echo \"hi"), ConsoleCommandError::unmatchedQuote()},
        {QStringLiteral("-s SERIAL shell 'ls"), ConsoleCommandError::unmatchedQuote()},
        {QStringLiteral("shell echo 'it\\'s"), ConsoleCommandError::unmatchedQuote()},
        {QStringLiteral("-s SERIAL shell ls"), selector(QStringLiteral("-s"))},
        {QStringLiteral("shell ls -d /sdcard"), selector(QStringLiteral("-d"))},
        {QStringLiteral("adb -e shell"), selector(QStringLiteral("-e"))},
        {QStringLiteral("shell -t 3 -s"), selector(QStringLiteral("-t"))},
        {QStringLiteral("--one-device X shell"), selector(QStringLiteral("--one-device"))},
        {QStringLiteral("\"-s\" x"), selector(QStringLiteral("-s"))},
        // adb reads these glued forms as selectors as well.
        {QStringLiteral("-t1 shell ls"), selector(QStringLiteral("-t"))},
        {QStringLiteral("shell ls -tfoo"), selector(QStringLiteral("-t"))},
        {QStringLiteral("-s0123456789ABCDEF shell"), selector(QStringLiteral("-s"))},
        {QStringLiteral("-s192.168.1.5:5555 shell"), selector(QStringLiteral("-s"))},
    };
    for (const Case &c : cases) {
        const auto result = parseADBCommandLine(c.line);
        const ConsoleCommandError *error = std::get_if<ConsoleCommandError>(&result);
        ASSERT_TRUE(error) << c.line.toStdString();
        EXPECT_EQ(*error, c.error) << c.line.toStdString() << ": " << error->errorDescription().toStdString();
    }
}

} // namespace
