#include "AppTest.h"

#include "core/AppModel.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

namespace {

// Ctrl+R ("Обновить всё") pressed while a package batch runs: its refresh is still reading labels
// and icons when the batch ends and the batch's own refresh comes and goes. Once the older refresh
// is over the application is idle again and the user can act. The phone holds the two steps
// whose order matters (the batch's command and the metadata program) until the road lets them go.
class RefreshDuringBatchRoad : public AppTest {
protected:
    // Makes the phone's `tool` wait, whenever its arguments match the shell pattern `arguments`,
    // until the road opens `gate`. The phone rewrites its tools at each start only.
    void hold(const QString &tool, const QString &arguments, const QString &gate)
    {
        QFile script(phone->stateFolder() + QStringLiteral("/bin/") + tool);
        ASSERT_TRUE(script.open(QIODevice::ReadOnly)) << tool.toStdString();
        QString text = QString::fromUtf8(script.readAll());
        script.close();
        const qsizetype exec = text.indexOf(QStringLiteral("\nexec "));
        ASSERT_GE(exec, 0) << "the phone's " << tool.toStdString() << " is not the wrapper it used to be";
        text.insert(exec + 1, QStringLiteral("case \"$*\" in %1) while [ ! -e '%2' ]; do sleep 0.05; done;; esac\n")
                                  .arg(arguments, gatePath(gate)));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
        script.write(text.toUtf8());
    }
    QString gatePath(const QString &gate) const { return gates.filePath(gate); }
    void open(const QString &gate)
    {
        QFile file(gatePath(gate));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    int commandsCount(const QString &part) const { return int(phone->shellCommands().filter(part).size()); }

    QAbstractItemView *packageList() const
    {
        const QList<QWidget *> panes = findAll(QStringLiteral("packageListPane"));
        return panes.size() == 1 ? firstShown<QAbstractItemView>(panes.first()) : nullptr;
    }
    QString rowDescription(const QString &label) const
    {
        QAbstractItemView *list = packageList();
        const int row = list ? int(rowTexts(list).indexOf(label)) : -1;
        return row < 0 ? QString() : rowTexts(list, Qt::AccessibleTextRole).at(row);
    }

    QTemporaryDir gates;
};

TEST_F(RefreshDuringBatchRoad, CtrlRWhileABatchEndsLeavesTheApplicationReadyToAct)
{
    // A user package, enabled, whose label the list shows once.
    QJsonObject target;
    QStringList labels;
    for (const QJsonValue &v : phone->packages())
        labels << v.toObject().value(QStringLiteral("label")).toString();
    for (const QJsonValue &v : phone->packages()) {
        const QJsonObject p = v.toObject();
        const int enabled = p.value(QStringLiteral("enabled")).toInt();
        if (target.isEmpty() && !p.value(QStringLiteral("system")).toBool() && (enabled == 0 || enabled == 1) &&
            !p.contains(QStringLiteral("failures")) && labels.count(p.value(QStringLiteral("label")).toString()) == 1)
            target = p;
    }
    ASSERT_FALSE(target.isEmpty());
    const QString name = target.value(QStringLiteral("name")).toString();
    const QString label = target.value(QStringLiteral("label")).toString();

    goTo(AppRoute::applications);
    ASSERT_TRUE(eventually([&] { return rowDescription(label).contains(QStringLiteral("Включено")); }))
        << "the list shows the package with its label";
    settle();
    hold(QStringLiteral("pm"), QStringLiteral("*disable-user*"), QStringLiteral("batch"));
    hold(QStringLiteral("app_process"), QStringLiteral("*"), QStringLiteral("metadata"));
    if (HasFatalFailure())
        return;

    clickRow(packageList(), label);
    QWidget *disable = nullptr;
    ASSERT_TRUE(eventually([&] { return (disable = selectionBarButton(QStringLiteral("Отключить"))) != nullptr; }, 20000));
    click(disable);
    const QString disableCommand = QStringLiteral("pm disable-user --user 0 ") + name;
    ASSERT_TRUE(eventually([&] { return commandsCount(disableCommand) == 1; })) << "the batch's command reached the phone";

    const int metadataRuns = commandsCount(QStringLiteral("app_process"));
    key(Qt::Key_R, Qt::ControlModifier);
    ASSERT_TRUE(eventually([&] { return commandsCount(QStringLiteral("app_process")) == metadataRuns + 1; }))
        << "Ctrl+R's refresh reached the labels and icons";

    // The batch ends; its own refresh reads the list (the labels from what is known) and is done.
    open(QStringLiteral("batch"));
    ASSERT_TRUE(eventually([&] { return rowDescription(label).contains(QStringLiteral("Отключено")); }))
        << "the batch's refresh shows the package disabled: " << rowDescription(label).toStdString();
    EXPECT_TRUE(model->isBusy()) << "Ctrl+R's refresh still runs";

    open(QStringLiteral("metadata"));
    ASSERT_TRUE(eventually([&] { return !model->isBusy(); }, 20000)) << "busy with nothing running";
    settle();

    // The user can act again: the selection bar turns the package back on.
    QWidget *enable = nullptr;
    ASSERT_TRUE(eventually([&] { return (enable = selectionBarButton(QStringLiteral("Включить"))) != nullptr; }, 20000))
        << "the selection bar stays greyed";
    click(enable);
    ASSERT_TRUE(eventually([&] { return commandsCount(QStringLiteral("pm enable ") + name) == 1; }));
    EXPECT_TRUE(eventually([&] { return rowDescription(label).contains(QStringLiteral("Включено")); }));
    settle();
    EXPECT_FALSE(model->isBusy());
}

} // namespace
