#pragma once

#include "RawValue.h"
#include "Tone.h"

// How risky it is to disable or remove a package, ordered safe < review < advanced < critical.
enum class RemovalRisk { safe = 0, review = 1, advanced = 2, critical = 3 };
inline int rawValue(RemovalRisk risk) { return int(risk); }
std::optional<RemovalRisk> removalRiskFromRawValue(int raw);
QString title(RemovalRisk risk);
QString shortTitle(RemovalRisk risk);
QString icon(RemovalRisk risk);
Tone tone(RemovalRisk risk);
QString explanation(RemovalRisk risk);
template <> QList<RemovalRisk> allCases<RemovalRisk>();

inline size_t qHash(RemovalRisk risk, size_t seed = 0) noexcept { return ::qHash(int(risk), seed); }
