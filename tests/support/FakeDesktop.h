#pragma once

#include "screenkit/DesktopServices.h"

#include <QList>

// Stands in for the desktop while it lives: choosers answer at once with what the test set
// (nothing: cancelled), and every request, opened path and copied text is kept for asserting.
struct FakeDesktop : DesktopServices {
    QStringList openFilesAnswer;
    std::optional<QString> saveAnswer;
    std::optional<QString> folderAnswer;
    bool openSucceeds = true;

    QList<FileRequest> requests;
    QStringList openedPaths;
    QList<QUrl> openedUrls;
    QStringList copied;

    FakeDesktop() { DesktopServices::install(this); }
    ~FakeDesktop() override { DesktopServices::install(nullptr); }
    FakeDesktop(const FakeDesktop &) = delete;
    FakeDesktop &operator=(const FakeDesktop &) = delete;

    void chooseOpenFiles(QWidget *, const FileRequest &request, bool, std::function<void(QStringList)> done) override
    {
        requests << request;
        done(openFilesAnswer);
    }
    void chooseSaveFile(QWidget *, const FileRequest &request, std::function<void(std::optional<QString>)> done) override
    {
        requests << request;
        done(saveAnswer);
    }
    void chooseFolder(QWidget *, const FileRequest &request, std::function<void(std::optional<QString>)> done) override
    {
        requests << request;
        done(folderAnswer);
    }
    bool openPath(const QString &path) override
    {
        openedPaths << path;
        return openSucceeds;
    }
    bool openUrl(const QUrl &url) override
    {
        openedUrls << url;
        return openSucceeds;
    }
    void copyText(const QString &text) override { copied << text; }
};
