#include "SyntheticCatalogue.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

QList<AndroidPackage> syntheticCatalogue()
{
    static const char16_t *words[] = {u"Камера", u"Галерея", u"Заметки", u"Погода", u"Music", u"Files",
                                      u"Browser", u"Карты", u"clock", u"Mail", u"Сообщения", u"Shop"};
    static const char *vendors[] = {"com.android.", "com.google.android.apps.", "com.miui.", "org.example.",
                                    "com.samsung.android.", "ru.bank."};
    QRandomGenerator rng(42);
    QList<AndroidPackage> list;
    for (int i = 0; i < 5000; ++i) {
        const QString name = QString::fromLatin1(vendors[i % 6]) + QStringLiteral("app") + QString::number(i);
        const QString label = QString::fromUtf16(words[rng.bounded(12)]) + QLatin1Char(' ') + QString::number(rng.bounded(100000));
        const PackageState state = i % 10 == 0 ? PackageState::disabled
            : i % 17 == 0                      ? PackageState::removedForUser
                                               : PackageState::enabled;
        list.append(AndroidPackage(name, QStringLiteral("/data/app/base.apk"),
                                   i % 3 == 0 ? PackageKind::user : PackageKind::system,
                                   PackageMetadata{name, label, qint64(rng.bounded(50'000'000)), std::nullopt}, state));
    }
    return list;
}

QList<AndroidPackage> syntheticCatalogueWithIcons()
{
    QList<AndroidPackage> list = syntheticCatalogue();
    // 64 distinct pictures; every package still decodes its own (the cache is by name).
    QList<QByteArray> icons;
    for (int k = 0; k < 64; ++k) {
        QImage image(112, 112, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(QColor::fromHsv(k * 360 / 64, 180, 220));
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(QRectF(4, 4, 104, 104), 26, 26);
        p.end();
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        icons << bytes;
    }
    for (qsizetype i = 0; i < list.size(); ++i)
        list[i].iconData = icons[i % icons.size()];
    return list;
}
