// Writes the permission manager with fixed and granted rows, inline on the Permissions screen
// and in its sheet, and the picker, in both schemes and both size classes, as PNG files under
// <build>/screenshots/permissions.
#include "screens/packages/PermissionManagerContent.h"
#include "screens/packages/PermissionManagerSheet.h"
#include "screens/packages/PermissionsView.h"
#include "screenkit/ScreenMemory.h"

#include "design/Theme.h"

#include "../shell/ShellHarness.h"
#include "ScreenTestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

const QString kDevice = QStringLiteral("R58N12ABCDE");
const QString kApp = QStringLiteral("com.example.camera");

AndroidPackage pkg(const QString &name, const QString &label, PackageKind kind)
{
    return AndroidPackage(name, QStringLiteral("/data/app/base.apk"), kind,
                          PackageMetadata{name, label, 1000, std::nullopt}, PackageState::enabled);
}

const QString kList = QStringLiteral(
    "Packages:\n  Package [com.example.camera]:\n    User 0: installed=true\n      runtime permissions:\n"
    "        android.permission.ACCESS_FINE_LOCATION: granted=false\n"
    "        android.permission.CAMERA: granted=true, flags=[ USER_SET ]\n"
    "        android.permission.POST_NOTIFICATIONS: granted=true, flags=[ SYSTEM_FIXED|GRANTED_BY_DEFAULT ]\n"
    "        android.permission.READ_CONTACTS: granted=false\n"
    "        android.permission.RECORD_AUDIO: granted=true, flags=[ USER_SET ]\n"
    "        android.permission.SEND_SMS: granted=false, flags=[ POLICY_FIXED ]\n"
    "    disabledComponents:\n");

TEST(PermissionsScreenshots, PickerManagerAndSheet)
{
    for (const auto &[scheme, schemeName] : kSchemes) {
        for (const auto &[width, sizeName] : {std::pair{1180, "wide"}, std::pair{760, "compact"}}) {
            const QString suffix = QStringLiteral("-%1-%2").arg(QString::fromUtf8(sizeName), QString::fromUtf8(schemeName));
            ShellHarness h;
            Theme::apply(scheme, false);
            h.connect(QStringLiteral("device"), kDevice);
            settleCommands();
            h->packages.set({pkg(QStringLiteral("com.android.settings"), QStringLiteral("Настройки"), PackageKind::system),
                             pkg(kApp, QStringLiteral("Камера Плюс"), PackageKind::user),
                             pkg(QStringLiteral("org.example.notes"), QStringLiteral("Заметки"), PackageKind::user),
                             pkg(QStringLiteral("ru.bank.client"), QStringLiteral("Банк"), PackageKind::user)});
            ScreenMemory memory;
            QWidget window;
            window.resize(width, 720);
            PermissionsView view(h.model.get(), &memory, &window);
            view.setGeometry(0, 0, width, 720);
            window.show();
            settle();
            EXPECT_EQ(GeometryWalk::seenFaults(&window), QStringList()) << suffix.toStdString();
            const QString dir = shotDir(QStringLiteral("permissions"));
            EXPECT_TRUE(view.grab().save(dir + QStringLiteral("/picker") + suffix + QStringLiteral(".png")));

            h.fake.on({"-s", kDevice, "shell", "dumpsys", "package", kApp}, {.out = kList});
            h->selectedPackageIDs.set({kApp});
            h->openPermissionManager();
            ASSERT_TRUE(waitUntil([&] { return !h->isPermissionBusy(); }));
            h->selectedPermissionIDs.set({QStringLiteral("android.permission.CAMERA"),
                                          QStringLiteral("android.permission.READ_CONTACTS")});
            settle();
            ASSERT_TRUE(view.manager());
            EXPECT_EQ(GeometryWalk::seenFaults(&window), QStringList()) << suffix.toStdString();
            EXPECT_TRUE(view.grab().save(dir + QStringLiteral("/manager-inline") + suffix + QStringLiteral(".png")));

            auto *sheet = new PermissionManagerSheet(h.model.get(), *h->permissionPackage(), &window);
            sheet->open();
            settle();
            EXPECT_EQ(GeometryWalk::seenFaults(sheet), QStringList()) << suffix.toStdString();
            EXPECT_TRUE(sheet->grab().save(dir + QStringLiteral("/manager-sheet") + suffix + QStringLiteral(".png")));
            sheet->close();
            Theme::apply(ColorScheme::dark, false);
        }
    }
}

} // namespace
