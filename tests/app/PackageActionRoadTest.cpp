#include "AppTest.h"
#include "TimedChecks.h"

#include "core/AppModel.h"
#include "design/Motion.h"
#include "design/OperationBar.h"

#include <QAbstractItemView>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonObject>

#include <iostream>

namespace {

bool enabledOnPhone(const QJsonObject &p)
{
    const int enabled = p.value(QStringLiteral("enabled")).toInt();
    return enabled == 0 || enabled == 1;
}

class PackageActionRoad : public AppTest {
protected:
    // A user package enabled on the phone, without scripted failures.
    QJsonObject target() const
    {
        for (const QJsonValue &v : phone->packages()) {
            const QJsonObject p = v.toObject();
            if (!p.value(QStringLiteral("system")).toBool() && p.value(QStringLiteral("installed")).toBool()
                && enabledOnPhone(p) && !p.contains(QStringLiteral("failures")))
                return p;
        }
        return {};
    }
    QAbstractItemView *packageList() const
    {
        QWidget *pane = find(QStringLiteral("packageListPane"));
        return pane ? firstShown<QAbstractItemView>(pane) : nullptr;
    }
    QString labelOf(const QString &name) const
    {
        for (const AndroidPackage &p : model->packages())
            if (p.name == name)
                return p.displayName;
        return {};
    }
    // The state button the inspector shows now ("Отключить" or "Включить"), when enabled.
    QWidget *inspectorButton(const QString &text) const
    {
        QWidget *inspector = find(QStringLiteral("inspector"));
        if (!inspector)
            return nullptr;
        const QList<QWidget *> found = findAll(text, inspector);
        return found.size() == 1 && found.first()->isEnabled() ? found.first() : nullptr;
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
    const QString name = package.value(QStringLiteral("name")).toString();
    goTo(AppRoute::applications);
    clickRow(packageList(), labelOf(name));
    ASSERT_TRUE(eventually([&] { return inspectorButton(QStringLiteral("Отключить")) != nullptr; }));

    const int slideIn = Motion::smooth().durationMs();
    int shorterThanSlideIn = 0;
    QStringList durations;
    for (int round = 0; round < 20; ++round) {
        const bool disabling = round % 2 == 0;
        const QString pressed = disabling ? QStringLiteral("Отключить") : QStringLiteral("Включить");
        const QString next = disabling ? QStringLiteral("Включить") : QStringLiteral("Отключить");
        QWidget *button = inspectorButton(pressed);
        ASSERT_TRUE(button) << "round " << round;
        // The toasts of the last actions may lie over the button until they go, as the user sees.
        ASSERT_TRUE(eventually([&] { return reachable(button); }, 20000)) << "round " << round;
        QElapsedTimer clock;
        clock.start();
        bool barSeen = false;
        click(button);
        ASSERT_TRUE(eventually([&] {
            barSeen = barSeen || firstShown<OperationBar>(mainWindow()) != nullptr;
            return enabledOnPhone(phone->package(name)) != disabling && !model->runningOperation();
        })) << "round " << round;
        const qint64 took = clock.elapsed();
        durations << QString::number(took);
        if (took < slideIn)
            ++shorterThanSlideIn;
        EXPECT_TRUE(barSeen) << "round " << round << ": the progress bar never showed";
        ASSERT_TRUE(eventually([&] { return inspectorButton(next) != nullptr; })) << "round " << round;
    }
    settle();
    std::cout << "[ figure   ] 20 actions took " << durations.join(QStringLiteral(", ")).toStdString()
              << " ms; the bar slides in over " << slideIn << " ms\n";
    // Only an optimised build is quick enough for an action to end before the bar is in.
    if (TimedChecks::judge("an action ending while the bar still arrives", "every action outlasts the slide-in"))
        EXPECT_GT(shorterThanSlideIn, 0) << "no action ended while the bar was still arriving: the road proves nothing";

    // Each click reached the phone once.
    const QStringList commands = phone->shellCommands();
    EXPECT_EQ(commands.count(QStringLiteral("pm disable-user --user 0 ") + name), 10);
    EXPECT_EQ(commands.count(QStringLiteral("pm enable ") + name), 10);
    EXPECT_TRUE(enabledOnPhone(phone->package(name)));
    EXPECT_EQ(firstShown<OperationBar>(mainWindow()), nullptr) << "the bar left";
}

} // namespace
