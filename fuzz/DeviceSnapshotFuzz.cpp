// Feeds arbitrary device output to the probe parser and every derived value.
#include "bridge/Bytes.h"
#include "bridge/DeviceSnapshot.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the decoding: UTF-8 as adb delivers it, or raw UTF-16 so
    // that lone surrogates and every Unicode break character are reachable too.
    QString text;
    if (data[0] & 1)
        text = QString(reinterpret_cast<const QChar *>(data + 1), qsizetype((size - 1) / 2));
    else
        text = QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    const DeviceSnapshot s = DeviceSnapshot::parse(text, QStringLiteral("fuzz:5555"));
    volatile qsizetype sink = 0;
    sink += s.marketingName().size() + s.androidLine().size();
    sink += s.connection() == ConnectionKind::wireless;
    sink += s.hasRoot() + s.hasBattery();
    sink += s.storageProgress().has_value() + s.ramProgress().has_value();
    sink += s.batteryStatusText().value_or(QString()).size() + s.batteryHealthText().value_or(QString()).size();
    sink += s.uptimeText().value_or(QString()).size();
    for (const auto &bytes : {s.storageTotalBytes, s.storageUsedBytes, s.storageFreeBytes, s.ramTotalBytes,
                              s.ramAvailableBytes, s.sdkLevel, s.batteryLevel, s.screenDensity})
        sink += Bytes::shortText(bytes).size() + Bytes::split(bytes).unit.size();
    sink += Bytes::months(s.batteryHealthCode.value_or(0)).size();
    sink += detectConnectionKind(s.model.value_or(QString())) == ConnectionKind::usb;
    (void)sink;
    return 0;
}
