#pragma once

#include "FileManagerState.h"

#include "bridge/Tone.h"
#include "design/DeckCheckbox.h"
#include "design/DeckEmptyState.h"

#include <QHash>
#include <QPointer>
#include <QTableView>
#include <QWidget>

class AppModel;
class DeckButton;
class DeckEmptyState;
class DeckText;
class DeckTextField;
class IconButton;
class QMenu;

// The table of one pane: rows of one height painted by one delegate, whole-row selection.
// A double-click or Return on a row asks to open it (once per gesture).
class FileTableView : public QTableView {
    Q_OBJECT
public:
    explicit FileTableView(QWidget *parent = nullptr);

    static constexpr int kRowHeight = 26;

    // A column never narrower than `width`: a column the user resizes stops there, and the
    // stretching column takes what it lacks from the others (the last one first, each down to
    // its own minimum).
    void setColumnMinimum(int column, int width);
    int columnMinimum(int column) const;

Q_SIGNALS:
    void openRequested(int row);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    // The focus ring spans the current row: both rows repaint whole when it moves.
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void scheduleColumnMinima();
    void keepColumnMinima();

    QHash<int, int> m_minima;
    bool m_keeping = false;
    bool m_keepScheduled = false;
};

// One pane of the file manager, the computer's or the device's: its title, the path bar, the
// table with its empty state, and the action bar. It holds no state: everything is read from and
// written to the screen's FileManagerState. Device-side navigation and actions share one enable
// rule (a ready device and no operation running); the computer's side stays usable meanwhile,
// since every device batch has pinned the folders it works on.
class FilePane : public QWidget {
    Q_OBJECT
public:
    FilePane(FileManagerState *state, AppModel *app, FileManagerSide side, QWidget *parent = nullptr);

    FileManagerSide side() const { return m_side; }
    FileTableView *table() const { return m_table; }
    DeckTextField *pathField() const { return m_path; }
    IconButton *upButton() const { return m_up; }
    IconButton *jumpButton() const { return m_jump; }
    IconButton *chooseButton() const { return m_choose; } // null on the device side
    IconButton *refreshButton() const { return m_refresh; }
    QWidget *actionBar() const { return m_actions; }
    DeckButton *newFolderButton() const { return m_newFolder; }
    DeckButton *renameButton() const { return m_rename; }
    DeckButton *deleteButton() const { return m_delete; }
    DeckCheckbox *hiddenToggle() const { return m_hidden; }       // null on the device side
    DeckText *selectionCount() const { return m_count; }        // null on the computer's side
    DeckEmptyState *emptyState() const { return m_empty; }      // null while rows show
    QString title() const;
    Tone titleTone() const;

    // The context menu of the table as it would open now (the caller owns it).
    QMenu *makeContextMenu();
    // Opens the entry shown at `row` when the side allows it.
    void openRow(int row);
    // The column of modification times is hidden in compact windows.
    void setCompact(bool compact);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildTitle();
    QWidget *buildPathBar();
    QWidget *buildActionBar();
    void refreshControls();
    void refreshEmptyState();
    void applySelection();
    void takeSelection();
    void chooseFolder();
    const QSet<QString> &selection() const;
    bool deviceUsable() const;

    FileManagerState *m_state;
    DeviceFileManagerModel *m_model;
    AppModel *m_app;
    FileManagerSide m_side;
    QAbstractItemModel *m_rows;
    QWidget *m_title = nullptr;
    FileTableView *m_table = nullptr;
    DeckTextField *m_path = nullptr;
    IconButton *m_up = nullptr;
    IconButton *m_jump = nullptr;
    IconButton *m_choose = nullptr;
    IconButton *m_refresh = nullptr;
    QWidget *m_actions = nullptr;
    DeckButton *m_newFolder = nullptr;
    DeckButton *m_rename = nullptr;
    DeckButton *m_delete = nullptr;
    DeckCheckbox *m_hidden = nullptr;
    DeckText *m_count = nullptr;
    QPointer<DeckEmptyState> m_empty;
    QString m_emptyKey;
    bool m_syncing = false;
};
