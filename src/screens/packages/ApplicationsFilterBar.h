#pragma once

#include "bridge/AndroidPackage.h"
#include "bridge/RemovalRisk.h"

#include <QHash>
#include <QWidget>

class AppModel;
class AppSettings;
class ApplicationsState;
class DeckButton;
class DeckSegmented;
class FilterChip;
class MenuButton;
class QMenu;

// The row under the Applications header: kind segments, state chips and (with the risk column
// on) risk chips, each counted over the whole catalogue; the saved-filter menu; and "Сбросить"
// while any filter is active. A saved filter stores the search and the filters under a name and
// is applied or deleted from the menu; saving asks for the name in a sheet.
class ApplicationsFilterBar : public QWidget {
    Q_OBJECT
public:
    ApplicationsFilterBar(AppModel *model, AppSettings *settings, ApplicationsState *state, QWidget *parent = nullptr);

    DeckSegmented *kindSegments() const { return m_kinds; }
    FilterChip *stateChip(PackageState state) const { return m_stateChips.value(state); }
    FilterChip *riskChip(RemovalRisk risk) const { return m_riskChips.value(risk); }
    MenuButton *savedFilterButton() const { return m_savedButton; }
    QMenu *savedFilterMenu() const { return m_savedMenu; }
    DeckButton *resetButton() const { return m_reset; }

    // "Фильтр " and the number the next saved filter would get.
    static QString defaultFilterName(qsizetype savedCount);

private:
    void refresh();
    void rebuildSavedMenu();

    AppModel *m_model;
    AppSettings *m_settings;
    ApplicationsState *m_state;
    DeckSegmented *m_kinds;
    QHash<PackageState, FilterChip *> m_stateChips;
    QHash<RemovalRisk, FilterChip *> m_riskChips;
    MenuButton *m_savedButton;
    QMenu *m_savedMenu;
    DeckButton *m_reset;
};
