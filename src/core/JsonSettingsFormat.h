#pragma once

#include <QSettings>

// A QSettings format that keeps value types across launches: booleans, numbers, texts
// and byte arrays come back as what was written (INI files read everything back as
// text in a new process). Byte arrays are stored as {"type": "data", "base64": ...};
// other non-JSON types as a QDataStream image the same way ("type": "variant").
QSettings::Format jsonSettingsFormat();

// The application's own preference store: the native one on macOS, elsewhere the JSON file
// of `openJsonSettings` in the user's configuration folder.
QSettings *newStandardSettings(QObject *parent = nullptr);

// The JSON preference store under `configFolder`, named like the application's data folder:
// "<configFolder>/Larkspur/Larkspur.json". While that file does not exist, the preferences an
// earlier version kept in "<configFolder>/Kestrel/Kestrel.json" are copied into it, so they are
// read from there once; the old file is left as it was.
QSettings *openJsonSettings(const QString &configFolder, QObject *parent = nullptr);

// The format's two halves, for tests.
bool readJsonSettings(QIODevice &device, QSettings::SettingsMap &map);
bool writeJsonSettings(QIODevice &device, const QSettings::SettingsMap &map);
