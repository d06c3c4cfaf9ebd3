#include "E2eTest.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtEndian>

namespace {

using DeviceControl = E2eTest;

// A screenshot saved under an odd name is a PNG of the device's screen size.
TEST_F(DeviceControl, ScreenshotIsAPngOfTheScreen)
{
    const QString destination = session->path(QStringLiteral("Снимок экрана 'первый'.png"));
    finish(model->saveScreenshot(destination));
    EXPECT_TRUE(statuses.contains(QStringLiteral("Снимок сохранён")))
        << statuses.join(QLatin1Char('\n')).toStdString();
    QFile file(destination);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray png = file.readAll();
    ASSERT_GE(png.size(), 24);
    EXPECT_EQ(png.left(8), QByteArray("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(png.mid(12, 4), QByteArray("IHDR"));
    const QJsonObject display = phone->device().value(QStringLiteral("display")).toObject();
    EXPECT_EQ(qFromBigEndian<quint32>(png.constData() + 16), quint32(display.value(QStringLiteral("width")).toInt()));
    EXPECT_EQ(qFromBigEndian<quint32>(png.constData() + 20), quint32(display.value(QStringLiteral("height")).toInt()));
    // adb quotes every word of an exec-out command.
    EXPECT_TRUE(phone->shellCommands().contains(QStringLiteral("screencap '-p'")));
}

// Screen size and density change and reset: the device keeps the override, "wm" reports
// it, and the model's snapshot read afterwards shows it.
TEST_F(DeviceControl, ScreenSizeAndDensityChangeAndReset)
{
    const auto display = [&] { return phone->device().value(QStringLiteral("display")).toObject(); };
    struct Step {
        const char *name;
        std::function<QCoro::Task<void>()> run;
        QString command;
        std::function<bool()> onPhone;
        std::function<bool(const DeviceSnapshot &)> shown;
    };
    const QList<Step> steps{
        {"size", [&] { return model->applyScreenSize(QStringLiteral("720x1600")); }, QStringLiteral("wm size 720x1600"),
         [&] { return display().value(QStringLiteral("override_size")).toString() == QStringLiteral("720x1600"); },
         [](const DeviceSnapshot &s) { return s.screenOverrideSize == QStringLiteral("720x1600"); }},
        {"size reset", [&] { return model->resetScreenSize(); }, QStringLiteral("wm size reset"),
         [&] { return display().value(QStringLiteral("override_size")).isNull(); },
         [](const DeviceSnapshot &s) { return !s.screenOverrideSize && s.screenSize == QStringLiteral("1080x2400"); }},
        {"density", [&] { return model->applyScreenDensity(320); }, QStringLiteral("wm density 320"),
         [&] { return display().value(QStringLiteral("override_density")).toInt() == 320; },
         [](const DeviceSnapshot &s) { return s.screenOverrideDensity == 320; }},
        {"density reset", [&] { return model->resetScreenDensity(); }, QStringLiteral("wm density reset"),
         [&] { return display().value(QStringLiteral("override_density")).isNull(); },
         [](const DeviceSnapshot &s) { return !s.screenOverrideDensity && s.screenDensity == 420; }},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.name);
        finish(step.run());
        EXPECT_TRUE(step.onPhone()) << QJsonDocument(display()).toJson().toStdString();
        EXPECT_TRUE(phone->shellCommands().contains(step.command));
        ASSERT_TRUE(eventually([&] { return model->snapshot() && step.shown(*model->snapshot()); }))
            << model->toolsStatusText().toStdString();
    }
}

// A reboot takes the phone away; the monitor finds it again and the model lists its
// packages again, with no action of the user.
TEST_F(DeviceControl, RebootedPhoneIsPickedUpAgain)
{
    const int bootCount = phone->device().value(QStringLiteral("boot_count")).toInt();
    const qsizetype listingsBefore = phone->shellCommands().count(QStringLiteral("pm list packages -f -3"));
    finish(model->reboot(std::nullopt));
    EXPECT_TRUE(statuses.contains(QStringLiteral("Команда перезагрузки отправлена")))
        << statuses.join(QLatin1Char('\n')).toStdString();

    ASSERT_TRUE(eventually([&] {
        const auto device = model->selectedDevice();
        return !device || !device->isReady();
    })) << "the model sees the phone go away";
    ASSERT_TRUE(eventually([&] {
        const auto device = model->selectedDevice();
        return device && device->id == phone->serial() && device->isReady() && !model->packages().isEmpty()
            && !model->isBusy();
    }, 90000)) << "the model finds the phone again";
    EXPECT_EQ(phone->device().value(QStringLiteral("boot_count")).toInt(), bootCount + 1);
    EXPECT_GT(phone->shellCommands().count(QStringLiteral("pm list packages -f -3")), listingsBefore);
    EXPECT_TRUE(phone->services().contains(QStringLiteral("reboot:")));
}

} // namespace
