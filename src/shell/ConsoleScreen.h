#pragma once

#include <QWidget>

class AppModel;

// The console route: the console screen over the shared model.
class ConsoleScreen : public QWidget {
    Q_OBJECT
public:
    explicit ConsoleScreen(AppModel *model, QWidget *parent = nullptr);

private:
    [[maybe_unused]] AppModel *m_model;
};
