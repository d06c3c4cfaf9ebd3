#include "CanvasCover.h"

#include "Ink.h"

#include <QPainter>

void CanvasCover::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Ink::canvas());
}
