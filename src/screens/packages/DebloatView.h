#pragma once

#include "core/DebloatPlan.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class AppModel;
class DebloatPlanBar;
class DebloatRowDelegate;
class DebloatState;
class DeckEmptyState;
class DeckSearchField;
class DeckSegmented;
class DeckButton;
class FilterChip;
class IconButton;
class PaddedListView;
class RiskLegend;
class ScreenHeader;
class ScreenMemory;

// The debloat route: the enabled packages of the device with the catalogue's verdict, grouped
// by category, from which the user builds a plan (which packages, disable or uninstall for
// user 0) and opens its review. Everything shown comes from the model; the screen changes only
// the debloat selection, risk filter, search text, action and the review flag.
class DebloatView : public QWidget {
    Q_OBJECT
public:
    DebloatView(AppModel *model, ScreenMemory *memory, QWidget *parent = nullptr);

    // "N кандидатов · безопасных S · потенциально освободится B".
    static QString subtitle(const AppModel &model, int candidates);

    ScreenHeader *header() const { return m_header; }
    DeckSearchField *searchField() const { return m_search; }
    IconButton *legendButton() const { return m_legendButton; }
    RiskLegend *legend() const { return m_legend; }
    QList<FilterChip *> riskChips() const { return m_chips; }
    DeckSegmented *actionSwitch() const { return m_action; }
    DeckButton *selectAllSafeButton() const { return m_selectAllSafe; }
    DeckButton *clearButton() const { return m_clear; }
    PaddedListView *list() const { return m_list; }
    DebloatState *state() const { return m_state; }
    DebloatPlanBar *planBar() const { return m_planBar; }
    // The empty state over the list (null while candidates are listed).
    DeckEmptyState *emptyState() const { return m_empty; }

    // The room below the last row: this much, or the plan bar's reach where it is taller.
    static constexpr int kListBottomPadding = 72;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildControls();
    QWidget *buildListArea();
    void refresh();
    void showEmptyState(bool empty);
    void placeOverlays();
    void setPlanBarShown(bool shown);
    void showLegend(bool animated);
    void toggleRow(const QModelIndex &index);

    AppModel *m_model;
    DebloatState *m_state;
    ScreenHeader *m_header = nullptr;
    DeckSearchField *m_search = nullptr;
    IconButton *m_legendButton = nullptr;
    RiskLegend *m_legend = nullptr;
    QList<FilterChip *> m_chips;
    DeckSegmented *m_action = nullptr;
    DeckButton *m_selectAllSafe = nullptr;
    DeckButton *m_clear = nullptr;
    QWidget *m_listArea = nullptr;
    PaddedListView *m_list = nullptr;
    DebloatRowDelegate *m_delegate = nullptr;
    DeckEmptyState *m_empty = nullptr;
    QWidget *m_emptyCover = nullptr;
    DebloatPlanBar *m_planBar = nullptr;
    qreal m_barPresence = 0; // 0 gone … 1 resting
    bool m_legendWanted = true;
    bool m_barWanted = false;

    // The candidates as last read; recomputed only when their inputs changed.
    QList<DebloatPlanItem> m_candidates;
    bool m_candidatesStale = true;
    bool m_emptyCatalogue = false;
};
