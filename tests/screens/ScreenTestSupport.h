#pragma once

// Pictures of screens for a person to look at: <build>/screenshots/<screen>/<name>.png.

#include "design/Accessibility.h"
#include "design/Ink.h"
#include "design/Theme.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QWidget>

// Still pictures in the dark scheme afterwards: animations jump to their end while it lives.
struct ScreenshotGuard {
    ScreenshotGuard() { A11y::setReduceMotion(true); }
    ~ScreenshotGuard()
    {
        Theme::apply(ColorScheme::dark, false);
        A11y::resetForTesting();
    }
};

// The widget as shown, on the window's canvas colour.
inline bool saveScreenshot(QWidget *widget, const QString &screen, const QString &name)
{
    const QString dir = QStringLiteral(KESTREL_BUILD_DIR "/screenshots/") + screen;
    QDir().mkpath(dir);
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
    const qreal dpr = 2;
    QImage image(widget->size() * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Ink::canvas());
    QPainter painter(&image);
    widget->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    painter.end();
    return image.save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}
