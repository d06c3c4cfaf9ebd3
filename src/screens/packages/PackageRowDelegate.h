#pragma once

#include "bridge/AndroidPackage.h"

#include <QHash>
#include <QPixmap>
#include <QStyledItemDelegate>

class ApplicationsState;

// Paints one package row of the Applications list from the design tokens: the icon, the display
// name (with a gear mark for a system package) over the package name, the risk badge, the state
// badge of a package that is not enabled and the size, right-aligned in a 68 px box. Rows are
// the density's height; selected and hovered rows get the interactive surface's background.
class PackageRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    PackageRowDelegate(ApplicationsState *state, QObject *parent = nullptr);

    void setDensity(ListDensity density);
    ListDensity density() const { return m_density; }
    void setShowRisk(bool show);
    bool showsRisk() const { return m_showRisk; }

    // Where each part of a row lies (for painting, tooltips and tests). Empty rects for parts
    // the row does not show.
    struct Layout {
        QRectF background;
        QRectF icon;
        QRectF name;
        QRectF gear;
        QRectF packageName;
        QRectF riskBadge;
        QRectF stateBadge;
        QRectF size;
        QString shownName;        // the display name, elided to fit
        QString shownPackageName; // elided in the middle
    };
    Layout layout(const QRect &rect, const AndroidPackage &package) const;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

    static constexpr qreal kSizeBoxWidth = 68;
    static constexpr qreal kGearSize = 8;

private:
    // A badge rendered once per look, theme and pixel ratio.
    QPixmap badge(const QString &icon, const QString &text, Tone tone, bool outline, qreal dpr) const;

    ApplicationsState *m_state;
    ListDensity m_density = ListDensity::regular;
    bool m_showRisk = true;
    mutable QHash<QString, QPixmap> m_badges;
    mutable QString m_badgeTheme;
};
