#include "screens/packages/AppInspectorView.h"

#include "design/Accessibility.h"
#include "design/DeckButton.h"
#include "design/DeckEmptyState.h"
#include "design/DeckParagraph.h"
#include "design/DeckText.h"
#include "design/InfoRow.h"
#include "design/Labels.h"
#include "design/MenuButton.h"
#include "design/MeterBar.h"
#include "design/Motion.h"
#include "design/SelectableLine.h"
#include "design/Skeleton.h"
#include "design/SymbolGlyph.h"
#include "design/Transition.h"

#include "ApplicationsHarness.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScrollArea>
#include <QSplitter>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QStringList on(const QStringList &args) { return S({"-s", "R58N12ABCDE"}) + args; }

struct Inspected : AppsHarness {
    explicit Inspected(int dumpDelayMs = 0)
    {
        fake.onPrefix(on(S({"shell", "dumpsys", "package"})), {.out = QStringLiteral("Packages:\n"), .delayMs = dumpDelayMs});
    }
    AppInspectorView *inspector() { return view->inspector(); }
    // Shows `name` and, once its read has ended, the given details.
    void show(const QString &name, std::optional<PackageDetails> details)
    {
        model->showInspector(name);
        EXPECT_TRUE(waitUntil([&] { return !model->isDetailsLoading(); }));
        model->packageDetails.set(std::move(details));
        settle();
    }
    QList<QPair<QString, QString>> infoRows()
    {
        QList<QPair<QString, QString>> rows;
        for (InfoRow *row : inspector()->findChildren<InfoRow *>()) {
            const QString label = row->accessibilityLabel();
            const qsizetype colon = label.indexOf(QStringLiteral(": "));
            rows << qMakePair(label.left(colon), label.mid(colon + 2));
        }
        return rows;
    }
    QAbstractButton *button(const QString &text)
    {
        for (QAbstractButton *b : inspector()->findChildren<QAbstractButton *>())
            if (b->text() == text)
                return b;
        return nullptr;
    }
    QMenu *moreMenu() { return inspector()->findChild<MenuButton *>(QStringLiteral("inspectorMore"))->menu(); }
};

PackageDetails fullDetails()
{
    PackageDetails d;
    d.packageName = QStringLiteral("com.example.alpha");
    d.versionName = QStringLiteral("2.4.1");
    d.versionCode = QStringLiteral("2041");
    d.targetSDK = QStringLiteral("34");
    d.minSDK = QStringLiteral("26");
    d.installer = QStringLiteral("com.android.vending");
    d.firstInstallTime = QStringLiteral("2024-01-02 10:00:00");
    d.lastUpdateTime = QStringLiteral("2024-03-04 11:00:00");
    d.primaryCPUABI = QStringLiteral("arm64-v8a");
    d.apkPaths = {QStringLiteral("/data/app/a/base.apk"), QStringLiteral("/data/app/a/split_config.arm64_v8a.apk"),
                  QStringLiteral("/data/app/a/split_config.ru.apk")};
    d.runtimePermissionsGranted = 5;
    d.runtimePermissionsTotal = 20;
    return d;
}

TEST(Inspector, EmptyStateForAPackageNoLongerInTheCatalogue)
{
    Inspected h;
    h->showInspector(QStringLiteral("com.gone"));
    settle();
    ASSERT_TRUE(h.inspector());
    auto *empty = qobject_cast<DeckEmptyState *>(h.inspector()->content());
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->titleLabel()->text(), QStringLiteral("Ничего не выбрано"));
}

TEST(Inspector, DetailsApkAndSplitRowsAndPermissionCounts)
{
    Inspected h;
    h.show(QStringLiteral("com.example.alpha"), fullDetails());
    EXPECT_EQ(h.infoRows(), (QList<QPair<QString, QString>>{
                                {QStringLiteral("Версия"), QStringLiteral("2.4.1")},
                                {QStringLiteral("Код версии"), QStringLiteral("2041")},
                                {QStringLiteral("Target SDK"), QStringLiteral("34")},
                                {QStringLiteral("Min SDK"), QStringLiteral("26")},
                                {QStringLiteral("Установщик"), QStringLiteral("com.android.vending")},
                                {QStringLiteral("Установлено"), QStringLiteral("2024-01-02 10:00:00")},
                                {QStringLiteral("Обновлено"), QStringLiteral("2024-03-04 11:00:00")},
                                {QStringLiteral("Архитектура"), QStringLiteral("arm64-v8a")},
                                {QStringLiteral("Каталог данных"), QStringLiteral("—")},
                                {QStringLiteral("APK"), QStringLiteral("/data/app/a/base.apk")},
                                {QStringLiteral("Split 1"), QStringLiteral("/data/app/a/split_config.arm64_v8a.apk")},
                                {QStringLiteral("Split 2"), QStringLiteral("/data/app/a/split_config.ru.apk")},
                            }));
    // A missing data folder is not copyable; paths are.
    for (InfoRow *row : h.inspector()->findChildren<InfoRow *>())
        EXPECT_EQ(row->copyableValue() != nullptr, row->accessibilityLabel().startsWith(QStringLiteral("APK"))
                                                       || row->accessibilityLabel().startsWith(QStringLiteral("Split")));
    auto *permissions = h.inspector()->findChild<QWidget *>(QStringLiteral("permissionsSection"));
    ASSERT_TRUE(permissions);
    auto *header = permissions->findChild<SectionHeader *>();
    EXPECT_EQ(header->subtitleLabel()->text(), QStringLiteral("Предоставлено 5 из 20"));
    auto *meter = permissions->findChild<MeterBar *>();
    EXPECT_DOUBLE_EQ(meter->progress(), 0.25);
    EXPECT_EQ(meter->tone(), Tone::accent);

    // None granted of four: an empty neutral meter; no permissions at all: no section.
    PackageDetails none = fullDetails();
    none.runtimePermissionsGranted = 0;
    none.runtimePermissionsTotal = 4;
    none.apkPaths.clear();
    none.dataDirectory = QStringLiteral("/data/user/0/com.example.alpha");
    h->packageDetails.set(none);
    settle();
    meter = h.inspector()->findChild<MeterBar *>(QStringLiteral("permissionsMeter"));
    EXPECT_DOUBLE_EQ(meter->progress(), 0);
    EXPECT_EQ(meter->tone(), Tone::neutral);
    // Without split paths, the package's own path; the data folder copyable now.
    EXPECT_EQ(h.infoRows().last(), qMakePair(QStringLiteral("APK"), QStringLiteral("/data/app/com.example.alpha/base.apk")));
    none.runtimePermissionsTotal = 0;
    h->packageDetails.set(none);
    settle();
    EXPECT_FALSE(h.inspector()->findChild<QWidget *>(QStringLiteral("permissionsSection")));
}

TEST(Inspector, ComponentGroupsShowFortyRowsAndSayHowManyMore)
{
    Inspected h;
    PackageDetails d = fullDetails();
    for (int i = 0; i < 41; ++i)
        d.activities << QStringLiteral("com.example.alpha.Activity%1").arg(i);
    for (int i = 0; i < 40; ++i)
        d.services << QStringLiteral("com.example.alpha.Service%1").arg(i);
    h.show(QStringLiteral("com.example.alpha"), d);
    ASSERT_TRUE(h.inspector()->findChild<QWidget *>(QStringLiteral("componentsSection")));
    EXPECT_FALSE(h.inspector()->findChild<QWidget *>(QStringLiteral("group-receivers")));
    auto *activities = h.inspector()->findChild<QAbstractButton *>(QStringLiteral("groupHeader-activities"));
    EXPECT_EQ(activities->accessibleName(), QStringLiteral("Активности, 41"));
    activities->click();
    h.inspector()->findChild<QAbstractButton *>(QStringLiteral("groupHeader-services"))->click();
    const auto lines = [&](const QString &key) {
        auto *list = h.inspector()->findChild<QWidget *>(QStringLiteral("groupItems-") + key);
        return list ? list->findChildren<SelectableLine *>().size() + list->findChildren<DeckText *>().size() : -1;
    };
    EXPECT_EQ(lines(QStringLiteral("activities")), 41); // 40 rows and the summary
    auto *more = h.inspector()->findChild<DeckText *>(QStringLiteral("groupMore-activities"));
    ASSERT_TRUE(more);
    EXPECT_EQ(more->text(), QStringLiteral("и ещё 1"));
    EXPECT_EQ(lines(QStringLiteral("services")), 40);
    EXPECT_FALSE(h.inspector()->findChild<DeckText *>(QStringLiteral("groupMore-services")));

    // Open groups stay open for the next package; closing the panel forgets them.
    PackageDetails other = d;
    other.packageName = QStringLiteral("com.example.gamma");
    h.show(QStringLiteral("com.example.gamma"), other);
    EXPECT_EQ(lines(QStringLiteral("activities")), 41);
    h->showInspector(std::nullopt);
    settle();
    h.show(QStringLiteral("com.example.alpha"), d);
    EXPECT_EQ(lines(QStringLiteral("activities")), -1);
}

TEST(Inspector, SkeletonWhileReadingThenRowsAndTheDetailsError)
{
    Inspected h(1500);
    h->showInspector(QStringLiteral("com.example.beta"));
    settle();
    ASSERT_TRUE(h->isDetailsLoading());
    auto *skeleton = h.inspector()->findChild<QWidget *>(QStringLiteral("detailsSkeleton"));
    ASSERT_TRUE(skeleton);
    EXPECT_EQ(skeleton->findChildren<Skeleton *>().size(), 12);
    EXPECT_TRUE(h.inspector()->findChild<QWidget *>(QStringLiteral("detailsReading")));
    ASSERT_TRUE(waitUntil([&] { return !h->isDetailsLoading(); }));
    settle();
    EXPECT_FALSE(h.inspector()->findChild<QWidget *>(QStringLiteral("detailsSkeleton")));
    EXPECT_EQ(h.infoRows().size(), 10);

    // A read that fails says why; the rows read "—".
    h.fake.onPrefix(on(S({"shell", "dumpsys", "package"})), {.err = QStringLiteral("cmd: Can't find service: package"), .exit = 1});
    h->showInspector(QStringLiteral("com.example.gamma"));
    ASSERT_TRUE(waitUntil([&] { return !h->isDetailsLoading() && h->packageDetailsError(); }));
    settle();
    auto *error = h.inspector()->findChild<DeckParagraph *>(QStringLiteral("detailsError"));
    ASSERT_TRUE(error);
    EXPECT_TRUE(error->text().contains(QStringLiteral("Can't find service")));
    EXPECT_EQ(h.infoRows()[0].second, QStringLiteral("—"));
}

TEST(Inspector, ButtonsByStateAndRiskAndTheCommandsTheyRun)
{
    Inspected h;
    h.serveCatalogue();
    const struct {
        const char *name;
        const char *first;
        bool warning;
    } cases[] = {{"com.example.alpha", "Отключить", false},
                 {"com.example.beta", "Включить", false},
                 {"com.facebook.appmanager", "Восстановить", false},
                 {"com.android.systemui", "Отключить", true}};
    for (const auto &c : cases) {
        h.show(QString::fromUtf8(c.name), std::nullopt);
        SCOPED_TRACE(c.name);
        auto *row = h.inspector()->findChild<QWidget *>(QStringLiteral("actionButtons"));
        ASSERT_TRUE(row);
        const auto buttons = row->findChildren<DeckButton *>();
        ASSERT_EQ(buttons.size(), 3);
        EXPECT_EQ(buttons[0]->text(), QString::fromUtf8(c.first));
        EXPECT_EQ(buttons[1]->text(), QStringLiteral("Удалить"));
        EXPECT_EQ(buttons[2]->text(), QStringLiteral("Разрешения"));
        EXPECT_EQ(h.inspector()->findChild<QWidget *>(QStringLiteral("riskWarning")) != nullptr, c.warning);
        EXPECT_EQ(h.inspector()->findChild<QWidget *>(QStringLiteral("riskExplanation")) != nullptr, c.warning);
    }
    EXPECT_EQ(menuTexts(h.moreMenu()), S({"Запустить", "Остановить принудительно", "—", "Очистить данные…", "—",
                                          "Обновить подробности"}));

    // The inspected package becomes the whole selection before each action.
    h->selectedPackageIDs.set({QStringLiteral("com.example.alpha"), QStringLiteral("com.example.beta")});
    h.show(QStringLiteral("com.example.gamma"), std::nullopt);
    // Each runs on by itself: one at a time keeps the order of the calls.
    menuAction(h.moreMenu(), QStringLiteral("Запустить"))->trigger();
    ASSERT_TRUE(waitUntil([&] { return h.packageCommands().size() == 1; }));
    menuAction(h.moreMenu(), QStringLiteral("Остановить принудительно"))->trigger();
    ASSERT_TRUE(waitUntil([&] { return h.packageCommands().size() == 2; }));
    h.button(QStringLiteral("Отключить"))->click();
    EXPECT_EQ(h->selectedPackageIDs(), QSet<QString>{QStringLiteral("com.example.gamma")});
    ASSERT_TRUE(waitUntil([&] { return !h->isBusy() && h.packageCommands().size() == 3; }));
    EXPECT_EQ(h.packageCommands(),
              (QList<QStringList>{
                  on(S({"shell", "monkey", "-p", "com.example.gamma", "-c", "android.intent.category.LAUNCHER", "1"})),
                  on(S({"shell", "am", "force-stop", "com.example.gamma"})),
                  on(S({"shell", "pm", "disable-user", "--user", "0", "com.example.gamma"}))}));
    settle();
    h.button(QStringLiteral("Удалить"))->click();
    EXPECT_EQ(h->pendingAction(), PackageAction::uninstall);
    h->cancelPendingAction();
    menuAction(h.moreMenu(), QStringLiteral("Очистить данные…"))->trigger();
    EXPECT_EQ(h->pendingAction(), PackageAction::clearData);
    h->cancelPendingAction();
    h.button(QStringLiteral("Разрешения"))->click();
    ASSERT_TRUE(h->permissionPackage());
    EXPECT_EQ(h->permissionPackage()->name, QStringLiteral("com.example.gamma"));
    h->closePermissionManager();
    // The close button closes the panel and leaves the selection.
    h.inspector()->findChild<QAbstractButton *>(QStringLiteral("closeInspector"))->click();
    settle();
    EXPECT_EQ(h->inspectorPackageID(), std::nullopt);
    EXPECT_EQ(h->selectedPackageIDs(), QSet<QString>{QStringLiteral("com.example.gamma")});
}

TEST(Inspector, TheColumnFitsThePanelAtEveryWidthItMayTake)
{
    // System UI: a critical system package with a size (four badges and the warning line).
    Inspected h;
    h.show(QStringLiteral("com.android.systemui"), fullDetails());
    auto *split = h.view->findChild<QSplitter *>(QStringLiteral("applicationsSplit"));
    ASSERT_TRUE(split);
    for (const int width : {AppInspectorView::kMinimumWidth, AppInspectorView::kIdealWidth, AppInspectorView::kMaximumWidth}) {
        SCOPED_TRACE(width);
        split->setSizes({split->width() - width, width});
        settle();
        ASSERT_EQ(h.inspector()->width(), width);
        auto *scroll = qobject_cast<QScrollArea *>(h.inspector()->content());
        ASSERT_TRUE(scroll);
        // Nothing is cut off at the right edge: the column is never wider than the panel.
        EXPECT_LE(scroll->widget()->width(), scroll->viewport()->width());
        for (const char *name : {"identityBadges", "riskPanel", "actionButtons"}) {
            auto *part = h.inspector()->findChild<QWidget *>(QString::fromLatin1(name));
            ASSERT_TRUE(part) << name;
            EXPECT_LE(part->mapTo(scroll->widget(), QPoint(part->width(), 0)).x(), scroll->viewport()->width()) << name;
        }
        // Where a value fits beside its label, it takes one line, whatever its font.
        if (width < AppInspectorView::kIdealWidth)
            continue;
        for (InfoRow *row : h.inspector()->findChildren<InfoRow *>()) {
            if (SelectableText *value = row->valueText(); value && value->text() != QStringLiteral("com.android.vending"))
                EXPECT_LT(value->height(), 2 * value->fontMetrics().lineSpacing()) << row->accessibilityLabel().toStdString();
        }
    }
}

TEST(Inspector, WithoutAReadyIdleDeviceTheActionRowIsInertButThePermissionManagerButtonIsNot)
{
    Inspected h;
    h.show(QStringLiteral("com.example.alpha"), fullDetails());
    BusyLedger::Token busy = h->beginBusy();
    settle();
    EXPECT_FALSE(h.inspector()->findChild<QWidget *>(QStringLiteral("actionButtons"))->isEnabled());
    QAbstractButton *open = h.button(QStringLiteral("Открыть менеджер разрешений"));
    ASSERT_TRUE(open);
    EXPECT_TRUE(open->isEnabled());
    h->selectedPackageIDs.set({QStringLiteral("com.example.beta"), QStringLiteral("com.example.gamma")});
    open->click();
    EXPECT_EQ(h->selectedPackageIDs(), QSet<QString>{QStringLiteral("com.example.alpha")});
    busy.release();
}

// The content fades in when it first shows (Motion::smooth) and again, quicker, for each other
// package (Motion::snap); under reduce motion it is simply there.
TEST(Inspector, ContentFadesInSmoothlyFirstAndWithASnapForTheNextPackage)
{
    Inspected h;
    A11y::setReduceMotion(false);
    const auto fadeOf = [&]() -> int {
        QAbstractAnimation *fade = Transition::animation(h.inspector()->content());
        if (!fade)
            return 0;
        fade->pause();
        return fade->duration();
    };
    h->showInspector(QStringLiteral("com.example.alpha"));
    settle();
    EXPECT_EQ(fadeOf(), Motion::smooth().durationMs());
    h->showInspector(QStringLiteral("com.example.gamma"));
    settle();
    EXPECT_EQ(fadeOf(), Motion::snap().durationMs());

    A11y::setReduceMotion(true);
    h->showInspector(QStringLiteral("com.example.alpha"));
    settle();
    EXPECT_EQ(fadeOf(), 0);
    EXPECT_DOUBLE_EQ(Transition::opacity(h.inspector()->content()), 1.0);
}

// A group's list unrolls under its header with Motion::snap and rolls up again the same way;
// under reduce motion it opens and closes at once.
TEST(Inspector, GroupTogglesUnrollWithASnapAndAtOnceUnderReduceMotion)
{
    Inspected h;
    PackageDetails d = fullDetails();
    d.services = {QStringLiteral("com.example.alpha.Sync"), QStringLiteral("com.example.alpha.Push")};
    h.show(QStringLiteral("com.example.alpha"), d);
    const auto header = [&] { return h.inspector()->findChild<QAbstractButton *>(QStringLiteral("groupHeader-services")); };
    const auto list = [&] { return h.inspector()->findChild<QWidget *>(QStringLiteral("groupItems-services")); };

    A11y::setReduceMotion(false);
    header()->click();
    ASSERT_TRUE(list());
    QAbstractAnimation *unroll = Transition::animation(list());
    ASSERT_TRUE(unroll);
    EXPECT_EQ(unroll->duration(), Motion::snap().durationMs());
    ASSERT_TRUE(waitUntil([&] { return !Transition::isRunning(list()); }));
    EXPECT_EQ(list()->maximumHeight(), QWIDGETSIZE_MAX);
    EXPECT_EQ(list()->height(), list()->sizeHint().height());
    EXPECT_TRUE(h.inspector()->expandedGroups().contains(QStringLiteral("services")));

    header()->click();
    QAbstractAnimation *rollUp = list() ? Transition::animation(list()) : nullptr;
    ASSERT_TRUE(rollUp);
    EXPECT_EQ(rollUp->duration(), Motion::snap().durationMs());
    EXPECT_TRUE(waitUntil([&] { return list() == nullptr; }));
    EXPECT_FALSE(h.inspector()->expandedGroups().contains(QStringLiteral("services")));

    // Opening and closing again before the list has arrived leaves it closed.
    header()->click();
    header()->click();
    EXPECT_TRUE(waitUntil([&] { return list() == nullptr; }));

    A11y::setReduceMotion(true);
    header()->click();
    ASSERT_TRUE(list());
    EXPECT_FALSE(Transition::isRunning(list()));
    EXPECT_TRUE(list()->isVisibleTo(h.inspector()));
    header()->click();
    EXPECT_TRUE(waitUntil([&] { return list() == nullptr; }));
}

// The component names can be selected; one cut in the middle to fit the panel still copies the
// whole name.
TEST(Inspector, ComponentRowsAreSelectableAndCopyTheWholeName)
{
    Inspected h;
    PackageDetails d = fullDetails();
    const QString name = QStringLiteral("com.example.alpha.feature.onboarding.internal.VeryLongActivityNameThatCannotFit");
    d.activities = {name};
    h.show(QStringLiteral("com.example.alpha"), d);
    h.inspector()->findChild<QAbstractButton *>(QStringLiteral("groupHeader-activities"))->click();
    settle();
    auto *row = h.inspector()->findChild<SelectableLine *>();
    ASSERT_TRUE(row);
    EXPECT_TRUE(row->textInteractionFlags() & Qt::TextSelectableByMouse);
    EXPECT_EQ(row->fullText(), name);
    // The panel is narrower than the name: the middle gives way.
    ASSERT_LT(row->width(), row->fontMetrics().horizontalAdvance(name));
    EXPECT_TRUE(row->shownText().contains(QChar(0x2026)));
    EXPECT_TRUE(row->shownText().startsWith(QStringLiteral("com.")));
    EXPECT_TRUE(row->shownText().endsWith(QStringLiteral("Fit")));

    QGuiApplication::clipboard()->clear();
    row->setSelection(0, int(row->shownText().size()));
    row->setFocus();
    QTest::keyClick(row, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), name);
    // A part before the cut copies just that part.
    row->setSelection(0, 4);
    QTest::keyClick(row, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("com."));
}

// The icon is drawn by the identity row, not an element of its own: no element of the row
// stands where the icon is, so accessibility finds only the row there.
TEST(Inspector, TheIconIsNoAccessibilityElement)
{
    Inspected h;
    h.show(QStringLiteral("com.example.alpha"), fullDetails());
    auto *row = h.inspector()->findChild<QWidget *>(QStringLiteral("identityRow"));
    ASSERT_TRUE(row);
    QAccessibleInterface *identity = QAccessible::queryAccessibleInterface(row);
    ASSERT_TRUE(identity);
    ASSERT_GE(identity->childCount(), 3); // title, identifier, close button
    const QRect icon(row->mapToGlobal(QPoint(0, 0)), QSize(56, 56));
    for (int i = 0; i < identity->childCount(); ++i) {
        QAccessibleInterface *child = identity->child(i);
        ASSERT_TRUE(child);
        EXPECT_FALSE(child->rect().intersects(icon)) << child->object()->metaObject()->className();
    }
    EXPECT_EQ(identity->childAt(icon.center().x(), icon.center().y()), nullptr);
}

// The warning under the buttons is a centred row: its glyph stands level with its text.
TEST(Inspector, TheWarningRowIsCentred)
{
    Inspected h;
    h.show(QStringLiteral("com.android.systemui"), fullDetails());
    auto *warning = h.inspector()->findChild<QWidget *>(QStringLiteral("riskWarning"));
    ASSERT_TRUE(warning);
    auto *glyph = warning->findChild<SymbolGlyph *>();
    auto *text = warning->findChild<DeckParagraph *>();
    ASSERT_TRUE(glyph && text);
    EXPECT_NEAR(glyph->geometry().center().y(), text->geometry().center().y(), 1);
}


// A component group's header shows the keyboard focus with a ring that touches none of its
// marks, its title or its count.
TEST(Inspector, AGroupHeadersRingClearsWhatItShows)
{
    Inspected h;
    PackageDetails d = fullDetails();
    d.activities << QStringLiteral("com.example.alpha.Main");
    h.show(QStringLiteral("com.example.alpha"), d);
    auto *header = h.inspector()->findChild<QAbstractButton *>(QStringLiteral("groupHeader-activities"));
    ASSERT_TRUE(header);
    header->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(header->window()));
    header->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(header->hasFocus());
    EXPECT_EQ(inkUnderTheFocusRing(*header), 0);
}

} // namespace
