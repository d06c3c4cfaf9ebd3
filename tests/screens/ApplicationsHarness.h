#pragma once

#include "screens/packages/AppIconCache.h"
#include "screens/packages/ApplicationsState.h"
#include "screens/packages/ApplicationsView.h"
#include "screenkit/ScreenMemory.h"

#include "../shell/ShellHarness.h"
#include "../shell/UiTestSupport.h"

#include <QBuffer>
#include <QImage>
#include <QMenu>

#include <memory>
#include <ostream>

inline const QString kSerial = QStringLiteral("R58N12ABCDE");

// A package as the catalogue holds it after the metadata program answered.
inline AndroidPackage package(const QString &name, const QString &label, PackageKind kind = PackageKind::user,
                              PackageState state = PackageState::enabled, std::optional<qint64> size = 1'500'000,
                              std::optional<QByteArray> icon = std::nullopt)
{
    AndroidPackage p(name, QStringLiteral("/data/app/") + name + QStringLiteral("/base.apk"), kind,
                     PackageMetadata{name, label, size.value_or(0), icon}, state);
    p.apkSize = size;
    return p;
}

// PNG bytes of a square in one colour.
inline QByteArray pngBytes(QColor color, int side = 112)
{
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// Six packages of every kind, state and risk: three user ("Альфа", "Бета", "Гамма"), three system.
inline QList<AndroidPackage> samplePackages()
{
    return {
        package(QStringLiteral("com.example.alpha"), QStringLiteral("Альфа"), PackageKind::user, PackageState::enabled,
                12'000'000, pngBytes(Qt::red)),
        package(QStringLiteral("com.example.beta"), QStringLiteral("Бета"), PackageKind::user, PackageState::disabled, 800'000),
        package(QStringLiteral("com.example.gamma"), QStringLiteral("Гамма"), PackageKind::user, PackageState::enabled,
                std::nullopt),
        package(QStringLiteral("com.android.systemui"), QStringLiteral("System UI"), PackageKind::system),
        package(QStringLiteral("com.facebook.appmanager"), QStringLiteral("Facebook App Manager"), PackageKind::system,
                PackageState::removedForUser, std::nullopt),
        package(QStringLiteral("com.google.android.youtube"), QStringLiteral("YouTube"), PackageKind::system,
                PackageState::enabled, 90'000'000),
    };
}

// The Applications screen over a model whose ready device holds `packages` (no adb call made to
// get there), in a window of `size`; motion reduced, dark scheme.
struct AppsHarness : ShellHarness {
    ScreenMemory memory;
    std::unique_ptr<QWidget> window;
    ApplicationsView *view = nullptr;

    explicit AppsHarness(const QList<AndroidPackage> &packages = samplePackages(), QSize size = QSize(1280, 820))
    {
        AppIconCache::shared().reset();
        listDevices({device(kSerial)}, kSerial);
        model->packages.set(packages);
        build(size);
    }

    void build(QSize size)
    {
        window = std::make_unique<QWidget>();
        view = new ApplicationsView(model.get(), settings.get(), &memory, window.get());
        window->resize(size);
        view->resize(size);
        window->show();
        settle();
    }

    // Lets catalogue refreshes (which follow every batch) list the sample packages again.
    void serveCatalogue()
    {
        const QStringList list = S({"-s", "R58N12ABCDE", "shell", "pm", "list", "packages"});
        fake.on(list + S({"-f", "-3"}), {.out = QStringLiteral("package:/a.apk=com.example.alpha\n"
                                                               "package:/b.apk=com.example.beta\n"
                                                               "package:/c.apk=com.example.gamma\n")});
        fake.on(list + S({"-f", "-s"}), {.out = QStringLiteral("package:/s.apk=com.android.systemui\n"
                                                               "package:/y.apk=com.google.android.youtube\n")});
        fake.onPrefix(list + S({"-d"}), {.out = QStringLiteral("package:com.example.beta\n")});
        fake.onPrefix(list + S({"-u"}), {.out = QStringLiteral("package:com.facebook.appmanager\n")});
    }

    ApplicationsState &state() { return *view->state(); }
    // Rows as the list shows them now.
    QStringList shownNames()
    {
        state().refreshNow();
        QStringList names;
        for (const PackageRow &row : state().rows())
            names << row.package.name;
        return names;
    }
    // The calls of the fake adb that act on packages (the actions, launch and force stop), in order.
    QList<QStringList> packageCommands() const
    {
        static const QList<QStringList> commands{
            S({"pm", "disable-user"}), S({"pm", "enable"}), S({"pm", "uninstall"}), S({"pm", "clear"}),
            S({"cmd", "package", "install-existing"}), S({"monkey"}), S({"am", "force-stop"})};
        QList<QStringList> picked;
        for (const QStringList &call : fake.calls()) {
            if (call.size() < 4 || call[2] != QStringLiteral("shell"))
                continue;
            for (const QStringList &command : commands)
                if (call.mid(3, command.size()) == command)
                    picked << call;
        }
        return picked;
    }
};

// The action of `menu` (or one of its submenus) with this text.
inline QAction *menuAction(QMenu *menu, const QString &text)
{
    for (QAction *action : menu->actions()) {
        if (action->text() == text)
            return action;
        if (action->menu())
            if (QAction *inner = menuAction(action->menu(), text))
                return inner;
    }
    return nullptr;
}

// Texts of a menu's items in order, separators as "—", sections as "[title]".
inline QStringList menuTexts(QMenu *menu)
{
    QStringList texts;
    for (QAction *action : menu->actions()) {
        if (action->isSeparator())
            texts << (action->text().isEmpty() ? QStringLiteral("—") : QLatin1Char('[') + action->text() + QLatin1Char(']'));
        else
            texts << action->text();
    }
    return texts;
}
