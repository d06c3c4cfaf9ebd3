#pragma once

#include "bridge/AndroidPackage.h"
#include "core/ListModelAdapter.h"
#include "core/Observable.h"
#include "core/PublishedList.h"

#include <QWidget>

class AppModel;
class DeckButton;
class DeckEmptyState;
class DeckSearchField;
class PaddedListView;
class PermissionManagerContent;
class ScreenHeader;
class ScreenMemory;
class QStackedLayout;

// What the Permissions screen keeps across rebuilds: the picker's search text and the packages
// it lists.
class PermissionsState : public Observable {
    Q_OBJECT
public:
    explicit PermissionsState(QObject *parent = nullptr);

    Published<QString> pickerQuery{this};
    PublishedList<AndroidPackage> matches{this};
    ListModelAdapter<AndroidPackage> *listModel() const { return m_listModel; }

private:
    ListModelAdapter<AndroidPackage> *m_listModel;
};

// The permissions route: a picker of packages while none is open, else the permission manager
// of the open package inline under the header (without its own header or close button).
class PermissionsView : public QWidget {
    Q_OBJECT
public:
    PermissionsView(AppModel *model, ScreenMemory *memory, QWidget *parent = nullptr);

    // Whether the picker lists `package` for `query`: with an empty query (spaces and tabs
    // trimmed) the user's packages; else any package whose label or name holds the query,
    // ignoring case.
    static bool matches(const AndroidPackage &package, const QString &query);
    static QString subtitle(const std::optional<AndroidPackage> &package);

    ScreenHeader *header() const { return m_header; }
    DeckButton *otherAppButton() const { return m_other; }
    DeckSearchField *searchField() const { return m_search; }
    PaddedListView *pickerList() const { return m_list; }
    PermissionsState *state() const { return m_state; }
    DeckEmptyState *emptyState() const { return m_empty; } // null unless the picker is empty
    PermissionManagerContent *manager() const { return m_manager; } // null while the picker shows
    QWidget *picker() const { return m_picker; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildPicker();
    void refreshMatches();
    void showPackage();
    void open(const QModelIndex &index);

    AppModel *m_model;
    PermissionsState *m_state;
    ScreenHeader *m_header = nullptr;
    DeckButton *m_other = nullptr;
    QStackedLayout *m_stack = nullptr;
    QWidget *m_picker = nullptr;
    DeckSearchField *m_search = nullptr;
    QWidget *m_listArea = nullptr;
    PaddedListView *m_list = nullptr;
    QWidget *m_emptyCover = nullptr;
    DeckEmptyState *m_empty = nullptr;
    PermissionManagerContent *m_manager = nullptr;
};
