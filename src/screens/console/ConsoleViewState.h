#pragma once

#include "bridge/RawValue.h"
#include "core/Observable.h"

#include <QElapsedTimer>
#include <QStringList>

#include <optional>

class AppModel;
class ConsoleTranscriptModel;

// The tabs of the console's command library.
enum class ConsoleLibraryTab { favorites, snippets, history };
QString rawValue(ConsoleLibraryTab tab); // "favorites", "snippets", "history"
QString title(ConsoleLibraryTab tab);    // the segment's title
template <> QList<ConsoleLibraryTab> allCases<ConsoleLibraryTab>();
template <> std::optional<ConsoleLibraryTab> fromRawValue<ConsoleLibraryTab>(const QString &raw);

// What one console screen keeps beside the shared model, across its rebuilds (kept in the
// window's ScreenMemory): the transcript's list model, the library tab, the highlighted
// suggestion and the duration of the last run started from this window. Each window measures
// its own runs; the console state itself (transcript, command line, runs) is the model's.
class ConsoleViewState : public Observable {
    Q_OBJECT
public:
    explicit ConsoleViewState(AppModel *model, QObject *parent = nullptr);

    AppModel *model() const { return m_model; }
    ConsoleTranscriptModel *transcript() const { return m_transcript; }

    // Seconds the last run started here took; none before the first run and after a run the
    // model refused (it never ran, so it took no time).
    Published<std::optional<double>> lastDuration{this};
    Published<ConsoleLibraryTab> libraryTab{this, ConsoleLibraryTab::favorites};
    // Back to 0 whenever the command line changes.
    Published<int> suggestionIndex{this, 0};

    // Runs the command line through the model and measures the run until the model reports
    // its end. A run the model refuses (no device, busy, a line it cannot parse or may not run)
    // clears the duration; a Return the model ignores (an empty line) changes nothing.
    void runCommand();
    bool isMeasuring() const { return m_measuring; }

    // The completions for the command line (all of them; the bar shows the first 8).
    QStringList suggestions() const;
    // Tab: puts the highlighted suggestion (the first when the index is outside) into the
    // command line; false when there is none.
    bool takeSuggestion();

    // The texts the screen shows, derived from the state and the model.
    static QString durationText(double seconds); // "· 1.25 с"

private:
    AppModel *m_model;
    ConsoleTranscriptModel *m_transcript;
    QElapsedTimer m_started;
    bool m_measuring = false;
};
