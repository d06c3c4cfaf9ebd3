#pragma once

#include "ConsoleViewState.h"

#include "bridge/ConsoleMode.h"

#include <QAbstractListModel>
#include <QUuid>

#include <optional>

class AppModel;

// The rows of the command library's selected tab: the favourites in stored order; the
// snippets under a heading per group, in catalogue order; or the history, newest first. The
// lists are small, so a change of the tab, the favourites or the history is one reset.
class ConsoleLibraryModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        TitleRole = Qt::UserRole + 1, // QString, empty without a title
        ModeRole,                     // ConsoleMode as int
        HeadingRole,                  // bool: a group heading, not a command
        IdRole,                       // QUuid of the favourite, snippet or history entry
    };

    struct Row {
        bool heading = false;
        QString text; // the command, or the heading's group name
        ConsoleMode mode = ConsoleMode::deviceShell;
        std::optional<QString> title;
        QUuid id;
    };

    ConsoleLibraryModel(AppModel *model, ConsoleLibraryTab tab, QObject *parent = nullptr);

    ConsoleLibraryTab tab() const { return m_tab; }
    void setTab(ConsoleLibraryTab tab);
    const Row &rowAt(int row) const { return m_rows.at(row); }
    // Whether the tab has no command to show (its hint shows instead).
    bool isEmpty() const { return m_rows.isEmpty(); }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // "getprop …, режим Shell устройства": what assistive technology reads for a command row.
    static QString accessibilityLabel(const Row &row);

private:
    void rebuild();

    AppModel *m_model;
    ConsoleLibraryTab m_tab;
    QList<Row> m_rows;
};
