#include "core/PlatformTexts.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

TEST(PlatformTexts, EveryMacTextHasACounterpartForThisSystem)
{
    const QStringList texts = PlatformTexts::macTexts();
    ASSERT_FALSE(texts.isEmpty());
    for (const QString &mac : texts) {
        EXPECT_TRUE(mac.contains(QStringLiteral("Mac")) || mac.contains(QStringLiteral("Finder"))) << mac.toStdString();
#ifdef Q_OS_MACOS
        EXPECT_EQ(PlatformTexts::text(mac), mac);
#else
        EXPECT_FALSE(PlatformTexts::text(mac).contains(QStringLiteral("Mac"))) << mac.toStdString();
        EXPECT_FALSE(PlatformTexts::text(mac).contains(QStringLiteral("Finder"))) << mac.toStdString();
        EXPECT_FALSE(PlatformTexts::text(mac).isEmpty());
#endif
    }
    EXPECT_EQ(PlatformTexts::text(QStringLiteral("Android")), QStringLiteral("Android"));
}

} // namespace
