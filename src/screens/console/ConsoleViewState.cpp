#include "ConsoleViewState.h"

#include "core/AppModel.h"
#include "core/ConsoleSuggestions.h"
#include "core/ConsoleTranscriptModel.h"

QString rawValue(ConsoleLibraryTab tab)
{
    switch (tab) {
    case ConsoleLibraryTab::favorites:
        return QStringLiteral("favorites");
    case ConsoleLibraryTab::snippets:
        return QStringLiteral("snippets");
    case ConsoleLibraryTab::history:
        return QStringLiteral("history");
    }
    return QString();
}

QString title(ConsoleLibraryTab tab)
{
    switch (tab) {
    case ConsoleLibraryTab::favorites:
        return QStringLiteral("Избранное");
    case ConsoleLibraryTab::snippets:
        return QStringLiteral("Сниппеты");
    case ConsoleLibraryTab::history:
        return QStringLiteral("История");
    }
    return QString();
}

template <> QList<ConsoleLibraryTab> allCases<ConsoleLibraryTab>()
{
    return {ConsoleLibraryTab::favorites, ConsoleLibraryTab::snippets, ConsoleLibraryTab::history};
}

template <> std::optional<ConsoleLibraryTab> fromRawValue<ConsoleLibraryTab>(const QString &raw)
{
    return rawValueLookup<ConsoleLibraryTab>(raw);
}

ConsoleViewState::ConsoleViewState(AppModel *model, QObject *parent)
    : Observable(parent), m_model(model), m_transcript(new ConsoleTranscriptModel(model->consoleEntries, this))
{
    m_transcript->setSearchText(model->consoleSearchText());
    model->observe(model->consoleSearchText, this, [this] { m_transcript->setSearchText(m_model->consoleSearchText()); });
    model->observe(model->consoleInput, this, [this] { suggestionIndex.set(0); });
    // The end of the run: the model clears its running flag whatever way the process ended.
    model->observe(model->consoleIsRunning, this, [this] {
        if (m_measuring && !m_model->consoleIsRunning()) {
            m_measuring = false;
            lastDuration.set(double(m_started.nsecsElapsed()) / 1e9);
        }
    });
}

void ConsoleViewState::runCommand()
{
    const bool wasRunning = m_model->consoleIsRunning();
    const QString status = m_model->consoleStatusText();
    const qsizetype entries = m_model->consoleEntries.size();
    const QUuid last = entries > 0 ? m_model->consoleEntries->last().id : QUuid();
    QElapsedTimer started;
    started.start();
    m_model->runConsoleCommand();
    if (!wasRunning && m_model->consoleIsRunning()) {
        m_started = started;
        m_measuring = true;
        return;
    }
    // Nothing ran. A refusal says so in the status line or the transcript; then no duration
    // belongs to it. An ignored Return (an empty line) leaves everything as it was.
    const QUuid now = m_model->consoleEntries.size() > 0 ? m_model->consoleEntries->last().id : QUuid();
    if (m_model->consoleStatusText() != status || now != last)
        lastDuration.set(std::nullopt);
}

QStringList ConsoleViewState::suggestions() const
{
    return consoleSuggestions(m_model->consoleInput(), m_model->consoleMode(), m_model->consoleFavorites(),
                              m_model->consoleHistory());
}

bool ConsoleViewState::takeSuggestion()
{
    const QStringList list = suggestions();
    if (list.isEmpty())
        return false;
    const int index = suggestionIndex();
    m_model->consoleInput.set(index >= 0 && index < list.size() ? list.at(index) : list.first());
    suggestionIndex.set(0);
    return true;
}

QString ConsoleViewState::durationText(double seconds)
{
    return QStringLiteral("· ") + QString::number(seconds, 'f', 2) + QStringLiteral(" с");
}
