#include "E2eTools.h"

#include <QFileInfo>
#include <QProcess>

namespace E2eTools {

QString python() { return QStringLiteral(KESTREL_E2E_PYTHON); }
QString adb() { return QStringLiteral(KESTREL_E2E_ADB); }
QString phoneScript() { return QStringLiteral(KESTREL_FAKEDEVICE_DIR "/fakedevice.py"); }
QString applicationBinary() { return QStringLiteral(KESTREL_APP_BINARY); }
QString resourcesFolder() { return QStringLiteral(KESTREL_RESOURCES_DIR); }

bool writeApk(const QString &path, const QString &packageName, int versionCode, QString *error)
{
    const QString manifest =
        QStringLiteral("<manifest xmlns:android=\"http://schemas.android.com/apk/res/android\" package=\"%1\" "
                       "android:versionCode=\"%2\" android:versionName=\"1.%2\">\n"
                       "  <application android:label=\"Проба\"/>\n</manifest>\n")
            .arg(packageName)
            .arg(versionCode);
    QProcess zip;
    zip.start(python(),
              {QStringLiteral("-c"),
               QStringLiteral("import sys, zipfile\n"
                              "with zipfile.ZipFile(sys.argv[1], 'w') as z:\n"
                              "    z.writestr('AndroidManifest.xml', sys.argv[2])\n"
                              "    z.writestr('classes.dex', b'dex\\n035\\0')\n"),
               path, manifest});
    if (!zip.waitForFinished(30000) || zip.exitCode() != 0) {
        *error = QString::fromUtf8(zip.readAllStandardError());
        return false;
    }
    return true;
}

std::optional<QString> unavailableReason()
{
    if (!QFileInfo(phoneScript()).isFile())
        return QStringLiteral("the simulated phone is missing: %1 (configure with -DKESTREL_FAKEDEVICE_DIR=...)")
            .arg(phoneScript());
    if (!QFileInfo(python()).isExecutable())
        return QStringLiteral("python3 is missing: %1").arg(python());
    if (!QFileInfo(adb()).isExecutable())
        return QStringLiteral("adb is missing: %1").arg(adb());
    return std::nullopt;
}

} // namespace E2eTools
