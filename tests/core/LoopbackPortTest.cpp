#include "LoopbackPort.h"

#include <QFile>
#include <QSet>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Ports for the suite's servers (adb servers, simulated phones) never come from the kernel's
// ephemeral range: a client given such a port as its source before the server binds it would
// connect to itself. Many are held at once, as by runs sharing the machine.
TEST(LoopbackPort, EveryReservedPortLiesOutsideTheEphemeralRange)
{
    QFile file(QStringLiteral("/proc/sys/net/ipv4/ip_local_port_range"));
    if (!file.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "this system has no ip_local_port_range";
    const QList<QByteArray> fields = file.readAll().simplified().split(' ');
    ASSERT_EQ(fields.size(), 2);
    const uint first = fields[0].toUInt(), last = fields[1].toUInt();
    EXPECT_EQ(LoopbackPort::ephemeralRange(), std::pair(quint16(first), quint16(last)));

    std::vector<std::unique_ptr<LoopbackPort>> held;
    QSet<quint16> numbers;
    for (int i = 0; i < 100; ++i) {
        auto reserved = std::make_unique<LoopbackPort>();
        ASSERT_TRUE(reserved->isValid());
        const quint16 port = reserved->number();
        EXPECT_TRUE(port < first || port > last) << port << " lies in " << first << "–" << last;
        EXPECT_GE(port, 1024);
        EXPECT_FALSE(port >= 5554 && port <= 5586) << port << " is an emulator's port to adb";
        EXPECT_NE(port, 5037) << "the default adb server's port";
        EXPECT_FALSE(numbers.contains(port)) << port << " handed out twice";
        numbers.insert(port);
        held.push_back(std::move(reserved));
    }
}

} // namespace
