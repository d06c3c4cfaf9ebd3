#pragma once

#include <QSettings>

// A QSettings format that keeps value types across launches: booleans, numbers, texts
// and byte arrays come back as what was written (INI files read everything back as
// text in a new process). Byte arrays are stored as {"type": "data", "base64": ...};
// other non-JSON types as a QDataStream image the same way ("type": "variant").
QSettings::Format jsonSettingsFormat();

// The application's own preference store: the native one on macOS, the JSON format
// in the user's configuration folder elsewhere.
QSettings *newStandardSettings(QObject *parent = nullptr);

// The format's two halves, for tests.
bool readJsonSettings(QIODevice &device, QSettings::SettingsMap &map);
bool writeJsonSettings(QIODevice &device, const QSettings::SettingsMap &map);
