#pragma once

#include "bridge/Resources.h"
#include "core/AppModel.h"

#include "FakeTool.h"
#include "TestSupport.h"

#include <QRegularExpression>

#include <memory>

// A model wired to the fake adb, with no automatic refresh or monitor, that never
// looks at the machine's own tools nor at the build's resources (so no metadata
// program runs unless a test provides one).
struct ModelHarness {
    FakeTool fake;
    TempSettings settings;
    QTemporaryDir noResources;
    std::unique_ptr<AppModel> model;

    explicit ModelHarness(bool autoRefresh = false, std::optional<bool> autoMonitor = false,
                          quint64 intervalNs = AppModel::defaultDeviceMonitorIntervalNanoseconds)
    {
        Resources::setRootForTesting(noResources.path());
        model = std::make_unique<AppModel>(settings.settings.get(), ADBService(fake.adbPath()), autoRefresh,
                                           autoMonitor, intervalNs, ToolSearchEnvironment{});
        // A loaded machine can take longer than a toast's four seconds between an operation
        // and the check of its toast: toasts stay unless a test shortens their life.
        model->toastLifetime = std::chrono::hours(1);
    }
    ~ModelHarness()
    {
        model.reset();
        Resources::setRootForTesting(QString());
    }

    AppModel &operator*() { return *model; }
    AppModel *operator->() { return model.get(); }
};

inline const QStringList devicesArgs{QStringLiteral("devices"), QStringLiteral("-l")};

// The calls among `wanted`, in order: the device and package refreshes that follow a
// workflow run commands of their own, which a test need not follow.
inline QList<QStringList> callsAmong(const FakeTool &fake, const QList<QStringList> &wanted)
{
    QList<QStringList> picked;
    for (const QStringList &call : fake.calls())
        if (wanted.contains(call))
            picked << call;
    return picked;
}

inline QString deviceList(const QStringList &lines)
{
    return QStringLiteral("List of devices attached\n") + lines.join(QLatin1Char('\n')) + QStringLiteral("\n\n");
}

// The log entries without their "[HH:mm:ss] " prefix.
inline QStringList logTexts(const AppModel &model)
{
    static const QRegularExpression prefix(QStringLiteral("^\\[\\d\\d:\\d\\d:\\d\\d\\] "));
    QStringList texts;
    for (QString entry : model.logs())
        texts << entry.remove(prefix);
    return texts;
}

inline AndroidPackage somePackage(const QString &name = QStringLiteral("com.example.app"))
{
    return AndroidPackage(name, QStringLiteral("/data/app/base.apk"), PackageKind::user);
}

// The calls other than the package catalogue's queries (which follow the selection
// of a ready device).
inline QList<QStringList> withoutCatalogueCalls(const QList<QStringList> &calls)
{
    QList<QStringList> result;
    for (const QStringList &call : calls) {
        const bool catalogue = call.size() >= 6 && call[0] == QStringLiteral("-s") && call[2] == QStringLiteral("shell")
            && call[3] == QStringLiteral("pm") && call[4] == QStringLiteral("list");
        if (!catalogue)
            result << call;
    }
    return result;
}

// Lets the catalogue refresh of `serial` succeed with one user package.
inline void serveOnePackage(FakeTool &fake, const QString &serial)
{
    const QStringList list = {QStringLiteral("-s"), serial, QStringLiteral("shell"), QStringLiteral("pm"),
                              QStringLiteral("list"), QStringLiteral("packages")};
    fake.on(list + QStringList{QStringLiteral("-f"), QStringLiteral("-3")},
            {.out = QStringLiteral("package:/data/app/base.apk=com.example.app\n")});
    fake.on(list + QStringList{QStringLiteral("-f"), QStringLiteral("-s")}, {});
    fake.onPrefix(list + QStringList{QStringLiteral("-d")}, {});
    fake.onPrefix(list + QStringList{QStringLiteral("-u")}, {});
}
