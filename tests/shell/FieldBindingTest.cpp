#include "screenkit/DeckTextField.h"
#include "shell/DevicePickerPopover.h"
#include "screens/settings/SettingsScreen.h"
#include "screens/settings/SettingsView.h"
#include "screenkit/ViewUpdates.h"

#include "ShellHarness.h"
#include "UiTestSupport.h"

#include "design/DeckSearchField.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

namespace {

// Changes the user did not make and that no bound field shows: a log line, a toast, a device
// poll that lists a device, the adb version arriving, a busy flag.
void unrelatedChanges(ShellHarness &h)
{
    h->appendLog(QStringLiteral("постороннее событие"));
    h->toast(QStringLiteral("Готово"));
    h->devices.set({device(QStringLiteral("R58N12ABCDE"))});
    h->adbVersionText.set(QStringLiteral("Android Debug Bridge version 1.0.41"));
    BusyLedger::Token busy = h->beginBusy();
    busy.release();
    settle();
}

struct BoundField {
    const char *name;
    std::function<QWidget *(ShellHarness &, std::unique_ptr<QWidget> &)> make; // the view, and the field's line edit
};

TEST(FieldBinding, TypingSurvivesUnrelatedModelChangesWithTextAndCursor)
{
    const BoundField fields[] = {
        {"adb path in Settings",
         [](ShellHarness &h, std::unique_ptr<QWidget> &view) {
             auto *screen = new SettingsScreen(h.model.get(), h.settings.get());
             view.reset(screen);
             return screen->view()->pathField()->lineEdit();
         }},
        {"picker address",
         [](ShellHarness &h, std::unique_ptr<QWidget> &view) {
             auto *picker = new DevicePickerPopover(h.model.get());
             view.reset(picker);
             picker->setMode(DevicePickerPopover::Mode::network);
             return picker->addressField()->lineEdit();
         }},
        {"pairing address",
         [](ShellHarness &h, std::unique_ptr<QWidget> &view) {
             auto *picker = new DevicePickerPopover(h.model.get());
             view.reset(picker);
             picker->setMode(DevicePickerPopover::Mode::pair);
             return picker->pairAddressField()->lineEdit();
         }},
        {"pairing code",
         [](ShellHarness &h, std::unique_ptr<QWidget> &view) {
             auto *picker = new DevicePickerPopover(h.model.get());
             view.reset(picker);
             picker->setMode(DevicePickerPopover::Mode::pair);
             return picker->pairCodeField()->lineEdit();
         }},
    };
    for (const BoundField &field : fields) {
        SCOPED_TRACE(field.name);
        ShellHarness h;
        std::unique_ptr<QWidget> view;
        auto *edit = static_cast<QLineEdit *>(field.make(h, view));
        view->show();
        giveFocus(edit);
        typeText(edit, QStringLiteral("/usr/bi"));
        edit->cursorBackward(false, 3);
        ASSERT_EQ(edit->cursorPosition(), 4);

        unrelatedChanges(h);

        EXPECT_EQ(edit->text(), QStringLiteral("/usr/bi"));
        EXPECT_EQ(edit->cursorPosition(), 4);
    }
}

TEST(FieldBinding, AValueTheModelChangesStillReachesAFocusedField)
{
    ShellHarness h;
    SettingsScreen screen(h.model.get(), h.settings.get());
    screen.show();
    DeckTextField *field = screen.view()->pathField();
    giveFocus(field->lineEdit());
    typeText(field->lineEdit(), QStringLiteral("/usr/bi"));

    // Another window (or a reset) stores a path: that is news, not an echo of the typing.
    h.settings->customADBPath.set(QStringLiteral("/opt/tools/adb"));
    settle();
    EXPECT_EQ(field->text(), QStringLiteral("/opt/tools/adb"));

    // Without focus every model value shows.
    field->lineEdit()->clearFocus();
    settle();
    ASSERT_FALSE(field->isFocused());
    h.settings->customADBPath.set(QString());
    settle();
    EXPECT_EQ(field->text(), QString());
}

struct TextOwner : Observable {
    Published<QString> value{this};
};

// The search field changes its text itself with its ×: the bound property follows, so the
// filter never stays on a text the field no longer shows. The owner's own writes are no edits,
// and still never clobber what is being typed.
TEST(FieldBinding, ChangesTheSearchFieldMakesItselfReachTheProperty)
{
    TextOwner owner;
    QWidget host;
    auto *row = new QHBoxLayout(&host);
    auto *field = new DeckSearchField(QStringLiteral("Поиск"), 240);
    row->addWidget(field);
    host.show();
    bindDeckTextField(field, &owner, owner.value);
    int edits = 0;
    QObject::connect(field, &DeckSearchField::textEdited, [&] { ++edits; });

    giveFocus(field->lineEdit());
    typeText(field->lineEdit(), QStringLiteral("cam"));
    EXPECT_EQ(owner.value(), QStringLiteral("cam"));
    EXPECT_EQ(edits, 3);

    ASSERT_TRUE(field->clearButton()->isVisible());
    QTest::mouseClick(field->clearButton(), Qt::LeftButton);
    EXPECT_EQ(field->text(), QString());
    EXPECT_EQ(owner.value(), QString());
    EXPECT_EQ(edits, 4);
    EXPECT_TRUE(field->lineEdit()->hasFocus());

    // The owner's writes: shown, no edit; an echo of the typing leaves text and cursor alone.
    const int before = edits;
    owner.value.set(QStringLiteral("from the model"));
    EXPECT_EQ(field->text(), QStringLiteral("from the model"));
    field->setText(QStringLiteral("set"));
    EXPECT_EQ(edits, before);
    field->lineEdit()->setCursorPosition(1);
    typeText(field->lineEdit(), QStringLiteral("x"));
    owner.value.set(owner.value()); // unchanged
    EXPECT_EQ(field->text(), QStringLiteral("sxet"));
    EXPECT_EQ(field->lineEdit()->cursorPosition(), 2);
}

TEST(FieldBinding, ViewsRefreshForWhatTheyShowOnly)
{
    ShellHarness h;
    SettingsScreen screen(h.model.get(), h.settings.get());
    int refreshes = 0;
    auto *probe = ViewUpdates::follow(h.model.get(), &screen, [&] { ++refreshes; }, h->adbVersionText, h->linkStateInputs());
    ASSERT_NE(probe, nullptr);

    for (int i = 0; i < 50; ++i)
        h->appendLog(QString::number(i));
    h->searchText.set(QStringLiteral("x"));
    settle();
    EXPECT_EQ(refreshes, 0);

    // A burst of changes it follows costs one refresh.
    h->devices.set({device(QStringLiteral("A"))});
    h->selectedDeviceID.set(QStringLiteral("A"));
    h->adbVersionText.set(QStringLiteral("v"));
    settle();
    EXPECT_EQ(refreshes, 1);
}

} // namespace
