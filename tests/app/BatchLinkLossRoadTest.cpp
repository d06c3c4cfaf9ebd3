#include "AppTest.h"

#include "bridge/AndroidPackage.h"
#include "core/AppModel.h"

#include <QAbstractItemView>
#include <QJsonArray>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>

#include <iostream>

namespace {

constexpr int kBatchSize = 20;
constexpr int kInterruptAfter = 7; // commands the phone has received when the link goes

bool disabledOnPhone(const QJsonObject &p) { return p.value(QStringLiteral("enabled")).toInt() == 3; }

// A batch that disables twenty packages, chosen and started as a user does on the Applications
// screen, loses its phone in the middle. The application neither crashes nor hangs, the phone
// comes back by itself, and the summary and the list agree with what the phone holds.
class BatchLinkLossRoad : public AppTest {
protected:
    QStringList phoneOptions() const override { return {QStringLiteral("--packages"), QStringLiteral("60")}; }

    // The list, or none while the pane is gone (the phone coming back rebuilds the screen).
    QAbstractItemView *packageList() const
    {
        QWidget *pane = lookup(QStringLiteral("packageListPane"));
        return pane ? firstShown<QAbstractItemView>(pane) : nullptr;
    }

    // Twenty packages installed and enabled, without scripted failures, whose shown names are
    // unique, taken from the top of the list: the user picks them by those names, and the
    // selection bar that appears floats over the list's foot.
    QMap<QString, QString> chooseTargets() const
    {
        QHash<QString, int> labelCount;
        QHash<QString, QString> nameOfLabel;
        for (const AndroidPackage &p : model->packages()) {
            ++labelCount[p.displayName];
            nameOfLabel.insert(p.displayName, p.name);
        }
        QMap<QString, QString> labelOfName;
        for (const QString &label : rowTexts(packageList())) {
            if (labelCount.value(label) != 1)
                continue;
            const QJsonObject p = phone->package(nameOfLabel.value(label));
            const int enabled = p.value(QStringLiteral("enabled")).toInt();
            if (p.isEmpty() || !p.value(QStringLiteral("installed")).toBool(true) || (enabled != 0 && enabled != 1) ||
                p.contains(QStringLiteral("failures")))
                continue;
            labelOfName.insert(nameOfLabel.value(label), label);
            if (labelOfName.size() == kBatchSize)
                break;
        }
        return labelOfName;
    }

    // A click on the row showing `label`, scrolled to the middle of the list first as a user
    // would: the selection bar floats over the list's foot.
    void clickPackage(const QString &label, Qt::KeyboardModifiers modifiers)
    {
        QAbstractItemView *view = packageList();
        ASSERT_TRUE(view) << "no package list is shown";
        const int row = int(rowTexts(view).indexOf(label));
        ASSERT_GE(row, 0) << label.toStdString();
        const QModelIndex index = view->model()->index(row, 0, view->rootIndex());
        view->scrollTo(index, QAbstractItemView::PositionAtCenter);
        QCoreApplication::processEvents();
        const QPoint centre = view->visualRect(index).center();
        ASSERT_TRUE(reachable(view->viewport(), centre)) << label.toStdString() << " is covered";
        QWidget *top = view->window();
        const QPoint point = view->viewport()->mapTo(top, centre);
        QTest::mouseMove(top->windowHandle(), point);
        QTest::mouseClick(top->windowHandle(), Qt::LeftButton, modifiers, point);
        QCoreApplication::processEvents();
    }

    int disableCommandsReceived() const
    {
        return int(phone->shellCommands().filter(QRegularExpression(QStringLiteral("^pm disable-user --user 0 "))).size());
    }

    // The summary of the last batch as the Overview's history shows it ("Отключить, Ошибок: …").
    QString shownSummary()
    {
        goTo(AppRoute::overview);
        QString summary;
        eventually([&] {
            for (const QString &row : historyRows())
                if (row.startsWith(QStringLiteral("Отключить, ")))
                    summary = row;
            return !summary.isEmpty();
        }, 20000);
        return summary;
    }

    // Selects the targets, disables them, runs `interrupt` once the phone has received a few of
    // the commands, and checks everything the user and the phone show afterwards.
    void disableTwentyAndInterrupt(const std::function<void()> &interrupt)
    {
        goTo(AppRoute::applications);
        const QMap<QString, QString> targets = chooseTargets();
        ASSERT_EQ(targets.size(), kBatchSize) << "the phone has too few enabled packages with unique names";
        bool first = true;
        for (const QString &label : targets) {
            clickPackage(label, first ? Qt::NoModifier : Qt::ControlModifier);
            first = false;
        }
        ASSERT_TRUE(eventually([&] { return model->selectedPackageIDs().size() == kBatchSize; }, 10000));
        QWidget *bar = find(QStringLiteral("selectionBar"));
        ASSERT_TRUE(bar);
        click(find(QStringLiteral("Отключить"), bar));

        ASSERT_TRUE(eventually([&] { return disableCommandsReceived() >= kInterruptAfter; }, 120000));
        interrupt();

        // The batch ends by itself and says how it went.
        ASSERT_TRUE(eventually([&] { return !model->recentOperations().isEmpty() && !model->runningOperation(); },
                               200000))
            << "the batch never ended";
        const QString summary = shownSummary();
        int doneOnPhone = 0;
        for (const QString &name : targets.keys())
            doneOnPhone += disabledOnPhone(phone->package(name)) ? 1 : 0;
        std::cout << "[ figure   ] " << summary.toStdString() << "; the phone has " << doneOnPhone << " of "
                  << kBatchSize << " disabled after receiving " << disableCommandsReceived() << " commands\n";
        EXPECT_GT(kBatchSize - doneOnPhone, 0) << "the link loss cost nothing: the road proves nothing";
        EXPECT_TRUE(summary.startsWith(QStringLiteral("Отключить, Ошибок: %1 из %2, ")
                                           .arg(kBatchSize - doneOnPhone)
                                           .arg(kBatchSize)))
            << summary.toStdString();

        // The phone is back and the list shows each package as the phone has it.
        ASSERT_TRUE(eventually([&] {
            const auto device = model->selectedDevice();
            return device && device->id == phone->serial() && device->isReady();
        }, 120000)) << "the phone did not come back";
        goTo(AppRoute::applications);
        const auto listAgrees = [&] {
            const QStringList labels = rowTexts(packageList());
            const QStringList spoken = rowTexts(packageList(), Qt::AccessibleTextRole);
            for (auto it = targets.begin(); it != targets.end(); ++it) {
                const qsizetype row = labels.indexOf(it.value());
                if (row < 0)
                    return false;
                const bool shownDisabled = spoken.at(row).contains(QStringLiteral(", ") + title(PackageState::disabled) +
                                                                   QStringLiteral(", "));
                if (shownDisabled != disabledOnPhone(phone->package(it.key())))
                    return false;
            }
            return true;
        };
        EXPECT_TRUE(eventually(listAgrees, 120000)) << "the list does not show what the phone holds";
        settle();
        EXPECT_FALSE(model->isBusy());
    }
};

// `adb reboot` from outside in the middle of the batch: the command in flight is cut off, the
// next ones find the phone offline until it is back.
TEST_F(BatchLinkLossRoad, RebootInTheMiddleOfTwentyPackages)
{
    const int bootsBefore = phone->device().value(QStringLiteral("boot_count")).toInt(1);
    disableTwentyAndInterrupt([&] {
        const CommandResult rebooted = session->adb({QStringLiteral("-s"), phone->serial(), QStringLiteral("reboot")});
        EXPECT_TRUE(rebooted.succeeded()) << rebooted.combinedOutput().toStdString();
    });
    EXPECT_GT(phone->device().value(QStringLiteral("boot_count")).toInt(1), bootsBefore);
}

// The phone switched off in the middle of the batch (the simulator stopped), the application
// sees it gone, and then on again at the same address.
TEST_F(BatchLinkLossRoad, PhoneKilledInTheMiddleOfTwentyPackagesAndBackAgain)
{
    disableTwentyAndInterrupt([&] {
        phone->stop();
        ASSERT_TRUE(eventually([&] {
            const auto device = model->selectedDevice();
            return !device || !device->isReady();
        }, 60000)) << "the application never noticed the phone was gone";
        QString error;
        ASSERT_TRUE(phone->restart(&error)) << error.toStdString();
    });
}

} // namespace
