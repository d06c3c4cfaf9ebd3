#pragma once

#include "screens/packages/DebloatState.h"
#include "screens/packages/DebloatView.h"
#include "screenkit/ScreenMemory.h"

#include "../shell/ShellHarness.h"
#include "../shell/UiTestSupport.h"

#include <QAbstractItemModelTester>

#include <memory>

namespace debloat_test {

inline const QString kDevice = QStringLiteral("R58N12ABCDE");
constexpr qint64 MB = 1'000'000;

// A package as the catalogue holds it after the metadata program answered.
inline AndroidPackage pkg(const QString &name, const QString &label, std::optional<qint64> size,
                          PackageKind kind = PackageKind::system, PackageState state = PackageState::enabled)
{
    AndroidPackage p(name, QStringLiteral("/system/app/") + name + QStringLiteral(".apk"), kind,
                     PackageMetadata{name, label, size.value_or(0), std::nullopt}, state);
    p.apkSize = size;
    return p;
}

// Verdicts from the built-in catalogue: the vendor analytics and ad packages are safe, unknown
// system packages are to review, NFC, the file picker and Play are advanced, Settings, Bluetooth
// and the keychain are critical.
inline QList<AndroidPackage> catalogue()
{
    return {
        pkg(QStringLiteral("com.vendor.analytics"), QStringLiteral("Аналитика"), 50 * MB),
        pkg(QStringLiteral("com.vendor.adservice"), QStringLiteral("Реклама"), std::nullopt),
        pkg(QStringLiteral("com.maker.mystery"), QStringLiteral("Загадка"), 90 * MB),
        pkg(QStringLiteral("com.maker.widgets"), QStringLiteral("Виджеты"), 12 * MB),
        pkg(QStringLiteral("com.android.nfc"), QStringLiteral("NFC"), 4 * MB),
        pkg(QStringLiteral("com.android.documentsui"), QStringLiteral("Файлы"), 6 * MB),
        pkg(QStringLiteral("com.android.vending"), QStringLiteral("Play Маркет"), 80 * MB),
        pkg(QStringLiteral("com.android.settings"), QStringLiteral("Настройки"), 30 * MB),
        pkg(QStringLiteral("com.android.bluetooth"), QStringLiteral("Bluetooth"), 9 * MB),
        pkg(QStringLiteral("com.android.keychain"), QStringLiteral("Ключи"), 1 * MB),
        pkg(QStringLiteral("com.user.game"), QStringLiteral("Игра"), 10 * MB, PackageKind::user),
        pkg(QStringLiteral("com.vendor.analytics.off"), QStringLiteral("Выключено"), 70 * MB, PackageKind::system,
            PackageState::disabled),
    };
}

// The model on the fake adb with one ready device and the catalogue above, and a Debloat
// screen over it in a window.
struct DebloatFixture {
    ShellHarness h;
    ScreenMemory memory;
    std::unique_ptr<DebloatView> view;

    explicit DebloatFixture(bool withPackages = true)
    {
        h.connect(QStringLiteral("device"), kDevice);
        if (withPackages)
            h->packages.set(catalogue());
        view = std::make_unique<DebloatView>(h.model.get(), &memory);
        view->resize(1100, 820);
        view->show();
        settle();
    }

    DebloatState *state() const { return view->state(); }

    // The package names of the rows in list order, headers as "#category".
    QStringList lines() const
    {
        QStringList out;
        for (const DebloatEntry &e : state()->entries())
            out << (e.kind == DebloatEntry::Kind::header ? QStringLiteral("#") + e.category : e.item.package.name);
        return out;
    }

    QList<QStringList> callsWith(const QString &word) const
    {
        QList<QStringList> out;
        for (const QStringList &call : h.fake.calls())
            if (call.contains(word))
                out << call;
        return out;
    }
};

} // namespace debloat_test
