#pragma once

#include <QPointer>
#include <QWidget>

class AppModel;
class OperationBar;

// The bar of the batch operation in progress, at the bottom centre of the main window: at
// most 460 px wide, 22 px above the bottom edge, never with a stop button. It exists only
// while the model holds a running operation; it slides up on arrival and down on leaving
// (at once with reduce motion).
class OperationOverlay : public QObject {
    Q_OBJECT
public:
    OperationOverlay(AppModel *model, QWidget *host);

    OperationBar *bar() const;
    // Lays the bar out in the host.
    void place();

    static constexpr int kMaxWidth = 460;

private:
    void sync();
    QRect restingGeometry() const;

    AppModel *m_model;
    QWidget *m_host;
    QPointer<OperationBar> m_bar;
};
