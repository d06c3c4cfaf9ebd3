#include "screens/packages/AppIconCache.h"
#include "screens/packages/AppInspectorView.h"
#include "screens/packages/DebloatReviewSheet.h"
#include "screens/packages/DebloatView.h"
#include "screens/packages/PermissionManagerContent.h"
#include "screens/packages/PermissionsView.h"
#include "screenkit/ScreenMemory.h"
#include "design/Tokens.h"

#include "ApplicationsHarness.h"
#include "../shell/ShellHarness.h"

#include <QListView>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// A colour no part of the interface uses, so every pixel of it is the package's own icon.
const QColor kIconColour(255, 0, 255);

bool isIconColour(QRgb pixel)
{
    return qRed(pixel) > 235 && qGreen(pixel) < 20 && qBlue(pixel) > 235;
}

// The pixels of `area` of `widget` (all of it when empty), as painted, in the icon's colour.
int iconPixels(QWidget *widget, const QRect &area = {})
{
    const QImage image = widget->grab(area.isEmpty() ? widget->rect() : area).toImage().convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            count += isIconColour(line[x]) ? 1 : 0;
    }
    return count;
}

// Every place that shows a package draws its own icon when the Applications screen can: a system
// package the debloat catalogue lists and a user package the permission picker lists, both with
// icon bytes, shown where each place shows one of them, at that place's size.
TEST(PackageIconPlaces, EveryPackageScreenDrawsTheIconTheApplicationsRowDraws)
{
    AppIconCache::shared().reset();
    ShellHarness h;
    h.connect(QStringLiteral("device"), kSerial);
    const AndroidPackage system = package(QStringLiteral("com.vendor.analytics"), QStringLiteral("Аналитика"),
                                          PackageKind::system, PackageState::enabled, 50'000'000,
                                          pngBytes(kIconColour));
    const AndroidPackage user = package(QStringLiteral("com.example.camera"), QStringLiteral("Камера"),
                                        PackageKind::user, PackageState::enabled, 2'000'000, pngBytes(kIconColour));
    h->packages.set({system, user});
    h->debloatRiskFilter.set({});
    h->debloatSelection.set({system.name});

    ScreenMemory memory;
    QWidget window;
    window.resize(1000, 760);
    window.show();
    const auto place = [&](QWidget *screen) {
        screen->setParent(&window);
        screen->setGeometry(window.rect());
        screen->show();
        settle();
        return screen;
    };

    const struct Case {
        const char *place;
        int side;
        std::function<QWidget *()> show; // the widget whose painting shows the icon
        QString row;                     // in a list: the row of this package
    } cases[] = {
        {"debloat row", 26,
         [&]() -> QWidget * {
             return place(new DebloatView(h.model.get(), &memory))->findChild<QListView *>(QStringLiteral("debloatList"));
         },
         system.displayName},
        {"debloat review row", 24,
         [&]() -> QWidget * {
             auto *sheet = new DebloatReviewSheet(h.model.get(), &window);
             sheet->open();
             settle();
             return sheet->itemList();
         },
         system.displayName},
        {"permission picker row", 26,
         [&]() -> QWidget * {
             return place(new PermissionsView(h.model.get(), &memory))
                 ->findChild<QListView *>(QStringLiteral("packagePicker"));
         },
         user.displayName},
        {"permission manager header", 44,
         [&]() -> QWidget * {
             return place(new PermissionManagerContent(h.model.get(), user, true))
                 ->findChild<QWidget *>(QStringLiteral("permissionHeader"));
         },
         {}},
    };
    for (const Case &c : cases) {
        QWidget *shown = c.show();
        ASSERT_TRUE(shown) << c.place;
        int pixels = 0;
        if (auto *list = qobject_cast<QListView *>(shown)) {
            QModelIndex index;
            for (int r = 0; r < list->model()->rowCount(); ++r)
                if (list->model()->index(r, 0).data().toString() == c.row)
                    index = list->model()->index(r, 0);
            ASSERT_TRUE(index.isValid()) << c.place;
            list->scrollTo(index);
            pixels = iconPixels(list->viewport(), list->visualRect(index));
        } else {
            pixels = iconPixels(shown);
        }
        // The whole square in the icon's colour: the image, not the kind tile, at the place's size.
        const int square = c.side * c.side;
        EXPECT_GE(pixels, square * 9 / 10) << c.place;
        EXPECT_LE(pixels, square * 11 / 10) << c.place;
        qDeleteAll(window.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly));
        settle();
    }
    AppIconCache::shared().reset();
}

// The columns of `widget`, as painted, that hold the icon's colour, from the left.
QList<int> iconColumns(QWidget *widget)
{
    const QImage image = widget->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    QList<int> columns;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (isIconColour(image.pixel(x, y))) {
                columns << x;
                break;
            }
    return columns;
}

// The headers of the inspector and of the permission manager sheet: the icon stands Space::m
// before the package's title, as the row's spacing says.
TEST(PackageIconPlaces, TheHeaderIconStandsTheRowsSpacingBeforeTheTitle)
{
    const AndroidPackage camera = package(QStringLiteral("com.example.camera"), QStringLiteral("Камера"),
                                          PackageKind::user, PackageState::enabled, 2'000'000, pngBytes(kIconColour));
    AppsHarness h({camera});
    h.model->showInspector(camera.name);
    settle();
    ScreenMemory memory;
    QWidget window;
    window.resize(1000, 760);
    window.show();

    const struct Case {
        const char *place;
        int side;
        std::function<QWidget *()> row; // the row that draws the icon
        QString title;                  // its title's object name
    } cases[] = {
        {"inspector", 56, [&]() -> QWidget * { return h.view->inspector()->findChild<QWidget *>(QStringLiteral("identityRow")); },
         QStringLiteral("inspectorTitle")},
        {"permission manager sheet", 44,
         [&]() -> QWidget * {
             auto *manager = new PermissionManagerContent(h.model.get(), camera, true, &window);
             manager->setGeometry(window.rect());
             manager->show();
             settle();
             return manager->findChild<QWidget *>(QStringLiteral("permissionHeader"));
         },
         QStringLiteral("permissionPackageTitle")},
    };
    for (const Case &c : cases) {
        QWidget *row = c.row();
        ASSERT_TRUE(row) << c.place;
        auto *title = row->findChild<QWidget *>(c.title);
        ASSERT_TRUE(title) << c.place;
        const QList<int> columns = iconColumns(row);
        ASSERT_FALSE(columns.isEmpty()) << c.place;
        EXPECT_NEAR(columns.size(), c.side, 1) << c.place;
        const int iconEnd = columns.last() + 1;
        EXPECT_EQ(title->mapTo(row, QPoint(0, 0)).x() - iconEnd, int(Space::m)) << c.place;
    }
    AppIconCache::shared().reset();
}

} // namespace
