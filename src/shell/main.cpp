#include "core/AppModel.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QSettings>
#include <QStatusBar>
#include <QVBoxLayout>

// A plain window over the model until the real shell arrives: which adb is in use
// and the devices it lists.
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Kestrel"));
    QApplication::setApplicationName(QStringLiteral("Kestrel"));

    QSettings userDefaults;
    AppModel model(&userDefaults);

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Kestrel"));
    auto *central = new QWidget(&window);
    auto *layout = new QVBoxLayout(central);
    auto *adbLabel = new QLabel(central);
    adbLabel->setWordWrap(true);
    adbLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *deviceList = new QListWidget(central);
    layout->addWidget(adbLabel);
    layout->addWidget(deviceList);
    window.setCentralWidget(central);

    const auto showAdb = [&] {
        adbLabel->setText(model.service ? QStringLiteral("ADB: ") + model.service->executableURL
                                        : QStringLiteral("ADB не найден. Установите Android Platform Tools."));
    };
    const auto showDevices = [&] {
        deviceList->clear();
        for (const AndroidDevice &device : model.devices()) {
            QString line = device.displayName() + QStringLiteral(" — ") + device.state;
            if (device.id == model.selectedDeviceID())
                line = QStringLiteral("● ") + line;
            deviceList->addItem(line);
        }
    };
    const auto showStatus = [&] {
        showAdb(); // a newly adopted adb always moves the status line
        window.statusBar()->showMessage(model.statusText());
    };

    model.observe(model.showADBSetup, &window, showAdb);
    model.observe(model.devices, &window, showDevices);
    model.observe(model.selectedDeviceID, &window, showDevices);
    model.observe(model.statusText, &window, showStatus);
    showAdb();
    showDevices();
    showStatus();

    window.resize(560, 380);
    window.show();
    return app.exec();
}
