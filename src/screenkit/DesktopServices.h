#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>

class QWidget;

// What a file chooser asks for. `nameFilters` in Qt's form ("APK (*.apk *.apks)").
struct FileRequest {
    QString title;
    QStringList nameFilters;
    QString acceptLabel;   // the accept button's text, when not the platform's own
    QString suggestedName; // save: the offered file name
    QString defaultSuffix; // save: added to a typed name without one, before asking about replacing
    QString directory;     // where the chooser opens; empty: the platform's choice
    bool showHidden = false;
};

// What the screens ask of the desktop: file choosers, opening files and folders, and the
// clipboard. One instance serves the application; tests install one that answers at once, so no
// test ever waits on a modal dialog.
class DesktopServices {
public:
    virtual ~DesktopServices() = default;

    // Choosers are window-modal and never block: `done` runs later with the choice, or with
    // nothing when the user cancels. A save chooser has asked about replacing an existing file.
    virtual void chooseOpenFiles(QWidget *parent, const FileRequest &request, bool multiple,
                                 std::function<void(QStringList)> done);
    virtual void chooseSaveFile(QWidget *parent, const FileRequest &request,
                                std::function<void(std::optional<QString>)> done);
    virtual void chooseFolder(QWidget *parent, const FileRequest &request,
                              std::function<void(std::optional<QString>)> done);

    // Opens a local file or folder with the desktop's handler; false when it could not.
    virtual bool openPath(const QString &path);
    virtual bool openUrl(const QUrl &url);
    virtual void copyText(const QString &text);

    // The instance in use: the real desktop unless a test installed another.
    static DesktopServices &current();
    // Installs `services` (kept by the caller); nullptr puts the real desktop back.
    static void install(DesktopServices *services);
};
