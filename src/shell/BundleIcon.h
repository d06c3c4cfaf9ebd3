#pragma once

#include <QIcon>

#include <optional>

// The application's icon from the bundled resources ("AppIcon.svg"), loaded once per resources
// folder; none when the file is missing or does not load (the platform's default icon stays).
namespace BundleIcon {
const std::optional<QIcon> &image();
// Loads the icon at `path`; none when it is missing or unreadable.
std::optional<QIcon> load(const QString &path);
} // namespace BundleIcon
