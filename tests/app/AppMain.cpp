#include "PhoneSession.h"
#include "ProcessSweep.h"

#include "shell/QtCatalogue.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryFile>
#include <gtest/gtest.h>

#include <cstring>
#include <iostream>

int main(int argc, char **argv)
{
    PhoneSession::setRunName("app");
    // The last check of a run: no process that a road of this run started is left.
    if (argc == 2 && std::strcmp(argv[1], "--sweep") == 0) {
        QList<MarkedProcess> left;
        if (awaitNoneMarkedWith(PhoneSession::runMarker(), 30000, &left)) {
            std::cout << "no process of the acceptance run is left\n";
            return 0;
        }
        std::cout << "processes left behind by the acceptance run (now killed):\n" << describe(left).toStdString() << "\n";
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A screen of a desktop's size: the offscreen platform's own (800×600) is smaller than the
    // main window, so nothing could be kept on it. The window sits at its top left corner.
    QTemporaryFile screens(QDir::tempPath() + QStringLiteral("/kestrel-app-screens-XXXXXX.json"));
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen" && screens.open()) {
        screens.write(R"({"screens": [{"name": "Desktop", "x": 0, "y": 0, "width": 1920, "height": 1200}]})");
        screens.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screens.fileName()));
    }
    // As main sets the application up.
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrel"));
    QApplication::setOrganizationName(QStringLiteral("Kestrel"));
    QtCatalogue::install(&app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
