#pragma once

#include "bridge/AndroidPackage.h"
#include "bridge/AppPermission.h"

#include <QWidget>

#include <optional>

class AppModel;
class DeckButton;
class DeckEmptyState;
class DeckSearchField;
class DeckSegmented;
class DeckText;
class DialogPresenter;
class IconButton;
class IndeterminateRing;
class PaddedListView;
class PermissionLines;

// The runtime permissions of one package for user 0: a filter with counts, a search, a reload
// button, the list (placeholder rows while the first read runs, an empty state when nothing is
// listed) and a footer with the status, the number picked and the revoke and grant buttons,
// which ask the model for a confirmation that this view presents. In the sheet it also shows a
// header with the package and a close button. Everything it shows is the model's state.
class PermissionManagerContent : public QWidget {
    Q_OBJECT
public:
    PermissionManagerContent(AppModel *model, AndroidPackage package, bool showsCloseButton, QWidget *parent = nullptr);

    // "Предоставить: N?" with an operation pending, else "Подтвердите изменение".
    static QString confirmationTitle(std::optional<PermissionOperation> operation, int targets);
    static QString confirmationMessage(std::optional<PermissionOperation> operation, const QString &displayName,
                                       int targets);

    const AndroidPackage &package() const { return m_package; }
    bool showsCloseButton() const { return m_showsClose; }
    int horizontalMargin() const;

    QWidget *headerBlock() const { return m_headerBlock; } // null without the close button
    IconButton *closeButton() const { return m_close; }
    QWidget *toolbar() const { return m_toolbar; }
    DeckSegmented *filter() const { return m_filter; }
    DeckSearchField *searchField() const { return m_search; }
    IconButton *reloadButton() const { return m_reload; }
    PaddedListView *list() const { return m_list; }
    PermissionLines *lines() const { return m_lines; }
    // The 8 placeholder rows shown while the first read runs.
    QWidget *loadingPlaceholder() const { return m_loading; }
    DeckEmptyState *emptyState() const { return m_empty; } // null unless shown
    QWidget *footer() const { return m_footer; }
    IndeterminateRing *busyIndicator() const { return m_busy; }
    DeckText *statusLabel() const { return m_status; }
    DeckText *selectedLabel() const { return m_selected; }
    DeckButton *revokeButton() const { return m_revoke; }
    DeckButton *grantButton() const { return m_grant; }
    DialogPresenter *confirmation() const { return m_confirmation; }
    DialogPresenter *errorAlert() const { return m_errorAlert; }

    static constexpr int kPlaceholderRows = 8;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildHeader();
    QWidget *buildToolbar();
    QWidget *buildListArea();
    QWidget *buildFooter();
    void buildDialogs();
    void refresh();
    void showEmptyState(std::optional<std::pair<QString, QString>> texts);
    void placeOverlays();
    void toggle(const QModelIndex &index);

    AppModel *m_model;
    AndroidPackage m_package;
    bool m_showsClose;
    PermissionLines *m_lines;

    QWidget *m_headerBlock = nullptr;
    IconButton *m_close = nullptr;
    QWidget *m_toolbar = nullptr;
    DeckSegmented *m_filter = nullptr;
    DeckSearchField *m_search = nullptr;
    IconButton *m_reload = nullptr;
    QWidget *m_listArea = nullptr;
    PaddedListView *m_list = nullptr;
    QWidget *m_loading = nullptr;
    QWidget *m_emptyCover = nullptr;
    DeckEmptyState *m_empty = nullptr;
    QWidget *m_footer = nullptr;
    IndeterminateRing *m_busy = nullptr;
    DeckText *m_status = nullptr;
    DeckText *m_selected = nullptr;
    DeckButton *m_revoke = nullptr;
    DeckButton *m_grant = nullptr;
    DialogPresenter *m_confirmation = nullptr;
    DialogPresenter *m_errorAlert = nullptr;
    QList<int> m_counts;
};
