#include "Hairline.h"

#include "Ink.h"
#include "Tokens.h"

#include <QPainter>

Hairline::Hairline(bool vertical, QWidget *parent) : QWidget(parent), m_vertical(vertical)
{
    if (vertical) {
        setFixedWidth(int(Stroke::hairline));
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    } else {
        setFixedHeight(int(Stroke::hairline));
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void Hairline::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Ink::stroke());
}
