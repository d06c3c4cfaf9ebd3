#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QWidget>

// Two large, soft, coloured glows behind a screen's content, added with the plus blend.
// The blurred glows are rendered once per size, colours and intensity and reused.
class AuroraBackdrop : public QWidget {
    Q_OBJECT
public:
    AuroraBackdrop(const QColor &tint, const QColor &secondary, double intensity = 1.0, QWidget *parent = nullptr);

    void setColors(const QColor &tint, const QColor &secondary);
    void setIntensity(double intensity);

    // Geometry of a glow for a backdrop of `size`: the ellipse (centred, then offset) and the
    // end radius of its gradient.
    struct Glow {
        QRectF ellipse;
        qreal gradientRadius;
        qreal blur;
    };
    static Glow firstGlow(const QSizeF &size);
    static Glow secondGlow(const QSizeF &size);
    // Paints the backdrop into `rect` (used by widgets that draw it themselves).
    static void paint(QPainter &painter, const QRectF &rect, const QColor &tint, const QColor &secondary,
                      double intensity);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_tint;
    QColor m_secondary;
    double m_intensity;
};
