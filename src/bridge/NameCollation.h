#pragma once

#include <QCollator>
#include <QString>

#include <algorithm>
#include <vector>

// The one order of names across the interface: the computer's and the device's folder
// listings and their tables, permissions and packages. Russian collation (Cyrillic before
// Latin, "ё" with "е"), letter case ignored, digits read as text ("a10" before "a2"), the
// same whatever the machine's locale. One collator per thread, made on first use.
namespace NameCollation {

const QCollator &collator();

// Negative, zero or positive, as `a` sorts before, with or after `b`.
int compare(const QString &a, const QString &b);

// Row order of `count` entries: folders before files, then names by the collation; entries
// that compare equal keep their given order. `isFolder(i)` and `name(i)` read entry i.
// Each name's collation key is computed once, so sorting costs byte comparisons only.
template <typename IsFolder, typename Name>
std::vector<int> displayOrder(int count, IsFolder isFolder, Name name);

} // namespace NameCollation

template <typename IsFolder, typename Name>
std::vector<int> NameCollation::displayOrder(int count, IsFolder isFolder, Name name)
{
    struct Keyed {
        QCollatorSortKey key;
        bool folder;
        int index;
    };
    const QCollator &c = collator();
    std::vector<Keyed> keyed;
    keyed.reserve(size_t(count));
    for (int i = 0; i < count; ++i)
        keyed.push_back({c.sortKey(name(i)), bool(isFolder(i)), i});
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed &a, const Keyed &b) {
        if (a.folder != b.folder)
            return a.folder;
        return a.key.compare(b.key) < 0;
    });
    std::vector<int> order;
    order.reserve(keyed.size());
    for (const Keyed &k : keyed)
        order.push_back(k.index);
    return order;
}
