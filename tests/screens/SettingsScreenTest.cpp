#include "screenkit/DeckTextField.h"
#include "core/PlatformTexts.h"
#include "screens/settings/SettingsRow.h"
#include "screens/settings/SettingsScreen.h"
#include "screens/settings/SettingsView.h"

#include "screens/packages/AppIconCache.h"

#include "design/DeckButton.h"
#include "design/DeckParagraph.h"
#include "design/DeckSegmented.h"
#include "design/DeckSizeReader.h"
#include "design/DeckText.h"
#include "design/FilterChip.h"

#include "FakeDesktop.h"
#include "../shell/ShellHarness.h"
#include "../shell/UiTestSupport.h"

#include <QBuffer>
#include <QLabel>
#include <QMessageBox>
#include <QSlider>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <limits>

namespace {

struct Screen {
    ShellHarness h;
    SettingsScreen screen;
    SettingsView &view;

    explicit Screen(bool withADB = true) : h(withADB), screen(h.model.get(), h.settings.get()), view(*screen.view()) {}
    AppSettings &settings() { return *h.settings; }
};

TEST(SettingsScreen, EveryControlWritesItsPreference)
{
    Screen s;
    QSettings &store = *s.h.store.settings;
    s.screen.show();
    chooseSegment(s.view.appearanceControl(), QVariant(rawValue(AppearanceMode::light)));
    EXPECT_EQ(s.settings().appearance(), AppearanceMode::light);
    chooseSegment(s.view.densityControl(), QVariant(rawValue(ListDensity::comfortable)));
    EXPECT_EQ(s.settings().density(), ListDensity::comfortable);
    s.view.riskSwitch()->click();
    EXPECT_FALSE(s.settings().showRiskColumn());
    s.view.intervalSlider()->setValue(7);
    EXPECT_EQ(s.settings().monitorInterval(), 7.0);
    EXPECT_EQ(s.view.intervalLabel()->text(), QStringLiteral("7 с"));
    s.view.bufferChips()[3]->click();
    EXPECT_EQ(s.settings().logcatBufferSize(), 20000);
    s.view.confirmSwitch()->click();
    EXPECT_FALSE(s.settings().confirmDestructive());
    FakeDesktop desktop;
    desktop.openFilesAnswer = {QStringLiteral("/opt/tools/adb")};
    s.view.chooseButton()->click();
    EXPECT_EQ(s.settings().customADBPath(), QStringLiteral("/opt/tools/adb"));
    EXPECT_EQ(s.view.pathField()->text(), QStringLiteral("/opt/tools/adb"));

    // Each one reached the store under its key.
    const struct { const char *key; QVariant value; } stored[] = {
        {"deck.showRiskColumn", false}, {"deck.monitorInterval", 7.0}, {"deck.logcatBuffer", 20000},
        {"deck.confirmDestructive", false}, {"deck.customADBPath", QStringLiteral("/opt/tools/adb")},
    };
    for (const auto &c : stored)
        EXPECT_EQ(store.value(QLatin1String(c.key)).toString(), c.value.toString()) << c.key;
    EXPECT_TRUE(store.contains(QStringLiteral("deck.appearance")));
    EXPECT_TRUE(store.contains(QStringLiteral("deck.listDensity")));

    // A cancelled chooser changes nothing.
    desktop.openFilesAnswer.clear();
    s.view.chooseButton()->click();
    EXPECT_EQ(s.settings().customADBPath(), QStringLiteral("/opt/tools/adb"));
}

TEST(SettingsScreen, ControlsShowTheStoredValues)
{
    Screen s;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct { double stored; QString label; int slider; } intervals[] = {
        {2.5, QStringLiteral("2 с"), 2}, {10, QStringLiteral("10 с"), 10}, {0.2, QStringLiteral("1 с"), 1},
        {1e300, QStringLiteral("10 с"), 10}, {nan, QStringLiteral("2 с"), 2},
        {std::numeric_limits<double>::infinity(), QStringLiteral("2 с"), 2},
    };
    for (const auto &c : intervals) {
        s.settings().monitorInterval.set(c.stored);
        EXPECT_EQ(s.view.intervalLabel()->text(), c.label) << c.stored;
        EXPECT_EQ(s.view.intervalSlider()->value(), c.slider) << c.stored;
    }
    // Showing a value never writes it back.
    EXPECT_TRUE(std::isinf(s.settings().monitorInterval()));

    QStringList titles;
    for (FilterChip *chip : s.view.bufferChips())
        titles << chip->accessibleName();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("2k"), QStringLiteral("5k"), QStringLiteral("10k"), QStringLiteral("20k")}));
    EXPECT_TRUE(s.view.bufferChips()[1]->isOn()); // the default 5000
    s.settings().logcatBufferSize.set(3000);
    for (FilterChip *chip : s.view.bufferChips())
        EXPECT_FALSE(chip->isOn());

    EXPECT_EQ(s.view.catalogueText()->text(), QStringLiteral("85 правил"));
    EXPECT_EQ(s.view.currentADBRow()->descriptionLabel()->text(), s.h.fake.adbPath());
    EXPECT_EQ(s.view.aboutRows()[3].second, QStringLiteral("—"));
    s.h->adbVersionText.set(QStringLiteral("Android Debug Bridge version 1.0.41"));
    EXPECT_EQ(s.view.aboutRows()[3].second, QStringLiteral("Android Debug Bridge version 1.0.41"));
    EXPECT_EQ(s.view.aboutRows()[0], qMakePair(QStringLiteral("Версия"), QStringLiteral(KESTREL_VERSION)));
    EXPECT_EQ(s.view.aboutRows()[1], qMakePair(QStringLiteral("Сборка"), QStringLiteral(KESTREL_BUILD_NUMBER)));
    EXPECT_EQ(s.view.aboutRows()[2], qMakePair(PlatformTexts::text(PlatformTexts::systemRowTitle), PlatformTexts::text(PlatformTexts::systemRowValue)));

    Screen none(false);
    EXPECT_EQ(none.view.currentADBRow()->descriptionLabel()->text(), QStringLiteral("Исполняемый файл не найден"));
}

TEST(SettingsScreen, PathReachesTheModelOnlyWhenCommitted)
{
    Screen s;
    // What the application entry does with every change of the stored path.
    s.h.settings->observe(s.h.settings->customADBPath, &s.screen,
                          [&] { s.h->useCustomADB(s.h.settings->customADBPath()); });
    s.screen.show();
    const QString adbBefore = s.h->service->executableURL;
    const qsizetype logsBefore = s.h->logs().size();
    QLineEdit *edit = s.view.pathField()->lineEdit();
    // Typed towards the fake adb, through its folder (never a real tool on this machine).
    const QString folder = s.h.fake.dir();
    giveFocus(edit);
    typeText(edit, folder);
    EXPECT_EQ(s.settings().customADBPath(), QString());
    EXPECT_EQ(s.h->logs().size(), logsBefore);

    // A folder is no executable: one log line, the adb in use stays.
    pressReturn(edit);
    EXPECT_EQ(s.settings().customADBPath(), folder);
    ASSERT_EQ(s.h->logs().size(), logsBefore + 1);
    EXPECT_TRUE(s.h->logs().last().endsWith(QStringLiteral("Указанный путь к adb не является исполняемым файлом: ") + folder));
    EXPECT_EQ(s.h->service->executableURL, adbBefore);

    // Leaving the field after an edit commits too; the path of the adb in use changes nothing.
    typeText(edit, QStringLiteral("/adb"));
    giveFocus(s.view.chooseButton());
    EXPECT_EQ(s.settings().customADBPath(), s.h.fake.adbPath());
    EXPECT_EQ(s.h->logs().size(), logsBefore + 1);
    EXPECT_TRUE(s.h.fake.calls().isEmpty());

    // Emptying the field keeps the adb in use.
    giveFocus(edit);
    edit->selectAll();
    pressKey(edit, Qt::Key_Backspace);
    pressReturn(edit);
    EXPECT_EQ(s.settings().customADBPath(), QString());
    EXPECT_EQ(s.h->service->executableURL, adbBefore);
}

TEST(SettingsScreen, CurrentAdbFollowsTheToolTheModelAdopts)
{
    Screen s;
    s.h.settings->observe(s.h.settings->customADBPath, &s.screen,
                          [&] { s.h->useCustomADB(s.h.settings->customADBPath()); });
    s.screen.show();
    EXPECT_EQ(s.view.currentADBRow()->descriptionLabel()->text(), s.h.fake.adbPath());
    FakeTool other;
    other.setDefault({});
    FakeDesktop desktop;
    desktop.openFilesAnswer = {other.adbPath()};
    s.view.chooseButton()->click();
    ASSERT_EQ(s.h->service->executableURL, other.adbPath());
    // Shown as soon as the model has it, before any device answers.
    QApplication::processEvents();
    EXPECT_EQ(s.view.currentADBRow()->descriptionLabel()->text(), other.adbPath());
}

TEST(SettingsScreen, FindAgainSearchesWithoutTouchingTheStoredPath)
{
    Screen s(false);
    s.settings().customADBPath.set(QStringLiteral("/opt/custom/adb"));
    s.view.relinkButton()->click();
    settle();
    EXPECT_FALSE(s.h->service); // nothing in the (empty) usual places
    EXPECT_TRUE(s.h->showADBSetup());
    EXPECT_EQ(s.view.currentADBRow()->descriptionLabel()->text(), QStringLiteral("Исполняемый файл не найден"));
    EXPECT_EQ(s.settings().customADBPath(), QStringLiteral("/opt/custom/adb"));
    EXPECT_EQ(s.view.pathField()->text(), QStringLiteral("/opt/custom/adb"));
}

TEST(SettingsScreen, ResetAsksFirst)
{
    Screen s;
    s.settings().appearance.set(AppearanceMode::light);
    s.settings().logcatBufferSize.set(20000);
    s.settings().customADBPath.set(QStringLiteral("/opt/adb"));
    s.settings().lastRoute.set(AppRoute::logs);
    s.screen.show();

    s.view.resetButton()->click();
    ASSERT_TRUE(s.view.showResetConfirmation());
    QMessageBox *dialog = s.view.resetDialog();
    EXPECT_EQ(dialog->text(), QStringLiteral("Сбросить настройки приложения?"));
    ASSERT_EQ(dialog->buttons().size(), 2);
    QAbstractButton *cancel = dialogButton(dialog, QStringLiteral("Отмена"));
    ASSERT_TRUE(cancel);
    EXPECT_TRUE(dialogButton(dialog, QStringLiteral("Сбросить")));
    cancel->click();
    settle();
    EXPECT_FALSE(s.view.showResetConfirmation());
    EXPECT_EQ(s.settings().appearance(), AppearanceMode::light);

    s.view.resetButton()->click();
    press(s.view.resetDialog(), QStringLiteral("Сбросить"));
    settle();
    EXPECT_FALSE(s.view.showResetConfirmation());
    EXPECT_EQ(s.settings().appearance(), AppearanceMode::dark);
    EXPECT_EQ(s.settings().logcatBufferSize(), 5000);
    EXPECT_EQ(s.settings().customADBPath(), QString());
    EXPECT_EQ(s.settings().lastRoute(), AppRoute::logs);
    // The controls show the new values.
    EXPECT_TRUE(s.view.bufferChips()[1]->isOn());
    EXPECT_EQ(s.view.pathField()->text(), QString());
    EXPECT_EQ(s.view.appearanceControl()->selection().toString(), rawValue(AppearanceMode::dark));
}

TEST(SettingsScreen, IconCacheAndPresetFolderReport)
{
    StandardPathsTestMode testMode;
    Screen s;
    // The button empties the package icon cache itself.
    AppIconCache &cache = AppIconCache::shared();
    QImage red(16, 16, QImage::Format_ARGB32);
    red.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    red.save(&buffer, "PNG");
    AndroidPackage p(QStringLiteral("com.example.cached"), std::nullopt, PackageKind::user,
                     PackageMetadata{QStringLiteral("com.example.cached"), QStringLiteral("C"), 1, png});
    ASSERT_FALSE(cache.pixmap(p, 28, 1, false).isNull());
    s.view.clearCacheButton()->click();
    EXPECT_FALSE(cache.contains(p.name));
    s.view.clearCacheButton()->click();
    ASSERT_EQ(s.h->toasts().size(), 2);
    EXPECT_EQ(s.h->toasts()[0].title, QStringLiteral("Кэш иконок очищен"));
    EXPECT_EQ(s.h->toasts()[0].tone, Tone::accent);

    // The folder is made before it is opened; a refusal is said.
    const QString folder = s.view.aboutRows()[4].second;
    QDir(folder).removeRecursively();
    FakeDesktop desktop;
    s.view.openPresetsButton()->click();
    EXPECT_EQ(desktop.openedPaths, QStringList{folder});
    EXPECT_TRUE(QDir(folder).exists());
    EXPECT_EQ(s.h->toasts().size(), 2);
    desktop.openSucceeds = false;
    s.view.openPresetsButton()->click();
    ASSERT_EQ(s.h->toasts().size(), 3);
    EXPECT_EQ(s.h->toasts()[2].title, QStringLiteral("Не удалось открыть папку пресетов"));
}

TEST(SettingsScreen, CompactAreaStacksEveryRow)
{
    ShellHarness h;
    DeckSizeReader reader(new SettingsScreen(h.model.get(), h.settings.get()));
    auto *view = reader.findChild<SettingsView *>();
    reader.resize(700, 900);
    reader.show();
    settle();
    ASSERT_FALSE(view->rows().isEmpty());
    for (SettingsRow *row : view->rows()) {
        EXPECT_TRUE(row->isStacked()) << row->title().toStdString();
        // The control below the title and the description, not beside them.
        QWidget *label = row->descriptionLabel();
        for (DeckText *text : row->findChildren<DeckText *>())
            if (!label && text->text() == row->title())
                label = text;
        ASSERT_TRUE(label) << row->title().toStdString();
        EXPECT_GE(row->control()->y(), label->mapTo(row, QPoint(0, label->height())).y()) << row->title().toStdString();
    }
    reader.resize(1100, 900);
    settle();
    for (SettingsRow *row : view->rows()) {
        EXPECT_FALSE(row->isStacked()) << row->title().toStdString();
        EXPECT_GE(row->control()->width(), row->control()->sizeHint().width());
    }
}

} // namespace
