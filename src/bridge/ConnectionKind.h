#pragma once

#include "RawValue.h"

#include <QString>

// How a device is attached, told from nothing but the form of its serial.
enum class ConnectionKind { usb, wireless, unknown };

QString rawValue(ConnectionKind kind);
QString title(ConnectionKind kind);
QString icon(ConnectionKind kind);
template <> QList<ConnectionKind> allCases<ConnectionKind>();
template <> std::optional<ConnectionKind> fromRawValue<ConnectionKind>(const QString &raw);

// `usb` or `wireless`, never `unknown`: network service names and "host.name:port"
// are wireless, everything else (emulators, localhost, IPv6, plain serials) is usb.
ConnectionKind detectConnectionKind(const QString &serial);
