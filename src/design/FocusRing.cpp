#include "FocusRing.h"

#include "Ink.h"
#include "Squircle.h"
#include "Theme.h"
#include "Tokens.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QVariant>
#include <QStyleOptionViewItem>
#include <QWidget>

namespace FocusRing {

namespace {

bool &lastInputWasKey()
{
    static bool keyboard = false;
    return keyboard;
}

// The property of a control whose focus a container shows (followChild): the container.
const char *const kContainer = "kestrelFocusRingContainer";

void repaintFocus()
{
    if (QWidget *w = QApplication::focusWidget()) {
        w->update();
        if (QWidget *container = shownBy(w); container != w)
            container->update();
    }
}

// Follows the kind of the last input for the whole application. A change repaints the focused
// control, whose ring comes or goes with it.
class InputFollower : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (!lastInputWasKey()) {
                lastInputWasKey() = true;
                repaintFocus();
            }
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::TouchBegin:
            if (lastInputWasKey()) {
                lastInputWasKey() = false;
                repaintFocus();
            }
            break;
        default:
            break;
        }
        return false;
    }
};

// Rings a view's viewport, over what the view paints, while the view shows its focus and no
// row of it is in sight to show it. A scroll moves the painted pixels and repaints only the strip
// it uncovered, so a paint of part of the viewport while the ring comes, stays or goes asks for
// the whole viewport once more.
class ViewRing : public QObject {
public:
    explicit ViewRing(QAbstractItemView *view) : QObject(view), m_view(view) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Paint || watched != m_view->viewport() || m_painting)
            return false;
        QWidget *viewport = m_view->viewport();
        const bool ring = needed();
        if ((ring || m_ringed) && !(QRegion(viewport->rect()) - static_cast<QPaintEvent *>(event)->region()).isEmpty())
            viewport->update();
        m_ringed = ring;
        if (!ring)
            return false;
        m_painting = true;
        QCoreApplication::sendEvent(viewport, event); // the rows first, the ring over them
        m_painting = false;
        QPainter p(viewport);
        paint(p, QRectF(viewport->rect()), Radius::s);
        return true;
    }

private:
    bool needed() const
    {
        if (!isShown(m_view))
            return false;
        const QModelIndex current = m_view->currentIndex();
        return !current.isValid() || !m_view->visualRect(current).intersects(m_view->viewport()->rect());
    }

    QAbstractItemView *m_view;
    bool m_painting = false;
    bool m_ringed = false;
};

// Rings a container, over what it paints, while a control inside it shows its focus.
class ContainerRing : public QObject {
public:
    ContainerRing(QWidget *container, QWidget *control, qreal radius)
        : QObject(container), m_container(container), m_control(control), m_radius(radius)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_control) {
            if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
                m_container->update();
            return false;
        }
        if (event->type() != QEvent::Paint || m_painting || !isShown(m_control))
            return false;
        m_painting = true;
        QCoreApplication::sendEvent(m_container, event); // the container first, the ring over it
        m_painting = false;
        QPainter p(m_container);
        paint(p, QRectF(m_container->rect()), m_radius);
        return true;
    }

private:
    QWidget *m_container;
    QPointer<QWidget> m_control;
    qreal m_radius;
    bool m_painting = false;
};

void follow()
{
    static QPointer<InputFollower> follower;
    if (follower || !QCoreApplication::instance())
        return;
    follower = new InputFollower(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(follower);
}

} // namespace

QColor color() { return withOpacity(Ink::accent(), Theme::increaseContrast() ? 1.0 : 0.7); }

void paint(QPainter &p, const QRectF &rect, qreal radius)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    const qreal inner = std::max<qreal>(0, radius - Stroke::focus);
    p.setPen(QPen(withOpacity(Ink::canvas(), 0.9), Stroke::hairline));
    p.drawPath(Squircle::strokePath(rect.adjusted(Stroke::focus, Stroke::focus, -Stroke::focus, -Stroke::focus), inner,
                                    Stroke::hairline));
    p.setPen(QPen(color(), Stroke::focus));
    p.drawPath(Squircle::strokePath(rect, radius, Stroke::focus));
    p.restore();
}

bool keyboardInput()
{
    follow();
    return lastInputWasKey();
}

void setKeyboardInput(bool keyboard)
{
    follow();
    if (lastInputWasKey() != keyboard) {
        lastInputWasKey() = keyboard;
        repaintFocus();
    }
}

bool isShown(const QWidget *w) { return w && w->hasFocus() && keyboardInput(); }

void paintIfShown(QPainter &p, const QWidget *w, const QRectF &rect, qreal radius)
{
    if (isShown(w))
        paint(p, rect, radius);
}

bool isShown(const QStyleOptionViewItem &option)
{
    return option.state.testFlag(QStyle::State_HasFocus) && keyboardInput();
}

void followView(QAbstractItemView *view) { view->viewport()->installEventFilter(new ViewRing(view)); }

QWidget *shownBy(QWidget *control)
{
    auto *container = control ? qobject_cast<QWidget *>(control->property(kContainer).value<QObject *>()) : nullptr;
    return container ? container : control;
}

void followChild(QWidget *container, QWidget *control, qreal radius)
{
    auto *ring = new ContainerRing(container, control, radius);
    container->installEventFilter(ring);
    control->installEventFilter(ring);
    control->setProperty(kContainer, QVariant::fromValue<QObject *>(container));
}

void paintRow(QPainter &p, const QStyleOptionViewItem &option, const QRectF &rect, qreal radius)
{
    if (isShown(option))
        paint(p, rect, radius);
}

} // namespace FocusRing
