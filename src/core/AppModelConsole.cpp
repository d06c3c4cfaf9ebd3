#include "AppModel.h"

#include "core/ConsoleCommandLine.h"
#include "core/ConsoleFavoritesStore.h"
#include "core/ConsoleTranscript.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSettings>

namespace {

// Runs `work` on the main thread later, unless the model is gone by then. Posted
// from one reader thread, the calls keep their order.
void onMainThread(const QPointer<AppModel> &model, std::function<void(AppModel &)> work)
{
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [model, work = std::move(work)] {
            if (model)
                work(*model);
        },
        Qt::QueuedConnection);
}

} // namespace

std::variant<QStringList, ConsoleCommandError> AppModel::parseADBCommandLine(const QString &line)
{
    return ::parseADBCommandLine(line);
}

void AppModel::startConsole()
{
    consoleFavorites.set(loadConsoleFavorites(*userDefaults));
    appendConsole(ConsoleEntryKind::system,
                  QStringLiteral("ADB-консоль готова. Команды выполняются на выбранном устройстве."));
}

QList<ConsoleFavorite> AppModel::loadConsoleFavorites(QSettings &userDefaults)
{
    return ::loadConsoleFavorites(userDefaults);
}

void AppModel::appendConsole(ConsoleEntryKind kind, const QString &text)
{
    // In place: a fast stream appends thousands of chunks, and copying or comparing
    // the whole transcript for each would cost more than the chunk itself.
    const QString cleaned = stripANSIControlSequences(text);
    if (cleaned.isEmpty())
        return;
    const QDateTime now = QDateTime::currentDateTime();
    consoleEntries.mutate([&](QList<ConsoleEntry> &entries) { appendConsoleEntry(entries, kind, cleaned, now); });
}

void AppModel::runConsoleCommand()
{
    const std::optional<AndroidDevice> device = selectedDevice();
    if (!service || !selectedDeviceID() || !device || !device->isReady()) {
        appendConsole(ConsoleEntryKind::standardError, QStringLiteral("Устройство не выбрано или недоступно"));
        consoleStatusText.set(QStringLiteral("Устройство недоступно"));
        return;
    }
    const QString command = consoleInput().trimmed();
    if (command.isEmpty())
        return;

    const ConsoleMode mode = consoleMode();
    QStringList arguments;
    if (mode == ConsoleMode::deviceShell) {
        arguments = {QStringLiteral("shell"), command};
    } else {
        auto parsed = parseADBCommandLine(command);
        if (const ConsoleCommandError *error = std::get_if<ConsoleCommandError>(&parsed)) {
            consoleIsRunning.set(false);
            consoleStatusText.set(QStringLiteral("Ошибка команды"));
            appendConsole(ConsoleEntryKind::standardError, error->errorDescription());
            return;
        }
        arguments = std::get<QStringList>(std::move(parsed));
    }

    appendConsole(ConsoleEntryKind::command, prompt(mode) + QLatin1Char(' ') + command);
    const QList<ConsoleCommandRecord> &history = consoleHistory();
    if (history.isEmpty() || history.last().command != command || history.last().mode != mode) {
        consoleHistory.mutate([&](QList<ConsoleCommandRecord> &list) {
            list.append(ConsoleCommandRecord(mode, command));
            if (list.size() > maxConsoleHistory)
                list.remove(0, list.size() - maxConsoleHistory);
        });
    }
    consoleHistoryIndex.reset();
    consoleInput.set(QString());
    const bool wasRunning = consoleIsRunning();
    consoleIsRunning.set(true);
    consoleStatusText.set(QStringLiteral("Выполняется…"));

    const QPointer<AppModel> self(this);
    const std::optional<ConsoleRunError> error = consoleRunner.start(
        service->executableURL, QStringList{QStringLiteral("-s"), *selectedDeviceID()} + arguments,
        [self](const QString &text) {
            onMainThread(self, [text](AppModel &m) { m.appendConsole(ConsoleEntryKind::standardOutput, text); });
        },
        [self](const QString &text) {
            onMainThread(self, [text](AppModel &m) { m.appendConsole(ConsoleEntryKind::standardError, text); });
        },
        [self, mode](int status) {
            onMainThread(self, [mode, status](AppModel &m) { m.finishConsoleCommand(mode, status); });
        });
    if (error) {
        // A refused start leaves an earlier command running: it still shows as running,
        // so it can be stopped, until its own completion arrives.
        consoleIsRunning.set(wasRunning && consoleRunner.isRunning());
        consoleStatusText.set(QStringLiteral("Ошибка команды"));
        appendConsole(ConsoleEntryKind::standardError, error->localizedDescription);
    }
}

void AppModel::finishConsoleCommand(ConsoleMode mode, int status)
{
    consoleIsRunning.set(false);
    const QString code = QString::number(status);
    consoleStatusText.set(status == 0 ? QStringLiteral("Завершено успешно") : QStringLiteral("Завершено с кодом ") + code);
    appendConsole(ConsoleEntryKind::system, status == 0 ? QStringLiteral("[команда завершена]")
                                                        : QStringLiteral("[код завершения: ") + code + QLatin1Char(']'));
    appendLog(QStringLiteral("Консоль: ") + rawValue(mode) + QStringLiteral(", код ") + code);
}

void AppModel::stopConsoleCommand()
{
    if (!consoleIsRunning())
        return;
    consoleStatusText.set(QStringLiteral("Остановка…"));
    appendConsole(ConsoleEntryKind::system, QStringLiteral("[отправлен сигнал остановки]"));
    consoleRunner.stop();
}

void AppModel::clearConsole()
{
    consoleEntries.set({});
    appendConsole(ConsoleEntryKind::system, QStringLiteral("Консоль очищена"));
}

void AppModel::clearConsoleInput()
{
    consoleInput.set(QString());
    consoleHistoryIndex.reset();
}

void AppModel::copyConsoleLog()
{
    QStringList lines;
    lines.reserve(consoleEntries().size());
    for (const ConsoleEntry &entry : consoleEntries())
        lines << QLatin1Char('[') + entry.timestamp.toLocalTime().toString(QStringLiteral("HH:mm:ss"))
                     + QStringLiteral("] ") + entry.text;
    if (pasteboardWriter)
        pasteboardWriter(lines.join(QLatin1Char('\n')));
    consoleStatusText.set(QStringLiteral("Журнал скопирован"));
}

void AppModel::consoleHistoryPrevious()
{
    const QList<ConsoleCommandRecord> &history = consoleHistory();
    if (history.isEmpty())
        return;
    const qsizetype index = consoleHistoryIndex ? std::max<qsizetype>(*consoleHistoryIndex - 1, 0) : history.size() - 1;
    consoleHistoryIndex = index;
    consoleMode.set(history.at(index).mode);
    consoleInput.set(history.at(index).command);
}

void AppModel::consoleHistoryNext()
{
    if (!consoleHistoryIndex)
        return;
    const QList<ConsoleCommandRecord> &history = consoleHistory();
    const qsizetype index = *consoleHistoryIndex + 1;
    if (index >= history.size()) {
        consoleHistoryIndex.reset();
        consoleInput.set(QString());
        return;
    }
    consoleHistoryIndex = index;
    consoleMode.set(history.at(index).mode);
    consoleInput.set(history.at(index).command);
}

void AppModel::toggleConsoleFavoriteForInput()
{
    const QString command = consoleInput().trimmed();
    if (command.isEmpty())
        return;
    const ConsoleMode mode = consoleMode();
    const QList<ConsoleFavorite> &favorites = consoleFavorites();
    const auto existing = std::find_if(favorites.begin(), favorites.end(), [&](const ConsoleFavorite &f) {
        return f.mode == mode && f.command == command;
    });
    if (existing != favorites.end()) {
        const qsizetype index = existing - favorites.begin();
        consoleFavorites.mutate([index](QList<ConsoleFavorite> &list) { list.removeAt(index); });
        consoleStatusText.set(QStringLiteral("Удалено из быстрых команд"));
    } else {
        consoleFavorites.mutate([&](QList<ConsoleFavorite> &list) { list.append(ConsoleFavorite(mode, command)); });
        consoleStatusText.set(QStringLiteral("Добавлено в быстрые команды"));
    }
    saveConsoleFavorites();
}

void AppModel::useConsoleFavorite(const ConsoleFavorite &favorite)
{
    consoleMode.set(favorite.mode);
    consoleInput.set(favorite.command);
    consoleHistoryIndex.reset();
}

void AppModel::removeConsoleFavorite(const ConsoleFavorite &favorite)
{
    const QUuid id = favorite.id;
    consoleFavorites.mutate([id](QList<ConsoleFavorite> &list) {
        list.removeIf([id](const ConsoleFavorite &f) { return f.id == id; });
    });
    saveConsoleFavorites();
}

void AppModel::saveConsoleFavorites()
{
    ::saveConsoleFavorites(*userDefaults, consoleFavorites());
}

QList<ConsoleEntry> AppModel::visibleConsoleEntries() const
{
    const QString needle = consoleSearchText().trimmed();
    if (needle.isEmpty())
        return consoleEntries();
    QList<ConsoleEntry> visible;
    for (const ConsoleEntry &entry : consoleEntries())
        if (entry.text.contains(needle, Qt::CaseInsensitive))
            visible.append(entry);
    return visible;
}

qsizetype AppModel::consoleSearchMatchCount() const
{
    return consoleSearchText().trimmed().isEmpty() ? 0 : visibleConsoleEntries().size();
}

bool AppModel::canRunConsoleCommand() const
{
    const std::optional<AndroidDevice> device = selectedDevice();
    return device && device->isReady() && service && !consoleIsRunning() && !consoleInput().trimmed().isEmpty();
}

void AppModel::clearConsoleDeviceState()
{
    // The transcript, input and history stay: they belong to the window, not the device.
    if (consoleIsRunning())
        stopConsoleCommand();
}
