#pragma once

#include "RawValue.h"

// Semantic colour role shared by records, models and views.
enum class Tone { neutral, accent, success, warning, danger, violet };

QString rawValue(Tone tone);
template <>
QList<Tone> allCases<Tone>();
template <>
std::optional<Tone> fromRawValue<Tone>(const QString &raw);
