#pragma once

#include <QColor>
#include <QPointer>
#include <QWidget>

#include <functional>

// A widget cannot paint outside its own rect, so a control whose shadow spills out gets this
// sibling: it sits just below the control in the stacking order, follows its geometry and
// paints the (cached) blurred shadow the control describes. The control calls update() on it
// when its shadow changes.
class DropShadowUnderlay : public QWidget {
    Q_OBJECT
public:
    struct Shadow {
        QColor color = QColor(0, 0, 0, 0); // transparent: nothing drawn
        qreal blur = 0;
        qreal y = 0;
        qreal radius = 0; // corner radius of the control's shape
        qreal scale = 1;  // the control's press scale
    };
    using Provider = std::function<Shadow()>;

    // Attaches to `target` (which must have a parent); deleted with it.
    DropShadowUnderlay(QWidget *target, Provider provider);

    static constexpr int kMargin = 24;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void follow();

    QPointer<QWidget> m_target;
    Provider m_provider;
};
