#include "ToastStack.h"

#include "core/AppModel.h"
#include "design/Accessibility.h"
#include "design/Motion.h"
#include "design/Squircle.h"
#include "design/ToastView.h"
#include "design/Tokens.h"
#include "design/Transition.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>

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
    // Paints nothing; a sibling, since whatever lies in a mouse-transparent widget is passed over too.
    m_targets = new QWidget(parent ? parent : this);
    m_targets->setObjectName(QStringLiteral("toastTargets"));
    m_targets->setCursor(Qt::PointingHandCursor);
    m_targets->installEventFilter(this);
    model->observe(model->toasts, this, [this] { sync(); });
    sync();
}

ToastStack::~ToastStack() { delete m_targets; }

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
    updateTargets();
}

void ToastStack::updateTargets()
{
    if (!m_targets)
        return;
    m_targets->setGeometry(m_targets->parentWidget() == parentWidget() ? geometry() : rect());
    QRegion shapes;
    for (ToastView *card : cards())
        if (!card->isHidden())
            shapes += QRegion(Squircle::path(card->cardRect().translated(card->pos()), ToastView::panelStyle().radius)
                                  .toFillPolygon()
                                  .toPolygon());
    // An empty mask is no mask: without a card nothing takes the mouse.
    m_targets->setAttribute(Qt::WA_TransparentForMouseEvents, shapes.isEmpty());
    if (!shapes.isEmpty())
        m_targets->setMask(shapes);
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
        card->installEventFilter(this); // its moves move its target
        m_cards.insert(toast.id, card);
    }
    m_order = order;
    place(m_hostSize.isValid() ? m_hostSize : (parentWidget() ? parentWidget()->size() : size()));
    arrange(animated);
    updateTargets();
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

bool ToastStack::event(QEvent *event)
{
    // The targets lie just under the stack, over whatever the stack lies over.
    if (event->type() == QEvent::ZOrderChange && m_targets && m_targets->parentWidget() == parentWidget())
        m_targets->stackUnder(this);
    return QWidget::event(event);
}

bool ToastStack::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_targets) {
        if (event->type() == QEvent::MouseButtonPress)
            return true;
        if (event->type() == QEvent::MouseButtonRelease) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            const QPoint at = mouse->position().toPoint();
            for (ToastView *card : cards()) {
                if (mouse->button() == Qt::LeftButton && card->cardRect().translated(card->pos()).contains(at)) {
                    m_model->dismissToast(card->message().id); // the card goes through sync()
                    return true;
                }
            }
            return true;
        }
    } else if (event->type() == QEvent::Move || event->type() == QEvent::Resize) {
        if (qobject_cast<ToastView *>(watched))
            updateTargets();
    }
    return QWidget::eventFilter(watched, event);
}
