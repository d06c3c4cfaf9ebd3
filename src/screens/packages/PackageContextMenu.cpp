#include "PackageContextMenu.h"

#include "core/AppModel.h"
#include "screenkit/DesktopServices.h"
#include "screenkit/ViewUpdates.h"

#include <QMenu>

namespace PackageContextMenu {

QMenu *build(AppModel *model, const AndroidPackage &package, QWidget *parent)
{
    auto *menu = new QMenu(parent);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setObjectName(QStringLiteral("packageContextMenu"));
    const QString name = package.name;
    QList<QAction *> packageActions;

    menu->addAction(QStringLiteral("Показать подробности"), menu, [model, name] { model->showInspector(name); });
    const auto act = [&](const QString &title, PackageAction action) {
        QAction *item = menu->addAction(title, menu, [model, name, action] {
            model->selectedPackageIDs.set({name});
            model->request(action);
        });
        packageActions << item;
    };
    menu->addSeparator();
    act(QStringLiteral("Отключить"), PackageAction::disable);
    act(QStringLiteral("Включить"), PackageAction::enable);
    act(QStringLiteral("Восстановить"), PackageAction::restore);
    menu->addSeparator();
    act(QStringLiteral("Удалить для пользователя…"), PackageAction::uninstall);
    act(QStringLiteral("Очистить данные…"), PackageAction::clearData);
    menu->addSeparator();
    menu->addAction(QStringLiteral("Скопировать идентификатор"), menu,
                    [name] { DesktopServices::current().copyText(name); });
    // A batch that starts while the menu is open disables its actions at once.
    const auto update = [model, packageActions] {
        for (QAction *item : packageActions)
            item->setEnabled(model->canRunDeviceAction());
    };
    ViewUpdates::observeEach(model, menu, update, model->deviceReadinessInputs());
    update();
    return menu;
}

} // namespace PackageContextMenu
