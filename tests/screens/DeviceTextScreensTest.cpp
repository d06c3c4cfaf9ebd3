// Text from the device as the screens draw it: labels, package and file names and log lines
// with line breaks, bidirectional controls, escapes and markup. What is drawn is read from the
// text the painter is handed, never from pixels.

#include "screens/files/FilePane.h"
#include "screens/files/FileTableModel.h"
#include "screens/device/LogRowsModel.h"
#include "screens/device/LogStreamView.h"
#include "screens/device/LogsScreen.h"
#include "screens/packages/AppInspectorView.h"
#include "screens/packages/PackageListPane.h"
#include "screens/packages/PackageListView.h"
#include "screens/packages/PackageRowDelegate.h"

#include "core/LogcatModel.h"
#include "design/DeckButton.h"
#include "design/DeckParagraph.h"
#include "design/Labels.h"
#include "design/ShownText.h"
#include "screenkit/ScreenMemory.h"

#include "ApplicationsHarness.h"
#include "FileManagerHarness.h"
#include "PaintedText.h"

#include <QListView>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

// The whole literal, NUL characters included.
template <std::size_t N>
QString u(const char16_t (&text)[N])
{
    return QString::fromUtf16(text, N - 1);
}

// Labels a device may report, with what a one-line row draws for each.
struct Label {
    const char *what;
    QString name; // the package
    QString label;
    QString drawn;
};
QList<Label> labels()
{
    return {
        {"override", u(u"com.example.evil"), u(u"\u202Eevil.apk"), u(u"<RLO>evil.apk")},
        {"isolate and mark", u(u"com.example.iso"), u(u"a\u2067b\u2069\u200Fc"), u(u"a<RLI>b<PDI><RLM>c")},
        {"line break", u(u"com.example.lines"), u(u"Первая\nвторая"), u(u"Первая<LF>вторая")},
        {"carriage return", u(u"com.example.cr"), u(u"one\r\ntwo\rthree"), u(u"one<CR><LF>two<CR>three")},
        {"escape and bell", u(u"com.example.esc"), u(u"\u001B[31mred\u0007"), u(u"<ESC>[31mred<BEL>")},
        {"markup", u(u"com.example.markup"), u(u"<b>Bold</b> &lt;"), u(u"<b>Bold</b> &lt;")},
    };
}

QList<AndroidPackage> labelledPackages()
{
    QList<AndroidPackage> packages;
    for (const Label &l : labels())
        packages << package(l.name, l.label);
    return packages;
}

AndroidPackage packageNamed(const QList<AndroidPackage> &packages, const QString &name)
{
    for (const AndroidPackage &p : packages)
        if (p.name == name)
            return p;
    return {};
}

TEST(DeviceTextScreens, PackageRowsDrawLabelsOnOneLineWithVisibleControls)
{
    AppsHarness h(labelledPackages());
    PackageListView *list = h.view->listPane()->list();
    const auto drawn = PaintedText::of(*list->viewport());
    const PaintedText &painted = *drawn;
    const QAbstractItemModel *rows = h.state().listModel();
    for (const Label &l : labels()) {
        SCOPED_TRACE(l.what);
        const QRect row = list->rowRect(l.name);
        ASSERT_TRUE(row.isValid());
        const PackageRowDelegate::Layout layout =
            list->rowDelegate()->layout(row, packageNamed(h->packages(), l.name));
        EXPECT_EQ(layout.shownName, l.drawn);
        EXPECT_EQ(painted.textIn(layout.name), l.drawn);
        EXPECT_EQ(painted.linesIn(layout.name.adjusted(0, 0, 0, row.bottom() - layout.name.bottom())), 2)
            << "the label and the package name below it, nothing more";
        EXPECT_EQ(painted.textIn(layout.packageName), l.name);
        // Read aloud: the label as the device gave it, its line breaks as spaces.
        for (int r = 0; r < rows->rowCount(); ++r) {
            const QModelIndex index = rows->index(r, 0);
            if (index.data(ApplicationsState::PackageNameRole).toString() != l.name)
                continue;
            EXPECT_EQ(index.data(Qt::DisplayRole).toString(), l.label);
            EXPECT_TRUE(index.data(Qt::AccessibleTextRole).toString().startsWith(ShownText::accessible(l.label) + QStringLiteral(", ")));
        }
    }
}

struct InspectedLabels : AppsHarness {
    InspectedLabels() : AppsHarness(labelledPackages())
    {
        fake.onPrefix(S({"-s", "R58N12ABCDE", "shell", "dumpsys", "package"}), {.out = QStringLiteral("Packages:\n")});
    }
    AppInspectorView *inspector() { return view->inspector(); }
    void show(const QString &name)
    {
        model->showInspector(name);
        EXPECT_TRUE(waitUntil([&] { return !model->isDetailsLoading(); }));
        settle();
    }
};

TEST(DeviceTextScreens, TheInspectorTitleIsOneParagraphWithVisibleControls)
{
    InspectedLabels h;
    for (const Label &l : labels()) {
        SCOPED_TRACE(l.what);
        h.show(l.name);
        auto *title = h.inspector()->findChild<DeckParagraph *>(QStringLiteral("inspectorTitle"));
        ASSERT_TRUE(title);
        ASSERT_TRUE(waitUntil([&] { return title->isVisible() && title->width() > 0; }));
        const auto painted = PaintedText::of(*title);
        EXPECT_EQ(painted->texts().join(QString()), l.drawn);
        // Wrapped only where the width ends: on one line whenever it fits.
        if (QFontMetricsF(title->font()).horizontalAdvance(l.drawn) < title->width())
            EXPECT_EQ(painted->linesIn(QRectF(title->rect())), 1);
        EXPECT_EQ(title->accessibleName(), ShownText::accessible(l.label));
    }
}

// ---- Log lines

QString threadtime(int n, const QString &message)
{
    return QStringLiteral("01-02 03:04:05.%1  100  200 I Tag: %2\n").arg(n, 3, 10, QLatin1Char('0')).arg(message);
}

struct LogsWithCodes {
    ShellHarness h;
    FakeDesktop desktop;
    ScreenMemory memory;
    std::unique_ptr<LogsScreen> screen;

    LogsWithCodes()
    {
        h->route.set(AppRoute::logs);
        screen = std::make_unique<LogsScreen>(h.model.get(), h.settings.get(), &memory);
        screen->resize(1100, 760);
        screen->show();
        settle();
    }
    LogcatModel &logcat() { return *screen->logcat(); }
    void feed(const QStringList &messages)
    {
        QString chunk;
        for (int i = 0; i < messages.size(); ++i)
            chunk += threadtime(i, messages[i]);
        logcat().injectOutput(chunk);
        logcat().flush();
        settle();
    }
    QListView *list() { return screen->stream()->list(); }
    const LogRowsModel &rows() { return *screen->stream()->rows(); }
    // What the list draws in the message cell of `row`.
    QString drawnMessage(const PaintedText &painted, int row)
    {
        const QRect rect = list()->visualRect(rows().index(row));
        const LogRowLayout &layout = rows().layout();
        return painted.textIn(QRectF(rect.left() + layout.messageX(), rect.top(), layout.messageWidth(), rect.height()));
    }
};

TEST(DeviceTextScreens, LogMessagesDropColourCodesShowOtherControlsAndCopyAsReceived)
{
    LogsWithCodes f;
    struct Case {
        const char *what;
        QString message;
        QString drawn;
    };
    const QList<Case> cases = {
        {"colour around a word", u(u"\u001B[31merror\u001B[0m in \u001B[1;33mmodule\u001B[m"), u(u"error in module")},
        {"cursor movement stays visible", u(u"\u001B[2Kprogress"), u(u"<ESC>[2Kprogress")},
        {"bell and override", u(u"ding\u0007 \u202Eevil"), u(u"ding<BEL> <RLO>evil")},
        {"markup", u(u"<font color=red>x</font>"), u(u"<font color=red>x</font>")},
    };
    QStringList messages;
    for (const Case &c : cases)
        messages << c.message;
    f.feed(messages);
    ASSERT_EQ(f.rows().rowCount(), cases.size());
    const auto drawn = PaintedText::of(*f.list()->viewport());
    const PaintedText &painted = *drawn;
    for (int i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].what);
        EXPECT_EQ(f.drawnMessage(painted, i), cases[i].drawn);
        // Read as level, tag and message, without the codes.
        const QString message = f.logcat().visibleLines()[i].message().toString();
        EXPECT_EQ(f.rows().index(i).data(Qt::AccessibleTextRole).toString(),
                  QStringLiteral("Info, Tag: ") + ShownText::accessible(ShownText::withoutStyleCodes(message)));
    }

    // A mark in a coloured word covers the word as drawn.
    f.logcat().searchText.set(QStringLiteral("error"));
    settle();
    const auto marked = PaintedText::of(*f.list()->viewport());
    EXPECT_EQ(f.drawnMessage(*marked, 0), cases[0].drawn);
    EXPECT_TRUE(marked->texts().contains(QStringLiteral("error")));

    // Copy and save keep the lines as the device sent them, codes and all.
    f.list()->selectAll();
    pressKey(f.list(), Qt::Key_C, QStringLiteral("c"), Qt::ControlModifier);
    ASSERT_FALSE(f.desktop.copied.isEmpty());
    EXPECT_TRUE(f.desktop.copied.last().contains(cases[0].message));
    EXPECT_EQ(f.desktop.copied.last(), f.logcat().exportText());
    f.screen->copyButton()->click();
    EXPECT_TRUE(f.desktop.copied.last().contains(cases[0].message));
}

TEST(DeviceTextScreens, ALogMessageWrapsByWhatIsDrawnNotByItsCodes)
{
    LogsWithCodes f;
    // Twenty coloured words: short as drawn, long as received.
    QString message;
    for (int i = 0; i < 20; ++i)
        message += QStringLiteral("\u001B[1;31mab\u001B[0m ");
    const LogRowLayout &layout = f.rows().layout();
    QString storage;
    const QStringView drawn = LogRowLayout::shownMessage(message, storage);
    EXPECT_EQ(drawn.toString(), QString(QStringLiteral("ab ")).repeated(20));
    ASSERT_LE(layout.advance(drawn), layout.messageWidth()) << "the drawn message must fit one row here";
    ASSERT_GT(layout.advance(ShownText::line(message)), layout.messageWidth()) << "the codes must not";
    f.feed({message});
    EXPECT_EQ(f.rows().rowCount(), 1);
}

// ---- File names

TEST(DeviceTextScreens, FileRowsDrawNamesOnOneLineWithVisibleControls)
{
    struct Name {
        const char *what;
        QString name;
        QString drawn;
    };
    const QList<Name> names = {
        {"line break", u(u"x\ny.txt"), u(u"x<LF>y.txt")},
        {"hidden extension", u(u"photo\u202Egnp.apk"), u(u"photo<RLO>gnp.apk")},
        {"backspace and escape", u(u"a\u0008b\u001B.log"), u(u"a<BS>b<ESC>.log")},
        {"markup", u(u"<b>bold<br>&lt;.txt"), u(u"<b>bold<br>&lt;.txt")},
    };
    QList<FileScreenHarness::Entry> sdcard;
    QStringList local;
    for (const Name &n : names) {
        sdcard << FileScreenHarness::Entry{n.name};
        local << n.name;
    }
    FileScreenHarness f(sdcard, local);
    for (FilePane *pane : {f.view->devicePane(), f.view->localPane()}) {
        FileTableView *table = pane->table();
        ASSERT_TRUE(waitUntil([&] { return table->model()->rowCount() == names.size(); }));
        const auto drawn = PaintedText::of(*table->viewport());
        const PaintedText &painted = *drawn;
        for (const Name &n : names) {
            SCOPED_TRACE(n.what);
            int row = -1;
            for (int r = 0; r < table->model()->rowCount(); ++r)
                if (table->model()->index(r, LocalFileTableModel::nameColumn).data().toString() == n.name)
                    row = r;
            ASSERT_GE(row, 0);
            const QModelIndex index = table->model()->index(row, LocalFileTableModel::nameColumn);
            const QRect cell = table->visualRect(index);
            EXPECT_EQ(painted.textIn(cell), n.drawn);
            EXPECT_EQ(painted.linesIn(cell), 1);
            EXPECT_EQ(index.data(Qt::AccessibleTextRole).toString(), QStringLiteral("Файл ") + ShownText::accessible(n.name));
        }
    }
}

} // namespace
