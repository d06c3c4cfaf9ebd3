#pragma once

#include "AnimatedValue.h"
#include "Tokens.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

// The hover and selection background of clickable rows and values. Attach it to any widget:
// it paints beneath the widget's own painting (accent fill and border when selected, the
// hover fill while the pointer is over it) and follows the pointer, eased by Motion::quick.
class InteractiveSurface : public QObject {
    Q_OBJECT
public:
    explicit InteractiveSurface(QWidget *target, qreal radius = Radius::s);

    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);
    // While disabled, hover changes are ignored (the current flag stays).
    bool isHoverEnabled() const { return m_enabled; }
    void setHoverEnabled(bool enabled);
    bool isHovering() const { return m_hovering; }
    // Sets the hover flag as a pointer event would (also used by previews and tests).
    void setHovering(bool hovering);
    qreal radius() const { return m_radius; }

    // Paints the surface into `rect` (what the attached widget gets automatically).
    void paint(QPainter &painter, const QRectF &rect) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> m_target;
    qreal m_radius;
    bool m_selected = false;
    bool m_enabled = true;
    bool m_hovering = false;
    AnimatedValue *m_hover;
};
