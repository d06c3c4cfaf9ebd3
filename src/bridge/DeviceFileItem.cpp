#include "DeviceFileItem.h"

#include <QHashFunctions>

size_t qHash(const LocalFileItem &item, size_t seed)
{
    return qHashMulti(seed, item.url, item.name, item.isDirectory, item.size.value_or(-1),
                      item.modifiedAt ? item.modifiedAt->toMSecsSinceEpoch() : 0);
}

size_t qHash(const DeviceFileItem &item, size_t seed)
{
    return qHashMulti(seed, item.path, item.name, item.isDirectory, item.size.value_or(-1),
                      item.modifiedAt ? item.modifiedAt->toMSecsSinceEpoch() : 0, item.undecodableName);
}

QString rawValue(FileManagerSide side)
{
    return side == FileManagerSide::local ? QStringLiteral("local") : QStringLiteral("device");
}

template <> QList<FileManagerSide> allCases<FileManagerSide>()
{
    return {FileManagerSide::local, FileManagerSide::device};
}

template <> std::optional<FileManagerSide> fromRawValue<FileManagerSide>(const QString &raw)
{
    return rawValueLookup<FileManagerSide>(raw);
}
