#pragma once

#include "bridge/AndroidDevice.h"
#include "bridge/DeviceSnapshot.h"
#include "core/DeckAdvice.h"

#include <QDateTime>
#include <QList>

// What the advice rules look at, read from the model at one moment.
struct AdviceInputs {
    std::optional<DeviceSnapshot> snapshot;
    int reclaimableCount = 0;
    qint64 reclaimableBytes = 0;
    int removedPackageCount = 0;
    QList<AndroidDevice> devices;
    QDateTime now;
};

// The eight rules in their fixed order: storage, reclaim, battery, patch, root,
// wireless, unauthorized, removed; each adds at most one card.
QList<DeckAdvice> buildAdvice(const AdviceInputs &inputs);

// Midnight (local time) of an Android patch level "yyyy-MM-dd"; none for anything else.
std::optional<QDateTime> securityPatchDate(const QString &patch);

// Whole calendar months from `from` to `to` (negative when `to` is earlier): the
// largest n with from + n months not after `to`, months ending early clamped.
qint64 calendarMonthsBetween(const QDateTime &from, const QDateTime &to);
