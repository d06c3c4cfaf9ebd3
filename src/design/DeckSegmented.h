#pragma once

#include "AnimatedValue.h"

#include <QList>
#include <QRectF>
#include <QVariant>
#include <QWidget>

#include <optional>

// A single-choice segmented control over any value (stored as QVariant; item values must be
// distinct). A sunken 28 px track holds one segment per item, each as wide as its label; the
// selected one carries a raised puck that springs (Motion::snap) to a newly chosen segment.
// A selection that matches no item shows no puck. Tab reaches it, the arrow keys choose.
class DeckSegmented : public QWidget {
    Q_OBJECT
public:
    struct Item {
        QVariant value;
        QString title;
        std::optional<QString> icon;
        std::optional<int> count;
        bool operator==(const Item &) const = default;
    };

    DeckSegmented(const QList<Item> &items, const QVariant &selection, QWidget *parent = nullptr);
    DeckSegmented(const QList<Item> &items, const QVariant &selection, const QString &accessibilityLabelText,
                  QWidget *parent = nullptr);

    QList<Item> items() const { return m_items; }
    void setItems(const QList<Item> &items);
    QVariant selection() const { return m_selection; }
    // Writes the selection as a click does (animated unless reduce motion is on); emits
    // selectionChanged only when it differs.
    void setSelection(const QVariant &value);

    // Geometry, for layout and tests: segment rects in widget coordinates, and the puck's
    // current rect (empty when no segment is selected).
    QList<QRectF> segmentRects() const;
    QRectF puckRect() const;
    int selectedIndex() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    static constexpr qreal kSegmentHeight = 24;
    static constexpr qreal kInset = 2;

Q_SIGNALS:
    void selectionChanged(const QVariant &value);
    // Every click on a segment, also on the selected one.
    void activated(const QVariant &value);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    // Left and Right (Up and Down) choose the neighbouring segment.
    void keyPressEvent(QKeyEvent *event) override;

private:
    qreal segmentWidth(const Item &item) const;

    QList<Item> m_items;
    QVariant m_selection;
    QRectF m_puckFrom;
    QRectF m_puckTo;
    AnimatedValue *m_puck;
};
