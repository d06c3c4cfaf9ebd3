#pragma once

// Pictures of screens for a person to look at: <build>/screenshots/<screen>/<name>.png.

#include "design/Accessibility.h"
#include "design/Ink.h"
#include "design/Theme.h"

#include "GeometryWalk.h"
#include "WidgetTestSupport.h"

#include <QApplication>
#include <QBoxLayout>
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

// The folder for the pictures of `screen` (the screenshots folder itself without one), made
// when missing.
inline QString shotDir(const QString &screen = {})
{
    const QString dir = QStringLiteral(KESTREL_BUILD_DIR "/screenshots") + (screen.isEmpty() ? QString() : QLatin1Char('/') + screen);
    QDir().mkpath(dir);
    return dir;
}

// The two schemes every picture is taken in.
struct Scheme {
    ColorScheme scheme;
    const char *name;
};
inline constexpr Scheme kSchemes[] = {{ColorScheme::dark, "dark"}, {ColorScheme::light, "light"}};

// A window in the canvas colour of the current scheme, holding `content` (when given) edge to edge.
class Canvas : public QWidget {
public:
    explicit Canvas(QWidget *content = nullptr)
    {
        if (!content)
            return;
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(content);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), Ink::canvas());
    }
};

// The widget as shown, on the window's canvas colour.
inline bool saveScreenshot(QWidget *widget, const QString &screen, const QString &name)
{
    const QString dir = shotDir(screen);
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
