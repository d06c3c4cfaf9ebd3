#include "shell/AppDialogs.h"
#include "shell/DialogPresenter.h"
#include "shell/MainWindow.h"
#include "shell/RootView.h"

#include "ShellHarness.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <gtest/gtest.h>

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

    static QAbstractButton *button(QMessageBox *box, const QString &text)
    {
        for (QAbstractButton *b : box->buttons())
            if (b->text() == text)
                return b;
        return nullptr;
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
              QStringLiteral("Пакеты будут удалены только для пользователя 0. APK останется в прошивке, восстановление "
                             "возможно командой «Восстановить». Системных пакетов: 1. Повышенный риск: "
                             "com.android.systemui."));
    QAbstractButton *confirm = DialogFixture::button(box, QStringLiteral("Удалить для пользователя"));
    ASSERT_TRUE(confirm);
    EXPECT_EQ(box->buttonRole(confirm), QMessageBox::DestructiveRole);
    ASSERT_TRUE(DialogFixture::button(box, QStringLiteral("Отмена")));
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
            DialogFixture::button(box, QStringLiteral("Отмена"))->click();
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
    DialogFixture::button(box, QStringLiteral("Удалить для пользователя"))->click();
    EXPECT_EQ(f.h.model->pendingAction(), std::nullopt);
    ASSERT_TRUE(waitUntil([&] { return f.uninstallCalls().size() == 2 && !f.h.model->runningOperation(); }));
    EXPECT_EQ(f.dialogs->packageAction()->dialog(), nullptr); // it does not come back
    QTest::qWait(50);
    EXPECT_EQ(f.uninstallCalls().size(), 2);
}

TEST(AppDialogs, DeviceChangeWithdrawsTheDialogWithoutRunningIt)
{
    DialogFixture f;
    QPointer<QMessageBox> box = f.requestUninstall();
    ASSERT_TRUE(box);
    f.h.disconnect();
    EXPECT_EQ(f.dialogs->packageAction()->dialog(), nullptr);
    QTest::qWait(10);
    EXPECT_TRUE(box.isNull() || !box->isVisible());
    EXPECT_TRUE(f.uninstallCalls().isEmpty());
}

TEST(AppDialogs, ExportAlertAndDebloatSheetWriteTheirValueBack)
{
    DialogFixture f;
    f.h.model->packageExportErrorMessage.set(QStringLiteral("<b>com.example.app</b>: нет доступа"));
    auto *alert = qobject_cast<QMessageBox *>(f.dialogs->exportError()->dialog());
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->text(), QStringLiteral("Выгрузка APK завершена с ошибками"));
    EXPECT_EQ(alert->informativeText(), QStringLiteral("<b>com.example.app</b>: нет доступа"));
    EXPECT_EQ(alert->textFormat(), Qt::PlainText); // device text is never markup
    DialogFixture::button(alert, QStringLiteral("Закрыть"))->click();
    EXPECT_EQ(f.h.model->packageExportErrorMessage(), std::nullopt);

    // A workflow setting the message again opens the alert again.
    f.h.model->packageExportErrorMessage.set(QStringLiteral("второй раз"));
    ASSERT_TRUE(f.dialogs->exportError()->dialog());
    QTest::keyClick(f.dialogs->exportError()->dialog(), Qt::Key_Escape);
    EXPECT_EQ(f.h.model->packageExportErrorMessage(), std::nullopt);

    f.h.model->isDebloatReviewPresented.set(true);
    QDialog *sheet = f.dialogs->debloatReview()->dialog();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
    sheet->reject();
    EXPECT_FALSE(f.h.model->isDebloatReviewPresented());
}

} // namespace
