#include "E2eTest.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace {

using PackageActions = E2eTest;

bool enabledOnPhone(const QJsonObject &p)
{
    const int enabled = p.value(QStringLiteral("enabled")).toInt();
    return enabled == 0 || enabled == 1;
}

// Each action of the catalogue, one after the other on one system package, as the user
// runs them (destructive ones confirmed): the device's record changes as intended and
// the list read back shows it.
TEST_F(PackageActions, EachActionChangesThePhoneAndTheListShowsIt)
{
    const QJsonObject target = phonePackage([](const QJsonObject &p) {
        return p.value(QStringLiteral("system")).toBool() && p.value(QStringLiteral("installed")).toBool()
            && enabledOnPhone(p) && !p.contains(QStringLiteral("failures"))
            && p.value(QStringLiteral("dataSize")).toInteger() > 0;
    });
    ASSERT_FALSE(target.isEmpty());
    const QString name = target.value(QStringLiteral("name")).toString();

    struct Step {
        PackageAction action;
        QString command;                              // the device's command line, as adb joined it
        std::function<bool(const QJsonObject &)> onPhone; // the device's record afterwards
        PackageState shown;
    };
    const QList<Step> steps{
        {PackageAction::disable, QStringLiteral("pm disable-user --user 0 ") + name,
         [](const QJsonObject &p) { return p.value(QStringLiteral("enabled")).toInt() == 3; }, PackageState::disabled},
        {PackageAction::enable, QStringLiteral("pm enable ") + name,
         [](const QJsonObject &p) { return p.value(QStringLiteral("enabled")).toInt() == 1; }, PackageState::enabled},
        {PackageAction::uninstall, QStringLiteral("pm uninstall --user 0 ") + name,
         [](const QJsonObject &p) { return !p.isEmpty() && !p.value(QStringLiteral("installed")).toBool(); },
         PackageState::removedForUser},
        {PackageAction::restore, QStringLiteral("cmd package install-existing --user 0 ") + name,
         [](const QJsonObject &p) { return p.value(QStringLiteral("installed")).toBool(); }, PackageState::enabled},
        {PackageAction::clearData, QStringLiteral("pm clear ") + name,
         [](const QJsonObject &p) { return p.value(QStringLiteral("dataSize")).toInteger() == 0; },
         PackageState::enabled},
    };

    for (const Step &step : steps) {
        SCOPED_TRACE(rawValue(step.action).toStdString());
        const qsizetype commandsBefore = phone->shellCommands().size();
        model->selectedPackageIDs.set({name});
        model->request(step.action);
        if (isDestructive(step.action)) {
            ASSERT_EQ(model->pendingAction(), step.action);
            model->confirmPendingAction();
        }
        ASSERT_TRUE(eventually([&] {
            const auto shown = listed(name);
            return step.onPhone(phone->package(name)) && shown && shown->state == step.shown && !model->isBusy();
        })) << "the phone's record: " << QJsonDocument(phone->package(name)).toJson().left(400).toStdString();
        ASSERT_FALSE(model->recentOperations().isEmpty());
        EXPECT_EQ(model->recentOperations().first().detail, QStringLiteral("Обработано пакетов: 1"));
        EXPECT_TRUE(model->recentOperations().first().succeeded);
        // The command reached the device as one line, exactly as meant.
        EXPECT_TRUE(phone->shellCommands().mid(commandsBefore).contains(step.command)) << step.command.toStdString();
    }
}

// Granting and revoking runtime permissions: the device's "dumpsys package" shows the
// change, and the manager's list, read again, agrees with it.
TEST_F(PackageActions, RuntimePermissionsGrantedAndRevokedShowInDumpsys)
{
    QString grantName, revokeName;
    const QJsonObject target = phonePackage([&](const QJsonObject &p) {
        if (p.value(QStringLiteral("system")).toBool() || !p.value(QStringLiteral("installed")).toBool())
            return false;
        grantName.clear();
        revokeName.clear();
        for (const QJsonValue &value : p.value(QStringLiteral("runtimePermissions")).toArray()) {
            const QJsonObject perm = value.toObject();
            const QStringList flags = perm.value(QStringLiteral("flags")).toVariant().toStringList();
            if (flags.contains(QStringLiteral("SYSTEM_FIXED")) || flags.contains(QStringLiteral("POLICY_FIXED")))
                continue;
            QString &slot = perm.value(QStringLiteral("granted")).toBool() ? revokeName : grantName;
            if (slot.isEmpty())
                slot = perm.value(QStringLiteral("name")).toString();
        }
        return !grantName.isEmpty() && !revokeName.isEmpty();
    });
    ASSERT_FALSE(target.isEmpty());
    const QString name = target.value(QStringLiteral("name")).toString();

    // "android.permission.CAMERA: granted=true, flags=[ ...]" under the user's runtime permissions.
    const auto grantedInDumpsys = [&](const QString &permission) -> std::optional<bool> {
        const QRegularExpression line(QRegularExpression::escape(permission)
                                      + QStringLiteral(": granted=(true|false)"));
        const auto match = line.match(onPhone({QStringLiteral("dumpsys"), QStringLiteral("package"), name}));
        return match.hasMatch() ? std::optional(match.captured(1) == QStringLiteral("true")) : std::nullopt;
    };
    const auto grantedInModel = [&](const QString &permission) -> std::optional<bool> {
        for (const AppPermission &p : model->permissions())
            if (p.name == permission)
                return p.isGranted;
        return std::nullopt;
    };
    ASSERT_EQ(grantedInDumpsys(grantName), false);
    ASSERT_EQ(grantedInDumpsys(revokeName), true);

    model->selectedPackageIDs.set({name});
    model->openPermissionManager();
    ASSERT_TRUE(eventually([&] { return !model->permissions().isEmpty() && !model->isPermissionBusy(); }));
    QMap<QString, bool> onDevice, shown;
    for (const QJsonValue &value : target.value(QStringLiteral("runtimePermissions")).toArray())
        onDevice.insert(value[QStringLiteral("name")].toString(), value[QStringLiteral("granted")].toBool());
    for (const AppPermission &p : model->permissions())
        shown.insert(p.name, p.isGranted);
    EXPECT_EQ(shown, onDevice);

    struct Change {
        PermissionOperation operation;
        QString permission;
        bool granted;
    };
    for (const Change &change : {Change{PermissionOperation::grant, grantName, true},
                                 Change{PermissionOperation::revoke, revokeName, false}}) {
        SCOPED_TRACE(change.permission.toStdString());
        model->selectedPermissionIDs.set({change.permission});
        model->requestPermissionOperation(change.operation);
        ASSERT_EQ(model->pendingPermissionOperation(), change.operation);
        model->confirmPermissionOperation();
        ASSERT_TRUE(eventually([&] {
            return grantedInModel(change.permission) == change.granted && !model->isPermissionBusy();
        }));
        EXPECT_EQ(grantedInDumpsys(change.permission), change.granted);
        EXPECT_EQ(model->permissionStatusText(), QStringLiteral("Операция завершена: 1"));
        EXPECT_TRUE(phone->shellCommands().contains(
            QStringLiteral("pm %1 --user 0 %2 %3").arg(rawValue(change.operation), name, change.permission)));
    }
}

} // namespace
