#pragma once

#include "core/DebloatPlan.h"
#include "design/Panel.h"

class DeckButton;
class DeckText;
class RollingText;
class StatusBadge;

// The bar that floats over the lower edge of the Debloat list while packages are selected:
// how many the plan holds (a change rolls with Motion::snap), what it frees and its highest
// risk, the "Есть рискованные" badge for a plan holding advanced or critical packages, and
// "Просмотреть план" (Ctrl+Return); its items stand Space::m apart.
class DebloatPlanBar : public DeckPanel {
    Q_OBJECT
public:
    explicit DebloatPlanBar(QWidget *parent = nullptr);

    void setPlan(const DebloatPlan &plan);

    RollingText *countLabel() const { return m_count; }
    DeckText *detailLabel() const { return m_detail; }
    StatusBadge *riskyBadge() const { return m_risky; }
    DeckButton *reviewButton() const { return m_review; }

    static QString countText(const DebloatPlan &plan);
    static QString detailText(const DebloatPlan &plan);
    static PanelStyle barStyle();

Q_SIGNALS:
    void reviewRequested();

private:
    RollingText *m_count;
    DeckText *m_detail;
    StatusBadge *m_risky;
    DeckButton *m_review;
};
