#pragma once

#include "CommandResult.h"
#include "ProcessExecution.h"

#include <QCoro/QCoroTask>
#include <QStringList>

// The fastboot tool at one location; the same shape as ADBService.
class FastbootService {
public:
    FastbootService() = default;
    explicit FastbootService(QString executableURL) : executableURL(std::move(executableURL)) {}

    QString executableURL;

    bool operator==(const FastbootService &) const = default;
};
