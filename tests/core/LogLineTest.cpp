#include "core/LogLine.h"

#include <gtest/gtest.h>

namespace {

struct ParseCase {
    const char *name;
    QString text;
    QString timestamp, pid, tid;
    LogLevel level;
    QString tag, message;
};

QString u(const char *text) { return QString::fromUtf8(text); }

TEST(LogLineTest, ParsesThreadtimeAndFallbackLines)
{
    const QString nbsp(QChar(0x00A0));
    const QList<ParseCase> cases = {
        {"threadtime", u("12-09 10:15:01.123  1234  5678 I ActivityManager: Start proc 4567:com.example/u0a12"),
         u("12-09 10:15:01.123"), u("1234"), u("5678"), LogLevel::info, u("ActivityManager"),
         u("Start proc 4567:com.example/u0a12")},
        {"padded tag", u("12-09 10:15:01.123  1000  1000 D  chatty  : uid=1000 expire 3 lines"), u("12-09 10:15:01.123"),
         u("1000"), u("1000"), LogLevel::debug, u("chatty"), u("uid=1000 expire 3 lines")},
        {"fatal", u("01-01 00:00:00.000 1 2 F libc: Fatal signal 11"), u("01-01 00:00:00.000"), u("1"), u("2"),
         LogLevel::fatal, u("libc"), u("Fatal signal 11")},
        {"cyrillic", u("01-01 00:00:00.000 1 2 W Тег: Привет, мир"), u("01-01 00:00:00.000"), u("1"), u("2"),
         LogLevel::warning, u("Тег"), u("Привет, мир")},
        {"no colon: dash tag", u("01-01 00:00:00.000 1 2 E no colon here"), u("01-01 00:00:00.000"), u("1"), u("2"),
         LogLevel::error, u("—"), u("no colon here")},
        {"blank before colon: dash tag", u("01-01 00:00:00.000 1 2 V    : after"), u("01-01 00:00:00.000"), u("1"),
         u("2"), LogLevel::verbose, u("—"), u("after")},
        {"empty message", u("01-01 00:00:00.000 1 2 I Tag:"), u("01-01 00:00:00.000"), u("1"), u("2"), LogLevel::info,
         u("Tag"), u("")},
        {"odd spacing", u("  12-09   10:15:01.123   1234 5678   W   Tag  :   msg  "), u("12-09 10:15:01.123"),
         u("1234"), u("5678"), LogLevel::warning, u("Tag"), u("msg")},
        {"a tab does not separate", u("12-09\t10:15 1 2 3 I x"), u("12-09\t10:15 1"), u("2"), u("3"), LogLevel::info,
         u("—"), u("x")},
        {"no-break spaces trimmed", nbsp + u("01-01 00:00:00.000 1 2 D T: m") + nbsp, u("01-01 00:00:00.000"), u("1"),
         u("2"), LogLevel::debug, u("T"), u("m")},
        {"separator line", u("--------- beginning of main"), u(""), u(""), u(""), LogLevel::info, u("logcat"),
         u("--------- beginning of main")},
        {"lower-case level", u("01-01 00:00:00.000 1 2 i Tag: m"), u(""), u(""), u(""), LogLevel::info, u("logcat"),
         u("01-01 00:00:00.000 1 2 i Tag: m")},
        {"two-letter level", u("01-01 00:00:00.000 1 2 IW Tag: m"), u(""), u(""), u(""), LogLevel::info, u("logcat"),
         u("01-01 00:00:00.000 1 2 IW Tag: m")},
        {"five fields only", u(" 01-01 00:00:00.000 1 2 E "), u(""), u(""), u(""), LogLevel::info, u("logcat"),
         u("01-01 00:00:00.000 1 2 E")},
    };
    for (const ParseCase &c : cases) {
        SCOPED_TRACE(c.name);
        const LogLine line = LogLine::parse(c.text, 7);
        EXPECT_EQ(line.id, 7);
        EXPECT_EQ(line.timestamp().toString(), c.timestamp);
        EXPECT_EQ(line.pid().toString(), c.pid);
        EXPECT_EQ(line.tid().toString(), c.tid);
        EXPECT_EQ(line.level, c.level);
        EXPECT_EQ(line.tag().toString(), c.tag);
        EXPECT_EQ(line.message().toString(), c.message);
        EXPECT_EQ(line, LogLine::make(7, c.timestamp, c.pid, c.tid, c.level, c.tag, c.message));
    }
}

TEST(LogLineTest, PlainTextOfParsedAndFallbackLines)
{
    EXPECT_EQ(LogLine::parse(u("12-09  10:15:01.123  1234  5678 I  AM : hi"), 0).plainText(),
              u("12-09 10:15:01.123 1234-5678 I/AM: hi"));
    EXPECT_EQ(LogLine::parse(u("--------- beginning of main"), 0).plainText(), u(" - I/logcat: --------- beginning of main"));
    EXPECT_EQ(LogLine::parse(u("01-01 00:00:00.000 1 2 E no colon"), 0).plainText(), u("01-01 00:00:00.000 1-2 E/—: no colon"));
}

TEST(LogLineTest, LevelsFollowLogcatOrderAndLetters)
{
    const QList<LogLevel> levels = allCases<LogLevel>();
    ASSERT_EQ(levels.size(), kLogLevelCount);
    QString letters;
    for (int i = 0; i < levels.size(); ++i) {
        EXPECT_EQ(order(levels[i]), i);
        letters += rawValue(levels[i]);
        EXPECT_EQ(fromRawValue<LogLevel>(rawValue(levels[i])), levels[i]);
    }
    EXPECT_EQ(letters, u("VDIWEF"));
    EXPECT_LT(LogLevel::verbose, LogLevel::fatal);
    for (const char *raw : {"v", "", "II", " I", "X"})
        EXPECT_EQ(fromRawValue<LogLevel>(u(raw)), std::nullopt) << raw;
    EXPECT_EQ(title(LogLevel::warning), u("Warning"));
    EXPECT_EQ(tone(LogLevel::info), Tone::accent);
    EXPECT_EQ(tone(LogLevel::fatal), Tone::danger);
    EXPECT_EQ(icon(LogLevel::debug), u("ladybug"));
}

} // namespace
