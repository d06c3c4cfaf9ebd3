#pragma once

#include <QCollator>
#include <QString>

// The one order of names across the interface (packages, permissions, device files and
// the computer's files): Russian rules, as the whole interface is Russian (Cyrillic before
// Latin, "ё" with "е"), case-insensitive, the same on every machine whatever its locale.
// One collator per thread (collators are not meant to be shared), built once: building one
// is costly.
const QCollator &nameCollator();

// Whether `a` sorts before `b` in that order.
inline bool nameLess(const QString &a, const QString &b)
{
    return nameCollator().compare(a, b) < 0;
}
