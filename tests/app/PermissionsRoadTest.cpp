#include "AppTest.h"

#include <QAbstractItemView>
#include <QJsonArray>
#include <QJsonObject>
#include <QMessageBox>

namespace {

class PermissionsRoad : public AppTest {
protected:
    struct Choice {
        QJsonObject package;
        QStringList granted; // changeable runtime permissions granted now
        QStringList denied;  // changeable runtime permissions not granted now
    };
    // A user package with at least two changeable permissions granted and one denied.
    Choice choose() const
    {
        QStringList labels;
        for (const QJsonValue &v : phone->packages())
            labels << v.toObject().value(QStringLiteral("label")).toString();
        for (const QJsonValue &v : phone->packages()) {
            const QJsonObject p = v.toObject();
            if (p.value(QStringLiteral("system")).toBool() || !p.value(QStringLiteral("installed")).toBool()
                || labels.count(p.value(QStringLiteral("label")).toString()) != 1)
                continue;
            Choice c{p, {}, {}};
            for (const QJsonValue &r : p.value(QStringLiteral("runtimePermissions")).toArray()) {
                const QJsonObject permission = r.toObject();
                const QJsonArray flags = permission.value(QStringLiteral("flags")).toArray();
                if (flags.contains(QStringLiteral("SYSTEM_FIXED")) || flags.contains(QStringLiteral("POLICY_FIXED")))
                    continue;
                (permission.value(QStringLiteral("granted")).toBool() ? c.granted : c.denied)
                    << permission.value(QStringLiteral("name")).toString();
            }
            if (c.granted.size() >= 2 && !c.denied.isEmpty())
                return c;
        }
        return {};
    }
    // Whether the phone lists `permission` of the package as granted (`granted`) or as denied; a
    // permission the phone no longer lists is neither.
    bool phoneHas(const QString &package, const QString &permission, bool granted) const
    {
        for (const QJsonValue &r : phone->package(package).value(QStringLiteral("runtimePermissions")).toArray())
            if (r.toObject().value(QStringLiteral("name")).toString() == permission)
                return r.toObject().value(QStringLiteral("granted")).toBool() == granted;
        return false;
    }
    bool grantedOnPhone(const QString &package, const QString &permission) const
    {
        return phoneHas(package, permission, true);
    }
    bool deniedOnPhone(const QString &package, const QString &permission) const
    {
        return phoneHas(package, permission, false);
    }
    // The manager's list, once it is shown.
    QAbstractItemView *permissionList() const
    {
        const QList<QWidget *> shown = findAll(QStringLiteral("permissionList"));
        return shown.size() == 1 ? qobject_cast<QAbstractItemView *>(shown.first()) : nullptr;
    }
    // The row text the list shows for a permission (its readable name; the raw name is its tooltip).
    QString rowOf(const QString &permission) const
    {
        QAbstractItemView *list = permissionList();
        const int row = int(rowTexts(list, Qt::ToolTipRole).indexOf(permission));
        return row < 0 ? QString() : rowTexts(list).at(row);
    }
    // What the list says of a permission's row ("…, предоставлено" or "…, запрещено").
    QString describedAs(const QString &permission) const
    {
        QAbstractItemView *list = permissionList();
        const int row = int(rowTexts(list, Qt::ToolTipRole).indexOf(permission));
        return row < 0 ? QString() : rowTexts(list, Qt::AccessibleTextRole).at(row);
    }
    bool shownGranted(const QString &permission) const
    {
        return describedAs(permission).contains(QStringLiteral(", предоставлено"));
    }
    bool shownDenied(const QString &permission) const
    {
        return describedAs(permission).contains(QStringLiteral(", запрещено"));
    }
    QWidget *manager() const { return find(QStringLiteral("permissionManager")); }
    bool managerSays(const QString &text) const
    {
        const QList<QWidget *> shown = findAll(QStringLiteral("permissionManager"));
        return shown.size() == 1 && shownTexts({}, shown.first()).contains(text);
    }
    // The confirmation's question, once it is shown.
    QString question() const
    {
        QMessageBox *box = nullptr;
        eventually([&] { return (box = qobject_cast<QMessageBox *>(dialog())) != nullptr; }, 10000);
        return box ? box->text() : QString();
    }
    QStringList permissionCommands() const
    {
        QStringList found;
        for (const QString &command : phone->shellCommands())
            if (command.startsWith(QStringLiteral("pm grant")) || command.startsWith(QStringLiteral("pm revoke")))
                found << command;
        return found;
    }
};

// A package picked on the Permissions screen: two granted permissions revoked (the first
// confirmation cancelled, the second accepted), then one of them and a denied one granted. The
// phone's runtime permissions change exactly so, and every row says what the phone has.
TEST_F(PermissionsRoad, RevokeAndGrantThroughTheConfirmations)
{
    const Choice choice = choose();
    ASSERT_FALSE(choice.package.isEmpty()) << "the phone has no user package with changeable permissions of both kinds";
    const QString name = choice.package.value(QStringLiteral("name")).toString();
    const QString label = choice.package.value(QStringLiteral("label")).toString();
    const QString first = choice.granted.at(0), second = choice.granted.at(1), denied = choice.denied.at(0);

    goTo(AppRoute::permissions);
    auto *picker = find<QAbstractItemView>(QStringLiteral("packagePicker"));
    ASSERT_TRUE(eventually([&] { return !rowTexts(picker).isEmpty(); }));
    // The label once the phone told it, else the package's name.
    clickRow(picker, rowTexts(picker).contains(label) ? label : name);
    const int total = int(choice.package.value(QStringLiteral("runtimePermissions")).toArray().size());
    ASSERT_TRUE(eventually([&] { return permissionList() && rowTexts(permissionList()).size() == total; }))
        << "the manager lists the package's runtime permissions";
    ASSERT_TRUE(shownGranted(first) && shownGranted(second) && shownDenied(denied))
        << describedAs(first).toStdString() << " | " << describedAs(second).toStdString() << " | "
        << describedAs(denied).toStdString();

    // Two granted ones picked: only "Отозвать" has something to do.
    clickRow(permissionList(), rowOf(first));
    clickRow(permissionList(), rowOf(second));
    ASSERT_TRUE(eventually([&] { return managerSays(QStringLiteral("Выбрано: 2")); }));
    QWidget *revoke = find(QStringLiteral("Отозвать"), manager());
    QWidget *grant = find(QStringLiteral("Предоставить"), manager());
    ASSERT_TRUE(revoke && grant);
    EXPECT_TRUE(revoke->isEnabled());
    EXPECT_FALSE(grant->isEnabled());

    // Cancelled: nothing reaches the phone and the choice stays.
    click(revoke);
    EXPECT_EQ(question(), QStringLiteral("Отозвать: 2?"));
    answer(QStringLiteral("Отмена"));
    ASSERT_TRUE(eventually([&] { return dialog() == nullptr; }, 10000));
    settle();
    EXPECT_TRUE(permissionCommands().isEmpty()) << permissionCommands().join(QStringLiteral(" | ")).toStdString();
    EXPECT_TRUE(grantedOnPhone(name, first) && grantedOnPhone(name, second));
    EXPECT_TRUE(managerSays(QStringLiteral("Выбрано: 2")));

    // Confirmed: both are revoked on the phone, and the rows say so.
    click(revoke);
    EXPECT_EQ(question(), QStringLiteral("Отозвать: 2?"));
    answer(QStringLiteral("Отозвать"));
    ASSERT_TRUE(eventually([&] { return deniedOnPhone(name, first) && deniedOnPhone(name, second); }));
    EXPECT_TRUE(eventually([&] { return shownDenied(first) && shownDenied(second); }))
        << describedAs(first).toStdString() << " | " << describedAs(second).toStdString();

    // The second one dropped from the choice and the denied one added: two to grant.
    ASSERT_TRUE(eventually([&] { return managerSays(QStringLiteral("Выбрано: 2")) && grant->isEnabled(); }));
    clickRow(permissionList(), rowOf(second));
    clickRow(permissionList(), rowOf(denied));
    ASSERT_TRUE(eventually([&] { return managerSays(QStringLiteral("Выбрано: 2")) && grant->isEnabled(); }));
    EXPECT_FALSE(revoke->isEnabled()) << "nothing chosen is granted";
    click(grant);
    EXPECT_EQ(question(), QStringLiteral("Предоставить: 2?"));
    answer(QStringLiteral("Предоставить"));
    ASSERT_TRUE(eventually([&] { return grantedOnPhone(name, first) && grantedOnPhone(name, denied); }));
    EXPECT_TRUE(eventually([&] { return shownGranted(first) && shownGranted(denied) && shownDenied(second); }))
        << describedAs(first).toStdString() << " | " << describedAs(denied).toStdString() << " | "
        << describedAs(second).toStdString();
    settle();
    EXPECT_TRUE(deniedOnPhone(name, second));
    const QStringList commands = permissionCommands();
    EXPECT_EQ(commands.size(), 4) << commands.join(QStringLiteral(" | ")).toStdString();
    for (const QString &expected : {QStringLiteral("revoke --user 0 %1 %2").arg(name, first),
                                    QStringLiteral("revoke --user 0 %1 %2").arg(name, second),
                                    QStringLiteral("grant --user 0 %1 %2").arg(name, first),
                                    QStringLiteral("grant --user 0 %1 %2").arg(name, denied)})
        EXPECT_EQ(commands.count(QStringLiteral("pm ") + expected), 1)
            << expected.toStdString() << " among " << commands.join(QStringLiteral(" | ")).toStdString();
}

} // namespace
