#include "shell/TerminationSignals.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>

namespace {

// Each termination signal reaches the handler on the main thread, once; the handlers
// that were installed before come back afterwards, so nothing of the process is changed.
TEST(TerminationSignals, EachSignalCallsTheHandlerAndThePreviousHandlersReturn)
{
    const int numbers[] = {SIGTERM, SIGINT, SIGHUP};
    struct sigaction before[3];
    for (int i = 0; i < 3; ++i) {
        struct sigaction ignore = {};
        ignore.sa_handler = SIG_IGN;
        ::sigaction(numbers[i], &ignore, &before[i]);
    }
    {
        QList<int> received;
        TerminationSignals termination([&](int number) { received << number; });
        for (const int number : numbers) {
            const qsizetype count = received.size();
            ASSERT_EQ(::raise(number), 0);
            ASSERT_TRUE(waitUntil([&] { return received.size() > count; })) << number;
            EXPECT_EQ(received.last(), number);
        }
        EXPECT_EQ(received, (QList<int>{SIGTERM, SIGINT, SIGHUP}));
    }
    for (int i = 0; i < 3; ++i) {
        struct sigaction now = {};
        ::sigaction(numbers[i], nullptr, &now);
        EXPECT_EQ(now.sa_handler, SIG_IGN) << numbers[i];
        ::sigaction(numbers[i], &before[i], nullptr);
    }
}

} // namespace
