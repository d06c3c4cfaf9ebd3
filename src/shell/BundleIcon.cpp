#include "BundleIcon.h"

#include "bridge/Resources.h"

#include <QFileInfo>

namespace BundleIcon {

std::optional<QIcon> load(const QString &path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return std::nullopt;
    QIcon icon(path);
    if (icon.pixmap(64, 64).isNull())
        return std::nullopt;
    return icon;
}

const std::optional<QIcon> &image()
{
    // A function-local static: initialised once, safely from any thread.
    static const std::optional<QIcon> icon = load(Resources::path(QStringLiteral("AppIcon.svg")));
    return icon;
}

} // namespace BundleIcon
