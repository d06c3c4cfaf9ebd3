#pragma once

#include <QPointer>
#include <QWidget>

class AppModel;
class DeckScreen;
class ScreenHeader;

// The files route: a page titled "Файлы" over the two-pane file manager (without its own
// header).
class FilesScreen : public QWidget {
    Q_OBJECT
public:
    explicit FilesScreen(AppModel *model, QWidget *parent = nullptr);

    // The platform's "two-way exchange between this computer and " + the selected device's name, or "Android".
    static QString subtitle(const AppModel &model);
    QString shownSubtitle() const;

private:
    void rebuildHeader();

    AppModel *m_model;
    DeckScreen *m_page;
    QPointer<ScreenHeader> m_header;
    QString m_subtitle;
};
