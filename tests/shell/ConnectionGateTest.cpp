#include "shell/ConnectionGateView.h"
#include "shell/LinkDiagram.h"
#include "core/PlatformTexts.h"

#include "design/DeckButton.h"
#include "design/FocusRing.h"
#include "design/Labels.h"

#include "ShellHarness.h"
#include "UiTestSupport.h"

#include <QClipboard>
#include <QPlainTextEdit>
#include <QTest>
#include <QGuiApplication>
#include <gtest/gtest.h>

namespace {

using Case = LinkState::Case;

// Puts the model into `kind` the way adb would.
void reach(ShellHarness &h, Case kind)
{
    switch (kind) {
    case Case::searching: h->isBusy.set(true); break;
    case Case::unauthorized: h.listDevices({device(QStringLiteral("A1"), QStringLiteral("unauthorized"))}, QStringLiteral("A1")); break;
    case Case::offline: h.listDevices({device(QStringLiteral("A1"), QStringLiteral("offline"))}, QStringLiteral("A1")); break;
    case Case::recovery: h.listDevices({device(QStringLiteral("A1"), QStringLiteral("recovery"))}, QStringLiteral("A1")); break;
    case Case::sideload: h.listDevices({device(QStringLiteral("A1"), QStringLiteral("sideload"))}, QStringLiteral("A1")); break;
    case Case::fastboot: h->fastbootDevices.set({FastbootDevice{QStringLiteral("FB1"), QStringLiteral("fastboot")}}); break;
    case Case::connected: h.listDevices({device(QStringLiteral("A1"))}, QStringLiteral("A1")); break;
    case Case::working: h->runningOperation.set(RunningOperation{QStringLiteral("Отключение"), QString(), std::nullopt, false}); break;
    default: break;
    }
}

TEST(ConnectionGate, EveryStateHasItsHeadlineAndSteps)
{
    struct Row { Case kind; QString headline; int steps; QString firstStep; };
    const Row rows[] = {
        {Case::adbMissing, QStringLiteral("Нужен Android Debug Bridge"), 3, PlatformTexts::text(PlatformTexts::installToolsStep)},
        {Case::searching, QStringLiteral("Ищем устройство"), 0, {}},
        {Case::noDevice, QStringLiteral("Подключите устройство"), 4, PlatformTexts::text(PlatformTexts::connectCableStep)},
        {Case::unauthorized, QStringLiteral("Подтвердите доступ на телефоне"), 4,
         QStringLiteral("Разблокируйте экран Android — запрос появляется только на разблокированном устройстве.")},
        {Case::offline, QStringLiteral("Связь с устройством потеряна"), 4,
         QStringLiteral("Переподключите USB-кабель или используйте другой порт.")},
        {Case::recovery, QStringLiteral("Устройство в режиме Recovery"), 0, {}},
        {Case::sideload, QStringLiteral("Устройство ждёт пакет обновления"), 0, {}},
        {Case::fastboot, QStringLiteral("Устройство в режиме Fastboot"), 3,
         QStringLiteral("В режиме Fastboot доступны только команды загрузчика.")},
        {Case::connected, QStringLiteral("Устройство готово"), 0, {}},
        {Case::working, QStringLiteral("Устройство готово"), 0, {}},
    };
    for (const Row &row : rows) {
        ShellHarness h(row.kind != Case::adbMissing);
        reach(h, row.kind);
        ASSERT_EQ(h->linkState().kind, row.kind) << row.headline.toStdString();
        ConnectionGateView gate(h.model.get(), h.settings.get());
        const LinkState state = h->linkState();
        EXPECT_EQ(gate.shownHeadline(), row.headline);
        EXPECT_EQ(gate.shownSubtitle(), subtitle(state));
        EXPECT_EQ(gate.badge()->tone(), tone(state));
        EXPECT_EQ(gate.diagram()->state(), state);
        const QStringList steps = gate.shownSteps();
        EXPECT_EQ(steps.size(), row.steps) << row.headline.toStdString();
        if (row.steps)
            EXPECT_EQ(steps.first(), row.firstStep);
    }
    // The model never reports a failure itself; the gate shows the failure's own message.
    ShellHarness h;
    ConnectionGateView gate(h.model.get(), h.settings.get());
    gate.setPreviewState(LinkState::failed(QStringLiteral("Не удалось запустить adb")));
    EXPECT_EQ(gate.shownHeadline(), QStringLiteral("Не удалось запустить adb"));
    EXPECT_TRUE(gate.shownSteps().isEmpty());
    EXPECT_EQ(ConnectionGateView::steps(LinkState::failed(QStringLiteral("x"))), QStringList());
}

TEST(ConnectionGate, StateChangesRedrawInPlace)
{
    ShellHarness h;
    ConnectionGateView gate(h.model.get(), h.settings.get());
    EXPECT_EQ(gate.shownSteps().size(), 4);
    reach(h, Case::recovery);
    settle();
    EXPECT_EQ(gate.shownHeadline(), QStringLiteral("Устройство в режиме Recovery"));
    EXPECT_TRUE(gate.shownSteps().isEmpty());
}

TEST(ConnectionGate, NarrowWindowStacksTheActionsInsteadOfCuttingThem)
{
    ShellHarness h;
    h->fastbootService = FastbootService(h.fake.fastbootPath());
    for (const int width : {584, 1124}) {
        ConnectionGateView gate(h.model.get(), h.settings.get());
        gate.resize(width, 520);
        gate.show();
        settle();
        for (QWidget *button : {static_cast<QWidget *>(gate.primaryButton()), static_cast<QWidget *>(gate.restartButton()),
                                static_cast<QWidget *>(gate.fastbootButton())}) {
            const QRect r(button->mapTo(&gate, QPoint(0, 0)), button->size());
            EXPECT_GE(r.left(), 0) << width;
            EXPECT_LE(r.right(), width) << width;
        }
    }
}

TEST(ConnectionGate, PrimaryActionSwitchesWithAdb)
{
    {
        ShellHarness h(false);
        ConnectionGateView gate(h.model.get(), h.settings.get());
        EXPECT_EQ(gate.primaryButton()->text(), QStringLiteral("Проверить снова"));
        EXPECT_FALSE(gate.restartButton()->isEnabled());
        EXPECT_FALSE(gate.fastbootButton()->isVisibleTo(&gate));
        // Relinking with nothing to find keeps adb missing and runs no tool.
        gate.triggerPrimaryAction();
        EXPECT_FALSE(h->service);
        EXPECT_TRUE(h->showADBSetup());
        EXPECT_TRUE(h.fake.calls().isEmpty());
    }
    ShellHarness h;
    h.fake.on({QStringLiteral("devices"), QStringLiteral("-l")}, {.out = QStringLiteral("List of devices attached\n\n")});
    h->fastbootService = FastbootService(h.fake.fastbootPath());
    ConnectionGateView gate(h.model.get(), h.settings.get());
    EXPECT_EQ(gate.primaryButton()->text(), QStringLiteral("Искать устройства"));
    EXPECT_TRUE(gate.restartButton()->isEnabled());
    EXPECT_TRUE(gate.fastbootButton()->isVisibleTo(&gate));
    gate.primaryButton()->click();
    EXPECT_TRUE(waitUntil([&] { return h.fake.calls().contains({QStringLiteral("devices"), QStringLiteral("-l")}); }));
}

TEST(ConnectionGate, DiagnosticsRunDevicesThenVersionAndListVersionFirst)
{
    ShellHarness h;
    h.fake.on({QStringLiteral("devices"), QStringLiteral("-l")},
              {.out = QStringLiteral("List of devices attached\nR58M device usb:1-1 model:<b>X</b>\n\n"), .delayMs = 300});
    h.fake.on({QStringLiteral("version")}, {.out = QStringLiteral("Android Debug Bridge version 1.0.41\n"),
                                            .err = QStringLiteral("warn")});
    ConnectionGateView gate(h.model.get(), h.settings.get());
    gate.show();
    EXPECT_FALSE(gate.diagnosticsBody()->isVisible());
    EXPECT_FALSE(gate.copyButton()->isEnabled());

    gate.diagnosticsHeader()->click();
    EXPECT_TRUE(gate.showDiagnostics());
    EXPECT_TRUE(gate.isRunningDiagnostics());
    EXPECT_TRUE(gate.diagnosticsBody()->isVisible());
    // A second run is refused while one is in flight.
    gate.rerunDiagnosticsButton()->click();
    ASSERT_TRUE(waitUntil([&] { return !gate.isRunningDiagnostics(); }));
    EXPECT_EQ(h.fake.calls(), (QList<QStringList>{{QStringLiteral("devices"), QStringLiteral("-l")}, {QStringLiteral("version")}}));
    EXPECT_EQ(gate.diagnosticsText(),
              QStringLiteral("$ adb version\nAndroid Debug Bridge version 1.0.41\n\nwarn\n\n$ adb devices -l\n"
                             "List of devices attached\nR58M device usb:1-1 model:<b>X</b>"));

    // Collapsing and expanding keeps the transcript and runs nothing.
    gate.diagnosticsHeader()->click();
    gate.diagnosticsHeader()->click();
    EXPECT_EQ(h.fake.calls().size(), 2);
    EXPECT_TRUE(gate.copyButton()->isEnabled());
    gate.copyButton()->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), gate.diagnosticsText());

    // "Обновить диагностику" replaces it.
    h.fake.on({QStringLiteral("version")}, {.out = QStringLiteral("Android Debug Bridge version 1.0.42\n")});
    gate.rerunDiagnosticsButton()->click();
    ASSERT_TRUE(waitUntil([&] { return !gate.isRunningDiagnostics() && h.fake.calls().size() == 4; }));
    EXPECT_TRUE(gate.diagnosticsText().contains(QStringLiteral("1.0.42")));
}

TEST(ConnectionGate, EmptyOutputsLeaveOnlyTheTwoCommandLines)
{
    ShellHarness h;
    h.fake.setDefault({.out = QString(), .exit = 1});
    ConnectionGateView gate(h.model.get(), h.settings.get());
    gate.runDiagnostics();
    ASSERT_TRUE(waitUntil([&] { return !gate.isRunningDiagnostics(); }));
    EXPECT_EQ(gate.diagnosticsText(), QStringLiteral("$ adb version\n\n\n$ adb devices -l"));
}

TEST(ConnectionGate, WithoutAdbDiagnosticsShowOnlyTheRows)
{
    ShellHarness h(false);
    ConnectionGateView gate(h.model.get(), h.settings.get());
    gate.toggleDiagnostics();
    EXPECT_TRUE(gate.showDiagnostics());
    EXPECT_FALSE(gate.isRunningDiagnostics());
    EXPECT_TRUE(gate.diagnosticsText().isEmpty());
    EXPECT_FALSE(gate.copyButton()->isEnabled());
    const auto rows = gate.diagnosticsRows();
    EXPECT_EQ(rows[0], qMakePair(QStringLiteral("Путь к adb"), QStringLiteral("не найден")));
    EXPECT_EQ(rows[1], qMakePair(QStringLiteral("Версия adb"), QStringLiteral("—")));
    EXPECT_EQ(rows[2], qMakePair(QStringLiteral("Путь к fastboot"), QStringLiteral("не найден")));
    EXPECT_EQ(rows[3], qMakePair(QStringLiteral("Устройств в списке"), QStringLiteral("0")));
}

TEST(ConnectionGate, AGateReleasedDuringARunIsLeftAlone)
{
    ShellHarness h;
    h.fake.setDefault({.out = QStringLiteral("x"), .gate = QStringLiteral("listing")});
    auto *gate = new ConnectionGateView(h.model.get(), h.settings.get());
    auto run = gate->runDiagnostics();
    ASSERT_TRUE(waitUntil([&] { return h.fake.calls().size() == 1; }));
    delete gate;
    h.fake.open(QStringLiteral("listing"));
    runSync(std::move(run)); // the listing's answer arrived after the release
    ASSERT_TRUE(settleCommands());
    EXPECT_EQ(h.fake.calls().size(), 1); // the version run never starts
}


// The diagnostics transcript is a Tab stop (the keys scroll it): reached with Tab, its well
// shows the focus ring; focused by a click, or without the focus, it looks as always.
TEST(ConnectionGate, TheDiagnosticsTranscriptShowsTheKeyboardFocus)
{
    ShellHarness h;
    h.fake.on({QStringLiteral("version")}, {.out = QStringLiteral("Android Debug Bridge version 1.0.41\n")});
    ConnectionGateView gate(h.model.get(), h.settings.get());
    gate.resize(900, 900);
    gate.show();
    gate.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&gate));
    gate.diagnosticsHeader()->click();
    ASSERT_TRUE(waitUntil([&] { return !gate.isRunningDiagnostics() && !gate.diagnosticsText().isEmpty(); }));
    auto *transcript = gate.findChild<QPlainTextEdit *>();
    ASSERT_TRUE(transcript && transcript->isVisible());

    gate.diagnosticsHeader()->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < 10 && QApplication::focusWidget() != transcript; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), transcript) << "Tab never reaches the transcript";
    QWidget *well = FocusRing::shownBy(transcript);
    const QImage ringed = renderWidget(*well);
    FocusRing::setKeyboardInput(false);
    const QImage clicked = renderWidget(*well);
    EXPECT_NE(ringed, clicked) << "the transcript shows no focus";
    FocusRing::setKeyboardInput(true);
    gate.rerunDiagnosticsButton()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(renderWidget(*well), clicked);
}

} // namespace
