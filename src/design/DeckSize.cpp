#include "DeckSize.h"

namespace DeckSizes {

DeckSize measuring(qreal width)
{
    if (width < 720)
        return DeckSize::compact;
    if (width < 1040)
        return DeckSize::medium;
    return DeckSize::wide;
}

bool isCompact(DeckSize size) { return size == DeckSize::compact; }

std::optional<DeckSize> fromRawValue(int raw)
{
    if (raw < 0 || raw > 2)
        return std::nullopt;
    return DeckSize(raw);
}

} // namespace DeckSizes

QString rawValue(DeckSize size) { return QString::number(int(size)); }

template <>
QList<DeckSize> allCases<DeckSize>()
{
    return {DeckSize::compact, DeckSize::medium, DeckSize::wide};
}
