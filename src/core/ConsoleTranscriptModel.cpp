#include "ConsoleTranscriptModel.h"

#include "core/ConsoleTranscript.h"

ConsoleTranscriptModel::ConsoleTranscriptModel(PublishedList<ConsoleEntry> &entries, QObject *parent)
    : QAbstractListModel(parent), m_entries(&entries), m_extents(size_t(entries.size()), -1)
{
    m_entries->addListener(this);
}

ConsoleTranscriptModel::~ConsoleTranscriptModel()
{
    if (m_entries)
        m_entries->removeListener(this);
}

void ConsoleTranscriptModel::setSearchText(const QString &typed)
{
    m_typed = typed;
    const QString filter = typed.trimmed();
    const QString highlight = trimmedConsoleText(typed);
    if (filter == m_filter) {
        if (highlight != m_highlight) {
            m_highlight = highlight;
            if (rowCount() > 0)
                Q_EMIT dataChanged(index(0), index(rowCount() - 1));
        }
        return;
    }
    beginResetModel();
    m_filter = filter;
    m_highlight = highlight;
    collectMatches();
    endResetModel();
}

void ConsoleTranscriptModel::collectMatches()
{
    m_matches.clear();
    if (!m_entries || m_filter.isEmpty())
        return;
    const QList<ConsoleEntry> &entries = m_entries->get();
    for (qsizetype i = 0; i < entries.size(); ++i)
        if (consoleEntryMatches(entries.at(i), m_filter))
            m_matches.push_back(m_trimmed + i);
}

const ConsoleEntry &ConsoleTranscriptModel::entryAt(int row) const { return m_entries->at(sourceRow(row)); }

int ConsoleTranscriptModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() || !m_entries)
        return 0;
    return int(isFiltering() ? qsizetype(m_matches.size()) : m_entries->size());
}

QString ConsoleTranscriptModel::accessibilityWord(ConsoleEntryKind kind)
{
    switch (kind) {
    case ConsoleEntryKind::command:
        return QStringLiteral("Команда");
    case ConsoleEntryKind::standardOutput:
        return QStringLiteral("Вывод");
    case ConsoleEntryKind::standardError:
        return QStringLiteral("Ошибка");
    case ConsoleEntryKind::system:
        return QStringLiteral("Система");
    }
    return QString();
}

QVariant ConsoleTranscriptModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const ConsoleEntry &entry = entryAt(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return entry.text;
    case Qt::AccessibleTextRole:
        return accessibilityWord(entry.kind) + QStringLiteral(": ") + entry.text;
    case KindRole:
        return int(entry.kind);
    case TimestampRole:
        return entry.timestamp;
    case IdRole:
        return entry.id;
    default:
        return {};
    }
}

void ConsoleTranscriptModel::beginListReset() { beginResetModel(); }

void ConsoleTranscriptModel::endListReset()
{
    m_trimmed = 0;
    m_extents.assign(size_t(m_entries->size()), -1);
    collectMatches();
    endResetModel();
}

void ConsoleTranscriptModel::beginFrontTrim(qsizetype count)
{
    m_pendingTrim = count;
    if (!isFiltering()) {
        beginRemoveRows({}, 0, int(count - 1));
        return;
    }
    const qint64 end = m_trimmed + count;
    m_pendingTrimMatches = 0;
    for (qint64 position : m_matches) {
        if (position >= end)
            break;
        ++m_pendingTrimMatches;
    }
    if (m_pendingTrimMatches > 0)
        beginRemoveRows({}, 0, int(m_pendingTrimMatches - 1));
}

void ConsoleTranscriptModel::endFrontTrim()
{
    m_trimmed += m_pendingTrim;
    m_extents.erase(m_extents.begin(), m_extents.begin() + m_pendingTrim);
    if (!isFiltering()) {
        endRemoveRows();
        return;
    }
    if (m_pendingTrimMatches > 0) {
        m_matches.erase(m_matches.begin(), m_matches.begin() + m_pendingTrimMatches);
        endRemoveRows();
    }
    m_pendingTrimMatches = 0;
}

void ConsoleTranscriptModel::beginAppend(qsizetype first, qsizetype last)
{
    m_appendFirst = first;
    m_appendLast = last;
    if (!isFiltering())
        beginInsertRows({}, int(first), int(last));
}

void ConsoleTranscriptModel::endAppend()
{
    m_extents.resize(m_extents.size() + size_t(m_appendLast - m_appendFirst + 1), -1);
    if (!isFiltering()) {
        endInsertRows();
        return;
    }
    // The new rows are readable only now; the matching ones come in after the others.
    std::vector<qint64> added;
    for (qsizetype i = m_appendFirst; i <= m_appendLast; ++i)
        if (consoleEntryMatches(m_entries->at(i), m_filter))
            added.push_back(m_trimmed + i);
    if (added.empty())
        return;
    const int first = int(m_matches.size());
    beginInsertRows({}, first, first + int(added.size()) - 1);
    m_matches.insert(m_matches.end(), added.begin(), added.end());
    endInsertRows();
}

void ConsoleTranscriptModel::rowEdited(qsizetype row)
{
    m_extents[size_t(row)] = -1;
    if (!isFiltering()) {
        Q_EMIT dataChanged(index(int(row)), index(int(row)));
        return;
    }
    // An edit may move the row into or out of the matches.
    beginResetModel();
    collectMatches();
    endResetModel();
}

void ConsoleTranscriptModel::listGone()
{
    beginResetModel();
    m_entries = nullptr;
    m_matches.clear();
    m_extents.clear();
    endResetModel();
}
