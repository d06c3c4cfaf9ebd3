#include "AppDialogs.h"

#include "screenkit/ConfirmationTexts.h"
#include "screenkit/DialogPresenter.h"
#include "screenkit/ScreenDialogs.h"

#include "screens/packages/DebloatReviewSheet.h"
#include "screens/packages/PermissionManagerSheet.h"

#include "core/AppModel.h"
#include "screens/packages/PresetPreviewSheet.h"
#include "bridge/PresetAction.h"

#include <QMessageBox>

using ScreenDialogs::alert;
using ScreenDialogs::confirmation;
using ScreenDialogs::wasConfirmed;

AppDialogs::AppDialogs(AppModel *model, QWidget *host) : QObject(host), m_model(model)
{
    m_debloatReview = new DialogPresenter(
        host, {.identity = [model]() -> std::optional<QString> {
                   return model->isDebloatReviewPresented() ? std::optional(QStringLiteral("debloat")) : std::nullopt;
               },
               .build = [model](QWidget *parent) -> QDialog * { return new DebloatReviewSheet(model, parent); },
               .dismissed = [model](QDialog *, int) { model->isDebloatReviewPresented.set(false); },
               .afterDismissal = {}});
    model->observe(model->isDebloatReviewPresented, this, [this] { m_debloatReview->sync(); });
    m_debloatReview->sync();

    m_packageAction = new DialogPresenter(
        host, {.identity = [model]() -> std::optional<QString> {
                   return model->pendingAction() ? std::optional(rawValue(*model->pendingAction())) : std::nullopt;
               },
               .build = [model](QWidget *parent) -> QDialog * {
                   const auto action = model->pendingAction();
                   // The names the action will run on, in name order.
                   QStringList names = model->pendingActionPackageNames();
                   if (names.isEmpty())
                       names = QStringList(model->selectedPackageIDs().cbegin(), model->selectedPackageIDs().cend());
                   names.sort();
                   return confirmation(parent, ConfirmationTexts::packageActionTitle(action, names.size()),
                                       ConfirmationTexts::packageActionMessage(action, names, model->packages()),
                                       ConfirmationTexts::packageActionConfirm(action), true);
               },
               .dismissed = [model](QDialog *dialog, int) {
                   // The confirmation reads and clears the pending action before the reset.
                   if (wasConfirmed(dialog))
                       model->confirmPendingAction();
                   model->cancelPendingAction();
               },
               .afterDismissal = {}});
    model->observe(model->pendingAction, this, [this] { m_packageAction->sync(); });
    m_packageAction->sync();

    m_exportError = new DialogPresenter(
        host, {.identity = [model]() -> std::optional<QString> { return model->packageExportErrorMessage(); },
               .build = [model](QWidget *parent) -> QDialog * {
                   return alert(parent, QStringLiteral("Выгрузка APK завершена с ошибками"),
                                ConfirmationTexts::alertMessage(model->packageExportErrorMessage()));
               },
               .dismissed = [model](QDialog *, int) { model->packageExportErrorMessage.set(std::nullopt); },
               .afterDismissal = {}});
    model->observe(model->packageExportErrorMessage, this, [this] { m_exportError->sync(); });
    m_exportError->sync();

    // A preview is identified by its own id: another loaded file is a new presentation.
    m_presetPreview = new DialogPresenter(
        host, {.identity = [model]() -> std::optional<QString> {
                   return model->presetPreview() ? std::optional(model->presetPreview()->id.toString()) : std::nullopt;
               },
               .build = [model](QWidget *parent) -> QDialog * {
                   return new PresetPreviewSheet(model, *model->presetPreview(), parent);
               },
               .dismissed = [model](QDialog *, int) { model->presetPreview.set(std::nullopt); },
               .afterDismissal = {}});
    model->observe(model->presetPreview, this, [this] { m_presetPreview->sync(); });
    m_presetPreview->sync();

    m_presetExecution = new DialogPresenter(
        host, {.identity = [model]() -> std::optional<QString> {
                   const auto &pending = model->pendingPresetExecution();
                   return pending ? std::optional(pending->id.toString()) : std::nullopt;
               },
               .build = [model](QWidget *parent) -> QDialog * {
                   const auto &pending = model->pendingPresetExecution();
                   return confirmation(parent, ConfirmationTexts::presetExecutionTitle(pending),
                                       ConfirmationTexts::presetExecutionMessage(pending),
                                       pending ? std::optional(title(pending->preset.action)) : std::nullopt,
                                       pending && pending->preset.action == PresetAction::uninstall);
               },
               .dismissed = [model](QDialog *dialog, int) {
                   if (wasConfirmed(dialog))
                       model->confirmPresetExecution();
                   model->pendingPresetExecution.set(std::nullopt);
               },
               .afterDismissal = {}});
    model->observe(model->pendingPresetExecution, this, [this] { m_presetExecution->sync(); });
    m_presetExecution->sync();

    m_presetError = new DialogPresenter(
        host, {.identity = [model]() -> std::optional<QString> { return model->presetErrorMessage(); },
               .build = [model](QWidget *parent) -> QDialog * {
                   return alert(parent, QStringLiteral("Пресет не загружен"),
                                ConfirmationTexts::alertMessage(model->presetErrorMessage()));
               },
               .dismissed = [model](QDialog *, int) { model->presetErrorMessage.set(std::nullopt); },
               .afterDismissal = {}});
    model->observe(model->presetErrorMessage, this, [this] { m_presetError->sync(); });
    m_presetError->sync();

    // The Permissions screen shows the same manager inline, so there the sheet is withdrawn.
    m_permissionManager = new DialogPresenter(
        host, {.identity = [model]() -> std::optional<QString> {
                   if (model->route() == AppRoute::permissions || !model->permissionPackage())
                       return std::nullopt;
                   return model->permissionPackage()->name;
               },
               .build = [model](QWidget *parent) -> QDialog * {
                   return new PermissionManagerSheet(model, *model->permissionPackage(), parent);
               },
               .dismissed = {},
               .afterDismissal = [model] { model->closePermissionManager(); }});
    model->observe(model->permissionPackage, this, [this] { m_permissionManager->sync(); });
    model->observe(model->route, this, [this] { m_permissionManager->sync(); });
    m_permissionManager->sync();
}
