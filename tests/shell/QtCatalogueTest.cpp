#include "shell/QtCatalogue.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTranslator>
#include <gtest/gtest.h>

namespace {

QString closeText()
{
    QDialogButtonBox box(QDialogButtonBox::Close | QDialogButtonBox::Cancel);
    return box.button(QDialogButtonBox::Close)->text() + QLatin1Char('|') +
           box.button(QDialogButtonBox::Cancel)->text();
}

TEST(QtCatalogue, StandardButtonsSpeakRussian)
{
    QTranslator *translator = QtCatalogue::install(qApp);
    ASSERT_TRUE(translator) << "qtbase_ru.qm in " << QtCatalogue::defaultFolders().join(u' ').toStdString();
    EXPECT_EQ(closeText(), QStringLiteral("Закрыть|Отмена"));
    // A field's context menu too.
    QLineEdit edit(QStringLiteral("text"));
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList items;
    for (QAction *action : menu->actions())
        items << action->text();
    EXPECT_TRUE(items.join(u'|').contains(QStringLiteral("Копировать"))) << items.join(u'|').toStdString();

    QCoreApplication::removeTranslator(translator);
    delete translator;
}

TEST(QtCatalogue, NoFolderWithTheCatalogueInstallsNothing)
{
    QTemporaryDir empty;
    EXPECT_EQ(QtCatalogue::install(qApp, {empty.path(), QStringLiteral("/nonexistent")}), nullptr);
    EXPECT_EQ(closeText(), QStringLiteral("Close|Cancel"));
}

} // namespace
