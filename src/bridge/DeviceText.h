#pragma once

#include <QString>
#include <QList>
#include <QStringView>

#include <optional>

// Reading rules shared by the parsers of device output.
namespace DeviceText {

// An optional "+" or "-" and one or more ASCII digits, nothing else, within 64 bits.
std::optional<qint64> readInteger(QStringView text);

// A floating-point number as the C library reads it in the C locale ("1e3", "inf",
// "0x1p3"), the whole text consumed and no leading white space.
std::optional<double> readNumber(QStringView text);

// The text without leading and trailing tabs and space separators; line breaks stay.
QStringView trimmed(QStringView text);

// The pieces between runs of white space, empty pieces dropped.
QList<QStringView> fields(QStringView text);

} // namespace DeviceText

// The text with its first user-perceived character upper-cased.
QString capitalizedFirst(const QString &text);
