#include "ConsoleLibraryPane.h"

#include "CommandChipDelegate.h"
#include "ConsoleLibraryModel.h"
#include "ConsoleViewState.h"

#include "core/AppModel.h"
#include "design/DeckParagraph.h"
#include "design/DeckSegmented.h"
#include "design/FocusRing.h"
#include "design/Hairline.h"
#include "design/Ink.h"
#include "design/Tokens.h"
#include "design/Typo.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// A list whose rows sit inset from its edges (Space.m on every side).
class InsetListView : public QListView {
public:
    explicit InsetListView(int inset, QWidget *parent) : QListView(parent) { setViewportMargins(inset, inset, inset, inset); }
};

} // namespace

ConsoleLibraryPane::ConsoleLibraryPane(ConsoleViewState *state, QWidget *parent)
    : QWidget(parent), m_state(state), m_model(state->model())
{
    setObjectName(QStringLiteral("console-library"));
    setMaximumWidth(kMaximumWidth);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    QList<DeckSegmented::Item> items;
    for (ConsoleLibraryTab tab : allCases<ConsoleLibraryTab>())
        items.append({QVariant(rawValue(tab)), title(tab), std::nullopt, std::nullopt});
    m_tabs = new DeckSegmented(items, QVariant(rawValue(state->libraryTab())), QStringLiteral("Библиотека команд"));
    connect(m_tabs, &DeckSegmented::selectionChanged, this, [this](const QVariant &value) {
        if (const auto tab = fromRawValue<ConsoleLibraryTab>(value.toString()))
            m_state->libraryTab.set(*tab);
    });
    auto *tabsBox = new QWidget(this);
    auto *tabsRow = new QHBoxLayout(tabsBox);
    const int m = int(Space::m);
    tabsRow->setContentsMargins(m, m, m, m);
    tabsRow->addWidget(m_tabs);
    tabsRow->addStretch(1);
    column->addWidget(tabsBox);
    setMinimumWidth(std::clamp(m_tabs->sizeHint().width() + 2 * m, kMinimumWidth, kMaximumWidth));
    column->addWidget(new Hairline(false, this));

    m_hint = new DeckParagraph(QString(), Typo::supporting(), [] { return Ink::textTertiary(); }, this);
    m_hint->setObjectName(QStringLiteral("console-library-hint"));
    auto *hintBox = new QWidget(this);
    auto *hintRow = new QVBoxLayout(hintBox);
    hintRow->setContentsMargins(m, m, m, 0);
    hintRow->addWidget(m_hint);
    column->addWidget(hintBox);

    m_rows = new ConsoleLibraryModel(m_model, state->libraryTab(), this);
    m_list = new InsetListView(m, this);
    m_list->setObjectName(QStringLiteral("console-library-list"));
    m_list->setAccessibleName(QStringLiteral("Библиотека команд"));
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setAutoFillBackground(false);
    m_list->viewport()->setAutoFillBackground(false);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab reaches the commands (the arrows walk them, Return picks one); a click picks without
    // taking the focus from the command line.
    m_list->setFocusPolicy(Qt::TabFocus);
    FocusRing::followView(m_list);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setMouseTracking(true);
    m_list->viewport()->setAttribute(Qt::WA_Hover);
    m_list->viewport()->setCursor(Qt::PointingHandCursor);
    m_list->setItemDelegate(new CommandChipDelegate(m_list));
    m_list->setModel(m_rows);
    m_list->viewport()->installEventFilter(this);
    m_list->installEventFilter(this);
    connect(m_list, &QListView::clicked, this, [this](const QModelIndex &index) { activate(index.row()); });
    column->addWidget(m_list, 1);

    column->addWidget(new Hairline(false, this));
    auto *note = new DeckParagraph(QStringLiteral("Команда подставляется в строку ввода и не запускается автоматически."),
                                   Typo::caption(), [] { return Ink::textTertiary(); }, this);
    note->setObjectName(QStringLiteral("console-library-note"));
    auto *noteBox = new QWidget(this);
    auto *noteRow = new QVBoxLayout(noteBox);
    noteRow->setContentsMargins(m, m, m, m);
    noteRow->addWidget(note);
    column->addWidget(noteBox);

    state->observe(state->libraryTab, this, [this] { syncTab(); });
    connect(m_rows, &QAbstractItemModel::modelReset, this, [this] { syncTab(); });
    syncTab();
}

int ConsoleLibraryPane::idealWidth() const { return std::max(kIdealWidth, minimumWidth()); }

QString ConsoleLibraryPane::emptyHint(int tab)
{
    switch (ConsoleLibraryTab(tab)) {
    case ConsoleLibraryTab::favorites:
        return QStringLiteral("Добавьте команду в избранное звёздочкой рядом со строкой ввода.");
    case ConsoleLibraryTab::history:
        return QStringLiteral("История пуста. Выполненные команды появятся здесь.");
    case ConsoleLibraryTab::snippets:
        break;
    }
    return QString();
}

void ConsoleLibraryPane::syncTab()
{
    const ConsoleLibraryTab tab = m_state->libraryTab();
    m_tabs->setSelection(QVariant(rawValue(tab)));
    m_rows->setTab(tab);
    const QString hint = m_rows->isEmpty() ? emptyHint(int(tab)) : QString();
    m_hint->setText(hint);
    m_hint->parentWidget()->setVisible(!hint.isEmpty());
}

void ConsoleLibraryPane::activate(int row)
{
    if (row < 0 || row >= m_rows->rowCount())
        return;
    const ConsoleLibraryModel::Row picked = m_rows->rowAt(row);
    if (picked.heading)
        return;
    if (m_rows->tab() == ConsoleLibraryTab::favorites) {
        for (const ConsoleFavorite &favorite : m_model->consoleFavorites())
            if (favorite.id == picked.id) {
                m_model->useConsoleFavorite(favorite);
                break;
            }
    } else {
        m_model->consoleMode.set(picked.mode);
        m_model->consoleInput.set(picked.text);
    }
    Q_EMIT this->picked();
}

void ConsoleLibraryPane::removeFavorite(int row)
{
    if (m_rows->tab() != ConsoleLibraryTab::favorites || row < 0 || row >= m_rows->rowCount())
        return;
    const QUuid id = m_rows->rowAt(row).id;
    for (const ConsoleFavorite &favorite : m_model->consoleFavorites())
        if (favorite.id == id) {
            m_model->removeConsoleFavorite(favorite);
            return;
        }
}

bool ConsoleLibraryPane::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_list->currentIndex().isValid()) {
            activate(m_list->currentIndex().row());
            return true;
        }
    }
    if (watched == m_list->viewport() && event->type() == QEvent::ContextMenu
        && m_rows->tab() == ConsoleLibraryTab::favorites) {
        auto *menuEvent = static_cast<QContextMenuEvent *>(event);
        const QModelIndex index = m_list->indexAt(menuEvent->pos());
        if (index.isValid()) {
            auto *menu = new QMenu(this);
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->setObjectName(QStringLiteral("console-favorite-menu"));
            const QUuid id = m_rows->rowAt(index.row()).id;
            menu->addAction(QIcon::fromTheme(QStringLiteral("edit-delete")), QStringLiteral("Удалить"), this, [this, id] {
                for (int row = 0; row < m_rows->rowCount(); ++row)
                    if (m_rows->rowAt(row).id == id)
                        return removeFavorite(row);
            });
            menu->popup(menuEvent->globalPos());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ConsoleLibraryPane::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QColor fill = Ink::surface();
    fill.setAlphaF(fill.alphaF() * 0.5);
    p.fillRect(rect(), fill);
}
