#pragma once

#include "bridge/LinkState.h"

#include <QVariantAnimation>
#include <QWidget>

// The Mac-to-handset picture of a connection state: a Mac on its stand, the connector and
// the handset with the state's icon. Active states light the line and the handset; a dot
// travels along the line while the link is active or being searched for, unless reduce
// motion is on.
class LinkDiagram : public QWidget {
    Q_OBJECT
public:
    explicit LinkDiagram(const LinkState &state, QWidget *parent = nullptr);

    LinkState state() const { return m_state; }
    // Redraws at once; a running dot keeps its pace.
    void setState(const LinkState &state);

    // Wider than LinkState's live set: the recovery, sideload and fastboot modes count.
    static bool isActive(const LinkState &state);
    bool showsDot() const;
    bool isTravelling() const { return m_travel.state() == QAbstractAnimation::Running; }
    // How far along the line the dot is, 0 to 1.
    qreal dotPosition() const { return m_travel.currentValue().toReal(); }
    QColor tint() const;
    QColor handsetStroke() const;
    QColor iconColor() const;

    static constexpr int kHeight = 96;
    static constexpr int kGlowRoom = 14; // the handset glow spills this far
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void updateAccessibleName();

    LinkState m_state;
    QVariantAnimation m_travel;
};
