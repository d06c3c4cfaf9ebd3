#pragma once

#include "bridge/AndroidPackage.h"
#include "bridge/PackageAction.h"
#include "bridge/PresetPreview.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The words of the main window's confirmation dialogs and alerts, built from the model's
// current values each time a dialog is shown (and once more while it closes, when the
// driving value is already gone).
namespace ConfirmationTexts {

// "Удалить для пользователя: 3 приложений?"; "Подтвердите действие" when nothing is pending.
QString packageActionTitle(std::optional<PackageAction> action, qsizetype selectedCount);
// The confirm button: the action's label, "Выполнить" when nothing is pending.
QString packageActionConfirm(std::optional<PackageAction> action);
// The consequence sentences, then the counts of system and risky packages among the names
// that are in the catalogue, in the order of `selectedNames`.
QString packageActionMessage(std::optional<PackageAction> action, const QStringList &selectedNames,
                             const QList<AndroidPackage> &packages);

// "Отключить: 12?"; "Подтвердите выполнение пресета" when nothing awaits execution.
QString presetExecutionTitle(const std::optional<PresetPreview> &preview);
// None while nothing awaits execution.
std::optional<QString> presetExecutionMessage(const std::optional<PresetPreview> &preview);

// What uninstalling for user 0 does to apps that are not part of the firmware: on a phone with
// one user they go whole, data included, and nothing is left to restore. Every confirmation of
// an uninstall says it in these words.
QString userAppsRemoval(qsizetype userCount);

// An alert's text, "Неизвестная ошибка" while the message is gone.
QString alertMessage(const std::optional<QString> &message);

} // namespace ConfirmationTexts
