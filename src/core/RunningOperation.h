#pragma once

#include <QString>

#include <optional>

// The batch operation in progress; `progress` is a fraction from 0 to 1, none when
// the amount of work is unknown.
struct RunningOperation {
    QString title;
    std::optional<QString> detail;
    std::optional<double> progress;
    bool cancellable = false;

    bool operator==(const RunningOperation &) const = default;
};
