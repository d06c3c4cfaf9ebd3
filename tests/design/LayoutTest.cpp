#include "design/AdaptiveStacks.h"
#include "design/DeckSize.h"
#include "design/DeckSizeReader.h"
#include "design/FlowLayout.h"

#include <QLabel>
#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(DeckSize, MeasuringUsesStrictBounds)
{
    const struct { qreal width; DeckSize size; } cases[] = {
        {0, DeckSize::compact},      {719.9, DeckSize::compact}, {720, DeckSize::medium},
        {1039.9, DeckSize::medium},  {1040, DeckSize::wide},     {4000, DeckSize::wide},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DeckSizes::measuring(c.width), c.size) << c.width;
    EXPECT_FALSE(DeckSizes::fromRawValue(3));
    EXPECT_EQ(DeckSizes::fromRawValue(1), DeckSize::medium);
    EXPECT_TRUE(DeckSize::medium < DeckSize::wide);
    EXPECT_TRUE(DeckSizes::isCompact(DeckSize::compact));
    EXPECT_FALSE(DeckSizes::isCompact(DeckSize::medium));
}

TEST(DeckSizeReader, PublishesTheClassOfItsWidthToItsContent)
{
    QWidget outside;
    EXPECT_EQ(DeckSizeReader::sizeFor(&outside), DeckSize::wide);

    auto *content = new QWidget;
    auto *inner = new QLabel(QStringLiteral("x"), content);
    DeckSizeReader reader(content);
    reader.resize(1200, 400);
    reader.show();
    int changes = 0;
    QObject::connect(&reader, &DeckSizeReader::deckSizeChanged, [&] { ++changes; });
    reader.resize(700, 400);
    EXPECT_EQ(DeckSizeReader::sizeFor(inner), DeckSize::compact);
    reader.resize(720, 400);
    EXPECT_EQ(DeckSizeReader::sizeFor(inner), DeckSize::medium);
    reader.resize(1040, 400);
    EXPECT_EQ(DeckSizeReader::sizeFor(inner), DeckSize::wide);
    EXPECT_EQ(changes, 3);
    reader.resize(1300, 400); // same class, no signal
    EXPECT_EQ(changes, 3);
}

QList<QSizeF> widths(std::initializer_list<qreal> ws, qreal h = 20)
{
    QList<QSizeF> sizes;
    for (qreal w : ws)
        sizes.append(QSizeF(w, h));
    return sizes;
}

TEST(FlowLayout, BreaksLinesOnlyWhenTheNextChildPassesTheWidth)
{
    const auto three = widths({50, 50, 50});
    EXPECT_EQ(FlowLayout::lines(three, 166, 8).size(), 1); // 50 + 8 + 50 + 8 + 50 = 166 fits
    const auto wrapped = FlowLayout::lines(three, 165, 8);
    ASSERT_EQ(wrapped.size(), 2);
    EXPECT_EQ(wrapped[0].indices, (QList<int>{0, 1}));
    EXPECT_EQ(wrapped[0].width, 108);
    EXPECT_EQ(wrapped[1].indices, QList<int>{2});

    // A child wider than the width sits alone, at the leading edge, at full width.
    const auto sizes = widths({40, 300, 40});
    const auto rects = FlowLayout::place(sizes, QRectF(10, 5, 200, 500), 8, 8);
    EXPECT_EQ(FlowLayout::lines(sizes, 200, 8).size(), 3);
    EXPECT_EQ(rects[1], QRectF(10, 33, 300, 20));
    EXPECT_EQ(rects[2].topLeft(), QPointF(10, 61));
}

TEST(FlowLayout, ReportsSizeAndCentresChildrenInTheirLine)
{
    EXPECT_EQ(FlowLayout::sizeThatFits({}, 300, 8, 8), QSizeF(300, 0));
    EXPECT_EQ(FlowLayout::sizeThatFits({}, std::nullopt, 8, 8), QSizeF(0, 0));

    const QList<QSizeF> mixed{{50, 20}, {50, 30}};
    const auto rects = FlowLayout::place(mixed, QRectF(0, 0, 200, 100), 8, 8);
    EXPECT_EQ(rects[0].top(), 5); // the shorter child sits 5 down in a 30-high line
    EXPECT_EQ(rects[1].top(), 0);
    EXPECT_EQ(rects[1].left(), 58);

    const QList<QSizeF> twoLines{{100, 20}, {100, 30}};
    EXPECT_EQ(FlowLayout::sizeThatFits(twoLines, 150, 8, 8), QSizeF(150, 58));
    EXPECT_EQ(FlowLayout::sizeThatFits(twoLines, std::nullopt, 8, 8), QSizeF(208, 30));
    EXPECT_EQ(FlowLayout::sizeThatFits(twoLines, std::numeric_limits<qreal>::infinity(), 8, 8), QSizeF(208, 30));
}

TEST(FlowLayout, LaysOutWidgetsAndAnswersHeightForWidth)
{
    QWidget host;
    auto *flow = new FlowLayout(&host);
    QList<QWidget *> children;
    for (int i = 0; i < 3; ++i) {
        auto *w = new QWidget;
        w->setFixedSize(50, 20);
        flow->addWidget(w);
        children.append(w);
    }
    EXPECT_EQ(flow->heightForWidth(166), 20);
    EXPECT_EQ(flow->heightForWidth(165), 48);
    flow->setGeometry(QRect(0, 0, 165, 48));
    EXPECT_EQ(children[2]->geometry(), QRect(0, 28, 50, 20));
}

TEST(AdaptiveStacks, SwitchDirectionAndSpacing)
{
    auto *a = new QWidget, *b = new QWidget;
    AdaptiveHeroStack hero(true, a, b);
    auto *box = qobject_cast<QBoxLayout *>(hero.layout());
    EXPECT_EQ(box->direction(), QBoxLayout::TopToBottom);
    EXPECT_EQ(box->spacing(), 16);
    hero.setCompact(false);
    EXPECT_EQ(box->direction(), QBoxLayout::LeftToRight);
    EXPECT_EQ(box->spacing(), 30);
    EXPECT_EQ(box->count(), 2);

    AdaptiveColumns columns(false, new QWidget, new QWidget);
    auto *cbox = qobject_cast<QBoxLayout *>(columns.layout());
    EXPECT_EQ(cbox->direction(), QBoxLayout::LeftToRight);
    EXPECT_EQ(cbox->spacing(), 12);
    columns.setStacked(true);
    EXPECT_EQ(cbox->direction(), QBoxLayout::TopToBottom);
}

} // namespace
