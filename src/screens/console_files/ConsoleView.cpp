#include "ConsoleView.h"

#include "ConsoleCommandField.h"
#include "ConsoleLibraryPane.h"
#include "ConsoleSuggestionBar.h"
#include "ConsoleTranscriptView.h"
#include "ConsoleViewState.h"

#include "core/AppModel.h"
#include "core/ConsoleTranscript.h"
#include "core/ConsoleTranscriptModel.h"
#include "core/FileNaming.h"
#include "design/DeckButton.h"
#include "design/DeckParagraph.h"
#include "design/DeckSearchField.h"
#include "design/DeckSegmented.h"
#include "design/DeckSizeReader.h"
#include "design/DeckText.h"
#include "design/FlowLayout.h"
#include "design/Hairline.h"
#include "design/Ink.h"
#include "design/OperationBar.h"
#include "design/ScreenHeader.h"
#include "design/Symbols.h"
#include "design/ToneInk.h"
#include "design/Tokens.h"
#include "design/Typo.h"
#include "shell/DeckScreen.h"
#include "shell/DeckTextField.h"
#include "shell/DesktopServices.h"
#include "shell/ScreenMemory.h"
#include "shell/ViewUpdates.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QPainter>
#include <QScrollArea>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace {

const QString kStateKey = QStringLiteral("console");

// The command bar's surface: Ink.surface with a hairline over its top edge.
class CommandBarSurface : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), Ink::surface());
        p.fillRect(QRect(0, 0, width(), 1), Ink::stroke());
    }
};

// A fill behind the suggestion bar's scroller.
class SunkenStrip : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), Ink::surfaceSunken());
    }
};

QFont promptFont()
{
    QFont font = Typo::monoBody();
    font.setBold(true);
    return font;
}

IconButton *iconButton(const QString &symbol, qreal size, const QString &help, const QString &label)
{
    auto *button = new IconButton(symbol, {size, Tone::neutral, false});
    button->setToolTip(help);
    button->setAccessibleName(label);
    return button;
}

QWidget *keyHints()
{
    auto *box = new QWidget;
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(int(Space::xs));
    const QList<std::pair<QString, QString>> hints{
        {QStringLiteral("↩"), QStringLiteral("выполнить")},
        {QStringLiteral("↑ ↓"), QStringLiteral("история")},
        {QStringLiteral("⇥"), QStringLiteral("подсказка")},
        {QKeySequence(Qt::CTRL | Qt::Key_Period).toString(QKeySequence::NativeText), QStringLiteral("стоп")},
    };
    for (const auto &[keys, word] : hints) {
        row->addWidget(new KeyHint(keys, box));
        auto *text = new DeckText(word, Typo::caption(), [] { return Ink::textTertiary(); }, box);
        text->setElideMode(Qt::ElideNone);
        row->addWidget(text);
    }
    box->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return box;
}

} // namespace

StatusGlyph::StatusGlyph(QWidget *parent) : QWidget(parent) { setFixedSize(12, 12); }

void StatusGlyph::setSymbol(const QString &symbol, Tone tone)
{
    if (symbol == m_symbol && tone == m_tone)
        return;
    m_symbol = symbol;
    m_tone = tone;
    update();
}

void StatusGlyph::paintEvent(QPaintEvent *)
{
    if (m_symbol.isEmpty())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    Symbols::paint(p, m_symbol, QRectF(rect()), 10, foreground(m_tone));
}

ConsoleView::ConsoleView(AppModel *model, ScreenMemory *memory, QWidget *parent) : QWidget(parent), m_model(model)
{
    setObjectName(QStringLiteral("console-view"));
    if (memory)
        m_state = memory->obtain<ConsoleViewState>(kStateKey, [model] { return new ConsoleViewState(model); });
    else
        m_state = new ConsoleViewState(model, this);

    m_header = new ScreenHeader(eyebrow(AppRoute::console), QStringLiteral("Консоль"), subtitle(*model));
    buildHeaderControls();

    m_split = new QSplitter(Qt::Horizontal);
    m_split->setObjectName(QStringLiteral("console-split"));
    m_split->setChildrenCollapsible(false);
    m_split->setHandleWidth(1);
    m_library = new ConsoleLibraryPane(m_state);
    connect(m_library, &ConsoleLibraryPane::picked, this, [this] { m_field->setFocus(Qt::OtherFocusReason); });
    m_split->addWidget(m_library);
    m_split->addWidget(buildTerminal());
    if (memory)
        memory->keepScroll(m_transcript, kStateKey + QStringLiteral(".transcript"));
    m_split->setStretchFactor(0, 0);
    m_split->setStretchFactor(1, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new DeckScreen(std::nullopt, m_header, m_split, this));

    // Following the newest entry, not the count: at the cap every append keeps the count.
    m_follow.setSingleShot(true);
    m_follow.setInterval(0);
    connect(&m_follow, &QTimer::timeout, this, [this] { m_transcript->scrollToBottom(); });
    m_newest = model->consoleEntries.size() > 0 ? model->consoleEntries->last().id : QUuid();
    model->observe(model->consoleEntries, this, [this] { followNewest(); });

    bindDeckTextField(m_search, model, model->consoleSearchText);
    bindDeckTextField(m_field, model, model->consoleInput);
    model->observe(model->consoleInput, this, [this] { m_suggestionsDismissed = false; });

    m_refreshes = ViewUpdates::follow(model, this, [this] { refresh(); }, model->consoleIsRunning, model->consoleMode,
                                      model->consoleInput, model->consoleFavorites, model->consoleHistory,
                                      model->consoleStatusText, model->consoleSearchText, model->consoleEntries,
                                      model->showConsoleFavorites, model->consoleRunInputs(),
                                      model->deviceReadinessInputs())
                      ->on(m_state, m_state->lastDuration, m_state->suggestionIndex);
    refresh();
}

QString ConsoleView::subtitle(const AppModel &model)
{
    const std::optional<AndroidDevice> device = model.selectedDevice();
    if (!device)
        return QStringLiteral("Устройство не выбрано — команды выполнить нельзя");
    return device->displayName() + QStringLiteral(" · ") + device->id;
}

std::pair<QString, Tone> ConsoleView::statusSymbol(const QString &status)
{
    if (status.contains(QStringLiteral("успешно")))
        return {QStringLiteral("checkmark.circle.fill"), Tone::success};
    if (status.contains(QStringLiteral("код")) || status.contains(QStringLiteral("Ошибка")))
        return {QStringLiteral("exclamationmark.triangle.fill"), Tone::danger};
    return {QStringLiteral("circle"), Tone::neutral};
}

bool ConsoleView::currentInputIsFavorite() const
{
    const QString command = m_model->consoleInput().trimmed();
    const ConsoleMode mode = m_model->consoleMode();
    const QList<ConsoleFavorite> &favorites = m_model->consoleFavorites();
    return std::any_of(favorites.begin(), favorites.end(),
                       [&](const ConsoleFavorite &f) { return f.mode == mode && f.command == command; });
}

QWidget *ConsoleView::buildHeaderControls()
{
    QList<DeckSegmented::Item> modes;
    for (ConsoleMode mode : allCases<ConsoleMode>())
        modes.append({QVariant(rawValue(mode)), shortTitle(mode),
                      mode == ConsoleMode::deviceShell ? QStringLiteral("apple.terminal") : QStringLiteral("terminal"),
                      std::nullopt});
    m_mode = new DeckSegmented(modes, QVariant(rawValue(m_model->consoleMode())), QStringLiteral("Режим консоли"));
    m_mode->setObjectName(QStringLiteral("console-mode"));
    connect(m_mode, &DeckSegmented::selectionChanged, this, [this](const QVariant &value) {
        if (const auto mode = fromRawValue<ConsoleMode>(value.toString()))
            m_model->consoleMode.set(*mode);
    });
    m_header->addControl(m_mode);

    m_search = new DeckSearchField(QStringLiteral("Поиск в выводе"), 210, 130);
    m_search->setObjectName(QStringLiteral("console-search"));
    m_header->addControl(m_search);

    m_matchCount = new DeckText(QString(), Typo::supporting(), [] { return Ink::textTertiary(); });
    m_matchCount->setObjectName(QStringLiteral("console-match-count"));
    m_matchCount->setElideMode(Qt::ElideNone);
    m_header->addControl(m_matchCount);

    m_copy = iconButton(QStringLiteral("doc.on.doc"), 30, QStringLiteral("Скопировать весь вывод"),
                        QStringLiteral("Скопировать весь вывод консоли"));
    connect(m_copy, &QAbstractButton::clicked, this, [this] { m_model->copyConsoleLog(); });
    m_save = iconButton(QStringLiteral("square.and.arrow.down"), 30, QStringLiteral("Сохранить вывод в файл"),
                        QStringLiteral("Сохранить вывод консоли в файл"));
    connect(m_save, &QAbstractButton::clicked, this, [this] { exportOutput(); });
    m_clear = iconButton(QStringLiteral("trash"), 30, QStringLiteral("Очистить консоль"), QStringLiteral("Очистить консоль"));
    connect(m_clear, &QAbstractButton::clicked, this, [this] { m_model->clearConsole(); });
    m_libraryToggle = iconButton(QStringLiteral("sidebar.left"), 30, QStringLiteral("Показать или скрыть библиотеку команд"),
                                 QStringLiteral("Библиотека команд"));
    connect(m_libraryToggle, &QAbstractButton::clicked, this,
            [this] { m_model->showConsoleFavorites.set(!m_model->showConsoleFavorites()); });
    for (IconButton *button : {m_copy, m_save, m_clear, m_libraryToggle})
        m_header->addControl(button);
    return m_header;
}

QWidget *ConsoleView::buildTerminal()
{
    auto *terminal = new QWidget;
    terminal->setObjectName(QStringLiteral("console-terminal"));
    terminal->setMinimumWidth(360);
    auto *column = new QVBoxLayout(terminal);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    m_transcript = new ConsoleTranscriptView(m_state->transcript());
    column->addWidget(new ConsoleTranscriptPane(m_transcript), 1);
    column->addWidget(new Hairline(false));

    m_suggestions = new ConsoleSuggestionBar;
    connect(m_suggestions, &ConsoleSuggestionBar::chosen, this, [this](const QString &suggestion) {
        m_model->consoleInput.set(suggestion);
        m_field->setFocus(Qt::OtherFocusReason);
    });
    m_suggestionsBox = new QScrollArea;
    m_suggestionsBox->setObjectName(QStringLiteral("console-suggestions-box"));
    m_suggestionsBox->setAccessibleName(QStringLiteral("Подсказки команд"));
    m_suggestionsBox->setFrameShape(QFrame::NoFrame);
    m_suggestionsBox->setFocusPolicy(Qt::NoFocus);
    m_suggestionsBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_suggestionsBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_suggestionsBox->setWidgetResizable(false);
    m_suggestionsBox->setWidget(m_suggestions);
    m_suggestionsBox->setAutoFillBackground(false);
    m_suggestionsBox->viewport()->setAutoFillBackground(false);
    m_suggestions->setAutoFillBackground(false);
    m_suggestionsBox->setFixedHeight(m_suggestions->sizeHint().height());
    auto *strip = new SunkenStrip;
    auto *stripLayout = new QVBoxLayout(strip);
    stripLayout->setContentsMargins(0, 0, 0, 0);
    stripLayout->addWidget(m_suggestionsBox);
    m_suggestionsStrip = strip;
    column->addWidget(strip);

    column->addWidget(buildCommandBar());
    column->addWidget(buildStatusBar());
    return terminal;
}

QWidget *ConsoleView::buildCommandBar()
{
    auto *bar = new CommandBarSurface;
    bar->setObjectName(QStringLiteral("console-command-bar"));
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(int(Space::gutter), int(Space::s), int(Space::gutter), int(Space::s));
    row->setSpacing(int(Space::s));

    m_prompt = new DeckText(QString(), promptFont(), [] { return Ink::accentCyan(); });
    m_prompt->setElideMode(Qt::ElideNone);
    row->addWidget(m_prompt);

    m_field = new ConsoleCommandField;
    m_field->setMinimumHeight(26);
    m_field->onTab = [this] { return m_state->takeSuggestion(); };
    m_field->onEscape = [this] { return handleEscape(); };
    connect(m_field, &QLineEdit::returnPressed, this, [this] { m_state->runCommand(); });
    connect(m_field, &ConsoleCommandField::historyPrevious, this, [this] { m_model->consoleHistoryPrevious(); });
    connect(m_field, &ConsoleCommandField::historyNext, this, [this] { m_model->consoleHistoryNext(); });
    connect(m_field, &ConsoleCommandField::focusChanged, this, [this] { refreshSuggestions(); });
    row->addWidget(m_field, 1);

    m_favorite = iconButton(QStringLiteral("star"), 26, QString(), QString());
    m_favorite->setObjectName(QStringLiteral("console-favorite"));
    connect(m_favorite, &QAbstractButton::clicked, this, [this] { m_model->toggleConsoleFavoriteForInput(); });
    row->addWidget(m_favorite);
    m_clearInput = iconButton(QStringLiteral("xmark.circle"), 26, QStringLiteral("Очистить строку ввода"),
                              QStringLiteral("Очистить строку ввода"));
    connect(m_clearInput, &QAbstractButton::clicked, this, [this] { m_model->clearConsoleInput(); });
    row->addWidget(m_clearInput);

    m_run = new DeckButton(QStringLiteral("Выполнить"), {DeckButtonRole::primary, DeckButtonSize::small});
    m_run->setObjectName(QStringLiteral("console-run"));
    m_run->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
    connect(m_run, &QAbstractButton::clicked, this, [this] { m_state->runCommand(); });
    row->addWidget(m_run);
    m_stop = new DeckButton(QStringLiteral("Остановить"), {DeckButtonRole::destructive, DeckButtonSize::small});
    m_stop->setObjectName(QStringLiteral("console-stop"));
    m_stop->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Period));
    connect(m_stop, &QAbstractButton::clicked, this, [this] { m_model->stopConsoleCommand(); });
    row->addWidget(m_stop);
    return bar;
}

QWidget *ConsoleView::buildStatusBar()
{
    auto *bar = new QWidget;
    bar->setObjectName(QStringLiteral("console-status-bar"));
    auto *flow = new FlowLayout(bar);
    flow->setContentsMargins(int(Space::gutter), int(Space::s), int(Space::gutter), int(Space::s));

    auto *indicator = new QWidget;
    auto *indicatorRow = new QHBoxLayout(indicator);
    indicatorRow->setContentsMargins(0, 0, 0, 0);
    m_progress = new IndeterminateRing;
    m_glyph = new StatusGlyph;
    indicatorRow->addWidget(m_progress);
    indicatorRow->addWidget(m_glyph);
    indicator->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    flow->addWidget(indicator);

    m_statusText = new DeckText(QString(), Typo::supporting(), [] { return Ink::textTertiary(); });
    m_statusText->setObjectName(QStringLiteral("console-status"));
    m_statusText->setElideMode(Qt::ElideNone);
    flow->addWidget(m_statusText);
    m_duration = new DeckText(QString(), Typo::caption(), [] { return Ink::textTertiary(); });
    m_duration->setObjectName(QStringLiteral("console-duration"));
    m_duration->setElideMode(Qt::ElideNone);
    flow->addWidget(m_duration);
    flow->addWidget(keyHints());
    return bar;
}

void ConsoleView::refresh()
{
    AppModel &m = *m_model;
    const bool running = m.consoleIsRunning();
    const ConsoleMode mode = m.consoleMode();
    const QString &input = m.consoleInput();
    const bool compact = DeckSizes::isCompact(DeckSizeReader::sizeFor(this));

    if (ScreenHeader *header = m_header; header->subtitleLabel())
        header->subtitleLabel()->setText(subtitle(m));
    m_mode->setSelection(QVariant(rawValue(mode)));
    m_mode->setEnabled(!running);
    m_search->lineEdit()->setPlaceholderText(compact ? QStringLiteral("Поиск") : QStringLiteral("Поиск в выводе"));
    m_matchCount->setVisible(!m.consoleSearchText().isEmpty());
    m_matchCount->setText(QString::number(m_state->transcript()->matchCount()));
    m_save->setEnabled(!m.consoleEntries->isEmpty());
    const bool showLibrary = m.showConsoleFavorites();
    m_libraryToggle->setButtonStyle({30, Tone::neutral, showLibrary});
    m_library->setVisible(showLibrary && !compact);
    if (m_library->isVisibleTo(this) && !m_sized && m_split->width() > 0) {
        m_sized = true;
        m_split->setSizes({m_library->idealWidth(), std::max(360, m_split->width() - m_library->idealWidth())});
    }

    m_prompt->setText(::prompt(mode));
    m_prompt->setInk(running ? std::function<QColor()>([] { return Ink::warning(); })
                             : std::function<QColor()>([] { return Ink::accentCyan(); }));
    enableCommandLine(!running);
    m_field->setPlaceholderText(mode == ConsoleMode::deviceShell ? QStringLiteral("Команда Android shell")
                                                                 : QStringLiteral("Команда ADB без указания устройства"));
    m_field->setAccessibleDescription(
        mode == ConsoleMode::deviceShell
            ? QStringLiteral("Команда Android shell. Enter выполняет, стрелки вверх и вниз листают историю")
            : QStringLiteral("Команда ADB без указания устройства. Enter выполняет"));
    const bool favorite = currentInputIsFavorite();
    m_favorite->setSymbol(favorite ? QStringLiteral("star.fill") : QStringLiteral("star"));
    m_favorite->setButtonStyle({26, Tone::neutral, favorite});
    m_favorite->setToolTip(favorite ? QStringLiteral("Убрать из избранного") : QStringLiteral("Добавить в избранное"));
    m_favorite->setAccessibleName(favorite ? QStringLiteral("Убрать команду из избранного")
                                           : QStringLiteral("Добавить команду в избранное"));
    m_favorite->setEnabled(!trimmedConsoleText(input).isEmpty() && !running);
    m_clearInput->setEnabled(!input.isEmpty() && !running);
    m_run->setVisible(!running);
    m_run->setEnabled(m.canRunConsoleCommand());
    m_stop->setVisible(running);

    m_progress->setVisible(running);
    m_glyph->setVisible(!running);
    const auto [symbol, tone] = statusSymbol(m.consoleStatusText());
    m_glyph->setSymbol(symbol, tone);
    m_statusText->setText(m.consoleStatusText());
    const std::optional<double> duration = m_state->lastDuration();
    m_duration->setVisible(duration.has_value());
    m_duration->setText(duration ? ConsoleViewState::durationText(*duration) : QString());
    refreshSuggestions();
}

void ConsoleView::enableCommandLine(bool enabled)
{
    if (enabled == m_field->isEnabled())
        return;
    if (!enabled) {
        // A disabled field hands its focus to the next in the chain (the output search), where
        // the next command typed would land. The view keeps the keyboard while the run lasts.
        if (window()->focusWidget() == m_field) {
            m_keyboardHeld = true;
            setFocus(Qt::OtherFocusReason);
        }
        m_field->setEnabled(false);
        return;
    }
    m_field->setEnabled(true);
    // Back to the command line, unless the user has put the focus elsewhere meanwhile.
    if (std::exchange(m_keyboardHeld, false) && window()->focusWidget() == this)
        m_field->setFocus(Qt::OtherFocusReason);
}

void ConsoleView::takeKeyboard()
{
    if (m_field->isEnabled()) {
        m_field->setFocus(Qt::OtherFocusReason);
    } else {
        m_keyboardHeld = true;
        setFocus(Qt::OtherFocusReason);
    }
}

void ConsoleView::refreshSuggestions()
{
    const QStringList suggestions = m_state->suggestions();
    m_suggestions->setSuggestions(suggestions, m_state->suggestionIndex());
    m_suggestionsBox->setFixedHeight(m_suggestions->sizeHint().height());
    m_suggestions->resize(m_suggestions->sizeHint());
    const bool shown = !suggestions.isEmpty() && m_field->hasFocus() && !m_suggestionsDismissed;
    m_suggestionsStrip->setVisible(shown);
}

bool ConsoleView::handleEscape()
{
    if (m_suggestionsStrip->isVisibleTo(this)) {
        m_suggestionsDismissed = true;
        refreshSuggestions();
        return true;
    }
    if (!m_model->consoleInput().isEmpty()) {
        m_model->clearConsoleInput();
        return true;
    }
    return false;
}

void ConsoleView::followNewest()
{
    const PublishedList<ConsoleEntry> &entries = m_model->consoleEntries;
    const QUuid newest = entries.size() > 0 ? entries->last().id : QUuid();
    if (newest == m_newest)
        return;
    m_newest = newest;
    // While a search text is entered (even spaces), new output leaves the view where it is.
    if (newest.isNull() || !m_model->consoleSearchText().isEmpty())
        return;
    m_follow.start();
}

void ConsoleView::exportOutput()
{
    FileRequest request;
    request.title = QStringLiteral("Сохранить вывод консоли");
    request.nameFilters = {QStringLiteral("Текст (*.txt)")};
    request.suggestedName = QStringLiteral("adb-console-") + FileNaming::timestamp() + QStringLiteral(".txt");
    const QPointer<AppModel> model(m_model);
    DesktopServices::current().chooseSaveFile(window(), request, [model](std::optional<QString> path) {
        if (model && path && !path->isEmpty())
            model->saveConsoleLog(*path);
    });
}

void ConsoleView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    attachSizeReader();
    refresh();
    // Typing commands is what the console is for: the command line takes the keyboard when the
    // console first shows (a focus given earlier is lost when the view is put in its window).
    if (!std::exchange(m_shown, true))
        takeKeyboard();
}

void ConsoleView::attachSizeReader()
{
    DeckSizeReader *reader = DeckSizeReader::of(this);
    if (reader == m_reader)
        return;
    if (m_reader)
        disconnect(m_reader, nullptr, this, nullptr);
    m_reader = reader;
    if (reader)
        connect(reader, &DeckSizeReader::deckSizeChanged, this, [this] { m_refreshes->schedule(); });
}
