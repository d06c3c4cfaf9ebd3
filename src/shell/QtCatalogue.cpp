#include "QtCatalogue.h"

#include "bridge/Resources.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace QtCatalogue {

QStringList defaultFolders()
{
    QStringList folders{QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
    if (const QString bundled = Resources::path(QStringLiteral("translations")); !bundled.isEmpty())
        folders << bundled;
    return folders;
}

QTranslator *install(QCoreApplication *app, const QStringList &folders)
{
    for (const QString &folder : folders) {
        auto *translator = new QTranslator(app);
        if (translator->load(QStringLiteral("qtbase_ru"), folder) && QCoreApplication::installTranslator(translator))
            return translator;
        delete translator;
    }
    return nullptr;
}

} // namespace QtCatalogue
