#include "screenkit/DeckTextField.h"
#include "shell/DevicePickerPopover.h"

#include "design/DeckButton.h"
#include "design/DeckSegmented.h"
#include "design/Labels.h"

#include "ShellHarness.h"
#include "UiTestSupport.h"

#include <QAction>
#include <gtest/gtest.h>

namespace {

using Mode = DevicePickerPopover::Mode;

struct OpenPicker {
    ShellHarness &h;
    DevicePickerPopover picker;
    int dismissed = 0;

    explicit OpenPicker(ShellHarness &harness) : h(harness), picker(harness.model.get())
    {
        QObject::connect(&picker, &DevicePickerPopover::dismissed, [this] { ++dismissed; });
        picker.show();
    }
};

QStringList calls(ShellHarness &h)
{
    QStringList lines;
    for (const QStringList &call : h.fake.calls())
        lines << call.join(QLatin1Char(' '));
    return lines;
}

bool calledWith(ShellHarness &h, const QString &line)
{
    return waitUntil([&] { return calls(h).contains(line); });
}

TEST(DevicePicker, ThreeModesSwapOnlyTheContent)
{
    ShellHarness h;
    OpenPicker o(h);
    QStringList titles;
    for (const auto &item : o.picker.modeSwitch()->items())
        titles << item.title;
    EXPECT_EQ(titles, (QStringList{QStringLiteral("Устройства"), QStringLiteral("По адресу"), QStringLiteral("Сопряжение")}));
    EXPECT_EQ(o.picker.modeSwitch()->accessibleName(), QStringLiteral("Способ подключения"));
    EXPECT_EQ(o.picker.width(), 344);

    struct Case { Mode mode; bool list, address, pair; } cases[] = {
        {Mode::network, false, true, false}, {Mode::pair, false, false, true}, {Mode::list, true, false, false}};
    h->wirelessAddress.set(QStringLiteral("10.0.0.7"));
    for (const Case &c : cases) {
        chooseSegment(o.picker.modeSwitch(), QVariant(int(c.mode)));
        EXPECT_EQ(o.picker.mode(), c.mode);
        EXPECT_EQ(o.picker.emptyNotice()->isVisibleTo(&o.picker), c.list);
        EXPECT_EQ(o.picker.addressField()->isVisibleTo(&o.picker), c.address);
        EXPECT_EQ(o.picker.pairCodeField()->isVisibleTo(&o.picker), c.pair);
        // The footer is there in every mode.
        EXPECT_TRUE(o.picker.refreshButton()->isVisibleTo(&o.picker));
        EXPECT_TRUE(o.picker.restartButton()->isVisibleTo(&o.picker));
    }
    // What was typed lives in the model and survives the mode switches.
    EXPECT_EQ(o.picker.addressField()->text(), QStringLiteral("10.0.0.7"));
}

TEST(DevicePicker, ListShowsTheNoticeOnlyWithoutAnyDevice)
{
    ShellHarness h;
    OpenPicker o(h);
    EXPECT_TRUE(o.picker.emptyNotice()->isVisibleTo(&o.picker));
    EXPECT_TRUE(o.picker.deviceRows().isEmpty());

    h->fastbootDevices.set({FastbootDevice{QStringLiteral("FB01"), QStringLiteral("fastbootd")}});
    EXPECT_FALSE(o.picker.emptyNotice()->isVisibleTo(&o.picker));
    ASSERT_EQ(o.picker.fastbootRows().size(), 1);
    auto *badge = o.picker.fastbootRows()[0]->findChild<StatusBadge *>();
    ASSERT_TRUE(badge);
    EXPECT_EQ(badge->tone(), Tone::violet);
    EXPECT_TRUE(badge->isCompact());

    h.listDevices({device(QStringLiteral("R58M123"), QStringLiteral("device"), QStringLiteral("SM_G991B")),
                   device(QStringLiteral("emulator-5554"), QStringLiteral("unauthorized"))});
    ASSERT_EQ(o.picker.deviceRows().size(), 2);
    struct Case { QString serial; QString name; QString badge; Tone tone; } cases[] = {
        {QStringLiteral("R58M123"), QStringLiteral("SM G991B"), QStringLiteral("Готово"), Tone::success},
        {QStringLiteral("emulator-5554"), QStringLiteral("emulator-5554"), QStringLiteral("unauthorized"), Tone::warning},
    };
    for (const Case &c : cases) {
        QAbstractButton *row = o.picker.deviceRow(c.serial);
        ASSERT_TRUE(row);
        auto *b = row->findChild<StatusBadge *>();
        EXPECT_EQ(b->tone(), c.tone);
        EXPECT_EQ(row->accessibleName(), c.name + QStringLiteral(", ") + c.badge);
        QStringList texts;
        for (auto *t : row->findChildren<DeckText *>())
            texts << t->text();
        EXPECT_EQ(texts, (QStringList{c.name, c.serial}));
    }
}

// The open popover fits its rows as the list changes: no rows floating in empty space after one
// goes away, none squeezed after one arrives.
TEST(DevicePicker, HeightFollowsTheRowsWhileOpen)
{
    const QList<AndroidDevice> three{device(QStringLiteral("A1")), device(QStringLiteral("192.168.1.25:5555")),
                                     device(QStringLiteral("emulator-5554"), QStringLiteral("unauthorized"))};
    // The height each list gets in a popover opened on it.
    QList<int> fresh;
    for (qsizetype n = 0; n <= three.size(); ++n) {
        ShellHarness h;
        h.listDevices(three.mid(0, n));
        OpenPicker open(h);
        settle();
        fresh << open.picker.height();
    }
    EXPECT_LT(fresh[1], fresh[2]);
    EXPECT_LT(fresh[2], fresh[3]);

    ShellHarness h;
    h.listDevices(three);
    OpenPicker open(h);
    settle();
    for (qsizetype n : {1, 3, 2, 0, 3}) {
        h.listDevices(three.mid(0, n));
        EXPECT_TRUE(waitUntil([&] { return open.picker.height() == fresh[n]; }, 5000))
            << n << " rows: " << open.picker.height() << " instead of " << fresh[n];
        for (QAbstractButton *row : open.picker.deviceRows())
            EXPECT_EQ(row->height(), row->sizeHint().height());
    }
}

TEST(DevicePicker, ARowSelectsItsDeviceAndCloses)
{
    ShellHarness h;
    h.fake.setDefault({.out = QString(), .exit = 0});
    h.listDevices({device(QStringLiteral("A1")), device(QStringLiteral("B2"), QStringLiteral("unauthorized"))},
                  QStringLiteral("A1"));
    OpenPicker o(h);
    o.picker.deviceRow(QStringLiteral("B2"))->click();
    EXPECT_EQ(h->selectedDeviceID(), QStringLiteral("B2"));
    EXPECT_EQ(o.dismissed, 1);
    EXPECT_FALSE(o.picker.isVisible());
}

TEST(DevicePicker, SelectionMadeElsewhereMovesTheMark)
{
    ShellHarness h;
    h.listDevices({device(QStringLiteral("A1")), device(QStringLiteral("B2"))}, QStringLiteral("A1"));
    OpenPicker o(h);
    auto selected = [&](const QString &serial) {
        return o.picker.deviceRow(serial)->findChild<InteractiveSurface *>()->isSelected();
    };
    EXPECT_TRUE(selected(QStringLiteral("A1")));
    EXPECT_FALSE(selected(QStringLiteral("B2")));
    h->selectedDeviceID.set(QStringLiteral("B2"));
    EXPECT_FALSE(selected(QStringLiteral("A1")));
    EXPECT_TRUE(selected(QStringLiteral("B2")));
}

TEST(DevicePicker, OnlyNetworkSerialsOfferDisconnectWhichKeepsThePopoverOpen)
{
    ShellHarness h;
    h.fake.setDefault({.out = QString(), .exit = 0});
    h.listDevices({device(QStringLiteral("R58M123")), device(QStringLiteral("192.168.1.25:5555")),
                   device(QStringLiteral("adb-R58M123-AbCdEf._adb-tls-connect._tcp"))});
    OpenPicker o(h);
    EXPECT_TRUE(o.picker.deviceRow(QStringLiteral("R58M123"))->actions().isEmpty());
    EXPECT_EQ(o.picker.deviceRow(QStringLiteral("R58M123"))->contextMenuPolicy(), Qt::NoContextMenu);
    for (const QString &serial : {QStringLiteral("192.168.1.25:5555"),
                                 QStringLiteral("adb-R58M123-AbCdEf._adb-tls-connect._tcp")}) {
        const auto actions = o.picker.deviceRow(serial)->actions();
        ASSERT_EQ(actions.size(), 1);
        EXPECT_EQ(actions[0]->text(), QStringLiteral("Отключить от сети"));
    }
    o.picker.deviceRow(QStringLiteral("192.168.1.25:5555"))->actions()[0]->trigger();
    EXPECT_TRUE(calledWith(h, QStringLiteral("disconnect 192.168.1.25:5555")));
    EXPECT_EQ(o.dismissed, 0);
}

TEST(DevicePicker, ConnectNeedsANonBlankAddressAndCloses)
{
    ShellHarness h;
    h.fake.setDefault({.out = QString(), .exit = 0});
    OpenPicker o(h);
    o.picker.setMode(Mode::network);
    for (const QString &blank : {QString(), QStringLiteral("   "), QStringLiteral("\t \n")}) {
        h->wirelessAddress.set(blank);
        EXPECT_FALSE(o.picker.connectButton()->isEnabled()) << blank.toStdString();
    }
    giveFocus(o.picker.addressField()->lineEdit());
    typeText(o.picker.addressField()->lineEdit(), QStringLiteral("192.168.1.25"));
    EXPECT_EQ(h->wirelessAddress(), QStringLiteral("\t \n192.168.1.25"));
    h->wirelessAddress.set(QStringLiteral("192.168.1.25"));
    EXPECT_TRUE(o.picker.connectButton()->isEnabled());

    // Return in the field sends nothing.
    pressReturn(o.picker.addressField()->lineEdit());
    ASSERT_TRUE(settleCommands());
    EXPECT_TRUE(h.fake.calls().isEmpty());
    EXPECT_EQ(o.dismissed, 0);

    o.picker.connectButton()->click();
    EXPECT_EQ(o.dismissed, 1);
    EXPECT_TRUE(calledWith(h, QStringLiteral("connect 192.168.1.25:5555")));
    EXPECT_EQ(h->wirelessAddress(), QStringLiteral("192.168.1.25")); // left as typed
}

TEST(DevicePicker, SwitchToWifiOnlyWhileTheDeviceIsUsable)
{
    ShellHarness h;
    h.fake.setDefault({.out = QString(), .exit = 1});
    OpenPicker o(h);
    o.picker.setMode(Mode::network);
    EXPECT_FALSE(o.picker.switchButton()->isVisibleTo(&o.picker));
    for (const QString &state : {QStringLiteral("unauthorized"), QStringLiteral("offline")}) {
        h.listDevices({device(QStringLiteral("A1"), state)}, QStringLiteral("A1"));
        EXPECT_FALSE(o.picker.switchButton()->isVisibleTo(&o.picker)) << state.toStdString();
    }
    h.listDevices({device(QStringLiteral("A1"))}, QStringLiteral("A1"));
    EXPECT_TRUE(o.picker.switchButton()->isVisibleTo(&o.picker));
    o.picker.switchButton()->click();
    EXPECT_EQ(o.dismissed, 1);
    // The switch has begun on the selected device (its first command addresses it).
    EXPECT_TRUE(waitUntil([&] { return !calls(h).isEmpty() && calls(h).first().startsWith(QStringLiteral("-s A1 ")); }));
}

TEST(DevicePicker, PairingTakesAnyCodeAndStaysOpen)
{
    ShellHarness h;
    h.fake.setDefault({.out = QString(), .exit = 1});
    OpenPicker o(h);
    o.picker.setMode(Mode::pair);
    EXPECT_FALSE(o.picker.pairButton()->isEnabled());
    h->wirelessPairAddress.set(QStringLiteral("192.168.1.25:37000"));
    EXPECT_FALSE(o.picker.pairButton()->isEnabled());
    h->wirelessPairCode.set(QStringLiteral("  "));
    EXPECT_FALSE(o.picker.pairButton()->isEnabled());
    h->wirelessPairCode.set(QStringLiteral("12"));
    EXPECT_TRUE(o.picker.pairButton()->isEnabled());
    pressReturn(o.picker.pairCodeField()->lineEdit());
    ASSERT_TRUE(settleCommands());
    EXPECT_TRUE(h.fake.calls().isEmpty());

    o.picker.pairButton()->click();
    EXPECT_TRUE(calledWith(h, QStringLiteral("pair 192.168.1.25:37000 12")));
    EXPECT_EQ(o.dismissed, 0);
    EXPECT_EQ(o.picker.mode(), Mode::pair);
}

TEST(DevicePicker, FooterRefreshesAndRestartsWithoutClosing)
{
    ShellHarness h;
    h.fake.setDefault({.out = QString(), .exit = 0});
    OpenPicker o(h);
    o.picker.refreshButton()->click();
    EXPECT_TRUE(calledWith(h, QStringLiteral("devices -l")));
    o.picker.restartButton()->click();
    EXPECT_TRUE(calledWith(h, QStringLiteral("start-server")));
    EXPECT_EQ(o.dismissed, 0);
    EXPECT_TRUE(o.picker.isVisible());
}

} // namespace
