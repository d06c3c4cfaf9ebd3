#include "Resources.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {
QString &overrideRoot()
{
    static QString root;
    return root;
}
} // namespace

namespace Resources {

QString root()
{
    if (!overrideRoot().isEmpty())
        return overrideRoot();
    const QString appDir = QCoreApplication::applicationDirPath();
    for (const QString &candidate : {appDir + QStringLiteral("/resources"),
                                     appDir + QStringLiteral("/../Resources"),
                                     appDir + QStringLiteral("/../resources")}) {
        if (QFileInfo(candidate).isDir())
            return QDir::cleanPath(candidate);
    }
    return {};
}

QString path(const QString &relative)
{
    const QString base = root();
    if (base.isEmpty())
        return {};
    const QString full = base + QLatin1Char('/') + relative;
    return QFileInfo::exists(full) ? full : QString();
}

void setRootForTesting(const QString &folder)
{
    overrideRoot() = folder;
}

} // namespace Resources
