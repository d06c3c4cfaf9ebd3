#include <QStringList>
#include <gtest/gtest.h>

#include <optional>

namespace {

// Failure messages show Qt's text as text, alone and inside containers.
TEST(TestPrinters, QtTextPrintsAsText)
{
    struct Case {
        std::string printed;
        std::string expected;
    };
    const Case cases[] = {
        {testing::PrintToString(QStringLiteral("Устройство «A»")), "\"Устройство «A»\""},
        {testing::PrintToString(std::optional<QString>(QStringLiteral("T900"))), "(\"T900\")"},
        {testing::PrintToString(QStringList{QStringLiteral("a"), QStringLiteral("б")}), "{ \"a\", \"б\" }"},
        {testing::PrintToString(QChar(u'ж')), "'ж' (U+0436)"},
        {testing::PrintToString(QByteArray("a\0b", 3)), "QByteArray(\"a\\0b\")"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.printed, c.expected);
}

} // namespace
