#pragma once

#include "CommandResult.h"
#include "FastbootDevice.h"
#include "ProcessExecution.h"

#include <QCoro/QCoroTask>
#include <QStringList>

#include <chrono>
#include <optional>

// The fastboot tool at one location; the same shape as ADBService.
class FastbootService {
public:
    FastbootService() = default;
    explicit FastbootService(QString executableURL) : executableURL(std::move(executableURL)) {}

    QString executableURL;

    // fastboot waits for ever for a device that is gone: every run has a limit (tests shorten them).
    std::chrono::milliseconds devicesTimeout{10000};
    std::chrono::milliseconds variablesTimeout{20000};
    std::chrono::milliseconds rebootTimeout{30000};

    QCoro::Task<FastbootDeviceList> devices() const;
    QCoro::Task<FastbootVariableList> variables(std::optional<QString> serial) const;
    QCoro::Task<CommandResult> reboot(std::optional<QString> target, std::optional<QString> serial) const;

    bool operator==(const FastbootService &) const = default;

private:
    QCoro::Task<CommandResult> run(QStringList arguments, RunTimeout timeout) const;
};
