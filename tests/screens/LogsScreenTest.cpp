#include "screens/device/ActivityLogView.h"
#include "screens/device/LogRowDelegate.h"
#include "screens/device/LogRowsModel.h"
#include "screens/device/LogStreamView.h"
#include "screens/device/LogsScreen.h"

#include "core/LogcatModel.h"
#include "design/DeckButton.h"
#include "design/DeckEmptyState.h"
#include "design/DeckCheckbox.h"
#include "design/DeckSearchField.h"
#include "design/DeckSegmented.h"
#include "design/DeckText.h"
#include "design/FilterChip.h"
#include "design/FlowLayout.h"
#include "design/FocusRing.h"
#include "design/Hairline.h"
#include "design/Labels.h"
#include "design/ScreenHeader.h"
#include "design/Tokens.h"
#include "design/DeckParagraph.h"
#include "design/Typo.h"
#include "screenkit/ScreenMemory.h"

#include "../shell/ShellHarness.h"
#include "../shell/UiTestSupport.h"
#include "FakeDesktop.h"
#include "GeometryWalk.h"
#include "PaintedText.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QMenu>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString u(const char *text) { return QString::fromUtf8(text); }

QString threadtime(int n, char level = 'I', const QString &message = {})
{
    return QStringLiteral("01-02 03:04:05.%1  100  200 %2 Tag: %3\n")
        .arg(n % 1000, 3, 10, QLatin1Char('0'))
        .arg(QLatin1Char(level))
        .arg(message.isEmpty() ? QStringLiteral("message %1").arg(n) : message);
}

QStringList streamArgs(const QString &serial)
{
    return {u("-s"), serial, u("logcat"), u("-v"), u("threadtime")};
}

// A Logs screen over the shell harness, shown offscreen at a given size.
struct LogsFixture {
    ShellHarness h;
    FakeDesktop desktop;
    ScreenMemory memory;
    std::unique_ptr<LogsScreen> screen;

    explicit LogsFixture(QSize size = {1100, 760})
    {
        h->route.set(AppRoute::logs);
        screen = std::make_unique<LogsScreen>(h.model.get(), h.settings.get(), &memory);
        screen->resize(size);
        screen->show();
        settle();
    }
    LogcatModel &logcat() { return *screen->logcat(); }
    void feedLines(int from, int to, char level = 'I')
    {
        QString chunk;
        for (int i = from; i < to; ++i)
            chunk += threadtime(i, level);
        logcat().injectOutput(chunk);
        logcat().flush();
        settle();
    }
};

TEST(LogsScreen, FeedsTheReadyDevicesSerialAndTheBoundedBufferSize)
{
    struct Case {
        const char *name;
        std::optional<QString> state; // none: nothing selected
        qint64 storedBuffer;
        std::optional<QString> serial;
        QString identity;
        qsizetype limit;
    };
    const QList<Case> cases = {
        {"no device", std::nullopt, 5000, std::nullopt, u("-|-"), 5000},
        {"unauthorized", u("unauthorized"), 20000, std::nullopt, u("R1|unauthorized"), 20000},
        {"ready", u("device"), 10000, u("R1"), u("R1|device"), 10000},
        {"stored size too large", u("device"), 1'000'000'000'000, u("R1"), u("R1|device"), 50000},
        {"stored size negative", u("device"), -3, u("R1"), u("R1|device"), 500},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        LogsFixture f;
        f.h.settings->logcatBufferSize.set(c.storedBuffer);
        if (c.state)
            f.h.listDevices({device(u("R1"), *c.state)}, u("R1"));
        else
            f.h.listDevices({});
        settle();
        EXPECT_EQ(f.screen->feedIdentity(), c.identity);
        EXPECT_EQ(f.logcat().serial(), c.serial);
        EXPECT_EQ(f.logcat().bufferLimit(), c.limit);
        EXPECT_EQ(f.screen->streamButton()->isEnabled(), c.serial.has_value());
        EXPECT_EQ(f.screen->clearMenu()->actions().at(1)->isEnabled(), c.serial.has_value());
        EXPECT_FALSE(f.screen->pauseButton()->isEnabled());
        EXPECT_FALSE(f.screen->saveButton()->isEnabled());
        EXPECT_TRUE(f.screen->copyButton()->isEnabled());
        EXPECT_TRUE(f.screen->countsLabel()->text().endsWith(QStringLiteral("буфер %1").arg(c.limit)))
            << f.screen->countsLabel()->text().toStdString();
    }
}

TEST(LogsScreen, ADeviceBecomingReadyEnablesTheStreamAndNothingStartsByItself)
{
    LogsFixture f;
    f.h.listDevices({device(u("R1"), u("unauthorized"))}, u("R1"));
    settle();
    EXPECT_FALSE(f.screen->streamButton()->isEnabled());
    f.h.listDevices({device(u("R1"), u("device"))}, u("R1"));
    settle();
    EXPECT_TRUE(f.screen->streamButton()->isEnabled());
    EXPECT_FALSE(f.logcat().isStreaming());
    EXPECT_TRUE(f.h.fake.calls().isEmpty());
}

TEST(LogsScreen, StreamPauseAndStopShowInTheControls)
{
    LogsFixture f;
    FakeResponse stream;
    stream.out = threadtime(1) + threadtime(2, 'E');
    stream.holdMs = 60000;
    f.h.fake.on(streamArgs(u("R1")), stream);
    f.h.listDevices({device(u("R1"))}, u("R1"));
    settle();

    f.screen->streamButton()->click();
    ASSERT_TRUE(waitUntil([&] { return f.screen->stream()->rows()->rowCount() == 2; }));
    settle();
    EXPECT_EQ(f.screen->streamButton()->text(), u("Остановить"));
    EXPECT_EQ(f.screen->streamButton()->buttonStyle().role, DeckButtonRole::destructive);
    EXPECT_TRUE(f.screen->pauseButton()->isEnabled());
    EXPECT_EQ(f.screen->statusDot()->tone(), Tone::success);
    EXPECT_EQ(f.screen->header()->subtitleLabel()->text(), u("Поток активен"));
    EXPECT_EQ(f.screen->levelChips().at(int(LogLevel::error))->count(), 1);
    EXPECT_EQ(f.screen->levelChips().at(int(LogLevel::warning))->count(), std::nullopt);

    f.screen->pauseButton()->click();
    settle();
    EXPECT_EQ(f.screen->pauseButton()->text(), u("Продолжить"));
    EXPECT_EQ(f.screen->statusLabel()->text(), u("Пауза"));
    EXPECT_EQ(f.screen->header()->subtitleLabel()->text(), u("Поток активен"));
    EXPECT_EQ(f.screen->statusDot()->tone(), Tone::success);

    f.screen->streamButton()->click();
    ASSERT_TRUE(waitUntil([&] { return !f.logcat().isStreaming(); }));
    settle();
    EXPECT_EQ(f.screen->streamButton()->text(), u("Запустить поток"));
    EXPECT_FALSE(f.screen->pauseButton()->isEnabled());
    EXPECT_EQ(f.screen->pauseButton()->text(), u("Продолжить")); // the pause stays for the next stream
    EXPECT_EQ(f.screen->statusLabel()->text(), u("Поток остановлен"));
    EXPECT_EQ(f.screen->statusDot()->tone(), Tone::neutral);
}

TEST(LogsScreen, FiltersCountsAndTheEmptyStates)
{
    LogsFixture f;
    LogStreamView *stream = f.screen->stream();
    ASSERT_NE(stream->emptyState(), nullptr);
    EXPECT_EQ(stream->emptyState()->titleLabel()->text(), u("Поток не запущен"));

    f.feedLines(0, 3, 'D');
    f.feedLines(3, 5, 'E');
    EXPECT_EQ(stream->emptyState(), nullptr);
    EXPECT_EQ(f.screen->countsLabel()->text(), u("Показано 5 из 5 · буфер 5000"));
    EXPECT_FALSE(f.screen->matchCountLabel()->isVisibleTo(f.screen.get()));

    f.screen->levelChips().at(int(LogLevel::warning))->click();
    settle();
    EXPECT_EQ(f.logcat().minimumLevel(), LogLevel::warning);
    int on = 0;
    for (FilterChip *chip : f.screen->levelChips())
        on += chip->isOn();
    EXPECT_EQ(on, 1);
    EXPECT_EQ(f.screen->countsLabel()->text(), u("Показано 2 из 5 · буфер 5000"));

    f.screen->searchField()->setText(u("   "));
    settle();
    EXPECT_TRUE(f.screen->matchCountLabel()->isVisibleTo(f.screen.get())); // shown as typed, though it filters nothing
    EXPECT_EQ(f.screen->matchCountLabel()->text(), u("2"));
    f.screen->searchField()->setText(u("nothing like it"));
    settle();
    EXPECT_EQ(f.screen->matchCountLabel()->text(), u("0"));
    ASSERT_NE(stream->emptyState(), nullptr);
    EXPECT_EQ(stream->emptyState()->titleLabel()->text(), u("Поток не запущен"));
    EXPECT_FALSE(f.screen->saveButton()->isEnabled());
}

// The level chips stay where the pointer aims while the stream counts: a level's first line and
// a count growing from one digit to four move no chip; past four digits the chip widens rather
// than cut the count.
TEST(LogsScreen, LevelChipsKeepTheirPlacesWhileTheCountsAppearAndGrow)
{
    LogsFixture f;
    const auto places = [&] {
        QList<QRect> rects;
        for (const FilterChip *chip : f.screen->levelChips())
            rects << QRect(chip->mapTo(f.screen.get(), QPoint(0, 0)), chip->size());
        return rects;
    };
    const QList<QRect> before = places();
    int next = 0;
    const struct { char level; int count; } steps[] = {
        {'E', 1}, {'D', 9}, {'D', 10}, {'V', 99}, {'V', 100}, {'I', 999}, {'I', 1000}, {'D', 9999},
    };
    for (const auto &step : steps) {
        const LogLevel level = *fromRawValue<LogLevel>(QString(QLatin1Char(step.level)));
        while (f.logcat().counts()[level] < step.count) {
            const int lines = int(std::min<qint64>(2000, step.count - f.logcat().counts()[level]));
            f.feedLines(next, next + lines, step.level);
            next += lines;
        }
        ASSERT_EQ(f.screen->levelChips().at(int(level))->count(), step.count);
        EXPECT_EQ(places(), before) << step.level << " at " << step.count;
    }
    const FilterChip *debug = f.screen->levelChips().at(int(LogLevel::debug));
    f.feedLines(next, next + 1, 'D');
    EXPECT_EQ(debug->count(), 10000);
    EXPECT_GT(debug->width(), before.at(int(LogLevel::debug)).width());
    EXPECT_GE(debug->width(), debug->sizeHint().width());
}

TEST(LogsScreen, RowsAreTheWrappedVisibleLinesWithoutResetsAtTheCap)
{
    LogsFixture f;
    f.h.settings->logcatBufferSize.set(500);
    f.h.listDevices({});
    settle();
    LogRowsModel *rows = f.screen->stream()->rows();
    QAbstractItemModelTester tester(rows, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy resets(rows, &QAbstractItemModel::modelReset);

    const QString longMessage = QString(u("word ")).repeated(200).trimmed();
    QString chunk;
    for (int i = 0; i < 10; ++i)
        chunk += threadtime(i, 'I', i == 4 ? longMessage : QString());
    f.logcat().injectOutput(chunk);
    f.logcat().flush();
    settle();
    const LogRowLayout &layout = rows->layout();
    const int wrapped = layout.rowCount(longMessage);
    EXPECT_GT(wrapped, 2);
    EXPECT_EQ(rows->rowCount(), 9 + wrapped);
    EXPECT_EQ(rows->rowAt(5).line->id, 4);
    EXPECT_EQ(rows->rowAt(5).segment, 1);
    EXPECT_EQ(rows->rowAt(4 + wrapped).line->id, 5);

    for (int batch = 0; batch < 5; ++batch)
        f.feedLines(10 + batch * 200, 10 + (batch + 1) * 200);
    EXPECT_EQ(f.logcat().visibleLines.size(), 500);
    EXPECT_EQ(rows->rowCount(), 500);
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(f.screen->stream()->list()->sizeHintForRow(0), layout.rowHeight());
}

TEST(LogsScreen, FollowsTheNewestLineAlsoWhenTheWindowIsFull)
{
    struct Case {
        const char *name;
        bool autoScroll;
        bool paused;
        QString filter; // typed into the search field in place of new lines arriving
        bool follows;
    };
    // "message 1" keeps lines 1, 10–19 and 100–199: the newest visible line changes.
    const QList<Case> cases = {{"following", true, false, {}, true},
                               {"auto-scroll off", false, false, {}, false},
                               {"a filter typed", true, false, u("message 1"), true},
                               {"paused, then a filter typed", true, true, u("message 1"), false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        LogsFixture f({1100, 600});
        f.h.settings->logcatBufferSize.set(500);
        f.h.listDevices({});
        settle();
        f.feedLines(0, 500);
        QScrollBar *bar = f.screen->stream()->list()->verticalScrollBar();
        ASSERT_GT(bar->maximum(), 0);
        EXPECT_EQ(bar->value(), bar->maximum());
        // The window is full: every later batch trims as many lines as it adds.
        bar->setValue(0);
        DeckCheckbox *autoScroll = f.screen->autoScrollBox();
        ASSERT_TRUE(autoScroll->isChecked());
        if (!c.autoScroll)
            QTest::mouseClick(autoScroll, Qt::LeftButton);
        EXPECT_EQ(autoScroll->isChecked(), c.autoScroll);
        EXPECT_EQ(f.logcat().autoScroll(), c.autoScroll);
        if (c.paused)
            f.logcat().setPaused(true);
        if (c.filter.isEmpty()) {
            f.feedLines(500, 502);
            EXPECT_EQ(f.logcat().visibleLines.size(), 500);
        } else {
            QTest::keyClicks(f.screen->searchField()->lineEdit(), c.filter);
            settle();
            EXPECT_EQ(f.logcat().visibleLines.size(), 111);
            ASSERT_GT(bar->maximum(), 0);
        }
        EXPECT_EQ(bar->value() == bar->maximum(), c.follows) << bar->value() << " of " << bar->maximum();
    }
}

TEST(LogsScreen, CopySaveAndTheClearMenu)
{
    LogsFixture f;
    f.logcat().injectOutput(threadtime(0, 'I', QString(u("long ")).repeated(80)));
    f.feedLines(1, 2);
    ASSERT_GT(f.screen->stream()->rows()->rowCount(), 2);
    f.screen->copyButton()->click();
    EXPECT_EQ(f.desktop.copied.last(), f.logcat().exportText());
    EXPECT_EQ(f.logcat().statusText(), u("Скопировано строк: 2"));

    // Cancelled: nothing written, nothing said.
    f.screen->saveButton()->click();
    ASSERT_EQ(f.desktop.requests.size(), 1);
    EXPECT_EQ(f.desktop.requests.last().title, u("Сохранить логи"));
    EXPECT_TRUE(QRegularExpression(u("^logcat-\\d{8}-\\d{6}\\.log$")).match(f.desktop.requests.last().suggestedName).hasMatch())
        << f.desktop.requests.last().suggestedName.toStdString();
    EXPECT_EQ(f.logcat().statusText(), u("Скопировано строк: 2"));

    QTemporaryDir dir;
    f.desktop.saveAnswer = dir.path() + u("/saved.log");
    f.screen->saveButton()->click();
    ASSERT_TRUE(waitUntil([&] { return f.logcat().statusText() == u("Сохранено строк: 2"); }));
    QFile saved(*f.desktop.saveAnswer);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(saved.readAll()), f.logcat().exportText());

    // Selected rows copy their lines once each, a wrapped line whole: a click on a row in the
    // middle of the long line copies all of that line; a Ctrl+click adds the next line.
    QListView *list = f.screen->stream()->list();
    const QString wrapped = u("01-02 03:04:05.000 100-200 I/Tag: ") + QString(u("long ")).repeated(80).trimmed();
    const QString next = u("01-02 03:04:05.001 100-200 I/Tag: message 1");
    const int lastRow = f.screen->stream()->rows()->rowCount() - 1;
    list->scrollToTop();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(1, 0)).center());
    pressKey(list, Qt::Key_C, u("c"), Qt::ControlModifier);
    EXPECT_EQ(f.desktop.copied.last(), wrapped);
    list->scrollTo(list->model()->index(lastRow, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualRect(list->model()->index(lastRow, 0)).center());
    pressKey(list, Qt::Key_C, u("c"), Qt::ControlModifier);
    EXPECT_EQ(f.desktop.copied.last(), wrapped + u("\n") + next);

    f.screen->clearMenu()->actions().at(0)->trigger(); // "Очистить окно"
    settle();
    EXPECT_EQ(f.screen->clearMenu()->actions().at(0)->text(), u("Очистить окно"));
    EXPECT_TRUE(f.logcat().lines().isEmpty());
    EXPECT_FALSE(f.screen->saveButton()->isEnabled());
}

TEST(LogsScreen, LeavingTheRouteStopsTheStreamARebuildDoesNot)
{
    struct Case {
        const char *name;
        AppRoute routeAfter;
        bool keepsStreaming;
    };
    const QList<Case> cases = {{"theme rebuild", AppRoute::logs, true}, {"another route", AppRoute::settings, false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        LogsFixture f;
        FakeResponse stream;
        stream.out = threadtime(1);
        stream.holdMs = 60000;
        f.h.fake.on(streamArgs(u("R1")), stream);
        f.h.listDevices({device(u("R1"))}, u("R1"));
        settle();
        f.logcat().start();
        ASSERT_TRUE(waitUntil([&] { return f.logcat().lines.size() == 1; }));
        QPointer<LogcatModel> model(&f.logcat());
        f.h->route.set(c.routeAfter);
        f.screen.reset();
        EXPECT_EQ(model->isStreaming() && model->statusText() == u("Поток активен"), c.keepsStreaming);
        // The window's memory still holds the model: a rebuilt screen shows the same lines.
        LogsScreen again(f.h.model.get(), f.h.settings.get(), &f.memory);
        EXPECT_EQ(again.logcat(), model.data());
        EXPECT_EQ(again.stream()->rows()->rowCount(), 1);
        model->stop();
        ASSERT_TRUE(waitUntil([&] { return !model->isStreaming(); }));
    }
}

TEST(LogsScreen, DroppedLinesShowInTheStatusLine)
{
    LogsFixture f;
    f.h.settings->logcatBufferSize.set(500);
    FakeResponse burst;
    burst.streamRate = 20000;
    burst.streamMs = 100;
    burst.gate = u("flow"); // the lines come once the stream is paused
    f.h.fake.on(streamArgs(u("R1")), burst);
    f.h.listDevices({device(u("R1"))}, u("R1"));
    settle();
    if (!f.logcat().isStreaming())
        QTest::mouseClick(f.screen->streamButton(), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return f.screen->pauseButton()->isEnabled(); }));
    QTest::mouseClick(f.screen->pauseButton(), Qt::LeftButton);
    ASSERT_TRUE(f.logcat().isPaused());
    f.h.fake.open(u("flow"));
    ASSERT_TRUE(waitUntil([&] { return !f.logcat().isStreaming(); }));
    settle();
    EXPECT_EQ(f.screen->statusLabel()->text(), u("Поток остановлен · пропущено строк: 1500"));
}

TEST(LogsScreen, ActivityTabListsTheJournalAndFollowsItAtItsCap)
{
    LogsFixture f({1000, 500});
    chooseSegment(f.screen->tabs(), u("activity"));
    settle();
    ActivityLogView *activity = f.screen->activity();
    QAbstractItemModelTester tester(activity->rows(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_TRUE(activity->isVisibleTo(f.screen.get()));
    f.h->logs.set({});
    settle();
    EXPECT_TRUE(activity->emptyState()->isVisibleTo(f.screen.get()));
    EXPECT_FALSE(activity->copyButton()->isEnabled());
    EXPECT_FALSE(activity->clearButton()->isEnabled());
    EXPECT_EQ(f.screen->header()->subtitleLabel()->text(), u("0 записей о выполненных командах"));

    for (int i = 0; i < AppModel::maxLogEntries; ++i)
        f.h->appendLog(QStringLiteral("$ adb shell pm list packages #%1").arg(i));
    settle();
    EXPECT_FALSE(activity->emptyState()->isVisibleTo(f.screen.get()));
    EXPECT_EQ(f.screen->header()->subtitleLabel()->text(), u("500 записей о выполненных командах"));
    QScrollBar *bar = activity->list()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    bar->setValue(0);
    f.h->appendLog(u("Ошибка: не удалось"));
    settle();
    EXPECT_EQ(f.h->logs.size(), AppModel::maxLogEntries);
    EXPECT_EQ(bar->value(), bar->maximum());

    activity->copyButton()->click();
    EXPECT_EQ(f.desktop.copied.last(), f.h->logs().join(u'\n'));
    activity->clearButton()->click();
    settle();
    EXPECT_TRUE(f.h->logs().isEmpty());
    EXPECT_TRUE(activity->emptyState()->isVisibleTo(f.screen.get()));

    EXPECT_TRUE(ActivityRowDelegate::isFailure(u("[10:00:00] Ошибка установки")));
    EXPECT_TRUE(ActivityRowDelegate::isFailure(u("[10:00:00] adb: не удалось")));
    EXPECT_FALSE(ActivityRowDelegate::isFailure(u("[10:00:00] ошибка установки")));
    EXPECT_FALSE(ActivityRowDelegate::isFailure(u("[10:00:00] Не удалось")));
}

// Each journal row holds every line it draws: a line feed of adb's output ends a line in the
// row's height as it does in its drawing, at a width where the whole entry would fit on one line
// as well as where it wraps. After a change of the window's width alone the rows are measured
// and stacked again at the new width.
TEST(LogsScreen, ActivityRowsHoldEveryLineTheyDraw)
{
    const QString devices = u("[10:00:00] List of devices attached\nR58N12ABCDE\tdevice");
    const QString longLine = u("[10:00:01] ") + QStringList(30, u("package:com.example.app")).join(u' ');
    const struct Case {
        const char *name;
        QSize size;
        int widthAfter; // 0: stays
    } cases[] = {
        {"wide", {1360, 880}, 0},
        {"narrow", {820, 540}, 0},
        {"wide, then narrower", {1360, 880}, 820},
        {"narrow, then wider", {820, 540}, 1360},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        LogsFixture f(c.size);
        chooseSegment(f.screen->tabs(), u("activity"));
        f.h->logs.set({u("[09:59:59] $ adb devices"), devices, longLine, u("[10:00:02] Код завершения: 1")});
        settle();
        QListView *list = f.screen->activity()->list();
        if (c.widthAfter > 0) {
            f.screen->resize(c.widthAfter, c.size.height());
            settle();
        }
        // Every row's lines are drawn inside its own rectangle, the next row starts right below
        // it, and no line reaches past the list's right edge.
        const auto rowsHoldTheirLines = [&] {
            const auto drawn = PaintedText::of(*list->viewport());
            QString lost;
            for (int row = 0; row < list->model()->rowCount(); ++row) {
                const QRect rect = list->visualRect(list->model()->index(row, 0));
                QStringList expected = list->model()->index(row, 0).data().toString().split(u'\n');
                const QString inside = drawn->textIn(QRectF(rect)).remove(u'\t').remove(u' ');
                for (QString &line : expected)
                    if (!inside.contains(line.remove(u'\t').remove(u' ')))
                        lost += QStringLiteral("row %1 lost \"%2\" ").arg(row).arg(line);
                if (row + 1 < list->model()->rowCount()
                    && list->visualRect(list->model()->index(row + 1, 0)).top() != rect.bottom() + 1)
                    lost += QStringLiteral("row %1 is not right below row %2 ").arg(row + 1).arg(row);
            }
            for (const PaintedText::Run &run : drawn->runs)
                if (run.at.x() + QFontMetricsF(run.font).horizontalAdvance(run.text) > list->viewport()->width())
                    lost += QStringLiteral("\"%1\" runs past the edge ").arg(run.text);
            return lost;
        };
        waitUntil([&] { return rowsHoldTheirLines().isEmpty(); });
        EXPECT_EQ(rowsHoldTheirLines().toStdString(), "");
    }
}

TEST(LogsScreen, SearchMarksInMessages)
{
    using Marks = QList<std::pair<qsizetype, qsizetype>>;
    struct Case {
        const char *name;
        QString highlight;
        QString message;
        Marks marks;
    };
    const QList<Case> cases = {
        {"any case, trimmed", u("  error "), u("Error, ERROR and error"), {{0, 5}, {7, 5}, {17, 5}}},
        {"no overlap", u("aa"), u("aaaa"), {{0, 2}, {2, 2}}},
        {"no overlap, odd", u("aa"), u("aaa"), {{0, 2}}},
        {"spaces only", u("   "), u("a b c"), {}},
        {"Cyrillic", u("сбой"), u("СБОЙ связи, сбой"), {{0, 4}, {12, 4}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LogRowDelegate::marks(c.message, c.highlight), c.marks);
    }
}

TEST(LogsScreen, RowCellsInCompactAndWideLists)
{
    const LogRowLayout wide(900, false, Typo::monoSmall());
    EXPECT_EQ(wide.timeCell().left(), 24);
    EXPECT_EQ(wide.timeCell().width(), 126);
    EXPECT_EQ(wide.tagCell().width(), 132);
    // A time shows whole in its cell; the cells follow each other with a gap, and the message
    // runs on to the list's right inset, as wide as the left one.
    EXPECT_LE(QFontMetricsF(Typo::monoSmall()).horizontalAdvance(u("12-31 23:59:59.999")), wide.timeCell().width());
    EXPECT_GT(wide.badgeCell().left(), wide.timeCell().right());
    EXPECT_GT(wide.tagCell().left(), wide.badgeCell().right());
    EXPECT_GT(wide.messageX(), wide.tagCell().right());
    EXPECT_EQ(wide.messageX() + wide.messageWidth(), 900 - 24);

    const LogRowLayout compact(500, true, Typo::monoSmall());
    EXPECT_TRUE(compact.timeCell().isEmpty());
    EXPECT_EQ(compact.badgeCell().left(), 24);
    EXPECT_EQ(compact.tagCell().width(), 96);

    // Breaks after a space; a word longer than a row is cut.
    const QString words = QString(u("abc ")).repeated(100);
    const QList<qsizetype> starts = wide.rowStarts(words);
    ASSERT_GT(starts.size(), 1);
    for (qsizetype start : starts)
        EXPECT_EQ(start % 4, 0) << start;
    const QString word(400, u'x');
    const QList<qsizetype> cut = wide.rowStarts(word);
    ASSERT_GT(cut.size(), 1);
    EXPECT_LE(wide.advance(QStringView(word).first(cut[1])), wide.messageWidth());
    EXPECT_GT(wide.advance(QStringView(word).first(cut[1] + 1)), wide.messageWidth());
    EXPECT_EQ(wide.rowCount(word), cut.size());
    EXPECT_EQ(wide.rowCount(u("short")), 1);
}

// The toolbar's copy, save and clear buttons and the status line's counts keep the right edge;
// the status line wraps with Space::xs between its lines.
TEST(LogsScreen, ToolbarButtonsAndCountsKeepTheRightEdge)
{
    LogsFixture f;
    LogsScreen *s = f.screen.get();
    const auto rightEdge = [&](QWidget *w) { return w->mapTo(s, QPoint(w->width(), 0)).x(); };
    EXPECT_EQ(rightEdge(s->clearMenuButton()), s->width() - int(Space::gutter));
    EXPECT_EQ(s->saveButton()->geometry().right() + 1 + int(Space::s), s->clearMenuButton()->x());
    EXPECT_EQ(rightEdge(s->countsLabel()), s->width() - int(Space::gutter));
    // On one line with the status text, counts and text are far apart in a wide window.
    EXPECT_NEAR(s->countsLabel()->geometry().center().y(), s->statusLabel()->geometry().center().y(), 1);
    auto *status = qobject_cast<FlowLayout *>(s->countsLabel()->parentWidget()->layout());
    ASSERT_TRUE(status);
    EXPECT_EQ(status->flowSpacing(), Space::s);
    EXPECT_EQ(status->lineSpacing(), Space::xs);

    // Narrow: the counts wrap under the status text, still at the right edge.
    f.logcat().statusText.set(QString(u("Поток остановлен: устройство больше не отвечает на запросы logcat ")).repeated(2));
    s->resize(520, 760);
    settle();
    EXPECT_GT(s->countsLabel()->y(), s->statusLabel()->y());
    EXPECT_EQ(rightEdge(s->countsLabel()), s->width() - int(Space::gutter));
}

// A divider of the toolbar and of the filter row stands only between two controls of its line:
// at every width, also where the row breaks right after the level chips, as at 820 px.
TEST(LogsScreen, DividersStandOnlyBetweenControlsOfOneLine)
{
    LogsFixture f;
    LogsScreen *s = f.screen.get();
    auto *tag = s->findChild<QWidget *>(QStringLiteral("logTagField"));
    ASSERT_TRUE(tag);
    bool brokeAfterTheChips = false;
    for (int width = 480; width <= 1400; width += 10) {
        s->resize(width, 540);
        settle();
        const QList<Hairline *> dividers = s->findChildren<Hairline *>();
        const auto shown = std::count_if(dividers.begin(), dividers.end(),
                                         [](Hairline *d) { return d->isVertical() && d->isVisible(); });
        const QStringList stray = GeometryWalk::strayDividers(s);
        EXPECT_TRUE(stray.isEmpty()) << width << " px: " << stray.join(QStringLiteral("; ")).toStdString();
        EXPECT_GE(shown, 1) << width;
        brokeAfterTheChips |= tag->y() > s->levelChips().constFirst()->y() + s->levelChips().constFirst()->height()
                              && tag->x() == s->levelChips().constFirst()->x();
    }
    EXPECT_TRUE(brokeAfterTheChips);
}

// A row is read as "level title, tag: message"; a wrapped message is read once.
TEST(LogsScreen, RowsAreReadAsLevelTagAndMessage)
{
    LogsFixture f;
    f.logcat().injectOutput(threadtime(1, 'W', u("Низкий заряд батареи")));
    f.logcat().flush();
    settle();
    QAbstractItemModel *rows = f.screen->stream()->list()->model();
    ASSERT_GE(rows->rowCount(), 1);
    EXPECT_EQ(rows->index(0, 0).data(Qt::AccessibleTextRole).toString(), u("Warning, Tag: Низкий заряд батареи"));
    f.logcat().injectOutput(threadtime(2, 'E', QString(u("сбой ")).repeated(200)));
    f.logcat().flush();
    settle();
    ASSERT_GT(rows->rowCount(), 2);
    EXPECT_TRUE(rows->index(1, 0).data(Qt::AccessibleTextRole).toString().startsWith(u("Error, Tag: сбой сбой")));
    EXPECT_FALSE(rows->index(2, 0).data(Qt::AccessibleTextRole).isValid());
}

// The level badge's fill reaches 2 px beyond the letter's 14 px cell on every side: 18 px wide
// and 4 px taller than the letter's line, centred on it.
TEST(LogsScreen, LevelBadgeFillIsFourPixelsTallerThanTheLetter)
{
    const LogRowLayout layout(900, false, Typo::monoSmall());
    QFont bold = Typo::monoSmall();
    bold.setBold(true);
    const QRectF row(0, 100, 900, layout.rowHeight());
    const QRectF cell = layout.badgeCell().translated(row.topLeft());
    const QRectF fill = LogRowDelegate::badgeFill(cell, row, bold);
    EXPECT_DOUBLE_EQ(fill.width(), 18);
    EXPECT_DOUBLE_EQ(fill.height(), QFontMetricsF(bold).height() + 4);
    EXPECT_DOUBLE_EQ(fill.center().y(), row.center().y());
    EXPECT_DOUBLE_EQ(fill.left(), cell.left() - 2);
}


// Both lists show the keyboard focus while their current row has scrolled out of sight (the
// newest lines pushed it up): the list rings itself.
TEST(LogsScreen, AListWhoseCurrentRowScrolledAwayStillShowsTheFocus)
{
    const struct {
        const char *tab;
        std::function<QListView *(LogsFixture &)> list;
        std::function<void(LogsFixture &, int, int)> feed;
    } cases[] = {
        {"logcat", [](LogsFixture &f) { return f.screen->stream()->list(); },
         [](LogsFixture &f, int from, int to) { f.feedLines(from, to); }},
        {"activity", [](LogsFixture &f) { return f.screen->activity()->list(); },
         [](LogsFixture &f, int from, int to) {
             for (int i = from; i < to; ++i)
                 f.h->appendLog(QStringLiteral("$ adb shell pm list packages #%1").arg(i));
             settle();
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.tab);
        LogsFixture f({1000, 500});
        chooseSegment(f.screen->tabs(), u(c.tab));
        settle();
        c.feed(f, 0, 5);
        QListView *list = c.list(f);
        ASSERT_TRUE(list->isVisible());
        f.screen->window()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(f.screen->window()));
        list->setFocus(Qt::TabFocusReason);
        list->setCurrentIndex(list->model()->index(0, 0));
        c.feed(f, 5, 200);
        ASSERT_FALSE(list->visualRect(list->currentIndex()).intersects(list->viewport()->rect()));
        FocusRing::setKeyboardInput(true);
        const QImage ringed = list->viewport()->grab().toImage();
        FocusRing::setKeyboardInput(false);
        EXPECT_NE(ringed, list->viewport()->grab().toImage()) << "no ring anywhere";
    }
}

} // namespace
