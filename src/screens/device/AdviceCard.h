#pragma once

#include "core/AppRoute.h"
#include "core/DeckAdvice.h"
#include "design/Panel.h"

#include <functional>

class DeckButton;

// One advice of the Overview on a raised panel: the tone's icon tile, the title over the
// message, and a button to the screen that helps when the advice names both a route and an
// action title. A 3 px bar in the tone runs down the leading edge. Holds no model: the screen
// hands it the advice and what to do with the route.
class AdviceCard : public DeckPanel {
    Q_OBJECT
public:
    AdviceCard(const DeckAdvice &advice, std::function<void(AppRoute)> onNavigate, QWidget *parent = nullptr);

    const DeckAdvice &advice() const { return m_advice; }
    DeckButton *actionButton() const { return m_action; } // null without route or action title

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    DeckAdvice m_advice;
    DeckButton *m_action = nullptr;
};
