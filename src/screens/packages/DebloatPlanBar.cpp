#include "DebloatPlanBar.h"

#include "bridge/Bytes.h"
#include "design/Accessibility.h"
#include "design/DeckButton.h"
#include "design/DeckText.h"
#include "design/FlowLayout.h"
#include "design/Ink.h"
#include "design/Labels.h"
#include "design/Motion.h"
#include "design/RollingText.h"
#include "design/RowBox.h"
#include "design/Typo.h"

#include <QVBoxLayout>

DebloatPlanBar::DebloatPlanBar(QWidget *parent) : DeckPanel(barStyle(), parent)
{
    setObjectName(QStringLiteral("debloatPlanBar"));
    setPadding(QMarginsF(Space::l, Space::m, Space::l, Space::m));
    auto *flow = new FlowLayout(this);
    flow->setFlowSpacing(Space::m, Space::s);

    auto *texts = new QWidget(this);
    auto *column = new QVBoxLayout(texts);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(1);
    m_count = new RollingText(QString(), Typo::bodyMedium(), [] { return Ink::text(); }, texts);
    m_detail = new DeckText(QString(), Typo::caption(), [] { return Ink::textTertiary(); }, texts);
    column->addWidget(m_count);
    column->addWidget(m_detail);
    flow->addWidget(texts);

    auto *spacer = new QWidget(this);
    spacer->setFixedSize(int(Space::m), 1);
    flow->addWidget(spacer);

    m_risky = new StatusBadge(icon(RemovalRisk::advanced), QStringLiteral("Есть рискованные"), Tone::warning,
                              BadgeStyle::soft, false, this);
    m_review = new DeckButton(QStringLiteral("Просмотреть план"), {DeckButtonRole::primary, DeckButtonSize::regular},
                              this);
    m_review->setObjectName(QStringLiteral("reviewPlan"));
    m_review->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return));
    // The badge and the button wrap together; a hidden badge leaves no gap.
    flow->addWidget(new RowBox({m_risky, m_review}, this, Space::m));
    connect(m_review, &QAbstractButton::clicked, this, &DebloatPlanBar::reviewRequested);
}

PanelStyle DebloatPlanBar::barStyle()
{
    PanelStyle style;
    style.kind = PanelKind::glass;
    style.radius = Radius::m;
    style.elevation = Elevation::high();
    return style;
}

QString DebloatPlanBar::countText(const DebloatPlan &plan)
{
    return QString::number(plan.items.size()) + QStringLiteral(" приложений в плане");
}

QString DebloatPlanBar::detailText(const DebloatPlan &plan)
{
    return QStringLiteral("Освободится до ") + Bytes::shortText(plan.reclaimableBytes())
        + QStringLiteral(" · максимальный риск: ") + title(plan.highestRisk());
}

void DebloatPlanBar::setPlan(const DebloatPlan &plan)
{
    m_count->rollTo(countText(plan), Motion::resolve(Motion::snap(), A11y::reduceMotion()));
    m_detail->setText(detailText(plan));
    const RemovalRisk highest = plan.highestRisk();
    const bool risky = highest >= RemovalRisk::advanced;
    if (risky) {
        m_risky->setIcon(icon(highest));
        m_risky->setTone(tone(highest));
    }
    m_risky->setVisible(risky);
}
