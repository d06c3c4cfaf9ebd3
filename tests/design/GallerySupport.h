#pragma once

#include "design/Ink.h"
#include "design/Labels.h"
#include "design/Theme.h"

#include <QDir>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>
#include <QWidget>

// The folder the gallery pictures go to (made when missing).
inline QString galleryFolder()
{
    const QString dir = QStringLiteral(KESTREL_BUILD_DIR) + QStringLiteral("/gallery");
    QDir().mkpath(dir);
    return dir;
}

// The four appearances every gallery page is drawn in.
struct GalleryAppearance {
    ColorScheme scheme;
    bool increaseContrast;
};
inline constexpr GalleryAppearance kGalleryAppearances[] = {
    {ColorScheme::light, false}, {ColorScheme::dark, false}, {ColorScheme::light, true}, {ColorScheme::dark, true}};

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
