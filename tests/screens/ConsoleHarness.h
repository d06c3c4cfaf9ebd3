#pragma once

#include "../shell/ShellHarness.h"
#include "../shell/UiTestSupport.h"

#include "core/ConsoleTranscriptModel.h"
#include "design/DeckSizeReader.h"
#include "screens/console/ConsoleCommandField.h"
#include "screens/console/ConsoleTranscriptView.h"
#include "screens/console/ConsoleView.h"
#include "screens/console/ConsoleViewState.h"
#include "screenkit/ScreenMemory.h"

#include <QFile>
#include <QTemporaryDir>

#include <memory>

inline const QString kConsoleSerial = QStringLiteral("R58N12ABCDE");

// A console screen in a window of its own (a size reader gives it its width class), over a
// model on the fake adb with one ready device.
struct ConsoleScreenHarness {
    ShellHarness h;
    ScreenMemory memory;
    std::unique_ptr<DeckSizeReader> window;
    ConsoleView *view = nullptr;

    explicit ConsoleScreenHarness(QSize size = {1100, 720}, bool withDevice = true)
    {
        if (withDevice)
            h.listDevices({device(kConsoleSerial, QStringLiteral("device"), QStringLiteral("Pixel_7"))}, kConsoleSerial);
        open(size);
    }
    void open(QSize size)
    {
        view = new ConsoleView(h.model.get(), &memory);
        window = std::make_unique<DeckSizeReader>(view);
        window->resize(size);
        window->show();
        settle();
    }
    AppModel *operator->() { return h.model.get(); }
    ConsoleCommandField *field() const { return view->commandField(); }
    ConsoleTranscriptView *transcript() const { return view->transcript(); }

    QStringList shellCall(const QString &command) const
    {
        return {QStringLiteral("-s"), kConsoleSerial, QStringLiteral("shell"), command};
    }
    bool finished() { return waitUntil([this] { return !h.model->consoleIsRunning(); }); }
};

// An adb stand-in that runs the device-shell command with this machine's /bin/sh, so a
// console run streams from a real child: "adb -s SERIAL shell COMMAND".
struct ShellAdb {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("adb"));
    ShellAdb()
    {
        QFile script(path);
        script.open(QIODevice::WriteOnly);
        script.write("#!/bin/sh\nshift 3\nexec /bin/sh -c \"$1\"\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
};
