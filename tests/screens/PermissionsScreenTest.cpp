#include "screens/packages/PackagePickerDelegate.h"
#include "screens/packages/PaddedListView.h"
#include "screens/packages/PermissionLines.h"
#include "screens/packages/PermissionManagerContent.h"
#include "screens/packages/PermissionManagerSheet.h"
#include "screens/packages/PermissionRowDelegate.h"
#include "screens/packages/PermissionsView.h"
#include "shell/AppDialogs.h"
#include "screenkit/DialogPresenter.h"
#include "shell/MainWindow.h"
#include "shell/RootView.h"
#include "screenkit/ScreenMemory.h"

#include "design/DeckButton.h"
#include "design/DeckEmptyState.h"
#include "design/DeckParagraph.h"
#include "design/DeckSearchField.h"
#include "design/DeckSegmented.h"
#include "design/DeckText.h"
#include "design/FlowLayout.h"
#include "design/ScreenHeader.h"
#include "design/OperationBar.h"
#include "design/Skeleton.h"

#include "../shell/ShellHarness.h"
#include "../shell/UiTestSupport.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kDevice = QStringLiteral("R58N12ABCDE");
const QString kCamApp = QStringLiteral("com.example.camera");

AndroidPackage pkg(const QString &name, const QString &label, PackageKind kind)
{
    return AndroidPackage(name, QStringLiteral("/data/app/base.apk"), kind,
                          PackageMetadata{name, label, 1000, std::nullopt}, PackageState::enabled);
}

QList<AndroidPackage> packages()
{
    return {pkg(QStringLiteral("com.android.settings"), QStringLiteral("Настройки"), PackageKind::system),
            pkg(kCamApp, QStringLiteral("Камера Плюс"), PackageKind::user),
            pkg(QStringLiteral("org.example.notes"), QStringLiteral("Заметки"), PackageKind::user)};
}

QStringList dumpsys(const QString &package = kCamApp)
{
    return {QStringLiteral("-s"), kDevice, QStringLiteral("shell"), QStringLiteral("dumpsys"), QStringLiteral("package"),
            package};
}

QString runtimeList(const QStringList &lines)
{
    return QStringLiteral("Packages:\n  Package [com.example.camera]:\n    User 0: installed=true\n      runtime "
                          "permissions:\n")
        + lines.join(QLatin1Char('\n')) + QStringLiteral("\n    disabledComponents:\n");
}

const QString kFive = runtimeList({
    QStringLiteral("        android.permission.CAMERA: granted=true, flags=[ USER_SET ]"),
    QStringLiteral("        android.permission.RECORD_AUDIO: granted=true, flags=[ USER_SET ]"),
    QStringLiteral("        android.permission.READ_CONTACTS: granted=false"),
    QStringLiteral("        android.permission.ACCESS_FINE_LOCATION: granted=false"),
    QStringLiteral("        android.permission.SEND_SMS: granted=false, flags=[ POLICY_FIXED|USER_SENSITIVE_WHEN_GRANTED ]"),
});

// The model on the fake adb with one ready device and three packages, and the Permissions
// screen over it in a window.
struct PermissionsFixture {
    ShellHarness h;
    ScreenMemory memory;
    QWidget window;
    std::unique_ptr<PermissionsView> view;

    PermissionsFixture()
    {
        h.connect(QStringLiteral("device"), kDevice);
        settleCommands();
        h->packages.set(packages());
        window.resize(1000, 720);
        view = std::make_unique<PermissionsView>(h.model.get(), &memory, &window);
        view->setGeometry(0, 0, 1000, 720);
        window.show();
        settle();
    }

    QStringList picked() const
    {
        QStringList out;
        for (const AndroidPackage &p : view->state()->matches())
            out << p.name;
        return out;
    }

    void click(QListView *list, int row)
    {
        const QModelIndex index = list->model()->index(row, 0);
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
        settle();
    }

    // Opens a package from the picker and waits for its list.
    PermissionManagerContent *open(const QString &name = kCamApp, const QString &answer = kFive)
    {
        h.fake.on(dumpsys(name), {.out = answer});
        view->state()->pickerQuery.set(name);
        settle();
        click(view->pickerList(), 0);
        EXPECT_TRUE(waitUntil([&] { return !h->isPermissionBusy() && h->permissionPackage(); }));
        settle();
        return view->manager();
    }

    QStringList rows() const
    {
        QStringList out;
        for (const PermissionLine &l : view->manager()->lines()->rows())
            out << l.permission.name;
        return out;
    }
};

QList<QStringList> pmCalls(ShellHarness &h)
{
    QList<QStringList> out;
    for (const QStringList &c : h.fake.calls())
        if (c.size() > 4 && c[3] == QStringLiteral("pm")
            && (c[4] == QStringLiteral("grant") || c[4] == QStringLiteral("revoke")))
            out << c;
    return out;
}

QMessageBox *shownBox(DialogPresenter *presenter)
{
    return qobject_cast<QMessageBox *>(presenter->dialog());
}

TEST(PermissionsPicker, MatchingTable)
{
    const AndroidPackage user = pkg(QStringLiteral("org.example.notes"), QStringLiteral("Заметки"), PackageKind::user);
    const AndroidPackage system = pkg(QStringLiteral("com.android.settings"), QStringLiteral("Настройки"), PackageKind::system);
    struct Case {
        const char *query;
        bool user, system;
    };
    const Case cases[] = {
        {"", true, false},
        {"  \t ", true, false},         // trimmed to empty: user packages only
        {"SETTINGS", false, true},      // name, any case
        {"настр", false, true},         // label, any case
        {"ЗАМЕТ", true, false},
        {" notes ", true, false},
        {"\nnotes", false, false},      // line breaks are not trimmed
        {"nothing", false, false},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(PermissionsView::matches(user, QString::fromUtf8(c.query)), c.user) << c.query;
        EXPECT_EQ(PermissionsView::matches(system, QString::fromUtf8(c.query)), c.system) << c.query;
    }
}

TEST(PermissionsPicker, ListsUserPackagesAndFindsSystemOnes)
{
    PermissionsFixture f;
    QAbstractItemModelTester tester(f.view->state()->listModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(f.view->header()->titleLabel()->text(), QStringLiteral("Разрешения"));
    EXPECT_EQ(f.view->header()->subtitleLabel()->text(),
              QStringLiteral("Выберите приложение, чтобы прочитать его runtime-разрешения"));
    EXPECT_TRUE(f.view->otherAppButton()->isHidden());
    EXPECT_EQ(f.view->searchField()->width(), 320);
    // The model's order (by name), user packages only.
    EXPECT_EQ(f.picked(), (QStringList{kCamApp, "org.example.notes"}));
    EXPECT_EQ(f.view->emptyState(), nullptr);
    typeText(f.view->searchField()->lineEdit(), QStringLiteral("SETTINGS"));
    settle();
    EXPECT_EQ(f.picked(), QStringList{"com.android.settings"});

    // No user packages: the empty state, whose title follows the query as typed.
    f.h->packages.set({packages().first()});
    f.view->state()->pickerQuery.set(QString());
    settle();
    ASSERT_TRUE(f.view->emptyState());
    EXPECT_EQ(f.view->emptyState()->titleLabel()->text(), QStringLiteral("Нет пользовательских приложений"));
    EXPECT_EQ(f.view->emptyState()->messageLabel()->text(),
              QStringLiteral("Начните вводить название или идентификатор пакета."));
    f.view->state()->pickerQuery.set(QStringLiteral("   "));
    settle();
    ASSERT_TRUE(f.view->emptyState());
    EXPECT_EQ(f.view->emptyState()->titleLabel()->text(), QStringLiteral("Ничего не найдено"));
}

TEST(PermissionsScreen, TappingAPackageOpensTheManagerInlineAndBack)
{
    PermissionsFixture f;
    f.h->selectedPackageIDs.set({QStringLiteral("com.android.settings"), QStringLiteral("org.example.notes")});
    PermissionManagerContent *manager = f.open();
    ASSERT_TRUE(manager);
    // The tapped package alone is selected and open.
    EXPECT_EQ(f.h->selectedPackageIDs(), QSet<QString>{kCamApp});
    EXPECT_EQ(f.h->permissionPackage()->name, kCamApp);
    EXPECT_EQ(f.view->header()->subtitleLabel()->text(), QStringLiteral("Камера Плюс · пользователь 0"));
    EXPECT_FALSE(f.view->otherAppButton()->isHidden());
    // Inline: no header block nor close button, the wider margin.
    EXPECT_EQ(manager->headerBlock(), nullptr);
    EXPECT_EQ(manager->closeButton(), nullptr);
    EXPECT_EQ(manager->toolbar()->layout()->contentsMargins().left(), 24);
    EXPECT_EQ(manager->footer()->layout()->contentsMargins().right(), 24);
    EXPECT_TRUE(manager->isVisible());

    f.view->otherAppButton()->click();
    settle();
    EXPECT_FALSE(f.h->permissionPackage().has_value());
    EXPECT_EQ(f.view->manager(), nullptr);
    EXPECT_TRUE(f.view->picker()->isVisible());
    // The picker keeps its query.
    EXPECT_EQ(f.view->state()->pickerQuery(), kCamApp);
}

TEST(PermissionManager, ListFiltersCountsAndFixedRows)
{
    PermissionsFixture f;
    PermissionManagerContent *m = f.open();
    ASSERT_TRUE(m);
    QAbstractItemModelTester tester(m->lines()->listModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(f.rows().size(), 5);
    const QList<DeckSegmented::Item> items = m->filter()->items();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0].title, QStringLiteral("Все"));
    EXPECT_EQ(items[0].count, 5);
    EXPECT_EQ(items[1].title, QStringLiteral("Предоставлены"));
    EXPECT_EQ(items[1].icon, QStringLiteral("checkmark.circle"));
    EXPECT_EQ(items[1].count, 2);
    EXPECT_EQ(items[2].title, QStringLiteral("Запрещены"));
    EXPECT_EQ(items[2].count, 3);
    EXPECT_EQ(m->statusLabel()->text(), QStringLiteral("Runtime-разрешений: 5, предоставлено: 2"));
    EXPECT_EQ(m->selectedLabel()->text(), QStringLiteral("Выбрано: 0"));
    EXPECT_FALSE(m->revokeButton()->isEnabled());
    EXPECT_FALSE(m->grantButton()->isEnabled());

    // The fixed permission: flags as help, a faint box, no selection on click.
    const int fixedRow = m->lines()->rowOf(QStringLiteral("android.permission.SEND_SMS"));
    ASSERT_GE(fixedRow, 0);
    const AppPermission fixed = m->lines()->rows().at(fixedRow).permission;
    EXPECT_EQ(PermissionRowDelegate::fixedHelp(fixed), QStringLiteral("POLICY_FIXED | USER_SENSITIVE_WHEN_GRANTED"));
    EXPECT_FALSE(PermissionRowDelegate::rowLayout(QRectF(0, 0, 700, 50), fixed).fixedBadge.isEmpty());
    EXPECT_EQ(PermissionLines::accessibilityLabel(fixed),
              fixed.displayName() + QStringLiteral(", запрещено, изменение заблокировано системой"));
    f.click(m->list(), fixedRow);
    EXPECT_TRUE(f.h->selectedPermissionIDs().isEmpty());

    // Searching keeps the counts; a filter with nothing left shows the empty state.
    f.h->permissionSearchText.set(QStringLiteral("camera"));
    settle();
    EXPECT_EQ(f.rows(), QStringList{"android.permission.CAMERA"});
    EXPECT_EQ(m->filter()->items()[0].count, 5);
    f.h->permissionSearchText.set(QString());
    f.h->permissionFilter.set(PermissionFilter::denied);
    f.h->permissionSearchText.set(QStringLiteral("camera"));
    settle();
    ASSERT_TRUE(m->emptyState());
    EXPECT_EQ(m->emptyState()->titleLabel()->text(), QStringLiteral("Ничего не найдено"));
    EXPECT_EQ(m->emptyState()->messageLabel()->text(), QStringLiteral("Измените фильтр или поисковый запрос."));
    EXPECT_EQ(m->filter()->selection().toInt(), int(PermissionFilter::denied));
}

// Picking granted permissions allows revoking only; the confirmation counts only its targets,
// and confirming runs one pm command per permission for user 0.
TEST(PermissionManager, RevokeAndGrantWithConfirmation)
{
    PermissionsFixture f;
    PermissionManagerContent *m = f.open();
    ASSERT_TRUE(m);
    QSignalSpy edits(m->lines()->listModel(), &QAbstractItemModel::dataChanged);
    QSignalSpy resets(m->lines()->listModel(), &QAbstractItemModel::modelReset);
    f.click(m->list(), m->lines()->rowOf(QStringLiteral("android.permission.CAMERA")));
    EXPECT_EQ(f.h->selectedPermissionIDs(), QSet<QString>{"android.permission.CAMERA"});
    EXPECT_EQ(resets.count(), 0); // a toggle edits its row
    EXPECT_EQ(edits.count(), 1);
    EXPECT_TRUE(m->revokeButton()->isEnabled());
    EXPECT_FALSE(m->grantButton()->isEnabled());

    // A mixed pick, one of them hidden by the filter: both buttons, each counting its own.
    f.h->permissionFilter.set(PermissionFilter::granted);
    settle();
    f.click(m->list(), m->lines()->rowOf(QStringLiteral("android.permission.RECORD_AUDIO")));
    f.h->selectedPermissionIDs.mutate([](QSet<QString> &s) { s.insert(QStringLiteral("android.permission.READ_CONTACTS")); });
    settle();
    EXPECT_EQ(m->selectedLabel()->text(), QStringLiteral("Выбрано: 3"));
    EXPECT_TRUE(m->grantButton()->isEnabled());

    m->grantButton()->click();
    settle();
    QMessageBox *box = shownBox(m->confirmation());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->windowModality(), Qt::WindowModal);
    EXPECT_EQ(box->text(), QStringLiteral("Предоставить: 1?"));
    EXPECT_EQ(box->informativeText(),
              QStringLiteral("Приложение «Камера Плюс» получит 1 выбранных разрешений через ADB. Это может открыть доступ "
                             "к камере, микрофону, местоположению или другим чувствительным данным."));
    press(box, QStringLiteral("Отмена"));
    settle();
    EXPECT_FALSE(f.h->pendingPermissionOperation().has_value());
    EXPECT_EQ(f.h->selectedPermissionIDs().size(), 3);
    EXPECT_TRUE(pmCalls(f.h).isEmpty());

    m->revokeButton()->click();
    settle();
    box = shownBox(m->confirmation());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text(), QStringLiteral("Отозвать: 2?"));
    EXPECT_EQ(box->informativeText(),
              QStringLiteral("У приложения «Камера Плюс» будут отозваны 2 разрешений. Связанные функции перестанут "
                             "работать, а приложение может закрываться с ошибкой при следующем обращении к ним."));
    f.h.fake.onPrefix({"-s", kDevice, "shell", "pm", "revoke"}, {});
    press(box, QStringLiteral("Отозвать"));
    ASSERT_TRUE(waitUntil([&] { return pmCalls(f.h).size() == 2 && !f.h->isPermissionBusy(); }));
    ASSERT_TRUE(settleCommands());
    const QStringList head{"-s", kDevice, "shell", "pm", "revoke", "--user", "0", kCamApp};
    EXPECT_EQ(pmCalls(f.h), (QList<QStringList>{head + QStringList{"android.permission.CAMERA"},
                                               head + QStringList{"android.permission.RECORD_AUDIO"}}));
    settle();
    EXPECT_EQ(m->statusLabel()->text(), QStringLiteral("Операция завершена: 2"));
}

TEST(PermissionManager, PlaceholderRowsWhileLoadingThenEmptyState)
{
    PermissionsFixture f;
    ASSERT_TRUE(settleCommands());
    // The read answers only after one more call of the tool, so the loading state holds until then.
    const int calls = int(f.h.fake.calls().size() + f.h.fake.calls(QStringLiteral("fastboot")).size());
    f.h.fake.on(dumpsys(), {.out = runtimeList({}), .awaitCalls = calls + 2});
    f.h->selectedPackageIDs.set({kCamApp});
    f.h->openPermissionManager();
    settle();
    PermissionManagerContent *m = f.view->manager();
    ASSERT_TRUE(m);
    EXPECT_TRUE(f.h->isPermissionBusy());
    EXPECT_TRUE(m->loadingPlaceholder()->isVisible());
    EXPECT_EQ(m->loadingPlaceholder()->findChildren<Skeleton *>().size(), 3 * PermissionManagerContent::kPlaceholderRows);
    EXPECT_EQ(m->emptyState(), nullptr);
    EXPECT_FALSE(m->reloadButton()->isEnabled());
    EXPECT_FALSE(m->busyIndicator()->isHidden());

    // The call that releases the read.
    EXPECT_EQ(QProcess::execute(f.h.fake.adbPath(), {QStringLiteral("version")}), 0);
    ASSERT_TRUE(waitUntil([&] { return !f.h->isPermissionBusy(); }));
    settle();
    EXPECT_FALSE(m->loadingPlaceholder()->isVisible());
    ASSERT_TRUE(m->emptyState());
    EXPECT_EQ(m->emptyState()->titleLabel()->text(), QStringLiteral("Runtime-разрешений нет"));
    EXPECT_EQ(m->emptyState()->messageLabel()->text(),
              QStringLiteral("Приложение не запрашивает изменяемых разрешений для пользователя 0."));
    EXPECT_TRUE(m->reloadButton()->isEnabled());
    EXPECT_TRUE(m->busyIndicator()->isHidden());
}

TEST(PermissionManager, ReadFailureShowsTheAlertUntilClosed)
{
    PermissionsFixture f;
    f.h.fake.on(dumpsys(), {.err = QStringLiteral("Error: device offline"), .exit = 1});
    f.h->selectedPackageIDs.set({kCamApp});
    f.h->openPermissionManager();
    ASSERT_TRUE(waitUntil([&] { return !f.h->isPermissionBusy() && f.h->permissionErrorMessage(); }));
    settle();
    PermissionManagerContent *m = f.view->manager();
    ASSERT_TRUE(m);
    ASSERT_TRUE(waitUntil([&] { return shownBox(m->errorAlert()) != nullptr; }));
    QMessageBox *box = shownBox(m->errorAlert());
    EXPECT_EQ(box->text(), QStringLiteral("Ошибка разрешений"));
    EXPECT_TRUE(box->informativeText().contains(QStringLiteral("device offline")));
    EXPECT_EQ(m->statusLabel()->text(), QStringLiteral("Не удалось прочитать разрешения"));
    press(box, QStringLiteral("Закрыть"));
    settle();
    EXPECT_FALSE(f.h->permissionErrorMessage().has_value());
}

// On other routes the shell shows the manager in its sheet, with the header and close button.
TEST(PermissionManagerSheet, ShellPresentsTheSheetElsewhereAndCloseEndsIt)
{
    ShellHarness h;
    h.connect(QStringLiteral("device"), kDevice);
    settleCommands();
    h->packages.set(packages());
    MainWindow window(h.model.get(), h.settings.get(), MainWindow::Hooks{});
    window.show();
    h->route.set(AppRoute::debloat);
    settle();
    h.fake.on(dumpsys(), {.out = kFive});
    h->selectedPackageIDs.set({kCamApp});
    h->openPermissionManager();
    ASSERT_TRUE(waitUntil([&] { return !h->isPermissionBusy(); }));
    settle();
    DialogPresenter *presenter = window.root()->dialogs()->permissionManager();
    auto *sheet = qobject_cast<PermissionManagerSheet *>(presenter->dialog());
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->size(), QSize(780, 620));
    EXPECT_EQ(sheet->windowModality(), Qt::WindowModal);
    PermissionManagerContent *m = sheet->content();
    ASSERT_TRUE(m->headerBlock());
    ASSERT_TRUE(m->closeButton());
    EXPECT_EQ(m->closeButton()->accessibleName(), QStringLiteral("Закрыть менеджер разрешений"));
    EXPECT_EQ(m->toolbar()->layout()->contentsMargins().left(), 16);
    EXPECT_EQ(m->lines()->rows().size(), 5);
    // The header draws the icon; no element of its own stands there for accessibility.
    {
        QAccessibleInterface *header = QAccessible::queryAccessibleInterface(m->headerBlock());
        ASSERT_TRUE(header);
        const QRect icon(m->headerBlock()->mapToGlobal(QPoint(16, (m->headerBlock()->height() - 44) / 2)),
                         QSize(44, 44));
        for (int i = 0; i < header->childCount(); ++i) {
            QAccessibleInterface *child = header->child(i);
            ASSERT_TRUE(child);
            EXPECT_FALSE(child->rect().intersects(icon)) << child->object()->metaObject()->className();
        }
        EXPECT_EQ(header->childAt(icon.center().x(), icon.center().y()), nullptr);
    }

    sheet->content()->closeButton()->click();
    settle();
    EXPECT_EQ(presenter->dialog(), nullptr);
    EXPECT_FALSE(h->permissionPackage().has_value());
    EXPECT_TRUE(h->permissions().isEmpty());

    // On the Permissions route the same package opens inline, with no sheet.
    h->route.set(AppRoute::permissions);
    settle();
    h->selectedPackageIDs.set({kCamApp});
    h->openPermissionManager();
    ASSERT_TRUE(waitUntil([&] { return !h->isPermissionBusy(); }));
    settle();
    EXPECT_EQ(presenter->dialog(), nullptr);
    auto *screen = window.findChild<PermissionsView *>();
    ASSERT_TRUE(screen);
    ASSERT_TRUE(screen->manager());
    EXPECT_EQ(screen->manager()->lines()->rows().size(), 5);
}

} // namespace
