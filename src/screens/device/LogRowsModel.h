#pragma once

#include "LogRowLayout.h"

#include "core/LogLine.h"
#include "core/PublishedList.h"

#include <QAbstractListModel>

#include <optional>

// The rows of the log list: one row per text line of the shown log lines, so a long message
// wraps onto rows below its line while every row keeps the same height (the list lays out
// without measuring rows). Follows a PublishedList of lines: lines appended and lines trimmed
// at the front become rows inserted and removed, never a reset; only a new list or a new
// width (which wraps every message again) resets.
class LogRowsModel final : public QAbstractListModel, private ListRowListener {
    Q_OBJECT
public:
    LogRowsModel(PublishedList<LogLine> &lines, const LogRowLayout &layout, QObject *parent = nullptr);
    ~LogRowsModel() override;

    const LogRowLayout &layout() const { return m_layout; }
    // Wraps every message again for another width or width class (one reset when it changes).
    void setLayout(const LogRowLayout &layout);

    struct Row {
        const LogLine *line = nullptr;
        int segment = 0; // 0: the line's first row
        int segments = 1;
    };
    Row rowAt(int row) const;
    // The first row of the line at `lineIndex` of the shown lines.
    int firstRowOf(qsizetype lineIndex) const;
    qsizetype lineCount() const { return m_ends.size(); }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    // Roles: Qt::DisplayRole is the row's text (the line as received), Qt::AccessibleTextRole the
    // same as read aloud; these give the line behind a row.
    enum Role { LineIdRole = Qt::UserRole + 1, SegmentRole };

private:
    void beginListReset() override { beginResetModel(); }
    void endListReset() override;
    void beginFrontTrim(qsizetype count) override;
    void endFrontTrim() override;
    void beginAppend(qsizetype, qsizetype) override {}
    void endAppend() override;
    void rowEdited(qsizetype row) override;
    void listGone() override;

    void rebuild();
    // The rows a line's message takes as drawn.
    int rowsOf(const LogLine &line) const;
    qsizetype lineIndexOfRow(int row) const;

    PublishedList<LogLine> *m_list;
    LogRowLayout m_layout;
    // Rows are announced around each change of the list, so line i of the list is always the
    // line behind m_ends[i] (appended lines join once their rows are inserted). Row numbers count
    // from the first row ever shown: line i ends (exclusive) at m_ends[i].
    QList<qint64> m_ends;
    qint64 m_firstRow = 0;
    qsizetype m_trim = 0;
};
