#pragma once

#include <QString>

#include <optional>

// Where the programs of the end-to-end suite are (set by the build).
namespace E2eTools {

QString python();
QString adb();
QString phoneScript();      // fakedevice.py
QString applicationBinary(); // the built application
QString resourcesFolder();  // the resources beside the built application

// Writes an APK the phone's installer accepts (a zip holding a plain-text manifest, labelled
// "Проба"); false with the reason when it could not.
bool writeApk(const QString &path, const QString &packageName, int versionCode, QString *error);

// Why the suite cannot run here, or none.
std::optional<QString> unavailableReason();

} // namespace E2eTools
