#include "PackageListView.h"

#include "ApplicationsState.h"
#include "PackageRowDelegate.h"
#include "RowPainting.h"

#include "core/AppModel.h"

#include <QContextMenuEvent>
#include <QItemSelectionModel>
#include <QMouseEvent>

namespace {

// Tells whether the last change started by clearing the selection (a plain click, a key
// without modifiers, select all): such a change replaces the whole set.
class MirrorSelectionModel : public QItemSelectionModel {
public:
    using QItemSelectionModel::QItemSelectionModel;
    bool lastChangeCleared = false;

    void select(const QItemSelection &selection, SelectionFlags command) override
    {
        lastChangeCleared = command & Clear;
        QItemSelectionModel::select(selection, command);
    }
    void select(const QModelIndex &index, SelectionFlags command) override
    {
        lastChangeCleared = command & Clear;
        QItemSelectionModel::select(index, command);
    }
    void clear() override
    {
        lastChangeCleared = true;
        QItemSelectionModel::clear();
    }
};

} // namespace

PackageListView::PackageListView(AppModel *model, ApplicationsState *state, QWidget *parent)
    : PaddedListView(parent), m_model(model), m_state(state), m_delegate(new PackageRowDelegate(state, this))
{
    setObjectName(QStringLiteral("packageList"));
    setAccessibleName(QStringLiteral("Приложения"));
    setUniformItemSizes(true);
    setLayoutMode(QListView::Batched);
    setBatchSize(200);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setItemDelegate(m_delegate);
    RowPainting::followIcons(this);
    setModel(state->listModel());
    auto *selection = new MirrorSelectionModel(state->listModel(), this);
    QItemSelectionModel *old = selectionModel();
    setSelectionModel(selection);
    delete old;
    connect(selection, &QItemSelectionModel::selectionChanged, this, &PackageListView::selectionEdited);
    // A new list of rows (a search, a filter, a refresh) shows the set again.
    connect(state->listModel(), &QAbstractItemModel::modelReset, this, &PackageListView::syncSelectionFromModel);
    model->observe(model->selectedPackageIDs, this, [this] {
        if (!m_syncing)
            syncSelectionFromModel();
    });
    syncSelectionFromModel();
}

void PackageListView::syncSelectionFromModel()
{
    const QSet<QString> &names = m_model->selectedPackageIDs();
    QItemSelection selection;
    QAbstractItemModel *rows = model();
    const int count = int(m_state->rows.size());
    int start = -1;
    for (int row = 0; row <= count; ++row) {
        const bool in = row < count && names.contains(m_state->packageAt(row).name);
        if (in && start < 0)
            start = row;
        if (!in && start >= 0) {
            selection.select(rows->index(start, 0), rows->index(row - 1, 0));
            start = -1;
        }
    }
    m_syncing = true;
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    m_syncing = false;
}

void PackageListView::selectionEdited(const QItemSelection &selected, const QItemSelection &deselected)
{
    if (m_syncing)
        return;
    auto *mirror = static_cast<MirrorSelectionModel *>(selectionModel());
    QSet<QString> names;
    if (mirror->lastChangeCleared) {
        for (const QModelIndex &index : mirror->selectedIndexes())
            names.insert(m_state->packageAt(index.row()).name);
    } else {
        names = m_model->selectedPackageIDs();
        for (const QModelIndex &index : deselected.indexes())
            names.remove(m_state->packageAt(index.row()).name);
        for (const QModelIndex &index : selected.indexes())
            names.insert(m_state->packageAt(index.row()).name);
    }
    m_syncing = true;
    m_model->selectedPackageIDs.set(names);
    m_syncing = false;
}

QRect PackageListView::rowRect(const QString &packageName) const
{
    const int row = m_state->rowOf(packageName);
    return row < 0 ? QRect() : visualRect(model()->index(row, 0));
}

void PackageListView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        event->accept(); // the context menu follows; the selection stays
        return;
    }
    PaddedListView::mousePressEvent(event);
}

void PackageListView::contextMenuEvent(QContextMenuEvent *event)
{
    const QModelIndex index = indexAt(event->pos());
    if (!index.isValid())
        return;
    event->accept();
    Q_EMIT contextMenuRequested(m_state->packageAt(index.row()).name, event->globalPos());
}
