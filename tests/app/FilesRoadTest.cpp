#include "AppTest.h"

#include "core/AppModel.h"
#include "design/DeckText.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QScopeGuard>
#include <QMap>
#include <QStandardPaths>
#include <QTableView>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Names a shell would read as something else: quotes, command substitution, a leading dash,
// Cyrillic letters and guillemets.
const QString kQuoted = QStringLiteral("it's \"quoted\".txt");
const QString kDollar = QStringLiteral("$(touch PWNED).txt");
const QString kDash = QStringLiteral("-rf");
const QString kCyrillic = QStringLiteral("Отчёт «март».txt");
const QString kDeviceDash = QStringLiteral("-n 'x'.log");
const QString kDeviceDollar = QStringLiteral("$(reboot)");
const QString kDeviceCyrillic = QStringLiteral("Фото «лето».jpg");

// Every entry under `root` by its relative path: "dir" for a folder, else the file's content.
using Tree = QMap<QString, QByteArray>;
Tree treeOf(const QString &root)
{
    Tree tree;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(root).relativeFilePath(path);
        const QFileInfo info(path);
        if (info.isDir()) {
            tree.insert(relative, "dir");
        } else {
            QFile file(path);
            tree.insert(relative, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>"));
        }
    }
    return tree;
}

QString describe(const Tree &tree)
{
    QStringList lines;
    for (auto it = tree.begin(); it != tree.end(); ++it)
        lines << it.key() + QStringLiteral(" = ") + QString::fromUtf8(it.value());
    return lines.join(QLatin1Char('\n'));
}

void writeFile(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(content);
}

// Whether a file called `name` exists anywhere under `root`.
bool foundAnywhere(const QString &root, const QString &name)
{
    QDirIterator it(root, {name}, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    return it.hasNext();
}

class FilesRoad : public AppTest {
protected:
    const QString deviceFolder = QStringLiteral("/sdcard/Road");
    QString computerFolder;

    void SetUp() override
    {
        AppTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        computerFolder = session->path(QStringLiteral("home/work"));
        for (const auto &[name, content] :
             {std::pair{kQuoted, "quote"}, std::pair{kDollar, "dollar"}, std::pair{kDash, "dash"},
              std::pair{kCyrillic, "cyrillic"}, std::pair{QStringLiteral("keep.txt"), "keep"}})
            writeFile(computerFolder + QLatin1Char('/') + name, content);
        for (const auto &[name, content] :
             {std::pair{kDeviceDash, "device dash"}, std::pair{kDeviceDollar, "device dollar"},
              std::pair{kDeviceCyrillic, "device cyrillic"}, std::pair{QStringLiteral("untouched.txt"), "untouched"}})
            writeFile(phone->storagePath(deviceFolder + QLatin1Char('/') + name), content);
    }

    // The phone's whole shared storage, the road's folder inside it.
    QString storageRoot() const { return phone->storagePath(QStringLiteral("/sdcard")); }
    QString inStorage(const QString &name) const
    {
        return QDir(storageRoot()).relativeFilePath(phone->storagePath(deviceFolder + QLatin1Char('/') + name));
    }

    // --- the file manager as shown in `window`
    static QString paneName(FileManagerSide side)
    {
        return side == FileManagerSide::local ? QStringLiteral("localPane") : QStringLiteral("devicePane");
    }
    // The pane, or none while it is not shown.
    QWidget *pane(QWidget *window, FileManagerSide side) const { return lookup(paneName(side), window); }
    // A button of a shown pane, by its name.
    QWidget *paneButton(QWidget *window, FileManagerSide side, const QString &name) const
    {
        QWidget *shown = find(paneName(side), window);
        return shown ? find(name, shown) : nullptr;
    }
    QTableView *table(QWidget *window, FileManagerSide side) const
    {
        QWidget *p = pane(window, side);
        return p ? firstShown<QTableView>(p) : nullptr;
    }
    QStringList rows(QWidget *window, FileManagerSide side) const { return rowTexts(table(window, side)); }
    QString status(QWidget *window) const
    {
        QWidget *bar = lookup(QStringLiteral("statusBar"), window);
        auto *text = bar ? firstShown<DeckText>(bar) : nullptr;
        return text ? text->text() : QString();
    }
    void waitForStatus(QWidget *window, const QString &text)
    {
        ASSERT_TRUE(eventually([&] { return status(window) == text; }))
            << "status \"" << status(window).toStdString() << "\", awaited \"" << text.toStdString() << "\"";
    }
    bool shows(QWidget *window, FileManagerSide side, const QStringList &names) const
    {
        const QStringList shown = rows(window, side);
        return std::all_of(names.begin(), names.end(), [&](const QString &n) { return shown.contains(n); });
    }

    // Types a folder into a pane's path field and goes there with Return.
    void goToFolder(QWidget *window, FileManagerSide side, const QString &path, const QStringList &expected)
    {
        auto *field = findAll(side == FileManagerSide::local ? QStringLiteral("localPath") : QStringLiteral("devicePath"),
                              window)
                          .value(0);
        ASSERT_TRUE(field);
        auto *edit = field->findChild<QLineEdit *>();
        ASSERT_TRUE(edit);
        ASSERT_TRUE(eventually([&] { return edit->isEnabled(); })) << "the path field stays disabled";
        click(edit);
        key(Qt::Key_A, Qt::ControlModifier);
        type(path);
        key(Qt::Key_Return);
        ASSERT_TRUE(eventually([&] { return shows(window, side, expected); }))
            << "the pane shows " << rows(window, side).join(QStringLiteral(" | ")).toStdString();
    }

    // Selects exactly `names` in a pane: a plain click, then clicks with Control held.
    void select(QWidget *window, FileManagerSide side, const QStringList &names)
    {
        for (qsizetype i = 0; i < names.size(); ++i)
            clickRow(table(window, side), names[i], Qt::LeftButton, i == 0 ? Qt::NoModifier : Qt::ControlModifier);
    }

    // The name dialog: waits for its field, replaces the text and confirms with Return or a button.
    void answerName(const QString &name, const QString &confirmButton = QString())
    {
        QLineEdit *edit = nullptr;
        ASSERT_TRUE(eventually([&] {
            QWidget *shown = dialog();
            edit = shown ? qobject_cast<QLineEdit *>(shown->focusWidget()) : nullptr;
            return edit && shown->isActiveWindow();
        }, 10000)) << "no name dialog with its field focused";
        key(Qt::Key_A, Qt::ControlModifier);
        type(name);
        ASSERT_EQ(edit->text(), name);
        if (confirmButton.isEmpty())
            key(Qt::Key_Return);
        else
            answer(confirmButton);
        ASSERT_TRUE(eventually([&] { return dialog() == nullptr; }, 10000)) << "the dialog stayed";
    }

    void rightClickRow(QWidget *window, FileManagerSide side, const QString &name)
    {
        clickRow(table(window, side), name, Qt::RightButton);
    }

    // No error alert is shown.
    void expectNoAlert()
    {
        if (QWidget *shown = dialog())
            ADD_FAILURE() << "an unexpected dialog: " << describeTree(shown).toStdString();
    }

    // The whole round of operations in `window`, then both folders compared with what they
    // should hold.
    void driveEveryOperation(QWidget *window)
    {
        const Tree computerBefore = treeOf(computerFolder);
        const Tree deviceBefore = treeOf(storageRoot());
        const int bootsBefore = phone->device().value(QStringLiteral("boot_count")).toInt();

        goToFolder(window, FileManagerSide::local, computerFolder, {kQuoted, kDollar, kDash, kCyrillic});
        goToFolder(window, FileManagerSide::device, deviceFolder, {kDeviceDash, kDeviceDollar, kDeviceCyrillic});

        // Upload through the transfer column.
        select(window, FileManagerSide::local, {kQuoted, kDollar, kDash, kCyrillic});
        click(find(QStringLiteral("Скопировать выбранное с компьютера на Android"), window));
        waitForStatus(window, QStringLiteral("Скопировано на Android: 4 из 4"));
        ASSERT_TRUE(eventually([&] { return shows(window, FileManagerSide::device, {kQuoted, kDollar, kDash, kCyrillic}); }));

        // Download through the transfer column.
        select(window, FileManagerSide::device, {kDeviceDash, kDeviceDollar, kDeviceCyrillic});
        click(find(QStringLiteral("Скопировать выбранное с Android на компьютер"), window));
        waitForStatus(window, QStringLiteral("Скопировано на компьютер: 3 из 3"));
        ASSERT_TRUE(eventually([&] {
            return shows(window, FileManagerSide::local, {kDeviceDash, kDeviceDollar, kDeviceCyrillic});
        }));

        // A new device folder through the pane's button, confirmed with Return.
        const QString deviceNew = QStringLiteral("$(id) -p 'папка'");
        click(paneButton(window, FileManagerSide::device, QStringLiteral("Новая папка")));
        answerName(deviceNew);
        ASSERT_TRUE(eventually([&] { return shows(window, FileManagerSide::device, {deviceNew}); }));

        // A new computer folder through the context menu, confirmed with the dialog's button.
        const QString computerNew = QStringLiteral("\"x\" -v $(pwd)");
        rightClickRow(window, FileManagerSide::local, QStringLiteral("keep.txt"));
        chooseInMenu(QStringLiteral("Новая папка"));
        answerName(computerNew, QStringLiteral("Создать"));
        ASSERT_TRUE(eventually([&] { return shows(window, FileManagerSide::local, {computerNew}); }));

        // A device rename through the context menu (the row right-clicked is the one renamed).
        const QString deviceRenamed = QStringLiteral("-rf 'renamed' $(x)");
        rightClickRow(window, FileManagerSide::device, kDash);
        chooseInMenu(QStringLiteral("Переименовать"));
        answerName(deviceRenamed);
        ASSERT_TRUE(eventually([&] {
            return shows(window, FileManagerSide::device, {deviceRenamed}) && !rows(window, FileManagerSide::device).contains(kDash);
        }));

        // A computer rename through the pane's button.
        const QString computerRenamed = QStringLiteral("Лог \"-n\".log");
        select(window, FileManagerSide::local, {kDeviceDash});
        click(paneButton(window, FileManagerSide::local, QStringLiteral("Переименовать")));
        answerName(computerRenamed, QStringLiteral("Переименовать"));
        ASSERT_TRUE(eventually([&] { return shows(window, FileManagerSide::local, {computerRenamed}); }));

        // A device delete through the pane's button.
        select(window, FileManagerSide::device, {kDeviceDollar});
        click(paneButton(window, FileManagerSide::device, QStringLiteral("Удалить")));
        answer(QStringLiteral("Удалить безвозвратно"));
        ASSERT_TRUE(eventually([&] { return !rows(window, FileManagerSide::device).contains(kDeviceDollar); }));

        // A computer delete through the context menu: to the Trash.
        rightClickRow(window, FileManagerSide::local, kDollar);
        chooseInMenu(QStringLiteral("Переместить в Корзину"));
        answer(QStringLiteral("Переместить в Корзину"));
        ASSERT_TRUE(eventually([&] { return !rows(window, FileManagerSide::local).contains(kDollar); }));
        settle();
        expectNoAlert();

        // Exactly these changes, and nothing else on either side.
        Tree computerExpected = computerBefore;
        computerExpected.insert(computerRenamed, "device dash");
        computerExpected.insert(kDeviceDollar, "device dollar");
        computerExpected.insert(kDeviceCyrillic, "device cyrillic");
        computerExpected.insert(computerNew, "dir");
        computerExpected.remove(kDollar);
        EXPECT_EQ(treeOf(computerFolder), computerExpected) << describe(treeOf(computerFolder)).toStdString();
        Tree deviceExpected = deviceBefore;
        deviceExpected.insert(inStorage(kQuoted), "quote");
        deviceExpected.insert(inStorage(kDollar), "dollar");
        deviceExpected.insert(inStorage(deviceRenamed), "dash");
        deviceExpected.insert(inStorage(kCyrillic), "cyrillic");
        deviceExpected.insert(inStorage(deviceNew), "dir");
        deviceExpected.remove(inStorage(kDeviceDollar));
        EXPECT_EQ(treeOf(storageRoot()), deviceExpected) << describe(treeOf(storageRoot())).toStdString();

        // The file sent to the Trash can be had back.
        const QString trash = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                              QStringLiteral("/Trash/files/") + kDollar;
        QFile trashed(trash);
        EXPECT_TRUE(trashed.open(QIODevice::ReadOnly) && trashed.readAll() == "dollar") << trash.toStdString();

        // No name ran as a command on either side.
        EXPECT_FALSE(foundAnywhere(phone->stateFolder() + QStringLiteral("/fs"), QStringLiteral("PWNED")));
        EXPECT_FALSE(foundAnywhere(session->path(), QStringLiteral("PWNED")));
        EXPECT_FALSE(QFileInfo::exists(QDir::currentPath() + QStringLiteral("/PWNED")));
        EXPECT_EQ(phone->device().value(QStringLiteral("boot_count")).toInt(), bootsBefore) << "the phone rebooted";
    }
};

// The files route: every operation through the panes' buttons, the transfer column and the
// context menus, with names a shell would misread.
TEST_F(FilesRoad, EveryOperationOnTheFilesRouteChangesOnlyWhatItShould)
{
    goTo(AppRoute::files);
    driveEveryOperation(mainWindow());
}

// The same in the file-manager window, opened from the menu.
TEST_F(FilesRoad, EveryOperationInTheFileManagerWindowChangesOnlyWhatItShould)
{
    chooseMenu(QStringLiteral("Окно"), QStringLiteral("Файловый менеджер"));
    QWidget *window = nullptr;
    ASSERT_TRUE(eventually([&] {
        for (QWidget *w : windows())
            if (w != mainWindow() && w->objectName() == QStringLiteral("file-manager") && w->isActiveWindow())
                window = w;
        return window != nullptr;
    }, 10000)) << "the file-manager window did not open";
    driveEveryOperation(window);
}

// A device folder holding one name that is not UTF-8: every other entry is listed and usable;
// that one is shown, marked, counted in the status line, and takes no action.
TEST_F(FilesRoad, ANameThatIsNotUtf8LeavesTheRestOfTheFolderUsable)
{
    const QString folder = QStringLiteral("/sdcard/Mixed");
    writeFile(phone->storagePath(folder + QStringLiteral("/a.txt")), "a");
    writeFile(phone->storagePath(folder + QStringLiteral("/b.txt")), "b");
    const QByteArray bad = QFile::encodeName(phone->storagePath(folder)) + "/bad\xff.txt";
    const int fd = ::open(bad.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    ASSERT_GE(fd, 0);
    // Qt cannot name it to remove it with the session's folder.
    const auto removeBad = qScopeGuard([&] { ::unlink(bad.constData()); });
    ASSERT_EQ(::write(fd, "x", 1), 1);
    ::close(fd);

    goTo(AppRoute::files);
    QWidget *window = mainWindow();
    const QString shownBad = QStringLiteral("bad") + QChar(QChar::ReplacementCharacter) + QStringLiteral(".txt");
    goToFolder(window, FileManagerSide::device, folder, {QStringLiteral("a.txt"), QStringLiteral("b.txt"), shownBad});
    EXPECT_EQ(status(window), QStringLiteral("Объектов на Android: 3 · недоступны (имя не в UTF-8): 1"));
    expectNoAlert();

    // A click on it selects nothing; the download stays unavailable.
    QWidget *download = find(QStringLiteral("Скопировать выбранное с Android на компьютер"), window);
    clickRow(table(window, FileManagerSide::device), shownBad);
    settle();
    ASSERT_TRUE(table(window, FileManagerSide::device));
    EXPECT_TRUE(table(window, FileManagerSide::device)->selectionModel()->selectedRows().isEmpty());
    EXPECT_FALSE(download->isEnabled());

    // The other names are reached as usual.
    goToFolder(window, FileManagerSide::local, computerFolder, {QStringLiteral("keep.txt")});
    select(window, FileManagerSide::device, {QStringLiteral("a.txt")});
    click(download);
    waitForStatus(window, QStringLiteral("Скопировано на компьютер: 1 из 1"));
    QFile copied(computerFolder + QStringLiteral("/a.txt"));
    EXPECT_TRUE(copied.open(QIODevice::ReadOnly) && copied.readAll() == "a");
}

} // namespace
