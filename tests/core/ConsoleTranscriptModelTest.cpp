#include "core/ConsoleTranscript.h"
#include "core/ConsoleTranscriptModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

struct Transcript {
    Observable owner;
    PublishedList<ConsoleEntry> entries{&owner};
    ConsoleTranscriptModel model{entries};
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};

    void add(const QString &text, qsizetype cap = 5, ConsoleEntryKind kind = ConsoleEntryKind::standardOutput)
    {
        appendConsoleEntry(entries, kind, text, QDateTime::currentDateTime(), cap);
    }
    QStringList shown() const
    {
        QStringList texts;
        for (int row = 0; row < model.rowCount(); ++row)
            texts << model.index(row).data().toString();
        return texts;
    }
};

// Counts what a view hears: at the cap an append is one removal and one insertion, never a reset.
struct Signals {
    QSignalSpy resets, removed, inserted;
    explicit Signals(ConsoleTranscriptModel &model)
        : resets(&model, &QAbstractItemModel::modelReset), removed(&model, &QAbstractItemModel::rowsRemoved),
          inserted(&model, &QAbstractItemModel::rowsInserted) {}
};

TEST(ConsoleTranscriptModel, AppendsAtTheCapMoveRowsWithoutResets)
{
    Transcript t;
    for (int i = 0; i < 5; ++i)
        t.add(QStringLiteral("line %1").arg(i));
    Signals s(t.model);
    t.add(QStringLiteral("line 5"));
    t.add(QStringLiteral("line 6"));
    EXPECT_EQ(s.resets.count(), 0);
    ASSERT_EQ(s.removed.count(), 2);
    EXPECT_EQ(s.removed[0][1].toInt(), 0);
    EXPECT_EQ(s.removed[0][2].toInt(), 0);
    ASSERT_EQ(s.inserted.count(), 2);
    EXPECT_EQ(s.inserted[1][1].toInt(), 4);
    EXPECT_EQ(t.shown(), (QStringList{QStringLiteral("line 2"), QStringLiteral("line 3"), QStringLiteral("line 4"),
                                      QStringLiteral("line 5"), QStringLiteral("line 6")}));
    // Colour codes are gone before the row exists; a chunk of nothing but codes adds no row.
    t.add(QStringLiteral("\x1b[31mred\x1b[0m"));
    t.add(QStringLiteral("\x1b[0m"));
    EXPECT_EQ(t.shown().last(), QStringLiteral("red"));
    EXPECT_EQ(s.inserted.count(), 3);
}

TEST(ConsoleTranscriptModel, FilteredRowsFollowTheTranscriptRowByRow)
{
    Transcript t;
    for (const char *text : {"boot ok", "ERROR one", "idle", "error two", "idle"})
        t.add(QString::fromUtf8(text));
    t.model.setSearchText(QStringLiteral("  Error \n"));
    EXPECT_EQ(t.model.filterText(), QStringLiteral("Error"));
    EXPECT_EQ(t.model.highlightText(), QStringLiteral("Error \n")); // spaces and tabs only
    EXPECT_EQ(t.shown(), (QStringList{QStringLiteral("ERROR one"), QStringLiteral("error two")}));
    EXPECT_EQ(t.model.matchCount(), 2);

    Signals s(t.model);
    t.add(QStringLiteral("idle"));        // trims "boot ok": no matching row moves
    t.add(QStringLiteral("new error"));   // trims "ERROR one", adds a match
    t.add(QStringLiteral("idle"));        // trims "idle"
    t.add(QStringLiteral("idle"));        // trims "error two"
    EXPECT_EQ(s.resets.count(), 0);
    EXPECT_EQ(s.removed.count(), 2);
    EXPECT_EQ(s.inserted.count(), 1);
    EXPECT_EQ(t.shown(), (QStringList{QStringLiteral("new error")}));
    EXPECT_EQ(t.model.matchCount(), 1);

    // Blank search: everything, and nothing counted.
    t.model.setSearchText(QStringLiteral(" \t"));
    EXPECT_EQ(t.model.rowCount(), 5);
    EXPECT_EQ(t.model.matchCount(), 0);
    EXPECT_FALSE(t.model.isFiltering());
}

TEST(ConsoleTranscriptModel, ClearingIsOneResetAndRowsSpeakTheirKind)
{
    Transcript t;
    t.add(QStringLiteral("shell $ ls"), 5, ConsoleEntryKind::command);
    t.add(QStringLiteral("denied"), 5, ConsoleEntryKind::standardError);
    EXPECT_EQ(t.model.index(0).data(Qt::AccessibleTextRole).toString(), QStringLiteral("Команда: shell $ ls"));
    EXPECT_EQ(t.model.index(1).data(Qt::AccessibleTextRole).toString(), QStringLiteral("Ошибка: denied"));
    EXPECT_EQ(t.model.index(1).data(ConsoleTranscriptModel::KindRole).toInt(), int(ConsoleEntryKind::standardError));
    t.model.setSearchText(QStringLiteral("ls"));
    Signals s(t.model);
    t.entries.set({});
    EXPECT_EQ(s.resets.count(), 1);
    EXPECT_EQ(t.model.rowCount(), 0);
    t.add(QStringLiteral("ls again"));
    EXPECT_EQ(t.shown(), QStringList{QStringLiteral("ls again")});
}

} // namespace
