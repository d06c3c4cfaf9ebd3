#pragma once

#include "core/AppModel.h"
#include "core/AppSettings.h"
#include "design/Accessibility.h"
#include "design/Theme.h"

#include "FakeTool.h"
#include "TestSupport.h"

#include <memory>

// A model on the fake adb (no automatic refresh, no monitor, no search of the machine) and
// settings on a private store. Motion is reduced so route changes apply at once.
struct ShellHarness {
    FakeTool fake;
    TempSettings store;
    std::unique_ptr<AppSettings> settings;
    std::unique_ptr<AppModel> model;

    explicit ShellHarness(bool withAdb = true)
    {
        A11y::resetForTesting();
        A11y::setReduceMotion(true);
        Theme::apply(ColorScheme::dark, false);
        fake.setDefault({});
        settings = std::make_unique<AppSettings>(store.settings.get());
        settings->appearance.set(AppearanceMode::dark);
        model = std::make_unique<AppModel>(store.settings.get(),
                                           withAdb ? std::optional(ADBService(fake.adbPath())) : std::nullopt,
                                           false, false, AppModel::defaultDeviceMonitorIntervalNanoseconds,
                                           ToolSearchEnvironment{});
    }
    ~ShellHarness() { A11y::resetForTesting(); }

    // Lists one device in `state` and selects it.
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
};
