#include "PermissionsView.h"

#include "PackagePickerDelegate.h"
#include "PaddedListView.h"
#include "PermissionManagerContent.h"

#include "shell/DeckScreen.h"
#include "shell/DeckTextField.h"
#include "shell/ScreenMemory.h"
#include "shell/ViewUpdates.h"

#include "core/AppModel.h"
#include "design/CanvasCover.h"
#include "design/DeckButton.h"
#include "design/DeckEmptyState.h"
#include "design/DeckParagraph.h"
#include "design/DeckSearchField.h"
#include "design/Hairline.h"
#include "design/Ink.h"
#include "design/ScreenHeader.h"
#include "design/ShownText.h"
#include "design/Tokens.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QStackedLayout>
#include <QVBoxLayout>

namespace {

// Spaces and tabs only: a line break typed into the query stays part of it.
QString trimmedQuery(const QString &query)
{
    qsizetype start = 0, end = query.size();
    const auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (start < end && blank(query.at(start)))
        ++start;
    while (end > start && blank(query.at(end - 1)))
        --end;
    return query.mid(start, end - start);
}

} // namespace

PermissionsState::PermissionsState(QObject *parent) : Observable(parent)
{
    m_listModel = new ListModelAdapter<AndroidPackage>(
        matches,
        [](const AndroidPackage &package, int, int role) -> QVariant {
            switch (role) {
            case Qt::DisplayRole:
                return package.displayName;
            case Qt::ToolTipRole:
                return package.name;
            case Qt::AccessibleTextRole:
                return ShownText::accessible(package.displayName) + QStringLiteral(", ") + shortTitle(package.kind);
            default:
                return {};
            }
        },
        this);
}

PermissionsView::PermissionsView(AppModel *model, ScreenMemory *memory, QWidget *parent)
    : QWidget(parent), m_model(model)
{
    setObjectName(QStringLiteral("permissionsScreen"));
    m_state = memory ? memory->obtain<PermissionsState>(QStringLiteral("permissions"), [] { return new PermissionsState; })
                     : new PermissionsState(this);

    m_other = new DeckButton(QStringLiteral("Выбрать другое приложение"),
                             {DeckButtonRole::secondary, DeckButtonSize::small});
    m_other->setObjectName(QStringLiteral("otherApp"));
    connect(m_other, &QAbstractButton::clicked, this, [this] { m_model->closePermissionManager(); });
    m_header = new ScreenHeader(eyebrow(AppRoute::permissions), QStringLiteral("Разрешения"),
                                subtitle(model->permissionPackage()), {m_other});

    auto *content = new QWidget;
    m_stack = new QStackedLayout(content);
    m_stack->setContentsMargins(0, 0, 0, 0);
    m_picker = buildPicker();
    m_stack->addWidget(m_picker);

    auto *page = new DeckScreen(std::nullopt, m_header, content);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(page);

    ViewUpdates::follow(m_state, this, [this] { refreshMatches(); }, m_state->pickerQuery)->on(model, model->packages);
    model->observe(model->permissionPackage, this, [this] { showPackage(); });
    refreshMatches();
    showPackage();
    if (memory)
        memory->keepScroll(m_list, QStringLiteral("permissions"));
}

QWidget *PermissionsView::buildPicker()
{
    auto *picker = new QWidget;
    auto *column = new QVBoxLayout(picker);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto *bar = new QWidget(picker);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(int(Space::gutter), 0, int(Space::gutter), int(Space::s));
    m_search = new DeckSearchField(QStringLiteral("Поиск приложения"), 320);
    m_search->setObjectName(QStringLiteral("pickerSearch"));
    bindDeckTextField(m_search, m_state, m_state->pickerQuery);
    row->addWidget(m_search);
    row->addStretch(1);
    column->addWidget(bar);
    column->addWidget(new Hairline(false, picker));

    m_listArea = new QWidget(picker);
    m_listArea->installEventFilter(this);
    m_list = new PaddedListView(m_listArea);
    m_list->setObjectName(QStringLiteral("packagePicker"));
    m_list->setAccessibleName(QStringLiteral("Приложения"));
    m_list->setUniformItemSizes(true);
    m_list->setEdgeMargins(int(Space::s), int(Space::s));
    m_list->setItemDelegate(new PackagePickerDelegate(m_state->listModel(), m_list));
    m_list->setModel(m_state->listModel());
    m_list->installEventFilter(this);
    connect(m_list, &QAbstractItemView::clicked, this, &PermissionsView::open);
    m_emptyCover = new CanvasCover(m_listArea);
    auto *coverLayout = new QVBoxLayout(m_emptyCover);
    coverLayout->setContentsMargins(0, 0, 0, 0);
    m_emptyCover->hide();
    column->addWidget(m_listArea, 1);
    return picker;
}

bool PermissionsView::matches(const AndroidPackage &package, const QString &query)
{
    const QString q = trimmedQuery(query);
    if (q.isEmpty())
        return package.kind == PackageKind::user;
    return package.displayName.contains(q, Qt::CaseInsensitive) || package.name.contains(q, Qt::CaseInsensitive);
}

QString PermissionsView::subtitle(const std::optional<AndroidPackage> &package)
{
    return package ? ShownText::line(package->displayName) + QStringLiteral(" · пользователь 0")
                   : QStringLiteral("Выберите приложение, чтобы прочитать его runtime-разрешения");
}

void PermissionsView::refreshMatches()
{
    const QString query = m_state->pickerQuery();
    QList<AndroidPackage> found;
    for (const AndroidPackage &p : m_model->packages())
        if (matches(p, query))
            found.append(p);
    if (found != m_state->matches())
        m_state->matches.set(std::move(found));

    const bool empty = m_state->matches().isEmpty();
    // The title looks at the query as typed: spaces alone are a query.
    const QString title = query.isEmpty() ? QStringLiteral("Нет пользовательских приложений")
                                          : QStringLiteral("Ничего не найдено");
    if (m_empty && (!empty || m_empty->titleLabel()->text() != title)) {
        delete m_empty;
        m_empty = nullptr;
    }
    if (!empty) {
        m_emptyCover->hide();
        return;
    }
    if (!m_empty) {
        m_empty = new DeckEmptyState(QStringLiteral("hand.raised"), title,
                                     QStringLiteral("Начните вводить название или идентификатор пакета."), Tone::neutral,
                                     nullptr, m_emptyCover);
        m_emptyCover->layout()->addWidget(m_empty);
    }
    m_emptyCover->setGeometry(m_listArea->rect());
    m_emptyCover->show();
    m_emptyCover->raise();
}

void PermissionsView::showPackage()
{
    const std::optional<AndroidPackage> &package = m_model->permissionPackage();
    m_header->subtitleLabel()->setText(subtitle(package));
    m_other->setVisible(package.has_value());
    if (m_manager && (!package || package->name != m_manager->package().name)) {
        m_stack->removeWidget(m_manager);
        delete m_manager;
        m_manager = nullptr;
    }
    if (package && !m_manager) {
        m_manager = new PermissionManagerContent(m_model, *package, false);
        m_stack->addWidget(m_manager);
    }
    m_stack->setCurrentWidget(m_manager ? static_cast<QWidget *>(m_manager) : m_picker);
}

void PermissionsView::open(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    const QString name = m_state->listModel()->rowAt(index.row()).name;
    // The picked package alone, whatever the Applications screen had selected.
    m_model->selectedPackageIDs.set({name});
    m_model->openPermissionManager();
}

bool PermissionsView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_listArea && (event->type() == QEvent::Resize || event->type() == QEvent::Show)) {
        m_list->setGeometry(m_listArea->rect());
        m_emptyCover->setGeometry(m_listArea->rect());
    }
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Space)
            && key->modifiers() == Qt::NoModifier) {
            open(m_list->currentIndex());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
