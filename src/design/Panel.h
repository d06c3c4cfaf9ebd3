#pragma once

#include "Elevation.h"
#include "Tokens.h"

#include <QImage>
#include <QMarginsF>
#include <QPainter>
#include <QWidget>

enum class PanelKind { raised, sunken, glass, outline };

// The card surface of grouped blocks: fill by kind, shadow by elevation, hairline border and
// specular top edge. The defaults are a raised 15 px panel of low elevation, stroked and lit.
struct PanelStyle {
    PanelKind kind = PanelKind::raised;
    qreal radius = Radius::l;
    Elevation elevation = Elevation::low();
    bool stroked = true;
    bool specular = true;

    bool operator==(const PanelStyle &) const = default;
};

namespace Panel {

// How far the panel's shadow reaches beyond its shape.
QMarginsF shadowMargins(const PanelStyle &style);
// Paints the panel whose shape is `shape`, shadow included (it spills outside `shape` by
// shadowMargins). The whole panel is rendered once per size, style, theme key and pixel
// ratio and then reused, so repainting a panel never blurs.
void paint(QPainter &painter, const QRectF &shape, const PanelStyle &style);
// The cached image paint() draws: the shape at (margins.left, margins.top).
QImage image(const QSizeF &shape, const PanelStyle &style, qreal devicePixelRatio = 1);
// Paints without the cache (what image() renders once).
void paintUncached(QPainter &painter, const QRectF &shape, const PanelStyle &style);

} // namespace Panel

// A container drawn as a panel. The shadow needs room inside the widget, so the panel shape is
// the widget's rect less shadowMargins(), and the layout's contents margins start from there:
// setPadding() adds the caller's inner padding on top.
class DeckPanel : public QWidget {
    Q_OBJECT
public:
    explicit DeckPanel(const PanelStyle &style = {}, QWidget *parent = nullptr);

    const PanelStyle &panelStyle() const { return m_style; }
    void setPanelStyle(const PanelStyle &style);
    // Inner padding between the panel's edge and its content.
    void setPadding(const QMarginsF &padding);
    QRectF panelRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void updateMargins();

    PanelStyle m_style;
    QMarginsF m_padding;
};
