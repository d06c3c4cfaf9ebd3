#include "ToastStack.h"

#include "core/AppModel.h"
#include "design/Accessibility.h"
#include "design/Motion.h"
#include "design/ToastView.h"
#include "design/Tokens.h"
#include "design/Transition.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

// What is left of a card while it leaves: its picture, shrinking to 0.96 around its centre
// while it fades.
class LeavingCard : public QWidget {
public:
    LeavingCard(const QPixmap &picture, QWidget *parent) : QWidget(parent), m_picture(picture)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    void setProgress(qreal t)
    {
        m_t = t;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.setOpacity(1 - m_t);
        const qreal scale = 1 - 0.04 * m_t;
        p.translate(width() / 2.0, height() / 2.0);
        p.scale(scale, scale);
        p.translate(-width() / 2.0, -height() / 2.0);
        p.drawPixmap(rect(), m_picture);
    }

private:
    QPixmap m_picture;
    qreal m_t = 0;
};

} // namespace

ToastStack::ToastStack(AppModel *model, QWidget *parent) : QWidget(parent), m_model(model)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    model->observe(model->toasts, this, [this] { sync(); });
    sync();
}

QList<ToastView *> ToastStack::cards() const
{
    QList<ToastView *> list;
    for (const QUuid &id : m_order)
        if (ToastView *card = m_cards.value(id))
            list << card;
    return list;
}

void ToastStack::place(const QSize &hostSize)
{
    m_hostSize = hostSize;
    const QMarginsF shadow = ToastView::shadowMargins();
    const int cardWidth = int(ToastView::kCardWidth + shadow.left() + shadow.right());
    const int right = hostSize.width() - int(Space::l) + int(shadow.right());
    const int top = int(Space::l + Space::xl - shadow.top());
    int height = 0;
    for (ToastView *card : cards())
        height += card->height() + int(Space::s);
    height = std::max(height, 1) + int(shadow.bottom());
    // The shadow may reach above the window's edge; only the card keeps the inset.
    setGeometry(right - cardWidth, top, cardWidth, std::max(1, std::min(height, hostSize.height() - top)));
}

void ToastStack::sync()
{
    const bool animated = Motion::resolve(Motion::snap(), A11y::reduceMotion()).has_value() && isVisible();
    const QList<ToastMessage> toasts = m_model->toasts();
    QList<QUuid> order;
    for (const ToastMessage &toast : toasts)
        order << toast.id;

    for (const QUuid &id : std::as_const(m_order)) {
        if (!order.contains(id)) {
            if (ToastView *card = m_cards.take(id))
                depart(card, animated);
        }
    }
    for (const ToastMessage &toast : toasts) {
        if (m_cards.contains(toast.id))
            continue;
        auto *card = new ToastView(toast, this);
        card->setCursor(Qt::PointingHandCursor);
        card->installEventFilter(this);
        m_cards.insert(toast.id, card);
    }
    m_order = order;
    setAttribute(Qt::WA_TransparentForMouseEvents, toasts.isEmpty());
    place(m_hostSize.isValid() ? m_hostSize : (parentWidget() ? parentWidget()->size() : size()));
    arrange(animated);
    raise();
}

void ToastStack::arrange(bool animated)
{
    const std::optional<Animation> motion = animated ? std::optional(Motion::snap()) : std::nullopt;
    const char *const resting = "kestrelRestingPos";
    int y = 0;
    for (ToastView *card : cards()) {
        const QPoint target(0, y);
        y += card->height() + int(Space::s);
        if (!card->isVisible()) {
            // A new card: in from the trailing edge, fading in.
            card->setProperty(resting, target);
            card->show();
            Transition::run(card, motion,
                            {.opacity = std::pair(0.0, 1.0),
                             .position = std::pair(target + QPoint(card->width(), 0), target)});
            continue;
        }
        if (card->property(resting).toPoint() == target)
            continue;
        card->setProperty(resting, target);
        Transition::run(card, motion, {.position = std::pair(card->pos(), target)});
    }
}

void ToastStack::depart(ToastView *card, bool animated)
{
    if (animated) {
        auto *ghost = new LeavingCard(card->grab(), this);
        ghost->setGeometry(card->geometry());
        ghost->show();
        Transition::run(ghost, Motion::snap(), {},
                        {.step = [ghost](qreal t) { ghost->setProgress(t); }, .done = [ghost] { ghost->deleteLater(); }});
    }
    delete card;
}

bool ToastStack::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        auto *card = qobject_cast<ToastView *>(watched);
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (card && mouse->button() == Qt::LeftButton && card->rect().contains(mouse->position().toPoint())) {
            const QUuid id = card->message().id;
            m_model->dismissToast(id); // the card goes through sync()
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
