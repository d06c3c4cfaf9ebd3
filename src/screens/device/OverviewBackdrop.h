#pragma once

#include <QColor>
#include <QPixmap>
#include <QWidget>

// The ambient light behind the Overview page: the aurora in the link's colour over the top band
// (`bandHeight` px), the faint instrument grid fading out towards the band's foot. Made taller
// than the band, so the glow's blur ends softly instead of at the widget's edge. Repaints only
// when the tint changes.
class OverviewBackdrop : public QWidget {
public:
    OverviewBackdrop(int bandHeight, QWidget *parent);

    void setTint(const QColor &tint);
    QColor tint() const { return m_tint; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Key {
        QSize size;
        qreal ratio = 0;
        QRgb tint = 0;
        QRgb secondary = 0;
        QRgb line = 0;
        bool operator==(const Key &) const = default;
    };
    template <typename Draw> QPixmap layer(qreal ratio, Draw draw) const;

    int m_bandHeight;
    QColor m_tint;
    Key m_key;
    QPixmap m_glow;
    QPixmap m_grid;
};
