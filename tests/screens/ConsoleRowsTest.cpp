#include "ConsoleHarness.h"

#include "../support/FakeDesktop.h"

#include "PaintedText.h"

#include "design/Ink.h"
#include "design/Tokens.h"
#include "design/Typo.h"
#include "screens/console/ConsoleRowDelegate.h"

#include <QAbstractItemModelTester>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

using Line = ConsoleTextLayout::Line;

TEST(ConsoleRows, TextBreaksIntoTheLinesItIsDrawnIn)
{
    QFont font = Typo::monoBody();
    font.setKerning(false);
    const ConsoleTextLayout::Advances advances(font);
    // Room for ten letters of the font in use, whatever its widths: "abcdefghij" fits, an eleventh
    // letter does not, and every shorter line below fits.
    const qreal tenCells = ConsoleTextLayout::offsets(u"abcdefghij", advances).last() + 0.5;
    ASSERT_GT(tenCells, 1);
    struct Case {
        const char *name;
        QString text;
        QString display;
        QList<Line> lines;
    };
    const Case cases[] = {
        {"one short line", QStringLiteral("ok"), QStringLiteral("ok"), {{0, 2}}},
        {"a final line break draws no empty line", QStringLiteral("ok\n"), QStringLiteral("ok\n"), {{0, 2}}},
        {"empty lines inside stay", QStringLiteral("a\n\nb"), QStringLiteral("a\n\nb"), {{0, 1}, {2, 0}, {3, 1}}},
        {"wraps after the last space", QStringLiteral("12345 7890abc"), QStringLiteral("12345 7890abc"), {{0, 6}, {6, 7}}},
        {"a long word breaks anywhere", QStringLiteral("abcdefghijklmno"), QStringLiteral("abcdefghijklmno"), {{0, 10}, {10, 5}}},
        {"tabs go to stops of eight", QStringLiteral("a\tb"), QStringLiteral("a       b"), {{0, 9}}},
        {"carriage returns go, controls show", QStringLiteral("a\r\n\x07"), QStringLiteral("a\n<BEL>"), {{0, 1}, {2, 5}}},
        {"nothing at all", QString(), QString(), {{0, 0}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ConsoleTextLayout layout = ConsoleTextLayout::make(c.text, advances, tenCells);
        EXPECT_EQ(layout.display, c.display);
        EXPECT_EQ(layout.lines, c.lines);
    }
    // Bidirectional controls, C1 controls and the Unicode line breaks show as stand-ins, so the
    // output is drawn in the order it came and as wide as measured.
    const struct {
        const char *name;
        QString text;
        QString display;
    } standIns[] = {
        {"an override", QString::fromUtf16(u"\u202Eevil.apk"), QString::fromUtf16(u"<RLO>evil.apk")},
        {"isolates and marks", QString::fromUtf16(u"\u2066a\u2069\u200F"), QString::fromUtf16(u"<LRI>a<PDI><RLM>")},
        {"a C1 control", QString::fromUtf16(u"a\u009Bb"), QString::fromUtf16(u"a<U+009B>b")},
        {"line and paragraph separators", QString::fromUtf16(u"a\u2028b\u2029c\u0085"), QString::fromUtf16(u"a<LS>b<PS>c<NEL>")},
        {"a tab after a stand-in counts its width", QString::fromUtf16(u"\u202E\tx"), QString::fromUtf16(u"<RLO>   x")},
    };
    for (const auto &c : standIns) {
        SCOPED_TRACE(c.name);
        const ConsoleTextLayout layout = ConsoleTextLayout::make(c.text, advances, tenCells * 40);
        EXPECT_EQ(layout.display, c.display);
        EXPECT_EQ(layout.lines, (QList<Line>{{0, c.display.size()}}));
        EXPECT_EQ(ConsoleTextLayout::lineCount(c.text, advances, tenCells * 40), 1);
    }

    // Never narrower than one character: a width of nothing still moves on.
    EXPECT_EQ(ConsoleTextLayout::make(QStringLiteral("abc"), advances, 0).lines, (QList<Line>{{0, 1}, {1, 1}, {2, 1}}));
}

TEST(ConsoleRows, MarksEveryOccurrenceWithoutOverlaps)
{
    using Ranges = QList<QPair<qsizetype, qsizetype>>;
    struct Case {
        QString text, highlight;
        Ranges ranges;
    };
    const Case cases[] = {
        {QStringLiteral("Error and ERROR"), QStringLiteral("error"), {{0, 5}, {10, 5}}},
        {QStringLiteral("abab"), QStringLiteral("ab"), {{0, 2}, {2, 2}}},
        {QStringLiteral("aaaa"), QStringLiteral("aaa"), {{0, 3}}},
        {QStringLiteral("anything"), QString(), {}},
        {QStringLiteral("none here"), QStringLiteral("zz"), {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(consoleMarkRanges(c.text, c.highlight), c.ranges) << c.text.toStdString();
}

TEST(ConsoleRows, EachKindHasItsColours)
{
    struct Case {
        ConsoleEntryKind kind;
        QColor bar;
        qreal opacity;
        QColor text;
    };
    const Case cases[] = {
        {ConsoleEntryKind::command, Ink::accent(), 0.75, Ink::accentCyan()},
        {ConsoleEntryKind::standardOutput, Ink::textSecondary(), 0.18, Ink::text()},
        {ConsoleEntryKind::standardError, Ink::danger(), 0.75, Ink::danger()},
        {ConsoleEntryKind::system, Ink::violet(), 0.75, Ink::textTertiary()},
    };
    for (const Case &c : cases) {
        const QColor bar = ConsoleRowDelegate::barColor(c.kind);
        EXPECT_EQ(bar.rgb(), c.bar.rgb());
        EXPECT_NEAR(bar.alphaF(), c.bar.alphaF() * c.opacity, 0.01);
        EXPECT_EQ(ConsoleRowDelegate::textColor(c.kind), c.text);
    }
}

TEST(ConsoleRows, RowsGrowWithTheirTextAndKeepTheirPlaces)
{
    ConsoleScreenHarness c;
    ConsoleTranscriptView *view = c.transcript();
    QAbstractItemModelTester tester(view->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    c->consoleEntries.set({ConsoleEntry(QDateTime::currentDateTime(), ConsoleEntryKind::standardOutput, QStringLiteral("one")),
                           ConsoleEntry(QDateTime::currentDateTime(), ConsoleEntryKind::standardError,
                                        QStringLiteral("first\nsecond\nthird")),
                           ConsoleEntry(QDateTime::currentDateTime(), ConsoleEntryKind::standardOutput,
                                        QString(400, QLatin1Char('w')))});
    settle();
    ConsoleRowDelegate *rows = view->rowDelegate();
    const int line = int(rows->lineHeight());
    const QRect one = view->visualRect(view->model()->index(0, 0));
    const QRect three = view->visualRect(view->model()->index(1, 0));
    const QRect wrapped = view->visualRect(view->model()->index(2, 0));
    EXPECT_EQ(one.height(), line + int(ConsoleRowDelegate::kRowGap));
    EXPECT_EQ(three.height(), 3 * line + int(ConsoleRowDelegate::kRowGap));
    EXPECT_GT(wrapped.height(), 2 * line); // a long line wraps and the row grows with it
    EXPECT_EQ(three.top(), one.bottom() + 1);
    EXPECT_EQ(rows->textLeft(), 24 + 58 + 8 + 2 + 8);
}

// Where the rows are laid out against what they draw: each row draws its lines from its top, and
// the next row starts right below its last line and gap. Empty when all hold.
QString rowsOffTheirLines(ConsoleTranscriptView *view)
{
    ConsoleRowDelegate *rows = view->rowDelegate();
    const ConsoleTranscriptModel *model = view->transcript();
    for (int row = 0; row + 1 < model->rowCount(); ++row) {
        const QRect slot = view->visualRect(model->index(row, 0));
        const QRect next = view->visualRect(model->index(row + 1, 0));
        const qsizetype lines = rows->layoutFor(model->entryAt(row)).lines.size();
        const int end = slot.top() + int(std::ceil(lines * rows->lineHeight() + ConsoleRowDelegate::kRowGap));
        if (next.top() != end)
            return QStringLiteral("row %1 draws %2 lines from %3 to %4, the next row starts at %5")
                .arg(row)
                .arg(lines)
                .arg(slot.top())
                .arg(end)
                .arg(next.top());
    }
    return {};
}

ConsoleEntry outputEntry(const QString &text, ConsoleEntryKind kind = ConsoleEntryKind::standardOutput)
{
    return ConsoleEntry(QDateTime::currentDateTime(), kind, text);
}

// What `awk 'BEGIN{for(i=0;i<2000;i++)printf "%09d|", i; print "END"}'` prints: one line of
// 20,003 characters.
QString longOutputLine()
{
    QString text;
    for (int i = 0; i < 2000; ++i)
        text += QStringLiteral("%1|").arg(i, 9, 10, QLatin1Char('0'));
    return text + QStringLiteral("END\n");
}

// Five lines, each as long as fits the transcript's width without its scroll bar, so each wraps
// once while the bar takes its room.
QString linesAsWideAsTheBarlessWidth(ConsoleTranscriptView *view, QChar letter)
{
    QFont font = Typo::monoBody();
    font.setKerning(false);
    const ConsoleTextLayout::Advances advances(font);
    const qreal width = view->width() - view->rowDelegate()->textLeft() - Space::gutter;
    QString line;
    while (ConsoleTextLayout::lineCount(line + letter, advances, width) == 1)
        line += letter;
    return QStringList(5, line).join(QLatin1Char('\n'));
}

// A line long enough to wrap many times arrives in an empty transcript; its rows then grow a
// scroll bar, and the view narrows by its width. The list lays out again only on a change of
// its height, so its rows kept the heights of the wider view: the long row drew over the next
// one and its end could not be seen. Every row must fit between its neighbours, after the bar
// comes or goes and after any resize, and scrolled to the end the long line's end shows.
TEST(ConsoleRows, EveryRowShowsItsWholeTextWhenTheWidthChanges)
{
    const QString longLine = longOutputLine();
    const QString awk = QStringLiteral("awk 'BEGIN{for(i=0;i<2000;i++)printf \"%09d|\", i; print \"END\"}'");
    const struct Case {
        const char *name;
        std::function<void(ConsoleScreenHarness &)> act;
    } cases[] = {
        {"the command run from the command line",
         [&](ConsoleScreenHarness &c) {
             c.h.fake.on(c.shellCall(awk), {.out = longLine});
             c->consoleInput.set(awk);
             settle();
             pressReturn(c.field());
             ASSERT_TRUE(c.finished());
         }},
        {"the long line alone",
         [&](ConsoleScreenHarness &c) { c->consoleEntries.append({outputEntry(longLine)}, kConsoleTranscriptLimit); }},
        {"the long line with the end of its run in one batch",
         [&](ConsoleScreenHarness &c) {
             c->consoleEntries.append({outputEntry(QStringLiteral("shell $ awk"), ConsoleEntryKind::command),
                                       outputEntry(longLine),
                                       outputEntry(QStringLiteral("[команда завершена]"), ConsoleEntryKind::system)},
                                      kConsoleTranscriptLimit);
         }},
        {"then a narrower window",
         [&](ConsoleScreenHarness &c) {
             c->consoleEntries.append({outputEntry(longLine), outputEntry(QStringLiteral("[команда завершена]"),
                                                                          ConsoleEntryKind::system)},
                                      kConsoleTranscriptLimit);
             settle();
             c.window->resize(c.window->width() - 230, c.window->height());
         }},
        {"then a wider window",
         [&](ConsoleScreenHarness &c) {
             c->consoleEntries.append({outputEntry(longLine), outputEntry(QStringLiteral("[команда завершена]"),
                                                                          ConsoleEntryKind::system)},
                                      kConsoleTranscriptLimit);
             settle();
             c.window->resize(c.window->width() + 230, c.window->height());
         }},
        {"the scroll bar goes when a search leaves short rows",
         [&](ConsoleScreenHarness &c) {
             ConsoleTranscriptView *view = c.transcript();
             c->consoleEntries.append({outputEntry(longLine), outputEntry(linesAsWideAsTheBarlessWidth(view, QLatin1Char('x'))),
                                       outputEntry(linesAsWideAsTheBarlessWidth(view, QLatin1Char('x')))},
                                      kConsoleTranscriptLimit);
             settle();
             c->consoleSearchText.set(QStringLiteral("xxx"));
         }},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.name);
        ConsoleScreenHarness c;
        ConsoleTranscriptView *view = c.transcript();
        c->clearConsole(); // one short line left: "Консоль очищена"
        settle();
        ASSERT_FALSE(view->verticalScrollBar()->isVisible());
        test.act(c);
        const bool longRowShown = view->transcript()->searchText().isEmpty();
        waitUntil([&] { return rowsOffTheirLines(view).isEmpty(); });
        EXPECT_EQ(rowsOffTheirLines(view).toStdString(), "");
        EXPECT_EQ(view->verticalScrollBar()->isVisible(), longRowShown);
        if (!longRowShown)
            continue;

        // Scrolled to the end, the long line's last characters are drawn inside the viewport,
        // above the row after it (if any).
        view->scrollToBottom();
        settle();
        const auto drawn = PaintedText::of(*view->viewport());
        const ConsoleEntry longEntry = outputEntry(longLine);
        const ConsoleTextLayout layout = view->rowDelegate()->layoutFor(longEntry);
        const QString lastLine = layout.display.mid(layout.lines.last().start, layout.lines.last().length);
        const auto end = std::find_if(drawn->runs.begin(), drawn->runs.end(),
                                      [&](const PaintedText::Run &run) { return run.text == lastLine; });
        ASSERT_NE(end, drawn->runs.end()) << "the line's end is not drawn";
        const int lastRow = view->model()->rowCount() - 1;
        const int below = view->transcript()->entryAt(lastRow).text == longLine
                              ? view->viewport()->height()
                              : view->visualRect(view->model()->index(lastRow, 0)).top();
        EXPECT_GT(end->at.y(), 0);
        EXPECT_LE(end->at.y(), below);
    }
}

TEST(ConsoleRows, SelectedRowsCopyAndARowOpensItsTextToSelectAPart)
{
    FakeDesktop desktop;
    ConsoleScreenHarness c;
    c->consoleEntries.set({ConsoleEntry(QDateTime::currentDateTime(), ConsoleEntryKind::command, QStringLiteral("shell $ ls")),
                           ConsoleEntry(QDateTime::currentDateTime(), ConsoleEntryKind::standardOutput,
                                        QStringLiteral("DCIM\nDownload\n")),
                           ConsoleEntry(QDateTime::currentDateTime(), ConsoleEntryKind::system,
                                        QStringLiteral("[команда завершена]"))});
    settle();
    ConsoleTranscriptView *view = c.transcript();
    giveFocus(view);
    view->selectionModel()->select(view->model()->index(1, 0), QItemSelectionModel::Select);
    view->selectionModel()->select(view->model()->index(0, 0), QItemSelectionModel::Select);
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(desktop.copied, QStringList{QStringLiteral("shell $ ls\nDCIM\nDownload")});

    const QRect row = view->visualRect(view->model()->index(1, 0));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, row.center());
    auto *editor = qobject_cast<QPlainTextEdit *>(view->rowTextEditor());
    ASSERT_TRUE(editor);
    EXPECT_TRUE(editor->isReadOnly());
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("DCIM\nDownload"));
    EXPECT_GE(editor->geometry().left(), int(view->rowDelegate()->textLeft()));
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_FALSE(view->rowTextEditor());
    // The row's editor goes with its row when the transcript is cleared.
    view->openRowText(view->model()->index(2, 0));
    ASSERT_TRUE(view->rowTextEditor());
    c->clearConsole();
    EXPECT_FALSE(view->rowTextEditor());
}

} // namespace
