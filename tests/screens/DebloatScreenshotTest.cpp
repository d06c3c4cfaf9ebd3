// Writes the Debloat screen with a plan and its review sheet with risky packages, in both
// schemes and both size classes, as PNG files under <build>/screenshots/debloat.
#include "screens/packages/DebloatPlanBar.h"
#include "screens/packages/DebloatReviewSheet.h"
#include "screens/packages/PaddedListView.h"
#include "screens/packages/RiskLegend.h"

#include "design/Theme.h"

#include "DebloatHarness.h"
#include "ScreenTestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace debloat_test;

namespace {

TEST(DebloatScreenshots, ListWithPlanAndReviewSheet)
{
    for (const auto &[scheme, schemeName] : kSchemes) {
        for (const auto &[width, sizeName] : {std::pair{1180, "wide"}, std::pair{760, "compact"}}) {
            const QString suffix = QStringLiteral("-%1-%2").arg(QString::fromUtf8(sizeName), QString::fromUtf8(schemeName));
            ShellHarness h;
            Theme::apply(scheme, false);
            h.connect(QStringLiteral("device"), kDevice);
            h->packages.set(catalogue());
            h->debloatRiskFilter.set({});
            h->debloatSelection.set({"com.vendor.analytics", "com.maker.mystery", "com.android.nfc",
                                     "com.android.settings", "com.android.bluetooth", "com.android.documentsui",
                                     "com.android.keychain"});
            ScreenMemory memory;
            // Inside a window as the shell holds it: the window's size, not the screen's wish.
            QWidget window;
            window.resize(width, 820);
            DebloatView view(h.model.get(), &memory, &window);
            view.setGeometry(0, 0, width, 820);
            window.show();
            settle();
            EXPECT_FALSE(view.planBar()->isHidden());
            EXPECT_EQ(GeometryWalk::seenFaults(&window), QStringList()) << suffix.toStdString();
            const QString dir = shotDir(QStringLiteral("debloat"));
            EXPECT_TRUE(view.grab().save(dir + QStringLiteral("/list-with-plan") + suffix + QStringLiteral(".png")));

            auto *sheet = new DebloatReviewSheet(h.model.get(), &view);
            sheet->open();
            settle();
            EXPECT_EQ(GeometryWalk::seenFaults(sheet), QStringList()) << suffix.toStdString();
            EXPECT_TRUE(sheet->grab().save(dir + QStringLiteral("/review-critical") + suffix + QStringLiteral(".png")));

            // Uninstalling a user app beside the system packages: the longer explanation still fits.
            h->debloatAction.set(PresetAction::uninstall);
            h->debloatSelection.mutate([](QSet<QString> &s) { s.insert(QStringLiteral("com.user.game")); });
            settle();
            EXPECT_EQ(GeometryWalk::seenFaults(sheet), QStringList()) << suffix.toStdString();
            EXPECT_TRUE(sheet->grab().save(dir + QStringLiteral("/review-uninstall-user") + suffix + QStringLiteral(".png")));
            sheet->close();
            Theme::apply(ColorScheme::dark, false);
        }
    }
}

} // namespace
