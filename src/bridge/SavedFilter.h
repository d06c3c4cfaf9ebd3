#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QStringList>
#include <QUuid>

// A named snapshot of the Applications list's filters, stored as JSON in the
// preferences. Kind, states and risks stay raw values: whoever applies a filter
// turns them back into filter values.
struct SavedFilter {
    QUuid id = QUuid::createUuid();
    QString name;
    QString query;
    QString kind;
    QStringList states;
    QList<int> risks;

    // Keys id, name, query, kind, states, risks; the id in upper case.
    QJsonObject toJson() const;
    // Every key required with its JSON type; extra keys ignored; the id in either case.
    static std::optional<SavedFilter> fromJson(const QJsonValue &value);

    // The stored array, compact.
    static QByteArray encodeList(const QList<SavedFilter> &filters);
    // Decodes element by element: one malformed filter is skipped, not the whole
    // list. `skipped` (when given) receives how many were left out, so the caller
    // never writes the shorter list back unless the user changed it.
    static QList<SavedFilter> decodeList(const QByteArray &json, int *skipped = nullptr);

    bool operator==(const SavedFilter &) const = default;
};
