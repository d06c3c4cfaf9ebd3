#pragma once

#include <QHash>
#include <QPointer>
#include <QUuid>
#include <QWidget>

class AppModel;
class ToastView;

// The model's toasts as cards in the top-trailing corner, oldest on top, 8 px apart. A click
// on a card dismisses that toast. Cards slide in from the trailing edge and leave shrinking
// and fading; the others close up. With reduce motion, changes apply at once. The widget is
// sized to its cards, shadows included, and lets every click through: the mouse is taken by
// a sibling of the same geometry masked to the cards' own shapes (a widget's mask would clip
// its shadows too), so a click beside a card, on its shadow or between two cards reaches the
// control beneath.
class ToastStack : public QWidget {
    Q_OBJECT
public:
    explicit ToastStack(AppModel *model, QWidget *parent = nullptr);
    ~ToastStack() override;

    // The cards in display order (leaving ones excluded).
    QList<ToastView *> cards() const;
    // Places the stack in a host of `hostSize`: 16 px from the trailing edge, 38 px from the top.
    void place(const QSize &hostSize);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void sync();
    void arrange(bool animated);
    void depart(ToastView *card, bool animated);
    // Lays the mouse targets over the cards as they stand now.
    void updateTargets();

    AppModel *m_model;
    QPointer<QWidget> m_targets;
    QList<QUuid> m_order;
    QHash<QUuid, QPointer<ToastView>> m_cards;
    QSize m_hostSize;
};
