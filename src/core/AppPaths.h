#pragma once

#include <QString>

// Folder names of the application's data under the user's application-support folder.
namespace AppPaths {
inline const QString supportFolder = QStringLiteral("Larkspur");
inline const QString legacySupportFolder = QStringLiteral("Wrenfield"); // presets move out of it once
} // namespace AppPaths
