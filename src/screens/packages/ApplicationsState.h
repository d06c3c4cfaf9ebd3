#pragma once

#include "bridge/AndroidPackage.h"
#include "core/ListModelAdapter.h"
#include "core/Observable.h"
#include "core/PublishedList.h"

#include <QHash>
#include <QTimer>

class AppModel;

// One row of the Applications list. Rows are compared by what they show (see sameRows), not
// by their icon bytes, so the list has no equality of its own.
struct PackageRow {
    AndroidPackage package;
};

// What the Applications screen keeps across rebuilds (kept in the window's ScreenMemory): the
// rows the model's search, filters and sort let through, as a list model for the view, and the
// save-filter sheet's state. The rows follow the model's inputs of the displayed list; a burst
// of changes (a saved filter sets four of them) is one update.
class ApplicationsState : public Observable {
    Q_OBJECT
public:
    enum Role { PackageNameRole = Qt::UserRole + 1 };

    explicit ApplicationsState(AppModel *model, QObject *parent = nullptr);

    PublishedList<PackageRow> rows{this};
    Published<bool> showSaveFilter{this, false};
    Published<QString> newFilterName{this};

    QAbstractItemModel *listModel() const { return m_listModel; }
    // The displayed row of a package, or -1.
    int rowOf(const QString &packageName) const { return m_rowOfName.value(packageName, -1); }
    const AndroidPackage &packageAt(int row) const { return rows.at(row).package; }

    // Applies a pending update at once (views about to read the rows, benchmarks).
    void refreshNow();
    bool isRefreshPending() const { return m_pending.isActive(); }

    // Whether two lists show the same rows (names, labels, kinds, states, sizes, icon bytes).
    static bool sameRows(const QList<PackageRow> &a, const QList<AndroidPackage> &b);
    // What assistive technology reads for a row.
    static QString accessibilityLabel(const AndroidPackage &package);

private:
    AppModel *m_model;
    ListModelAdapter<PackageRow> *m_listModel;
    QHash<QString, int> m_rowOfName;
    QTimer m_pending;
};
