#pragma once

#include "core/AppRoute.h"
#include "design/AnimatedValue.h"

#include <QAbstractButton>

#include <optional>

class AppModel;
class KeyHint;

// One route row of the sidebar: selection bar, icon, title and, at the trailing end, the badge
// or (while hovered) the route's ⌘-digit. Pressing it makes the route current; it is never
// disabled, only dimmed while its route needs a device and none is usable.
class SidebarItem : public QAbstractButton {
    Q_OBJECT
public:
    SidebarItem(AppRoute route, AppModel *model, QWidget *parent = nullptr);

    AppRoute route() const { return m_route; }
    std::optional<QString> badge() const { return m_badge; }
    void setBadge(const std::optional<QString> &badge);
    bool isSelected() const { return m_selected; }
    bool isDimmed() const { return m_dimmed; }
    bool isHovering() const { return m_hovering; }
    void setHovering(bool hovering);
    // What the trailing end shows now.
    bool showsBadge() const { return m_badge.has_value(); }
    bool showsKeyHint() const;
    KeyHint *keyHint() const { return m_hint; }
    // The key legend of a route's digit.
    static QString shortcutText(int digit);
    qreal contentOpacity() const { return m_dimmed ? 0.55 : 1.0; }

    // Re-reads the selection and dimming from the model.
    void refresh();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    static constexpr qreal kHeight = 30;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeHint();
    QRectF badgeRect() const;

    AppRoute m_route;
    AppModel *m_model;
    std::optional<QString> m_badge;
    bool m_selected = false;
    bool m_dimmed = false;
    bool m_hovering = false;
    KeyHint *m_hint = nullptr;
    AnimatedValue *m_hover;
};
