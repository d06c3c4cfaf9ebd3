#include "PresetGridAccessible.h"

#include "PresetCardDelegate.h"
#include "PresetsView.h"

#include "core/ListModelAdapter.h"

#include <QWidget>

namespace {

const StoredPreset *storedAt(const PresetGridView *grid, int row)
{
    const auto *cards = grid ? dynamic_cast<const ListModelAdapter<StoredPreset> *>(grid->model()) : nullptr;
    if (!cards || row < 0 || row >= cards->rowCount())
        return nullptr;
    return &cards->rowAt(row);
}

PresetCardDelegate *delegateOf(const PresetGridView *grid)
{
    return grid ? qobject_cast<PresetCardDelegate *>(grid->itemDelegate()) : nullptr;
}

// The card's layout in the grid's viewport, when the row still holds `path`.
std::optional<PresetCardDelegate::Layout> cardLayout(const PresetGridView *grid, int row, const QString &path)
{
    const StoredPreset *stored = storedAt(grid, row);
    PresetCardDelegate *delegate = delegateOf(grid);
    if (!stored || stored->path != path || !delegate)
        return std::nullopt;
    return delegate->layout(grid->visualRect(grid->model()->index(row, 0)), stored->preset);
}

QRect toScreen(const PresetGridView *grid, const QRectF &rect)
{
    if (!grid->isVisible())
        return {};
    return QRect(grid->viewport()->mapToGlobal(rect.topLeft().toPoint()), rect.size().toSize());
}

class CardButtonAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    CardButtonAccessible(PresetGridView *grid, int row, QString path, PresetCardDelegate::Button button,
                         QAccessible::Id card)
        : m_grid(grid), m_row(row), m_path(std::move(path)), m_button(button), m_card(card)
    {
    }

    bool isValid() const override { return cardLayout(m_grid, m_row, m_path).has_value(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_grid ? m_grid->window()->windowHandle() : nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::accessibleInterface(m_card); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    void setText(QAccessible::Text, const QString &) override {}
    QAccessible::Role role() const override { return QAccessible::Button; }

    QString text(QAccessible::Text t) const override
    {
        const StoredPreset *stored = storedAt(m_grid, m_row);
        if (!stored)
            return {};
        if (t == QAccessible::Name)
            return PresetCardDelegate::buttonLabel(m_button, stored->preset);
        if (t == QAccessible::Description && m_button == PresetCardDelegate::Button::apply)
            if (PresetCardDelegate *delegate = delegateOf(m_grid))
                return PresetCardDelegate::applyToolTip(delegate->canApply());
        return {};
    }

    QRect rect() const override
    {
        const auto layout = cardLayout(m_grid, m_row, m_path);
        return layout ? toScreen(m_grid, PresetCardDelegate::buttonRect(*layout, m_button)) : QRect();
    }

    QAccessible::State state() const override
    {
        QAccessible::State s;
        const PresetCardDelegate *delegate = delegateOf(m_grid);
        s.disabled = m_button == PresetCardDelegate::Button::apply && delegate && !delegate->canApply();
        s.invisible = !m_grid || !m_grid->isVisible();
        return s;
    }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }
    void doAction(const QString &name) override
    {
        if (name != pressAction() || !isValid())
            return;
        if (PresetCardDelegate *delegate = delegateOf(m_grid))
            delegate->press(m_button, m_row);
    }

private:
    QPointer<PresetGridView> m_grid;
    int m_row;
    QString m_path;
    PresetCardDelegate::Button m_button;
    QAccessible::Id m_card;
};

class CardAccessible : public QAccessibleInterface {
public:
    CardAccessible(PresetGridView *grid, int row, QString path) : m_grid(grid), m_row(row), m_path(std::move(path)) {}
    ~CardAccessible() override
    {
        for (QAccessible::Id id : m_buttons)
            QAccessible::deleteAccessibleInterface(id);
    }

    void setId(QAccessible::Id id) { m_id = id; }

    bool isValid() const override { return cardLayout(m_grid, m_row, m_path).has_value(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_grid ? m_grid->window()->windowHandle() : nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_grid.data()); }
    int childCount() const override { return int(std::size(PresetCardDelegate::kButtons)); }
    void setText(QAccessible::Text, const QString &) override {}
    QAccessible::Role role() const override { return QAccessible::ListItem; }

    QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (m_buttons.size() != childCount()) {
            for (PresetCardDelegate::Button button : PresetCardDelegate::kButtons)
                m_buttons.append(QAccessible::registerAccessibleInterface(
                    new CardButtonAccessible(m_grid, m_row, m_path, button, m_id)));
        }
        return QAccessible::accessibleInterface(m_buttons.at(index));
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        for (int i = 0; i < m_buttons.size(); ++i)
            if (QAccessible::accessibleInterface(m_buttons.at(i)) == child)
                return i;
        return -1;
    }

    QAccessibleInterface *childAt(int x, int y) const override
    {
        for (int i = 0; i < childCount(); ++i)
            if (QAccessibleInterface *button = child(i); button && button->rect().contains(x, y))
                return button;
        return nullptr;
    }

    QString text(QAccessible::Text t) const override
    {
        const StoredPreset *stored = storedAt(m_grid, m_row);
        if (!stored || t != QAccessible::Name)
            return {};
        return stored->preset.name;
    }

    QRect rect() const override
    {
        const auto layout = cardLayout(m_grid, m_row, m_path);
        return layout ? toScreen(m_grid, layout->panel) : QRect();
    }

    QAccessible::State state() const override
    {
        QAccessible::State s;
        s.invisible = !m_grid || !m_grid->isVisible();
        return s;
    }

private:
    QPointer<PresetGridView> m_grid;
    int m_row;
    QString m_path;
    QAccessible::Id m_id = 0;
    mutable QList<QAccessible::Id> m_buttons;
};

QAccessibleInterface *gridFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("PresetGridView"))
        if (auto *grid = qobject_cast<PresetGridView *>(object))
            return new PresetGridAccessible(grid);
    return nullptr;
}

} // namespace

PresetGridAccessible::PresetGridAccessible(PresetGridView *grid) : QAccessibleWidget(grid, QAccessible::List) {}

PresetGridAccessible::~PresetGridAccessible()
{
    for (const Card &card : std::as_const(m_cards))
        QAccessible::deleteAccessibleInterface(card.id);
}

void PresetGridAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(gridFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

PresetGridView *PresetGridAccessible::grid() const { return static_cast<PresetGridView *>(widget()); }

int PresetGridAccessible::childCount() const { return grid()->model() ? grid()->model()->rowCount() : 0; }

QAccessibleInterface *PresetGridAccessible::child(int index) const
{
    const StoredPreset *stored = storedAt(grid(), index);
    if (!stored)
        return nullptr;
    auto found = m_cards.find(index);
    if (found != m_cards.end() && found->path != stored->path) {
        QAccessible::deleteAccessibleInterface(found->id);
        m_cards.erase(found);
        found = m_cards.end();
    }
    if (found == m_cards.end()) {
        auto *card = new CardAccessible(grid(), index, stored->path);
        const QAccessible::Id id = QAccessible::registerAccessibleInterface(card);
        card->setId(id);
        found = m_cards.insert(index, {id, stored->path});
    }
    return QAccessible::accessibleInterface(found->id);
}

int PresetGridAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    for (auto it = m_cards.cbegin(); it != m_cards.cend(); ++it)
        if (QAccessible::accessibleInterface(it->id) == child)
            return it.key();
    return -1;
}

QAccessibleInterface *PresetGridAccessible::childAt(int x, int y) const
{
    for (int i = 0; i < childCount(); ++i)
        if (QAccessibleInterface *card = child(i); card && card->rect().contains(x, y))
            return card;
    return nullptr;
}
