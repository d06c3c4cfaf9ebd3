#pragma once

#include "core/PublishedList.h"

#include <QAbstractTableModel>

#include <functional>

// Shows a PublishedList in a Qt item view. The rows are read from the list itself (no copy),
// and each change of the list becomes the matching row signals: a reset for a new list,
// removals at the front and insertions at the end for a window at its cap, dataChanged for
// one edited row. One column unless told otherwise; `data` maps a row to what a role shows.
template <typename T>
class ListModelAdapter final : public QAbstractTableModel, private ListRowListener {
public:
    using DataFunction = std::function<QVariant(const T &row, int column, int role)>;
    using HeaderFunction = std::function<QVariant(int section, int role)>;

    ListModelAdapter(PublishedList<T> &list, DataFunction data, QObject *parent = nullptr, int columns = 1,
                     HeaderFunction header = {})
        : QAbstractTableModel(parent), m_list(&list), m_data(std::move(data)), m_header(std::move(header)),
          m_columns(columns)
    {
        m_list->addListener(this);
    }
    ~ListModelAdapter() override
    {
        if (m_list)
            m_list->removeListener(this);
    }

    // The row behind a model row; the caller checks the index.
    const T &rowAt(int row) const { return m_list->at(row); }

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() || !m_list ? 0 : int(m_list->size());
    }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : m_columns; }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
            return {};
        return m_data(m_list->at(index.row()), index.column(), role);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && m_header)
            return m_header(section, role);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

private:
    void beginListReset() override { beginResetModel(); }
    void endListReset() override { endResetModel(); }
    void beginFrontTrim(qsizetype count) override { beginRemoveRows({}, 0, int(count - 1)); }
    void endFrontTrim() override { endRemoveRows(); }
    void beginAppend(qsizetype first, qsizetype last) override { beginInsertRows({}, int(first), int(last)); }
    void endAppend() override { endInsertRows(); }
    void rowEdited(qsizetype row) override
    {
        Q_EMIT dataChanged(index(int(row), 0), index(int(row), m_columns - 1));
    }
    void listGone() override
    {
        beginResetModel();
        m_list = nullptr;
        endResetModel();
    }

    PublishedList<T> *m_list;
    DataFunction m_data;
    HeaderFunction m_header;
    int m_columns;
};
