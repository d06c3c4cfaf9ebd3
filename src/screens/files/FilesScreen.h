#pragma once

#include <QPointer>
#include <QWidget>

class AppModel;
class DeckScreen;
class FileManagerState;
class FileManagerView;
class ScreenHeader;
class ScreenMemory;

// The files route: a page titled "Файлы" over the two-pane file manager (without its own
// header). Its file manager state lives in the window's screen memory, so folders, selections
// and work in progress survive a rebuilt screen; without a memory the screen keeps its own.
class FilesScreen : public QWidget {
    Q_OBJECT
public:
    explicit FilesScreen(AppModel *model, ScreenMemory *memory = nullptr, QWidget *parent = nullptr);

    FileManagerView *fileManager() const { return m_fileManager; }

    // The platform's "two-way exchange between this computer and " + the selected device's name, or "Android".
    static QString subtitle(const AppModel &model);
    QString shownSubtitle() const;

private:
    void rebuildHeader();

    AppModel *m_model;
    DeckScreen *m_page;
    FileManagerView *m_fileManager;
    QPointer<ScreenHeader> m_header;
    QString m_subtitle;
};
