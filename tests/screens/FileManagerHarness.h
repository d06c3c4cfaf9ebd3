#pragma once

#include "screens/files/FileManagerView.h"
#include "screens/files/FilePane.h"

#include "bridge/ADBService.h"
#include "design/DeckSizeReader.h"

#include "../shell/ShellHarness.h"
#include "FakeDesktop.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

// A file manager screen in a size reader of a given width, bound to the harness's device
// ("R58N12ABCDE", a Pixel 7) whose /sdcard lists `sdcard`, with the computer's pane in a
// temporary "Downloads" holding `localFiles`.
struct FileScreenHarness {
    inline static const QString serial = QStringLiteral("R58N12ABCDE");
    // The scheme the screen is built in (the shell harness starts every test in dark).
    inline static ColorScheme scheme = ColorScheme::dark;

    ShellHarness h;
    FakeDesktop desktop;
    QTemporaryDir home;
    QString downloads = home.path() + QStringLiteral("/Downloads");
    std::unique_ptr<FileManagerState> state;
    std::unique_ptr<DeckSizeReader> reader;
    FileManagerView *view = nullptr;

    struct Entry {
        QString name;
        bool folder = false;
        qint64 size = 2048;
    };

    FileScreenHarness(const QList<Entry> &sdcard, const QStringList &localFiles, int width = 1100,
                      bool connected = true, bool showsHeader = true)
    {
        QDir(home.path()).mkdir(QStringLiteral("Downloads"));
        for (const QString &name : localFiles) {
            if (name.endsWith(QLatin1Char('/'))) {
                QDir(downloads).mkdir(name.chopped(1));
                continue;
            }
            QFile f(downloads + QLatin1Char('/') + name);
            f.open(QIODevice::WriteOnly);
            f.write(QByteArray(1500, 'x'));
        }
        answerListing(QStringLiteral("/sdcard"), sdcard);
        if (connected)
            h.connect(QStringLiteral("device"), serial);
        Theme::apply(scheme, false);
        state = std::make_unique<FileManagerState>(home.path());
        view = new FileManagerView(h.model.get(), state.get(), showsHeader);
        reader = std::make_unique<DeckSizeReader>(view);
        reader->resize(width, 640);
        reader->show();
        settleScreen();
    }

    DeviceFileManagerModel *model() const { return state->model(); }

    void answerListing(const QString &path, const QList<Entry> &entries)
    {
        QByteArray out;
        for (const Entry &e : entries)
            out += QByteArray(e.folder ? "d" : "f") + '\0' + QByteArray::number(e.size) + '\0' + "1700000000" + '\0' +
                   e.name.toUtf8() + '\0';
        h.fake.on({QStringLiteral("-s"), serial, QStringLiteral("shell"), ADBService::deviceListingCommand(path)},
                  {.outBytes = out});
    }

    // Waits until every listing and operation has ended and the screen has caught up.
    void settleScreen()
    {
        EXPECT_TRUE(settleCommands());
        EXPECT_TRUE(waitUntil([&] { return !model()->isBusy(); }));
        settle();
    }
};
