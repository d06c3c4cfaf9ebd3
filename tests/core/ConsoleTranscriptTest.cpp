#include "core/ConsoleTranscript.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const QString E(QChar(0x1B));

TEST(ConsoleTranscript, StripsControlSequencesOnly)
{
    struct Case {
        QString in, out;
    };
    const Case cases[] = {
        {E + QStringLiteral("[31mred") + E + QStringLiteral("[0m"), QStringLiteral("red")},
        {E + QStringLiteral("[1;34;42mbold") + E + QStringLiteral("[m tail"), QStringLiteral("bold tail")},
        {E + QStringLiteral("[?25l") + E + QStringLiteral("[2 q") + E + QStringLiteral("[K"), QString()},
        {QStringLiteral("plain\nтекст"), QStringLiteral("plain\nтекст")},
        // Not control sequences: other escapes and cut-off ones stay as they are.
        {E + QStringLiteral("]0;title\a"), E + QStringLiteral("]0;title\a")},
        {QStringLiteral("a") + E + QStringLiteral("[12"), QStringLiteral("a") + E + QStringLiteral("[12")},
        {E + E + QStringLiteral("[31mx"), E + QStringLiteral("x")},
        {E + QStringLiteral("[1") + E + QStringLiteral("[0mx"), E + QStringLiteral("[1x")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(stripANSIControlSequences(c.in), c.out) << c.in.toStdString();
}

TEST(ConsoleTranscript, StrippingAgreesWithTheExpression)
{
    const QRegularExpression pattern(QStringLiteral("\\x{1B}\\[[0-?]*[ -/]*[@-~]"));
    const QString alphabet = E + QStringLiteral("[[0;9?  /!@m~A\x7f\nж");
    QRandomGenerator random(42);
    for (int n = 0; n < 20000; ++n) {
        QString text;
        const int length = int(random.bounded(12));
        for (int i = 0; i < length; ++i)
            text += alphabet.at(int(random.bounded(int(alphabet.size()))));
        QString expected = text;
        expected.remove(pattern);
        ASSERT_EQ(stripANSIControlSequences(text), expected) << text.toStdString();
    }
}

TEST(ConsoleTranscript, AppendsCleanedTextAndKeepsTheNewest3000)
{
    QList<ConsoleEntry> entries;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    EXPECT_FALSE(appendConsoleEntry(entries, ConsoleEntryKind::standardOutput, E + QStringLiteral("[0m"), now));
    EXPECT_FALSE(appendConsoleEntry(entries, ConsoleEntryKind::standardOutput, QString(), now));
    EXPECT_TRUE(entries.isEmpty());

    EXPECT_TRUE(appendConsoleEntry(entries, ConsoleEntryKind::standardError, QStringLiteral("  half a li"), now));
    ASSERT_EQ(entries.size(), 1);
    EXPECT_EQ(entries[0].text, QStringLiteral("  half a li")); // neither trimmed nor split
    EXPECT_EQ(entries[0].kind, ConsoleEntryKind::standardError);
    EXPECT_EQ(entries[0].timestamp, now);

    for (int i = 1; i <= 3000; ++i)
        appendConsoleEntry(entries, ConsoleEntryKind::standardOutput, QString::number(i), now);
    ASSERT_EQ(entries.size(), 3000);
    EXPECT_EQ(entries.first().text, QStringLiteral("1"));
    EXPECT_EQ(entries.last().text, QStringLiteral("3000"));
}

} // namespace
