#include "screens/packages/PackageListPane.h"
#include "screens/packages/PackageListView.h"
#include "screens/packages/SelectionBar.h"

#include "design/DeckButton.h"
#include "design/MenuButton.h"
#include "shell/AppDialogs.h"
#include "screenkit/DialogPresenter.h"

#include "ApplicationsHarness.h"
#include "FakeDesktop.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QStringList on(const QStringList &args) { return S({"-s", "R58N12ABCDE"}) + args; }

DeckButton *barButton(AppsHarness &h, const QString &title)
{
    for (DeckButton *button : h.view->listPane()->selectionBar()->buttons())
        if (button->text() == title)
            return button;
    return nullptr;
}

QMenu *barMenu(AppsHarness &h) { return h.view->listPane()->selectionBar()->moreButton()->menu(); }

// A selection of three, one of which the search hides.
void selectThreeWithOneHidden(AppsHarness &h)
{
    h->selectedPackageIDs.set({QStringLiteral("com.example.gamma"), QStringLiteral("com.example.alpha"),
                               QStringLiteral("com.android.systemui")});
    h->searchText.set(QStringLiteral("com.example"));
    settle();
    ASSERT_EQ(h.shownNames().contains(QStringLiteral("com.android.systemui")), false);
}

TEST(PackageActions, ABulkActionFromTheBarRunsOnEverySelectedNameHiddenOnesIncluded)
{
    AppsHarness h;
    h.serveCatalogue();
    selectThreeWithOneHidden(h);
    barButton(h, QStringLiteral("Отключить"))->click();
    ASSERT_TRUE(waitUntil([&] { return !h->isBusy() && h.packageCommands().size() == 3; }));
    EXPECT_EQ(h.packageCommands(), (QList<QStringList>{
                                       on(S({"shell", "pm", "disable-user", "--user", "0", "com.android.systemui"})),
                                       on(S({"shell", "pm", "disable-user", "--user", "0", "com.example.alpha"})),
                                       on(S({"shell", "pm", "disable-user", "--user", "0", "com.example.gamma"})),
                                   }));
    // The selection stays for the next action.
    EXPECT_EQ(h->selectedPackageIDs().size(), 3);
}

TEST(PackageActions, ADestructiveBulkActionIsConfirmedWithTheHiddenNamesCounted)
{
    AppsHarness h;
    h.serveCatalogue();
    AppDialogs dialogs(h.model.get(), h.window.get());
    selectThreeWithOneHidden(h);
    barButton(h, QStringLiteral("Удалить"))->click();
    EXPECT_TRUE(h.packageCommands().isEmpty());
    auto *box = qobject_cast<QMessageBox *>(dialogs.packageAction()->dialog());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text(), QStringLiteral("Удалить для пользователя: 3 приложений?"));
    // The hidden system package is in the message too.
    EXPECT_TRUE(box->informativeText().contains(QStringLiteral("Системных пакетов: 1")));
    EXPECT_TRUE(box->informativeText().contains(QStringLiteral("System UI")));
    press(box, QStringLiteral("Удалить для пользователя"));
    ASSERT_TRUE(waitUntil([&] { return !h->isBusy() && h.packageCommands().size() == 3; }));
    EXPECT_EQ(h.packageCommands(),
              (QList<QStringList>{on(S({"shell", "pm", "uninstall", "--user", "0", "com.android.systemui"})),
                                  on(S({"shell", "pm", "uninstall", "--user", "0", "com.example.alpha"})),
                                  on(S({"shell", "pm", "uninstall", "--user", "0", "com.example.gamma"}))}));

    // "Очистить данные…" of the bar's menu asks too.
    menuAction(barMenu(h), QStringLiteral("Очистить данные…"))->trigger();
    EXPECT_EQ(h->pendingAction(), PackageAction::clearData);
    h->cancelPendingAction();
}

TEST(PackageActions, AContextMenuActionReplacesTheSelectionAndRunsOnThatPackageAlone)
{
    AppsHarness h;
    h.serveCatalogue();
    h.fake.onPrefix(on(S({"shell", "dumpsys", "package"})), {.out = QStringLiteral("Packages:\n")});
    h->selectedPackageIDs.set({QStringLiteral("com.example.alpha"), QStringLiteral("com.example.beta"),
                               QStringLiteral("com.example.gamma"), QStringLiteral("com.android.systemui"),
                               QStringLiteral("com.google.android.youtube")});
    settle();
    QMenu *menu = h.view->listPane()->contextMenuFor(QStringLiteral("com.facebook.appmanager"));
    ASSERT_TRUE(menu);
    EXPECT_EQ(menuTexts(menu), S({"Показать подробности", "—", "Отключить", "Включить", "Восстановить", "—",
                                  "Удалить для пользователя…", "Очистить данные…", "—", "Скопировать идентификатор"}));
    menuAction(menu, QStringLiteral("Восстановить"))->trigger();
    EXPECT_EQ(h->selectedPackageIDs(), QSet<QString>{QStringLiteral("com.facebook.appmanager")});
    EXPECT_EQ(h->inspectorPackageID(), QStringLiteral("com.facebook.appmanager"));
    ASSERT_TRUE(waitUntil([&] { return !h->isBusy() && !h.packageCommands().isEmpty(); }));
    EXPECT_EQ(h.packageCommands(),
              QList<QStringList>{on(S({"shell", "cmd", "package", "install-existing", "--user", "0",
                                       "com.facebook.appmanager"}))});

    // A destructive item waits for the confirmation.
    menu = h.view->listPane()->contextMenuFor(QStringLiteral("com.example.beta"));
    ASSERT_TRUE(menu);
    menuAction(menu, QStringLiteral("Удалить для пользователя…"))->trigger();
    EXPECT_EQ(h->pendingAction(), PackageAction::uninstall);
    EXPECT_EQ(h->pendingActionPackageNames(), S({"com.example.beta"}));
    h->cancelPendingAction();
}

TEST(PackageActions, DetailsAndCopyLeaveTheSelection)
{
    AppsHarness h;
    FakeDesktop desktop;
    h.fake.onPrefix(on(S({"shell", "dumpsys", "package"})), {.out = QStringLiteral("Packages:\n")});
    const QSet<QString> two{QStringLiteral("com.example.alpha"), QStringLiteral("com.example.beta")};
    h->selectedPackageIDs.set(two);
    QMenu *menu = h.view->listPane()->contextMenuFor(QStringLiteral("com.google.android.youtube"));
    menuAction(menu, QStringLiteral("Показать подробности"))->trigger();
    EXPECT_EQ(h->inspectorPackageID(), QStringLiteral("com.google.android.youtube"));
    EXPECT_EQ(h->selectedPackageIDs(), two);
    menu = h.view->listPane()->contextMenuFor(QStringLiteral("com.google.android.youtube"));
    menuAction(menu, QStringLiteral("Скопировать идентификатор"))->trigger();
    EXPECT_EQ(desktop.copied, S({"com.google.android.youtube"}));
    EXPECT_EQ(h->selectedPackageIDs(), two);
}

TEST(PackageActions, WhileABatchRunsNoSecondBatchCanStartFromTheMenuOrTheBar)
{
    AppsHarness h;
    // A first batch held until the test lets it answer keeps the model busy.
    h.fake.onPrefix(on(S({"shell", "pm", "disable-user"})), {.gate = QStringLiteral("batch")});
    h->selectedPackageIDs.set({QStringLiteral("com.example.alpha")});
    settle();
    QMenu *open = h.view->listPane()->contextMenuFor(QStringLiteral("com.example.gamma"));
    barButton(h, QStringLiteral("Отключить"))->click();
    ASSERT_TRUE(h->isBusy());
    settle();

    // A menu already open when the batch started, and one opened during it.
    QMenu *during = h.view->listPane()->contextMenuFor(QStringLiteral("com.example.gamma"));
    for (QMenu *menu : {open, during}) {
        for (const char *item : {"Отключить", "Включить", "Восстановить", "Удалить для пользователя…", "Очистить данные…"})
            EXPECT_FALSE(menuAction(menu, QString::fromUtf8(item))->isEnabled()) << item;
        EXPECT_TRUE(menuAction(menu, QStringLiteral("Показать подробности"))->isEnabled());
        EXPECT_TRUE(menuAction(menu, QStringLiteral("Скопировать идентификатор"))->isEnabled());
    }
    SelectionBar *bar = h.view->listPane()->selectionBar();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_FALSE(bar->isEnabled());
    EXPECT_FALSE(h.view->refreshButton()->isEnabled());
    EXPECT_FALSE(h.view->installMenuButton()->isEnabled());

    h.fake.open(QStringLiteral("batch"));
    ASSERT_TRUE(waitUntil([&] { return !h->isBusy(); }));
    settle();
    EXPECT_TRUE(bar->isEnabled());
    EXPECT_TRUE(menuAction(during, QStringLiteral("Отключить"))->isEnabled());
    EXPECT_EQ(h.packageCommands().size(), 1);
    delete open;
    delete during;
}

TEST(PackageActions, TheBarsMoreMenu)
{
    AppsHarness h;
    FakeDesktop desktop;
    QTemporaryDir target;
    desktop.folderAnswer = target.path();
    h->selectedPackageIDs.set({QStringLiteral("com.example.alpha"), QStringLiteral("com.example.beta")});
    settle();
    QMenu *menu = barMenu(h);
    EXPECT_EQ(menuTexts(menu), S({"Очистить данные…", "—", "Разрешения…", "Выгрузить APK…", "—",
                                  "Сохранить как пресет…", "Снять выделение"}));
    EXPECT_EQ(h.view->listPane()->selectionBar()->moreButton()->accessibleName(),
              QStringLiteral("Дополнительные действия над выбранными приложениями"));
    menuAction(menu, QStringLiteral("Выгрузить APK…"))->trigger();
    ASSERT_EQ(desktop.requests.size(), 1);
    EXPECT_EQ(desktop.requests[0].acceptLabel, QStringLiteral("Сохранить"));
    EXPECT_EQ(desktop.requests[0].title, QStringLiteral("Выберите папку для сохранения APK"));
    ASSERT_TRUE(waitUntil([&] { return !h->isBusy(); }));
    menuAction(menu, QStringLiteral("Сохранить как пресет…"))->trigger();
    EXPECT_EQ(h->route(), AppRoute::presets);
    EXPECT_EQ(h->selectedPackageIDs().size(), 2);
    menuAction(menu, QStringLiteral("Снять выделение"))->trigger();
    EXPECT_TRUE(h->selectedPackageIDs().isEmpty());
}

} // namespace
