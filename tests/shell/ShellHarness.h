#pragma once

#include "core/AppModel.h"
#include "core/AppSettings.h"
#include "design/Accessibility.h"
#include "design/Theme.h"

#include "FakeTool.h"
#include "TestSupport.h"

#include <QApplication>

#include <memory>

// A model on the fake adb (or on none: adb missing) and preferences in a private file, with no
// automatic refresh or monitor and no search of the machine's own tools. Motion is reduced so
// route changes apply at once.
struct ShellHarness {
    FakeTool fake;
    TempSettings store;
    std::unique_ptr<AppSettings> settings;
    std::unique_ptr<AppModel> model;

    explicit ShellHarness(bool withADB = true)
    {
        A11y::resetForTesting();
        A11y::setReduceMotion(true);
        Theme::apply(ColorScheme::dark, false);
        fake.setDefault({});
        settings = std::make_unique<AppSettings>(store.settings.get());
        settings->appearance.set(AppearanceMode::dark);
        model = std::make_unique<AppModel>(store.settings.get(),
                                           withADB ? std::optional<ADBService>(ADBService(fake.adbPath()))
                                                   : std::nullopt,
                                           false, false, AppModel::defaultDeviceMonitorIntervalNanoseconds,
                                           ToolSearchEnvironment{});
        // Toasts stay unless a test shortens their life: a loaded machine is slower than their four seconds.
        model->toastLifetime = std::chrono::hours(1);
    }
    ~ShellHarness() { A11y::resetForTesting(); }

    AppModel *operator->() { return model.get(); }

    // Lists one device in `state` through the fake adb and selects it.
    void connect(const QString &state = QStringLiteral("device"), const QString &serial = QStringLiteral("R58N12ABCDE"))
    {
        fake.on({QStringLiteral("devices"), QStringLiteral("-l")},
                {.out = QStringLiteral("List of devices attached\n%1 %2 product:p model:Pixel_7 device:d "
                                       "transport_id:3\n\n")
                            .arg(serial, state)});
        runSync(model->refreshDevices());
    }
    void disconnect()
    {
        fake.on({QStringLiteral("devices"), QStringLiteral("-l")}, {.out = QStringLiteral("List of devices attached\n\n")});
        runSync(model->refreshDevices());
    }

    // Sets the device list and selection directly, without adb.
    void listDevices(const QList<AndroidDevice> &list, std::optional<QString> selected = std::nullopt)
    {
        model->devices.set(list);
        model->selectedDeviceID.set(selected);
    }
};

inline AndroidDevice device(const QString &serial, const QString &state = QStringLiteral("device"),
                            const QString &modelName = {})
{
    AndroidDevice d;
    d.id = serial;
    d.state = state;
    d.model = modelName;
    return d;
}

// Lets coalesced view updates run.
inline void settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}
