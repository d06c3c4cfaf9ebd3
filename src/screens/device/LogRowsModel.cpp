#include "LogRowsModel.h"

#include "design/ShownText.h"

#include <algorithm>

LogRowsModel::LogRowsModel(PublishedList<LogLine> &lines, const LogRowLayout &layout, QObject *parent)
    : QAbstractListModel(parent), m_list(&lines), m_layout(layout)
{
    m_list->addListener(this);
    rebuild();
}

LogRowsModel::~LogRowsModel()
{
    if (m_list)
        m_list->removeListener(this);
}

void LogRowsModel::setLayout(const LogRowLayout &layout)
{
    if (layout.width() == m_layout.width() && layout.isCompact() == m_layout.isCompact()
        && layout.font() == m_layout.font())
        return;
    m_layout = layout;
    beginResetModel();
    rebuild();
    endResetModel();
}

void LogRowsModel::rebuild()
{
    m_ends.clear();
    m_firstRow = 0;
    if (!m_list)
        return;
    m_ends.reserve(m_list->size());
    qint64 end = 0;
    for (const LogLine &line : m_list->get()) {
        end += rowsOf(line);
        m_ends.append(end);
    }
}

int LogRowsModel::rowsOf(const LogLine &line) const
{
    QString shown;
    return m_layout.rowCount(LogRowLayout::shownMessage(line.message(), shown));
}

int LogRowsModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || m_ends.isEmpty())
        return 0;
    return int(m_ends.last() - m_firstRow);
}

qsizetype LogRowsModel::lineIndexOfRow(int row) const
{
    const qint64 absolute = m_firstRow + row;
    return std::upper_bound(m_ends.begin(), m_ends.end(), absolute) - m_ends.begin();
}

LogRowsModel::Row LogRowsModel::rowAt(int row) const
{
    const qsizetype index = lineIndexOfRow(row);
    if (row < 0 || !m_list || index >= m_ends.size() || index >= m_list->size())
        return {};
    const qint64 start = index == 0 ? m_firstRow : m_ends[index - 1];
    return {&m_list->at(index), int(m_firstRow + row - start), int(m_ends[index] - start)};
}

int LogRowsModel::firstRowOf(qsizetype lineIndex) const
{
    if (lineIndex <= 0)
        return 0;
    return int(m_ends[lineIndex - 1] - m_firstRow);
}

QVariant LogRowsModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Row row = rowAt(index.row());
    if (!row.line)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return row.segment == 0 ? row.line->plainText() : QVariant();
    case Qt::AccessibleTextRole:
        // Read without colour codes and controls, which a reader would spell out or choke on.
        return row.segment == 0 ? ShownText::accessible(ShownText::withoutStyleCodes(row.line->plainText())) : QVariant();
    case LineIdRole:
        return row.line->id;
    case SegmentRole:
        return row.segment;
    default:
        return {};
    }
}

void LogRowsModel::endListReset()
{
    rebuild();
    endResetModel();
}

void LogRowsModel::beginFrontTrim(qsizetype count)
{
    // Announced while the lines are still in the list, so the rows stay readable until removed.
    m_trim = std::min(count, m_ends.size());
    if (m_trim > 0)
        beginRemoveRows({}, 0, int(m_ends[m_trim - 1] - m_firstRow) - 1);
}

void LogRowsModel::endFrontTrim()
{
    if (m_trim <= 0)
        return;
    m_firstRow = m_ends[m_trim - 1];
    m_ends.remove(0, m_trim);
    m_trim = 0;
    endRemoveRows();
}

void LogRowsModel::endAppend()
{
    // The new lines are in the list now; until their rows are inserted, no row maps to them.
    const QList<LogLine> &all = m_list->get();
    const qsizetype known = m_ends.size();
    if (all.size() <= known)
        return;
    const qint64 before = m_ends.isEmpty() ? m_firstRow : m_ends.last();
    QList<qint64> ends;
    ends.reserve(all.size() - known);
    qint64 end = before;
    for (qsizetype i = known; i < all.size(); ++i) {
        end += rowsOf(all[i]);
        ends.append(end);
    }
    const int first = rowCount();
    beginInsertRows({}, first, first + int(end - before) - 1);
    m_ends.append(ends);
    endInsertRows();
}

void LogRowsModel::rowEdited(qsizetype)
{
    // Log lines are never edited in place; should one be, its rows are counted again.
    beginResetModel();
    rebuild();
    endResetModel();
}

void LogRowsModel::listGone()
{
    beginResetModel();
    m_list = nullptr;
    m_ends.clear();
    m_firstRow = 0;
    endResetModel();
}
