#pragma once

#include "bridge/AndroidPackage.h"

class AppModel;
class QMenu;
class QWidget;

namespace PackageContextMenu {

// The context menu of one row. Its package actions first make the package the whole selection,
// then ask the model (destructive ones wait for the confirmation); they are disabled while no
// device action can run, so a running batch cannot be joined by a second one. "Показать
// подробности" and "Скопировать идентификатор" always work. The menu deletes itself once hidden.
QMenu *build(AppModel *model, const AndroidPackage &package, QWidget *parent);

} // namespace PackageContextMenu
