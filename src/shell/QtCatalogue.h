#pragma once

#include <QStringList>

class QCoreApplication;
class QTranslator;

// Qt's own texts (standard buttons, file dialogs, the context menus of text fields) in Russian:
// the "qtbase" catalogue from the first of `folders` that holds it, installed on `app`.
namespace QtCatalogue {

// Qt's translations folder, then a "translations" folder among the application's resources.
QStringList defaultFolders();
// The installed translator (owned by `app`), or null when no folder holds the catalogue.
QTranslator *install(QCoreApplication *app, const QStringList &folders = defaultFolders());

} // namespace QtCatalogue
