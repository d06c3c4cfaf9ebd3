#include "FileManagerHarness.h"
#include "GeometryWalk.h"
#include "WidgetTestSupport.h"

#include "screens/files/FileTableModel.h"

#include "core/PlatformTexts.h"
#include "design/DeckButton.h"
#include "design/DeckCheckbox.h"
#include "design/DeckEmptyState.h"
#include "design/DeckText.h"
#include "design/OperationBar.h"
#include "design/Theme.h"
#include "design/Typo.h"
#include "design/Tokens.h"
#include "shell/AppDialogs.h"
#include "screenkit/DeckTextField.h"
#include "screenkit/DialogPresenter.h"
#include "shell/KestrelApp.h"
#include "shell/MainWindow.h"
#include "shell/RootView.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QHeaderView>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>

namespace {

using Entry = FileScreenHarness::Entry;

const QList<Entry> kDeviceEntries{{QStringLiteral("DCIM"), true},         {QStringLiteral("Download"), true},
                                  {QStringLiteral("notes.txt"), false, 512}, {QStringLiteral("song.mp3"), false, 4'200'000},
                                  {QStringLiteral("app.apk"), false, 0}};

QStringList shownNames(QAbstractItemModel *rows)
{
    QStringList names;
    for (int row = 0; row < rows->rowCount(); ++row)
        names << rows->index(row, 0).data().toString();
    return names;
}

struct ListOwner : Observable {
    PublishedList<DeviceFileItem> items{this};
};

DeviceFileItem entry(const QString &name, bool folder, std::optional<qint64> size, qint64 seconds)
{
    return {QStringLiteral("/sdcard/") + name, name, folder, size, QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC)};
}

// A double-click as the window system delivers it (below).
void doubleClick(QWidget *target, QPoint at);

TEST(FileTableModel, SortsByEachColumnKeepingFoldersFirstAndTheSelection)
{
    ListOwner owner;
    DeviceFileTableModel rows(owner.items);
    QAbstractItemModelTester tester(&rows, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QItemSelectionModel selection(&rows);
    // In display order, as the listing delivers it.
    owner.items.set({entry(QStringLiteral("B"), true, std::nullopt, 30), entry(QStringLiteral("a"), true, std::nullopt, 10),
                     entry(QStringLiteral("c.txt"), false, 300, 20), entry(QStringLiteral("d.txt"), false, 100, 40),
                     entry(QStringLiteral("e.txt"), false, 200, 5)});
    selection.select(rows.index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);

    struct Case { int column; Qt::SortOrder order; QStringList expected; };
    const Case cases[] = {
        {DeviceFileTableModel::nameColumn, Qt::DescendingOrder, {"a", "B", "e.txt", "d.txt", "c.txt"}},
        {DeviceFileTableModel::sizeColumn, Qt::AscendingOrder, {"B", "a", "d.txt", "e.txt", "c.txt"}},
        {DeviceFileTableModel::sizeColumn, Qt::DescendingOrder, {"B", "a", "c.txt", "e.txt", "d.txt"}},
        {DeviceFileTableModel::modifiedColumn, Qt::AscendingOrder, {"a", "B", "e.txt", "c.txt", "d.txt"}},
        {DeviceFileTableModel::modifiedColumn, Qt::DescendingOrder, {"B", "a", "d.txt", "c.txt", "e.txt"}},
        {DeviceFileTableModel::nameColumn, Qt::AscendingOrder, {"B", "a", "c.txt", "d.txt", "e.txt"}},
    };
    for (const Case &c : cases) {
        rows.sort(c.column, c.order);
        EXPECT_EQ(shownNames(&rows), c.expected) << c.column << " " << c.order;
        const QModelIndexList selected = selection.selectedRows();
        ASSERT_EQ(selected.size(), 1);
        EXPECT_EQ(selected.at(0).data().toString(), QStringLiteral("d.txt"));
    }
    // A new listing keeps the chosen order.
    rows.sort(DeviceFileTableModel::sizeColumn, Qt::DescendingOrder);
    owner.items.set({entry(QStringLiteral("x.txt"), false, 1, 1), entry(QStringLiteral("y.txt"), false, 9, 1)});
    EXPECT_EQ(shownNames(&rows), (QStringList{"y.txt", "x.txt"}));
    owner.items.set({});
    EXPECT_EQ(rows.rowCount(), 0);
}

TEST(FileTableModel, CellsSymbolsAndTexts)
{
    struct Case { const char *name; bool folder; const char *symbol; };
    const Case cases[] = {
        {"Backup.TAR.GZ", false, "archivebox"}, {"photo.jpeg.txt", false, "doc.text"}, {"README", false, "doc"},
        {"clips.mp4", true, "folder.fill"},     {"base.APKS", false, "shippingbox"},   {"a.HEIC", false, "photo"},
        {"movie.mkv", false, "film"},           {"voice.m4a", false, "waveform"},      {"book.pdf", false, "doc.richtext"},
        {"archive.", false, "doc"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(fileSymbol(QString::fromUtf8(c.name), c.folder), QString::fromUtf8(c.symbol)) << c.name;

    ListOwner owner;
    DeviceFileTableModel rows(owner.items);
    owner.items.set({entry(QStringLiteral("Folder"), true, std::nullopt, 1), entry(QStringLiteral("zero"), false, 0, 0)});
    EXPECT_EQ(rows.index(0, DeviceFileTableModel::sizeColumn).data().toString(), QStringLiteral("—"));
    EXPECT_EQ(rows.index(1, DeviceFileTableModel::sizeColumn).data().toString(), QStringLiteral("—"));
    EXPECT_EQ(rows.index(0, DeviceFileTableModel::nameColumn).data(Qt::AccessibleTextRole).toString(),
              QStringLiteral("Папка Folder"));
    EXPECT_EQ(rows.index(1, DeviceFileTableModel::nameColumn).data(Qt::AccessibleTextRole).toString(),
              QStringLiteral("Файл zero"));
    EXPECT_EQ(rows.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Имя"));
    EXPECT_EQ(rows.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Размер"));
    EXPECT_EQ(rows.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Изменён"));
}

TEST(FileManagerScreen, BothPanesListTheirFoldersAndCountThem)
{
    FileScreenHarness f(kDeviceEntries, {QStringLiteral("Photos/"), QStringLiteral("report.pdf")});
    QAbstractItemModelTester localTester(f.state->localRows());
    QAbstractItemModelTester deviceTester(f.state->deviceRows());
    EXPECT_EQ(shownNames(f.state->deviceRows()), (QStringList{"DCIM", "Download", "app.apk", "notes.txt", "song.mp3"}));
    EXPECT_EQ(shownNames(f.state->localRows()), (QStringList{"Photos", "report.pdf"}));
    EXPECT_EQ(f.view->countsLabel()->text(), PlatformTexts::text(QStringLiteral("Mac")) + QStringLiteral(": 2 · Android: 5"));
    EXPECT_EQ(f.view->statusLabel()->text(), QStringLiteral("Объектов на Android: 5"));
    EXPECT_EQ(f.view->devicePane()->title(), QStringLiteral("Pixel 7"));
    EXPECT_EQ(f.view->devicePane()->titleTone(), Tone::success);
    EXPECT_EQ(f.view->localPane()->title(), PlatformTexts::text(QStringLiteral("Mac")));
    EXPECT_EQ(f.view->devicePane()->pathField()->text(), QStringLiteral("/sdcard"));
    EXPECT_EQ(f.view->localPane()->pathField()->text(), f.downloads);
    EXPECT_FALSE(f.view->devicePane()->emptyState());
    EXPECT_FALSE(f.view->statusSpinner()->isVisible());
    // One row height for every row.
    EXPECT_EQ(f.view->devicePane()->table()->rowHeight(0), FileTableView::kRowHeight);
    EXPECT_EQ(f.view->devicePane()->table()->rowHeight(4), FileTableView::kRowHeight);
}

TEST(FileManagerScreen, SelectionIsTheModelsBothWays)
{
    FileScreenHarness f(kDeviceEntries, {QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    FileTableView *table = f.view->devicePane()->table();
    table->selectRow(2);
    settle();
    EXPECT_EQ(f.model()->deviceSelection(), QSet<QString>{QStringLiteral("/sdcard/app.apk")});
    EXPECT_TRUE(f.view->downloadButton()->isEnabled());
    EXPECT_FALSE(f.view->uploadButton()->isEnabled());
    EXPECT_TRUE(f.view->devicePane()->renameButton()->isEnabled());

    f.model()->deviceSelection.set({QStringLiteral("/sdcard/DCIM"), QStringLiteral("/sdcard/song.mp3")});
    settle();
    QStringList selected;
    for (const QModelIndex &index : table->selectionModel()->selectedRows())
        selected << index.data().toString();
    selected.sort();
    EXPECT_EQ(selected, (QStringList{"DCIM", "song.mp3"}));
    EXPECT_FALSE(f.view->devicePane()->renameButton()->isEnabled());
    EXPECT_TRUE(f.view->devicePane()->deleteButton()->isEnabled());
    EXPECT_EQ(f.view->devicePane()->selectionCount()->text(), QStringLiteral("Выбрано: 2"));

    // Sorting by size keeps what is selected.
    table->horizontalHeader()->setSortIndicator(DeviceFileTableModel::sizeColumn, Qt::DescendingOrder);
    EXPECT_EQ(f.model()->deviceSelection(), (QSet<QString>{QStringLiteral("/sdcard/DCIM"), QStringLiteral("/sdcard/song.mp3")}));
}

// While a device operation runs, the device's navigation and actions wait with the transfer
// buttons; the computer's pane stays usable.
TEST(FileManagerScreen, BusyDisablesTheDeviceSideOnly)
{
    FileScreenHarness f(kDeviceEntries, {QStringLiteral("a.txt")});
    f.model()->localSelection.set({f.downloads + QStringLiteral("/a.txt")});
    f.model()->deviceSelection.set({QStringLiteral("/sdcard/notes.txt")});
    settle();
    FilePane *device = f.view->devicePane();
    FilePane *local = f.view->localPane();
    EXPECT_TRUE(device->pathField()->isEnabled());
    EXPECT_TRUE(device->actionBar()->isEnabled());
    EXPECT_TRUE(f.view->uploadButton()->isEnabled());

    QObject receiver;
    bool checked = false;
    f.model()->observe(f.model()->statusText, &receiver, [&] {
        if (checked || !f.model()->statusText().startsWith(QStringLiteral("Удаление 1 из 1")))
            return;
        checked = true;
        settle();
        EXPECT_FALSE(device->pathField()->isEnabled());
        EXPECT_FALSE(device->actionBar()->isEnabled());
        EXPECT_FALSE(device->upButton()->isEnabled());
        EXPECT_FALSE(device->refreshButton()->isEnabled());
        EXPECT_FALSE(f.view->uploadButton()->isEnabled());
        EXPECT_FALSE(f.view->downloadButton()->isEnabled());
        EXPECT_FALSE(f.view->refreshBothButton()->isEnabled());
        EXPECT_TRUE(f.view->statusSpinner()->isVisible());
        EXPECT_TRUE(f.view->transferSpinner()->isVisible());
        EXPECT_TRUE(local->actionBar()->isEnabled());
        EXPECT_TRUE(local->pathField()->isEnabled());
        EXPECT_FALSE(local->upButton()->isEnabled());
        std::unique_ptr<QMenu> menu(device->makeContextMenu());
        for (QAction *action : menu->actions())
            if (!action->isSeparator())
                EXPECT_FALSE(action->isEnabled()) << action->text().toStdString();
        // A double-click on a folder does not navigate mid-operation.
        doubleClick(device->table()->viewport(), device->table()->visualRect(f.state->deviceRows()->index(0, 0)).center());
        EXPECT_EQ(f.model()->deviceDirectory(), QStringLiteral("/sdcard"));
    });
    f.state->requestDelete(FileManagerSide::device);
    auto *box = qobject_cast<QMessageBox *>(f.view->deleteDialog()->dialog());
    ASSERT_TRUE(box);
    press(box, QStringLiteral("Удалить безвозвратно"));
    ASSERT_TRUE(waitUntil([&] { return checked; }));
    f.settleScreen();
    EXPECT_TRUE(device->actionBar()->isEnabled());
}

TEST(FileManagerScreen, WithoutAReadyDeviceTheDevicePaneSaysSo)
{
    FileScreenHarness none({}, {}, 1100, false);
    FilePane *device = none.view->devicePane();
    ASSERT_TRUE(device->emptyState());
    EXPECT_EQ(device->emptyState()->titleLabel()->text(), QStringLiteral("Android недоступен"));
    EXPECT_EQ(device->title(), QStringLiteral("Android"));
    EXPECT_EQ(device->titleTone(), Tone::warning);
    EXPECT_FALSE(device->actionBar()->isEnabled());
    EXPECT_FALSE(device->upButton()->isEnabled());
    EXPECT_FALSE(none.view->downloadButton()->isEnabled());
    ASSERT_TRUE(none.view->localPane()->emptyState());
    EXPECT_EQ(none.view->localPane()->emptyState()->titleLabel()->text(), QStringLiteral("Папка пуста"));
    EXPECT_EQ(FileManagerView::headerSubtitle(*none.h.model), PlatformTexts::text(QStringLiteral("Mac ⇄ ")) + "Android");

    // An unauthorized device is named, but gets no serial.
    none.h.connect(QStringLiteral("unauthorized"), FileScreenHarness::serial);
    none.settleScreen();
    EXPECT_EQ(device->title(), QStringLiteral("Pixel 7"));
    EXPECT_EQ(device->titleTone(), Tone::warning);
    EXPECT_FALSE(none.model()->isDeviceReady());

    // Becoming ready binds the model and lists /sdcard; an empty folder says so once listed.
    none.h.connect(QStringLiteral("device"), FileScreenHarness::serial);
    none.settleScreen();
    EXPECT_TRUE(none.model()->isDeviceReady());
    ASSERT_TRUE(device->emptyState());
    EXPECT_EQ(device->emptyState()->titleLabel()->text(), QStringLiteral("Папка пуста"));
}

TEST(FileManagerScreen, NameDialogCreatesAndRenames)
{
    FileScreenHarness f(kDeviceEntries, {});
    f.view->devicePane()->newFolderButton()->click();
    auto *dialog = qobject_cast<QInputDialog *>(f.view->nameDialog()->dialog());
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Новая папка"));
    EXPECT_EQ(dialog->labelText(), QStringLiteral("Укажите имя новой папки."));
    EXPECT_EQ(dialog->textValue(), QStringLiteral("Новая папка"));
    EXPECT_EQ(dialog->okButtonText(), QStringLiteral("Создать"));
    EXPECT_EQ(dialog->findChild<QLineEdit *>()->placeholderText(), QStringLiteral("Имя"));
    dialog->setTextValue(QStringLiteral("Backup"));
    dialog->accept();
    f.settleScreen();
    EXPECT_FALSE(f.state->nameAction());
    EXPECT_TRUE(f.h.fake.calls().contains(QStringList{QStringLiteral("-s"), FileScreenHarness::serial, QStringLiteral("shell"),
                                                      QStringLiteral("mkdir -- '/sdcard/Backup'")}));

    // Cancelling calls nothing.
    f.h.fake.clearCalls();
    f.model()->deviceSelection.set({QStringLiteral("/sdcard/notes.txt")});
    settle();
    f.view->devicePane()->renameButton()->click();
    dialog = qobject_cast<QInputDialog *>(f.view->nameDialog()->dialog());
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Переименовать"));
    EXPECT_EQ(dialog->textValue(), QStringLiteral("notes.txt"));
    EXPECT_EQ(dialog->okButtonText(), QStringLiteral("Переименовать"));
    dialog->reject();
    f.settleScreen();
    EXPECT_FALSE(f.state->nameAction());
    EXPECT_TRUE(f.h.fake.calls().isEmpty());
}

TEST(FileManagerScreen, DeleteConfirmationsAndTheErrorAlert)
{
    FileScreenHarness f(kDeviceEntries, {QStringLiteral("a.txt"), QStringLiteral("b.txt"), QStringLiteral("c.txt")});
    f.model()->localSelection.set({f.downloads + QStringLiteral("/a.txt"), f.downloads + QStringLiteral("/b.txt"),
                                   f.downloads + QStringLiteral("/c.txt")});
    settle();
    std::unique_ptr<QMenu> menu(f.view->localPane()->makeContextMenu());
    QAction *trash = menu->actions().last();
    EXPECT_EQ(trash->text(), QStringLiteral("Переместить в Корзину"));
    trash->trigger();
    auto *box = qobject_cast<QMessageBox *>(f.view->deleteDialog()->dialog());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text(), QStringLiteral("Удалить выбранные объекты: 3?"));
    EXPECT_EQ(box->informativeText(),
              PlatformTexts::text(QStringLiteral("Объекты с Mac будут перемещены в Корзину, откуда их можно восстановить.")));
    box->reject();
    settle();
    EXPECT_FALSE(f.state->deleteSide());
    EXPECT_EQ(QDir(f.downloads).entryList(QDir::Files).size(), 3);

    f.model()->deviceSelection.set({QStringLiteral("/sdcard/notes.txt")});
    settle();
    f.view->devicePane()->deleteButton()->click();
    box = qobject_cast<QMessageBox *>(f.view->deleteDialog()->dialog());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text(), QStringLiteral("Удалить выбранные объекты: 1?"));
    EXPECT_EQ(box->informativeText(), QStringLiteral("Объекты будут безвозвратно удалены с Android. Папки удаляются "
                                                     "вместе со всем содержимым. Отменить это действие нельзя."));
    box->reject();
    settle();

    f.model()->errorMessage.set(QStringLiteral("rm: <busy>"));
    auto *alert = qobject_cast<QMessageBox *>(f.view->errorAlert()->dialog());
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->text(), QStringLiteral("Файловый менеджер"));
    EXPECT_EQ(alert->informativeText(), QStringLiteral("rm: <busy>"));
    EXPECT_EQ(alert->textFormat(), Qt::PlainText);
    ASSERT_EQ(alert->buttons().size(), 1);
    EXPECT_EQ(alert->buttons().at(0)->text(), QStringLiteral("Закрыть"));
    alert->buttons().at(0)->click();
    settle();
    EXPECT_FALSE(f.model()->errorMessage());
}

// What a window system delivers for a double-click: a click, then a press that is also a
// double-click, then its release.
void doubleClick(QWidget *target, QPoint at)
{
    QTest::mouseClick(target, Qt::LeftButton, {}, at);
    QTest::mousePress(target, Qt::LeftButton, {}, at);
    QTest::mouseDClick(target, Qt::LeftButton, {}, at);
    QTest::mouseRelease(target, Qt::LeftButton, {}, at);
}

// One double-click opens a file once.
TEST(FileManagerScreen, DoubleClickOpensOnce)
{
    FileScreenHarness f(kDeviceEntries, {QStringLiteral("report.pdf")});
    FileTableView *table = f.view->localPane()->table();
    const QRect cell = table->visualRect(f.state->localRows()->index(0, 0));
    doubleClick(table->viewport(), cell.center());
    settle();
    EXPECT_EQ(f.desktop.openedPaths, QStringList{f.downloads + QStringLiteral("/report.pdf")});

    // A device file is not opened; a device folder is entered.
    FileTableView *deviceTable = f.view->devicePane()->table();
    f.answerListing(QStringLiteral("/sdcard/DCIM"), {{QStringLiteral("IMG_1.jpg")}});
    doubleClick(deviceTable->viewport(), deviceTable->visualRect(f.state->deviceRows()->index(0, 0)).center());
    f.settleScreen();
    EXPECT_EQ(f.model()->deviceDirectory(), QStringLiteral("/sdcard/DCIM"));
    EXPECT_EQ(shownNames(f.state->deviceRows()), QStringList{"IMG_1.jpg"});
    EXPECT_EQ(f.desktop.openedPaths.size(), 1);
}

TEST(FileManagerScreen, PathFieldsAndTheHiddenToggle)
{
    FileScreenHarness f(kDeviceEntries, {QStringLiteral("visible.txt"), QStringLiteral(".hidden")});
    EXPECT_EQ(shownNames(f.state->localRows()), QStringList{"visible.txt"});
    f.view->localPane()->hiddenToggle()->click();
    f.settleScreen();
    EXPECT_EQ(shownNames(f.state->localRows()), (QStringList{".hidden", "visible.txt"}));
    EXPECT_TRUE(f.model()->showHiddenFiles());

    // Return in a path field is the jump button.
    f.answerListing(QStringLiteral("/sdcard/DCIM"), {{QStringLiteral("IMG_1.jpg")}});
    DeckTextField *path = f.view->devicePane()->pathField();
    path->lineEdit()->selectAll();
    QTest::keyClicks(path->lineEdit(), QStringLiteral("DCIM"));
    EXPECT_EQ(f.model()->devicePathInput(), QStringLiteral("DCIM"));
    QTest::keyClick(path->lineEdit(), Qt::Key_Return);
    f.settleScreen();
    EXPECT_EQ(f.model()->deviceDirectory(), QStringLiteral("/sdcard/DCIM"));
    EXPECT_EQ(path->text(), QStringLiteral("/sdcard/DCIM"));

    // The computer's root has no parent.
    f.model()->chooseLocalDirectory(QStringLiteral("/"));
    f.settleScreen();
    EXPECT_FALSE(f.view->localPane()->upButton()->isEnabled());
}

TEST(FileManagerScreen, CompactAndWideArrangements)
{
    FileScreenHarness wide(kDeviceEntries, {}, 1100);
    EXPECT_TRUE(wide.view->splitter());
    EXPECT_EQ(wide.view->transferColumn()->width(), FileManagerView::kTransferWidth);
    EXPECT_GE(wide.view->localPane()->width(), FileManagerView::kPaneMinimumWidth);
    EXPECT_EQ(wide.view->uploadButton()->text(), QStringLiteral("На Android"));
    EXPECT_EQ(wide.view->downloadButton()->text(), PlatformTexts::text(QStringLiteral("На Mac")));
    EXPECT_FALSE(wide.view->devicePane()->table()->isColumnHidden(DeviceFileTableModel::modifiedColumn));

    wide.reader->resize(700, 640);
    settle();
    EXPECT_FALSE(wide.view->splitter());
    EXPECT_EQ(wide.view->transferColumn()->width(), FileManagerView::kCompactTransferWidth);
    EXPECT_TRUE(wide.view->uploadButton()->text().isEmpty());
    EXPECT_TRUE(wide.view->devicePane()->table()->isColumnHidden(DeviceFileTableModel::modifiedColumn));
    EXPECT_EQ(shownNames(wide.state->deviceRows()).size(), 5);

    FileScreenHarness routeStyle(kDeviceEntries, {}, 1100, true, false);
    EXPECT_FALSE(routeStyle.view->header());
}

// The transfer buttons hold their symbol and caption whole in both arrangements (the caption
// comes after the button is made), and the hidden-files box is the design's, which reads in
// the dark scheme.
TEST(FileManagerScreen, TransferCaptionsSitInsideTheirButtons)
{
    for (const int width : {1100, 700}) {
        FileScreenHarness f(kDeviceEntries, {}, width);
        for (DeckButton *button : {f.view->uploadButton(), f.view->downloadButton()}) {
            SCOPED_TRACE(button->text().toStdString() + " at " + std::to_string(width));
            EXPECT_EQ(button->height(), button->sizeHint().height());
            const qreal caption = button->text().isEmpty() ? 0 : 4 + QFontMetricsF(Typo::caption()).height();
            EXPECT_GE(button->height(), int(2 * 8 + 15 + caption));
        }
    }
    // The unchecked box's outline against the pane, as the eye meets it: at least the 3:1 of
    // a control's boundary, in both schemes.
    const auto luminance = [](QColor c) {
        const auto channel = [](qreal v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    for (ColorScheme scheme : {ColorScheme::dark, ColorScheme::light}) {
        Theme::apply(scheme, false);
        FileScreenHarness f(kDeviceEntries, {});
        DeckCheckbox *hidden = f.view->localPane()->hiddenToggle();
        ASSERT_TRUE(hidden);
        QWidget *pane = f.view->localPane();
        const QImage look = pane->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QPoint origin = hidden->mapTo(pane, QPoint(0, hidden->height() / 2)) * pane->devicePixelRatio();
        qreal best = 1;
        const qreal behind = luminance(look.pixelColor(origin));
        for (int x = 1; x < int(DeckCheckbox::kBoxSize) + 4; ++x) {
            const qreal l = luminance(look.pixelColor(origin + QPoint(x, 0)));
            best = std::max(best, (std::max(l, behind) + 0.05) / (std::min(l, behind) + 0.05));
        }
        EXPECT_GE(best, 3.0) << int(scheme);
    }
    Theme::apply(ColorScheme::dark, false);
}

// The route keeps its file manager in the window's memory; the window has one of its own,
// which goes with the window.
TEST(FileManagerScreen, TheWindowOwnsItsModelAndClosingItEndsIt)
{
    ShellHarness h;
    KestrelApp app(h.model.get(), h.settings.get());
    app.showFileManagerWindow();
    QPointer<QWidget> window = app.fileManagerWindow();
    ASSERT_TRUE(window);
    auto *view = window->findChild<FileManagerView *>();
    ASSERT_TRUE(view);
    EXPECT_TRUE(view->header());
    QPointer<DeviceFileManagerModel> model = view->state()->model();
    ASSERT_TRUE(settleCommands());
    window->close();
    settle();
    ASSERT_TRUE(waitUntil([&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return !window;
    }));
    EXPECT_FALSE(model);
    app.showFileManagerWindow();
    auto *again = app.fileManagerWindow()->findChild<FileManagerView *>();
    ASSERT_TRUE(again);
    EXPECT_NE(again->state()->model(), nullptr);
}

// The status bar keeps the counts at its right edge and wraps them under the status text when
// the window is too narrow for one line; the action bars' buttons stand Space::xs apart.
TEST(FileManagerScreen, StatusBarWrapsAndActionBarsAreTight)
{
    FileScreenHarness f(kDeviceEntries, {}, 1100);
    FileManagerView *v = f.view;
    const auto rightEdge = [&](QWidget *w) { return w->mapTo(v, QPoint(w->width(), 0)).x(); };
    EXPECT_EQ(rightEdge(v->countsLabel()), v->width() - int(Space::gutter));
    EXPECT_NEAR(v->countsLabel()->geometry().center().y(), v->statusLabel()->geometry().center().y(), 1);
    for (FilePane *pane : {v->localPane(), v->devicePane()})
        EXPECT_EQ(pane->renameButton()->x() - pane->newFolderButton()->geometry().right() - 1, int(Space::xs));

    f.model()->statusText.set(QStringLiteral("Копирование на Android: DCIM/Camera/IMG_20240101_120000.jpg, "
                                             "осталось 12 объектов из 40"));
    f.reader->resize(640, 640);
    settle();
    EXPECT_GT(v->countsLabel()->y(), v->statusLabel()->y());
    EXPECT_EQ(rightEdge(v->countsLabel()), v->width() - int(Space::gutter));
    // Both lines stay inside the bar.
    EXPECT_LE(v->countsLabel()->geometry().bottom(), v->countsLabel()->parentWidget()->height());
}

// No button of a pane's action bar stands alone on a line: in the route at 820 px the three
// went one per line, in the window "В Корзину" and "Удалить" each on a line of its own, because
// the box and the count kept a column beside them. At every width from the route's at 820 px
// on, each button's line holds another control of its bar, and the bar is never taller than
// two lines.
TEST(FileManagerScreen, ActionBarButtonsNeverStandAloneOnALine)
{
    FileScreenHarness f(kDeviceEntries, {}, 1400);
    bool wrapped = false;
    for (int width = 580; width <= 1400; width += 10) {
        f.reader->resize(width, 640);
        settle();
        for (FilePane *pane : {f.view->localPane(), f.view->devicePane()}) {
            SCOPED_TRACE(testing::Message() << width << " px, " << pane->actionBar()->objectName().toStdString());
            QWidget *bar = pane->actionBar();
            QList<QWidget *> controls{pane->newFolderButton(), pane->renameButton(), pane->deleteButton()};
            controls << (pane->hiddenToggle() ? static_cast<QWidget *>(pane->hiddenToggle())
                                              : static_cast<QWidget *>(pane->selectionCount()));
            QSet<int> lines;
            for (QWidget *button : controls.mid(0, 3)) {
                lines << GeometryWalk::inWindow(button).center().y();
                const bool partnered = std::any_of(controls.begin(), controls.end(), [&](QWidget *other) {
                    return other != button && GeometryWalk::shareALine(button, other);
                });
                EXPECT_TRUE(partnered) << GeometryWalk::describe(button).toStdString() << " stands alone on its line";
                EXPECT_TRUE(QRect(QPoint(), bar->size()).contains(QRect(button->mapTo(bar, QPoint()), button->size())));
            }
            EXPECT_LE(bar->height(), bar->heightForWidth(4000) * 2);
            wrapped |= lines.size() > 1;
        }
    }
    EXPECT_TRUE(wrapped); // the widths pass where the buttons take two lines
}

// The name column keeps at least 88 px and the date column at least 76, however the user drags
// and however narrow the pane.
TEST(FileManagerScreen, NameAndDateColumnsKeepTheirMinimums)
{
    FileScreenHarness f(kDeviceEntries, {}, 1100);
    FileTableView *table = f.view->localPane()->table();
    QHeaderView *header = table->horizontalHeader();
    header->resizeSection(LocalFileTableModel::modifiedColumn, 30);
    settle();
    EXPECT_EQ(header->sectionSize(LocalFileTableModel::modifiedColumn), 76);
    // Dragging the date column wide leaves the name its 88 px of the table's width.
    const auto nameShown = [&] {
        return table->viewport()->width() - header->sectionSize(LocalFileTableModel::sizeColumn)
               - header->sectionSize(LocalFileTableModel::modifiedColumn);
    };
    header->resizeSection(LocalFileTableModel::modifiedColumn, table->viewport()->width());
    settle();
    EXPECT_EQ(nameShown(), 88);
    EXPECT_GE(header->sectionSize(LocalFileTableModel::nameColumn), 88);
    // A narrow pane takes the room from the other columns, the last first, each down to its
    // own minimum.
    header->resizeSection(LocalFileTableModel::modifiedColumn, 140);
    table->resize(table->width() - table->viewport()->width() + 88 + 72 + 76 + 10, table->height());
    settle();
    EXPECT_GE(nameShown(), 88);
    EXPECT_EQ(header->sectionSize(LocalFileTableModel::modifiedColumn), 76 + 10);
    EXPECT_EQ(header->sectionSize(LocalFileTableModel::sizeColumn), 72);
    table->resize(table->width() - 20, table->height());
    settle();
    EXPECT_GE(nameShown(), 88);
    EXPECT_EQ(header->sectionSize(LocalFileTableModel::modifiedColumn), 76);
    EXPECT_EQ(header->sectionSize(LocalFileTableModel::sizeColumn), 62);
}

// A change of scheme rebuilds the file manager; its columns come back as wide as they were, so
// "Размер" is never cut, in the file-manager window and on the Files route alike.
TEST(FileManagerScreen, ColumnsKeepTheirWidthsThroughAChangeOfScheme)
{
    ShellHarness h;
    h.connect();
    KestrelApp app(h.model.get(), h.settings.get());
    app.showMainWindow();
    app.mainWindow()->resize(1360, 880);
    h->route.set(AppRoute::files);
    app.showFileManagerWindow();
    app.fileManagerWindow()->resize(1280, 780);
    settle();
    const QList<std::pair<const char *, QWidget *>> places{{"window", app.fileManagerWindow()},
                                                           {"route", app.mainWindow()}};
    // Every column's width in each table of each place, and the room the size title needs.
    const auto widths = [&] {
        QList<int> all;
        for (const auto &[place, window] : places) {
            const QList<FileTableView *> tables = window->findChildren<FileTableView *>();
            EXPECT_EQ(tables.size(), 2) << place;
            for (FileTableView *table : tables) {
                QHeaderView *header = table->horizontalHeader();
                const QString title = table->model()->headerData(LocalFileTableModel::sizeColumn, Qt::Horizontal).toString();
                const int needed = header->fontMetrics().horizontalAdvance(title) + 2 * int(Space::s);
                EXPECT_GE(header->sectionSize(LocalFileTableModel::sizeColumn), needed) << place;
                for (int column = 0; column < header->count(); ++column)
                    all << header->sectionSize(column);
            }
        }
        return all;
    };
    const QList<int> first = widths();
    for (AppearanceMode mode : {AppearanceMode::light, AppearanceMode::dark}) {
        h.settings->appearance.set(mode);
        h.settings->applyAppearance();
        settle();
        EXPECT_EQ(widths(), first) << int(mode);
    }
}

} // namespace

