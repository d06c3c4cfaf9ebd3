#include "DebloatState.h"

#include "bridge/Bytes.h"
#include "design/ShownText.h"

DebloatState::DebloatState(QObject *parent) : Observable(parent)
{
    m_listModel = new ListModelAdapter<DebloatEntry>(
        entries,
        [](const DebloatEntry &entry, int, int role) -> QVariant {
            switch (role) {
            case Qt::DisplayRole:
                return entry.kind == DebloatEntry::Kind::header ? entry.category : entry.item.package.displayName;
            case Qt::AccessibleTextRole:
                return accessibilityLabel(entry);
            default:
                return {};
            }
        },
        this);
}

void DebloatState::show(QList<DebloatEntry> next)
{
    const QList<DebloatEntry> &shown = entries();
    bool sameLines = next.size() == shown.size();
    for (qsizetype i = 0; sameLines && i < next.size(); ++i)
        sameLines = next.at(i).kind == shown.at(i).kind
            && (next.at(i).kind == DebloatEntry::Kind::header ? next.at(i).category == shown.at(i).category
                                                              : next.at(i).item.package.name
                                                                    == shown.at(i).item.package.name);
    if (!sameLines) {
        entries.set(std::move(next));
        return;
    }
    for (qsizetype i = 0; i < next.size(); ++i)
        if (!next.at(i).looksLike(entries().at(i)))
            entries.edit(i, [&](DebloatEntry &entry) { entry = std::move(next[i]); });
}

int DebloatState::rowOf(const QString &packageName) const
{
    const QList<DebloatEntry> &list = entries();
    for (qsizetype i = 0; i < list.size(); ++i)
        if (list.at(i).kind == DebloatEntry::Kind::row && list.at(i).item.package.name == packageName)
            return int(i);
    return -1;
}

QString DebloatState::accessibilityLabel(const DebloatEntry &entry)
{
    if (entry.kind == DebloatEntry::Kind::header)
        return entry.category + QStringLiteral(", ") + QString::number(entry.count) + QStringLiteral(", ")
            + Bytes::shortText(entry.bytes);
    const DebloatVerdict &v = entry.item.verdict;
    return ShownText::accessible(entry.item.package.displayName) + QStringLiteral(". ") + title(v.risk) + QStringLiteral(". ") + v.summary
        + QStringLiteral(" ") + v.consequence;
}
