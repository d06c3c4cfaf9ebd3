#include "shell/AppDialogs.h"
#include "design/DeckButton.h"
#include "screenkit/DialogPresenter.h"
#include "screenkit/ScreenDialogs.h"
#include "shell/MainWindow.h"
#include "shell/RootView.h"

#include "ShellHarness.h"
#include "WidgetTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

namespace {

struct DialogFixture {
    ShellHarness h;
    std::unique_ptr<MainWindow> window;
    AppDialogs *dialogs = nullptr;

    DialogFixture()
    {
        h.connect();
        h.model->packages.set({AndroidPackage(QStringLiteral("com.example.app"), std::nullopt, PackageKind::user),
                               AndroidPackage(QStringLiteral("com.android.systemui"), std::nullopt,
                                              PackageKind::system)});
        window = std::make_unique<MainWindow>(h.model.get(), h.settings.get(), MainWindow::Hooks{});
        window->show();
        dialogs = window->root()->dialogs();
    }

    QMessageBox *requestUninstall()
    {
        h.model->selectedPackageIDs.set({QStringLiteral("com.example.app"), QStringLiteral("com.android.systemui")});
        h.model->request(PackageAction::uninstall);
        return qobject_cast<QMessageBox *>(dialogs->packageAction()->dialog());
    }

    QList<QStringList> uninstallCalls() const
    {
        QList<QStringList> found;
        for (const QStringList &call : h.fake.calls())
            if (call.contains(QStringLiteral("uninstall")))
                found << call;
        return found;
    }
};

TEST(AppDialogs, PackageActionDialogShowsTheConfirmationWordForWord)
{
    DialogFixture f;
    QMessageBox *box = f.requestUninstall();
    ASSERT_TRUE(box);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->windowModality(), Qt::WindowModal);
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->text(), QStringLiteral("Удалить для пользователя: 2 приложений?"));
    EXPECT_EQ(box->informativeText(),
              QStringLiteral("Системные пакеты будут удалены только для пользователя 0. APK останется в прошивке, "
                             "восстановление возможно командой «Восстановить». Пользовательские приложения (1) будут "
                             "удалены вместе с данными без возможности восстановления. Системных пакетов: 1. "
                             "Повышенный риск: com.android.systemui."));
    QAbstractButton *confirm = dialogButton(box, QStringLiteral("Удалить для пользователя"));
    ASSERT_TRUE(confirm);
    EXPECT_EQ(box->buttonRole(confirm), QMessageBox::DestructiveRole);
    ASSERT_TRUE(dialogButton(box, QStringLiteral("Отмена")));
}

TEST(AppDialogs, CancelAndEscapeClearOnlyThePendingAction)
{
    DialogFixture f;
    for (bool escape : {false, true}) {
        QMessageBox *box = f.requestUninstall();
        ASSERT_TRUE(box);
        if (escape)
            QTest::keyClick(box, Qt::Key_Escape);
        else
            dialogButton(box, QStringLiteral("Отмена"))->click();
        EXPECT_EQ(f.h.model->pendingAction(), std::nullopt);
        EXPECT_EQ(f.dialogs->packageAction()->dialog(), nullptr);
        EXPECT_EQ(f.h.model->selectedPackageIDs().size(), 2);
        EXPECT_EQ(f.h.model->packages().size(), 2);
    }
    EXPECT_TRUE(f.uninstallCalls().isEmpty());
}

TEST(AppDialogs, ConfirmRunsTheActionOnce)
{
    DialogFixture f;
    QMessageBox *box = f.requestUninstall();
    ASSERT_TRUE(box);
    dialogButton(box, QStringLiteral("Удалить для пользователя"))->click();
    EXPECT_EQ(f.h.model->pendingAction(), std::nullopt);
    ASSERT_TRUE(waitUntil([&] { return f.uninstallCalls().size() == 2 && !f.h.model->runningOperation(); }));
    EXPECT_EQ(f.dialogs->packageAction()->dialog(), nullptr); // it does not come back
    ASSERT_TRUE(settleCommands());
    EXPECT_EQ(f.uninstallCalls().size(), 2);
}

TEST(AppDialogs, DeviceChangeWithdrawsTheDialogWithoutRunningIt)
{
    DialogFixture f;
    QPointer<QMessageBox> box = f.requestUninstall();
    ASSERT_TRUE(box);
    f.h.disconnect();
    EXPECT_EQ(f.dialogs->packageAction()->dialog(), nullptr);
    EXPECT_TRUE(waitUntil([&] { return box.isNull() || !box->isVisible(); }));
    EXPECT_FALSE(f.h.model->runningOperation().has_value()); // a batch shows itself at once
    ASSERT_TRUE(settleCommands());
    EXPECT_TRUE(f.uninstallCalls().isEmpty());
}

TEST(AppDialogs, AlertsAndDebloatSheetWriteTheirValueBack)
{
    DialogFixture f;
    const struct {
        Published<std::optional<QString>> &message;
        DialogPresenter *presenter;
        QString title;
    } alerts[] = {
        {f.h.model->packageExportErrorMessage, f.dialogs->exportError(), QStringLiteral("Выгрузка APK завершена с ошибками")},
        {f.h.model->presetErrorMessage, f.dialogs->presetError(), QStringLiteral("Пресет не загружен")},
    };
    for (const auto &a : alerts) {
        a.message.set(QStringLiteral("<b>com.example.app</b>: нет доступа"));
        auto *alert = qobject_cast<QMessageBox *>(a.presenter->dialog());
        ASSERT_TRUE(alert);
        EXPECT_EQ(alert->text(), a.title);
        EXPECT_EQ(alert->informativeText(), QStringLiteral("<b>com.example.app</b>: нет доступа"));
        EXPECT_EQ(alert->textFormat(), Qt::PlainText); // device and file text is never markup
        dialogButton(alert, QStringLiteral("Закрыть"))->click();
        EXPECT_EQ(a.message(), std::nullopt);

        // A workflow setting the message again opens the alert again.
        a.message.set(QStringLiteral("второй раз"));
        ASSERT_TRUE(a.presenter->dialog());
        QTest::keyClick(a.presenter->dialog(), Qt::Key_Escape);
        EXPECT_EQ(a.message(), std::nullopt);
    }

    f.h.model->isDebloatReviewPresented.set(true);
    QDialog *sheet = f.dialogs->debloatReview()->dialog();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
    sheet->reject();
    EXPECT_FALSE(f.h.model->isDebloatReviewPresented());
}

PresetPreview disablePreview()
{
    PackagePreset preset;
    preset.name = QStringLiteral("Без лишнего");
    preset.action = PresetAction::disable;
    return PresetPreview(preset, {{QStringLiteral("com.example.app"), {}, PackageKind::user},
                                  {QStringLiteral("com.missing.app"), {}, std::nullopt}});
}

TEST(AppDialogs, PresetPreviewSheetHandsOverToTheExecutionDialog)
{
    DialogFixture f;
    f.h.model->presetPreview.set(disablePreview());
    QDialog *first = f.dialogs->presetPreview()->dialog();
    ASSERT_TRUE(first);
    // Another loaded file is a new presentation, built from the new value.
    f.h.model->presetPreview.set(disablePreview());
    ASSERT_TRUE(f.dialogs->presetPreview()->dialog());
    EXPECT_EQ(f.dialogs->presetPreview()->shownIdentity(), f.h.model->presetPreview()->id.toString());

    f.h.model->requestPresetExecution(*f.h.model->presetPreview());
    EXPECT_EQ(f.dialogs->presetPreview()->dialog(), nullptr);
    auto *box = qobject_cast<QMessageBox *>(f.dialogs->presetExecution()->dialog());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text(), QStringLiteral("Отключить: 1?"));
    EXPECT_EQ(box->informativeText(), QStringLiteral("Будут обработаны только найденные на устройстве пакеты. "
                                                     "Отсутствующие пакеты (1) будут пропущены."));
    QAbstractButton *confirm = dialogButton(box, QStringLiteral("Отключить"));
    ASSERT_TRUE(confirm);
    EXPECT_EQ(box->buttonRole(confirm), QMessageBox::AcceptRole); // disabling is not destructive
    confirm->click();
    EXPECT_EQ(f.h.model->pendingPresetExecution(), std::nullopt);
    EXPECT_TRUE(waitUntil([&] {
        for (const QStringList &call : f.h.fake.calls())
            if (call.contains(QStringLiteral("disable-user")) && call.contains(QStringLiteral("com.example.app")))
                return true;
        return false;
    }));
}

TEST(AppDialogs, PresetExecutionCancelRunsNothing)
{
    DialogFixture f;
    f.h.model->presetPreview.set(disablePreview());
    f.h.model->requestPresetExecution(*f.h.model->presetPreview());
    auto *box = qobject_cast<QMessageBox *>(f.dialogs->presetExecution()->dialog());
    ASSERT_TRUE(box);
    dialogButton(box, QStringLiteral("Отмена"))->click();
    EXPECT_EQ(f.h.model->pendingPresetExecution(), std::nullopt);
    EXPECT_FALSE(f.h.model->runningOperation().has_value()); // a batch shows itself at once
    ASSERT_TRUE(settleCommands());
    for (const QStringList &call : f.h.fake.calls())
        EXPECT_FALSE(call.contains(QStringLiteral("disable-user")));
}

TEST(AppDialogs, PermissionSheetStaysOffThePermissionsScreen)
{
    DialogFixture f;
    f.h.model->route.set(AppRoute::applications);
    f.h.model->selectedPackageIDs.set({QStringLiteral("com.example.app")});
    f.h.model->openPermissionManager();
    ASSERT_TRUE(f.h.model->permissionPackage());
    EXPECT_TRUE(f.dialogs->permissionManager()->dialog());

    // Coming to the Permissions screen withdraws the sheet and closes the manager.
    f.h.model->route.set(AppRoute::permissions);
    EXPECT_EQ(f.dialogs->permissionManager()->dialog(), nullptr);
    EXPECT_EQ(f.h.model->permissionPackage(), std::nullopt);

    // Opened inline there, it becomes a sheet when the user leaves the screen.
    f.h.model->openPermissionManager();
    EXPECT_EQ(f.dialogs->permissionManager()->dialog(), nullptr);
    f.h.model->route.set(AppRoute::overview);
    QDialog *sheet = f.dialogs->permissionManager()->dialog();
    ASSERT_TRUE(sheet);
    QTest::keyClick(sheet, Qt::Key_Escape);
    EXPECT_EQ(f.dialogs->permissionManager()->dialog(), nullptr);
    EXPECT_EQ(f.h.model->permissionPackage(), std::nullopt);
}

} // namespace

namespace {

// A confirming button looks what it does: the destructive role in the danger style, a plain
// confirmation as the primary button; "Отмена" is the quiet default that Return presses.
TEST(AppDialogs, ConfirmingButtonsWearTheirRole)
{
    DialogFixture f;
    const struct { const char *what; std::function<QMessageBox *()> open; QString confirm; DeckButtonRole role; } cases[] = {
        {"uninstall", [&] { return f.requestUninstall(); }, QStringLiteral("Удалить для пользователя"),
         DeckButtonRole::destructive},
        {"disabling preset",
         [&] {
             f.h.model->presetPreview.set(disablePreview());
             f.h.model->requestPresetExecution(*f.h.model->presetPreview());
             return qobject_cast<QMessageBox *>(f.dialogs->presetExecution()->dialog());
         },
         QStringLiteral("Отключить"), DeckButtonRole::primary},
    };
    for (const auto &c : cases) {
        QMessageBox *box = c.open();
        ASSERT_TRUE(box) << c.what;
        auto *confirm = qobject_cast<DeckButton *>(dialogButton(box, c.confirm));
        auto *cancel = qobject_cast<DeckButton *>(dialogButton(box, QStringLiteral("Отмена")));
        ASSERT_TRUE(confirm && cancel) << c.what;
        EXPECT_EQ(confirm->buttonStyle().role, c.role) << c.what;
        EXPECT_EQ(cancel->buttonStyle().role, DeckButtonRole::secondary) << c.what;
        EXPECT_EQ(box->defaultButton(), cancel) << c.what;
        EXPECT_EQ(box->escapeButton(), cancel) << c.what;
        cancel->click();
    }

    const struct { QMessageBox::ButtonRole role; DeckButtonRole look; } roles[] = {
        {QMessageBox::DestructiveRole, DeckButtonRole::destructive}, {QMessageBox::AcceptRole, DeckButtonRole::primary},
        {QMessageBox::YesRole, DeckButtonRole::primary}, {QMessageBox::RejectRole, DeckButtonRole::secondary},
        {QMessageBox::NoRole, DeckButtonRole::secondary}};
    QMessageBox box;
    for (const auto &r : roles) {
        auto *button = qobject_cast<DeckButton *>(ScreenDialogs::addButton(&box, QStringLiteral("Кнопка"), r.role));
        ASSERT_TRUE(button);
        EXPECT_EQ(button->buttonStyle().role, r.look) << r.role;
        EXPECT_EQ(box.buttonRole(button), r.role);
    }
}

} // namespace
