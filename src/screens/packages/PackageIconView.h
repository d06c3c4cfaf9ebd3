#pragma once

#include "bridge/AndroidPackage.h"

#include <QWidget>

class QPainter;

// A package's icon wherever a package is shown: the application's own icon when its icon bytes
// decode, otherwise a neutral rounded tile with the glyph of its kind. A package that is not
// enabled is drawn faded (half opacity) and grey. Decoding goes through AppIconCache.
class PackageIconView : public QWidget {
    Q_OBJECT
public:
    PackageIconView(const AndroidPackage &package, qreal size, QWidget *parent = nullptr);

    const AndroidPackage &package() const { return m_package; }
    void setPackage(const AndroidPackage &package);
    qreal iconSide() const { return m_size; }
    // Whether the package's own image is shown now (else the kind tile).
    bool showsImage() const;

    // Draws the icon of `package` `size` × `size`, centred in `square` (what list delegates call).
    static void paint(QPainter &painter, const QRectF &square, const AndroidPackage &package, qreal size);
    // The fallback tile's corner radius and glyph size.
    static qreal tileRadius(qreal size) { return size * 0.24; }
    static qreal glyphSize(qreal size) { return size * 0.45; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    AndroidPackage m_package;
    qreal m_size;
};
