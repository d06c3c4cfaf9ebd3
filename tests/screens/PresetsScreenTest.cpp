// The Presets screen, its cards and the preview sheet: texts and rules, the library through the
// real file system, the model's flows through the fake adb, and pictures of the main states.
#include "screens/packages/PresetCardDelegate.h"
#include "screens/packages/PresetPreviewSheet.h"
#include "screens/packages/PresetsState.h"
#include "screens/packages/PresetsView.h"

#include "core/PlatformTexts.h"
#include "shell/AppDialogs.h"
#include "screenkit/DeckTextField.h"
#include "screenkit/DialogPresenter.h"
#include "screenkit/ScreenMemory.h"

#include "design/Accessibility.h"
#include "design/DeckButton.h"
#include "design/DeckSegmented.h"
#include "design/DeckSizeReader.h"
#include "design/DeckText.h"
#include "design/Labels.h"
#include "design/Motion.h"
#include "design/Panel.h"
#include "design/Theme.h"
#include "design/Tokens.h"
#include "design/Transition.h"

#include "../shell/ShellHarness.h"
#include "../shell/UiTestSupport.h"
#include "FakeDesktop.h"
#include "ScreenTestSupport.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

const QString kSerial = QStringLiteral("R58N12ABCDE");

PackagePreset preset(const QString &name, const QStringList &packages, PresetAction action = PresetAction::disable,
                     const QString &description = {}, const QString &createdAt = QStringLiteral("2026-03-04T05:06:07Z"))
{
    return PackagePreset{1, name, description, action, packages, createdAt};
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
}

struct PresetsFixture {
    ShellHarness h;
    FakeDesktop desktop;
    ScreenMemory memory;
    QTemporaryDir dir;
    QString library = dir.filePath(QStringLiteral("Presets"));
    std::unique_ptr<DeckSizeReader> reader;
    PresetsView *screen = nullptr;
    std::unique_ptr<QAbstractItemModelTester> tester;

    PresetsFixture() { h->presetLibraryFolder = library; }

    void addPreset(const QString &file, const PackagePreset &p)
    {
        QDir().mkpath(library);
        writeFile(QDir(library).filePath(file), p.encode());
    }
    PresetsView *show(int width = 1100, int height = 900)
    {
        screen = new PresetsView(h.model.get(), &memory);
        tester = std::make_unique<QAbstractItemModelTester>(screen->grid()->model(),
                                                            QAbstractItemModelTester::FailureReportingMode::Fatal);
        reader = std::make_unique<DeckSizeReader>(screen);
        reader->resize(width, height);
        reader->show();
        waitReload();
        return screen;
    }
    void waitReload()
    {
        settleCommands();
        settle();
    }
    PresetLibrary *lib() const { return screen->state()->library(); }
    // A card's panel in the grid's viewport.
    QRectF cardPanel(int row) const
    {
        QListView *grid = screen->grid();
        const QRect cell = grid->visualRect(grid->model()->index(row, 0));
        return screen->cardDelegate()->layout(cell, lib()->presets().at(row).preset).panel;
    }
    // A card's button by its rectangle in the grid's viewport.
    void clickCard(int row, QRectF PresetCardDelegate::Layout::*button)
    {
        QListView *grid = screen->grid();
        const QModelIndex index = grid->model()->index(row, 0);
        const QRect cell = grid->visualRect(index);
        const auto layout = screen->cardDelegate()->layout(cell, lib()->presets().at(row).preset);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, (layout.*button).center().toPoint());
        settle();
    }
};

// ---- Rules ----

TEST(PresetCard, CreationTimeAndTexts)
{
    const struct {
        QString createdAt;
        bool verbatim;
    } cases[] = {
        {"2026-03-04T05:06:07Z", false},
        {"2026-03-04T05:06:07+03:00", false},
        {"2026-03-04T05:06:07.5Z", true},
        {"2026-03-04", true},
        {"вчера вечером", true},
        {"2026-03-04 05:06:07", true},
    };
    for (const auto &c : cases) {
        const QString shown = PresetCardDelegate::creationText(c.createdAt);
        if (c.verbatim)
            EXPECT_EQ(shown, c.createdAt) << c.createdAt.toStdString();
        else
            EXPECT_TRUE(shown.contains(QStringLiteral("2026")) && shown != c.createdAt) << shown.toStdString();
    }
    // The locale's abbreviated date and short time, whatever the machine's own locale; midday
    // in UTC stays on the 14th or a neighbour in every time zone.
    const struct {
        QLocale locale;
        const char *pattern;
    } styles[] = {
        {QLocale(QLocale::Russian, QLocale::Russia), R"(^1[345] мар\. 2026 г\., \d{2}:\d{2}$)"},
        {QLocale(QLocale::English, QLocale::UnitedStates), R"(^Mar 1[345], 2026, \d{1,2}:\d{2}.{1,2}[AP]M$)"},
    };
    for (const auto &style : styles) {
        const QString shown = PresetCardDelegate::creationText(QStringLiteral("2026-03-14T12:00:00Z"), style.locale);
        EXPECT_TRUE(QRegularExpression(QString::fromUtf8(style.pattern)).match(shown).hasMatch()) << shown.toStdString();
        // Fractional seconds are not the written form: shown as stored in every locale.
        EXPECT_EQ(PresetCardDelegate::creationText(QStringLiteral("2026-03-14T12:00:00.250Z"), style.locale),
                  QStringLiteral("2026-03-14T12:00:00.250Z"));
    }
    EXPECT_EQ(PresetCardDelegate::abbreviatedDateFormat(QLocale(QLocale::English, QLocale::UnitedStates)),
              QStringLiteral("MMM d, yyyy"));
    EXPECT_EQ(PresetCardDelegate::applyToolTip(true), QStringLiteral("Сверить с устройством и показать предпросмотр"));
    EXPECT_EQ(PresetCardDelegate::applyToolTip(false), QStringLiteral("Требуется подключённое устройство"));
    EXPECT_EQ(PresetCardDelegate::badgeIcon(PresetAction::uninstall), QStringLiteral("minus.circle"));
    EXPECT_EQ(PresetCardDelegate::badgeIcon(PresetAction::disable), QStringLiteral("pause.circle"));
    EXPECT_EQ(PresetsView::saveSelectedToolTip(0), QStringLiteral("Сначала выберите приложения в разделе «Приложения»"));
    EXPECT_EQ(PresetsView::saveSelectedToolTip(3), QStringLiteral("Сохранить 3 выбранных пакетов"));
    EXPECT_FALSE(PresetsView::nameAllowsSaving(QStringLiteral(" \t ")));
    EXPECT_TRUE(PresetsView::nameAllowsSaving(QStringLiteral("\n")));
    EXPECT_TRUE(PresetsView::nameAllowsSaving(QStringLiteral(" a ")));
}

// ---- Screen ----

TEST(PresetsScreen, HeaderFollowsTheSelectionAndOpensTheFolder)
{
    PresetsFixture f;
    PresetsView *s = f.show();
    EXPECT_FALSE(s->saveSelectedButton()->isEnabled());
    EXPECT_EQ(s->saveSelectedButton()->toolTip(), QStringLiteral("Сначала выберите приложения в разделе «Приложения»"));
    EXPECT_TRUE(s->importButton()->isEnabled());
    EXPECT_EQ(s->folderButton()->toolTip(), PlatformTexts::text(QStringLiteral("Открыть папку библиотеки в Finder")));
    f.h->selectedPackageIDs.set({"com.b", "com.a", "com.c"});
    settle();
    EXPECT_TRUE(s->saveSelectedButton()->isEnabled());
    EXPECT_EQ(s->saveSelectedButton()->toolTip(), QStringLiteral("Сохранить 3 выбранных пакетов"));
    EXPECT_EQ(s->formHeader()->subtitleLabel()->text(), QStringLiteral("Будет записано 3 выбранных пакетов"));
    QTest::mouseClick(s->folderButton(), Qt::LeftButton);
    EXPECT_EQ(f.desktop.openedPaths, QStringList{f.library});
    EXPECT_TRUE(QFileInfo(f.library).isDir());

    // An empty library: its subtitle and the 240 px empty panel.
    EXPECT_EQ(s->libraryHeader()->subtitleLabel()->text(), QStringLiteral("Пока пусто"));
    EXPECT_TRUE(s->emptyLibrary()->isVisible());
    EXPECT_FALSE(s->grid()->isVisible());
    const QMarginsF shadow = Panel::shadowMargins(PanelStyle{});
    EXPECT_NEAR(s->emptyLibrary()->height() - shadow.top() - shadow.bottom(), 240, 1);
}

TEST(PresetsScreen, SaveFormDefaultsRulesAndStore)
{
    PresetsFixture f;
    PresetsView *s = f.show();
    f.h->selectedPackageIDs.set({"com.b", "com.a"});
    settle();
    EXPECT_FALSE(s->saveForm()->isVisible());
    QTest::mouseClick(s->saveSelectedButton(), Qt::LeftButton);
    settle();
    EXPECT_TRUE(s->saveForm()->isVisible());
    static const QRegularExpression stamp(QStringLiteral("^Пресет \\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d$"));
    EXPECT_TRUE(stamp.match(s->nameField()->text()).hasMatch()) << s->nameField()->text().toStdString();
    EXPECT_EQ(s->actionPicker()->selection().toInt(), int(PresetAction::disable));

    // A second press resets what the form held.
    typeText(s->descriptionField()->lineEdit(), QStringLiteral("x"));
    QTest::mouseClick(s->actionPicker(), Qt::LeftButton, {}, s->actionPicker()->segmentRects().at(1).center().toPoint());
    EXPECT_EQ(s->state()->presetAction(), PresetAction::uninstall);
    s->nameField()->lineEdit()->selectAll();
    typeText(s->nameField()->lineEdit(), QStringLiteral("другое"));
    ASSERT_EQ(s->nameField()->text(), QStringLiteral("другое"));
    QTest::mouseClick(s->saveSelectedButton(), Qt::LeftButton);
    settle();
    EXPECT_TRUE(stamp.match(s->nameField()->text()).hasMatch());
    EXPECT_EQ(s->descriptionField()->text(), QString());
    EXPECT_EQ(s->state()->presetAction(), PresetAction::disable);

    // Spaces only: both disabled; a line break only: enabled, but nothing is stored.
    s->state()->presetName.set(QStringLiteral("   "));
    settle();
    EXPECT_FALSE(s->storeButton()->isEnabled());
    EXPECT_FALSE(s->exportFormButton()->isEnabled());
    EXPECT_TRUE(s->cancelButton()->isEnabled());
    s->state()->presetName.set(QStringLiteral("\n"));
    settle();
    EXPECT_TRUE(s->storeButton()->isEnabled());
    QTest::mouseClick(s->storeButton(), Qt::LeftButton);
    settle();
    EXPECT_TRUE(f.h->recentOperations().isEmpty());
    EXPECT_TRUE(s->saveForm()->isVisible());

    s->state()->presetName.set(QStringLiteral("  Чистка  "));
    s->state()->presetDescription.set(QStringLiteral(" для всех \n"));
    s->state()->presetAction.set(PresetAction::uninstall);
    settle();
    EXPECT_EQ(s->actionPicker()->selection().toInt(), int(PresetAction::uninstall));
    QTest::mouseClick(s->storeButton(), Qt::LeftButton);
    f.waitReload();
    EXPECT_FALSE(s->saveForm()->isVisible());
    ASSERT_EQ(f.h->recentOperations().size(), 1);
    EXPECT_EQ(f.h->recentOperations().first().title, QStringLiteral("Пресет сохранён"));
    EXPECT_EQ(f.h->recentOperations().first().detail, QStringLiteral("Чистка · 2 пакетов"));
    ASSERT_EQ(f.lib()->presets().size(), 1);
    const StoredPreset stored = f.lib()->presets().first();
    EXPECT_EQ(QFileInfo(stored.path).fileName(), QStringLiteral("Чистка.json"));
    EXPECT_EQ(stored.preset.name, QStringLiteral("Чистка"));
    EXPECT_EQ(stored.preset.description, QStringLiteral("для всех"));
    EXPECT_EQ(stored.preset.action, PresetAction::uninstall);
    EXPECT_EQ(stored.preset.packages, (QStringList{"com.a", "com.b"}));
    static const QRegularExpression utc(QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ$"));
    EXPECT_TRUE(utc.match(stored.preset.createdAt).hasMatch()) << stored.preset.createdAt.toStdString();
    EXPECT_EQ(s->libraryHeader()->subtitleLabel()->text(), QStringLiteral("1 пресетов"));
    EXPECT_TRUE(s->grid()->isVisible());
}

TEST(PresetsScreen, AFailedStoreKeepsTheFormAndRecordsNothing)
{
    PresetsFixture f;
    PresetsView *s = f.show();
    f.h->selectedPackageIDs.set({"com.a"});
    s->prepareSaveForm();
    settle();
    // A file where the library folder should be: the write fails.
    QDir(f.library).removeRecursively();
    writeFile(f.library, "not a folder");
    s->saveToLibrary();
    settle();
    EXPECT_TRUE(s->saveForm()->isVisible());
    EXPECT_TRUE(f.h->recentOperations().isEmpty());
    EXPECT_TRUE(f.h->toasts().isEmpty());
    ASSERT_TRUE(s->errorAlert()->dialog());
    auto *box = qobject_cast<QMessageBox *>(s->errorAlert()->dialog());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text(), QStringLiteral("Библиотека пресетов"));
    EXPECT_TRUE(box->informativeText().startsWith(QStringLiteral("Не удалось сохранить пресет: ")));
    box->reject();
    settle();
    EXPECT_FALSE(f.lib()->errorMessage().has_value());
}

TEST(PresetsScreen, ExportOfTheFormGoesThroughTheModelAndAddsNoCard)
{
    PresetsFixture f;
    PresetsView *s = f.show();
    f.h->selectedPackageIDs.set({"com.a"});
    s->prepareSaveForm();
    settle();
    f.desktop.saveAnswer = f.dir.filePath(QStringLiteral("out.json"));
    QTest::mouseClick(s->exportFormButton(), Qt::LeftButton);
    f.waitReload();
    ASSERT_EQ(f.desktop.requests.size(), 1);
    EXPECT_EQ(f.desktop.requests[0].title, QStringLiteral("Сохранить JSON-пресет"));
    static const QRegularExpression name(QStringLiteral("^larkspur-preset-\\d{8}-\\d{6}\\.json$"));
    EXPECT_TRUE(name.match(f.desktop.requests[0].suggestedName).hasMatch());
    EXPECT_EQ(PackagePreset::decode(readAll(*f.desktop.saveAnswer))->packages, QStringList{"com.a"});
    EXPECT_FALSE(s->saveForm()->isVisible());
    EXPECT_TRUE(f.lib()->presets().isEmpty());

    // A cancelled panel keeps the form; a failed write still closes it (the model reports).
    s->prepareSaveForm();
    f.desktop.saveAnswer.reset();
    s->chooseExportDestination();
    EXPECT_TRUE(s->state()->showSaveForm());
    f.desktop.saveAnswer = f.dir.filePath(QStringLiteral("missing/folder/out.json"));
    s->chooseExportDestination();
    EXPECT_FALSE(s->state()->showSaveForm());
    EXPECT_TRUE(f.h->presetErrorMessage().has_value());
}

TEST(PresetsScreen, ImportCopiesInAndPreviewsTheChosenFile)
{
    PresetsFixture f;
    f.addPreset("Мой.json", preset("Старый", {"com.old"}));
    PresetsView *s = f.show();
    const QString chosen = f.dir.filePath(QStringLiteral("Мой.json"));
    writeFile(chosen, preset("Новый", {"com.a"}).encode());
    f.desktop.openFilesAnswer = {chosen};
    QTest::mouseClick(s->importButton(), Qt::LeftButton);
    f.waitReload();
    EXPECT_EQ(f.desktop.requests.at(0).title, QStringLiteral("Выберите JSON-пресет"));
    EXPECT_EQ(f.desktop.requests.at(0).nameFilters, QStringList{"JSON (*.json)"});
    EXPECT_TRUE(QFileInfo::exists(QDir(f.library).filePath(QStringLiteral("Мой-2.json"))));
    EXPECT_EQ(f.lib()->presets().size(), 2);
    ASSERT_TRUE(f.h->presetPreview().has_value());
    EXPECT_EQ(f.h->presetPreview()->preset.name, QStringLiteral("Новый"));
}

TEST(PresetsScreen, CardsApplyExportAndDelete)
{
    PresetsFixture f;
    f.addPreset("a.json", preset("Первый", {"com.a"}, PresetAction::disable, {}, "2026-01-01T00:00:00Z"));
    f.addPreset("b.json", preset("Второй", {"com.b", "com.c"}, PresetAction::uninstall, "описание", "2026-02-01T00:00:00Z"));
    PresetsView *s = f.show();
    ASSERT_EQ(f.lib()->presets().size(), 2);
    EXPECT_EQ(f.lib()->presets().at(0).preset.name, QStringLiteral("Второй")); // newest first
    EXPECT_EQ(s->libraryHeader()->subtitleLabel()->text(), QStringLiteral("2 пресетов"));

    // No device: "Применить" does nothing; "Экспорт" works.
    f.clickCard(0, &PresetCardDelegate::Layout::apply);
    EXPECT_FALSE(f.h->presetPreview().has_value());
    const QString target = f.dir.filePath(QStringLiteral("exported.json"));
    writeFile(target, "old");
    f.desktop.saveAnswer = target;
    f.clickCard(0, &PresetCardDelegate::Layout::exportButton);
    EXPECT_EQ(f.desktop.requests.last().title, QStringLiteral("Экспорт пресета"));
    EXPECT_EQ(f.desktop.requests.last().suggestedName, QStringLiteral("b.json"));
    EXPECT_EQ(readAll(target), readAll(f.lib()->presets().at(0).path));
    // Onto the stored file itself: it stays whole.
    const QByteArray original = readAll(QDir(f.library).filePath("b.json"));
    f.desktop.saveAnswer = QDir(f.library).filePath("b.json");
    f.clickCard(0, &PresetCardDelegate::Layout::exportButton);
    EXPECT_EQ(readAll(QDir(f.library).filePath("b.json")), original);
    EXPECT_FALSE(s->errorAlert()->dialog());

    // With a device: the preview of the stored file.
    f.h.connect(QStringLiteral("device"), kSerial);
    settle();
    EXPECT_TRUE(s->cardDelegate()->canApply());
    f.clickCard(1, &PresetCardDelegate::Layout::apply);
    ASSERT_TRUE(f.h->presetPreview().has_value());
    EXPECT_EQ(f.h->presetPreview()->preset.name, QStringLiteral("Первый"));

    // Delete asks first; "Отмена" keeps the file.
    f.clickCard(1, &PresetCardDelegate::Layout::trash);
    auto *box = qobject_cast<QMessageBox *>(s->deleteConfirmation()->dialog());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text(), QStringLiteral("Удалить пресет «Первый»?"));
    EXPECT_EQ(box->informativeText(), QStringLiteral("Файл будет перемещён в Корзину — его можно восстановить."));
    box->reject();
    settle();
    EXPECT_TRUE(QFileInfo::exists(QDir(f.library).filePath("a.json")));
    EXPECT_FALSE(s->state()->pendingDelete().has_value());

    QTemporaryDir data; // the desktop Trash lives under XDG_DATA_HOME
    {
        const ScopedEnvironment trashHome("XDG_DATA_HOME", data.path().toUtf8());
        f.clickCard(1, &PresetCardDelegate::Layout::trash);
        box = qobject_cast<QMessageBox *>(s->deleteConfirmation()->dialog());
        ASSERT_TRUE(box);
        press(box, QStringLiteral("Переместить в Корзину"));
        f.waitReload();
    }
    EXPECT_FALSE(QFileInfo::exists(QDir(f.library).filePath("a.json")));
    EXPECT_TRUE(QFileInfo::exists(data.path() + QStringLiteral("/Trash/files/a.json")));
    EXPECT_EQ(f.lib()->presets().size(), 1);
}

TEST(PresetsScreen, GridColumnsFollowTheWidth)
{
    PresetsFixture f;
    for (int i = 0; i < 5; ++i)
        f.addPreset(QStringLiteral("p%1.json").arg(i), preset(QStringLiteral("П%1").arg(i), {"com.a"}));
    PresetsView *s = f.show(1240, 900);
    // What a person sees: every card whole in the grid, side by side in rows, each card between
    // its smallest and largest width, and as many a row as fit at the smallest width.
    QListView *grid = s->grid();
    const QMargins m = PresetCardDelegate::cellMargins();
    const QRect shown = grid->viewport()->rect();
    QList<QRect> cards;
    for (int row = 0; row < 5; ++row) {
        const QRect cell = grid->visualRect(grid->model()->index(row, 0));
        EXPECT_TRUE(shown.contains(cell)) << row << " lies at " << cell.y() << " in a grid " << shown.height() << " high";
        cards << cell.marginsRemoved(m);
    }
    QSet<int> lefts;
    for (const QRect &card : cards) {
        if (card.top() == cards.first().top())
            lefts << card.left();
        EXPECT_GE(card.width(), PresetCardDelegate::kMinimumWidth);
        EXPECT_LE(card.width(), PresetCardDelegate::kMaximumWidth);
        for (const QRect &other : cards)
            EXPECT_TRUE(&card == &other || !card.intersects(other));
    }
    const int perRow = int(lefts.size());
    EXPECT_GE(perRow, 1);
    // No room beside the row's last card for one more of the smallest width.
    int lastRight = 0;
    for (const QRect &card : cards)
        if (card.top() == cards.first().top())
            lastRight = std::max(lastRight, card.right());
    EXPECT_GT(lastRight + int(Space::m) + PresetCardDelegate::kMinimumWidth, grid->viewport()->width());

    // Shape to shape, Space::m across and down; the grid as tall as its rows and the last row's shadow.
    for (const int windowWidth : {1240, 900, 600}) {
        SCOPED_TRACE(windowWidth);
        PresetGridView *g = f.show(windowWidth, 900)->grid();
        const int gap = int(Space::m);
        const QRectF first = f.cardPanel(0);
        if (g->columns() > 1)
            EXPECT_DOUBLE_EQ(f.cardPanel(1).left() - first.right(), gap);
        const QRectF below = f.cardPanel(g->columns());
        EXPECT_DOUBLE_EQ(below.top() - first.bottom(), gap);
        EXPECT_DOUBLE_EQ(below.left(), first.left());
        const int rows = (5 + g->columns() - 1) / g->columns();
        const QRectF last = f.cardPanel(rows * g->columns() - g->columns());
        EXPECT_NEAR(g->height(), last.bottom() + PresetCardDelegate::shadowReach().bottom(), 1);
    }
}

// Judged by where the view put each card, not by the grid's own arithmetic: at every screen
// width each card lies whole inside the grid, which is as tall as its rows, and none lies over
// another.
TEST(PresetsScreen, EveryCardLiesInsideTheGridAtEveryWidth)
{
    PresetsFixture f;
    for (int i = 0; i < 5; ++i)
        f.addPreset(QStringLiteral("p%1.json").arg(i), preset(QStringLiteral("П%1").arg(i), {"com.a"}));
    PresetsView *s = f.show(600, 900);
    QStringList hidden;
    for (int width = 600; width <= 1800; ++width) {
        f.reader->resize(width, 900);
        settle();
        QListView *grid = s->grid();
        QList<QRect> placed;
        for (int row = 0; row < 5; ++row) {
            const QRect cell = grid->visualRect(grid->model()->index(row, 0));
            const bool inside = grid->viewport()->rect().contains(cell);
            const bool apart = std::none_of(placed.cbegin(), placed.cend(), [&](const QRect &r) { return r.intersects(cell); });
            if (inside && apart)
                placed << cell;
            else
                hidden << QStringLiteral("%1 px: card %2 at %3,%4 in %5×%6")
                              .arg(width)
                              .arg(row + 1)
                              .arg(cell.x())
                              .arg(cell.y())
                              .arg(grid->viewport()->width())
                              .arg(grid->viewport()->height());
        }
    }
    EXPECT_TRUE(hidden.isEmpty()) << hidden.mid(0, 20).join(QLatin1Char('\n')).toStdString() << "\n("
                                  << hidden.size() << " in all)";
}

// The panels' shapes stand on the gutter, where the header's text starts: the explainer, the
// save form, the empty library and the cards, all at 24 px.
TEST(PresetsScreen, PanelsStandOnTheGutter)
{
    PresetsFixture f;
    PresetsView *s = f.show(1100, 900);
    const auto shapeLeft = [&](DeckPanel *panel) { return panel->mapTo(s, panel->panelRect().topLeft().toPoint()).x(); };
    auto *explainer = s->findChild<DeckPanel *>(QStringLiteral("presets-explainer"));
    ASSERT_TRUE(explainer);
    EXPECT_EQ(shapeLeft(explainer), int(Space::gutter));
    EXPECT_EQ(shapeLeft(static_cast<DeckPanel *>(s->emptyLibrary())), int(Space::gutter));
    EXPECT_EQ(s->libraryHeader()->titleLabel()->mapTo(s, QPoint(0, 0)).x(), int(Space::gutter));
    // The right edges line up with the gutter too.
    EXPECT_EQ(explainer->mapTo(s, explainer->panelRect().topRight().toPoint()).x(), s->width() - int(Space::gutter));

    f.h->selectedPackageIDs.set({"com.a"});
    settle();
    s->prepareSaveForm();
    settle();
    EXPECT_EQ(shapeLeft(s->saveForm()), int(Space::gutter));
    // Space::l between the explainer's shape and the form's, and between the form's and the
    // library's header.
    const int explainerBottom = explainer->mapTo(s, explainer->panelRect().bottomLeft().toPoint()).y();
    const int formTop = s->saveForm()->mapTo(s, s->saveForm()->panelRect().topLeft().toPoint()).y();
    EXPECT_NEAR(formTop - explainerBottom, Space::l, 1);

    f.addPreset("a.json", preset("Первый", {"com.a"}));
    f.lib()->reload();
    f.waitReload();
    ASSERT_TRUE(waitUntil([&] { return f.lib()->presets().size() == 1 && s->grid()->isVisible(); }));
    const QRectF card = f.cardPanel(0);
    const int cardLeft = s->grid()->viewport()->mapTo(s, card.topLeft().toPoint()).x();
    // Columns narrower than their room stand in its middle.
    EXPECT_EQ(cardLeft, int(Space::gutter) + s->grid()->columnInsets().left());
    const int headerBottom = s->libraryHeader()->mapTo(s, QPoint(0, s->libraryHeader()->height())).y();
    EXPECT_NEAR(s->grid()->viewport()->mapTo(s, card.topLeft().toPoint()).y() - headerBottom, Space::m, 1);
}

// "Сохранить выбранные" unrolls the form with Motion::smooth; it closes at once; under reduce
// motion it is simply there.
TEST(PresetsScreen, SaveFormAppearsSmoothly)
{
    PresetsFixture f;
    PresetsView *s = f.show();
    f.h->selectedPackageIDs.set({"com.a"});
    settle();
    A11y::setReduceMotion(false);
    QTest::mouseClick(s->saveSelectedButton(), Qt::LeftButton);
    settle();
    QAbstractAnimation *unroll = Transition::animation(s->saveForm());
    ASSERT_TRUE(unroll);
    EXPECT_EQ(unroll->duration(), Motion::smooth().durationMs());
    EXPECT_TRUE(s->saveForm()->isVisible());
    ASSERT_TRUE(waitUntil([&] { return !Transition::isRunning(s->saveForm()); }));
    EXPECT_EQ(s->saveForm()->maximumHeight(), QWIDGETSIZE_MAX);
    EXPECT_DOUBLE_EQ(Transition::opacity(s->saveForm()), 1.0);
    QTest::mouseClick(s->cancelButton(), Qt::LeftButton);
    settle();
    EXPECT_FALSE(s->saveForm()->isVisible());
    EXPECT_FALSE(Transition::isRunning(s->saveForm()));

    A11y::setReduceMotion(true);
    QTest::mouseClick(s->saveSelectedButton(), Qt::LeftButton);
    settle();
    EXPECT_TRUE(s->saveForm()->isVisible());
    EXPECT_FALSE(Transition::isRunning(s->saveForm()));
}

// Accessibility reads each card as an item named by its preset, holding its three buttons with
// their names; pressing them there does what a click does.
TEST(PresetsScreen, CardButtonsAreAccessibleByName)
{
    PresetsFixture f;
    f.addPreset("a.json", preset("Первый", {"com.a"}, PresetAction::disable, {}, "2026-01-01T00:00:00Z"));
    PresetsView *s = f.show();
    QAccessibleInterface *grid = QAccessible::queryAccessibleInterface(s->grid());
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->role(), QAccessible::List);
    ASSERT_EQ(grid->childCount(), 1);
    QAccessibleInterface *card = grid->child(0);
    ASSERT_TRUE(card);
    EXPECT_EQ(card->text(QAccessible::Name), QStringLiteral("Первый"));
    EXPECT_EQ(card->parent(), grid);
    EXPECT_EQ(grid->indexOfChild(card), 0);
    ASSERT_EQ(card->childCount(), 3);
    QStringList names;
    for (int i = 0; i < card->childCount(); ++i) {
        QAccessibleInterface *button = card->child(i);
        ASSERT_TRUE(button);
        EXPECT_EQ(button->role(), QAccessible::Button);
        EXPECT_EQ(button->parent(), card);
        EXPECT_TRUE(card->rect().contains(button->rect()));
        names << button->text(QAccessible::Name);
    }
    EXPECT_EQ(names, (QStringList{"Применить", "Экспорт", "Удалить пресет Первый"}));
    QAccessibleInterface *apply = card->child(0);
    EXPECT_TRUE(apply->state().disabled);
    EXPECT_EQ(apply->text(QAccessible::Description), QStringLiteral("Требуется подключённое устройство"));
    // Where a button is drawn, accessibility finds it.
    const QPoint trashCentre = card->child(2)->rect().center();
    EXPECT_EQ(card->childAt(trashCentre.x(), trashCentre.y()), card->child(2));

    // Pressed through accessibility: the trash asks to delete, "Применить" waits for a device.
    apply->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_FALSE(f.h->presetPreview().has_value());
    card->child(2)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    settle();
    ASSERT_TRUE(s->state()->pendingDelete().has_value());
    EXPECT_EQ(s->state()->pendingDelete()->preset.name, QStringLiteral("Первый"));
    qobject_cast<QMessageBox *>(s->deleteConfirmation()->dialog())->reject();
    settle();

    f.h.connect(QStringLiteral("device"), kSerial);
    settle();
    EXPECT_FALSE(apply->state().disabled);
    EXPECT_EQ(apply->text(QAccessible::Description), QStringLiteral("Сверить с устройством и показать предпросмотр"));
    apply->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    ASSERT_TRUE(f.h->presetPreview().has_value());
    EXPECT_EQ(f.h->presetPreview()->preset.name, QStringLiteral("Первый"));
}

// ---- Preview sheet ----

PresetPreview previewOf(PresetAction action, const QList<PresetPackageEntry> &entries, const QString &description = {})
{
    QStringList names;
    for (const auto &e : entries)
        names << e.packageName;
    return PresetPreview(preset(QStringLiteral("Чистка"), names, action, description), entries);
}

TEST(PresetPreviewSheet, CountersWarningEntriesAndButtons)
{
    ShellHarness h;
    const PresetPreview mixed = previewOf(PresetAction::uninstall,
                                          {{"com.a", "Почта", PackageKind::user},
                                           {"com.sys", "Система", PackageKind::system},
                                           {"com.gone", "com.gone", std::nullopt}});
    PresetPreviewSheet sheet(h.model.get(), mixed);
    EXPECT_EQ(sheet.size(), QSize(720, 620));
    EXPECT_EQ(sheet.counters(), (QList<std::pair<QString, QString>>{
                                    {"Найдено", "2"}, {"Отсутствует", "1"}, {"Системных", "1"}, {"Пользовательских", "1"}}));
    EXPECT_TRUE(sheet.systemWarning());
    EXPECT_EQ(sheet.executeButton()->buttonStyle().role, DeckButtonRole::destructive);
    EXPECT_EQ(sheet.executeButton()->buttonStyle().size, DeckButtonSize::large);
    EXPECT_EQ(sheet.actionBadge()->tone(), Tone::danger);
    EXPECT_TRUE(sheet.selectButton()->isEnabled());
    QAbstractItemModelTester tester(sheet.entryList()->model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(sheet.entryList()->model()->rowCount(), 3);
    EXPECT_EQ(sheet.entryList()->model()->index(2, 0).data(Qt::AccessibleTextRole).toString(),
              QStringLiteral("com.gone, Нет на устройстве"));

    const PresetPreview none = previewOf(PresetAction::disable, {{"com.x", "com.x", std::nullopt}});
    PresetPreviewSheet empty(h.model.get(), none);
    EXPECT_EQ(empty.counters().at(0), (std::pair<QString, QString>{"Найдено", "0"}));
    EXPECT_FALSE(empty.systemWarning());
    EXPECT_FALSE(empty.selectButton()->isEnabled());
    EXPECT_FALSE(empty.executeButton()->isEnabled());
    EXPECT_TRUE(empty.closeButton()->isEnabled());
    EXPECT_EQ(empty.executeButton()->buttonStyle().role, DeckButtonRole::primary);
    EXPECT_EQ(empty.actionBadge()->tone(), Tone::warning);
}

// The shell shows the sheet for the model's preview; its buttons run the model's flows.
TEST(PresetPreviewSheet, SelectAndExecuteThroughTheShell)
{
    ShellHarness h;
    h.connect(QStringLiteral("device"), kSerial);
    QWidget host;
    host.resize(900, 700);
    host.show();
    AppDialogs dialogs(h.model.get(), &host);
    h->packages.set({AndroidPackage(QStringLiteral("com.a"), std::nullopt, PackageKind::user),
                     AndroidPackage(QStringLiteral("com.b"), std::nullopt, PackageKind::system)});
    const PresetPreview preview = previewOf(PresetAction::disable, {{"com.b", "com.b", PackageKind::system},
                                                                    {"com.missing", "com.missing", std::nullopt},
                                                                    {"com.a", "com.a", PackageKind::user}});
    h->presetPreview.set(preview);
    settle();
    auto *sheet = qobject_cast<PresetPreviewSheet *>(dialogs.presetPreview()->dialog());
    ASSERT_TRUE(sheet);
    QTest::mouseClick(sheet->selectButton(), Qt::LeftButton);
    settle();
    EXPECT_EQ(h->selectedPackageIDs(), (QSet<QString>{"com.a", "com.b"}));
    EXPECT_FALSE(h->presetPreview().has_value());
    EXPECT_EQ(h->statusText(), QStringLiteral("Выбрано из пресета: 2"));

    // "Закрыть" and Escape leave the selection alone.
    h->selectedPackageIDs.set({"com.z"});
    for (const bool escape : {false, true}) {
        h->presetPreview.set(preview);
        settle();
        sheet = qobject_cast<PresetPreviewSheet *>(dialogs.presetPreview()->dialog());
        ASSERT_TRUE(sheet);
        if (escape)
            QTest::keyClick(sheet, Qt::Key_Escape);
        else
            QTest::mouseClick(sheet->closeButton(), Qt::LeftButton);
        settle();
        EXPECT_FALSE(h->presetPreview().has_value()) << escape;
        EXPECT_EQ(h->selectedPackageIDs(), QSet<QString>{"com.z"}) << escape;
    }

    h->presetPreview.set(preview);
    settle();
    sheet = qobject_cast<PresetPreviewSheet *>(dialogs.presetPreview()->dialog());
    ASSERT_TRUE(sheet);
    QTest::mouseClick(sheet->executeButton(), Qt::LeftButton);
    settle();
    EXPECT_FALSE(h->presetPreview().has_value());
    ASSERT_TRUE(h->pendingPresetExecution().has_value());
    auto *confirm = qobject_cast<QMessageBox *>(dialogs.presetExecution()->dialog());
    ASSERT_TRUE(confirm);
    press(confirm, QStringLiteral("Отключить"));
    ASSERT_TRUE(waitUntil([&] { return !h->recentOperations().isEmpty(); }));
    QList<QStringList> disables;
    for (const QStringList &c : h.fake.calls())
        if (c.contains(QStringLiteral("disable-user")))
            disables << c;
    EXPECT_EQ(disables, (QList<QStringList>{{"-s", kSerial, "shell", "pm", "disable-user", "--user", "0", "com.b"},
                                            {"-s", kSerial, "shell", "pm", "disable-user", "--user", "0", "com.a"}}));
}

// ---- Pictures ----

TEST(PresetsScreenshots, MainStates)
{
    ScreenshotGuard guard;
    struct Shot {
        const char *name;
        ColorScheme scheme;
        int width;
        int presets;
        bool form;
    };
    const QList<Shot> shots{
        {"empty-wide-dark", ColorScheme::dark, 1240, 0, false},
        {"empty-compact-light", ColorScheme::light, 600, 0, false},
        {"cards-wide-dark", ColorScheme::dark, 1240, 3, false},
        {"cards-wide-light", ColorScheme::light, 1240, 3, false},
        {"cards-compact-dark", ColorScheme::dark, 600, 3, false},
        {"form-wide-light", ColorScheme::light, 1240, 3, true},
        {"form-compact-dark", ColorScheme::dark, 600, 1, true},
    };
    for (const Shot &shot : shots) {
        Theme::apply(shot.scheme, false);
        PresetsFixture f;
        Theme::apply(shot.scheme, false);
        const QList<PackagePreset> samples{
            preset(QStringLiteral("Чистка Samsung"), {"com.a", "com.b", "com.c", "com.d"}, PresetAction::disable,
                   QStringLiteral("Отключает предустановленные сервисы производителя, которые не нужны на рабочем телефоне"),
                   "2026-03-04T05:06:07Z"),
            preset(QStringLiteral("Без рекламы"), {"com.ads.one", "com.ads.two"}, PresetAction::uninstall, {},
                   "2026-02-01T10:00:00Z"),
            preset(QStringLiteral("Мой набор с очень длинным названием, которое не помещается в одну строку карточки"),
                   {"com.x"}, PresetAction::disable, QStringLiteral("Вручную"), QStringLiteral("вчера")),
        };
        for (int i = 0; i < shot.presets; ++i)
            f.addPreset(QStringLiteral("p%1.json").arg(i), samples[i]);
        if (shot.presets > 0)
            f.h.connect(QStringLiteral("device"), kSerial);
        f.h->selectedPackageIDs.set({"com.a", "com.b"});
        PresetsView *s = f.show(shot.width, 1000);
        if (shot.form) {
            s->prepareSaveForm();
            s->state()->presetName.set(QStringLiteral("Пресет 04.03.2026 05:06"));
        }
        f.waitReload();
        EXPECT_EQ(GeometryWalk::seenFaults(f.reader.get()), QStringList()) << shot.name;
        EXPECT_TRUE(saveScreenshot(f.reader.get(), QStringLiteral("presets"), QString::fromLatin1(shot.name)));
    }

    const QList<std::pair<const char *, ColorScheme>> sheets{{"preview-dark", ColorScheme::dark},
                                                              {"preview-light", ColorScheme::light}};
    for (const auto &[name, scheme] : sheets) {
        Theme::apply(scheme, false);
        ShellHarness h;
        Theme::apply(scheme, false);
        PresetPreview preview = previewOf(PresetAction::uninstall,
                                          {{"com.google.android.gm", "Gmail", PackageKind::user},
                                           {"com.samsung.android.bixby.agent", "Bixby", PackageKind::system},
                                           {"com.facebook.appmanager", "com.facebook.appmanager", std::nullopt},
                                           {"com.samsung.android.game.gamehome", "Game Launcher", PackageKind::system},
                                           {"com.netflix.mediaclient", "com.netflix.mediaclient", std::nullopt}},
                                          QStringLiteral("Удаляет сервисы производителя и предустановленную рекламу"));
        preview.inapplicableNames = {QStringLiteral("not a package")};
        PresetPreviewSheet sheet(h.model.get(), preview);
        sheet.show();
        settle();
        EXPECT_EQ(GeometryWalk::seenFaults(&sheet), QStringList()) << name;
        EXPECT_TRUE(saveScreenshot(&sheet, QStringLiteral("presets"), QString::fromLatin1(name)));
    }
}

} // namespace

namespace {

// The cards' buttons are drawn, yet the keyboard reaches them: Tab enters the grid at the first
// card's first button and walks button by button, card by card, skipping "Применить" while it
// cannot work, then leaves; Shift+Tab enters at the last; Return and Space press the one reached.
TEST(PresetsScreen, TabWalksTheCardsButtonsAndReturnPressesThem)
{
    PresetsFixture f;
    f.addPreset(QStringLiteral("a.json"), preset(QStringLiteral("Первый"), {QStringLiteral("com.a")}));
    f.addPreset(QStringLiteral("b.json"), preset(QStringLiteral("Второй"), {QStringLiteral("com.b")}));
    PresetsView *s = f.show();
    ASSERT_EQ(s->grid()->model()->rowCount(), 2);
    s->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(s->window()));
    using Part = PresetCardDelegate::Button;
    QList<std::pair<int, Part>> visited;
    const auto walk = [&](bool forward) {
        visited.clear();
        for (int i = 0; i < 12 && s->grid()->hasFocus(); ++i) {
            visited << std::pair{s->grid()->currentIndex().row(), s->cardDelegate()->focusPart()};
            QTest::keyClick(QApplication::focusWidget(), forward ? Qt::Key_Tab : Qt::Key_Backtab);
        }
    };
    s->folderButton()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(s->folderButton(), Qt::Key_Tab);
    ASSERT_TRUE(s->grid()->hasFocus()) << "Tab does not reach the cards";
    walk(true);
    EXPECT_EQ(visited, (QList<std::pair<int, Part>>{{0, Part::exportFile}, {0, Part::trash}, {1, Part::exportFile},
                                                    {1, Part::trash}})); // no device: no "Применить"
    EXPECT_FALSE(s->grid()->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    ASSERT_TRUE(s->grid()->hasFocus());
    EXPECT_EQ(s->grid()->currentIndex().row(), 1);
    EXPECT_EQ(s->cardDelegate()->focusPart(), Part::trash);

    f.h.connect(QStringLiteral("device"), kSerial);
    settle();
    walk(false);
    EXPECT_EQ(visited, (QList<std::pair<int, Part>>{{1, Part::trash}, {1, Part::exportFile}, {1, Part::apply},
                                                    {0, Part::trash}, {0, Part::exportFile}, {0, Part::apply}}));
    s->grid()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(s->grid(), Qt::Key_Return);
    ASSERT_TRUE(f.h->presetPreview().has_value());
    EXPECT_EQ(f.h->presetPreview()->preset.name, f.lib()->presets().at(0).preset.name);
    f.h->presetPreview.set(std::nullopt);
    s->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(s->window()));
    s->grid()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(s->grid(), Qt::Key_Tab);
    QTest::keyClick(s->grid(), Qt::Key_Tab);
    QTest::keyClick(s->grid(), Qt::Key_Space);
    ASSERT_TRUE(s->state()->pendingDelete().has_value());
    EXPECT_EQ(s->state()->pendingDelete()->preset.name, f.lib()->presets().at(0).preset.name);
}

} // namespace
