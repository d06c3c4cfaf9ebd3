#include "ApplicationsFilterBar.h"

#include "ApplicationsState.h"

#include "core/AppModel.h"
#include "core/AppSettings.h"
#include "design/DeckButton.h"
#include "design/DeckSegmented.h"
#include "design/FilterChip.h"
#include "design/FlowLayout.h"
#include "design/Hairline.h"
#include "design/MenuButton.h"
#include "design/Tokens.h"
#include "screenkit/ViewUpdates.h"

#include <QMenu>

namespace {

// A user's filter name as a menu item shows it: "&" is not a mnemonic, a tab not a shortcut column.
QString menuText(QString name)
{
    return name.replace(QLatin1Char('&'), QStringLiteral("&&")).replace(QLatin1Char('\t'), QLatin1Char(' '));
}

Hairline *rule(QWidget *parent)
{
    auto *line = new Hairline(true, parent);
    line->setFixedHeight(18);
    return line;
}

} // namespace

QString ApplicationsFilterBar::defaultFilterName(qsizetype savedCount)
{
    return QStringLiteral("Фильтр ") + QString::number(savedCount + 1);
}

ApplicationsFilterBar::ApplicationsFilterBar(AppModel *model, AppSettings *settings, ApplicationsState *state,
                                             QWidget *parent)
    : QWidget(parent), m_model(model), m_settings(settings), m_state(state)
{
    setObjectName(QStringLiteral("filterBar"));
    // One row; a window too narrow for it wraps the rest onto further lines instead of cutting it.
    auto *row = new FlowLayout(this);
    row->setContentsMargins(int(Space::gutter), int(Space::s), int(Space::gutter), int(Space::s));
    row->setFlowSpacing(Space::s, Space::s);

    m_kinds = new DeckSegmented({}, QVariant(int(model->packageFilter())), QStringLiteral("Тип приложения"), this);
    connect(m_kinds, &DeckSegmented::selectionChanged, this, [this](const QVariant &value) {
        m_model->packageFilter.set(PackageFilter(value.toInt()));
    });
    row->addWidget(m_kinds);
    row->addDivider(rule(this));

    for (PackageState s : allCases<PackageState>()) {
        auto *chip = new FilterChip(shortTitle(s), icon(s), 0, false, tone(s), this);
        connect(chip, &QAbstractButton::clicked, this, [this, s] { m_model->toggleStateFilter(s); });
        m_stateChips.insert(s, chip);
        row->addWidget(chip);
    }
    // Between the state and the risk chips; with the risk chips hidden it meets the next divider
    // and the two stand as one.
    row->addDivider(rule(this));
    for (RemovalRisk r : allCases<RemovalRisk>()) {
        auto *chip = new FilterChip(shortTitle(r), icon(r), std::nullopt, false, tone(r), this);
        connect(chip, &QAbstractButton::clicked, this, [this, r] { m_model->toggleRiskFilter(r); });
        m_riskChips.insert(r, chip);
        row->addWidget(chip);
    }
    row->addDivider(rule(this));

    m_savedButton = new MenuButton(QStringLiteral("bookmark"), QStringLiteral("Фильтры"), std::nullopt, this);
    m_savedMenu = new QMenu(m_savedButton);
    m_savedButton->setMenu(m_savedMenu);
    row->addWidget(m_savedButton);

    m_reset = new DeckButton(QStringLiteral("xmark.circle"), QStringLiteral("Сбросить"),
                             {DeckButtonRole::ghost, DeckButtonSize::small}, this);
    connect(m_reset, &QAbstractButton::clicked, this, [this] { m_model->clearFilters(); });
    row->addWidget(m_reset);

    ViewUpdates::follow(model, this, [this] { refresh(); }, model->packages, model->packageFilter,
                        model->stateFilters, model->riskFilters, model->searchText)
        ->on(settings, settings->showRiskColumn);
    settings->observe(settings->savedFilters, this, [this] { rebuildSavedMenu(); });
    rebuildSavedMenu();
    refresh();
}

void ApplicationsFilterBar::refresh()
{
    const QList<AndroidPackage> &packages = m_model->packages();
    QList<DeckSegmented::Item> kinds{
        {QVariant(int(PackageFilter::all)), rawValue(PackageFilter::all), std::nullopt, int(packages.size())},
        {QVariant(int(PackageFilter::user)), rawValue(PackageFilter::user), icon(PackageKind::user),
         m_model->userPackageCount()},
        {QVariant(int(PackageFilter::system)), rawValue(PackageFilter::system), icon(PackageKind::system),
         m_model->systemPackageCount()},
    };
    if (kinds != m_kinds->items())
        m_kinds->setItems(kinds);
    m_kinds->blockSignals(true);
    m_kinds->setSelection(QVariant(int(m_model->packageFilter())));
    m_kinds->blockSignals(false);

    QHash<PackageState, int> stateCounts;
    for (const AndroidPackage &p : packages)
        ++stateCounts[p.state];
    for (auto it = m_stateChips.cbegin(); it != m_stateChips.cend(); ++it) {
        it.value()->setCount(stateCounts.value(it.key()));
        it.value()->setOn(m_model->stateFilters().contains(it.key()));
    }
    // Hiding the risk chips leaves the risk filters in force.
    const bool risks = m_settings->showRiskColumn();
    for (auto it = m_riskChips.cbegin(); it != m_riskChips.cend(); ++it) {
        it.value()->setVisible(risks);
        it.value()->setOn(m_model->riskFilters().contains(it.key()));
    }
    m_reset->setVisible(m_model->hasActiveFilters());
}

void ApplicationsFilterBar::rebuildSavedMenu()
{
    m_savedMenu->clear();
    const QList<SavedFilter> filters = m_settings->savedFilters();
    if (filters.isEmpty()) {
        QAction *none = m_savedMenu->addAction(QStringLiteral("Сохранённых фильтров нет"));
        none->setEnabled(false);
    }
    // Names are the user's own, shown as typed.
    for (const SavedFilter &filter : filters) {
        QAction *apply = m_savedMenu->addAction(menuText(filter.name));
        connect(apply, &QAction::triggered, this, [this, filter] { m_model->applySavedFilter(filter); });
    }
    if (!filters.isEmpty()) {
        m_savedMenu->addSeparator();
        QMenu *remove = m_savedMenu->addMenu(QStringLiteral("Удалить"));
        for (const SavedFilter &filter : filters) {
            QAction *drop = remove->addAction(menuText(filter.name));
            const QUuid id = filter.id;
            connect(drop, &QAction::triggered, this, [this, id] {
                QList<SavedFilter> kept = m_settings->savedFilters();
                kept.removeIf([&id](const SavedFilter &f) { return f.id == id; });
                m_settings->savedFilters.set(kept);
            });
        }
    }
    m_savedMenu->addSeparator();
    m_savedMenu->addAction(QStringLiteral("Сохранить текущий фильтр…"), this, [this] {
        m_state->newFilterName.set(defaultFilterName(m_settings->savedFilters().size()));
        m_state->showSaveFilter.set(true);
    });
}
