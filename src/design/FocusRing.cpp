#include "FocusRing.h"

#include "Ink.h"
#include "Squircle.h"
#include "Theme.h"
#include "Tokens.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QEvent>
#include <QPainter>
#include <QPointer>
#include <QStyleOptionViewItem>
#include <QWidget>

namespace FocusRing {

namespace {

bool &lastInputWasKey()
{
    static bool keyboard = false;
    return keyboard;
}

void repaintFocus()
{
    if (QWidget *w = QApplication::focusWidget())
        w->update();
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

// Paints the ring along an empty view's viewport before the view paints (an empty view paints
// no rows over it).
class EmptyViewRing : public QObject {
public:
    explicit EmptyViewRing(QAbstractItemView *view) : QObject(view), m_view(view) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched == m_view->viewport() && !m_view->currentIndex().isValid()
            && isShown(m_view)) {
            QPainter p(m_view->viewport());
            paint(p, QRectF(m_view->viewport()->rect()), Radius::s);
        }
        return false;
    }

private:
    QAbstractItemView *m_view;
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

void followEmptyView(QAbstractItemView *view) { view->viewport()->installEventFilter(new EmptyViewRing(view)); }

void paintRow(QPainter &p, const QStyleOptionViewItem &option, const QRectF &rect, qreal radius)
{
    if (isShown(option))
        paint(p, rect, radius);
}

} // namespace FocusRing
