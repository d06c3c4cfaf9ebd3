#pragma once

#include "AndroidPackage.h"
#include "DebloatVerdict.h"

// The fixed rules that rate every package name. Pure and thread-safe.
namespace DebloatCatalog {

constexpr int catalogSize = 85;

// The verdict of the most telling rule for `name`; rules of advanced or critical risk
// win over safer ones. Names no rule covers get a fallback by kind. The reference
// stays valid for the life of the process.
const DebloatVerdict &verdict(const QString &name, PackageKind kind);

// The rules in catalogue order ("exact", "prefix" or "contains"), for inspection.
struct RuleDescription {
    QString pattern;
    QString match;
    DebloatVerdict verdict;
};
QList<RuleDescription> describeRules();

} // namespace DebloatCatalog
