#pragma once

#include "bridge/Bytes.h"
#include "bridge/DeviceFileItem.h"
#include "core/PublishedList.h"
#include "design/ShownText.h"
#include "shell/ViewUpdates.h"

#include <QAbstractTableModel>
#include <QLocale>

#include <algorithm>
#include <vector>

// The symbol of a listed entry: "folder.fill" for a folder, else by the lowercased text after
// the name's last dot ("archivebox" for "Backup.TAR.GZ", "doc" without a known extension).
QString fileSymbol(const QString &name, bool isDirectory);
// "Папка <name>" or "Файл <name>", what assistive technology reads for a row.
QString fileAccessibleText(const QString &name, bool isDirectory);
// The modified column: numeric date and short time in the user's locale, "—" without a date.
QString fileDateText(const std::optional<QDateTime> &when);

// A pane's table over the model's listing: columns name, size and modified. The listing comes
// in display order (folders first, names by NameCollation), which is the name column's
// ascending order, so that order costs nothing; the other orders sort row numbers, never the
// names again. Folders stay before files in every order. The rows are read from the list
// itself, and each change of the list is one reset.
template <typename Item>
class FileTableModel final : public QAbstractTableModel, private ListRowListener {
public:
    enum Column { nameColumn, sizeColumn, modifiedColumn, columnTotal };
    enum Role { SymbolRole = Qt::UserRole + 1, IsDirectoryRole, IdRole };

    explicit FileTableModel(PublishedList<Item> &list, QObject *parent = nullptr)
        : QAbstractTableModel(parent), m_list(&list)
    {
        m_list->addListener(this);
        rebuildOrder();
    }
    ~FileTableModel() override
    {
        if (m_list)
            m_list->removeListener(this);
    }

    // The entry shown at `row`, null outside the rows.
    const Item *itemAt(int row) const
    {
        if (!m_list || row < 0 || size_t(row) >= m_order.size())
            return nullptr;
        return &m_list->at(m_order[size_t(row)]);
    }
    int sortColumn() const { return m_sortColumn; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(m_order.size()); }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : columnTotal; }

    QVariant data(const QModelIndex &index, int role) const override
    {
        const Item *item = index.isValid() ? itemAt(index.row()) : nullptr;
        if (!item)
            return {};
        switch (role) {
        case Qt::DisplayRole:
            if (index.column() == nameColumn)
                return item->name;
            if (index.column() == sizeColumn)
                return Bytes::shortText(item->size);
            return fileDateText(item->modifiedAt);
        case Qt::ToolTipRole:
            return index.column() == nameColumn ? QVariant(ViewUpdates::plainToolTip(ShownText::line(item->name)))
                                                : QVariant();
        case Qt::AccessibleTextRole:
            return fileAccessibleText(item->name, item->isDirectory);
        case Qt::TextAlignmentRole:
            return index.column() == sizeColumn ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter))
                                                : QVariant(int(Qt::AlignLeft | Qt::AlignVCenter));
        case SymbolRole:
            return fileSymbol(item->name, item->isDirectory);
        case IsDirectoryRole:
            return item->isDirectory;
        case IdRole:
            return item->id();
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QAbstractTableModel::headerData(section, orientation, role);
        switch (section) {
        case nameColumn: return QStringLiteral("Имя");
        case sizeColumn: return QStringLiteral("Размер");
        case modifiedColumn: return QStringLiteral("Изменён");
        default: return {};
        }
    }

    void sort(int column, Qt::SortOrder order) override
    {
        if (column < 0 || column >= columnTotal || (column == m_sortColumn && order == m_sortOrder))
            return;
        Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        const QModelIndexList before = persistentIndexList();
        std::vector<int> sources;
        sources.reserve(size_t(before.size()));
        for (const QModelIndex &index : before)
            sources.push_back(m_order[size_t(index.row())]);
        m_sortColumn = column;
        m_sortOrder = order;
        rebuildOrder();
        std::vector<int> rowOfSource(m_order.size());
        for (size_t row = 0; row < m_order.size(); ++row)
            rowOfSource[size_t(m_order[row])] = int(row);
        QModelIndexList after;
        after.reserve(before.size());
        for (qsizetype i = 0; i < before.size(); ++i)
            after << index(rowOfSource[size_t(sources[size_t(i)])], before[i].column());
        changePersistentIndexList(before, after);
        Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }

private:
    void rebuildOrder()
    {
        const int count = m_list ? int(m_list->size()) : 0;
        m_order.resize(size_t(count));
        for (int i = 0; i < count; ++i)
            m_order[size_t(i)] = i;
        if (count == 0)
            return;
        const QList<Item> &rows = m_list->get();
        // Folders come first in the listing; each group is ordered on its own.
        const auto firstFile = std::partition_point(m_order.begin(), m_order.end(),
                                                    [&](int i) { return rows.at(i).isDirectory; });
        const bool descending = m_sortOrder == Qt::DescendingOrder;
        for (auto [from, to] : {std::pair{m_order.begin(), firstFile}, std::pair{firstFile, m_order.end()}}) {
            if (m_sortColumn == nameColumn) {
                if (descending)
                    std::reverse(from, to);
                continue;
            }
            std::stable_sort(from, to, [&](int a, int b) {
                const Item &x = rows.at(a);
                const Item &y = rows.at(b);
                if (m_sortColumn == sizeColumn)
                    return descending ? x.size.value_or(-1) > y.size.value_or(-1)
                                      : x.size.value_or(-1) < y.size.value_or(-1);
                const qint64 tx = x.modifiedAt ? x.modifiedAt->toMSecsSinceEpoch() : 0;
                const qint64 ty = y.modifiedAt ? y.modifiedAt->toMSecsSinceEpoch() : 0;
                return descending ? tx > ty : tx < ty;
            });
        }
    }

    void beginListReset() override { beginResetModel(); }
    void endListReset() override
    {
        rebuildOrder();
        endResetModel();
    }
    // The panes' lists are only ever replaced whole.
    void beginFrontTrim(qsizetype) override { beginResetModel(); }
    void endFrontTrim() override { endListReset(); }
    void beginAppend(qsizetype, qsizetype) override { beginResetModel(); }
    void endAppend() override { endListReset(); }
    void rowEdited(qsizetype source) override
    {
        const auto it = std::find(m_order.begin(), m_order.end(), int(source));
        if (it == m_order.end())
            return;
        const int row = int(it - m_order.begin());
        Q_EMIT dataChanged(index(row, 0), index(row, columnTotal - 1));
    }
    void listGone() override
    {
        beginResetModel();
        m_list = nullptr;
        m_order.clear();
        endResetModel();
    }

    PublishedList<Item> *m_list;
    std::vector<int> m_order; // row -> index in the list
    int m_sortColumn = nameColumn;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};

using LocalFileTableModel = FileTableModel<LocalFileItem>;
using DeviceFileTableModel = FileTableModel<DeviceFileItem>;
