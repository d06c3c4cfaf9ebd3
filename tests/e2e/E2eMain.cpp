#include "PhoneSession.h"
#include "ProcessSweep.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <cstring>
#include <iostream>

int main(int argc, char **argv)
{
    // The last check of a run: no process that any test of this run started is left.
    if (argc == 2 && std::strcmp(argv[1], "--sweep") == 0) {
        QList<MarkedProcess> left;
        if (awaitNoneMarkedWith(PhoneSession::runMarker(), 30000, &left)) {
            std::cout << "no process of the end-to-end run is left\n";
            return 0;
        }
        std::cout << "processes left behind by the end-to-end run (now killed):\n"
                  << describe(left).toStdString() << "\n";
        return 1;
    }
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
