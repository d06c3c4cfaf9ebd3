#pragma once

#include "core/AppModel.h"
#include "core/AppSettings.h"

#include "FakeTool.h"
#include "TestSupport.h"

#include <QApplication>

#include <memory>

// A model on the fake adb (or on none: adb missing) and preferences in a private file, with no
// automatic refresh or monitor and no search of the machine's own tools.
struct ShellHarness {
    FakeTool fake;
    TempSettings store;
    std::unique_ptr<AppModel> model;
    std::unique_ptr<AppSettings> settings;

    explicit ShellHarness(bool withADB = true)
    {
        model = std::make_unique<AppModel>(store.settings.get(),
                                           withADB ? std::optional<ADBService>(ADBService(fake.adbPath()))
                                                   : std::nullopt,
                                           false, false, AppModel::defaultDeviceMonitorIntervalNanoseconds,
                                           ToolSearchEnvironment{});
        settings = std::make_unique<AppSettings>(store.settings.get());
    }

    AppModel *operator->() { return model.get(); }

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
