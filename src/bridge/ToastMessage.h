#pragma once

#include "Tone.h"

#include <QString>
#include <QUuid>

#include <optional>

// One transient notice shown by the shell's toast stack.
struct ToastMessage {
    ToastMessage() = default;
    ToastMessage(QString icon, QString title, std::optional<QString> detail = std::nullopt, Tone tone = Tone::neutral)
        : id(QUuid::createUuid()), icon(std::move(icon)), title(std::move(title)), detail(std::move(detail)), tone(tone) {}

    QUuid id;
    QString icon;
    QString title;
    std::optional<QString> detail;
    Tone tone = Tone::neutral;

    bool operator==(const ToastMessage &) const = default;
};
