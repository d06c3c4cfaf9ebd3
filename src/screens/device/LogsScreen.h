#pragma once

#include "core/LogLevel.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class ActivityLogView;
class AppModel;
class AppSettings;
class DeckButton;
class DeckCheckbox;
class DeckSearchField;
class DeckSegmented;
class DeckText;
class FilterChip;
class IconButton;
class LogcatModel;
class LogStreamView;
class PulseDot;
class QMenu;
class QStackedWidget;
class ScreenHeader;
class ScreenMemory;

// What the Logs screen keeps across its rebuilds (theme, route): the logcat model with its
// window of lines, and the tab shown.
class LogsState : public QObject {
    Q_OBJECT
public:
    enum class Tab { logcat, activity };

    explicit LogsState(QObject *parent = nullptr);

    LogcatModel *logcat() const { return m_logcat; }
    Tab tab = Tab::logcat;

private:
    LogcatModel *m_logcat;
};

// The screen of the logs route: the selected device's live logcat stream (toolbar, level, tag and
// text filters, the stream, a status line) and, on a second tab, the application's journal. It
// hands its logcat model the adb, the ready device's serial and the bounded buffer size when it
// is shown and whenever the selected device or its state changes; a stream runs only after the
// user starts it and stops when the user leaves the route.
class LogsScreen : public QWidget {
    Q_OBJECT
public:
    // `memory` may be null (a state of its own, lost with the screen).
    LogsScreen(AppModel *model, AppSettings *settings, ScreenMemory *memory = nullptr, QWidget *parent = nullptr);
    ~LogsScreen() override;

    LogsState *state() const { return m_state; }
    LogcatModel *logcat() const;
    ScreenHeader *header() const { return m_header; }
    DeckSegmented *tabs() const { return m_tabs; }
    DeckButton *streamButton() const { return m_stream; }
    DeckButton *pauseButton() const { return m_pause; }
    DeckCheckbox *autoScrollBox() const { return m_autoScroll; }
    IconButton *copyButton() const { return m_copy; }
    IconButton *saveButton() const { return m_save; }
    IconButton *clearMenuButton() const { return m_clearMenuButton; }
    QMenu *clearMenu() const { return m_clearMenu; }
    const QList<FilterChip *> &levelChips() const { return m_chips; }
    DeckSearchField *tagField() const { return m_tagField; }
    DeckSearchField *searchField() const { return m_searchField; }
    DeckText *matchCountLabel() const { return m_matchCount; }
    PulseDot *statusDot() const { return m_dot; }
    DeckText *statusLabel() const { return m_statusText; }
    DeckText *countsLabel() const { return m_counts; }
    LogStreamView *stream() const { return m_streamView; }
    ActivityLogView *activity() const { return m_activity; }

    // The device identity the screen last fed the model for ("serial|state", "-" when none).
    QString feedIdentity() const { return m_identity; }
    // Opens the save chooser for the visible lines ("logcat-<time stamp>.log").
    void exportLog();

protected:
    bool event(QEvent *event) override;

private:
    QWidget *buildLogcatPane();
    QWidget *buildToolbar();
    QWidget *buildFilters();
    QWidget *buildStatus();
    void feed();
    void showTab(LogsState::Tab tab);
    void refreshStream();
    void refreshFilters();
    void refreshStatus();
    void refreshSubtitle();
    void applyDeckSize();

    AppModel *m_model;
    AppSettings *m_settings;
    LogsState *m_state;
    QString m_identity;
    ScreenHeader *m_header = nullptr;
    DeckSegmented *m_tabs = nullptr;
    QStackedWidget *m_panes = nullptr;
    DeckButton *m_stream = nullptr;
    DeckButton *m_pause = nullptr;
    DeckCheckbox *m_autoScroll = nullptr;
    IconButton *m_copy = nullptr;
    IconButton *m_save = nullptr;
    IconButton *m_clearMenuButton = nullptr;
    QMenu *m_clearMenu = nullptr;
    QAction *m_clearDeviceAction = nullptr;
    QList<FilterChip *> m_chips;
    DeckSearchField *m_tagField = nullptr;
    DeckSearchField *m_searchField = nullptr;
    DeckText *m_matchCount = nullptr;
    PulseDot *m_dot = nullptr;
    DeckText *m_statusText = nullptr;
    DeckText *m_counts = nullptr;
    LogStreamView *m_streamView = nullptr;
    ActivityLogView *m_activity = nullptr;
    bool m_compactFields = false;
};
