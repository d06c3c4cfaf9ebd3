#pragma once

#include "bridge/ConsoleEntry.h"
#include "core/PublishedList.h"

#include <QAbstractListModel>

#include <algorithm>
#include <deque>

// The console transcript as a list model: every entry, or only those that match the search
// text. It reads the rows from the published transcript itself (no copy) and follows it row by
// row: an append at the cap is one removal at the front and one insertion at the end, also
// while filtered, where only matching rows come and go. A new search text is one reset.
class ConsoleTranscriptModel final : public QAbstractListModel, private ListRowListener {
    Q_OBJECT
public:
    enum Role {
        KindRole = Qt::UserRole + 1, // ConsoleEntryKind as int
        TimestampRole,               // QDateTime
        IdRole,                      // QUuid
    };

    explicit ConsoleTranscriptModel(PublishedList<ConsoleEntry> &entries, QObject *parent = nullptr);
    ~ConsoleTranscriptModel() override;

    // The search text as typed: rows are filtered by it trimmed of white space and line breaks,
    // and marked by it trimmed of spaces and tabs.
    void setSearchText(const QString &typed);
    QString searchText() const { return m_typed; }
    QString filterText() const { return m_filter; }
    QString highlightText() const { return m_highlight; }
    bool isFiltering() const { return !m_filter.isEmpty(); }
    // Entries that match the search (0 while there is nothing to search for).
    qsizetype matchCount() const { return isFiltering() ? qsizetype(m_matches.size()) : 0; }

    // The entry shown in `row`; the caller checks the row.
    const ConsoleEntry &entryAt(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    // A measure the view keeps per entry (a row's height at the current width), forgotten with
    // the entry; -1 until set. Kept here because this model already follows the rows one by one,
    // so the view needs no lookup by identity for each of its 3,000 rows at every layout pass.
    int rowExtent(int row) const { return m_extents[size_t(sourceRow(row))]; }
    void setRowExtent(int row, int extent) const { m_extents[size_t(sourceRow(row))] = extent; }
    void forgetRowExtents() const { std::fill(m_extents.begin(), m_extents.end(), -1); }

    // The word assistive technology says before a row's text.
    static QString accessibilityWord(ConsoleEntryKind kind);

private:
    void beginListReset() override;
    void endListReset() override;
    void beginFrontTrim(qsizetype count) override;
    void endFrontTrim() override;
    void beginAppend(qsizetype first, qsizetype last) override;
    void endAppend() override;
    void rowEdited(qsizetype row) override;
    void listGone() override;

    void collectMatches();
    qsizetype sourceRow(int row) const
    {
        return isFiltering() ? qsizetype(m_matches[size_t(row)] - m_trimmed) : qsizetype(row);
    }

    PublishedList<ConsoleEntry> *m_entries;
    QString m_typed;
    QString m_filter;
    QString m_highlight;
    // While filtering: the matching entries, as positions counted from the first entry the list
    // ever had since its last reset (so a trim at the front renumbers nothing).
    std::deque<qint64> m_matches;
    qint64 m_trimmed = 0; // entries trimmed off the front since the last reset
    mutable std::deque<int> m_extents; // per entry of the list
    qsizetype m_pendingTrim = 0;
    qsizetype m_pendingTrimMatches = 0;
    qsizetype m_appendFirst = 0;
    qsizetype m_appendLast = -1;
};
