// Renders the Applications screen in its main states, dark and light, wide and compact, into
// PNG files under <build>/screenshots/applications for a person to look at.
#include "screens/packages/AppInspectorView.h"
#include "screens/packages/PackageListPane.h"

#include "design/DeckSizeReader.h"
#include "design/Ink.h"
#include "design/Theme.h"

#include "ApplicationsHarness.h"
#include "ScreenTestSupport.h"

#include <QDir>
#include <QPainter>
#include <QSplitter>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

// 300 packages of every kind, state and size, some with icons.
QList<AndroidPackage> catalogue()
{
    static const char16_t *labels[] = {u"Камера", u"Галерея", u"Заметки", u"Погода", u"Music", u"Files", u"Browser",
                                       u"Карты", u"Часы", u"Mail", u"Сообщения", u"Shop", u"Калькулятор", u"Контакты"};
    static const QColor colours[] = {QColor(0xE5, 0x48, 0x4D), QColor(0x30, 0xA4, 0x6C), QColor(0x3E, 0x63, 0xDD),
                                     QColor(0xF5, 0xA6, 0x23), QColor(0x8E, 0x4E, 0xC6)};
    QList<QByteArray> icons;
    for (const QColor &c : colours) {
        QImage image(112, 112, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(c);
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(QRectF(4, 4, 104, 104), 26, 26);
        p.setBrush(QColor(255, 255, 255, 200));
        p.drawEllipse(QRectF(34, 34, 44, 44));
        p.end();
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        icons << bytes;
    }
    static const char *vendors[] = {"com.android.", "com.google.android.", "com.miui.", "org.example.", "ru.bank."};
    QList<AndroidPackage> list;
    for (int i = 0; i < 300; ++i) {
        const QString name = QString::fromLatin1(vendors[i % 5]) + QStringLiteral("app%1").arg(i);
        const QString label = QString::fromUtf16(labels[i % 14]) + (i >= 14 ? QStringLiteral(" %1").arg(i) : QString());
        const PackageState state = i % 9 == 4 ? PackageState::disabled
            : i % 13 == 6                     ? PackageState::removedForUser
                                              : PackageState::enabled;
        const std::optional<qint64> size = i % 11 == 3 ? std::nullopt : std::optional<qint64>(qint64(i) * 397'001 % 90'000'000);
        list << package(name, label, i % 3 == 0 ? PackageKind::user : PackageKind::system, state, size,
                        i % 4 == 1 ? std::nullopt : std::optional(icons[i % 5]));
    }
    list << package(QStringLiteral("com.android.systemui"), QStringLiteral("System UI"), PackageKind::system,
                    PackageState::enabled, 24'000'000, icons[2]);
    return list;
}

struct Shot {
    std::unique_ptr<AppsHarness> h;
    std::unique_ptr<Canvas> canvas;
    DeckSizeReader *reader;

    Shot(ColorScheme scheme, const QList<AndroidPackage> &packages, QSize size)
    {
        h = std::make_unique<AppsHarness>(packages, QSize(10, 10));
        Theme::apply(scheme, false); // after the harness, which starts dark
        h->window->hide();
        h->view->setParent(nullptr);
        reader = new DeckSizeReader(h->view);
        canvas = std::make_unique<Canvas>(reader);
        canvas->resize(size);
        canvas->show();
        settle();
    }
    void save(const QString &name)
    {
        settle();
        // Icons of large pictures and coalesced updates have landed.
        EXPECT_EQ(GeometryWalk::seenFaults(canvas.get()), QStringList()) << name.toStdString();
        ASSERT_TRUE(canvas->grab().save(shotDir(QStringLiteral("applications")) + QLatin1Char('/') + name + QStringLiteral(".png")));
    }
};

TEST(ApplicationsScreenshots, MainStates)
{
    for (const Scheme &s : kSchemes) {
        const QString suffix = QLatin1Char('-') + QLatin1String(s.name);
        {
            Shot empty(s.scheme, {}, QSize(1180, 760));
            empty.save(QStringLiteral("empty") + suffix);
        }
        {
            Shot loading(s.scheme, {}, QSize(1180, 760));
            BusyLedger::Token busy = loading.h->model->beginBusy();
            loading.save(QStringLiteral("loading") + suffix);
            busy.release();
        }
        {
            Shot wide(s.scheme, catalogue(), QSize(1280, 820));
            AppsHarness &h = *wide.h;
            h.fake.onPrefix(S({"-s", "R58N12ABCDE", "shell", "dumpsys", "package"}), {.out = QStringLiteral("Packages:\n")});
            h->selectedPackageIDs.set({QStringLiteral("com.android.systemui")});
            ASSERT_TRUE(waitUntil([&] { return !h->isDetailsLoading(); }));
            PackageDetails d;
            d.packageName = QStringLiteral("com.android.systemui");
            d.versionName = QStringLiteral("14");
            d.versionCode = QStringLiteral("34");
            d.targetSDK = QStringLiteral("34");
            d.minSDK = QStringLiteral("34");
            d.installer = QStringLiteral("null");
            d.firstInstallTime = QStringLiteral("2009-01-01 08:00:00");
            d.lastUpdateTime = QStringLiteral("2024-05-01 12:30:11");
            d.dataDirectory = QStringLiteral("/data/user_de/0/com.android.systemui");
            d.primaryCPUABI = QStringLiteral("arm64-v8a");
            d.apkPaths = {QStringLiteral("/system_ext/priv-app/SystemUI/SystemUI.apk")};
            d.runtimePermissionsGranted = 12;
            d.runtimePermissionsTotal = 19;
            for (int i = 0; i < 57; ++i)
                d.activities << QStringLiteral("com.android.systemui.Activity%1").arg(i);
            d.services = {QStringLiteral("com.android.systemui.SystemUIService"), QStringLiteral("com.android.systemui.ImageWallpaper")};
            h->packageDetails.set(d);
            settle();
            h.view->inspector()->toggleGroup(QStringLiteral("services"));
            // A selection of several, one hidden by the search would not show: select visible rows.
            h->selectedPackageIDs.set({QStringLiteral("com.android.app0"), QStringLiteral("com.google.android.app1"),
                                       QStringLiteral("com.miui.app2"), QStringLiteral("com.android.systemui")});
            wide.save(QStringLiteral("packages-selection-inspector") + suffix);

            // Pinned measures of the wide layout.
            EXPECT_GE(h.view->inspector()->width(), AppInspectorView::kMinimumWidth);
            EXPECT_LE(h.view->inspector()->width(), AppInspectorView::kMaximumWidth);
            EXPECT_GE(h.view->listPane()->width(), 300);
        }
        {
            Shot compact(s.scheme, catalogue(), QSize(640, 760));
            compact.h->settings->density.set(ListDensity::compact);
            compact.h->model->searchText.set(QStringLiteral("а"));
            compact.h->model->selectedPackageIDs.set({QStringLiteral("com.android.app0"), QStringLiteral("com.miui.app2")});
            compact.save(QStringLiteral("compact") + suffix);
            compact.h->settings->density.set(ListDensity::comfortable);
            compact.h->model->searchText.set(QString());
            compact.h->model->selectedPackageIDs.set({});
            compact.save(QStringLiteral("compact-comfortable") + suffix);
            compact.h->fake.onPrefix(S({"-s", "R58N12ABCDE", "shell", "dumpsys", "package"}),
                                     {.out = QStringLiteral("Packages:\n")});
            compact.h->model->selectedPackageIDs.set({QStringLiteral("com.google.android.app1")});
            ASSERT_TRUE(waitUntil([&] { return !compact.h->model->isDetailsLoading(); }));
            compact.save(QStringLiteral("compact-inspector") + suffix);
        }
    }
    Theme::apply(ColorScheme::dark, false);
}

} // namespace
