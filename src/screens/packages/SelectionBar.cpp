#include "SelectionBar.h"

#include "core/AppModel.h"
#include "design/Accessibility.h"
#include "design/DeckButton.h"
#include "design/DeckText.h"
#include "design/FlowLayout.h"
#include "design/Hairline.h"
#include "design/Ink.h"
#include "design/MenuButton.h"
#include "design/Motion.h"
#include "design/RollingText.h"
#include "design/RowBox.h"
#include "design/Tokens.h"
#include "design/Typo.h"

#include <QMenu>

SelectionBar::SelectionBar(AppModel *model, std::function<void()> exportSelected, QWidget *parent)
    : DeckPanel(PanelStyle{PanelKind::glass, Radius::m, Elevation::high(), true, true}, parent), m_model(model)
{
    setObjectName(QStringLiteral("selectionBar"));
    setPadding(QMarginsF(Space::m, Space::s, Space::m, Space::s));
    m_flow = new FlowLayout(this);
    m_flow->setFlowSpacing(Space::s, Space::xs);

    m_count = new RollingText(QString(), Typo::metricSmall(), [] { return Ink::accent(); }, this);
    m_count->setElideMode(Qt::ElideNone);
    m_flow->addWidget(m_count);
    auto *word = new DeckText(QStringLiteral("выбрано"), Typo::supporting(), [] { return Ink::textSecondary(); }, this);
    word->setElideMode(Qt::ElideNone);
    m_flow->addWidget(word);
    auto *rule = new Hairline(true, this);
    rule->setFixedHeight(18);
    m_flow->addDivider(rule);

    const struct {
        const char *title;
        DeckButtonRole role;
        PackageAction action;
    } actions[] = {
        {"Отключить", DeckButtonRole::secondary, PackageAction::disable},
        {"Включить", DeckButtonRole::secondary, PackageAction::enable},
        {"Восстановить", DeckButtonRole::secondary, PackageAction::restore},
        {"Удалить", DeckButtonRole::destructive, PackageAction::uninstall},
    };
    for (const auto &a : actions) {
        auto *button = new DeckButton(QString::fromUtf8(a.title), {a.role, DeckButtonSize::small}, this);
        const PackageAction action = a.action;
        connect(button, &QAbstractButton::clicked, this, [model, action] { model->request(action); });
        m_buttons << button;
    }

    m_more = new MenuButton(QStringLiteral("ellipsis"), QString(), 26, this);
    m_more->setAccessibleName(QStringLiteral("Дополнительные действия над выбранными приложениями"));
    auto *menu = new QMenu(m_more);
    menu->addAction(QStringLiteral("Очистить данные…"), this, [model] { model->request(PackageAction::clearData); });
    menu->addSeparator();
    m_permissions = menu->addAction(QStringLiteral("Разрешения…"), this, [model] { model->openPermissionManager(); });
    menu->addAction(QStringLiteral("Выгрузить APK…"), this, [exportSelected] {
        if (exportSelected)
            exportSelected();
    });
    menu->addSeparator();
    menu->addAction(QStringLiteral("Сохранить как пресет…"), this, [model] { model->route.set(AppRoute::presets); });
    menu->addAction(QStringLiteral("Снять выделение"), this, [model] { model->selectedPackageIDs.set({}); });
    m_more->setMenu(menu);
    // The actions wrap in pairs of opposites, the menu of more with the last pair, so no button
    // goes down a line on its own.
    m_flow->addWidget(new RowBox({m_buttons[0], m_buttons[1]}, this));
    m_flow->addWidget(new RowBox({m_buttons[2], m_buttons[3], m_more}, this));
    refresh();
}

void SelectionBar::refresh()
{
    const int count = int(m_model->selectedPackageIDs().size());
    m_count->rollTo(QString::number(count), Motion::resolve(Motion::snap(), A11y::reduceMotion()));
    // The whole bar, menu and "Снять выделение" included, waits while a device action runs.
    setEnabled(m_model->canRunDeviceAction());
    m_permissions->setEnabled(count == 1);
    updateGeometry();
}

int SelectionBar::heightForWidth(int width) const
{
    const QMargins margins = contentsMargins();
    return m_flow->heightForWidth(width - margins.left() - margins.right()) + margins.top() + margins.bottom();
}

QSize SelectionBar::sizeHint() const
{
    const QMargins margins = contentsMargins();
    const QSize inner = m_flow->sizeHint();
    return QSize(inner.width() + margins.left() + margins.right(), inner.height() + margins.top() + margins.bottom());
}
