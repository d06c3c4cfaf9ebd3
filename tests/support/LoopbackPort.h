#pragma once

#include <QLockFile>

#include <memory>
#include <optional>
#include <utility>

// A free TCP port on 127.0.0.1 for a server (a private adb server, a simulated phone), held for
// this process through a lock file shared by every run on the machine, so two runs never hand
// out the same port. The port is free when reserved; whoever uses it binds it afterwards.
//
// It never lies in the kernel's ephemeral range: until its server binds it (or while a phone
// reboots), a client connecting to such a port can be given that very port as its source, and
// Linux then connects the socket to itself.
class LoopbackPort {
public:
    LoopbackPort();
    quint16 number() const { return port; }
    bool isValid() const { return port != 0; }

    // The ports the kernel hands out as source ports (first, last), as this machine says.
    static std::pair<quint16, quint16> ephemeralRange();

private:
    quint16 port = 0;
    std::unique_ptr<QLockFile> lock;
};
