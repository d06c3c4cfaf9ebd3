#pragma once

#include <QString>

#include <optional>

// Byte counts and month counts as the interface writes them. Sizes count in powers of
// 1000 with the units КБ, МБ and ГБ and a decimal comma: "12 КБ", "1,5 МБ", "3,26 ГБ".
namespace Bytes {

struct Split {
    QString value;
    QString unit;

    bool operator==(const Split &) const = default;
};

// "—" when the count is absent or below 1. (`short` is a C++ keyword.)
QString shortText(std::optional<qint64> bytes);
// The same text cut at its last space: number and unit; ("—", "") for no count.
Split split(std::optional<qint64> bytes);
// "1 месяц", "3 месяца", "11 месяцев".
QString months(qint64 count);

} // namespace Bytes
