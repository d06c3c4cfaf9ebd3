#include "AppTest.h"

#include "FakeDesktop.h"

#include "bridge/PackagePreset.h"
#include "core/AppModel.h"
#include "design/Labels.h"
#include "design/Transition.h"
#include "screens/packages/PresetCardDelegate.h"

#include <QAbstractItemView>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QScrollArea>
#include <QTimer>

#include <algorithm>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class PresetsRoad : public AppTest {
protected:
    FakeDesktop desktop;

    // Two user packages enabled on the phone, with labels of their own.
    QList<QJsonObject> targets() const
    {
        QStringList labels;
        for (const QJsonValue &v : phone->packages())
            labels << v.toObject().value(QStringLiteral("label")).toString();
        QList<QJsonObject> found;
        for (const QJsonValue &v : phone->packages()) {
            const QJsonObject p = v.toObject();
            const int enabled = p.value(QStringLiteral("enabled")).toInt();
            if (!p.value(QStringLiteral("system")).toBool() && p.value(QStringLiteral("installed")).toBool()
                && (enabled == 0 || enabled == 1) && !p.contains(QStringLiteral("failures"))
                && labels.count(p.value(QStringLiteral("label")).toString()) == 1 && found.size() < 2)
                found << p;
        }
        return found;
    }
    // Where the application keeps the user's presets.
    static QString libraryFolder() { return AppModel::defaultPresetLibraryFolder(); }
    static QStringList libraryFiles()
    {
        return QDir(libraryFolder()).entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    }
    // The library's grid while it is shown (it is not while the library is empty).
    QListView *grid() const
    {
        const QList<QWidget *> shown = findAll(QStringLiteral("presets-grid"));
        return shown.size() == 1 ? qobject_cast<QListView *>(shown.first()) : nullptr;
    }
    // A click on a button painted on the card of `row` (the card draws its buttons itself).
    void clickCard(int row, QRectF PresetCardDelegate::Layout::*button, const PackagePreset &preset)
    {
        QListView *cards = grid();
        ASSERT_TRUE(cards);
        auto *delegate = qobject_cast<PresetCardDelegate *>(cards->itemDelegate());
        ASSERT_TRUE(delegate);
        const QRect cell = cards->visualRect(cards->model()->index(row, 0));
        const QPoint at = (delegate->layout(cell, preset).*button).center().toPoint();
        scrollTo(cards->viewport(), QRect(at, QSize(1, 1)));
        click(cards->viewport(), at);
    }
    // Scrolls the Presets page as the user would until `rect` of `w` is in sight.
    void scrollTo(QWidget *w, const QRect &rect)
    {
        auto *scroll = qobject_cast<QScrollArea *>(find(QStringLiteral("presets-scroll")));
        ASSERT_TRUE(scroll);
        const QRect inPage(w->mapTo(scroll->widget(), rect.topLeft()), rect.size());
        scroll->ensureVisible(inPage.center().x(), inPage.center().y(), rect.width() / 2 + 1, rect.height() / 2 + 1);
        QCoreApplication::processEvents();
    }
    // A button whose menu opens on the press: the item is chosen once the menu shows.
    void chooseFromMenuButton(QWidget *button, const QString &item)
    {
        ASSERT_TRUE(button);
        click(button);
        chooseInMenu(item);
    }
    // The line edit of a text field, by its placeholder (the field itself carries the same name).
    QWidget *field(const QString &placeholder) const
    {
        for (QWidget *w : findAll(placeholder))
            if (qobject_cast<QLineEdit *>(w))
                return w;
        ADD_FAILURE() << "no field \"" << placeholder.toStdString() << "\"";
        return nullptr;
    }
    QString libraryHeader() const
    {
        for (SectionHeader *header : mainWindow()->findChildren<SectionHeader *>())
            if (header->isVisible() && header->titleLabel()->text() == QStringLiteral("Библиотека"))
                return header->subtitleLabel()->text();
        return {};
    }
};

// The selection of the Applications screen saved as a preset, previewed and applied on the
// phone, exported to a file of the user's choice and moved to the Trash, all through the screen's
// buttons, its save form, the preview sheet and the confirmations.
TEST_F(PresetsRoad, SavePreviewApplyExportAndDelete)
{
    const QList<QJsonObject> packages = targets();
    ASSERT_EQ(packages.size(), 2);
    QStringList names;
    for (const QJsonObject &p : packages)
        names << p.value(QStringLiteral("name")).toString();
    names.sort();

    // The selection, and "Сохранить как пресет…" from the selection bar's menu.
    goTo(AppRoute::applications);
    QAbstractItemView *list = firstShown<QAbstractItemView>(find(QStringLiteral("packageListPane")));
    // What the list shows: the labels once the phone told them, else the names.
    QStringList labels;
    for (const QJsonObject &p : packages) {
        const QString label = p.value(QStringLiteral("label")).toString();
        labels << (rowTexts(list).contains(label) ? label : p.value(QStringLiteral("name")).toString());
    }
    clickRow(list, labels[0]);
    clickRow(list, labels[1], Qt::LeftButton, Qt::ControlModifier);
    // The user aims at the bar's "…" once the bar has stopped sliding in.
    QWidget *more = nullptr;
    ASSERT_TRUE(eventually([&] {
        QWidget *bar = lookup(QStringLiteral("selectionBar"));
        more = bar && !Transition::isRunning(bar)
                 ? lookup(QStringLiteral("Дополнительные действия над выбранными приложениями"), bar)
                 : nullptr;
        return more && more->isEnabled() && reachable(more);
    })) << "the selection bar's menu";
    chooseFromMenuButton(more, QStringLiteral("Сохранить как пресет…"));
    ASSERT_TRUE(eventually([&] { return findAll(QStringLiteral("Сохранить выбранные")).size() == 1; }))
        << "the Presets screen";
    EXPECT_EQ(libraryHeader(), QStringLiteral("Пока пусто"));

    // The save form: a name of the user's, a description, the action left at disabling.
    settle();
    click(find(QStringLiteral("Сохранить выбранные")));
    ASSERT_TRUE(eventually([&] { return findAll(QStringLiteral("Сохранить в библиотеку")).size() == 1; }));
    QWidget *form = find(QStringLiteral("presets-save-form"));
    ASSERT_TRUE(form);
    // The form unrolls: its fields take clicks once it stands open.
    ASSERT_TRUE(eventually([&] {
        return !Transition::isRunning(form) && reachable(lookup(QStringLiteral("Сохранить в библиотеку")));
    })) << "the save form open";
    EXPECT_TRUE(shownTexts({}, form).contains(QStringLiteral("Будет записано 2 выбранных пакетов")));
    click(field(QStringLiteral("Название")));
    key(Qt::Key_A, Qt::ControlModifier);
    type(QStringLiteral("Банки и такси"));
    click(field(QStringLiteral("Описание (необязательно)")));
    type(QStringLiteral("Проверка пресета"));
    click(find(QStringLiteral("Сохранить в библиотеку")));

    // On disk: one file of the preset, and one card for it.
    ASSERT_TRUE(eventually([&] { return libraryFiles().size() == 1; })) << libraryFolder().toStdString();
    const QString stored = QDir(libraryFolder()).filePath(libraryFiles().first());
    const QJsonObject saved = QJsonDocument::fromJson(readAll(stored)).object();
    EXPECT_EQ(saved.value(QStringLiteral("name")).toString(), QStringLiteral("Банки и такси"));
    EXPECT_EQ(saved.value(QStringLiteral("description")).toString(), QStringLiteral("Проверка пресета"));
    EXPECT_EQ(saved.value(QStringLiteral("action")).toString(), QStringLiteral("disable"));
    EXPECT_EQ(saved.value(QStringLiteral("version")).toInt(), 1);
    EXPECT_EQ(saved.value(QStringLiteral("packages")).toVariant().toStringList(), names);
    EXPECT_TRUE(saved.value(QStringLiteral("createdAt")).toString().endsWith(QLatin1Char('Z')));
    ASSERT_TRUE(eventually([&] { return grid() && rowTexts(grid()) == QStringList{QStringLiteral("Банки и такси")}; }));
    EXPECT_EQ(libraryHeader(), QStringLiteral("1 пресетов"));
    EXPECT_TRUE(findAll(QStringLiteral("presets-save-form")).isEmpty()) << "the form closed";
    const std::optional<PackagePreset> preset = PackagePreset::decode(readAll(stored));
    ASSERT_TRUE(preset);

    // Applied: the preview lists both as found, and the confirmed run disables them on the phone.
    settle();
    clickCard(0, &PresetCardDelegate::Layout::apply, *preset);
    QWidget *preview = nullptr;
    ASSERT_TRUE(eventually([&] { return (preview = dialog()) != nullptr; }));
    EXPECT_EQ(findAll(QStringLiteral("Найдено: 2"), preview).size(), 1);
    EXPECT_EQ(findAll(QStringLiteral("Отсутствует: 0"), preview).size(), 1);
    QStringList shownLabels = rowTexts(find<QAbstractItemView>(QStringLiteral("preset-entries"), preview));
    shownLabels.sort();
    QStringList sortedLabels = labels;
    sortedLabels.sort();
    EXPECT_EQ(shownLabels, sortedLabels);
    EXPECT_TRUE(phone->shellCommands().filter(QStringLiteral("disable-user")).isEmpty()) << "nothing ran yet";
    click(find(QStringLiteral("Выполнить…"), preview));
    QMessageBox *confirmation = nullptr;
    ASSERT_TRUE(eventually([&] { return (confirmation = qobject_cast<QMessageBox *>(dialog())) != nullptr; }));
    answer(QStringLiteral("Отключить"));
    ASSERT_TRUE(eventually([&] {
        for (const QString &name : names)
            if (phone->package(name).value(QStringLiteral("enabled")).toInt() < 2)
                return false;
        return true;
    })) << "both are disabled on the phone";
    settle();
    for (const QString &name : names)
        EXPECT_EQ(phone->shellCommands().count(QStringLiteral("pm disable-user --user 0 ") + name), 1);

    // Exported: the stored file, byte for byte, where the user chose, under its own name by default.
    const QString destination = session->path(QStringLiteral("exported preset.json"));
    desktop.saveAnswer = destination;
    clickCard(0, &PresetCardDelegate::Layout::exportButton, *preset);
    ASSERT_TRUE(eventually([&] { return QFile::exists(destination); }));
    EXPECT_EQ(readAll(destination), readAll(stored));
    ASSERT_FALSE(desktop.requests.isEmpty());
    EXPECT_EQ(desktop.requests.last().suggestedName, libraryFiles().first());
    EXPECT_EQ(libraryFiles().size(), 1) << "an export adds nothing to the library";

    // Deleted: asked first, then the file goes to the Trash and the card leaves.
    clickCard(0, &PresetCardDelegate::Layout::trash, *preset);
    ASSERT_TRUE(eventually([&] { return (confirmation = qobject_cast<QMessageBox *>(dialog())) != nullptr; }));
    EXPECT_EQ(confirmation->text(), QStringLiteral("Удалить пресет «Банки и такси»?"));
    answer(QStringLiteral("Переместить в Корзину"));
    ASSERT_TRUE(eventually([&] { return libraryFiles().isEmpty(); }));
    const QString trash = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Trash/files/");
    EXPECT_EQ(readAll(trash + QFileInfo(stored).fileName()), readAll(destination)) << "the Trash holds it";
    EXPECT_TRUE(eventually([&] { return libraryHeader() == QStringLiteral("Пока пусто"); }));
    EXPECT_EQ(findAll(QStringLiteral("presets-empty")).size(), 1);
    EXPECT_TRUE(QFile::exists(destination)) << "the exported copy stays";
}

// Five presets in the library and the window dragged from its narrowest to well beyond its
// usual width: at every width each card can be scrolled to and seen whole, and none lies over
// another, whatever number of columns the grid chose.
TEST_F(PresetsRoad, EveryCardCanBeSeenAtEveryWidth)
{
    QDir().mkpath(libraryFolder());
    for (int i = 1; i <= 5; ++i) {
        PackagePreset preset;
        preset.name = QStringLiteral("Набор %1").arg(i);
        preset.packages = QStringList{QStringLiteral("com.example.app%1").arg(i)};
        preset.createdAt = QStringLiteral("2026-01-0%1T10:00:00Z").arg(i);
        QFile file(QDir(libraryFolder()).filePath(QStringLiteral("set%1.json").arg(i)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(preset.encode());
    }
    goTo(AppRoute::presets);
    ASSERT_TRUE(eventually([&] { return grid() && rowTexts(grid()).size() == 5; }));
    auto *scroll = qobject_cast<QScrollArea *>(find(QStringLiteral("presets-scroll")));
    ASSERT_TRUE(scroll);

    const int narrowest = mainWindow()->minimumWidth();
    QStringList hidden;
    for (int width = narrowest; width <= 2000; width += 20) {
        resizeWindow(QSize(width, windowSize().height()));
        settle();
        QListView *cards = grid();
        ASSERT_TRUE(cards);
        QList<QRect> seen;
        for (int row = 0; row < 5; ++row) {
            const QRect cell = cards->visualRect(cards->model()->index(row, 0));
            // Within the grid, and once the page is scrolled to it, within the page's window.
            scrollTo(cards->viewport(), cell);
            const QRect inScroll(cards->viewport()->mapTo(scroll->viewport(), cell.topLeft()), cell.size());
            const bool whole = cards->viewport()->rect().contains(cell) && scroll->viewport()->rect().contains(inScroll)
                && reachable(cards->viewport(), cell.center());
            const bool apart = std::none_of(seen.cbegin(), seen.cend(), [&](const QRect &r) { return r.intersects(cell); });
            if (whole && apart)
                seen << cell;
            else
                hidden << QStringLiteral("%1 px: card %2 at %3,%4 %5×%6 in a grid of %7×%8")
                              .arg(width)
                              .arg(row + 1)
                              .arg(cell.x())
                              .arg(cell.y())
                              .arg(cell.width())
                              .arg(cell.height())
                              .arg(cards->viewport()->width())
                              .arg(cards->viewport()->height());
        }
    }
    EXPECT_TRUE(hidden.isEmpty()) << hidden.join(QLatin1Char('\n')).toStdString();
}

} // namespace
