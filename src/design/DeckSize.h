#pragma once

#include "bridge/RawValue.h"

#include <QtGlobal>

#include <optional>

// The width class of a window's screen area. Ordered: compact < medium < wide.
enum class DeckSize { compact = 0, medium = 1, wide = 2 };

namespace DeckSizes {
// Below 720 px compact, below 1040 medium, else wide.
DeckSize measuring(qreal width);
bool isCompact(DeckSize size);
// 0, 1, 2; nothing for any other integer.
std::optional<DeckSize> fromRawValue(int raw);
inline int rawValue(DeckSize size) { return int(size); }
} // namespace DeckSizes

inline bool operator<(DeckSize a, DeckSize b) { return int(a) < int(b); }
inline bool operator<=(DeckSize a, DeckSize b) { return int(a) <= int(b); }
inline bool operator>(DeckSize a, DeckSize b) { return int(a) > int(b); }
inline bool operator>=(DeckSize a, DeckSize b) { return int(a) >= int(b); }

QString rawValue(DeckSize size);
template <>
QList<DeckSize> allCases<DeckSize>();
