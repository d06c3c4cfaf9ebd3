#include "E2eTools.h"

#include <QFileInfo>

namespace E2eTools {

QString python() { return QStringLiteral(KESTREL_E2E_PYTHON); }
QString adb() { return QStringLiteral(KESTREL_E2E_ADB); }
QString phoneScript() { return QStringLiteral(KESTREL_FAKEDEVICE_DIR "/fakedevice.py"); }
QString applicationBinary() { return QStringLiteral(KESTREL_APP_BINARY); }
QString resourcesFolder() { return QStringLiteral(KESTREL_RESOURCES_DIR); }

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
