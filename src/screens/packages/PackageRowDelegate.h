#pragma once

#include "bridge/AndroidPackage.h"

#include <QHash>
#include <QPixmap>
#include <QStaticText>
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
        QString shownName;        // the display name as drawn (ShownText::line), elided to fit
        QString shownPackageName; // the same, elided in the middle
        const QStaticText *nameText = nullptr;
        const QStaticText *packageNameText = nullptr;
    };
    Layout layout(const QRect &rect, const AndroidPackage &package) const;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

    static constexpr qreal kSizeBoxWidth = 68;
    static constexpr qreal kGearSize = 8;

private:
    // Text shaped once and drawn from its glyph positions: a row's texts cost a lookup, not a
    // layout, on every repaint. Bounded: emptied when it outgrows a large catalogue.
    class ShapedTexts {
    public:
        explicit ShapedTexts(const QFont &font) : m_font(font) {}
        const QStaticText &operator()(const QString &text);
        const QFont &font() const { return m_font; }

    private:
        QFont m_font;
        QHash<QString, QStaticText> m_texts;
    };
    // Badges and the gear mark, rendered once per look, theme and pixel ratio.
    const QPixmap &badge(int key, const QString &icon, const QString &text, Tone tone, bool outline, qreal dpr) const;
    const QPixmap &gear(qreal dpr) const;
    void forgetTheme() const;
    const QStaticText &sizeText(std::optional<qint64> bytes) const;
    // Fits `text` into `room`, eliding at `mode` (elided forms are remembered too).
    const QStaticText &fitted(ShapedTexts &texts, const QString &text, qreal room, Qt::TextElideMode mode) const;

    ApplicationsState *m_state;
    ListDensity m_density = ListDensity::regular;
    bool m_showRisk = true;
    mutable ShapedTexts m_names;
    mutable ShapedTexts m_mono;
    mutable QHash<int, QPixmap> m_badges;
    mutable QHash<qint64, QString> m_sizes;
    mutable QPixmap m_gear;
    mutable QString m_theme;
    mutable qreal m_dpr = 0;
};
