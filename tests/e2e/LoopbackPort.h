#pragma once

#include <QLockFile>

#include <memory>

// A free TCP port on 127.0.0.1, held for this process through a lock file shared by
// every run on the machine, so two runs never hand the same port to their phones or
// adb servers. The port is free when reserved; whoever uses it binds it afterwards.
class LoopbackPort {
public:
    LoopbackPort();
    quint16 number() const { return port; }
    bool isValid() const { return port != 0; }

private:
    quint16 port = 0;
    std::unique_ptr<QLockFile> lock;
};
