#include "OverviewScreen.h"

#include "AdviceCard.h"
#include "HeroTitle.h"
#include "OverviewBackdrop.h"
#include "OverviewHistoryRow.h"
#include "ScreenshotSaving.h"

#include "screenkit/ScreenMemory.h"
#include "screenkit/ViewUpdates.h"

#include "core/AppModel.h"
#include "design/PopupPlacement.h"
#include "design/FocusRing.h"
#include "design/Accessibility.h"
#include "design/AdaptiveGrid.h"
#include "design/AdaptiveStacks.h"
#include "design/DeckButton.h"
#include "design/DeckParagraph.h"
#include "design/DeckSizeReader.h"
#include "design/DeckText.h"
#include "design/DeviceObject.h"
#include "design/FlowLayout.h"
#include "design/Hairline.h"
#include "design/InfoRow.h"
#include "design/Ink.h"
#include "design/Labels.h"
#include "design/MetricTile.h"
#include "design/Motion.h"
#include "design/Panel.h"
#include "design/ShownText.h"
#include "design/Skeleton.h"
#include "design/Symbols.h"
#include "design/Theme.h"
#include "design/ToneInk.h"
#include "design/Tokens.h"
#include "design/Transition.h"
#include "design/Typo.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

// What outlives a rebuild of the screen (a theme switch): whether the details are open. Leaving
// the Overview closes them, so the screen opens with them closed each time it is shown anew.
class OverviewScreen::State : public QObject {
public:
    bool detailsOpen = false;
};

namespace {

const QString kMemoryKey = QStringLiteral("overview");

// A plain column of widgets with no margins.
QVBoxLayout *column(QWidget *owner, qreal spacing)
{
    auto *layout = new QVBoxLayout(owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(int(spacing));
    return layout;
}

// The row that opens and closes the technical details: title, "Показать"/"Скрыть", chevron.
// Its focus ring goes round the whole row, so the row keeps room for it on either side of what
// it shows; whoever places it lets that room reach out past the title's line (kSideRoom).
class DisclosureHeader : public QAbstractButton {
public:
    static constexpr int kSideRoom = int(Space::s);

    explicit DisclosureHeader(QWidget *parent) : QAbstractButton(parent)
    {
        setCheckable(true);
        setCursor(Qt::PointingHandCursor);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        auto *line = new QHBoxLayout(this);
        line->setContentsMargins(kSideRoom, int(Space::xs), kSideRoom, int(Space::xs));
        line->setSpacing(int(Space::s));
        line->addWidget(new DeckText(QStringLiteral("Технические данные"), Typo::cardTitle(),
                                     [] { return Ink::text(); }, this));
        line->addStretch(1);
        m_state = new DeckText(QString(), Typo::supporting(), [] { return Ink::textTertiary(); }, this);
        line->addWidget(m_state);
        line->addSpacing(14);
        for (QWidget *child : findChildren<QWidget *>())
            child->setAttribute(Qt::WA_TransparentForMouseEvents);
        connect(this, &QAbstractButton::toggled, this, [this](bool) { sync(); });
        sync();
    }
    QString stateText() const { return m_state->text(); }
    QSize sizeHint() const override { return layout()->sizeHint(); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const QRectF chevron(width() - kSideRoom - 12, (height() - 12) / 2.0, 12, 12);
        Symbols::paint(p, isChecked() ? QStringLiteral("chevron.down") : QStringLiteral("chevron.right"), chevron, 10,
                       Ink::textTertiary());
        FocusRing::paintIfShown(p, this, QRectF(rect()), Radius::xs);
    }

private:
    void sync()
    {
        m_state->setText(isChecked() ? QStringLiteral("Скрыть") : QStringLiteral("Показать"));
        setAccessibleName(QStringLiteral("Технические данные, ") + m_state->text());
        update();
    }
    DeckText *m_state;
};

} // namespace

OverviewScreen::OverviewScreen(AppModel *model, ScreenMemory *memory, QWidget *parent)
    : QWidget(parent), m_model(model)
{
    setObjectName(QStringLiteral("overview"));
    const auto make = [model] {
        auto *state = new State;
        model->observe(model->route, state, [model, state] {
            if (model->route() != AppRoute::overview)
                state->detailsOpen = false;
        });
        return state;
    };
    m_state = memory ? memory->obtain<State>(kMemoryKey, make) : make();
    if (!memory)
        m_state->setParent(this);

    // The ambient glow and grid stand behind the page and do not scroll with it.
    m_backdrop = new OverviewBackdrop(kBackdropHeight, this);
    m_backdrop->setTint(foreground(ambientTone(model->linkState())));
    m_outsets = Panel::shadowMargins(PanelStyle{}).toMargins();

    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setFocusPolicy(Qt::NoFocus); // a page: Tab stops at its controls, and it follows them
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->viewport()->setAutoFillBackground(false);
    m_scroll->setAutoFillBackground(false);
    auto *page = new QWidget;
    auto *pageColumn = column(page, Space::l);
    pageColumn->setContentsMargins(0, 0, 0, int(Space::xl));
    pageColumn->addWidget(buildHero());
    pageColumn->addWidget(buildMetrics());
    pageColumn->addWidget(buildColumns());
    pageColumn->addWidget(buildDetails());
    pageColumn->addStretch(1);
    m_scroll->setWidget(page);
    page->setAutoFillBackground(false);
    auto *outer = column(this, 0);
    outer->addWidget(m_scroll);
    m_backdrop->lower();
    if (memory)
        memory->keepScroll(m_scroll, kMemoryKey);

    // Each part follows what it shows, and nothing else.
    ViewUpdates::follow(model, this, [this] { refreshHero(); }, model->linkStateInputs(), model->snapshot,
                        model->isSnapshotLoading, model->deviceReadinessInputs());
    ViewUpdates::follow(model, this, [this] { refreshMetrics(); }, model->snapshot, model->packages, model->isBusy);
    ViewUpdates::follow(model, this, [this] { refreshAdvice(); }, model->adviceInputs());
    ViewUpdates::follow(model, this, [this] { refreshHistory(); }, model->recentOperations);
    ViewUpdates::follow(model, this, [this] { refreshDetails(); }, model->snapshot, model->selectedDeviceID,
                        model->adbVersionText);
    refreshHero();
    refreshMetrics();
    refreshAdvice();
    refreshHistory();
    setDetailsOpen(m_state->detailsOpen);
    arrange();
}

qreal OverviewScreen::objectWidth(DeckSize size)
{
    switch (size) {
    case DeckSize::compact: return 104;
    case DeckSize::medium: return 128;
    case DeckSize::wide: return 150;
    }
    return 150;
}

QWidget *OverviewScreen::backdrop() const { return m_backdrop; }

DeckSize OverviewScreen::deckSize() const { return m_reader ? m_reader->deckSize() : DeckSizeReader::sizeFor(this); }

QWidget *OverviewScreen::buildHero()
{
    m_hero = new QWidget;
    m_heroLayout = column(m_hero, 0);

    m_objectSlot = new QWidget(m_hero);
    column(m_objectSlot, 0);

    auto *detail = new QWidget(m_hero);
    auto *detailColumn = column(detail, Space::s);

    auto *stateLine = new QHBoxLayout;
    stateLine->setSpacing(int(Space::s));
    const LinkState state = m_model->linkState();
    m_dot = new PulseDot(tone(state), isLive(state), detail);
    m_linkTitle = new DeckText(title(state), Typo::label(), [] { return Ink::textSecondary(); }, detail);
    m_loading = new DeckText(QStringLiteral("обновление…"), Typo::caption(), [] { return Ink::textTertiary(); }, detail);
    stateLine->addWidget(m_dot, 0, Qt::AlignVCenter);
    stateLine->addWidget(m_linkTitle, 0, Qt::AlignVCenter);
    stateLine->addWidget(m_loading, 0, Qt::AlignVCenter);
    stateLine->addStretch(1);
    detailColumn->addLayout(stateLine);

    auto *identity = new QVBoxLayout;
    identity->setSpacing(int(Space::xs));
    m_title = new HeroTitle(QString(), Typo::heroCompact(), detail);
    identity->addWidget(m_title);
    auto *idLine = new QWidget(detail);
    auto *idFlow = new FlowLayout(idLine);
    m_android = new DeckText(QString(), Typo::body(), [] { return Ink::textSecondary(); }, idLine);
    m_android->setElideMode(Qt::ElideNone);
    idFlow->addWidget(m_android);
    m_serialSlot = new QWidget(idLine);
    column(m_serialSlot, 0);
    idFlow->addWidget(m_serialSlot);
    identity->addWidget(idLine);
    detailColumn->addLayout(identity);

    m_factStrip = new QWidget(detail);
    m_factFlow = new FlowLayout(m_factStrip);
    detailColumn->addWidget(m_factStrip);

    auto *actions = new QWidget(detail);
    auto *actionFlow = new FlowLayout(actions);
    m_screenshot = new DeckButton(QStringLiteral("camera.viewfinder"), QStringLiteral("Снимок экрана"),
                                  {DeckButtonRole::primary}, actions);
    connect(m_screenshot, &QAbstractButton::clicked, this, &OverviewScreen::chooseScreenshotDestination);
    m_applications = new DeckButton(QStringLiteral("square.stack.3d.up"), QStringLiteral("Приложения"),
                                    {DeckButtonRole::secondary}, actions);
    connect(m_applications, &QAbstractButton::clicked, this, [this] { m_model->route.set(AppRoute::applications); });
    m_cleanup = new DeckButton(QStringLiteral("sparkles"), QStringLiteral("Очистка"), {DeckButtonRole::secondary},
                               actions);
    connect(m_cleanup, &QAbstractButton::clicked, this, [this] { m_model->route.set(AppRoute::debloat); });
    m_reboot = new DeckButton(QStringLiteral("power"), QStringLiteral("Перезагрузка"), {DeckButtonRole::ghost}, actions);
    m_rebootMenu = new QMenu(m_reboot);
    const QList<std::pair<QString, std::optional<QString>>> reboots{
        {QStringLiteral("Перезагрузить"), std::nullopt},
        {QStringLiteral("Перезагрузить в Recovery"), QStringLiteral("recovery")},
        {QStringLiteral("Перезагрузить в Bootloader"), QStringLiteral("bootloader")},
    };
    for (const auto &item : reboots)
        connect(m_rebootMenu->addAction(item.first), &QAction::triggered, this,
                [model = m_model, mode = item.second] { model->reboot(mode); });
    connect(m_reboot, &QAbstractButton::clicked, this,
            [this] { m_rebootMenu->popup(PopupPlacement::below(m_reboot, m_rebootMenu->sizeHint())); });
    m_refresh = new IconButton(QStringLiteral("arrow.clockwise"), {30, Tone::neutral, false}, actions);
    // The shortcut belongs to the window's "Обновить всё"; the tooltip only names it.
    m_refresh->setToolTip(QStringLiteral("Обновить данные устройства (%1)")
                              .arg(QKeySequence(Qt::CTRL | Qt::Key_R).toString(QKeySequence::NativeText)));
    m_refresh->setAccessibleName(QStringLiteral("Обновить данные устройства"));
    connect(m_refresh, &QAbstractButton::clicked, this, [this] { m_model->refreshDeviceData(); });
    for (QWidget *control : QList<QWidget *>{m_screenshot, m_applications, m_cleanup, m_reboot, m_refresh})
        actionFlow->addWidget(control);
    detailColumn->addWidget(actions);

    m_heroStack = new AdaptiveHeroStack(true, m_objectSlot, detail, m_hero);
    m_heroLayout->addWidget(m_heroStack);
    m_heroLayout->addSpacing(int(Space::l));
    m_heroLayout->addWidget(new Hairline(false, m_hero));
    return m_hero;
}

QWidget *OverviewScreen::buildMetrics()
{
    auto *box = new QWidget;
    auto *grid = m_tileGrid = new AdaptiveGrid(kTileMinimum, Space::m, Space::m, box);
    // The tiles' shapes line up with the gutter; their shadows reach into it.
    grid->setItemOutsets(Panel::shadowMargins(MetricTile::tileStyle()).toMargins());
    grid->setContentsMargins(int(Space::gutter) - grid->itemOutsets().left(), 0,
                             int(Space::gutter) - grid->itemOutsets().right(), 0);
    for (int i = 0; i < 4; ++i) {
        auto *slot = new QWidget(box);
        column(slot, 0);
        grid->addWidget(slot);
        m_tileSlots.append(slot);
        m_shownTiles.append(std::nullopt);
    }
    return box;
}

// A single column of panels whose shapes line up with the text above them, 12 px apart.
QLayout *OverviewScreen::panelStack(QWidget *owner) const
{
    auto *stack = new AdaptiveGrid(0, 0, Space::m, owner);
    stack->setItemOutsets(m_outsets);
    return stack;
}

// Text beside panels: indented by the panels' shadow reach, so both start at the same line.
QWidget *OverviewScreen::besidePanels(QWidget *content) const
{
    auto *box = new QWidget;
    auto *line = new QHBoxLayout(box);
    line->setContentsMargins(m_outsets.left(), 0, m_outsets.right(), 0);
    line->addWidget(content);
    return box;
}

QWidget *OverviewScreen::buildColumns()
{
    auto *box = new QWidget;
    auto *boxLayout = column(box, 0);
    boxLayout->setContentsMargins(int(Space::gutter) - m_outsets.left(), 0, int(Space::gutter) - m_outsets.right(), 0);

    auto *advice = new QWidget(box);
    auto *adviceColumn = column(advice, 0);
    m_adviceHeader = new SectionHeader(QStringLiteral("Требует внимания"), QStringLiteral("Проблем не обнаружено"));
    adviceColumn->addWidget(besidePanels(m_adviceHeader));
    auto *list = new QWidget(advice);
    m_adviceList = panelStack(list);
    adviceColumn->addSpacing(int(Space::m) - m_outsets.top());
    adviceColumn->addWidget(list);
    adviceColumn->addStretch(1);

    auto *history = new QWidget(box);
    auto *historyColumn = column(history, 0);
    m_historyCount = new DeckText(QString(), Typo::caption(), [] { return Ink::textTertiary(); });
    m_historyHeader = new SectionHeader(QStringLiteral("Последние операции"), std::nullopt, m_historyCount);
    historyColumn->addWidget(besidePanels(m_historyHeader));
    auto *panelBox = new QWidget(history);
    auto *panel = new DeckPanel(PanelStyle{}, panelBox);
    panelStack(panelBox)->addWidget(panel);
    m_historyList = column(panel, 0);
    historyColumn->addSpacing(int(Space::m) - m_outsets.top());
    historyColumn->addWidget(panelBox);
    historyColumn->addStretch(1);

    // Side by side the two columns share the width equally.
    for (QWidget *side : {advice, history}) {
        QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        policy.setHorizontalStretch(1);
        side->setSizePolicy(policy);
    }
    // The columns' panels are Space::m apart, shape to shape.
    m_columns = new AdaptiveColumns(true, advice, history, Space::m, box);
    m_columns->setItemOutsets(m_outsets);
    boxLayout->addWidget(m_columns);
    return box;
}

QWidget *OverviewScreen::buildDetails()
{
    auto *box = new QWidget;
    auto *boxColumn = column(box, 0);
    boxColumn->setContentsMargins(int(Space::gutter) - m_outsets.left(), 0, int(Space::gutter) - m_outsets.right(), 0);
    auto *header = new DisclosureHeader(nullptr);
    m_detailsButton = header;
    // The title stays in line with the panels; the header's room for its ring lies beyond it.
    QWidget *headerBox = besidePanels(header);
    const QMargins beside = headerBox->layout()->contentsMargins();
    headerBox->layout()->setContentsMargins(std::max(0, beside.left() - DisclosureHeader::kSideRoom), 0,
                                            std::max(0, beside.right() - DisclosureHeader::kSideRoom), 0);
    boxColumn->addWidget(headerBox);
    m_detailsPanel = new DeckPanel(PanelStyle{});
    m_detailsPanel->setPadding(QMarginsF(Space::l, Space::l, Space::l, Space::l));
    auto *panelColumn = column(m_detailsPanel, 0);
    m_detailsGridBox = new QWidget(m_detailsPanel);
    new AdaptiveGrid(260, Space::xl, Space::s, m_detailsGridBox);
    panelColumn->addWidget(m_detailsGridBox);
    auto *panelBox = new QWidget(box);
    m_detailsPanel->setParent(panelBox);
    panelStack(panelBox)->addWidget(m_detailsPanel);
    m_detailsPanel->hide();
    boxColumn->addSpacing(std::max(0, int(Space::s) - m_outsets.top()));
    boxColumn->addWidget(panelBox);
    connect(header, &QAbstractButton::clicked, this, [this] { setDetailsOpen(!m_state->detailsOpen); });
    return box;
}

bool OverviewScreen::isDetailsOpen() const { return m_state->detailsOpen; }

void OverviewScreen::setDetailsOpen(bool open)
{
    const bool changed = open != m_detailsButton->isChecked();
    m_state->detailsOpen = open;
    m_detailsButton->setChecked(open);
    if (open)
        refreshDetails();
    const std::optional<Animation> animation = Motion::resolve(Motion::smooth(), A11y::reduceMotion());
    if (!changed || !animation || !isVisible()) {
        Transition::settle(m_detailsPanel);
        m_detailsPanel->setMaximumHeight(QWIDGETSIZE_MAX);
        m_detailsPanel->setVisible(open);
        return;
    }
    // The panel unrolls from its top edge, and rolls up again when closed.
    const int full = m_detailsPanel->heightForWidth(m_detailsPanel->width() > 0 ? m_detailsPanel->width()
                                                                                 : m_hero->width());
    const int from = open ? 0 : m_detailsPanel->height();
    const int to = open ? std::max(full, 1) : 0;
    DeckPanel *panel = m_detailsPanel;
    Transition::settle(panel);
    panel->setMaximumHeight(from);
    panel->show();
    Transition::run(panel, animation, {},
                    {.step = [panel, from, to](qreal t) { panel->setMaximumHeight(qRound(from + (to - from) * t)); },
                     .done = [panel, open] {
                         panel->setMaximumHeight(QWIDGETSIZE_MAX);
                         panel->setVisible(open);
                     }});
}

bool OverviewScreen::event(QEvent *e)
{
    if (e->type() == QEvent::ParentChange || e->type() == QEvent::Show)
        findReader();
    return QWidget::event(e);
}

void OverviewScreen::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Coming into view reloads the snapshot unless a load is already running.
    m_model->refreshSnapshot(false);
}

void OverviewScreen::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_backdrop->setGeometry(0, 0, width(), kBackdropHeight * 3 / 2);
    if (!m_reader)
        arrange();
}

void OverviewScreen::findReader()
{
    DeckSizeReader *reader = parentWidget() ? DeckSizeReader::of(parentWidget()) : nullptr;
    if (reader != m_reader) {
        disconnect(m_readerConnection);
        m_reader = reader;
        if (reader)
            m_readerConnection = connect(reader, &DeckSizeReader::deckSizeChanged, this, [this] { arrange(); });
    }
    arrange();
}

void OverviewScreen::arrange()
{
    const DeckSize size = deckSize();
    if (m_arranged == size)
        return;
    m_arranged = size;
    const bool compact = DeckSizes::isCompact(size);
    // Beside the details the illustration leans into the margin.
    m_heroLayout->setContentsMargins(int(compact ? Space::gutter : Space::gutter - Space::l), int(Space::l),
                                     int(Space::gutter), 0);
    m_heroStack->setCompact(compact);
    delete m_object;
    m_object = new DeviceObject(m_model->linkState(), m_model->snapshot(), objectWidth(size), m_objectSlot);
    m_objectSlot->layout()->addWidget(m_object);
    m_title->setTitleFont(size == DeckSize::wide ? Typo::hero() : Typo::heroCompact());
    m_columns->setStacked(size < DeckSize::wide);
}

void OverviewScreen::refreshHero()
{
    const LinkState state = m_model->linkState();
    const std::optional<DeviceSnapshot> snapshot = m_model->snapshot();
    m_backdrop->setTint(foreground(ambientTone(state)));
    if (m_object) {
        m_object->setState(state);
        m_object->setSnapshot(snapshot);
    }
    m_dot->setTone(tone(state));
    m_dot->setAnimating(isLive(state));
    m_linkTitle->setText(title(state));
    const Tone stateTone = tone(state);
    m_linkTitle->setInk([stateTone] { return foreground(stateTone); });
    m_loading->setVisible(m_model->isSnapshotLoading());
    // A device's name is one paragraph however it is broken.
    m_title->setTitle(ShownText::line(OverviewFacts::deviceTitle(snapshot, m_model->selectedDevice())));
    m_android->setText(OverviewFacts::androidLine(snapshot));

    const QString serial = m_model->selectedDeviceID().value_or(OverviewFacts::dash());
    if (!m_serial || m_serial->value() != serial) {
        delete m_serial;
        m_serial = new CopyableValue(serial, Typo::mono(), [] { return Ink::textSecondary(); },
                                     QStringLiteral("Серийный номер"), m_serialSlot);
        m_serialSlot->layout()->addWidget(m_serial);
        m_serialSlot->updateGeometry();
    }

    const QList<OverviewFacts::Badge> badges = OverviewFacts::factBadges(snapshot);
    if (badges != m_shownBadges || m_badges.isEmpty()) {
        m_shownBadges = badges;
        qDeleteAll(m_badges);
        m_badges.clear();
        for (const OverviewFacts::Badge &b : badges) {
            auto *badge = new StatusBadge(b.icon, b.text, b.tone, b.style, false, m_factStrip);
            m_factFlow->addWidget(badge);
            m_badges.append(badge);
        }
    }

    const bool canRun = m_model->canRunDeviceAction();
    m_screenshot->setEnabled(canRun);
    m_reboot->setEnabled(canRun);
    m_refresh->setEnabled(canRun);
}

QList<MetricTile *> OverviewScreen::tiles() const
{
    QList<MetricTile *> list;
    for (QWidget *slot : m_tileSlots)
        if (auto *tile = slot->findChild<MetricTile *>(QString(), Qt::FindDirectChildrenOnly))
            list.append(tile);
    return list;
}

void OverviewScreen::refreshMetrics()
{
    const std::optional<DeviceSnapshot> snapshot = m_model->snapshot();
    const QList<AndroidPackage> packages = m_model->packages();
    const QList<OverviewFacts::Tile> wanted{
        OverviewFacts::batteryTile(snapshot), OverviewFacts::storageTile(snapshot), OverviewFacts::memoryTile(snapshot),
        OverviewFacts::applicationsTile(packages.size(), countPackages(packages), m_model->isBusy())};
    for (int i = 0; i < wanted.size(); ++i) {
        const OverviewFacts::Tile &tile = wanted[i];
        const std::optional<OverviewFacts::Tile> &shown = m_shownTiles[i];
        if (shown == tile)
            continue;
        // A tile keeps its widget (and rolls its figure) while only the figures change.
        const auto frame = [](const OverviewFacts::Tile &t) {
            return std::tuple(t.icon, t.label, t.footnote, t.tone, t.progress.has_value(), t.accessory);
        };
        MetricTile *current = m_tileSlots[i]->findChild<MetricTile *>(QString(), Qt::FindDirectChildrenOnly);
        if (current && shown && frame(*shown) == frame(tile)) {
            current->setValue(tile.value, tile.unit);
            if (tile.progress)
                current->setProgress(*tile.progress);
        } else {
            delete current;
            QWidget *accessory = nullptr;
            if (tile.accessory == OverviewFacts::Tile::Accessory::charging)
                accessory = new StatusBadge(QStringLiteral("bolt.fill"), QStringLiteral("Заряд"), Tone::success,
                                            BadgeStyle::soft, true);
            else if (tile.accessory == OverviewFacts::Tile::Accessory::loading)
                accessory = new Skeleton(34, 9);
            auto *made = new MetricTile(tile.icon, tile.label, tile.value, tile.unit, tile.footnote, tile.tone,
                                        tile.progress, accessory, m_tileSlots[i]);
            m_tileSlots[i]->layout()->addWidget(made);
        }
        m_shownTiles[i] = tile;
    }
    // Labels are never cut: the columns widen (and fewer fit) where a label line needs more room.
    int minimum = kTileMinimum;
    for (const MetricTile *tile : tiles())
        minimum = std::max(minimum, tile->labelLineWidth());
    m_tileGrid->setMinimumColumnWidth(minimum);
}

void OverviewScreen::navigate(AppRoute route)
{
    // The root view animates the change of screen itself (at once under reduce motion).
    m_model->route.set(route);
}

void OverviewScreen::refreshAdvice()
{
    const QList<DeckAdvice> advice = m_model->advice();
    if (m_adviceShown && advice == m_shownAdvice)
        return;
    m_adviceShown = true;
    m_shownAdvice = advice;
    m_adviceHeader->subtitleLabel()->setText(advice.isEmpty() ? QStringLiteral("Проблем не обнаружено")
                                                              : QStringLiteral("Выводы на основе данных устройства"));
    qDeleteAll(m_adviceCards);
    m_adviceCards.clear();
    delete m_allClear;
    m_allClear = nullptr;
    QWidget *list = m_adviceList->parentWidget();
    for (const DeckAdvice &item : advice) {
        auto *card = new AdviceCard(item, [this](AppRoute route) { navigate(route); }, list);
        m_adviceList->addWidget(card);
        m_adviceCards.append(card);
    }
    if (advice.isEmpty()) {
        auto *panel = new DeckPanel(PanelStyle{}, list);
        panel->setObjectName(QStringLiteral("all-clear"));
        panel->setPadding(QMarginsF(Space::l, Space::l, Space::l, Space::l));
        auto *line = new QHBoxLayout(panel);
        line->setContentsMargins(0, 0, 0, 0);
        line->setSpacing(int(Space::s));
        auto *seal = historySymbol(QStringLiteral("checkmark.seal.fill"), [] { return Ink::success(); }, panel);
        line->addWidget(seal, 0, Qt::AlignTop);
        line->addWidget(new DeckParagraph(QStringLiteral("Хранилище, батарея и подключение в норме."), Typo::body(),
                                          [] { return Ink::textSecondary(); }, panel),
                        1);
        m_adviceList->addWidget(panel);
        m_allClear = panel;
    }
}

void OverviewScreen::refreshHistory()
{
    const QList<OperationRecord> records = m_model->recentOperations();
    QWidget *panel = m_historyList->parentWidget();
    while (QLayoutItem *item = m_historyList->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    m_historyRows.clear();
    m_historyEmpty = nullptr;
    m_historyCount->setText(QString::number(records.size()));
    m_historyCount->setVisible(!records.isEmpty());
    if (records.isEmpty()) {
        auto *empty = new QWidget(panel);
        auto *texts = column(empty, Space::xs);
        texts->setContentsMargins(int(Space::l), int(Space::l), int(Space::l), int(Space::l));
        texts->addWidget(new DeckText(QStringLiteral("Операций ещё не было"), Typo::body(),
                                      [] { return Ink::textSecondary(); }, empty));
        texts->addWidget(new DeckParagraph(QStringLiteral("Здесь появятся отключения, удаления, установки и "
                                                          "выгрузки APK."),
                                           Typo::supporting(), [] { return Ink::textTertiary(); }, empty));
        m_historyList->addWidget(empty);
        m_historyEmpty = empty;
        return;
    }
    for (int i = 0; i < std::min<qsizetype>(records.size(), kHistoryLimit); ++i) {
        if (i > 0) {
            auto *rule = new QWidget(panel);
            auto *ruleLine = new QHBoxLayout(rule);
            ruleLine->setContentsMargins(int(Space::m), 0, int(Space::m), 0);
            ruleLine->addWidget(new Hairline(false, rule));
            m_historyList->addWidget(rule);
        }
        QWidget *row = overviewHistoryRow(records[i], panel);
        m_historyList->addWidget(row);
        m_historyRows.append(row);
    }
}

void OverviewScreen::refreshDetails()
{
    if (!m_state->detailsOpen)
        return;
    const QList<OverviewFacts::InfoLine> lines = OverviewFacts::technicalRows(
        m_model->snapshot(), m_model->selectedDeviceID(), m_model->adbVersionText());
    if (lines == m_shownLines && !m_detailRows.isEmpty())
        return;
    m_shownLines = lines;
    qDeleteAll(m_detailRows);
    m_detailRows.clear();
    for (const OverviewFacts::InfoLine &line : lines) {
        auto *row = new InfoRow(line.label, line.value, line.mono, line.copyable, {}, m_detailsGridBox);
        m_detailsGridBox->layout()->addWidget(row);
        m_detailRows.append(row);
    }
}

void OverviewScreen::chooseScreenshotDestination() { ScreenshotSaving::choose(this, m_model); }
