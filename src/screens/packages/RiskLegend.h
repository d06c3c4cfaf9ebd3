#pragma once

#include "bridge/RemovalRisk.h"

#include <QHash>
#include <QList>
#include <QWidget>

class DeckParagraph;
class DeckText;

// The legend of the removal risks: one raised card per risk (safe, review, advanced,
// critical) with its icon, title, the number of enabled packages of that risk and its
// explanation, under an accent bar in the risk's colour. The cards sit in as many columns
// of at least 210 px as fit, 8 px apart; the widget adds 24 px at the sides and 12 px below.
class RiskLegend : public QWidget {
    Q_OBJECT
public:
    explicit RiskLegend(QWidget *parent = nullptr);

    void setCounts(const QHash<RemovalRisk, int> &counts);
    QString countText(RemovalRisk risk) const;
    // The cards' rectangles (panel shapes) for the current width.
    QList<QRectF> cardRects() const;
    int columnCount() const { return columnsFor(width()); }
    // How much of the legend shows (0 none … 1 all): it takes that share of its height, and its
    // cards hang from above, so that showing it moves it in from the top edge.
    void setReveal(qreal reveal);
    qreal reveal() const { return m_reveal; }

    static constexpr qreal kMinimumColumnWidth = 210;
    static constexpr qreal kMinimumCardHeight = 104;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Card {
        RemovalRisk risk;
        QWidget *box;
        DeckText *count;
    };
    static int columnsFor(qreal width);
    QList<QRectF> rectsFor(qreal width) const;
    qreal cardHeight(qreal cardWidth) const;
    void place();

    QList<Card> m_cards;
    qreal m_reveal = 1;
};
