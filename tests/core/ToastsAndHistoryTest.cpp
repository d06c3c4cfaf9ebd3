#include "ModelHarness.h"

#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

TEST(Toasts, TitleOnlyIsASuccessWithoutDetail)
{
    ModelHarness h;
    h->toast(QStringLiteral("Готово"));
    ASSERT_EQ(h->toasts().size(), 1);
    const ToastMessage &t = h->toasts().first();
    EXPECT_EQ(t.icon, QStringLiteral("checkmark.circle.fill"));
    EXPECT_EQ(t.tone, Tone::success);
    EXPECT_EQ(t.detail, std::nullopt);
    EXPECT_FALSE(t.id.isNull());
}

TEST(Toasts, LastFourSecondsUnlessShortened)
{
    TempSettings settings;
    const AppModel model(settings.settings.get(), std::nullopt, false, false,
                         AppModel::defaultDeviceMonitorIntervalNanoseconds, ToolSearchEnvironment{});
    EXPECT_EQ(model.toastLifetime, std::chrono::milliseconds(4000));
}

TEST(Toasts, EachLeavesOnItsOwnClock)
{
    ModelHarness h;
    h->toastLifetime = 400ms;
    QElapsedTimer clock;
    clock.start();
    QList<std::pair<qint64, QList<QUuid>>> changes; // when, and which toasts were left
    QObject receiver;
    h->observe(h->toasts, &receiver, [&] {
        QList<QUuid> ids;
        for (const ToastMessage &t : h->toasts())
            ids << t.id;
        changes.append({clock.elapsed(), ids});
    });
    h->toast(QStringLiteral("Same"), QStringLiteral("d"));
    // The second arrives later, posted from the event loop as a workflow's would be.
    qint64 secondShown = -1;
    qsizetype shownTogether = 0;
    QTimer::singleShot(200, &receiver, [&] {
        secondShown = clock.elapsed();
        h->toast(QStringLiteral("Same"), QStringLiteral("d"));
        shownTogether = h->toasts().size();
    });
    ASSERT_TRUE(waitUntil([&] { return secondShown >= 0 && h->toasts().isEmpty(); }));
    ASSERT_EQ(shownTogether, 2);
    ASSERT_GE(changes.size(), 2);
    ASSERT_EQ(changes[1].second.size(), 2);
    const QUuid first = changes[1].second[0];
    const QUuid second = changes[1].second[1];
    EXPECT_NE(first, second);

    ASSERT_EQ(changes.size(), 4); // two shown, two removed one by one
    EXPECT_GE(changes[2].first, 400);
    EXPECT_EQ(changes[2].second, QList<QUuid>{second});
    EXPECT_GE(changes[3].first, secondShown + 400);
    EXPECT_TRUE(changes[3].second.isEmpty());
}

TEST(Toasts, DismissRemovesAtOnceAndUnknownIdsAreIgnored)
{
    ModelHarness h;
    h->toastLifetime = 300ms;
    h->toast(QStringLiteral("a"));
    h->toast(QStringLiteral("b"));
    h->toast(QStringLiteral("c"));
    const QUuid middle = h->toasts()[1].id;
    h->dismissToast(middle);
    ASSERT_EQ(h->toasts().size(), 2);
    EXPECT_EQ(h->toasts()[0].title, QStringLiteral("a"));
    EXPECT_EQ(h->toasts()[1].title, QStringLiteral("c"));

    int notifications = 0;
    QObject receiver;
    h->observe(h->toasts, &receiver, [&] { ++notifications; });
    h->dismissToast(QUuid::createUuid());
    h->dismissToast(middle);
    EXPECT_EQ(h->toasts().size(), 2);
    EXPECT_EQ(notifications, 0);
    ASSERT_TRUE(waitUntil([&] { return h->toasts().isEmpty(); }));
}

TEST(Toasts, ReleasedModelLeavesNoTimerBehind)
{
    auto h = std::make_unique<ModelHarness>();
    (*h)->toastLifetime = 50ms;
    (*h)->toast(QStringLiteral("x"));
    h.reset();
    // The next model (the next window) shows its own toast for its whole life: the released
    // model's timer, due meanwhile, takes nothing of it.
    ModelHarness next;
    next->toastLifetime = 300ms;
    next->toast(QStringLiteral("y"));
    // Timers fire in the order they are due: this one after the stray one, before the toast's own.
    bool later = false;
    QStringList shownThen;
    QTimer::singleShot(100, Qt::PreciseTimer, [&] {
        for (const ToastMessage &t : next->toasts())
            shownThen << t.title;
        later = true;
    });
    ASSERT_TRUE(waitUntil([&] { return later; }));
    EXPECT_EQ(shownThen, QStringList{QStringLiteral("y")});
    EXPECT_TRUE(waitUntil([&] { return next->toasts().isEmpty(); }));
}

TEST(History, KeepsTheFortyNewestNewestFirst)
{
    ModelHarness h;
    for (int i = 0; i < 45; ++i)
        h->record(QStringLiteral("op %1").arg(i), QStringLiteral("detail"), true);
    ASSERT_EQ(h->recentOperations().size(), 40);
    EXPECT_EQ(h->recentOperations().first().title, QStringLiteral("op 44"));
    EXPECT_EQ(h->recentOperations().last().title, QStringLiteral("op 5"));
    EXPECT_EQ(h->toasts().size(), 45);
}

TEST(History, RecordShowsTheMatchingToast)
{
    struct Case {
        bool succeeded;
        QString icon;
        Tone tone;
    };
    const Case cases[] = {
        {true, QStringLiteral("checkmark.circle.fill"), Tone::success},
        {false, QStringLiteral("exclamationmark.triangle.fill"), Tone::warning},
    };
    for (const Case &c : cases) {
        ModelHarness h;
        const QDateTime before = QDateTime::currentDateTime();
        h->record(QStringLiteral("Отключение"), QString(), c.succeeded);
        const OperationRecord &r = h->recentOperations().first();
        EXPECT_EQ(r.title, QStringLiteral("Отключение"));
        EXPECT_EQ(r.succeeded, c.succeeded);
        EXPECT_GE(r.date, before);
        const ToastMessage &t = h->toasts().first();
        EXPECT_EQ(t.title, QStringLiteral("Отключение"));
        EXPECT_EQ(t.icon, c.icon);
        EXPECT_EQ(t.tone, c.tone);
        EXPECT_EQ(t.detail, QString()); // present, even when empty
    }
}

} // namespace
