// An idle main window costs nothing: no repaint while nothing it shows changes, even while the
// device monitor polls, and a shown animation repaints only its own rectangle.
#include "shell/MainWindow.h"
#include "shell/RootView.h"
#include "shell/SidebarView.h"

#include "core/AppModel.h"
#include "core/AppSettings.h"
#include "design/Accessibility.h"
#include "design/Labels.h"
#include "design/Theme.h"

#include "FakeTool.h"
#include "TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

// Every paint event of the application, in the coordinates of its window.
struct PaintRecorder : QObject {
    struct Paint {
        QString widget;
        QRect rect;
    };
    QList<Paint> paints;
    PaintRecorder() { qApp->installEventFilter(this); }
    ~PaintRecorder() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            // One pass may cover several small areas of the window: each is recorded.
            auto *w = static_cast<QWidget *>(watched);
            for (const QRect &r : static_cast<QPaintEvent *>(event)->region())
                paints.append({QString::fromLatin1(w->metaObject()->className()),
                               QRect(w->mapTo(w->window(), r.topLeft()), r.size())});
        }
        return false;
    }
};

// The application's own model with the monitor polling the fake adb every 50 ms.
struct PollingShell {
    FakeTool fake;
    TempSettings store;
    std::unique_ptr<AppSettings> settings;
    std::unique_ptr<AppModel> model;

    explicit PollingShell(const QString &listing)
    {
        A11y::resetForTesting(); // motion allowed, as on a desktop that never asked for less
        Theme::apply(ColorScheme::dark, false);
        fake.setDefault({});
        fake.on({QStringLiteral("devices"), QStringLiteral("-l")},
                {.out = QStringLiteral("List of devices attached\n") + listing + QStringLiteral("\n")});
        settings = std::make_unique<AppSettings>(store.settings.get());
        settings->appearance.set(AppearanceMode::dark);
        model = std::make_unique<AppModel>(store.settings.get(), ADBService(fake.adbPath()), true, true,
                                           50'000'000, ToolSearchEnvironment{});
    }
    qsizetype polls() const
    {
        const QStringList listing{QStringLiteral("devices"), QStringLiteral("-l")};
        return fake.calls().count(listing);
    }
    // Start-up work is done and the monitor has come back a few times since.
    void settle(QWidget *window)
    {
        ASSERT_TRUE(waitUntil([&] { return window->isVisible() && !model->isBusy() && !model->isSnapshotLoading(); }));
        const qsizetype before = polls();
        ASSERT_TRUE(waitUntil([&] { return polls() >= before + 3; }));
        QApplication::processEvents();
    }
    // At least a second and five polls of the monitor; how long it really was, in milliseconds
    // (a slow or loaded build takes longer for the five).
    qint64 idle()
    {
        QElapsedTimer clock;
        clock.start();
        const qsizetype before = polls();
        EXPECT_TRUE(waitUntil([&] { return clock.elapsed() >= 1000 && polls() >= before + 5; }));
        return clock.elapsed();
    }
};

TEST(IdleCost, AnIdleGateIsNotRepaintedWhileTheMonitorPolls)
{
    PollingShell shell(QString{});
    MainWindow window(shell.model.get(), shell.settings.get(), {});
    window.show();
    shell.settle(&window);
    ASSERT_TRUE(window.root()->isGateShown());

    PaintRecorder recorder;
    shell.idle();
    QStringList painted;
    for (const auto &paint : recorder.paints)
        painted << paint.widget;
    EXPECT_TRUE(recorder.paints.isEmpty()) << painted.join(QLatin1Char(' ')).toStdString();
    A11y::resetForTesting();
}

TEST(IdleCost, AConnectedDeviceRepaintsOnlyItsPulseDots)
{
    PollingShell shell(QStringLiteral("R58N12ABCDE device product:p model:Pixel_7 device:d transport_id:3\n"));
    MainWindow window(shell.model.get(), shell.settings.get(), {});
    window.show();
    shell.settle(&window);
    ASSERT_FALSE(window.root()->isGateShown());
    auto *sidebar = static_cast<SidebarView *>(window.root()->sidebar());
    ASSERT_TRUE(sidebar->stateDot()->isPulsing());
    // The sidebar's card and the device screen each show a live dot.
    const auto liveDotAreas = [&] {
        QList<QRect> areas;
        for (PulseDot *dot : window.findChildren<PulseDot *>())
            if (dot->isVisible() && dot->isPulsing())
                areas << QRect(dot->mapTo(&window, QPoint(0, 0)), dot->size());
        return areas;
    };
    QList<QRect> dotAreas;

    const auto onlyDots = [&](const PaintRecorder &r) {
        return std::all_of(r.paints.begin(), r.paints.end(), [&](const auto &paint) {
            return std::any_of(dotAreas.begin(), dotAreas.end(), [&](const QRect &a) { return a.contains(paint.rect); });
        });
    };
    // The device screen's one-off entrance (its picture sweeping in, its layout taking the
    // device's details) ends first: three polls in a row with the dots in place and nothing but
    // them repainted.
    {
        auto settling = std::make_unique<PaintRecorder>();
        ASSERT_TRUE(waitUntil([&] {
            const qsizetype before = shell.polls();
            dotAreas = liveDotAreas();
            settling = std::make_unique<PaintRecorder>();
            return waitUntil([&] { return shell.polls() >= before + 3; }) && onlyDots(*settling)
                && liveDotAreas() == dotAreas;
        }));
    }
    ASSERT_EQ(dotAreas.size(), 2);

    PaintRecorder recorder;
    const qint64 idleMs = shell.idle();
    int dotFrames = 0;
    for (const auto &paint : recorder.paints) {
        EXPECT_TRUE(std::any_of(dotAreas.begin(), dotAreas.end(), [&](const QRect &a) { return a.contains(paint.rect); }))
            << paint.widget.toStdString() << " " << paint.rect.x() << "," << paint.rect.y() << " " << paint.rect.width() << "x" << paint.rect.height();
        dotFrames += paint.widget == QLatin1String("PulseDot");
    }
    // The ring changes by visible steps a few times a second: the idle time shows some frames and
    // far fewer than a display's sixty a second, judged over the time it really lasted.
    EXPECT_GE(dotFrames, 1);
    EXPECT_LE(dotFrames, 20 * dotAreas.size() * (idleMs + 999) / 1000) << dotFrames << " frames in " << idleMs << " ms";
    A11y::resetForTesting();
}

} // namespace
