#include "ConnectionKind.h"

#include "DeviceText.h"

QString rawValue(ConnectionKind kind)
{
    switch (kind) {
    case ConnectionKind::usb: return QStringLiteral("usb");
    case ConnectionKind::wireless: return QStringLiteral("wireless");
    case ConnectionKind::unknown: return QStringLiteral("unknown");
    }
    return {};
}

QString title(ConnectionKind kind)
{
    switch (kind) {
    case ConnectionKind::usb: return QStringLiteral("USB");
    case ConnectionKind::wireless: return QStringLiteral("Wi-Fi");
    case ConnectionKind::unknown: return QStringLiteral("—");
    }
    return {};
}

QString icon(ConnectionKind kind)
{
    switch (kind) {
    case ConnectionKind::usb: return QStringLiteral("cable.connector");
    case ConnectionKind::wireless: return QStringLiteral("wifi");
    case ConnectionKind::unknown: return QStringLiteral("questionmark");
    }
    return {};
}

template <> QList<ConnectionKind> allCases<ConnectionKind>()
{
    return {ConnectionKind::usb, ConnectionKind::wireless, ConnectionKind::unknown};
}
template <> std::optional<ConnectionKind> fromRawValue<ConnectionKind>(const QString &raw)
{
    return rawValueLookup<ConnectionKind>(raw);
}

ConnectionKind detectConnectionKind(const QString &serial)
{
    // adb lists devices found by service discovery as "adb-<id>._adb-tls-connect._tcp".
    if (serial.contains(QLatin1String("._adb")) || serial.startsWith(QLatin1String("adb-")))
        return ConnectionKind::wireless;
    const QList<QStringView> pieces = QStringView(serial).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    if (pieces.size() == 2 && pieces[0].contains(QLatin1Char('.')) && DeviceText::readInteger(pieces[1]))
        return ConnectionKind::wireless;
    return ConnectionKind::usb;
}
