#pragma once

#include "Tokens.h"

#include <QLayout>
#include <QList>
#include <QSizeF>

#include <limits>
#include <optional>

// Places its items left to right at their size hints and starts a new line when the next one
// would pass the available width. A line's first item is always placed, even when wider than
// the width. Items are centred vertically in their line; lines are neither balanced nor
// justified. When a width is offered the layout claims all of it. Hidden items (empty sizes)
// take neither place nor spacing. A flexible space counts as its minimum when lines break and
// then takes what its line leaves of the width (shared when a line holds several), so the items
// after it sit at the line's trailing edge; when the item after it starts a new line, the space
// starts that line too. A divider stands only between two items of one line: where it would
// end or start a line, or follow another divider, the layout hides it (it still counts when
// lines break, so they stay put).
class FlowLayout : public QLayout {
    Q_OBJECT
public:
    explicit FlowLayout(QWidget *parent = nullptr);
    ~FlowLayout() override;

    qreal flowSpacing() const { return m_spacing; }
    qreal lineSpacing() const { return m_lineSpacing; }
    // Space between items of a line and between lines (both Space::s unless set).
    void setFlowSpacing(qreal spacing, qreal lineSpacing);

    struct Line {
        QList<int> indices;
        qreal width = 0;
        qreal height = 0;
        bool operator==(const Line &) const = default;
    };
    // The line breaking on item sizes (pure, for the layout and its tests); `flexible` marks the
    // flexible spaces, `dividers` the dividers (left out of a line they would end or start).
    static QList<Line> lines(const QList<QSizeF> &sizes, qreal maxWidth, qreal spacing,
                             const QList<bool> &flexible = {}, const QList<bool> &dividers = {});
    // Reported size for an offered width (nullopt or infinity: unlimited).
    static QSizeF sizeThatFits(const QList<QSizeF> &sizes, std::optional<qreal> proposedWidth, qreal spacing,
                               qreal lineSpacing, const QList<bool> &flexible = {}, const QList<bool> &dividers = {});
    // Where every item is placed in `bounds`; an item left out of every line gets an empty rectangle.
    static QList<QRectF> place(const QList<QSizeF> &sizes, const QRectF &bounds, qreal spacing, qreal lineSpacing,
                               const QList<bool> &flexible = {}, const QList<bool> &dividers = {});

    // A space of at least `minimum` that widens to push the rest of its line to the trailing edge.
    void addFlexibleSpace(qreal minimum = 0);
    // A widget that widens like a flexible space (a text field filling its line); it counts as
    // its size hint when lines break.
    void addFlexibleWidget(QWidget *widget);
    // A divider between groups of items (a vertical hairline); its visibility is the layout's.
    void addDivider(QWidget *divider);

    void addItem(QLayoutItem *item) override;
    int count() const override;
    QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;
    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect &rect) override;

private:
    QList<QSizeF> itemSizes() const;
    QList<bool> flexibleItems() const;
    QList<bool> dividerItems() const;
    bool isFlexible(QLayoutItem *item) const;

    QList<QLayoutItem *> m_items;
    QList<QLayoutItem *> m_flexibleWidgets;
    QList<QLayoutItem *> m_dividers;
    qreal m_spacing = Space::s;
    qreal m_lineSpacing = Space::s;
};
