#include "core/ListModelAdapter.h"
#include "core/Observable.h"
#include "core/PublishedList.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QString>
#include <gtest/gtest.h>

#include <memory>

namespace {

struct Model : Observable {
    Published<int> a{this, 0};
    Published<QString> b{this};
    PublishedList<QString> rows{this};
    int plain = 0;
};

static_assert(PublishedProperty<Published<int>>);
static_assert(PublishedProperty<PublishedList<QString>>);
// Following a plain member is a compile error, not a handler that never runs.
static_assert(!PublishedProperty<int>);
static_assert(!PublishedProperty<QString>);

TEST(Observation, AHandlerRunsForItsOwnPropertyOnlyAndOnlyOnRealChanges)
{
    Model m;
    QObject receiver;
    int aCalls = 0, bCalls = 0;
    m.observe(m.a, &receiver, [&] { ++aCalls; });
    m.observe(m.b, &receiver, [&] { ++bCalls; });

    m.b.set(QStringLiteral("x"));
    m.b.set(QStringLiteral("x")); // equal: no notification
    m.a.set(1);
    m.a.mutate([](int &v) { ++v; });
    EXPECT_EQ(aCalls, 2);
    EXPECT_EQ(bCalls, 1);
}

TEST(Observation, ReceiversThatGoAwayAreNeitherCalledNorKept)
{
    Model m;
    int calls = 0;
    auto first = std::make_unique<QObject>();
    auto second = std::make_unique<QObject>();
    QObject *secondPtr = second.get();
    // The first handler destroys the second receiver during the same round.
    m.observe(m.a, first.get(), [&] {
        ++calls;
        second.reset();
    });
    m.observe(m.a, secondPtr, [&] { calls += 100; });
    EXPECT_EQ(m.observerCount(&m.a), 2);

    m.a.set(1);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(m.observerCount(&m.a), 1);

    first.reset();
    m.a.set(2);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(m.observerCount(&m.a), 0);
}

TEST(Observation, AHandlerMayAddObserversWhileARoundRuns)
{
    Model m;
    QObject receiver;
    int late = 0;
    m.observe(m.a, &receiver, [&] { m.observe(m.a, &receiver, [&] { ++late; }); });
    m.a.set(1); // the new observer joins the next round, not this one
    EXPECT_EQ(late, 0);
    m.a.set(2);
    EXPECT_EQ(late, 1);
}

// A list model over the rows, under Qt's own checker.
struct Shown {
    Model m;
    ListModelAdapter<QString> adapter{m.rows, [](const QString &row, int, int role) {
                                          return role == Qt::DisplayRole ? QVariant(row) : QVariant();
                                      }};
    QAbstractItemModelTester tester{&adapter, QAbstractItemModelTester::FailureReportingMode::Fatal};
    QSignalSpy resets{&adapter, &QAbstractItemModel::modelReset};
    QSignalSpy inserted{&adapter, &QAbstractItemModel::rowsInserted};
    QSignalSpy removed{&adapter, &QAbstractItemModel::rowsRemoved};
    QSignalSpy edited{&adapter, &QAbstractItemModel::dataChanged};

    QStringList shown() const
    {
        QStringList out;
        for (int r = 0; r < adapter.rowCount(); ++r)
            out << adapter.index(r, 0).data().toString();
        return out;
    }
};

QList<QString> numbered(int from, int count)
{
    QList<QString> out;
    for (int i = from; i < from + count; ++i)
        out << QString::number(i);
    return out;
}

TEST(ListModelAdapter, AppendsAtTheCapTrimTheFrontWithoutAReset)
{
    Shown s;
    s.m.rows.append(numbered(0, 3), 5);
    s.m.rows.append(numbered(3, 4), 5); // 7 rows for a cap of 5: the two oldest go
    EXPECT_EQ(s.shown(), numbered(2, 5));
    EXPECT_EQ(s.resets.count(), 0);
    ASSERT_EQ(s.removed.count(), 1);
    EXPECT_EQ(s.removed[0][1].toInt(), 0);
    EXPECT_EQ(s.removed[0][2].toInt(), 1);
    ASSERT_EQ(s.inserted.count(), 2);
    EXPECT_EQ(s.inserted[1][1].toInt(), 1);
    EXPECT_EQ(s.inserted[1][2].toInt(), 4);
}

TEST(ListModelAdapter, EachKindOfChangeSignalsWhatChanged)
{
    Shown s;
    s.m.rows.set(numbered(0, 4));
    EXPECT_EQ(s.resets.count(), 1);

    s.m.rows.edit(2, [](QString &row) { row = QStringLiteral("two"); });
    ASSERT_EQ(s.edited.count(), 1);
    EXPECT_EQ(s.edited[0][0].toModelIndex().row(), 2);
    EXPECT_EQ(s.shown(), (QStringList{"0", "1", "two", "3"}));

    // A batch that alone fills the cap is a new list.
    s.m.rows.append(numbered(10, 6), 3);
    EXPECT_EQ(s.resets.count(), 2);
    EXPECT_EQ(s.shown(), numbered(13, 3));

    s.m.rows.set(numbered(13, 3)); // equal: nothing
    EXPECT_EQ(s.resets.count(), 2);
    s.m.rows.append(QList<QString>{}, 3);
    EXPECT_EQ(s.inserted.count(), 0);
}

TEST(ListModelAdapter, ObserversOfTheListHearEveryChangeAfterTheRows)
{
    Shown s;
    QObject receiver;
    QList<int> counts;
    s.m.observe(s.m.rows, &receiver, [&] { counts << s.adapter.rowCount(); });
    s.m.rows.append(numbered(0, 2), 3);
    s.m.rows.append(numbered(2, 2), 3);
    s.m.rows.edit(0, [](QString &row) { row += QLatin1Char('!'); });
    EXPECT_EQ(counts, (QList<int>{2, 3, 3}));
}

TEST(ListModelAdapter, AListDestroyedFirstLeavesAnEmptyModel)
{
    auto m = std::make_unique<Model>();
    m->rows.set(numbered(0, 3));
    ListModelAdapter<QString> adapter(m->rows, [](const QString &row, int, int role) {
        return role == Qt::DisplayRole ? QVariant(row) : QVariant();
    });
    QAbstractItemModelTester tester(&adapter, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(adapter.rowCount(), 3);
    m.reset();
    EXPECT_EQ(adapter.rowCount(), 0);
}

} // namespace
