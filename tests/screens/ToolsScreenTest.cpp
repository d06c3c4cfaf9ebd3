// The Tools screen: its rules as values, every control's command line through the fake adb and
// fastboot, the mended faults, and pictures of its main states.
#include "screens/device/ToolPanel.h"
#include "screens/device/ToolsFacts.h"
#include "screens/device/ToolsScreen.h"

#include "screenkit/DeckTextField.h"
#include "screenkit/ScreenMemory.h"
#include "screenkit/ViewUpdates.h"

#include "design/AdaptiveGrid.h"
#include "design/DeckButton.h"
#include "design/DeckParagraph.h"
#include "design/DeckSizeReader.h"
#include "design/FilterChip.h"
#include "design/InfoRow.h"
#include "design/Labels.h"
#include "design/OperationBar.h"
#include "design/ScreenHeader.h"
#include "design/Theme.h"
#include "design/Typo.h"

#include "../shell/ShellHarness.h"
#include "../shell/UiTestSupport.h"
#include "FakeDesktop.h"
#include "ScreenTestSupport.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kSerial = QStringLiteral("R58N12ABCDE");
const QString kFastboot = QStringLiteral("fastboot");
QStringList onDevice(const QStringList &args) { return QStringList{QStringLiteral("-s"), kSerial} + args; }

// ---- Rules ----

TEST(ToolsFacts, SizeFieldsEnableAndApply)
{
    struct Case {
        const char *width, *height;
        bool enabled;
        std::optional<QString> applied;
    };
    const QList<Case> cases{
        {"", "", false, std::nullopt},
        {"1080", "2400", true, QStringLiteral("1080x2400")},
        {"200", "2400", true, std::nullopt},
        {"201", "201", true, QStringLiteral("201x201")},
        {"+1080", "2400", true, QStringLiteral("1080x2400")},
        {"01080", "+02400", true, QStringLiteral("1080x2400")},
        {" 1080", "2400", false, std::nullopt},
        {"1080px", "2400", false, std::nullopt},
        {"-500", "2400", true, std::nullopt},
        {"1080", "2400 ", false, std::nullopt},
        {"1e3", "2400", false, std::nullopt},
        {"99999999999999999999", "2400", false, std::nullopt},
        {"١٠٨٠", "2400", false, std::nullopt}, // digits, but not ASCII ones
    };
    for (const Case &c : cases) {
        const QString w = QString::fromUtf8(c.width), h = QString::fromUtf8(c.height);
        EXPECT_EQ(ToolsFacts::canApplySize(w, h), c.enabled) << c.width << " " << c.height;
        EXPECT_EQ(ToolsFacts::sizeToApply(w, h), c.applied) << c.width << " " << c.height;
    }
}

TEST(ToolsFacts, DensityTimeoutsRebootsKeysAndVariables)
{
    struct Density {
        const char *text;
        bool enabled;
        std::optional<int> applied;
    };
    for (const Density &c : {Density{"", false, std::nullopt}, Density{"72", true, 72}, Density{"900", true, 900},
                             Density{"71", true, std::nullopt}, Density{"901", true, std::nullopt},
                             Density{"+420", true, 420}, Density{"420 dpi", false, std::nullopt},
                             Density{"-", false, std::nullopt}}) {
        EXPECT_EQ(ToolsFacts::canApplyDensity(QString::fromUtf8(c.text)), c.enabled) << c.text;
        EXPECT_EQ(ToolsFacts::densityToApply(QString::fromUtf8(c.text)), c.applied) << c.text;
    }

    QStringList labels;
    for (qint64 ms : ToolsFacts::timeoutChoices())
        labels << ToolsFacts::timeoutLabel(ms);
    EXPECT_EQ(labels, (QStringList{QStringLiteral("15 с"), QStringLiteral("30 с"), QStringLiteral("1 мин"),
                                   QStringLiteral("5 мин"), QStringLiteral("30 мин")}));
    EXPECT_EQ(ToolsFacts::timeoutLabel(59999), QStringLiteral("59 с"));

    ASSERT_EQ(ToolsFacts::rebootTargets().size(), 3);
    EXPECT_EQ(ToolsFacts::rebootTarget(QStringLiteral("system"))->mode, std::nullopt);
    EXPECT_FALSE(ToolsFacts::rebootTarget(QStringLiteral("system"))->destructive);
    EXPECT_EQ(ToolsFacts::rebootTarget(QStringLiteral("recovery"))->dialogTitle, QStringLiteral("Загрузить Recovery"));
    EXPECT_EQ(ToolsFacts::rebootTarget(QStringLiteral("bootloader"))->mode, QStringLiteral("bootloader"));
    EXPECT_EQ(ToolsFacts::rebootTarget(QStringLiteral("System")), std::nullopt);
    EXPECT_EQ(ToolsFacts::rebootTarget(QString()), std::nullopt);

    QStringList codes;
    for (const ToolsFacts::Key &key : ToolsFacts::keys())
        codes << key.code;
    EXPECT_EQ(codes, (QStringList{QStringLiteral("KEYCODE_HOME"), QStringLiteral("KEYCODE_BACK"),
                                  QStringLiteral("KEYCODE_APP_SWITCH"), QStringLiteral("KEYCODE_POWER"),
                                  QStringLiteral("KEYCODE_VOLUME_UP"), QStringLiteral("KEYCODE_VOLUME_DOWN"),
                                  QStringLiteral("KEYCODE_WAKEUP"), QStringLiteral("KEYCODE_SLEEP"),
                                  QStringLiteral("KEYCODE_SEARCH")}));
    // Every key the screen sends passes the model's check.
    for (const QString &code : codes)
        EXPECT_TRUE(ADBService::isValidKeyCode(code)) << code.toStdString();

    const QMap<QString, QString> variables{{QStringLiteral("version"), QStringLiteral("0.5")},
                                           {QStringLiteral("Zeta"), QStringLiteral("z")},
                                           {QStringLiteral("a"), QStringLiteral("1")},
                                           {QString::fromUtf8("\xF0\x9F\x98\x80"), QStringLiteral("emoji")},
                                           {QString::fromUtf8("\xEF\xBC\xA1"), QStringLiteral("fullwidth")}};
    QStringList order;
    for (const FastbootVariable &v : ToolsFacts::sortedVariables(variables))
        order << v.key;
    EXPECT_EQ(order, (QStringList{QStringLiteral("Zeta"), QStringLiteral("a"), QStringLiteral("version"),
                                  QString::fromUtf8("\xEF\xBC\xA1"), QString::fromUtf8("\xF0\x9F\x98\x80")}));
}

TEST(ToolsFacts, ShownSizeAndDensityPreferTheOverride)
{
    DeviceSnapshot s{.serial = kSerial};
    EXPECT_EQ(ToolsFacts::shownSize(std::nullopt), QStringLiteral("—"));
    EXPECT_EQ(ToolsFacts::shownDensity(std::nullopt), QStringLiteral("—"));
    EXPECT_EQ(ToolsFacts::shownSize(s), QStringLiteral("—"));
    s.screenSize = QStringLiteral("1080x2400");
    s.screenDensity = 420;
    EXPECT_EQ(ToolsFacts::shownSize(s), QStringLiteral("1080x2400"));
    EXPECT_EQ(ToolsFacts::shownDensity(s), QStringLiteral("420 dpi"));
    s.screenOverrideSize = QStringLiteral("720x1600");
    s.screenOverrideDensity = 320;
    EXPECT_EQ(ToolsFacts::shownSize(s), QStringLiteral("720x1600"));
    EXPECT_EQ(ToolsFacts::shownDensity(s), QStringLiteral("320 dpi"));
}

// ---- The screen ----

// The screen in a window of `width`, on a model with one ready device unless told otherwise;
// fastboot found next to adb unless told otherwise. Probe and time-out answer as set.
struct ToolsFixture {
    ShellHarness h;
    FakeDesktop desktop;
    ScreenMemory memory;
    std::unique_ptr<DeckSizeReader> reader;
    ToolsScreen *screen = nullptr;

    explicit ToolsFixture(bool connected = true, bool withFastboot = true)
    {
        h.fake.on(onDevice({QStringLiteral("shell"), DeviceSnapshot::probeScript()}), {.exit = 1});
        h.fake.on(onDevice({QStringLiteral("shell"), QStringLiteral("settings"), QStringLiteral("get"),
                            QStringLiteral("system"), QStringLiteral("screen_off_timeout")}),
                  {.out = QStringLiteral("30000\n")});
        h.fake.on({QStringLiteral("devices")}, {}, kFastboot);
        // The model finds the fake fastboot beside the fake adb by itself.
        if (withFastboot)
            h->fastbootService = FastbootService(h.fake.fastbootPath());
        else
            h->fastbootService.reset();
        if (connected)
            h.connect(QStringLiteral("device"), kSerial);
        DeviceSnapshot snapshot{.serial = kSerial};
        snapshot.screenSize = QStringLiteral("1080x2400");
        snapshot.screenDensity = 420;
        h->snapshot.set(connected ? std::optional(snapshot) : std::nullopt);
    }
    ToolsScreen *show(int width = 1200, int height = 1100)
    {
        screen = new ToolsScreen(h.model.get(), &memory);
        reader = std::make_unique<DeckSizeReader>(screen);
        reader->resize(width, height);
        reader->show();
        settle();
        // Shown: the time-out is read and fastboot searched.
        waitUntil([&] { return !h->isFastbootBusy() && (!h->isDeviceUsable() || h->screenTimeoutMilliseconds()); });
        settle();
        return screen;
    }
    int count(const QStringList &call, const QString &tool = QStringLiteral("adb")) const
    {
        return int(h.fake.calls(tool).count(call));
    }
    // Waits for the model's answer to every command started so far.
    bool idle()
    {
        return waitUntil([&] { return !h->isBusy() && !h->isDisplayBusy() && !h->isFastbootBusy(); });
    }
};

void type(DeckTextField *field, const QString &text)
{
    field->lineEdit()->clear();
    QTest::keyClicks(field->lineEdit(), text);
}

TEST(ToolsScreen, SixPanelsInOrderWithTheirHeaders)
{
    ToolsFixture f(false, false);
    ToolsScreen *s = f.show();
    const QList<ToolPanel *> panels = s->panels();
    ASSERT_EQ(panels.size(), 6);
    const QStringList titles{QStringLiteral("Экран"), QStringLiteral("Питание"), QStringLiteral("Управление"),
                             QStringLiteral("Съёмка экрана"), QStringLiteral("Fastboot"), QStringLiteral("ADB-сервер")};
    const QStringList icons{QStringLiteral("rectangle.on.rectangle"), QStringLiteral("power"), QStringLiteral("hand.tap"),
                            QStringLiteral("camera.viewfinder"), QStringLiteral("bolt.fill"), QStringLiteral("server.rack")};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(panels[i]->title(), titles[i]);
        EXPECT_EQ(panels[i]->icon(), icons[i]);
        EXPECT_EQ(panels[i]->tone(), Tone::neutral);
        // The content sits 16 px inside the panel's shape, nothing more.
        const QPoint at = panels[i]->content()->mapTo(panels[i], QPoint(0, 0));
        EXPECT_EQ(at.x() - panels[i]->panelRect().left(), Space::l) << i;
    }
    EXPECT_EQ(panels[0]->subtitle(), QStringLiteral("Разрешение, плотность и тайм-аут"));
    EXPECT_EQ(panels[4]->subtitle(), QStringLiteral("Утилита fastboot не найдена рядом с adb"));
    EXPECT_EQ(panels[5]->subtitle(), QStringLiteral("Версия неизвестна"));
    EXPECT_EQ(s->header()->titleLabel()->text(), QStringLiteral("Инструменты"));
    EXPECT_EQ(s->header()->subtitleLabel()->text(), QStringLiteral("Готово"));
    EXPECT_EQ(s->refreshButton()->toolTip(), QStringLiteral("Обновить состояние инструментов"));
    EXPECT_TRUE(s->refreshButton()->isEnabled());

    f.h->adbVersionText.set(QStringLiteral("Android Debug Bridge version 1.0.41"));
    f.h->toolsStatusText.set(QStringLiteral("Плотность изменена"));
    settle();
    EXPECT_EQ(panels[5]->subtitle(), QStringLiteral("Android Debug Bridge version 1.0.41"));
    EXPECT_EQ(s->header()->subtitleLabel()->text(), QStringLiteral("Плотность изменена"));

    // Without a ready device every device control waits; the header and server stay usable.
    EXPECT_FALSE(s->displayBody()->isEnabled());
    EXPECT_FALSE(s->powerBody()->isEnabled());
    EXPECT_FALSE(s->keysBody()->isEnabled());
    EXPECT_FALSE(s->captureButton()->isEnabled());
    EXPECT_TRUE(s->restartServerButton()->isEnabled());
    EXPECT_FALSE(s->wirelessButton()->isEnabled());
}

TEST(ToolsScreen, GridShowsAsManyColumnsAsFit)
{
    for (const auto &[width, columns] : {std::pair{560, 1}, std::pair{760, 2}, std::pair{1100, 3}}) {
        ToolsFixture f;
        ToolsScreen *s = f.show(width);
        // The scroll area hands its width down through deferred layout passes; a loaded machine
        // may need more than a few event rounds for them.
        const int wanted = columns;
        waitUntil([&] { return s->grid()->columnCount() == wanted; });
        EXPECT_EQ(s->grid()->columnCount(), columns) << width;
        // Read row by row: the second panel stands beside the first when there is room.
        const QList<ToolPanel *> panels = s->panels();
        EXPECT_EQ(panels[1]->y() == panels[0]->y(), columns > 1) << width;
        EXPECT_GE(panels[0]->width(), std::min(300, width - 48)) << width;
        // Keys: at least one per row, and as many 84 px cells as the card allows: the keys of the
        // first row fit side by side, and one more would not.
        const QList<DeckButton *> keys = s->keyButtons();
        const auto perRow = int(std::count_if(keys.begin(), keys.end(), [&](DeckButton *k) { return k->y() == keys[0]->y(); }));
        ASSERT_GE(perRow, 1) << width;
        EXPECT_EQ(s->keysGrid()->columnCount(), perRow) << width;
        const int room = s->keysBody()->width();
        EXPECT_GT((perRow + 1) * 84 + perRow * int(Space::xs), room) << width;
        if (perRow > 1)
            EXPECT_LE(perRow * 84 + (perRow - 1) * int(Space::xs), room) << width;
        for (DeckButton *key : keys)
            EXPECT_GE(key->width(), 84) << width;
    }
}

TEST(ToolsScreen, ShowingAndRefreshingLoadTheToolsState)
{
    ToolsFixture f;
    const QStringList get = onDevice({QStringLiteral("shell"), QStringLiteral("settings"), QStringLiteral("get"),
                                      QStringLiteral("system"), QStringLiteral("screen_off_timeout")});
    const QStringList probe = onDevice({QStringLiteral("shell"), DeviceSnapshot::probeScript()});
    f.h.fake.clearCalls();
    ToolsScreen *s = f.show();
    EXPECT_EQ(f.count(get), 1);
    EXPECT_EQ(f.count({QStringLiteral("devices")}, kFastboot), 1);
    EXPECT_EQ(f.count(probe), 0); // showing does not probe the device
    f.h.fake.clearCalls();
    s->refreshButton()->click();
    ASSERT_TRUE(waitUntil([&] { return f.count({QStringLiteral("devices")}, kFastboot) == 1; }));
    ASSERT_TRUE(f.idle());
    EXPECT_EQ(f.h.fake.calls(), (QList<QStringList>{probe, get}));
}

TEST(ToolsScreen, DisplayPanelRunsExactCommandsAndChecksInputSilently)
{
    ToolsFixture f;
    ToolsScreen *s = f.show();
    f.h.fake.setDefault({});
    EXPECT_EQ(s->sizeRow()->accessibilityLabel(), QStringLiteral("Разрешение: 1080x2400"));
    EXPECT_EQ(s->densityRow()->accessibilityLabel(), QStringLiteral("Плотность: 420 dpi"));
    EXPECT_FALSE(s->applySizeButton()->isEnabled());
    EXPECT_FALSE(s->applyDensityButton()->isEnabled());
    EXPECT_TRUE(s->resetSizeButton()->isEnabled());

    struct Press {
        const char *what;
        std::function<void()> act;
        std::optional<QStringList> sent; // the shell words sent, or nothing
    };
    const auto fill = [&](const char *w, const char *h) {
        return [=] {
            type(s->widthField(), QString::fromUtf8(w));
            type(s->heightField(), QString::fromUtf8(h));
            s->applySizeButton()->click();
        };
    };
    const auto dpi = [&](const char *d) {
        return [=] {
            type(s->densityField(), QString::fromUtf8(d));
            s->applyDensityButton()->click();
        };
    };
    const QList<Press> presses{
        {"size", fill("1080", "2400"), S({"wm", "size", "1080x2400"})},
        {"signed size", fill("+1080", "2400"), S({"wm", "size", "1080x2400"})},
        {"200 wide", fill("200", "2400"), std::nullopt},
        {"negative", fill("-500", "2400"), std::nullopt},
        {"density 72", dpi("72"), S({"wm", "density", "72"})},
        {"density 900", dpi("900"), S({"wm", "density", "900"})},
        {"density 71", dpi("71"), std::nullopt},
        {"density 901", dpi("901"), std::nullopt},
        {"size reset", [&] { s->resetSizeButton()->click(); }, S({"wm", "size", "reset"})},
        {"density reset", [&] { s->resetDensityButton()->click(); }, S({"wm", "density", "reset"})},
        {"time-out chip", [&] { s->timeoutChips()[2]->click(); },
         S({"settings", "put", "system", "screen_off_timeout", "60000"})},
    };
    for (const Press &press : presses) {
        f.h.fake.clearCalls();
        press.act();
        // What the press started has finished (with the snapshot reload after it) before the
        // key below, so its status line cannot overwrite the key's.
        ASSERT_TRUE(waitUntil([&] { return !f.h->isDisplayBusy() && !f.h->isBusy() && !f.h->isSnapshotLoading(); }))
            << press.what;
        // A key press after it; every started command's answer has arrived before the check.
        s->keyButtons()[0]->click();
        ASSERT_TRUE(settleCommands()) << press.what;
        ASSERT_TRUE(f.idle()) << press.what;
        EXPECT_EQ(f.count(onDevice(S({"shell", "input", "keyevent", "KEYCODE_HOME"}))), 1) << press.what;
        QList<QStringList> shell;
        for (const QStringList &call : f.h.fake.calls())
            if (call.value(2) == QStringLiteral("shell") && call.value(3) != DeviceSnapshot::probeScript()
                && call.value(3) != QStringLiteral("input"))
                shell << call.mid(3);
        EXPECT_EQ(shell, press.sent ? QList<QStringList>{*press.sent} : QList<QStringList>{}) << press.what;
        f.h->toolsStatusText.set(QStringLiteral("Готово"));
    }
    // Typed text is kept after an apply.
    EXPECT_EQ(s->densityField()->text(), QStringLiteral("901"));
    EXPECT_TRUE(s->applyDensityButton()->isEnabled());
    type(s->densityField(), QStringLiteral("420 "));
    EXPECT_FALSE(s->applyDensityButton()->isEnabled());
}

// The display panel's rows break between their fields and their buttons, never between the
// buttons: "Сброс" stays beside "Применить", whatever width the panel has.
TEST(ToolsScreen, DisplayRowsKeepTheirButtonsTogether)
{
    ToolsFixture f;
    ToolsScreen *s = f.show();
    const auto line = [&](const QWidget *w) { return w->mapTo(s->displayBody(), w->rect().center()).y(); };
    const auto left = [&](const QWidget *w) { return w->mapTo(s->displayBody(), QPoint(0, 0)).x(); };
    bool wrapped = false, whole = false;
    for (int width = 480; width <= 1600; width += 20) {
        f.reader->resize(width, 1100);
        settle();
        const struct {
            const char *row;
            const QWidget *field; // the row's last field
            const QWidget *apply;
            const QWidget *reset;
        } rows[] = {{"size", s->heightField(), s->applySizeButton(), s->resetSizeButton()},
                    {"density", s->densityField(), s->applyDensityButton(), s->resetDensityButton()}};
        for (const auto &r : rows) {
            EXPECT_EQ(line(r.reset), line(r.apply)) << r.row << " at " << width;
            const bool besideTheField = line(r.apply) == line(r.field);
            // Below the fields, the buttons start their own line.
            EXPECT_TRUE(besideTheField || left(r.apply) == left(s->widthField())) << r.row << " at " << width;
            (besideTheField ? whole : wrapped) |= std::string_view(r.row) == "size";
        }
        EXPECT_EQ(line(s->heightField()), line(s->widthField())) << width;
    }
    EXPECT_TRUE(wrapped && whole);
}

TEST(ToolsScreen, TimeoutChipIsOnOnlyForTheDevicesValue)
{
    ToolsFixture f;
    ToolsScreen *s = f.show();
    const auto onChips = [&] {
        QList<qint64> on;
        for (FilterChip *chip : s->timeoutChips())
            if (chip->isOn())
                on << chip->property("milliseconds").toLongLong();
        return on;
    };
    EXPECT_EQ(onChips(), QList<qint64>{30000});
    f.h->screenTimeoutMilliseconds.set(120000);
    settle();
    EXPECT_TRUE(onChips().isEmpty());
    f.h->screenTimeoutMilliseconds.set(std::nullopt);
    settle();
    EXPECT_TRUE(onChips().isEmpty());
    f.h->screenTimeoutMilliseconds.set(1800000);
    settle();
    EXPECT_EQ(onChips(), QList<qint64>{1800000});
}

// The display panel waits for its own command: a second press while the first runs sends
// nothing, and the status line is the finished command's.
TEST(ToolsScreen, DisplayPanelWaitsForItsOwnCommand)
{
    ToolsFixture f;
    ToolsScreen *s = f.show();
    const QStringList size = onDevice(S({"shell", "wm", "size", "1080x2400"}));
    f.h.fake.on(size, {});
    type(s->widthField(), QStringLiteral("1080"));
    type(s->heightField(), QStringLiteral("2400"));
    s->applySizeButton()->click();
    EXPECT_FALSE(s->displayBody()->isEnabled());
    s->applySizeButton()->click();
    s->resetSizeButton()->click();
    s->timeoutChips()[0]->click();
    ASSERT_TRUE(f.idle());
    EXPECT_EQ(f.count(size), 1);
    EXPECT_EQ(f.count(onDevice(S({"shell", "wm", "size", "reset"}))), 0);
    EXPECT_EQ(f.h->toolsStatusText(), QStringLiteral("Разрешение изменено"));
    EXPECT_TRUE(s->displayBody()->isEnabled());
}

TEST(ToolsScreen, RebootAsksFirstAndRecordsWhatHappened)
{
    ToolsFixture f;
    ToolsScreen *s = f.show();
    ASSERT_EQ(s->rebootButtons().size(), 3);
    EXPECT_EQ(s->rebootButtons()[0]->text(), QStringLiteral("Перезагрузить систему"));
    EXPECT_EQ(s->rebootButtons()[1]->text(), QStringLiteral("Recovery"));
    EXPECT_EQ(s->rebootButtons()[2]->text(), QStringLiteral("Bootloader / Fastboot"));

    struct Case {
        const char *what;
        int button;
        bool confirm;
        FakeResponse answer;
        QStringList command;
        std::optional<OperationRecord> record;
        // What the dialog says; its confirm button says the title.
        QString title;
        QString message;
        bool destructive;
    };
    const QString recoveryMessage = QStringLiteral(
        "Устройство перейдёт в режим восстановления. ADB-подключение будет ограничено до возврата в систему.");
    const QString systemMessage = QStringLiteral(
        "Устройство перезагрузится в обычном режиме. Несохранённые данные в приложениях будут потеряны.");
    const QString bootloaderMessage =
        QStringLiteral("Устройство перейдёт в режим загрузчика. Управление будет доступно только через fastboot.");
    const QList<Case> cases{
        {"cancelled", 1, false, {}, {}, std::nullopt, QStringLiteral("Загрузить Recovery"), recoveryMessage, true},
        {"system", 0, true, {}, {QStringLiteral("reboot")},
         OperationRecord(QStringLiteral("Перезагрузить"), QStringLiteral("Команда отправлена устройству"), {}, true),
         QStringLiteral("Перезагрузить"), systemMessage, false},
        {"bootloader refused", 2, true, {.err = QStringLiteral("error: device offline"), .exit = 1},
         {QStringLiteral("reboot"), QStringLiteral("bootloader")},
         OperationRecord(QStringLiteral("Загрузить Bootloader"), QStringLiteral("error: device offline"), {}, false),
         QStringLiteral("Загрузить Bootloader"), bootloaderMessage, true},
    };
    for (const Case &c : cases) {
        f.h->recentOperations.set({});
        f.h.fake.clearCalls();
        if (!c.command.isEmpty())
            f.h.fake.on(onDevice(c.command), c.answer);
        s->rebootButtons()[c.button]->click();
        QMessageBox *dialog = s->rebootDialog();
        ASSERT_NE(dialog, nullptr) << c.what;
        ASSERT_TRUE(s->pendingReboot()) << c.what;
        EXPECT_EQ(s->pendingReboot()->dialogTitle, c.title) << c.what;
        EXPECT_EQ(dialog->text(), c.title) << c.what;
        EXPECT_EQ(dialog->informativeText(), c.message) << c.what;
        EXPECT_EQ(dialog->windowModality(), Qt::WindowModal) << c.what;
        ASSERT_EQ(dialog->buttons().size(), 2) << c.what;
        QAbstractButton *confirm = dialogButton(dialog, c.title);
        QAbstractButton *cancel = dialogButton(dialog, QStringLiteral("Отмена"));
        ASSERT_TRUE(confirm && cancel) << c.what;
        EXPECT_EQ(dialog->buttonRole(confirm), c.destructive ? QMessageBox::DestructiveRole : QMessageBox::AcceptRole)
            << c.what;
        EXPECT_EQ(dialog->buttonRole(cancel), QMessageBox::RejectRole) << c.what;
        (c.confirm ? confirm : cancel)->click();
        ASSERT_TRUE(waitUntil([&] { return !s->rebootDialog(); })) << c.what;
        EXPECT_EQ(s->pendingReboot(), std::nullopt) << c.what;
        if (!c.record) {
            // Cancelling leaves the device alone: a key press's answer shows nothing else ran.
            s->keyButtons()[0]->click();
            ASSERT_TRUE(waitUntil([&] { return f.h->toolsStatusText().startsWith(QStringLiteral("Домой")); }));
            ASSERT_TRUE(settleCommands()) << c.what;
            for (const QStringList &call : f.h.fake.calls())
                EXPECT_NE(call.value(2), QStringLiteral("reboot")) << c.what;
            EXPECT_TRUE(f.h->recentOperations().isEmpty()) << c.what;
            continue;
        }
        ASSERT_TRUE(waitUntil([&] { return !f.h->recentOperations().isEmpty(); })) << c.what;
        EXPECT_TRUE(f.h.fake.calls().contains(onDevice(c.command))) << c.what;
        const OperationRecord record = f.h->recentOperations().first();
        EXPECT_EQ(record.title, c.record->title) << c.what;
        EXPECT_EQ(record.detail, c.record->detail) << c.what;
        EXPECT_EQ(record.succeeded, c.record->succeeded) << c.what;
    }
}

TEST(ToolsScreen, RebootConfirmedAfterTheDeviceLeftRecordsNothing)
{
    ToolsFixture f;
    ToolsScreen *s = f.show();
    s->rebootButtons()[0]->click();
    QMessageBox *dialog = s->rebootDialog();
    ASSERT_NE(dialog, nullptr);
    f.h->selectedDeviceID.set(std::nullopt);
    press(dialog, QStringLiteral("Перезагрузить"));
    ASSERT_TRUE(waitUntil([&] { return !s->rebootDialog(); }));
    ASSERT_TRUE(settleCommands());
    EXPECT_TRUE(f.h->recentOperations().isEmpty());
    EXPECT_TRUE(f.h->toasts().isEmpty());
    for (const QStringList &call : f.h.fake.calls())
        EXPECT_FALSE(call.contains(QStringLiteral("reboot")));
}

TEST(ToolsScreen, KeysSendTheirCodes)
{
    ToolsFixture f;
    ToolsScreen *s = f.show();
    f.h.fake.setDefault({});
    const QList<DeckButton *> keys = s->keyButtons();
    ASSERT_EQ(keys.size(), 9);
    for (int i = 0; i < keys.size(); ++i) {
        const ToolsFacts::Key &key = ToolsFacts::keys()[i];
        EXPECT_EQ(keys[i]->toolTip(), ViewUpdates::plainToolTip(key.code));
        EXPECT_EQ(keys[i]->accessibleName(), key.title + QStringLiteral(", код ") + key.code);
        // The 13 px symbol over the caption, 3 px apart, padded Space::s above and below.
        EXPECT_EQ(keys[i]->buttonStyle().stackedSymbol, 13) << i;
        EXPECT_EQ(keys[i]->buttonStyle().stackedGap, 3) << i;
        EXPECT_EQ(keys[i]->height(), int(std::ceil(2 * Space::s + 13 + 3 + QFontMetricsF(Typo::caption()).height()))) << i;
        EXPECT_EQ(keys[i]->height(), keys[i]->sizeHint().height()) << i;
    }
    f.h.fake.clearCalls();
    keys[2]->click(); // "Меню"
    ASSERT_TRUE(waitUntil([&] { return f.h->toolsStatusText() == QStringLiteral("Меню: отправлено"); }));
    EXPECT_EQ(f.h.fake.calls(), QList<QStringList>{onDevice(S({"shell", "input", "keyevent", "KEYCODE_APP_SWITCH"}))});

    BusyLedger::Token busy = f.h->beginBusy();
    EXPECT_FALSE(s->keysBody()->isEnabled());
    EXPECT_FALSE(s->powerBody()->isEnabled());
    EXPECT_FALSE(s->captureButton()->isEnabled());
    busy.release();
    EXPECT_TRUE(s->keysBody()->isEnabled());
}

TEST(ToolsScreen, CaptureIsJudgedByTheModelsResult)
{
    ToolsFixture f;
    ToolsScreen *s = f.show();
    const QStringList capture = onDevice(S({"exec-out", "screencap", "-p"}));
    s->captureButton()->click(); // cancelled
    ASSERT_EQ(f.desktop.requests.size(), 1);
    EXPECT_EQ(f.desktop.requests[0].title, QStringLiteral("Сохранить снимок экрана"));
    EXPECT_TRUE(f.desktop.requests[0].suggestedName.startsWith(QStringLiteral("android-screenshot-")));
    EXPECT_EQ(f.desktop.requests[0].defaultSuffix, QStringLiteral("png"));
    EXPECT_EQ(f.count(capture), 0);

    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/tools.png");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("older picture");
    }
    f.h.fake.on(capture, {.out = QStringLiteral("/system/bin/sh: screencap: inaccessible or not found")});
    f.desktop.saveAnswer = path;
    s->captureButton()->click();
    ASSERT_TRUE(waitUntil([&] { return !f.h->recentOperations().isEmpty(); }));
    const OperationRecord record = f.h->recentOperations().first();
    EXPECT_FALSE(record.succeeded);
    EXPECT_TRUE(record.detail.startsWith(QStringLiteral("tools.png: ")));
    EXPECT_TRUE(record.detail.contains(QStringLiteral("inaccessible or not found")));
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("older picture"));
}

TEST(ToolsScreen, FastbootPanelByToolDevicesAndVariables)
{
    {
        ToolsFixture f(true, false);
        ToolsScreen *s = f.show();
        EXPECT_FALSE(s->fastbootMissingText()->isHidden());
        EXPECT_FALSE(s->searchFastbootButton()->isVisibleTo(s));
    }
    ToolsFixture f;
    ToolsScreen *s = f.show();
    EXPECT_TRUE(s->fastbootMissingText()->isHidden());
    EXPECT_TRUE(s->searchFastbootButton()->isVisibleTo(s));
    EXPECT_FALSE(s->readVariablesButton()->isEnabled());
    EXPECT_FALSE(s->fastbootRebootRow()->isVisibleTo(s));
    EXPECT_FALSE(s->variablesView()->isVisibleTo(s));
    EXPECT_FALSE(s->fastbootBusyIndicator()->isVisibleTo(s));

    f.h.fake.on({QStringLiteral("devices")}, {.out = QStringLiteral("0A1B2C3D\tfastboot\n")}, kFastboot);
    QString vars;
    for (int i = 0; i < 40; ++i)
        vars += QStringLiteral("(bootloader) var%1:value %1\n").arg(i, 2, 10, QLatin1Char('0'));
    vars += QStringLiteral("(bootloader) Product:panther\n");
    f.h.fake.on({QStringLiteral("-s"), QStringLiteral("0A1B2C3D"), QStringLiteral("getvar"), QStringLiteral("all")},
                {.err = vars}, kFastboot);
    f.h.fake.on({QStringLiteral("-s"), QStringLiteral("0A1B2C3D"), QStringLiteral("reboot")}, {}, kFastboot);
    f.h.fake.on({QStringLiteral("-s"), QStringLiteral("0A1B2C3D"), QStringLiteral("reboot"), QStringLiteral("bootloader")},
                {}, kFastboot);

    s->searchFastbootButton()->click();
    // The fastboot buttons wait while a fastboot command runs.
    EXPECT_FALSE(s->searchFastbootButton()->isEnabled());
    EXPECT_TRUE(s->fastbootBusyIndicator()->isVisibleTo(s));
    s->searchFastbootButton()->click();
    ASSERT_TRUE(f.idle());
    settle();
    EXPECT_EQ(f.count({QStringLiteral("devices")}, kFastboot), 2); // shown, then one press
    EXPECT_TRUE(s->searchFastbootButton()->isEnabled());
    EXPECT_TRUE(s->readVariablesButton()->isEnabled());
    EXPECT_TRUE(s->fastbootRebootRow()->isVisibleTo(s));
    EXPECT_EQ(s->panels()[4]->tone(), Tone::violet);
    EXPECT_EQ(s->panels()[4]->subtitle(), QStringLiteral("Найдено устройств: 1"));

    s->readVariablesButton()->click();
    EXPECT_FALSE(s->readVariablesButton()->isEnabled());
    EXPECT_FALSE(s->bootSystemButton()->isEnabled());
    s->bootSystemButton()->click();
    ASSERT_TRUE(f.idle());
    settle();
    EXPECT_EQ(f.count({QStringLiteral("-s"), QStringLiteral("0A1B2C3D"), QStringLiteral("reboot")}, kFastboot), 0);
    QListView *list = s->variablesView();
    ASSERT_TRUE(list->isVisibleTo(s));
    QAbstractItemModelTester tester(list->model(), QAbstractItemModelTester::FailureReportingMode::Warning);
    ASSERT_EQ(list->model()->rowCount(), 41);
    EXPECT_EQ(list->model()->index(0, 0).data().toString(), QStringLiteral("Product"));
    EXPECT_EQ(list->model()->index(1, 0).data().toString(), QStringLiteral("var00"));
    EXPECT_EQ(list->model()->index(1, 0).data(Qt::UserRole).toString(), QStringLiteral("value 00"));
    EXPECT_LE(list->parentWidget()->height(), ToolsScreen::kVariablesMaxHeight);
    EXPECT_GT(list->verticalScrollBar()->maximum(), 0);
    // Values are copied, names are not.
    list->selectionModel()->select(list->model()->index(1, 0), QItemSelectionModel::Select);
    list->selectionModel()->select(list->model()->index(0, 0), QItemSelectionModel::Select);
    list->actions().first()->trigger();
    EXPECT_EQ(f.desktop.copied, QStringList{QStringLiteral("panther\nvalue 00")});

    // "Загрузить систему" is a plain reboot; the other goes back to the bootloader.
    s->bootSystemButton()->click();
    ASSERT_TRUE(waitUntil([&] { return !f.h->recentOperations().isEmpty(); }));
    ASSERT_TRUE(f.idle());
    EXPECT_EQ(f.count({QStringLiteral("-s"), QStringLiteral("0A1B2C3D"), QStringLiteral("reboot")}, kFastboot), 1);
    EXPECT_EQ(f.h->recentOperations().first().title, QStringLiteral("Fastboot: загрузка системы"));
    settle();
    s->bootBootloaderButton()->click();
    ASSERT_TRUE(waitUntil([&] { return f.h->recentOperations().size() == 2; }));
    EXPECT_EQ(f.count({QStringLiteral("-s"), QStringLiteral("0A1B2C3D"), QStringLiteral("reboot"), QStringLiteral("bootloader")},
                      kFastboot),
              1);
    EXPECT_EQ(f.h->recentOperations().first().title, QStringLiteral("Fastboot: bootloader"));
}

TEST(ToolsScreen, ServerPanel)
{
    {
        ToolsFixture f(false, false);
        ToolsScreen *s = f.show();
        EXPECT_EQ(s->fastbootPathRow()->accessibilityLabel(), QStringLiteral("Путь к fastboot: не найден"));
        EXPECT_EQ(s->fastbootPathRow()->copyableValue(), nullptr);
        EXPECT_EQ(s->connectionRow()->accessibilityLabel(), QStringLiteral("Подключение: —"));
        EXPECT_NE(s->adbPathRow()->copyableValue(), nullptr);
    }
    ToolsFixture f;
    ToolsScreen *s = f.show();
    EXPECT_EQ(s->adbPathRow()->copyableValue()->value(), f.h.fake.adbPath());
    EXPECT_EQ(s->fastbootPathRow()->copyableValue()->value(), f.h.fake.fastbootPath());
    EXPECT_EQ(s->connectionRow()->accessibilityLabel(), QStringLiteral("Подключение: USB"));
    EXPECT_TRUE(s->wirelessButton()->isEnabled());
    // A busy model does not hold the switch back.
    BusyLedger::Token busy = f.h->beginBusy();
    EXPECT_TRUE(s->wirelessButton()->isEnabled());
    busy.release();

    f.h.fake.clearCalls();
    f.h.fake.setDefault({});
    s->restartServerButton()->click();
    ASSERT_TRUE(waitUntil([&] { return !f.h->recentOperations().isEmpty(); }));
    ASSERT_TRUE(f.idle());
    EXPECT_EQ(f.h.fake.calls().mid(0, 2), (QList<QStringList>{{QStringLiteral("kill-server")}, {QStringLiteral("start-server")}}));

    // Wi-Fi without an address found: the device is put into TCP mode, then the advice.
    f.h->recentOperations.set({});
    f.h.fake.clearCalls();
    f.h->wirelessSwitchDelay = std::chrono::milliseconds(1);
    f.h.fake.on(onDevice(S({"shell", "ip route"})), {.out = QStringLiteral("default dev rmnet0\n")});
    f.h.fake.on(onDevice(S({"tcpip", "5555"})), {.out = QStringLiteral("restarting in TCP mode port: 5555\n")});
    s->wirelessButton()->click();
    ASSERT_TRUE(waitUntil([&] { return !f.h->recentOperations().isEmpty(); }));
    QList<QStringList> onTheDevice;
    for (const QStringList &call : f.h.fake.calls())
        if (call.value(1) == kSerial)
            onTheDevice << call;
    EXPECT_EQ(onTheDevice, (QList<QStringList>{onDevice(S({"shell", "ip route"})), onDevice(S({"tcpip", "5555"}))}));
    EXPECT_EQ(f.h->recentOperations().first().detail, QStringLiteral("Подключитесь вручную, указав адрес из настроек Wi-Fi"));
}

TEST(ToolsScreen, TypedTextSurvivesARebuildButNotLeavingTheScreen)
{
    ToolsFixture f;
    f.h->route.set(AppRoute::tools);
    ToolsScreen *s = f.show();
    type(s->widthField(), QStringLiteral("1440"));
    auto *again = new ToolsScreen(f.h.model.get(), &f.memory);
    EXPECT_EQ(again->widthField()->text(), QStringLiteral("1440"));
    delete again;
    f.h->route.set(AppRoute::overview);
    f.h->route.set(AppRoute::tools);
    auto *later = new ToolsScreen(f.h.model.get(), &f.memory);
    EXPECT_TRUE(later->widthField()->text().isEmpty());
    delete later;
}

// ---- Pictures ----

TEST(ToolsScreenshots, MainStates)
{
    ScreenshotGuard guard;
    struct Shot {
        const char *name;
        ColorScheme scheme;
        int width;
        bool fastboot;
    };
    const QList<Shot> shots{
        {"wide-dark", ColorScheme::dark, 1240, false},
        {"wide-light", ColorScheme::light, 1240, false},
        {"compact-dark", ColorScheme::dark, 600, false},
        {"compact-light", ColorScheme::light, 600, false},
        {"fastboot-wide-dark", ColorScheme::dark, 1240, true},
        {"fastboot-wide-light", ColorScheme::light, 1240, true},
        {"fastboot-compact-dark", ColorScheme::dark, 600, true},
    };
    for (const Shot &shot : shots) {
        Theme::apply(shot.scheme, false);
        ToolsFixture f;
        Theme::apply(shot.scheme, false);
        f.h->adbVersionText.set(QStringLiteral("Android Debug Bridge version 1.0.41"));
        ToolsScreen *s = f.show(shot.width, shot.width < 700 ? 2600 : 1300);
        if (shot.fastboot) {
            f.h->fastbootDevices.set({FastbootDevice{QStringLiteral("0A1B2C3D"), QStringLiteral("fastboot")}});
            f.h->fastbootStatusText.set(QStringLiteral("Найдено устройств: 1"));
            QMap<QString, QString> vars;
            for (const char *pair : {"product=panther", "serialno=0A1B2C3D", "secure=yes", "unlocked=no",
                                     "version-bootloader=cloudripper-14.1-11012345", "slot-count=2",
                                     "current-slot=a", "max-download-size=0x10000000", "Battery-voltage=4123",
                                     "hw-revision=MP1.0", "variant=GLOBAL"}) {
                const QString text = QString::fromLatin1(pair);
                vars.insert(text.section(QLatin1Char('='), 0, 0), text.section(QLatin1Char('='), 1));
            }
            f.h->fastbootVariables.set(vars);
        }
        type(s->widthField(), QStringLiteral("1080"));
        type(s->heightField(), QStringLiteral("2400"));
        settle();
        EXPECT_EQ(GeometryWalk::seenFaults(f.reader.get()), QStringList()) << shot.name;
        EXPECT_TRUE(saveScreenshot(f.reader.get(), QStringLiteral("tools"), QString::fromLatin1(shot.name)));
    }
}

} // namespace
