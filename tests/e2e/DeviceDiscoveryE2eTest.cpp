#include "E2eTest.h"

#include <QJsonArray>
#include <QJsonObject>

namespace {

class DeviceDiscovery : public E2eTest {
protected:
    bool startsWithModel() const override { return false; }
};

// A phone connected from outside (adb connect in a terminal) is found by the monitor,
// selected, and its whole catalogue is listed, with the states the device holds.
TEST_F(DeviceDiscovery, PhoneConnectedFromOutsideIsFoundSelectedAndListed)
{
    AppModel &m = session->makeModel(true);
    finish(m.refreshDevices());
    EXPECT_TRUE(m.devices().isEmpty());
    EXPECT_FALSE(m.selectedDeviceID().has_value());

    QString error;
    ASSERT_TRUE(session->connect(*phone, &error)) << error.toStdString();
    ASSERT_TRUE(eventually([&] {
        const auto device = m.selectedDevice();
        return device && device->isReady() && !m.packages().isEmpty() && !m.isBusy();
    })) << "the phone is found, selected and listed";

    const AndroidDevice device = *m.selectedDevice();
    EXPECT_EQ(device.id, phone->serial());
    EXPECT_EQ(device.model, QStringLiteral("Pixel_8"));
    ASSERT_EQ(m.devices().size(), 1) << "the emulator scan must not list the phone a second time";

    // Every package the device knows, in the state the device keeps for user 0.
    QMap<QString, PackageState> expected;
    for (const QJsonValue &value : phone->packages()) {
        const QJsonObject p = value.toObject();
        const int enabled = p.value(QStringLiteral("enabled")).toInt();
        expected.insert(p.value(QStringLiteral("name")).toString(),
                        !p.value(QStringLiteral("installed")).toBool(true) ? PackageState::removedForUser
                        : (enabled == 0 || enabled == 1)                  ? PackageState::enabled
                                                                          : PackageState::disabled);
    }
    QMap<QString, PackageState> shown;
    for (const AndroidPackage &p : m.packages())
        shown.insert(p.name, p.state);
    EXPECT_EQ(shown, expected);

    const QStringList commands = phone->shellCommands();
    for (const char *listing : {"pm list packages -f -3", "pm list packages -f -s", "pm list packages -d --user 0",
                                "pm list packages -u --user 0"})
        EXPECT_TRUE(commands.contains(QString::fromLatin1(listing))) << listing;
}

} // namespace
