#include <QApplication>
#include <gtest/gtest.h>

#include "TestSupport.h"

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int status = RUN_ALL_TESTS();
    // Commands a test left running still hand their answers back: the coroutines awaiting them
    // resume and end, instead of staying suspended (and reported as leaked) when the process exits.
    settleCommands(5000);
    return status;
}
