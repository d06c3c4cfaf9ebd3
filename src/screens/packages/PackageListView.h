#pragma once

#include "PaddedListView.h"

#include <QPointer>

class AppModel;
class ApplicationsState;
class PackageRowDelegate;

// The Applications list: one painted row per displayed package. Its selection mirrors the
// model's set of selected package names, which also holds names the filters hide: clicking,
// modifier clicks and keys change the set as they change the view's selection (a plain click
// starts a new selection, hidden names included; a modifier click adds or removes one row and
// keeps the rest), and a set changed elsewhere is shown here. A right click never changes the
// selection: it asks for the row's context menu.
class PackageListView : public PaddedListView {
    Q_OBJECT
public:
    PackageListView(AppModel *model, ApplicationsState *state, QWidget *parent = nullptr);

    PackageRowDelegate *rowDelegate() const { return m_delegate; }
    // Shows the model's set in the view.
    void syncSelectionFromModel();
    // The rect of a displayed package's row in viewport coordinates (empty when not displayed).
    QRect rowRect(const QString &packageName) const;

Q_SIGNALS:
    void contextMenuRequested(const QString &packageName, const QPoint &globalPos);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void selectionEdited(const QItemSelection &selected, const QItemSelection &deselected);

    AppModel *m_model;
    ApplicationsState *m_state;
    PackageRowDelegate *m_delegate;
    bool m_syncing = false;
};
