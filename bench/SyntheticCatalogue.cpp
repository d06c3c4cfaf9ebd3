#include "SyntheticCatalogue.h"

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
