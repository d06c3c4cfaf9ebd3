#include "AppTest.h"
#include "TimedChecks.h"

#include "core/AppModel.h"
#include "design/DeckButton.h"
#include "design/DeckParagraph.h"
#include "design/DeckText.h"
#include "design/FilterChip.h"
#include "design/Motion.h"
#include "design/OperationBar.h"
#include "design/Transition.h"

#include <QAbstractItemView>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QMessageBox>
#include <QRegularExpression>

#include <iostream>

namespace {

bool enabledOnPhone(const QJsonObject &p)
{
    const int enabled = p.value(QStringLiteral("enabled")).toInt();
    return enabled == 0 || enabled == 1;
}

QString nameOf(const QJsonObject &p) { return p.value(QStringLiteral("name")).toString(); }

// Every text shown under `root`, the accessible names included (an info row's "label: value").
QStringList everyText(QWidget *root)
{
    QStringList texts;
    for (QWidget *w : root->findChildren<QWidget *>()) {
        if (!w->isVisible())
            continue;
        texts << w->accessibleName();
        if (auto *label = qobject_cast<QLabel *>(w))
            texts << label->text();
        if (auto *text = qobject_cast<DeckText *>(w))
            texts << text->text();
        if (auto *paragraph = qobject_cast<DeckParagraph *>(w))
            texts << paragraph->text();
    }
    texts.removeAll(QString());
    return texts;
}

class PackageActionRoad : public AppTest {
protected:
    // User (or system) packages enabled on the phone, without scripted failures, whose labels are unique.
    QList<QJsonObject> targets(bool system = false) const
    {
        QList<QJsonObject> found;
        QStringList labels;
        for (const QJsonValue &v : phone->packages())
            labels << v.toObject().value(QStringLiteral("label")).toString();
        for (const QJsonValue &v : phone->packages()) {
            const QJsonObject p = v.toObject();
            if (p.value(QStringLiteral("system")).toBool() == system && p.value(QStringLiteral("installed")).toBool()
                && enabledOnPhone(p) && !p.contains(QStringLiteral("failures"))
                && labels.count(p.value(QStringLiteral("label")).toString()) == 1)
                found << p;
        }
        return found;
    }
    QJsonObject target() const
    {
        const QList<QJsonObject> all = targets();
        return all.isEmpty() ? QJsonObject() : all.first();
    }
    // The Applications list, once the screen shows it.
    QAbstractItemView *packageList() const
    {
        const QList<QWidget *> panes = findAll(QStringLiteral("packageListPane"));
        return panes.size() == 1 ? firstShown<QAbstractItemView>(panes.first()) : nullptr;
    }
    // The text the list shows for a phone's package: its label once the phone told it, else its name.
    QString labelOf(const QJsonObject &p) const
    {
        const QString label = p.value(QStringLiteral("label")).toString();
        return rowTexts(packageList()).contains(label) ? label : nameOf(p);
    }
    // What the list says of the row showing `label` (name, kind, state, risk, size), or nothing.
    QString rowDescription(const QString &label) const
    {
        QAbstractItemView *list = packageList();
        const int row = int(rowTexts(list).indexOf(label));
        return row < 0 ? QString() : rowTexts(list, Qt::AccessibleTextRole).at(row);
    }
    // Whether the row of `label` reads as enabled or as disabled.
    bool rowShows(const QString &label, bool enabled) const
    {
        const QString state = enabled ? QStringLiteral("Включено") : QStringLiteral("Отключено");
        return rowDescription(label).split(QStringLiteral(", ")).contains(state);
    }
    // The state button the inspector shows now ("Отключить" or "Включить"), when enabled.
    QWidget *inspectorButton(const QString &text) const
    {
        const QList<QWidget *> inspectors = findAll(QStringLiteral("inspector"));
        if (inspectors.size() != 1)
            return nullptr;
        QWidget *inspector = inspectors.first();
        const QList<QWidget *> found = findAll(text, inspector);
        return found.size() == 1 && found.first()->isEnabled() ? found.first() : nullptr;
    }

    // Times each of `rounds` toggles that `act` starts (disabling on even rounds, enabling on odd
    // ones), from the moment `act` starts `clock` until the phone has every package of `names` in
    // the new state and no action runs.
    struct Timing {
        int shorterThanSlideIn = 0;
        QStringList durations;
    };
    void toggleRounds(int rounds, const QStringList &names, const std::function<void(int round, bool disabling, QElapsedTimer &clock)> &act,
                      Timing *timing)
    {
        const int slideIn = Motion::smooth().durationMs();
        for (int round = 0; round < rounds; ++round) {
            const bool disabling = round % 2 == 0;
            QElapsedTimer clock;
            bool barSeen = false;
            act(round, disabling, clock);
            if (HasFatalFailure())
                return;
            ASSERT_TRUE(clock.isValid()) << "round " << round;
            ASSERT_TRUE(eventually([&] {
                barSeen = barSeen || firstShown<OperationBar>(mainWindow()) != nullptr;
                if (model->runningOperation())
                    return false;
                for (const QString &name : names)
                    if (enabledOnPhone(phone->package(name)) == disabling)
                        return false;
                return true;
            })) << "round " << round;
            const qint64 took = clock.elapsed();
            timing->durations << QString::number(took);
            if (took < slideIn)
                ++timing->shorterThanSlideIn;
            EXPECT_TRUE(barSeen) << "round " << round << ": the progress bar never showed";
        }
    }
    // `mustRace`: the road fails when no action beat the slide-in. Only the inspector's single
    // command is quick enough for that on any idle machine; the other roads report their figures.
    void report(const char *road, const Timing &timing, bool mustRace)
    {
        std::cout << "[ figure   ] " << road << ": actions took " << timing.durations.join(QStringLiteral(", ")).toStdString()
                  << " ms; the bar slides in over " << Motion::smooth().durationMs() << " ms\n";
        if (!mustRace) {
            if (timing.shorterThanSlideIn == 0)
                std::cout << "[ not judged ] no action ended while the bar was still arriving\n";
            return;
        }
        // Only an optimised build is quick enough for an action to end before the bar is in.
        if (TimedChecks::judge("an action ending while the bar still arrives", "every action outlasts the slide-in"))
            EXPECT_GT(timing.shorterThanSlideIn, 0) << "no action ended while the bar was still arriving: the road proves nothing";
    }
    // Each package got `times` disables and as many enables, and the list shows it enabled.
    void expectToggledAndShownEnabled(const QList<QJsonObject> &packages, int times)
    {
        const QStringList commands = phone->shellCommands();
        for (const QJsonObject &p : packages) {
            const QString name = nameOf(p);
            EXPECT_EQ(commands.count(QStringLiteral("pm disable-user --user 0 ") + name), times) << name.toStdString();
            EXPECT_EQ(commands.count(QStringLiteral("pm enable ") + name), times) << name.toStdString();
            EXPECT_TRUE(enabledOnPhone(phone->package(name))) << name.toStdString();
            EXPECT_TRUE(eventually([&] { return rowShows(labelOf(p), true); }))
                << name.toStdString() << ": " << rowDescription(labelOf(p)).toStdString();
        }
        EXPECT_TRUE(eventually([&] { return firstShown<OperationBar>(mainWindow()) == nullptr; })) << "the bar left";
    }
};

// The road that crashed: one package disabled and enabled again from the inspector, twenty
// times in a row, each action over before the progress bar has finished sliding in. The
// application stays up, the phone gets each command once, and the inspector ends on the state
// the phone has.
TEST_F(PackageActionRoad, InspectorTogglesTwentyTimesWhileTheBarIsStillArriving)
{
    const QJsonObject package = target();
    ASSERT_FALSE(package.isEmpty());
    const QString name = nameOf(package);
    goTo(AppRoute::applications);
    clickRow(packageList(), labelOf(package));
    ASSERT_TRUE(eventually([&] { return inspectorButton(QStringLiteral("Отключить")) != nullptr; }));

    Timing timing;
    toggleRounds(20, {name}, [&](int round, bool disabling, QElapsedTimer &clock) {
        const QString pressed = disabling ? QStringLiteral("Отключить") : QStringLiteral("Включить");
        QWidget *button = nullptr;
        ASSERT_TRUE(eventually([&] { return (button = inspectorButton(pressed)) != nullptr; })) << "round " << round;
        // The toasts of the last actions may lie over the button until they go, as the user sees.
        ASSERT_TRUE(eventually([&] { return reachable(button); }, 20000)) << "round " << round;
        clock.start();
        click(button);
    }, &timing);
    if (HasFatalFailure())
        return;
    ASSERT_TRUE(eventually([&] { return inspectorButton(QStringLiteral("Отключить")) != nullptr; }))
        << "the inspector ends on the phone's state";
    settle();
    report("inspector", timing, true);
    expectToggledAndShownEnabled({package}, 10);
}

// The same from a row's context menu: a right click on the row, then "Отключить" or "Включить".
TEST_F(PackageActionRoad, ContextMenuTogglesTwentyTimesWhileTheBarIsStillArriving)
{
    const QJsonObject package = target();
    ASSERT_FALSE(package.isEmpty());
    goTo(AppRoute::applications);
    const QString label = labelOf(package);
    ASSERT_TRUE(eventually([&] { return rowShows(label, true); }));

    Timing timing;
    toggleRounds(20, {nameOf(package)}, [&](int round, bool disabling, QElapsedTimer &clock) {
        // The row shows what the last round did before the user turns to it again.
        ASSERT_TRUE(eventually([&] { return rowShows(label, disabling) && !model->runningOperation(); }))
            << "round " << round << ": " << rowDescription(label).toStdString() << (model->runningOperation() ? " (an action runs)" : "");
        clickRow(packageList(), label, Qt::RightButton);
        clock.start();
        chooseInMenu(disabling ? QStringLiteral("Отключить") : QStringLiteral("Включить"));
    }, &timing);
    if (HasFatalFailure())
        return;
    report("context menu", timing, false);
    expectToggledAndShownEnabled({package}, 10);
}

// The same for a few packages from the selection bar: picked with a click and modifier clicks,
// then the bar's "Отключить" and "Включить". The selection stays for the next round.
TEST_F(PackageActionRoad, SelectionBarTogglesTwentyTimesWhileTheBarIsStillArriving)
{
    const QList<QJsonObject> packages = targets().mid(0, 2);
    ASSERT_EQ(packages.size(), 2);
    QStringList names;
    for (const QJsonObject &p : packages)
        names << nameOf(p);
    goTo(AppRoute::applications);
    clickRow(packageList(), labelOf(packages[0]));
    clickRow(packageList(), labelOf(packages[1]), Qt::LeftButton, Qt::ControlModifier);
    QWidget *bar = nullptr;
    ASSERT_TRUE(eventually([&] {
        const QList<QWidget *> bars = findAll(QStringLiteral("selectionBar"));
        bar = bars.size() == 1 ? bars.first() : nullptr;
        return bar && shownTexts({}, bar).contains(QStringLiteral("2"));
    })) << "the bar counts the two picked packages";

    Timing timing;
    toggleRounds(20, names, [&](int round, bool disabling, QElapsedTimer &clock) {
        const QString pressed = disabling ? QStringLiteral("Отключить") : QStringLiteral("Включить");
        QWidget *button = nullptr;
        ASSERT_TRUE(eventually([&] { return (button = selectionBarButton(pressed)) != nullptr; }, 20000)) << "round " << round;
        clock.start();
        click(button);
    }, &timing);
    if (HasFatalFailure())
        return;
    report("selection bar", timing, false);
    expectToggledAndShownEnabled(packages, 10);
    QWidget *shownBar = find(QStringLiteral("selectionBar"));
    ASSERT_TRUE(shownBar) << "the selection stays after the actions";
    EXPECT_TRUE(shownTexts({}, shownBar).contains(QStringLiteral("2"))) << "the bar still counts both";
}

// A user app and a system package uninstalled for user 0 through the window: the user app goes
// whole, so the confirmations say so and promise the restore only for the system package; after
// the run the system package waits under "Удалено" and the user app is gone from the list.
// Races nothing against the phone, so it need not run alone.
class UninstallRoad : public PackageActionRoad {
protected:
    // The confirmation shown now, once it is.
    QMessageBox *confirmation() const
    {
        QMessageBox *box = nullptr;
        eventually([&] { return (box = qobject_cast<QMessageBox *>(dialog())) != nullptr; }, 10000);
        return box;
    }
    // Whether the confirming button of `box` wears the danger style.
    static bool confirmsDestructively(QMessageBox *box)
    {
        for (QAbstractButton *b : box->buttons())
            if (b->text() == QStringLiteral("Удалить для пользователя"))
                if (auto *button = qobject_cast<DeckButton *>(b))
                    return button->buttonStyle().role == DeckButtonRole::destructive
                        && box->buttonRole(b) == QMessageBox::DestructiveRole;
        return false;
    }
};

TEST_F(UninstallRoad, UserAppGoesWholeAndOnlyTheSystemPackageCanBeRestored)
{
    const QJsonObject user = target();
    const QList<QJsonObject> systems = targets(true);
    ASSERT_FALSE(user.isEmpty());
    ASSERT_FALSE(systems.isEmpty()) << "the phone has no system package to uninstall";
    const QJsonObject system = systems.first();
    const QString userName = nameOf(user), systemName = nameOf(system);
    const QString userGone = QStringLiteral("Пользовательские приложения (1) будут удалены вместе с данными без "
                                            "возможности восстановления.");
    goTo(AppRoute::applications);
    ASSERT_TRUE(eventually([&] { return packageList() && rowTexts(packageList()).contains(labelOf(system)); }));
    const QString userLabel = labelOf(user), systemLabel = labelOf(system);

    // The inspector's "Удалить" on the user app alone: no restore is promised.
    clickRow(packageList(), userLabel);
    QWidget *remove = nullptr;
    ASSERT_TRUE(eventually([&] { return (remove = inspectorButton(QStringLiteral("Удалить"))) && reachable(remove); },
                           20000));
    click(remove);
    QMessageBox *box = confirmation();
    ASSERT_TRUE(box) << "the inspector's removal asked nothing";
    EXPECT_EQ(box->text(), QStringLiteral("Удалить для пользователя: 1 приложений?"));
    const QString alone = box->informativeText();
    EXPECT_TRUE(alone == userGone || alone.startsWith(userGone + QStringLiteral(" Повышенный риск: ")))
        << alone.toStdString();
    EXPECT_TRUE(confirmsDestructively(box));
    answer(QStringLiteral("Отмена"));
    ASSERT_TRUE(eventually([&] { return dialog() == nullptr; }, 10000));

    // The system package joins the selection; the bar's "Удалить" tells the two apart.
    clickRow(packageList(), systemLabel, Qt::LeftButton, Qt::ControlModifier);
    QWidget *barRemove = nullptr;
    ASSERT_TRUE(eventually([&] {
        QWidget *bar = lookup(QStringLiteral("selectionBar"));
        return bar && shownTexts({}, bar).contains(QStringLiteral("2"))
            && (barRemove = selectionBarButton(QStringLiteral("Удалить"))) != nullptr;
    }, 20000)) << "the bar counts the two picked packages";
    click(barRemove);
    box = confirmation();
    ASSERT_TRUE(box) << "the bar's removal asked nothing";
    EXPECT_EQ(box->text(), QStringLiteral("Удалить для пользователя: 2 приложений?"));
    const QString both = QStringLiteral("Системные пакеты будут удалены только для пользователя 0. APK останется в "
                                        "прошивке, восстановление возможно командой «Восстановить». ")
        + userGone + QStringLiteral(" Системных пакетов: 1.");
    const QString shown = box->informativeText();
    EXPECT_TRUE(shown == both || shown.startsWith(both + QStringLiteral(" Повышенный риск: "))) << shown.toStdString();
    EXPECT_TRUE(confirmsDestructively(box));
    answer(QStringLiteral("Удалить для пользователя"));

    ASSERT_TRUE(eventually([&] {
        return phone->package(userName).isEmpty() && !phone->package(systemName).value(QStringLiteral("installed")).toBool()
            && !model->runningOperation();
    })) << "the phone removed both";
    QStringList uninstalls = phone->shellCommands().filter(QStringLiteral("pm uninstall"));
    uninstalls.sort();
    QStringList expected{QStringLiteral("pm uninstall --user 0 ") + userName,
                         QStringLiteral("pm uninstall --user 0 ") + systemName};
    expected.sort();
    EXPECT_EQ(uninstalls, expected) << "each once, the cancelled one never";

    // Under "Удалено" the system package waits for "Восстановить"; the user app is nowhere.
    const auto listsUser = [&](const QStringList &rows) { return rows.contains(userLabel) || rows.contains(userName); };
    ASSERT_TRUE(eventually([&] { return !listsUser(rowTexts(packageList())); })) << "the list still shows the user app";
    auto *removed = find<FilterChip>(QStringLiteral("Удалено"), find(QStringLiteral("filterBar")));
    ASSERT_TRUE(removed);
    ASSERT_TRUE(eventually([&] { return reachable(removed); }, 20000));
    click(removed);
    // The row shows the label the phone told, or the name should the label be gone with the user.
    QString systemRow;
    ASSERT_TRUE(eventually([&] {
        const QStringList rows = rowTexts(packageList());
        systemRow = rows.contains(systemLabel) ? systemLabel : systemName;
        return rows.contains(systemRow) && !listsUser(rows) && removed->isOn()
            && rowDescription(systemRow).split(QStringLiteral(", ")).contains(QStringLiteral("Удалено для пользователя"));
    })) << rowTexts(packageList()).join(QStringLiteral(" | ")).toStdString() << " / "
        << rowDescription(systemRow).toStdString();
}

// A package the phone reports without native code and without an installer: the framework
// writes "null" for both, and the inspector shows them as missing, like any other missing fact.
// Races nothing against the phone, so it need not run alone.
class InspectorRoad : public PackageActionRoad {};

TEST_F(InspectorRoad, ShowsAFactThePhoneLacksAsMissing)
{
    QJsonObject package;
    for (const QJsonObject &p : targets())
        if (p.value(QStringLiteral("primaryCpuAbi")).isNull() && p.value(QStringLiteral("installer")).isNull())
            package = p;
    for (const QJsonValue &v : phone->packages())
        if (package.isEmpty() && v.toObject().value(QStringLiteral("primaryCpuAbi")).isNull()
            && v.toObject().value(QStringLiteral("installer")).isNull())
            package = v.toObject();
    ASSERT_FALSE(package.isEmpty()) << "the phone has no package without native code and installer";
    goTo(AppRoute::applications);
    clickRow(packageList(), labelOf(package));
    QWidget *inspector = nullptr;
    ASSERT_TRUE(eventually([&] {
        const QList<QWidget *> shown = findAll(QStringLiteral("inspector"));
        inspector = shown.size() == 1 ? shown.first() : nullptr;
        return inspector && findAll(QStringLiteral("detailsRows"), inspector).size() == 1
            && findAll(QStringLiteral("detailsReading"), inspector).isEmpty()
            && findAll(QStringLiteral("Версия: ") + package.value(QStringLiteral("versionName")).toString(), inspector)
                   .size() == 1;
    })) << "the inspector reads the package's details";
    EXPECT_EQ(findAll(QStringLiteral("Архитектура: —"), inspector).size(), 1);
    EXPECT_EQ(findAll(QStringLiteral("Установщик: —"), inspector).size(), 1);
    const QRegularExpression null(QStringLiteral("\\bnull\\b"), QRegularExpression::CaseInsensitiveOption);
    for (const QString &text : everyText(inspector))
        EXPECT_FALSE(null.match(text).hasMatch()) << text.toStdString();
}

} // namespace
