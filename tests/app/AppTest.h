#pragma once

#include "PhoneSession.h"

#include "TestSupport.h"

#include "core/AppRoute.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QPointer>
#include <QSize>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

#include "core/AppSettings.h"
#include "shell/KestrelApp.h"

#include <QSettings>

class QMenu;

// The base of every acceptance road: the application as `main` makes it (one model with
// Debian's adb and automatic refresh and monitoring, its settings, KestrelApp with the main
// window and its menus and overlays), shown at `windowSize()` with animations at their normal
// durations, beside a simulated phone connected from outside. A road drives it only as a user
// does (clicks and keys sent through the window, menus by their texts) and checks what the
// user sees and what the phone received.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // --make-state options of the phone.
    virtual QStringList phoneOptions() const { return {QStringLiteral("--packages"), QStringLiteral("60")}; }
    virtual QSize windowSize() const;
    // Whether the phone is connected and listed before the road starts.
    virtual bool connectsPhone() const { return true; }

    // ----- what the user sees
    QWidget *mainWindow() const;
    // The shown widgets of every window whose accessible name, button text, object name or
    // placeholder is `name` (in that order of preference).
    QList<QWidget *> findAll(const QString &name, QWidget *within = nullptr) const;
    // The one shown widget called `name`: fails the test when there is none or several. An
    // assertion, so never called inside a polled condition (`eventually`), where a widget may be
    // missing for a while: that is a test fault, reported once.
    QWidget *find(const QString &name, QWidget *within = nullptr) const;
    template <typename T>
    T *find(const QString &name, QWidget *within = nullptr) const
    {
        QWidget *w = find(name, within);
        T *typed = qobject_cast<T *>(w);
        if (w && !typed)
            ADD_FAILURE() << "\"" << name.toStdString() << "\" is a " << w->metaObject()->className();
        return typed;
    }
    // The one shown widget called `name`, or none (none or several shown, or another type): the
    // lookup of polled conditions and of helpers they call. Only the poll's verdict fails the test.
    QWidget *lookup(const QString &name, QWidget *within = nullptr) const;
    template <typename T>
    T *lookup(const QString &name, QWidget *within = nullptr) const
    {
        return qobject_cast<T *>(lookup(name, within));
    }
    // The first shown widget of type T in `within` (or in every window).
    template <typename T>
    T *firstShown(QWidget *within = nullptr) const
    {
        for (QWidget *top : within ? QList<QWidget *>{within} : windows())
            for (T *w : top->findChildren<T *>())
                if (w->isVisible())
                    return w;
        return nullptr;
    }
    // The texts of the shown labels (DeckText, DeckParagraph, QLabel) under `within` (or in
    // every window) that begin with `prefix`.
    QStringList shownTexts(const QString &prefix = {}, QWidget *within = nullptr) const;
    // The texts of a list's rows (display role), top to bottom.
    static QStringList rowTexts(const QAbstractItemView *view, int role = Qt::DisplayRole);
    // The shown top-level windows, the main window first.
    QList<QWidget *> windows() const;
    // The shown modal dialog, if any.
    QWidget *dialog() const;
    // The Applications selection bar's button `text`, once the bar stands still and lets it be
    // pressed (a user aims at a bar once it has stopped moving); none before. Never fails.
    QWidget *selectionBarButton(const QString &text) const;
    // The rows of the Overview's history as read aloud ("title, detail, time"), newest first.
    QStringList historyRows() const;

    // ----- what the user does (through the window system: focus follows the mouse press)
    // A left click at the centre of `w` (or at `at`): fails unless `w` is shown, enabled and not
    // covered there by another widget.
    void click(QWidget *w, std::optional<QPoint> at = {}, Qt::MouseButton button = Qt::LeftButton);
    // Whether a click at the centre of `w` (or at `at`) would reach it, not a widget above it.
    static bool reachable(const QWidget *w, std::optional<QPoint> at = {});
    void doubleClick(QWidget *w, std::optional<QPoint> at = {});
    void clickNamed(const QString &name) { click(find(name)); }
    // A click on the row of `view` showing `text`, scrolled into view first as a user would (to
    // the middle when a floating bar lies over it), once nothing lies over it.
    void clickRow(QAbstractItemView *view, const QString &text, Qt::MouseButton button = Qt::LeftButton,
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Types into the widget that has the keyboard focus.
    void type(const QString &text);
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Chooses "menu" → "item" in the menu bar of the active window.
    void chooseMenu(const QString &menu, const QString &item);
    // The popup menu shown now, and a choice in it.
    QMenu *shownMenu() const;
    void chooseInMenu(const QString &item);
    // A click on the segment titled `title` of a segmented control.
    void clickSegment(const QString &control, const QString &title);
    // The screen of `route`, by its sidebar item.
    void goTo(AppRoute route);
    // A button of the shown dialog, by its text.
    void answer(const QString &buttonText);
    // Resizes the main window as the user would drag it.
    void resizeWindow(QSize size);

    // ----- waiting
    // Polls `done` (which looks things up without failing) until it holds; false when the time
    // ran out first.
    static bool eventually(const std::function<bool()> &done, int timeoutMs = 60000);
    // Until no transition runs, no command is under way and no repaint is pending (within
    // `timeoutMs`: a slow simulated shell may need more than the default).
    void settle(int timeoutMs = 20000);

    std::unique_ptr<PhoneSession> session;
    SimulatedPhone *phone = nullptr;
    AppModel *model = nullptr; // read only by the fixture and failure messages
    std::unique_ptr<QSettings> store;
    std::unique_ptr<AppSettings> settings;
    std::unique_ptr<AppModel> appModel;
    std::unique_ptr<KestrelApp> app;

private:
    mutable bool reportedFindInPoll = false;
};

// The shown widgets under `root` with their names, one a line, for failure messages.
QString describeTree(const QWidget *root);
