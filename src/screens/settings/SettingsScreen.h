#pragma once

#include <QWidget>

class AppModel;
class AppSettings;
class SettingsView;

// The route view of the settings route: the Settings screen and nothing else.
class SettingsScreen : public QWidget {
    Q_OBJECT
public:
    SettingsScreen(AppModel *model, AppSettings *settings, QWidget *parent = nullptr);

    SettingsView *view() const { return m_view; }

private:
    SettingsView *m_view;
};
