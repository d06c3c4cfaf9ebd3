#include "BundleIcon.h"

#include "bridge/Resources.h"

#include <QFileInfo>
#include <QMutex>

#include <map>

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
    // Once per resources folder: a process has one, but a test that points the lookup at a
    // folder of its own must not leave its answer to everything after it.
    static QMutex lock;
    static std::map<QString, std::optional<QIcon>> loaded;
    const QString root = Resources::root();
    QMutexLocker locker(&lock);
    auto found = loaded.find(root);
    if (found == loaded.end())
        found = loaded.emplace(root, load(Resources::path(QStringLiteral("AppIcon.svg")))).first;
    return found->second;
}

} // namespace BundleIcon
