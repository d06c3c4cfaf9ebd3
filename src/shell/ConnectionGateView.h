#pragma once

#include <QWidget>

class AppModel;
class AppSettings;

// Placeholder until the real view lands.
class ConnectionGateView : public QWidget {
    Q_OBJECT
public:
    ConnectionGateView(AppModel *model, AppSettings *settings, QWidget *parent = nullptr);

private:
    [[maybe_unused]] AppModel *m_model;
    [[maybe_unused]] AppSettings *m_settings;
};
