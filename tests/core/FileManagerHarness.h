#pragma once

#include "bridge/ADBService.h"
#include "bridge/ShellQuote.h"
#include "core/DeviceFileManagerModel.h"

#include "FakeTool.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

// One entry of a fake device listing.
struct ListedEntry {
    QString name;
    bool folder = false;
    qint64 size = 1;
};

// A file manager model over the fake adb and a temporary home folder (with "Downloads", where
// the computer's pane starts), bound to a device "R58M".
struct FileManagerHarness {
    inline static const QString serial = QStringLiteral("R58M");

    FakeTool fake;
    QTemporaryDir home;
    QString downloads = home.path() + QStringLiteral("/Downloads");
    std::unique_ptr<DeviceFileManagerModel> model;

    FileManagerHarness()
    {
        QDir(home.path()).mkdir(QStringLiteral("Downloads"));
        model = std::make_unique<DeviceFileManagerModel>(home.path());
        fake.setDefault({});
    }

    ADBService adb() const { return ADBService(fake.adbPath()); }

    static QStringList shell(const QString &line, const QString &device = serial)
    {
        return {QStringLiteral("-s"), device, QStringLiteral("shell"), line};
    }
    static QStringList listing(const QString &path, const QString &device = serial)
    {
        return shell(ADBService::deviceListingCommand(path), device);
    }
    static QByteArray records(const QList<ListedEntry> &entries)
    {
        QByteArray out;
        for (const ListedEntry &e : entries)
            out += QByteArray(e.folder ? "d" : "f") + '\0' + QByteArray::number(e.size) + '\0' + "1700000000" + '\0' +
                   e.name.toUtf8() + '\0';
        return out;
    }
    void answerListing(const QString &path, const QList<ListedEntry> &entries, const QString &device = serial)
    {
        fake.on(listing(path, device), {.outBytes = records(entries)});
    }
    void refuseListing(const QString &path, const QString &message)
    {
        fake.on(listing(path), {.err = message, .exit = 1});
    }
    // The check and the push of one upload (the bridge refuses an existing target first).
    static QList<QStringList> pushCalls(const QString &source, const QString &target)
    {
        return {shell(QStringLiteral("if [ -e %1 ] || [ -L %1 ]; then exit 17; fi; exit 0").arg(shellQuote(target))),
                {QStringLiteral("-s"), serial, QStringLiteral("push"), source, target}};
    }
    static QStringList pullCall(const QString &remote, const QString &destination)
    {
        return {QStringLiteral("-s"), serial, QStringLiteral("pull"), remote, destination};
    }

    // Binds the fake device (listing /sdcard as `entries`) and lists both panes.
    void bind(const QList<ListedEntry> &sdcard = {})
    {
        answerListing(QStringLiteral("/sdcard"), sdcard);
        runSync(model->configure(adb(), serial));
    }

    void writeFile(const QString &path, const QByteArray &data = "x") const
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(data);
    }

    QStringList deviceNames() const
    {
        QStringList names;
        for (const DeviceFileItem &item : model->deviceItems())
            names << item.name;
        return names;
    }
    QStringList localNames() const
    {
        QStringList names;
        for (const LocalFileItem &item : model->localItems())
            names << item.name;
        return names;
    }
    // The calls that change something on the device or copy (listings left out).
    QList<QStringList> changeCalls() const
    {
        QList<QStringList> picked;
        for (const QStringList &call : fake.calls())
            if (!(call.size() == 4 && call[3].startsWith(QStringLiteral("cd "))))
                picked << call;
        return picked;
    }
};
