#include "PhoneSession.h"
#include "ProcessSweep.h"

#include "shell/QtCatalogue.h"

#include <QApplication>
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
    // As main sets the application up.
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrel"));
    QApplication::setOrganizationName(QStringLiteral("Kestrel"));
    QtCatalogue::install(&app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
