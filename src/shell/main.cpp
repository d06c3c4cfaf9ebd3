#include "KestrelApp.h"
#include "QtCatalogue.h"
#include "TerminationSignals.h"

#include "bridge/ProcessExecution.h"
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
    // Standard buttons, file dialogs and field menus speak the interface's language.
    QtCatalogue::install(&app);

    std::unique_ptr<QSettings> defaults(newStandardSettings());
    AppSettings settings(defaults.get());
    // The stored polling interval applies from this launch on.
    AppModel model(defaults.get(), std::nullopt, true, std::nullopt,
                   KestrelApp::monitorIntervalNanoseconds(settings.monitorInterval()));
    KestrelApp kestrel(&model, &settings);
    kestrel.showMainWindow();
    // Asked to end by the session or a terminal: quit as the "Выход" command does.
    TerminationSignals termination([&kestrel](int) { kestrel.quit(); });
    const int code = app.exec();
    // adb runs still under way end with the application rather than running on without it.
    endChildProcesses(std::chrono::seconds(2));
    return code;
}
