#include "PermissionLines.h"

#include "design/ShownText.h"

PermissionLines::PermissionLines(QObject *parent) : Observable(parent)
{
    m_listModel = new ListModelAdapter<PermissionLine>(
        rows,
        [](const PermissionLine &line, int, int role) -> QVariant {
            switch (role) {
            case Qt::DisplayRole:
                return line.permission.displayName();
            case Qt::ToolTipRole:
                return line.permission.name;
            case Qt::AccessibleTextRole:
                return accessibilityLabel(line.permission);
            default:
                return {};
            }
        },
        this);
}

void PermissionLines::show(const QList<AppPermission> &permissions, const QSet<QString> &selection)
{
    QList<PermissionLine> next;
    next.reserve(permissions.size());
    for (const AppPermission &p : permissions)
        next.append(PermissionLine{p, selection.contains(p.name)});
    const QList<PermissionLine> &shown = rows();
    bool sameRows = next.size() == shown.size();
    for (qsizetype i = 0; sameRows && i < next.size(); ++i)
        sameRows = next.at(i).permission.name == shown.at(i).permission.name;
    if (!sameRows) {
        rows.set(std::move(next));
        return;
    }
    for (qsizetype i = 0; i < next.size(); ++i)
        if (!(next.at(i) == rows().at(i)))
            rows.edit(i, [&](PermissionLine &line) { line = std::move(next[i]); });
}

int PermissionLines::rowOf(const QString &name) const
{
    const QList<PermissionLine> &list = rows();
    for (qsizetype i = 0; i < list.size(); ++i)
        if (list.at(i).permission.name == name)
            return int(i);
    return -1;
}

QString PermissionLines::accessibilityLabel(const AppPermission &permission)
{
    QString label = ShownText::accessible(permission.displayName()) + QStringLiteral(", ")
        + (permission.isGranted ? QStringLiteral("предоставлено") : QStringLiteral("запрещено"));
    if (!permission.canChange())
        label += QStringLiteral(", изменение заблокировано системой");
    return label;
}
