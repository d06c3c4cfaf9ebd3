#include "KestrelApp.h"
#include "TerminationSignals.h"

#include "core/AppModel.h"
#include "core/AppSettings.h"
#include "core/JsonSettingsFormat.h"

#include <QApplication>

#include <memory>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Larkspur"));
    QApplication::setOrganizationName(QStringLiteral("Kestrel"));
    QApplication::setApplicationVersion(QStringLiteral(KESTREL_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("larkspur"));

    std::unique_ptr<QSettings> defaults(newStandardSettings());
    AppSettings settings(defaults.get());
    // The stored polling interval applies from this launch on.
    AppModel model(defaults.get(), std::nullopt, true, std::nullopt,
                   KestrelApp::monitorIntervalNanoseconds(settings.monitorInterval()));
    KestrelApp kestrel(&model, &settings);
    kestrel.showMainWindow();
    // Asked to end by the session or a terminal: quit as the "Выход" command does.
    TerminationSignals termination([](int) { QApplication::closeAllWindows(); });
    return app.exec();
}
