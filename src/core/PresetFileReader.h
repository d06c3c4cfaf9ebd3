#pragma once

#include "bridge/DomainError.h"

#include <QByteArray>
#include <QString>

#include <optional>

// Reads a preset file the user chose without trusting it: only a regular file is
// opened for reading (a FIFO or a device never blocks us), its size is checked
// before any byte is read, and never more than `limit` + 1 bytes are read, so a
// file that grows meanwhile is still refused.
class PresetFileReader {
public:
    static constexpr qint64 sizeLimit = 1'000'000;

    struct Result {
        QByteArray data;
        std::optional<DomainError> error;
    };

    static Result read(const QString &path, qint64 limit = sizeLimit);
};
