#include "E2eTest.h"

#include <QFile>

namespace {

// The simulated user taps "Allow" this long after adb offers its key: long enough for
// the monitor, polling every 200 ms, to show the waiting state first.
constexpr const char *kSecondsUntilAllowed = "8";

class Authorization : public E2eTest {
protected:
    QStringList phoneServeOptions() const override
    {
        return {QStringLiteral("--auth"), QStringLiteral("--auth-accept-after"),
                QString::fromLatin1(kSecondsUntilAllowed)};
    }
    bool startsWithModel() const override { return false; }
};

// A phone that has not yet allowed this computer is shown as unauthorized and nothing is
// run on it; once the user allows it, the model lists its packages with no action.
TEST_F(Authorization, UnauthorizedPhoneBecomesUsableOnceAllowed)
{
    model = &session->makeModel(true);
    followStatus();
    session->adb({QStringLiteral("connect"), phone->serial()}); // says "failed to authenticate" for now

    ASSERT_TRUE(eventually([&] {
        const auto device = model->selectedDevice();
        return device && device->state == QStringLiteral("unauthorized");
    }, 20000)) << "the waiting phone is shown";
    EXPECT_EQ(model->linkState().kind, LinkState::Case::unauthorized);
    EXPECT_FALSE(model->isDeviceUsable());
    EXPECT_TRUE(model->packages().isEmpty());
    EXPECT_TRUE(phone->services().isEmpty()) << "nothing can be opened before the user allows";

    ASSERT_TRUE(eventually([&] {
        const auto device = model->selectedDevice();
        return device && device->isReady() && !model->packages().isEmpty() && !model->isBusy();
    })) << "the allowed phone is listed";
    EXPECT_EQ(model->selectedDeviceID(), phone->serial());
    EXPECT_EQ(model->linkState().kind, LinkState::Case::connected);
    EXPECT_TRUE(phone->shellCommands().contains(QStringLiteral("pm list packages -f -3")));

    // The phone remembers the key of this computer's adb.
    QFile hostKey(session->path(QStringLiteral("home/.android/adbkey.pub")));
    QFile allowed(phone->stateFolder() + QStringLiteral("/adb_keys"));
    ASSERT_TRUE(hostKey.open(QIODevice::ReadOnly));
    ASSERT_TRUE(allowed.open(QIODevice::ReadOnly));
    const QByteArray key = hostKey.readAll().split(' ').first();
    EXPECT_FALSE(key.isEmpty());
    EXPECT_TRUE(allowed.readAll().contains(key));
}

} // namespace
