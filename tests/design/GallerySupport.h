#pragma once

#include "design/Ink.h"
#include "design/Labels.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>
#include <QWidget>

// A page of the gallery: the canvas colour of the current theme behind its rows.
class GalleryCanvas : public QWidget {
protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), Ink::canvas());
    }
};

// A titled row of the gallery, added to `column`.
inline QHBoxLayout *galleryRow(QVBoxLayout *column, const QString &title, Qt::Alignment vertical = Qt::AlignVCenter)
{
    column->addWidget(new Eyebrow(title));
    auto *r = new QHBoxLayout;
    r->setSpacing(10);
    r->setAlignment(Qt::AlignLeft | vertical);
    column->addLayout(r);
    return r;
}
