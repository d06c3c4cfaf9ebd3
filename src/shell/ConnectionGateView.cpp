#include "ConnectionGateView.h"

#include "LinkDiagram.h"
#include "core/PlatformTexts.h"
#include "screenkit/ViewUpdates.h"

#include "core/AppModel.h"
#include "design/FocusRing.h"
#include "design/AuroraBackdrop.h"
#include "design/DeckButton.h"
#include "design/DeckParagraph.h"
#include "design/DeckText.h"
#include "design/InfoRow.h"
#include "design/Ink.h"
#include "design/Labels.h"
#include "design/Panel.h"
#include "design/SlimScrollBars.h"
#include "design/Symbols.h"
#include "design/Theme.h"
#include "design/ToneInk.h"
#include "design/Tokens.h"
#include "design/Typo.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollArea>
#include <QVBoxLayout>

#include <QCoro/QCoroFuture>

namespace {

using Case = LinkState::Case;

constexpr int kSubtitleWidth = 460;
constexpr int kStepsWidth = 520;
constexpr int kDiagnosticsWidth = 640;
constexpr int kTranscriptHeight = 160;

// The numbered disc of a step, in the state's tone.
class StepNumber : public QWidget {
public:
    StepNumber(int number, Tone tone, QWidget *parent) : QWidget(parent), m_number(number), m_tone(tone)
    {
        setFixedSize(20, 20);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(fill(m_tone));
        p.drawEllipse(QRectF(rect()));
        p.setPen(foreground(m_tone));
        p.setFont(Typo::label());
        p.drawText(QRectF(rect()), Qt::AlignCenter, QString::number(m_number));
    }

private:
    int m_number;
    Tone m_tone;
};

// The diagnostics header: a flat full-width button whose content is drawn by its children.
class HeaderButton : public QAbstractButton {
public:
    explicit HeaderButton(QWidget *parent) : QAbstractButton(parent)
    {
        setCursor(Qt::PointingHandCursor);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }
    QSize sizeHint() const override { return layout() ? layout()->sizeHint() : QSize(); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        FocusRing::paintIfShown(p, this, QRectF(rect()), Radius::s);
    }
};

class ChevronMark : public QWidget {
public:
    explicit ChevronMark(QWidget *parent) : QWidget(parent) { setFixedSize(12, 12); }
    void setExpanded(bool expanded)
    {
        m_expanded = expanded;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        Symbols::paint(p, m_expanded ? QStringLiteral("chevron.down") : QStringLiteral("chevron.right"),
                       QRectF(rect()), 9, Ink::textSecondary());
    }

private:
    bool m_expanded = false;
};

// A row that centres a block of limited width and lets it grow to that width (wrapped text
// inside then gets its full height).
QHBoxLayout *centred(QWidget *block)
{
    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->addStretch(0);
    row->addWidget(block, 1);
    row->addStretch(0);
    return row;
}

DeckText *plainLabel(const QString &text, const QFont &font, std::function<QColor()> ink, QWidget *parent)
{
    return new DeckText(text, font, std::move(ink), parent);
}

} // namespace

QString ConnectionGateView::headline(const LinkState &state)
{
    switch (state.kind) {
    case Case::adbMissing: return tr("Нужен Android Debug Bridge");
    case Case::searching: return tr("Ищем устройство");
    case Case::noDevice: return tr("Подключите устройство");
    case Case::unauthorized: return tr("Подтвердите доступ на телефоне");
    case Case::offline: return tr("Связь с устройством потеряна");
    case Case::recovery: return tr("Устройство в режиме Recovery");
    case Case::sideload: return tr("Устройство ждёт пакет обновления");
    case Case::fastboot: return tr("Устройство в режиме Fastboot");
    case Case::connected:
    case Case::working: return tr("Устройство готово");
    case Case::failed: return state.text;
    }
    return {};
}

QStringList ConnectionGateView::steps(const LinkState &state)
{
    switch (state.kind) {
    case Case::adbMissing:
        return {PlatformTexts::text(PlatformTexts::installToolsStep),
                tr("Либо укажите путь к собственной сборке adb в разделе «Настройки»."),
                tr("Нажмите «Проверить снова» — приложение найдёт adb автоматически.")};
    case Case::noDevice:
        return {PlatformTexts::text(PlatformTexts::connectCableStep),
                tr("На устройстве откройте «Настройки» → «Для разработчиков» и включите «Отладка по USB»."),
                tr("Если пункт «Для разработчиков» скрыт, семь раз нажмите на номер сборки в разделе «О телефоне»."),
                tr("Либо подключитесь по сети: нажмите на карточку устройства слева вверху.")};
    case Case::unauthorized:
        return {tr("Разблокируйте экран Android — запрос появляется только на разблокированном устройстве."),
                tr("В диалоге «Разрешить отладку по USB?» отметьте «Всегда разрешать с этого компьютера»."),
                tr("Нажмите «Разрешить». Список устройств обновится автоматически."),
                tr("Если диалог не появился, переподключите кабель или отзовите авторизации в настройках разработчика.")};
    case Case::offline:
        return {tr("Переподключите USB-кабель или используйте другой порт."),
                tr("Перезапустите ADB-сервер кнопкой ниже."),
                tr("Проверьте режим USB на устройстве: должен быть выбран «Передача файлов», а не «Только зарядка»."),
                PlatformTexts::text(PlatformTexts::sameNetworkStep)};
    case Case::fastboot:
        return {tr("В режиме Fastboot доступны только команды загрузчика."),
                tr("Перейдите в раздел «Инструменты», чтобы прочитать переменные загрузчика."),
                tr("Чтобы вернуться в систему, выполните перезагрузку из раздела «Инструменты».")};
    default:
        return {};
    }
}

ConnectionGateView::ConnectionGateView(AppModel *model, AppSettings *settings, QWidget *parent)
    : QWidget(parent), m_model(model), m_settings(settings)
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto *scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus); // a page: Tab stops at its controls, and it follows them
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    SlimScrollBars::apply(scroll);
    scroll->viewport()->setAutoFillBackground(false);
    outer->addWidget(scroll);

    auto *page = new QWidget;
    page->setAutoFillBackground(false);
    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(int(Space::gutter), 0, int(Space::gutter), 0);
    column->setSpacing(int(Space::xl));
    column->addSpacing(int(Space::xl));
    column->addStretch(1);

    m_diagram = new LinkDiagram(currentState(), page);
    column->addWidget(m_diagram, 0, Qt::AlignHCenter);

    // Badge, headline and subtitle.
    auto *titles = new QVBoxLayout;
    titles->setSpacing(int(Space::s));
    m_badge = new StatusBadge(QStringLiteral("circle"), QString(), Tone::neutral, BadgeStyle::soft, false, page);
    titles->addWidget(m_badge, 0, Qt::AlignHCenter);
    m_headline = ViewUpdates::wrappingLabel(QString(), Typo::heroCompact(), [] { return Ink::text(); }, page);
    m_headline->setAlignment(Qt::AlignHCenter);
    titles->addWidget(m_headline);
    m_subtitle = ViewUpdates::wrappingLabel(QString(), Typo::body(), [] { return Ink::textSecondary(); }, page);
    m_subtitle->setAlignment(Qt::AlignHCenter);
    m_subtitle->setMaximumWidth(kSubtitleWidth);
    m_subtitle->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Minimum);
    titles->addLayout(centred(m_subtitle));
    column->addLayout(titles);

    // Steps.
    m_stepsPanel = new DeckPanel({PanelKind::raised, Radius::l, Elevation::low(), true, true}, page);
    m_stepsPanel->setPadding(QMarginsF(Space::l, Space::l, Space::l, Space::l));
    m_stepsPanel->setMaximumWidth(kStepsWidth + int(Panel::shadowMargins(m_stepsPanel->panelStyle()).left() +
                                                    Panel::shadowMargins(m_stepsPanel->panelStyle()).right()));
    m_stepsColumn = new QVBoxLayout(m_stepsPanel);
    m_stepsColumn->setSpacing(int(Space::m));
    m_stepsPanel->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Minimum);
    column->addLayout(centred(m_stepsPanel));

    // Actions.
    auto *actions = new QHBoxLayout;
    m_actions = actions;
    actions->setSpacing(int(Space::s));
    actions->addStretch(1);
    m_primary = new DeckButton(QStringLiteral("arrow.clockwise"), QString(),
                               {DeckButtonRole::primary, DeckButtonSize::large}, page);
    m_restart = new DeckButton(QStringLiteral("arrow.triangle.2.circlepath"), tr("Перезапустить ADB-сервер"),
                               {DeckButtonRole::secondary, DeckButtonSize::large}, page);
    m_fastboot = new DeckButton(QStringLiteral("bolt"), tr("Проверить Fastboot"),
                                {DeckButtonRole::ghost, DeckButtonSize::large}, page);
    actions->addWidget(m_primary);
    actions->addWidget(m_restart);
    actions->addWidget(m_fastboot);
    actions->addStretch(1);
    column->addLayout(actions);
    connect(m_primary, &QAbstractButton::clicked, this, &ConnectionGateView::triggerPrimaryAction);
    connect(m_restart, &QAbstractButton::clicked, this, [this] { m_model->restartADBServer(); });
    connect(m_fastboot, &QAbstractButton::clicked, this, [this] { m_model->refreshFastboot(); });

    // Diagnostics.
    auto *diagnostics = new DeckPanel({PanelKind::raised, Radius::l, Elevation::low(), true, true}, page);
    diagnostics->setPadding(QMarginsF(Space::l, 0, Space::l, Space::s));
    const QMarginsF diagShadow = Panel::shadowMargins(diagnostics->panelStyle());
    diagnostics->setMaximumWidth(kDiagnosticsWidth + int(diagShadow.left() + diagShadow.right()));
    auto *diagColumn = new QVBoxLayout(diagnostics);
    diagColumn->setSpacing(int(Space::m));

    auto *header = new HeaderButton(diagnostics);
    m_diagnosticsHeader = header;
    auto *headerRow = new QHBoxLayout(header);
    headerRow->setContentsMargins(0, int(Space::s), 0, int(Space::s));
    headerRow->setSpacing(int(Space::s));
    auto *chevron = new ChevronMark(header);
    headerRow->addWidget(chevron, 0, Qt::AlignVCenter);
    headerRow->addWidget(plainLabel(tr("Расширенная диагностика"), Typo::bodyMedium(),
                                    [] { return Ink::textSecondary(); }, header));
    headerRow->addStretch(1);
    m_runningNote = plainLabel(tr("выполняется…"), Typo::caption(), [] { return Ink::textSecondary(); }, header);
    headerRow->addWidget(m_runningNote);
    for (QWidget *child : header->findChildren<QWidget *>())
        child->setAttribute(Qt::WA_TransparentForMouseEvents);
    header->setAccessibleName(tr("Расширенная диагностика"));
    diagColumn->addWidget(header);
    connect(header, &QAbstractButton::clicked, this, &ConnectionGateView::toggleDiagnostics);
    m_chevron = chevron;

    m_diagnosticsBody = new QWidget(diagnostics);
    auto *body = new QVBoxLayout(m_diagnosticsBody);
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(int(Space::s));
    m_rowsColumn = new QVBoxLayout;
    m_rowsColumn->setSpacing(int(Space::s));
    body->addLayout(m_rowsColumn);
    m_transcriptPanel = new DeckPanel({PanelKind::sunken, Radius::s, Elevation::flat(), true, true}, m_diagnosticsBody);
    m_transcriptPanel->setPadding(QMarginsF(Space::m, Space::m, Space::m, Space::m));
    auto *transcriptBox = new QVBoxLayout(m_transcriptPanel);
    m_transcript = new QPlainTextEdit(m_transcriptPanel);
    m_transcript->setReadOnly(true);
    m_transcript->setFrameShape(QFrame::NoFrame);
    m_transcript->setFont(Typo::monoSmall());
    m_transcript->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_transcript->setMaximumHeight(kTranscriptHeight);
    m_transcript->setStyleSheet(QStringLiteral("QPlainTextEdit { background: transparent; }"));
    auto paintTranscript = [this] {
        QPalette pal = m_transcript->palette();
        pal.setColor(QPalette::Text, Ink::textSecondary());
        m_transcript->setPalette(pal);
    };
    paintTranscript();
    connect(Theme::notifier(), &ThemeNotifier::changed, m_transcript, paintTranscript);
    transcriptBox->addWidget(m_transcript);
    // A Tab stop (the keys scroll it): its well shows when it has the focus.
    FocusRing::followChild(m_transcriptPanel, m_transcript, Radius::s);
    body->addWidget(m_transcriptPanel);
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(int(Space::s));
    m_rerun = new DeckButton(tr("Обновить диагностику"), {DeckButtonRole::secondary, DeckButtonSize::small},
                             m_diagnosticsBody);
    m_copy = new DeckButton(tr("Скопировать"), {DeckButtonRole::ghost, DeckButtonSize::small}, m_diagnosticsBody);
    buttons->addWidget(m_rerun);
    buttons->addWidget(m_copy);
    buttons->addStretch(1);
    body->addLayout(buttons);
    connect(m_rerun, &QAbstractButton::clicked, this, &ConnectionGateView::runDiagnostics);
    connect(m_copy, &QAbstractButton::clicked, this, [this] {
        QClipboard *clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        clipboard->setText(m_diagnosticsText);
    });
    diagColumn->addWidget(m_diagnosticsBody);
    diagnostics->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Minimum);
    column->addLayout(centred(diagnostics));

    column->addStretch(1);
    column->addSpacing(int(Space::xl));
    scroll->setWidget(page);
    // setWidget turns background filling on; what lies behind must show through.
    page->setAutoFillBackground(false);

    ViewUpdates::follow(model, this, [this] { refresh(); }, model->linkStateInputs(), model->adbVersionText);
    refresh();
    refreshDiagnostics();
}

void ConnectionGateView::setPreviewState(std::optional<LinkState> state)
{
    m_previewState = std::move(state);
    refresh();
}

LinkState ConnectionGateView::currentState() const { return m_previewState.value_or(m_model->linkState()); }

void ConnectionGateView::triggerPrimaryAction()
{
    runPrimaryAction(m_model);
}

void ConnectionGateView::runPrimaryAction(AppModel *model)
{
    if (!model->service)
        model->relinkADB();
    else
        model->refreshDevices();
}

QString ConnectionGateView::shownHeadline() const { return m_headline->text(); }
QString ConnectionGateView::shownSubtitle() const { return m_subtitle->text(); }
QStringList ConnectionGateView::shownSteps() const { return m_stepsPanel->isHidden() ? QStringList() : m_shownSteps; }

QList<QPair<QString, QString>> ConnectionGateView::diagnosticsRows() const
{
    const QString values[] = {
        m_model->service ? m_model->service->executableURL : tr("не найден"),
        m_model->adbVersionText().value_or(QStringLiteral("—")),
        m_model->fastbootService ? m_model->fastbootService->executableURL : tr("не найден"),
        QString::number(m_model->devices().size()),
    };
    return {{tr("Путь к adb"), values[0]},
            {tr("Версия adb"), values[1]},
            {tr("Путь к fastboot"), values[2]},
            {tr("Устройств в списке"), values[3]}};
}

void ConnectionGateView::rebuildSteps(const LinkState &state)
{
    const QStringList list = steps(state);
    const Tone stepTone = ::tone(state);
    if (list == m_shownSteps && ::tone(m_stepsState) == stepTone && !m_stepsColumn->isEmpty())
        return;
    m_shownSteps = list;
    m_stepsState = state;
    while (QLayoutItem *item = m_stepsColumn->takeAt(0)) {
        if (QLayout *row = item->layout()) {
            while (QLayoutItem *inner = row->takeAt(0)) {
                delete inner->widget();
                delete inner;
            }
        }
        delete item;
    }
    for (int i = 0; i < list.size(); ++i) {
        auto *row = new QHBoxLayout;
        row->setSpacing(int(Space::m));
        row->addWidget(new StepNumber(i + 1, stepTone, m_stepsPanel), 0, Qt::AlignTop);
        row->addWidget(ViewUpdates::wrappingLabel(list[i], Typo::body(), [] { return Ink::textSecondary(); },
                                                  m_stepsPanel),
                       1);
        m_stepsColumn->addLayout(row);
    }
    m_stepsPanel->setVisible(!list.isEmpty());
}

void ConnectionGateView::refresh()
{
    const LinkState state = currentState();
    m_diagram->setState(state);
    m_badge->setIcon(::icon(state));
    m_badge->setText(::title(state));
    m_badge->setTone(::tone(state));
    m_headline->setText(headline(state));
    m_subtitle->setText(::subtitle(state));
    rebuildSteps(state);

    const bool hasADB = m_model->service.has_value();
    m_primary->setText(hasADB ? tr("Искать устройства") : tr("Проверить снова"));
    m_primary->setToolTip(QKeySequence(Qt::CTRL | Qt::Key_R).toString(QKeySequence::NativeText));
    m_restart->setEnabled(hasADB);
    m_fastboot->setVisible(m_model->isFastbootAvailable());
    fitActions();
    refreshDiagnostics();
    // The backdrop follows the state's tone only; nothing else of it needs a repaint.
    const Tone backdrop = ::tone(state);
    if (backdrop != m_backdropTone) {
        m_backdropTone = backdrop;
        update();
    }
}

void ConnectionGateView::refreshDiagnostics()
{
    const auto rows = diagnosticsRows();
    if (rows != m_shownRows) {
        m_shownRows = rows;
        while (QLayoutItem *item = m_rowsColumn->takeAt(0)) {
            delete item->widget();
            delete item;
        }
        const bool mono[] = {true, true, true, false};
        for (int i = 0; i < rows.size(); ++i)
            m_rowsColumn->addWidget(new InfoRow(rows[i].first, rows[i].second, mono[i],
                                                i == 0 && m_model->service.has_value(), {}, m_diagnosticsBody));
    }
    m_diagnosticsBody->setVisible(m_showDiagnostics);
    static_cast<ChevronMark *>(m_chevron)->setExpanded(m_showDiagnostics);
    m_runningNote->setVisible(m_isRunningDiagnostics);
    m_transcriptPanel->setVisible(!m_diagnosticsText.isEmpty());
    if (m_transcript->toPlainText() != m_diagnosticsText)
        m_transcript->setPlainText(m_diagnosticsText);
    m_copy->setEnabled(!m_diagnosticsText.isEmpty());
}

void ConnectionGateView::toggleDiagnostics()
{
    m_showDiagnostics = !m_showDiagnostics;
    refreshDiagnostics();
    // Collapsing never runs anything; expanding again keeps the earlier transcript.
    if (m_showDiagnostics && m_diagnosticsText.isEmpty())
        runDiagnostics();
}

QCoro::Task<void> ConnectionGateView::runDiagnostics()
{
    if (!m_model->service || m_isRunningDiagnostics)
        co_return;
    m_isRunningDiagnostics = true;
    refreshDiagnostics();
    co_await diagnose(*m_model->service); // the gate may be gone after this
}

QCoro::Task<void> ConnectionGateView::diagnose(ADBService service)
{
    QPointer<ConnectionGateView> self(this);
    // The list runs first and the version second, while the transcript shows the version first.
    const CommandResult devices = co_await service.run({QStringLiteral("devices"), QStringLiteral("-l")});
    if (!self)
        co_return;
    const CommandResult version = co_await service.run({QStringLiteral("version")});
    if (!self)
        co_return;
    const QString transcript = QStringLiteral("$ adb version\n") + version.combinedOutput() +
                               QStringLiteral("\n\n$ adb devices -l\n") + devices.combinedOutput();
    self->m_diagnosticsText = transcript.trimmed();
    self->m_isRunningDiagnostics = false;
    self->refreshDiagnostics();
}

void ConnectionGateView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    AuroraBackdrop::paint(p, QRectF(rect()), foreground(::tone(currentState())), Ink::accentCyan(), 0.5);
}

void ConnectionGateView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitActions();
}

void ConnectionGateView::fitActions()
{
    int row = 0;
    for (QWidget *button : {static_cast<QWidget *>(m_primary), static_cast<QWidget *>(m_restart),
                            static_cast<QWidget *>(m_fastboot)}) {
        if (!button->isHidden())
            row += button->sizeHint().width() + m_actions->spacing();
    }
    const int available = width() - 2 * int(Space::gutter) - 24; // the scroll bar may take its share
    const auto direction = row > available ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight;
    if (m_actions->direction() == direction)
        return;
    m_actions->setDirection(direction);
    const Qt::Alignment centre = direction == QBoxLayout::TopToBottom ? Qt::AlignHCenter : Qt::Alignment();
    for (QWidget *button : {static_cast<QWidget *>(m_primary), static_cast<QWidget *>(m_restart),
                            static_cast<QWidget *>(m_fastboot)})
        m_actions->setAlignment(button, centre);
}
