#include "LogcatModel.h"

#include <QCoreApplication>
#include <QPointer>
#include <QSaveFile>
#include <QtConcurrent/QtConcurrentRun>

#include <QCoro/QCoroFuture>

#include <algorithm>

namespace {

QString trimmedQuery(const QString &text) { return trimmedLogText(text).toString(); }

} // namespace

LogcatModel::LogcatModel(QObject *parent) : Observable(parent), m_pending(std::make_shared<LogcatPending>())
{
    m_pending->setLimit(m_bufferLimit);
    connect(&m_flushTimer, &QTimer::timeout, this, &LogcatModel::flush);
    updateFilter();
}

LogcatModel::~LogcatModel() = default;

void LogcatModel::setBufferLimit(qsizetype limit)
{
    m_bufferLimit = std::max<qsizetype>(0, limit);
    m_pending->setLimit(m_bufferLimit);
}

void LogcatModel::configure(std::optional<ADBService> service, std::optional<QString> newSerial)
{
    m_service = std::move(service);
    serviceTool.set(m_service ? std::optional(m_service->executableURL) : std::nullopt);
    if (newSerial == serial())
        return;
    ++m_device;
    m_resumeAfterEnd = false; // a resume belongs to the device it was asked for
    serial.set(std::move(newSerial));
    stop();
    clear();
}

void LogcatModel::toggleStreaming()
{
    if (isStreaming())
        stop();
    else
        start();
}

void LogcatModel::start()
{
    if (!m_service || !serial() || isStreaming())
        return;
    const quint64 generation = m_pending->beginRun();
    m_run = generation;
    m_stopRequested = false;
    isStreaming.set(true);
    statusText.set(QStringLiteral("Поток активен"));
    m_flushTimer.start(flushInterval);

    const std::shared_ptr<LogcatPending> pending = m_pending;
    const auto tails = std::make_shared<RunTails>();
    const QPointer<LogcatModel> self(this);
    const std::optional<ConsoleRunError> error = m_runner.start(
        m_service->executableURL,
        {QStringLiteral("-s"), *serial(), QStringLiteral("logcat"), QStringLiteral("-v"), QStringLiteral("threadtime")},
        [pending, tails, generation](const QString &chunk) { pending->add(generation, tails->out, chunk); },
        [pending, tails, generation](const QString &chunk) { pending->add(generation, tails->err, chunk); },
        [self, generation](int status) {
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [self, generation, status] {
                    if (self)
                        self->finishRun(generation, status);
                },
                Qt::QueuedConnection);
        });
    if (error) {
        m_flushTimer.stop();
        isStreaming.set(false);
        statusText.set(QStringLiteral("Не удалось запустить logcat: ") + error->localizedDescription);
    }
}

void LogcatModel::stop()
{
    if (!isStreaming())
        return;
    m_stopRequested = true;
    statusText.set(QStringLiteral("Остановка потока…"));
    m_runner.stop();
}

void LogcatModel::finishRun(quint64 generation, int status)
{
    if (generation != m_run)
        return;
    isStreaming.set(false);
    m_flushTimer.stop();
    flush();
    // A stop that was asked for ends adb with an interrupt: that is a normal end.
    statusText.set(m_stopRequested || status == 0 ? QStringLiteral("Поток остановлен")
                                                  : QStringLiteral("Поток завершён с кодом ") + QString::number(status));
    if (m_resumeAfterEnd) {
        m_resumeAfterEnd = false;
        start();
        if (isStreaming() && !m_resumeNote.isEmpty())
            statusText.set(m_resumeNote);
        m_resumeNote.clear();
    }
}

void LogcatModel::clear()
{
    if (isStreaming() && !m_stopRequested) {
        m_pending->clearLines();
    } else {
        m_pending->retireRuns();
        m_pending->clearLines();
    }
    m_nextID = 0;
    lines.set({});
    visibleLines.set({});
    counts.set({});
    droppedCount.set(0);
}

QCoro::Task<void> LogcatModel::clearDeviceBuffer()
{
    if (!m_service || !serial())
        co_return;
    const bool wasStreaming = isStreaming() && !m_stopRequested;
    stop();
    const QPointer<LogcatModel> self(this);
    const quint64 device = m_device;
    const ADBService service = *m_service;
    const QString deviceSerial = *serial();
    const CommandResult result = co_await service.run({QStringLiteral("logcat"), QStringLiteral("-c")}, deviceSerial);
    if (!self || m_device != device)
        co_return; // another device now: its window is not ours to clear
    clear();
    QString note;
    if (result.succeeded()) {
        statusText.set(QStringLiteral("Буфер устройства очищен"));
    } else {
        const QString said = result.combinedOutput().trimmed();
        note = QStringLiteral("Не удалось очистить буфер устройства: ")
               + (said.isEmpty() ? QStringLiteral("код ") + QString::number(result.exitCode) : said);
        statusText.set(note);
    }
    if (!wasStreaming)
        co_return;
    if (isStreaming()) {
        if (m_stopRequested) { // the interrupted run has not ended yet: resume when it has
            m_resumeAfterEnd = true;
            m_resumeNote = note;
        }
        co_return;
    }
    start();
    if (isStreaming() && !note.isEmpty())
        statusText.set(note);
}

void LogcatModel::setPaused(bool paused)
{
    isPaused.set(paused);
    if (!paused && !isStreaming())
        flush(); // what a run left while paused shows now, not at the next start
}

void LogcatModel::setMinimumLevel(LogLevel level)
{
    minimumLevel.set(level);
    updateFilter();
}

void LogcatModel::setTagQuery(const QString &text)
{
    tagQuery.set(text);
    updateFilter();
}

void LogcatModel::setSearchText(const QString &text)
{
    searchText.set(text);
    updateFilter();
}

void LogcatModel::updateFilter()
{
    Filter filter;
    filter.minimum = minimumLevel();
    filter.tag = trimmedQuery(tagQuery());
    filter.text = trimmedQuery(searchText());
    if (filter == m_filter)
        return; // the same filter (a space typed at an end): nothing to redo
    filter.tagMatcher = QStringMatcher(filter.tag, Qt::CaseInsensitive);
    filter.textMatcher = QStringMatcher(filter.text, Qt::CaseInsensitive);
    m_filter = std::move(filter);

    QList<LogLine> shown;
    for (const LogLine &line : lines())
        if (matches(line))
            shown.append(line);
    visibleLines.set(std::move(shown));
}

bool LogcatModel::matches(const LogLine &line) const
{
    if (order(line.level) < order(m_filter.minimum))
        return false;
    if (!m_filter.tag.isEmpty() && m_filter.tagMatcher.indexIn(line.tag()) < 0)
        return false;
    if (!m_filter.text.isEmpty() && m_filter.textMatcher.indexIn(line.message()) < 0
        && m_filter.textMatcher.indexIn(line.tag()) < 0)
        return false;
    return true;
}

void LogcatModel::flush()
{
    std::deque<PendingLine> taken;
    if (!isPaused()) // while paused the output waits, within its bound
        taken = m_pending->take();
    if (!taken.empty()) {
        // Only what the window can still hold is parsed.
        const qsizetype skip = std::max<qsizetype>(0, qsizetype(taken.size()) - m_bufferLimit);
        if (skip > 0)
            m_pending->addDropped(skip);
        QList<LogLine> batch;
        batch.reserve(qsizetype(taken.size()) - skip);
        LogLevelCounts tally = counts();
        for (auto it = taken.begin() + skip; it != taken.end(); ++it) {
            LogLine line = LogLine::parse(it->buffer, it->start, it->length, m_nextID++);
            ++tally[line.level];
            batch.append(std::move(line));
        }
        if (!batch.isEmpty()) {
            appendBatch(std::move(batch));
            counts.set(tally);
        }
    }
    droppedCount.set(m_pending->dropped());
}

void LogcatModel::appendBatch(QList<LogLine> batch)
{
    QList<LogLine> shown;
    for (const LogLine &line : batch)
        if (matches(line))
            shown.append(line);
    lines.append(std::move(batch), m_bufferLimit);

    // Visible lines older than the oldest kept one leave from the front: no rebuild.
    const QList<LogLine> &visible = visibleLines();
    qsizetype stale = visible.size();
    if (!lines().isEmpty()) {
        const qint64 oldest = lines().first().id;
        stale = std::lower_bound(visible.begin(), visible.end(), oldest,
                                 [](const LogLine &line, qint64 id) { return line.id < id; })
                - visible.begin();
    }
    visibleLines.trimFront(stale);
    visibleLines.append(std::move(shown));
}

QString LogcatModel::exportText(const QList<LogLine> &rows)
{
    QString text;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (i > 0)
            text.append(u'\n');
        text.append(rows.at(i).plainText());
    }
    return text;
}

QString LogcatModel::exportText() const { return exportText(visibleLines()); }

void LogcatModel::copyVisible()
{
    if (pasteboardWriter)
        pasteboardWriter(exportText());
    statusText.set(QStringLiteral("Скопировано строк: ") + QString::number(visibleLines.size()));
}

QCoro::Task<bool> LogcatModel::saveVisible(QString path)
{
    const QList<LogLine> rows = visibleLines();
    const QPointer<LogcatModel> self(this);
    // Text and file are made off the main thread; QSaveFile leaves an existing file as it was
    // unless the whole new text was written.
    const QString failure = co_await QtConcurrent::run([rows, path]() -> QString {
        QSaveFile file(path);
        const auto reason = [&file] {
            return file.errorString().isEmpty() ? QStringLiteral("ошибка записи") : file.errorString();
        };
        // Unbuffered, so a short write (a full disk) is seen here and the file is never
        // committed with part of the text; a buffered flush in commit() would not say so.
        if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return reason();
        const QByteArray bytes = exportText(rows).toUtf8();
        if (file.write(bytes) != bytes.size()) {
            const QString why = reason();
            file.cancelWriting();
            return why;
        }
        if (!file.commit())
            return reason();
        return QString();
    });
    if (!self)
        co_return failure.isEmpty();
    if (failure.isEmpty())
        statusText.set(QStringLiteral("Сохранено строк: ") + QString::number(rows.size()));
    else
        statusText.set(QStringLiteral("Не удалось сохранить логи: ") + failure);
    co_return failure.isEmpty();
}

void LogcatModel::injectOutput(const QString &chunk)
{
    quint64 run = m_pending->currentRun();
    if (run == 0)
        run = m_pending->beginRun();
    m_pending->add(run, m_injectedTail, chunk);
}
