#pragma once

#include <QString>

// The application's bundled resources: a "resources" folder beside the executable
// (the build tree and Linux installs) or the bundle's Resources folder on macOS.
namespace Resources {

// The folder that holds the resources, or empty when none is found.
QString root();
// The path of the named resource (relative to the root) when it exists, else empty.
QString path(const QString &relative);
// Tests point the lookup at a folder of their own; an empty text restores the default.
void setRootForTesting(const QString &folder);

} // namespace Resources
