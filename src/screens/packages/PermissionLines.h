#pragma once

#include "bridge/AppPermission.h"
#include "core/ListModelAdapter.h"
#include "core/Observable.h"
#include "core/PublishedList.h"

#include <QSet>

// One row of the permission manager: the permission and whether the user picked it.
struct PermissionLine {
    AppPermission permission;
    bool isSelected = false;
    bool operator==(const PermissionLine &) const = default;
};

// The rows the permission manager lists, and the list model over them.
class PermissionLines : public Observable {
    Q_OBJECT
public:
    explicit PermissionLines(QObject *parent = nullptr);

    PublishedList<PermissionLine> rows{this};
    ListModelAdapter<PermissionLine> *listModel() const { return m_listModel; }

    // Shows `permissions` with `selection` marked. The same permissions in the same order (a
    // selection toggle) edit only the rows that changed, so the view keeps its place; anything
    // else is one reset.
    void show(const QList<AppPermission> &permissions, const QSet<QString> &selection);
    int rowOf(const QString &name) const;

    // What assistive technology reads for a row.
    static QString accessibilityLabel(const AppPermission &permission);

private:
    ListModelAdapter<PermissionLine> *m_listModel;
};
