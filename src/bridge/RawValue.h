#pragma once

#include <QList>
#include <QString>

#include <optional>

// Enumerations with raw values declare, next to the enum:
//   QString rawValue(E);
//   template <> std::optional<E> fromRawValue<E>(const QString &);   (exact, case-sensitive)
//   template <> QList<E> allCases<E>();                                (where listable)
template <typename E>
std::optional<E> fromRawValue(const QString &raw);

template <typename E>
QList<E> allCases();

// Shared implementation of fromRawValue for listable enumerations.
template <typename E>
std::optional<E> rawValueLookup(const QString &raw)
{
    for (E e : allCases<E>())
        if (rawValue(e) == raw)
            return e;
    return std::nullopt;
}
