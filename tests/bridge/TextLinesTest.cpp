#include "bridge/TextLines.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

// The rule written the slow, obvious way.
QStringList referenceLines(const QString &text)
{
    QStringList lines;
    QString current;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\n' || u == '\v' || u == '\f' || u == '\r' || u == 0x85 || u == 0x2028 || u == 0x2029) {
            if (!current.isEmpty())
                lines << current;
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.isEmpty())
        lines << current;
    return lines;
}

TEST(TextLines, EveryBreakCharacterAtEveryPosition)
{
    const char16_t breaks[] = {u'\n', u'\v', u'\f', u'\r', 0x85, 0x2028, 0x2029};
    const char16_t others[] = {u'a', u'~', 0x0E, 0x09, 0x84, 0x86, 0x0430, 0x2027, 0x202A, 0xFFFF, 0x00};
    QRandomGenerator random(7);
    for (int round = 0; round < 2000; ++round) {
        QString text;
        const int length = random.bounded(0, 60);
        for (int i = 0; i < length; ++i) {
            const bool isBreak = random.bounded(6) == 0;
            text += QChar(isBreak ? breaks[random.bounded(int(std::size(breaks)))]
                                  : others[random.bounded(int(std::size(others)))]);
        }
        ASSERT_EQ(splitLines(text), referenceLines(text)) << round;
    }
    EXPECT_EQ(splitLines(QStringLiteral("a\r\nb\r\n\r\n")), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_TRUE(splitLines(QString()).isEmpty());
}

} // namespace
