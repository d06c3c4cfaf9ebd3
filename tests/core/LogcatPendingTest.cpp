#include "core/LogcatPending.h"

#include <gtest/gtest.h>

namespace {

QStringList texts(const QList<PendingLine> &lines)
{
    QStringList list;
    for (const PendingLine &line : lines)
        list << line.text().toString();
    return list;
}

QStringList texts(const std::deque<PendingLine> &lines)
{
    return texts(QList<PendingLine>(lines.begin(), lines.end()));
}

QStringList split(const QStringList &chunks, LogcatPending::StreamTail &tail)
{
    QList<PendingLine> lines;
    for (const QString &chunk : chunks)
        LogcatPending::splitLines(tail, chunk, lines);
    return texts(lines);
}

TEST(LogcatPendingTest, SplitsLinesAcrossChunks)
{
    struct Case {
        const char *name;
        QStringList chunks;
        QStringList lines;
        QString tail;
    };
    const QList<Case> cases = {
        {"line over two chunks", {"a b", "c\nd"}, {"a bc"}, "d"},
        {"one trailing CR stripped", {"pty line\r\n"}, {"pty line"}, ""},
        {"only one CR stripped", {"x\r\r\n"}, {"x\r"}, ""},
        {"a line of only CR is blank", {"\r\n", "  \t\r\n", "\n"}, {}, ""},
        {"CR split from its feed", {"y\r", "\n"}, {"y"}, ""},
        {"no feed yet", {"waiting"}, {}, "waiting"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        LogcatPending::StreamTail tail;
        EXPECT_EQ(split(c.chunks, tail), c.lines);
        EXPECT_EQ(tail.text, c.tail);
    }
}

TEST(LogcatPendingTest, CutsLongLinesAndAnEndlessTail)
{
    const qsizetype cap = LogcatPending::kMaxLineLength;
    LogcatPending::StreamTail tail;
    const QStringList lines = split({QString(cap * 2 + 10, QLatin1Char('a')) + QLatin1Char('\n')}, tail);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].size(), cap);
    EXPECT_EQ(lines[2].size(), 10);

    // Output that never sends a line feed stays bounded.
    LogcatPending::StreamTail endless;
    QList<PendingLine> pieces;
    for (int i = 0; i < 100; ++i) {
        LogcatPending::splitLines(endless, QString(1000, QLatin1Char('b')), pieces);
        EXPECT_LE(endless.text.size(), cap);
    }
    EXPECT_EQ(pieces.size(), 100'000 / cap);

    // A surrogate pair at the cut stays whole.
    LogcatPending::StreamTail emoji;
    const QString pair = QString::fromUtf8("😀");
    const QStringList cut = split({QString(cap - 1, QLatin1Char('c')) + pair + QStringLiteral("\n")}, emoji);
    ASSERT_EQ(cut.size(), 2);
    EXPECT_EQ(cut[0].size(), cap - 1);
    EXPECT_EQ(cut[1], pair);
}

TEST(LogcatPendingTest, KeepsTheNewestLinesWithinTheLimitAndCountsTheRest)
{
    LogcatPending pending;
    pending.setLimit(4);
    const quint64 run = pending.beginRun();
    LogcatPending::StreamTail tail;
    for (int i = 0; i < 10; ++i)
        pending.add(run, tail, QStringLiteral("line %1\n").arg(i));
    EXPECT_EQ(texts(pending.take()), (QStringList{"line 6", "line 7", "line 8", "line 9"}));
    EXPECT_EQ(pending.dropped(), 6);
    EXPECT_EQ(pending.size(), 0);
}

TEST(LogcatPendingTest, BoundsWaitingCharacters)
{
    LogcatPending pending;
    pending.setLimit(1'000'000);
    const quint64 run = pending.beginRun();
    LogcatPending::StreamTail tail;
    const QString line = QString(LogcatPending::kMaxLineLength - 1, QLatin1Char('z')) + QLatin1Char('\n');
    const qsizetype fits = LogcatPending::kMaxPendingChars / (LogcatPending::kMaxLineLength - 1);
    for (qsizetype i = 0; i < fits + 50; ++i)
        pending.add(run, tail, line);
    EXPECT_EQ(pending.size(), fits);
    EXPECT_EQ(pending.dropped(), 50);
}

TEST(LogcatPendingTest, OutputOfARetiredRunIsIgnored)
{
    LogcatPending pending;
    LogcatPending::StreamTail tail;
    const quint64 first = pending.beginRun();
    pending.add(first, tail, QStringLiteral("kept\n"));
    const quint64 second = pending.beginRun();
    pending.add(first, tail, QStringLiteral("late\n"));
    pending.add(second, tail, QStringLiteral("new\n"));
    EXPECT_EQ(texts(pending.take()), (QStringList{"kept", "new"}));

    pending.add(second, tail, QStringLiteral("waiting\n"));
    pending.retireRuns();
    pending.add(second, tail, QStringLiteral("after\n"));
    EXPECT_TRUE(pending.take().empty());
}

} // namespace
