#pragma once

#include "bridge/Tone.h"

#include <QPointer>
#include <QTimer>
#include <QUuid>
#include <QWidget>

class AppModel;
class ConsoleCommandField;
class ConsoleLibraryPane;
class ConsoleSuggestionBar;
class ConsoleTranscriptView;
class ConsoleViewState;
class DeckButton;
class DeckSearchField;
class DeckSegmented;
class DeckText;
class DeckSizeReader;
class IconButton;
class IndeterminateRing;
class QScrollArea;
class QSplitter;
class ScreenHeader;
class ScreenMemory;
class StatusGlyph;
namespace ViewUpdates {
class Refresh;
}

// The interactive console: the mode, search and header buttons on top; the command library
// beside the transcript; below it the suggestions, the command line with its buttons, and the
// status line with the last run's duration. Everything it shows but a few view values is the
// model's console (one for the whole application), so the Console route and the console window
// show the same transcript and runs; each measures the durations of the runs started in it.
class ConsoleView : public QWidget {
    Q_OBJECT
public:
    // `memory` keeps the view values and the transcript's list model across rebuilds; without
    // one the view keeps its own.
    ConsoleView(AppModel *model, ScreenMemory *memory, QWidget *parent = nullptr);

    ConsoleViewState *state() const { return m_state; }
    ScreenHeader *header() const { return m_header; }
    DeckSegmented *modeControl() const { return m_mode; }
    DeckSearchField *searchField() const { return m_search; }
    DeckText *matchCountLabel() const { return m_matchCount; }
    IconButton *copyButton() const { return m_copy; }
    IconButton *saveButton() const { return m_save; }
    IconButton *clearButton() const { return m_clear; }
    IconButton *libraryButton() const { return m_libraryToggle; }
    ConsoleLibraryPane *library() const { return m_library; }
    ConsoleTranscriptView *transcript() const { return m_transcript; }
    // The suggestion bar's strip, shown while there are suggestions and the command field has focus.
    QWidget *suggestionsBox() const { return m_suggestionsStrip; }
    ConsoleSuggestionBar *suggestionBar() const { return m_suggestions; }
    DeckText *prompt() const { return m_prompt; }
    ConsoleCommandField *commandField() const { return m_field; }
    IconButton *favoriteButton() const { return m_favorite; }
    IconButton *clearInputButton() const { return m_clearInput; }
    DeckButton *runButton() const { return m_run; }
    DeckButton *stopButton() const { return m_stop; }
    DeckText *statusLabel() const { return m_statusText; }
    DeckText *durationLabel() const { return m_duration; }
    IndeterminateRing *progress() const { return m_progress; }
    StatusGlyph *statusGlyph() const { return m_glyph; }
    QSplitter *splitter() const { return m_split; }

    // Whether the command line holds a favourite of the current mode.
    bool currentInputIsFavorite() const;
    // The symbol and tone of the status line's indicator while nothing runs.
    static std::pair<QString, Tone> statusSymbol(const QString &status);
    static QString subtitle(const AppModel &model);

    // Asks where to save the transcript, then has the model write it.
    void exportOutput();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildHeaderControls();
    QWidget *buildTerminal();
    QWidget *buildCommandBar();
    QWidget *buildStatusBar();
    void refresh();
    void refreshSuggestions();
    void followNewest();
    void attachSizeReader();
    bool handleEscape();
    // The command line is disabled while a command runs; the keyboard stays with the console.
    void enableCommandLine(bool enabled);
    // Gives the command line the focus (the view holds it until the line is enabled again).
    void takeKeyboard();

    AppModel *m_model;
    ConsoleViewState *m_state;
    ScreenHeader *m_header = nullptr;
    DeckSegmented *m_mode = nullptr;
    DeckSearchField *m_search = nullptr;
    DeckText *m_matchCount = nullptr;
    IconButton *m_copy = nullptr;
    IconButton *m_save = nullptr;
    IconButton *m_clear = nullptr;
    IconButton *m_libraryToggle = nullptr;
    QSplitter *m_split = nullptr;
    ConsoleLibraryPane *m_library = nullptr;
    ConsoleTranscriptView *m_transcript = nullptr;
    QScrollArea *m_suggestionsBox = nullptr;
    QWidget *m_suggestionsStrip = nullptr;
    ConsoleSuggestionBar *m_suggestions = nullptr;
    DeckText *m_prompt = nullptr;
    ConsoleCommandField *m_field = nullptr;
    IconButton *m_favorite = nullptr;
    IconButton *m_clearInput = nullptr;
    DeckButton *m_run = nullptr;
    DeckButton *m_stop = nullptr;
    IndeterminateRing *m_progress = nullptr;
    StatusGlyph *m_glyph = nullptr;
    DeckText *m_statusText = nullptr;
    DeckText *m_duration = nullptr;
    QPointer<DeckSizeReader> m_reader;
    ViewUpdates::Refresh *m_refreshes = nullptr;
    QTimer m_follow;
    QUuid m_newest;
    bool m_suggestionsDismissed = false;
    bool m_sized = false;
    bool m_shown = false;
    bool m_keyboardHeld = false; // the view holds the command line's focus while it is disabled
};

// The status line's symbol: an icon in a tone, drawn at 10 px.
class StatusGlyph : public QWidget {
    Q_OBJECT
public:
    explicit StatusGlyph(QWidget *parent = nullptr);
    void setSymbol(const QString &symbol, Tone tone);
    QString symbol() const { return m_symbol; }
    Tone tone() const { return m_tone; }
    QSize sizeHint() const override { return {12, 12}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_symbol;
    Tone m_tone = Tone::neutral;
};
