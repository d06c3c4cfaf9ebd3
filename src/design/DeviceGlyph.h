#pragma once

#include "bridge/LinkState.h"

#include <QWidget>

// The still device glyph of the sidebar's device card: in a `size` square, a handset 0.62 ×
// size wide and size high (Ink::surfaceSunken, 1 px border of the state's tone at 0.8) with a
// glowing dot of the tone, 0.17 × size across, at its centre. Uses the state's tone (a connected
// device is success-coloured). Hidden from assistive technology.
class DeviceGlyph : public QWidget {
    Q_OBJECT
public:
    explicit DeviceGlyph(const LinkState &state, qreal size = 22, QWidget *parent = nullptr);

    LinkState state() const { return m_state; }
    void setState(const LinkState &state);
    qreal glyphSize() const { return m_size; }
    QRectF handsetRect() const;
    QRectF dotRect() const;
    QColor toneColor() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    LinkState m_state;
    qreal m_size;
};
