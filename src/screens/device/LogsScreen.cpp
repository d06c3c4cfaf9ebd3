#include "LogsScreen.h"

#include "ActivityLogView.h"
#include "LogStreamView.h"

#include "core/AppModel.h"
#include "core/AppSettings.h"
#include "core/FileNaming.h"
#include "core/LogcatModel.h"
#include "core/PreferenceBounds.h"
#include "design/PopupPlacement.h"
#include "design/DeckButton.h"
#include "design/DeckCheckbox.h"
#include "design/DeckSearchField.h"
#include "design/DeckSegmented.h"
#include "design/DeckSizeReader.h"
#include "design/DeckText.h"
#include "design/DeckParagraph.h"
#include "design/FilterChip.h"
#include "design/FlowLayout.h"
#include "design/Hairline.h"
#include "design/Ink.h"
#include "design/Labels.h"
#include "design/ScreenHeader.h"
#include "design/Typo.h"
#include "screenkit/DeckScreen.h"
#include "screenkit/DesktopServices.h"
#include "screenkit/ScreenMemory.h"
#include "screenkit/ViewUpdates.h"

#include <QMenu>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <variant>

namespace {

const QString kTabLogcat = QStringLiteral("logcat");
const QString kTabActivity = QStringLiteral("activity");

// A space of at least `minimum` that pushes what follows it to the row's trailing edge.
struct Flexible {
    qreal minimum = 0;
};
// A short vertical rule between two groups of controls, shown while both sides share its line.
struct Divider {};
using RowItem = std::variant<QWidget *, Flexible, Divider>;

// A row of controls that wraps when the width runs out, inset like the screen's content.
QWidget *flowRow(const QList<RowItem> &items, int top, int bottom, qreal lineSpacing = Space::s)
{
    auto *row = new QWidget;
    auto *flow = new FlowLayout(row);
    flow->setContentsMargins(int(Space::gutter), top, int(Space::gutter), bottom);
    flow->setFlowSpacing(Space::s, lineSpacing);
    for (const RowItem &item : items) {
        if (const auto *space = std::get_if<Flexible>(&item)) {
            flow->addFlexibleSpace(space->minimum);
        } else if (std::holds_alternative<Divider>(item)) {
            auto *line = new Hairline(true);
            line->setFixedSize(1, 18);
            flow->addDivider(line);
        } else {
            flow->addWidget(std::get<QWidget *>(item));
        }
    }
    return row;
}

} // namespace

LogsState::LogsState(QObject *parent) : QObject(parent), m_logcat(new LogcatModel(this)) {}

LogsScreen::LogsScreen(AppModel *model, AppSettings *settings, ScreenMemory *memory, QWidget *parent)
    : QWidget(parent), m_model(model), m_settings(settings),
      m_state(memory ? memory->obtain<LogsState>(QStringLiteral("logs"), [] { return new LogsState; })
                     : new LogsState(this))
{
    setObjectName(QStringLiteral("logsScreen"));
    LogcatModel *logcat = m_state->logcat();
    logcat->pasteboardWriter = [](const QString &text) { DesktopServices::current().copyText(text); };

    m_tabs = new DeckSegmented({{kTabLogcat, QStringLiteral("Logcat устройства"), std::nullopt, std::nullopt},
                                {kTabActivity, QStringLiteral("Журнал приложения"), std::nullopt, std::nullopt}},
                               m_state->tab == LogsState::Tab::activity ? kTabActivity : kTabLogcat,
                               QStringLiteral("Источник логов"));
    m_header = new ScreenHeader(eyebrow(AppRoute::logs), QStringLiteral("Логи"), QStringLiteral(" "), {m_tabs});

    m_panes = new QStackedWidget;
    m_panes->addWidget(buildLogcatPane());
    m_activity = new ActivityLogView(model);
    m_panes->addWidget(m_activity);

    auto *page = new DeckScreen(std::nullopt, m_header, m_panes);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(page);

    connect(m_tabs, &DeckSegmented::selectionChanged, this, [this](const QVariant &value) {
        showTab(value.toString() == kTabActivity ? LogsState::Tab::activity : LogsState::Tab::logcat);
    });
    showTab(m_state->tab);

    // The device the stream reads: fed now and whenever the selection, its state, adb or the
    // buffer size changes.
    ViewUpdates::follow(model, this, [this] { feed(); }, model->selectedDeviceID, model->devices, model->adbPath)
        ->on(settings, settings->logcatBufferSize);
    feed();

    ViewUpdates::follow(logcat, this, [this] { refreshStream(); }, logcat->isStreaming, logcat->isPaused,
                        logcat->canStreamInputs());
    ViewUpdates::follow(logcat, this, [this] { refreshFilters(); }, logcat->counts, logcat->minimumLevel,
                        logcat->tagQuery, logcat->searchText, logcat->visibleLines);
    ViewUpdates::follow(logcat, this, [this] { refreshStatus(); }, logcat->statusText, logcat->isStreaming,
                        logcat->isPaused, logcat->droppedCount, logcat->visibleLines, logcat->lines)
        ->on(settings, settings->logcatBufferSize);
    ViewUpdates::follow(logcat, this, [this] { refreshSubtitle(); }, logcat->statusText)->on(model, model->logs);
    logcat->observe(logcat->autoScroll, m_autoScroll, [this] { m_autoScroll->setChecked(m_state->logcat()->autoScroll()); });
    logcat->observe(logcat->tagQuery, m_tagField, [this] { m_tagField->showModelText(m_state->logcat()->tagQuery()); });
    logcat->observe(logcat->searchText, m_searchField,
                    [this] { m_searchField->showModelText(m_state->logcat()->searchText()); });

    refreshStream();
    refreshFilters();
    refreshStatus();
    refreshSubtitle();
    if (memory)
        memory->keepScroll(m_streamView->list(), QStringLiteral("logs.stream"));
}

LogsScreen::~LogsScreen()
{
    // A rebuild for a theme or a device state keeps the stream; leaving the route ends it.
    if (m_model->route() != AppRoute::logs)
        m_state->logcat()->stop();
}

LogcatModel *LogsScreen::logcat() const { return m_state->logcat(); }

QWidget *LogsScreen::buildLogcatPane()
{
    auto *pane = new QWidget;
    pane->setObjectName(QStringLiteral("logcatPane"));
    auto *column = new QVBoxLayout(pane);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(buildToolbar());
    column->addWidget(new Hairline);
    column->addWidget(buildFilters());
    column->addWidget(new Hairline);
    m_streamView = new LogStreamView(logcat());
    column->addWidget(m_streamView, 1);
    column->addWidget(new Hairline);
    column->addWidget(buildStatus());
    return pane;
}

QWidget *LogsScreen::buildToolbar()
{
    LogcatModel *logcat = this->logcat();
    m_stream = new DeckButton(QStringLiteral("play.fill"), QStringLiteral("Запустить поток"),
                              {DeckButtonRole::primary, DeckButtonSize::small});
    m_pause = new DeckButton(QStringLiteral("pause"), QStringLiteral("Пауза"),
                             {DeckButtonRole::secondary, DeckButtonSize::small});
    m_autoScroll = new DeckCheckbox(QStringLiteral("Автопрокрутка"), QStringLiteral("arrow.down.to.line"));
    m_autoScroll->setChecked(logcat->autoScroll());
    m_copy = new IconButton(QStringLiteral("doc.on.doc"));
    m_copy->setToolTip(ViewUpdates::plainToolTip(QStringLiteral("Скопировать видимые строки")));
    m_copy->setAccessibleName(QStringLiteral("Скопировать видимые строки"));
    m_save = new IconButton(QStringLiteral("square.and.arrow.down"));
    m_save->setToolTip(ViewUpdates::plainToolTip(QStringLiteral("Сохранить в файл")));
    m_save->setAccessibleName(QStringLiteral("Сохранить логи в файл"));
    m_clearMenuButton = new IconButton(QStringLiteral("trash"));
    m_clearMenuButton->setToolTip(ViewUpdates::plainToolTip(QStringLiteral("Очистка")));
    m_clearMenuButton->setAccessibleName(QStringLiteral("Очистка логов"));
    m_clearMenu = new QMenu(this);
    m_clearMenu->addAction(QStringLiteral("Очистить окно"), this, [this] { this->logcat()->clear(); });
    m_clearDeviceAction = m_clearMenu->addAction(QStringLiteral("Очистить буфер устройства"), this,
                                                 [this] { this->logcat()->clearDeviceBuffer(); });

    connect(m_stream, &QAbstractButton::clicked, this, [this] { this->logcat()->toggleStreaming(); });
    connect(m_pause, &QAbstractButton::clicked, this, [this] { this->logcat()->setPaused(!this->logcat()->isPaused()); });
    connect(m_autoScroll, &QAbstractButton::toggled, this, [this](bool on) { this->logcat()->autoScroll.set(on); });
    connect(m_copy, &QAbstractButton::clicked, this, [this] { this->logcat()->copyVisible(); });
    connect(m_save, &QAbstractButton::clicked, this, [this] { exportLog(); });
    connect(m_clearMenuButton, &QAbstractButton::clicked, this,
            [this] { m_clearMenu->popup(PopupPlacement::below(m_clearMenuButton, m_clearMenu->sizeHint())); });

    return flowRow({m_stream, m_pause, Divider{}, m_autoScroll, Flexible{Space::s}, m_copy, m_save,
                    m_clearMenuButton},
                   0, int(Space::s));
}

QWidget *LogsScreen::buildFilters()
{
    LogcatModel *logcat = this->logcat();
    QList<RowItem> items;
    for (LogLevel level : allCases<LogLevel>()) {
        auto *chip = new FilterChip(rawValue(level), icon(level), std::nullopt, logcat->minimumLevel() == level, tone(level));
        chip->setToolTip(ViewUpdates::plainToolTip(QStringLiteral("Показывать ") + title(level) + QStringLiteral(" и выше")));
        // The counts appear and grow while the stream runs: the chips keep their places under the
        // pointer until a count passes four digits.
        chip->reserveCountDigits(4);
        connect(chip, &QAbstractButton::clicked, this, [this, level] { this->logcat()->setMinimumLevel(level); });
        m_chips << chip;
        items << chip;
    }
    items << Divider{};
    m_tagField = new DeckSearchField(QStringLiteral("Тег"), 150, 96);
    m_tagField->setObjectName(QStringLiteral("logTagField"));
    m_searchField = new DeckSearchField(QStringLiteral("Поиск в сообщениях"), 260, 140);
    m_searchField->setObjectName(QStringLiteral("logSearchField"));
    m_tagField->showModelText(logcat->tagQuery());
    m_searchField->showModelText(logcat->searchText());
    connect(m_tagField, &DeckSearchField::textChanged, this, [this](const QString &text) {
        if (text != this->logcat()->tagQuery())
            this->logcat()->setTagQuery(text);
    });
    connect(m_searchField, &DeckSearchField::textChanged, this, [this](const QString &text) {
        if (text != this->logcat()->searchText())
            this->logcat()->setSearchText(text);
    });
    m_matchCount = new DeckText(QString(), Typo::supporting(), [] { return Ink::textTertiary(); });
    m_matchCount->setObjectName(QStringLiteral("logMatchCount"));
    items << m_tagField << m_searchField << m_matchCount;
    return flowRow(items, int(Space::s), int(Space::s));
}

QWidget *LogsScreen::buildStatus()
{
    m_dot = new PulseDot(Tone::neutral, false);
    m_statusText = new DeckText(QString(), Typo::supporting(), [] { return Ink::textTertiary(); });
    m_statusText->setObjectName(QStringLiteral("logStatusText"));
    m_counts = new DeckText(QString(), Typo::caption(), [] { return Ink::textTertiary(); });
    m_counts->setObjectName(QStringLiteral("logCounts"));
    m_counts->setElideMode(Qt::ElideNone);
    return flowRow({m_dot, m_statusText, Flexible{0}, m_counts}, int(Space::s), int(Space::s), Space::xs);
}

void LogsScreen::feed()
{
    const std::optional<AndroidDevice> device = m_model->selectedDevice();
    const QString identity = m_model->selectedDeviceID().value_or(QStringLiteral("-")) + QLatin1Char('|')
                             + (device ? device->state : QStringLiteral("-"));
    m_identity = identity;
    LogcatModel *logcat = this->logcat();
    // The stored preference may hold anything; the model gets the bounded size.
    logcat->setBufferLimit(PreferenceBounds::logcatBufferSize(m_settings->logcatBufferSize()));
    logcat->configure(m_model->service, device && device->isReady() ? m_model->selectedDeviceID() : std::nullopt);
}

void LogsScreen::showTab(LogsState::Tab tab)
{
    m_state->tab = tab;
    m_panes->setCurrentIndex(tab == LogsState::Tab::activity ? 1 : 0);
    refreshSubtitle();
}

void LogsScreen::refreshStream()
{
    const LogcatModel *logcat = this->logcat();
    const bool streaming = logcat->isStreaming();
    const bool paused = logcat->isPaused();
    m_stream->setText(streaming ? QStringLiteral("Остановить") : QStringLiteral("Запустить поток"));
    m_stream->setSymbol(streaming ? QStringLiteral("stop.fill") : QStringLiteral("play.fill"));
    m_stream->setButtonStyle({streaming ? DeckButtonRole::destructive : DeckButtonRole::primary, DeckButtonSize::small});
    m_stream->setEnabled(logcat->canStream());
    m_pause->setText(paused ? QStringLiteral("Продолжить") : QStringLiteral("Пауза"));
    m_pause->setSymbol(paused ? QStringLiteral("play") : QStringLiteral("pause"));
    m_pause->setEnabled(streaming);
    m_clearDeviceAction->setEnabled(logcat->canStream());
    m_dot->setTone(streaming ? Tone::success : Tone::neutral);
    m_dot->setAnimating(streaming && !paused);
}

void LogsScreen::refreshFilters()
{
    const LogcatModel *logcat = this->logcat();
    const QList<LogLevel> levels = allCases<LogLevel>();
    for (int i = 0; i < levels.size(); ++i) {
        const std::optional<qint64> count = logcat->counts().shown(levels[i]);
        m_chips[i]->setCount(count ? std::optional<int>(int(std::min<qint64>(*count, INT_MAX))) : std::nullopt);
        m_chips[i]->setOn(logcat->minimumLevel() == levels[i]);
    }
    const bool filtering = !logcat->searchText().isEmpty() || !logcat->tagQuery().isEmpty();
    m_matchCount->setVisible(filtering);
    m_matchCount->setText(QString::number(logcat->matchCount()));
    m_save->setEnabled(!logcat->visibleLines().isEmpty());
}

void LogsScreen::refreshStatus()
{
    const LogcatModel *logcat = this->logcat();
    QString status = logcat->isPaused() && logcat->isStreaming() ? QStringLiteral("Пауза") : logcat->statusText();
    if (logcat->droppedCount() > 0)
        status += QStringLiteral(" · пропущено строк: ") + QString::number(logcat->droppedCount());
    m_statusText->setText(status);
    m_statusText->setToolTip(ViewUpdates::plainToolTip(status));
    m_counts->setText(QStringLiteral("Показано %1 из %2 · буфер %3")
                          .arg(logcat->visibleLines.size())
                          .arg(logcat->lines.size())
                          .arg(PreferenceBounds::logcatBufferSize(m_settings->logcatBufferSize())));
    m_save->setEnabled(!logcat->visibleLines().isEmpty());
}

void LogsScreen::refreshSubtitle()
{
    const QString text = m_state->tab == LogsState::Tab::activity
                             ? QString::number(m_model->logs.size()) + QStringLiteral(" записей о выполненных командах")
                             : logcat()->statusText();
    if (DeckParagraph *subtitle = m_header->subtitleLabel())
        subtitle->setText(text);
}

void LogsScreen::applyDeckSize()
{
    const bool compact = DeckSizes::isCompact(DeckSizeReader::sizeFor(this));
    m_searchField->lineEdit()->setPlaceholderText(compact ? QStringLiteral("Поиск") : QStringLiteral("Поиск в сообщениях"));
}

bool LogsScreen::event(QEvent *e)
{
    if (e->type() == QEvent::ParentChange || e->type() == QEvent::Show) {
        if (DeckSizeReader *reader = DeckSizeReader::of(this))
            connect(reader, &DeckSizeReader::deckSizeChanged, this, &LogsScreen::applyDeckSize, Qt::UniqueConnection);
        applyDeckSize();
    }
    return QWidget::event(e);
}

void LogsScreen::exportLog()
{
    FileRequest request;
    request.title = QStringLiteral("Сохранить логи");
    request.nameFilters = {QStringLiteral("Текстовые файлы (*.log *.txt)")};
    request.suggestedName = QStringLiteral("logcat-") + FileNaming::timestamp() + QStringLiteral(".log");
    const QPointer<LogcatModel> model(logcat());
    DesktopServices::current().chooseSaveFile(this, request, [model](std::optional<QString> path) {
        if (model && path && !path->isEmpty())
            model->saveVisible(*path);
    });
}
