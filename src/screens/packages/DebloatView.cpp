#include "DebloatView.h"

#include "DebloatGroups.h"
#include "DebloatPlanBar.h"
#include "DebloatRowDelegate.h"
#include "DebloatState.h"
#include "PaddedListView.h"
#include "RiskLegend.h"
#include "RowPainting.h"

#include "screenkit/DeckScreen.h"
#include "screenkit/DeckTextField.h"
#include "screenkit/ScreenMemory.h"
#include "screenkit/ViewUpdates.h"

#include "bridge/Bytes.h"
#include "core/AppModel.h"
#include "design/Accessibility.h"
#include "design/CanvasCover.h"
#include "design/DeckButton.h"
#include "design/DeckEmptyState.h"
#include "design/DeckParagraph.h"
#include "design/DeckText.h"
#include "design/DeckSearchField.h"
#include "design/DeckSegmented.h"
#include "design/FilterChip.h"
#include "design/FlowLayout.h"
#include "design/Hairline.h"
#include "design/Ink.h"
#include "design/Motion.h"
#include "design/RowBox.h"
#include "design/ScreenHeader.h"
#include "design/Tokens.h"
#include "design/Transition.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

namespace {

} // namespace

DebloatView::DebloatView(AppModel *model, ScreenMemory *memory, QWidget *parent) : QWidget(parent), m_model(model)
{
    setObjectName(QStringLiteral("debloatScreen"));
    m_state = memory ? memory->obtain<DebloatState>(QStringLiteral("debloat"), [] { return new DebloatState; })
                     : new DebloatState(this);

    m_search = new DeckSearchField(QStringLiteral("Название, пакет, описание"), 250);
    m_search->setObjectName(QStringLiteral("debloatSearch"));
    bindDeckTextField(m_search, model, model->debloatSearchText);
    m_legendButton = new IconButton(QStringLiteral("questionmark.circle"), {30, Tone::neutral, m_state->showLegend()});
    m_legendButton->setToolTip(ViewUpdates::plainToolTip(QStringLiteral("Показать или скрыть пояснение уровней риска")));
    m_legendButton->setAccessibleName(QStringLiteral("Пояснение уровней риска"));
    connect(m_legendButton, &QAbstractButton::clicked, this, [this] { m_state->showLegend.set(!m_state->showLegend()); });
    m_header = new ScreenHeader(eyebrow(AppRoute::debloat), QStringLiteral("Очистка от предустановленного"),
                                QString(), {m_search, m_legendButton});

    auto *content = new QWidget;
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_legend = new RiskLegend(content);
    column->addWidget(m_legend);
    column->addWidget(buildControls());
    column->addWidget(new Hairline(false, content));
    column->addWidget(buildListArea(), 1);

    auto *page = new DeckScreen(std::nullopt, m_header, content);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(page);

    m_state->observe(m_state->showLegend, this, [this] { showLegend(true); });
    showLegend(false);

    ViewUpdates::observeEach(model, this, [this] { m_candidatesStale = true; }, model->debloatCandidatesInputs());
    ViewUpdates::follow(model, this, [this] { refresh(); }, model->debloatPlanInputs());
    refresh();
    if (memory)
        memory->keepScroll(m_list, QStringLiteral("debloat"));
}

QWidget *DebloatView::buildControls()
{
    auto *controls = new QWidget;
    auto *flow = new FlowLayout(controls);
    flow->setContentsMargins(int(Space::gutter), 0, int(Space::gutter), int(Space::s));
    for (RemovalRisk risk : allCases<RemovalRisk>()) {
        auto *chip = new FilterChip(shortTitle(risk), icon(risk), 0, false, tone(risk), controls);
        chip->setObjectName(QStringLiteral("riskChip-") + shortTitle(risk));
        connect(chip, &QAbstractButton::clicked, this, [this, risk] {
            m_model->debloatRiskFilter.mutate([risk](QSet<RemovalRisk> &filter) {
                if (!filter.remove(risk))
                    filter.insert(risk);
            });
        });
        m_chips.append(chip);
        flow->addWidget(chip);
    }
    auto *rule = new Hairline(true, controls);
    rule->setFixedHeight(18);
    flow->addDivider(rule);
    m_action = new DeckSegmented({{QVariant(int(PresetAction::disable)), QStringLiteral("Отключить"),
                                   QStringLiteral("pause.circle"), std::nullopt},
                                  {QVariant(int(PresetAction::uninstall)), QStringLiteral("Удалить для пользователя"),
                                   QStringLiteral("minus.circle"), std::nullopt}},
                                 QVariant(int(m_model->debloatAction())), QStringLiteral("Действие очистки"), controls);
    connect(m_action, &DeckSegmented::selectionChanged, this,
            [this](const QVariant &value) { m_model->debloatAction.set(PresetAction(value.toInt())); });
    flow->addWidget(m_action);
    auto *spacer = new QWidget(controls);
    spacer->setFixedSize(int(Space::s), 1);
    flow->addWidget(spacer);
    m_selectAllSafe = new DeckButton(QStringLiteral("Выбрать все безопасные"),
                                     {DeckButtonRole::secondary, DeckButtonSize::small}, controls);
    connect(m_selectAllSafe, &QAbstractButton::clicked, this, [this] { m_model->selectAllSafeForDebloat(); });
    m_clear = new DeckButton(QStringLiteral("Снять выбор"), {DeckButtonRole::ghost, DeckButtonSize::small}, controls);
    connect(m_clear, &QAbstractButton::clicked, this, [this] { m_model->clearDebloatSelection(); });
    // Selecting and unselecting wrap as one: "Снять выбор" never goes down a line on its own.
    flow->addWidget(new RowBox({m_selectAllSafe, m_clear}, controls));
    return controls;
}

QWidget *DebloatView::buildListArea()
{
    m_listArea = new QWidget;
    m_listArea->installEventFilter(this);
    m_list = new PaddedListView(m_listArea);
    m_list->setObjectName(QStringLiteral("debloatList"));
    m_list->setAccessibleName(QStringLiteral("Кандидаты на очистку"));
    m_list->setLayoutMode(QListView::Batched);
    m_list->setBatchSize(200);
    m_delegate = new DebloatRowDelegate(m_state->listModel(), m_list);
    m_list->setItemDelegate(m_delegate);
    RowPainting::followIcons(m_list);
    m_list->setModel(m_state->listModel());
    m_list->installEventFilter(this);
    connect(m_list, &QAbstractItemView::clicked, this, &DebloatView::toggleRow);

    m_emptyCover = new CanvasCover(m_listArea);
    auto *coverLayout = new QVBoxLayout(m_emptyCover);
    coverLayout->setContentsMargins(0, 0, 0, 0);
    m_emptyCover->hide();

    m_planBar = new DebloatPlanBar(m_listArea);
    m_planBar->hide();
    connect(m_planBar, &DebloatPlanBar::reviewRequested, this, [this] { m_model->isDebloatReviewPresented.set(true); });
    return m_listArea;
}

QString DebloatView::subtitle(const AppModel &model, int candidates)
{
    return QString::number(candidates) + QStringLiteral(" кандидатов · безопасных ")
        + QString::number(model.debloatRiskCounts().value(RemovalRisk::safe, 0))
        + QStringLiteral(" · потенциально освободится ") + Bytes::shortText(model.reclaimableBytes());
}

void DebloatView::refresh()
{
    if (m_candidatesStale) {
        m_candidatesStale = false;
        m_candidates = m_model->debloatCandidates();
        const QHash<RemovalRisk, int> counts = m_model->debloatRiskCounts();
        for (int i = 0; i < m_chips.size(); ++i)
            m_chips[i]->setCount(counts.value(allCases<RemovalRisk>().at(i), 0));
        m_legend->setCounts(counts);
        m_header->subtitleLabel()->setText(subtitle(*m_model, int(m_candidates.size())));
        m_emptyCatalogue = m_model->packages().isEmpty();
        showEmptyState(m_candidates.isEmpty());
    }
    const QSet<QString> &selection = m_model->debloatSelection();
    m_state->show(DebloatGroups::entries(m_candidates, selection));

    const QSet<RemovalRisk> &filter = m_model->debloatRiskFilter();
    for (int i = 0; i < m_chips.size(); ++i)
        m_chips[i]->setOn(filter.contains(allCases<RemovalRisk>().at(i)));
    m_action->setSelection(QVariant(int(m_model->debloatAction())));
    m_clear->setEnabled(!selection.isEmpty());
    if (!selection.isEmpty())
        m_planBar->setPlan(m_model->debloatPlan(m_candidates));
    setPlanBarShown(!selection.isEmpty());
    placeOverlays(); // a new plan may take another number of lines
}

void DebloatView::showEmptyState(bool empty)
{
    const QString title = m_emptyCatalogue ? QStringLiteral("Каталог не загружен")
                                           : QStringLiteral("Под фильтры ничего не подходит");
    if (!empty || (m_empty && m_empty->titleLabel()->text() != title)) {
        delete m_empty;
        m_empty = nullptr;
        m_emptyCover->hide();
    }
    if (!empty)
        return;
    if (!m_empty) {
        const QString message = m_emptyCatalogue
            ? QStringLiteral("Откройте раздел «Приложения», чтобы прочитать список пакетов с устройства.")
            : QStringLiteral("Включите другие уровни риска или очистите поисковый запрос.");
        m_empty = new DeckEmptyState(QStringLiteral("sparkles"), title, message, Tone::neutral, nullptr, m_emptyCover);
        m_emptyCover->layout()->addWidget(m_empty);
    }
    m_emptyCover->show();
    m_emptyCover->raise();
    m_planBar->raise();
    placeOverlays();
}

void DebloatView::showLegend(bool animated)
{
    const bool shown = m_state->showLegend();
    m_legendButton->setButtonStyle({30, Tone::neutral, shown});
    if (shown == m_legendWanted)
        return;
    m_legendWanted = shown;
    if (shown)
        m_legend->show();
    // The legend moves in from the top edge as it fades in, and out the same way.
    const qreal from = m_legend->reveal();
    const qreal to = shown ? 1 : 0;
    const std::optional<Animation> motion =
        animated && isVisible() ? Motion::resolve(Motion::smooth(), A11y::reduceMotion()) : std::nullopt;
    Transition::run(m_legend, motion, {.opacity = std::pair(from, to)},
                    {.step = [this, from, to](qreal t) { m_legend->setReveal(from + (to - from) * t); },
                     .done = [this] {
                         if (!m_legendWanted)
                             m_legend->hide();
                     }});
}

void DebloatView::setPlanBarShown(bool shown)
{
    if (shown == m_barWanted)
        return;
    m_barWanted = shown;
    if (shown) {
        m_planBar->show();
        m_planBar->raise();
    }
    // The bar moves in from the lower edge, from where it stands; under reduce motion it simply appears.
    const qreal from = m_barPresence;
    const qreal to = shown ? 1 : 0;
    Transition::run(m_planBar, Motion::resolve(Motion::snap(), A11y::reduceMotion()), {},
                    {.step = [this, from, to](qreal t) {
                         m_barPresence = from + (to - from) * t;
                         placeOverlays();
                     },
                     .done = [this] {
                         if (!m_barWanted)
                             m_planBar->hide();
                     }});
}

void DebloatView::placeOverlays()
{
    const QRect area = m_listArea->rect();
    m_list->setGeometry(area);
    m_emptyCover->setGeometry(area);
    const QMarginsF shadow = Panel::shadowMargins(DebloatPlanBar::barStyle());
    const qreal shapeWidth = std::max<qreal>(0, area.width() - 2 * Space::l);
    const qreal widgetWidth = shapeWidth + shadow.left() + shadow.right();
    const int height = m_planBar->heightForWidth(int(widgetWidth)) > 0 ? m_planBar->heightForWidth(int(widgetWidth))
                                                                        : m_planBar->sizeHint().height();
    const qreal shapeHeight = height - shadow.top() - shadow.bottom();
    const qreal restingTop = area.height() - Space::l - shapeHeight;
    // The last row scrolls up to the bar's resting top edge, however many lines the bar takes.
    m_list->setBottomPadding(std::max(kListBottomPadding, int(std::ceil(area.height() - restingTop))));
    const qreal hiddenTop = area.height() + shadow.top();
    const qreal top = hiddenTop + (restingTop - hiddenTop) * m_barPresence;
    m_planBar->setGeometry(QRectF(Space::l - shadow.left(), top - shadow.top(), widgetWidth, height).toAlignedRect());
}

void DebloatView::toggleRow(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    const DebloatEntry &entry = m_state->listModel()->rowAt(index.row());
    if (entry.kind == DebloatEntry::Kind::row)
        m_model->toggleDebloatSelection(entry.item.package.name);
}

bool DebloatView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_listArea && (event->type() == QEvent::Resize || event->type() == QEvent::Show))
        placeOverlays();
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
            toggleRow(m_list->currentIndex());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
