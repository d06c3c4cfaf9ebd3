#pragma once

#include "bridge/AndroidDevice.h"
#include "bridge/DeviceSnapshot.h"
#include "bridge/Tone.h"
#include "core/PackageListFilter.h"
#include "design/Labels.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// What the Overview shows, worked out from the snapshot and the model's counts: pure values,
// so each text, tone and fallback is checked without a window.
namespace OverviewFacts {

// "—", the placeholder of every missing single value.
QString dash();

// The snapshot's marketing name, else the device's display name, else "Устройство".
QString deviceTitle(const std::optional<DeviceSnapshot> &snapshot, const std::optional<AndroidDevice> &device);
QString androidLine(const std::optional<DeviceSnapshot> &snapshot);

struct Badge {
    QString icon;
    QString text;
    Tone tone = Tone::neutral;
    BadgeStyle style = BadgeStyle::outline;
    bool operator==(const Badge &) const = default;
};
// The fact strip: connection (always first), then patch, ABI, root, uptime and a build type
// other than "user", each only when the snapshot has it.
QList<Badge> factBadges(const std::optional<DeviceSnapshot> &snapshot);

struct Tile {
    enum class Accessory { none, charging, loading };
    QString icon;
    QString label;
    QString value;
    std::optional<QString> unit;
    std::optional<QString> footnote;
    Tone tone = Tone::neutral;
    std::optional<double> progress;
    Accessory accessory = Accessory::none;
    bool operator==(const Tile &) const = default;
};
Tile batteryTile(const std::optional<DeviceSnapshot> &snapshot);
Tile storageTile(const std::optional<DeviceSnapshot> &snapshot);
Tile memoryTile(const std::optional<DeviceSnapshot> &snapshot);
// `packageCount` entries in the catalogue; the skeleton stands in while `busy` and none are there.
Tile applicationsTile(qsizetype packageCount, const PackageCounts &counts, bool busy);

// "1080x2400", "1080x2400 → 720x1600" or "—".
QString screenText(const std::optional<DeviceSnapshot> &snapshot);
// "420 dpi", "420 → 320 dpi" or "—".
QString densityText(const std::optional<DeviceSnapshot> &snapshot);

struct InfoLine {
    QString label;
    QString value;
    bool mono = false;
    bool copyable = false;
    bool operator==(const InfoLine &) const = default;
};
// The sixteen rows of the technical details, in order.
QList<InfoLine> technicalRows(const std::optional<DeviceSnapshot> &snapshot, const std::optional<QString> &serial,
                              const std::optional<QString> &adbVersion);

// A record's time as the history shows it ("14:05").
QString historyTime(const QDateTime &date);

} // namespace OverviewFacts
