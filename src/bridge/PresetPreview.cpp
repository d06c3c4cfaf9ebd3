#include "PresetPreview.h"

QList<PresetPackageEntry> PresetPreview::installedEntries() const
{
    QList<PresetPackageEntry> list;
    for (const auto &e : entries)
        if (e.isInstalled())
            list << e;
    return list;
}

QList<PresetPackageEntry> PresetPreview::missingEntries() const
{
    QList<PresetPackageEntry> list;
    for (const auto &e : entries)
        if (!e.isInstalled())
            list << e;
    return list;
}

int PresetPreview::systemCount() const
{
    return int(std::count_if(entries.begin(), entries.end(),
                             [](const auto &e) { return e.kind == PackageKind::system; }));
}

int PresetPreview::userCount() const
{
    return int(std::count_if(entries.begin(), entries.end(),
                             [](const auto &e) { return e.kind == PackageKind::user; }));
}
