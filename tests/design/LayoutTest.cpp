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

// A divider stands only between two items of its line: one that would end or start a line is
// left out (its place empty), and the breaks stay where they were.
TEST(FlowLayout, ADividerStandsOnlyBetweenItemsOfItsLine)
{
    const QList<bool> divider{false, true, false, false};
    const auto sizes = widths({50, 1, 50, 50});
    const struct {
        const char *what;
        qreal width;
        QList<QList<int>> lines;
    } cases[] = {
        {"all on one line", 300, {{0, 1, 2, 3}}},
        {"the line breaks after the divider", 70, {{0}, {2}, {3}}},
        {"the divider would start the second line", 55, {{0}, {2}, {3}}},
        {"the line breaks after the item behind it", 120, {{0, 1, 2}, {3}}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QList<QList<int>> got;
        for (const FlowLayout::Line &line : FlowLayout::lines(sizes, c.width, 8, {}, divider))
            got << line.indices;
        EXPECT_EQ(got, c.lines);
    }
    // Left out, it takes no width in its line and gets no place.
    EXPECT_EQ(FlowLayout::lines(sizes, 70, 8, {}, divider).first().width, 50);
    EXPECT_TRUE(FlowLayout::place(sizes, QRectF(0, 0, 70, 100), 8, 8, {}, divider)[1].isEmpty());
    EXPECT_EQ(FlowLayout::sizeThatFits(sizes, 70, 8, 8, {}, divider), QSizeF(70, 76));
    // A divider alone on a line takes no line.
    EXPECT_EQ(FlowLayout::lines(widths({50, 60, 50}), 55, 8, {}, {false, true, false}).size(), 2);
    // Two dividers with nothing shown between them stand as one.
    QList<QSizeF> hiddenBetween = widths({50, 1, 50, 1, 50});
    hiddenBetween[2] = QSizeF(0, 0);
    const QList<bool> twoDividers{false, true, false, true, false};
    EXPECT_EQ(FlowLayout::lines(hiddenBetween, 300, 8, {}, twoDividers).value(0).indices, (QList<int>{0, 1, 4}));
    EXPECT_EQ(FlowLayout::lines(hiddenBetween, 300, 8, {}, twoDividers).value(0).width, 117);

    // In a widget, the layout hides the divider it leaves out and shows it again where it stands.
    QWidget host;
    auto *flow = new FlowLayout(&host);
    auto *a = new QWidget, *rule = new QWidget, *b = new QWidget;
    a->setFixedSize(50, 20);
    rule->setFixedSize(1, 18);
    b->setFixedSize(50, 20);
    flow->addWidget(a);
    flow->addDivider(rule);
    flow->addWidget(b);
    host.show();
    flow->setGeometry(QRect(0, 0, 70, 48));
    EXPECT_TRUE(rule->isHidden());
    EXPECT_EQ(flow->heightForWidth(70), 48); // still counted: hiding it moves no break
    flow->setGeometry(QRect(0, 0, 200, 20));
    EXPECT_FALSE(rule->isHidden());
    EXPECT_EQ(rule->geometry(), QRect(58, 1, 1, 18));
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

}

// Columns side by side share the width equally, 12 px apart and top-aligned; stacked, the second
// starts 12 px below the first. With outsets (the room of the panels' shadows) the 12 px lie
// between the shapes, so the columns' rectangles overlap by that room.
TEST(AdaptiveStacks, ColumnsKeepTheirSpacingBetweenShapes)
{
    auto column = [](int height) {
        auto *w = new QWidget;
        w->setMinimumHeight(height);
        w->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        return w;
    };
    QWidget *a = column(100), *b = column(60);
    AdaptiveColumns columns(false, a, b);
    columns.resize(612, 300);
    columns.layout()->activate();
    EXPECT_EQ(a->geometry(), QRect(0, 0, 300, 100));
    EXPECT_EQ(b->geometry(), QRect(312, 0, 300, 60));
    EXPECT_EQ(columns.layout()->heightForWidth(612), 100);
    columns.setStacked(true);
    columns.layout()->activate();
    EXPECT_EQ(a->geometry(), QRect(0, 0, 612, 100));
    EXPECT_EQ(b->geometry(), QRect(0, 112, 612, 60));
    EXPECT_EQ(columns.layout()->heightForWidth(612), 172);

    // Shapes inset 10 px at the sides and 14 px below: side by side the shapes are 12 px apart,
    // stacked the second column starts 12 px below the first one's last shape.
    const QMargins reach(10, 6, 10, 14);
    columns.setItemOutsets(reach);
    columns.setStacked(false);
    columns.layout()->activate();
    const QRect leftShape = a->geometry().marginsRemoved(QMargins(reach.left(), 0, reach.right(), 0));
    const QRect rightShape = b->geometry().marginsRemoved(QMargins(reach.left(), 0, reach.right(), 0));
    EXPECT_EQ(rightShape.left() - leftShape.right() - 1, 12);
    EXPECT_EQ(a->x(), 0);
    EXPECT_EQ(b->geometry().right(), 611);
    EXPECT_EQ(a->width(), b->width());
    columns.setStacked(true);
    columns.layout()->activate();
    EXPECT_EQ(b->y() - (a->geometry().bottom() + 1 - reach.bottom()), 12);
}

// A flexible space takes what its line leaves, so what follows it sits at the trailing edge; it
// counts as its minimum when lines break, also when that minimum is 0.
TEST(FlowLayout, FlexibleSpacePushesTheRestOfItsLineToTheEdge)
{
    const QList<QSizeF> sizes{{50, 20}, {0, 0}, {40, 20}};
    const QList<bool> flexible{false, true, false};
    // 50 + 8 + 0 + 8 + 40 = 106: one line up to that width.
    EXPECT_EQ(FlowLayout::lines(sizes, 106, 8, flexible).size(), 1);
    EXPECT_EQ(FlowLayout::lines(sizes, 105, 8, flexible).size(), 2);
    const QList<QRectF> wide = FlowLayout::place(sizes, QRectF(0, 0, 300, 20), 8, 4, flexible);
    EXPECT_EQ(wide[0], QRectF(0, 0, 50, 20));
    EXPECT_EQ(wide[2], QRectF(260, 0, 40, 20));
    // Without the flag a zero-sized item is a hidden one: no spacing for it.
    EXPECT_EQ(FlowLayout::place(sizes, QRectF(0, 0, 300, 20), 8, 4)[2], QRectF(58, 0, 40, 20));
    // Wrapped, the space goes to the second line with its item and still pushes it to the edge.
    EXPECT_EQ(FlowLayout::lines(sizes, 80, 8, flexible),
              (QList<FlowLayout::Line>{{{0}, 50, 20}, {{1, 2}, 48, 20}}));
    const QList<QRectF> narrow = FlowLayout::place(sizes, QRectF(0, 0, 80, 44), 8, 4, flexible);
    EXPECT_EQ(narrow[2], QRectF(40, 24, 40, 20));

    QWidget host;
    auto *flow = new FlowLayout(&host);
    auto *first = new QWidget, *last = new QWidget;
    first->setFixedSize(50, 20);
    last->setFixedSize(40, 20);
    flow->addWidget(first);
    flow->addFlexibleSpace(8);
    flow->addWidget(last);
    flow->setGeometry(QRect(0, 0, 300, 20));
    EXPECT_EQ(last->geometry(), QRect(260, 0, 40, 20));
    EXPECT_EQ(flow->heightForWidth(300), 20);
    EXPECT_EQ(flow->heightForWidth(113), 48); // 50 + 8 + 8 + 8 + 40 = 114 needed
}

} // namespace
