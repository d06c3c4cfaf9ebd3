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

TEST(LogcatPendingTest, ALongLineIsCutToOneLineEndingInAnEllipsis)
{
    const qsizetype cap = LogcatPending::kMaxLineLength;
    const QString ellipsis = QStringLiteral("…");
    const QString pair = QString::fromUtf8("😀");
    const QString as = QString(cap - 1, QLatin1Char('a'));
    struct Case {
        const char *name;
        QStringList chunks;
        QStringList lines;
    };
    const QList<Case> cases = {
        {"at the cap: whole", {QString(cap, QLatin1Char('a')) + QStringLiteral("\r\nnext\n")},
         {QString(cap, QLatin1Char('a')), "next"}},
        {"over it in one chunk", {QString(cap * 2 + 10, QLatin1Char('a')) + QStringLiteral("\nnext\n")},
         {as + ellipsis, "next"}},
        {"over it across chunks", {QString(cap + 5, QLatin1Char('a')), QString(cap * 3, QLatin1Char('b')), "bb\nnext\n"},
         {as + ellipsis, "next"}},
        {"the cut leaves a surrogate pair whole",
         {QString(cap - 2, QLatin1Char('c')) + pair + QStringLiteral("more\n")},
         {QString(cap - 2, QLatin1Char('c')) + ellipsis}},
        {"leading blanks take no room", {QString(cap, QLatin1Char(' ')) + QString(cap, QLatin1Char('d')) + "\n"},
         {QString(cap, QLatin1Char('d'))}},
        {"nor before a cut", {QString(cap, QLatin1Char(' ')) + QString(cap + 1, QLatin1Char('d')) + "\n"},
         {QString(cap - 1, QLatin1Char('d')) + ellipsis}},
        {"a blank tail over the cap is only leading space", {QString(cap + 10, QLatin1Char(' ')), "word\n"}, {"word"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        LogcatPending::StreamTail tail;
        const QStringList lines = split(c.chunks, tail);
        EXPECT_EQ(lines, c.lines);
        EXPECT_TRUE(tail.text.isEmpty());
        for (const QString &line : lines)
            EXPECT_LE(line.size(), cap);
    }
}

TEST(LogcatPendingTest, AnEndlessLineStaysBoundedAndOneLine)
{
    const qsizetype cap = LogcatPending::kMaxLineLength;
    LogcatPending::StreamTail endless;
    QList<PendingLine> pieces;
    for (int i = 0; i < 100; ++i) {
        LogcatPending::splitLines(endless, QString(1000, QLatin1Char('b')), pieces);
        EXPECT_LE(endless.text.size(), cap + 1);
    }
    ASSERT_EQ(texts(pieces), QStringList{QString(cap - 1, QLatin1Char('b')) + QStringLiteral("…")});
    // Its end drops the rest; the next line is a line of its own.
    LogcatPending::splitLines(endless, QStringLiteral("bbb\nnext\n"), pieces);
    EXPECT_EQ(texts(pieces).last(), QStringLiteral("next"));
    EXPECT_EQ(pieces.size(), 2);
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
