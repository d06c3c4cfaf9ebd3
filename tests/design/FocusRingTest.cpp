#include "design/DeckButton.h"
#include "design/DeckCheckbox.h"
#include "design/DeckSegmented.h"
#include "design/FilterChip.h"
#include "design/FocusRing.h"
#include "design/Ink.h"
#include "design/Labels.h"
#include "design/MenuButton.h"
#include "design/Theme.h"
#include "design/Tokens.h"

#include "TestSupport.h"
#include "WidgetTestSupport.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QListView>
#include <QScreen>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>

namespace {

struct Appearance {
    ColorScheme scheme;
    bool increaseContrast;
    const char *name;
};
const Appearance kAppearances[] = {{ColorScheme::dark, false, "dark"},
                                   {ColorScheme::light, false, "light"},
                                   {ColorScheme::dark, true, "dark, increased contrast"},
                                   {ColorScheme::light, true, "light, increased contrast"}};

struct Control {
    const char *name;
    std::function<QWidget *()> make;
};

const QList<DeckSegmented::Item> kSegments{{1, QStringLiteral("Отключить"), std::nullopt, std::nullopt},
                                           {2, QStringLiteral("Удалить"), std::nullopt, std::nullopt}};

// Every focusable control of the design layer.
const Control kControls[] = {
    {"primary button", [] { return new DeckButton(QStringLiteral("Применить"), {DeckButtonRole::primary}); }},
    {"secondary button", [] { return new DeckButton(QStringLiteral("Экспорт"), {DeckButtonRole::secondary}); }},
    {"ghost button", [] { return new DeckButton(QStringLiteral("Отмена"), {DeckButtonRole::ghost}); }},
    {"destructive button", [] { return new DeckButton(QStringLiteral("Удалить"), {DeckButtonRole::destructive}); }},
    {"icon button", [] { return new IconButton(QStringLiteral("trash"), {28, Tone::danger, false}); }},
    {"filter chip", [] { return new FilterChip(QStringLiteral("Safe"), std::nullopt, 3, false, Tone::success); }},
    {"segmented control", [] { return new DeckSegmented(kSegments, 1); }},
    {"menu button", [] { return new MenuButton(QStringLiteral("ellipsis"), QString(), 28); }},
    {"checkbox", [] { return new DeckCheckbox(QStringLiteral("Скрытые")); }},
    {"copyable value", [] { return new CopyableValue(QStringLiteral("R58N12ABCDE")); }},
};

// Whether the pixel is the ring's accent (what lies under it darkens or lightens it a little; the
// dark canvas has the accent's hue too, but not its brightness).
bool isRing(QColor pixel)
{
    const QColor accent = Ink::accent();
    return pixel.alpha() > 150 && pixel.hsvSaturationF() > 0.35 && pixel.valueF() > 0.3
        && std::abs(pixel.hsvHue() - accent.hsvHue()) < 12;
}

struct Shown {
    QWidget host;
    QWidget *control;
    explicit Shown(QWidget *c) : control(c)
    {
        auto *row = new QHBoxLayout(&host);
        row->setContentsMargins(8, 8, 8, 8);
        row->addWidget(control);
        host.show();
        host.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&host));
        control->setFocus(Qt::TabFocusReason);
    }
    QImage look() { return renderWidget(*control).convertToFormat(QImage::Format_ARGB32); }
};

// With the keyboard focus the control is ringed in the accent along its edge, in every
// appearance; focused by a click, or without the focus, it looks as it always does.
TEST(FocusRing, EveryControlShowsTheKeyboardFocusAlongItsEdge)
{
    ReducedMotion rm;
    for (const Appearance &a : kAppearances) {
        Theme::apply(a.scheme, a.increaseContrast);
        EXPECT_EQ(FocusRing::color(), withOpacity(Ink::accent(), a.increaseContrast ? 1.0 : 0.7)) << a.name;
        for (const Control &c : kControls) {
            SCOPED_TRACE(std::string(c.name) + ", " + a.name);
            Shown s(c.make());
            ASSERT_TRUE(s.control->hasFocus());
            FocusRing::setKeyboardInput(true);
            const QImage ringed = s.look();
            EXPECT_TRUE(isRing(ringed.pixelColor(1, ringed.height() / 2))) << ringed.pixelColor(1, ringed.height() / 2).name(QColor::HexArgb).toStdString();
            EXPECT_TRUE(isRing(ringed.pixelColor(ringed.width() - 2, ringed.height() / 2)));
            FocusRing::setKeyboardInput(false);
            const QImage clicked = s.look();
            EXPECT_NE(ringed, clicked);
            FocusRing::setKeyboardInput(true);
            s.control->clearFocus();
            EXPECT_EQ(s.look(), clicked);
        }
    }
    Theme::apply(ColorScheme::dark, false);
}

// The last input decides: a key press shows the ring, a click hides it again.
TEST(FocusRing, KeysShowItAndClicksHideIt)
{
    Shown s(new DeckButton(QStringLiteral("Применить")));
    QTest::mouseClick(s.control, Qt::LeftButton);
    EXPECT_FALSE(FocusRing::isShown(s.control));
    QTest::keyClick(s.control, Qt::Key_Shift);
    EXPECT_TRUE(FocusRing::isShown(s.control));
    QTest::mouseClick(&s.host, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_FALSE(FocusRing::isShown(s.control));
}

// A list rings its current row while it has the keyboard focus; an empty one rings itself.
TEST(FocusRing, ListsRingTheCurrentRowOrTheirEmptyViewport)
{
    QStandardItemModel rows;
    QListView view;
    view.setModel(&rows);
    FocusRing::followView(&view);
    view.resize(200, 120);
    view.show();
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    view.setFocus(Qt::TabFocusReason);
    FocusRing::setKeyboardInput(true);
    const QImage empty = view.viewport()->grab().toImage();
    EXPECT_TRUE(isRing(empty.pixelColor(1, empty.height() / 2))) << empty.pixelColor(1, empty.height() / 2).name(QColor::HexArgb).toStdString();

    QStyleOptionViewItem option;
    option.state = QStyle::State_HasFocus;
    EXPECT_TRUE(FocusRing::isShown(option));
    FocusRing::setKeyboardInput(false);
    EXPECT_FALSE(FocusRing::isShown(option));
    option.state = QStyle::State_None;
    FocusRing::setKeyboardInput(true);
    EXPECT_FALSE(FocusRing::isShown(option));
}

// Rows that ring themselves, as the application's delegates do.
class RingingRows : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(p, option, index);
        FocusRing::paintRow(*p, option, QRectF(option.rect), Radius::xs);
    }
};

// A list whose current row is scrolled out of sight rings itself, over its rows, as the window
// shows it after the scroll (which paints again only the strip it uncovers); back in sight, the
// row has the ring again and the list's edges none.
TEST(FocusRing, AListRingsItselfWhileItsCurrentRowIsOutOfSight)
{
    Theme::apply(ColorScheme::dark, false);
    QStandardItemModel rows;
    for (int i = 0; i < 60; ++i)
        rows.appendRow(new QStandardItem(QStringLiteral("строка %1").arg(i)));
    QListView view;
    view.setModel(&rows);
    view.setSelectionMode(QAbstractItemView::NoSelection); // no accent fill under the rows
    view.setItemDelegate(new RingingRows(&view));
    FocusRing::followView(&view);
    view.resize(200, 120);
    view.show();
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    view.setCurrentIndex(rows.index(0, 0));
    FocusRing::setKeyboardInput(true);
    // What the window shows at the viewport's left edge, `y` px down (halfway by default).
    const auto edge = [&](std::optional<int> y = std::nullopt) {
        const QPoint at = view.viewport()->mapTo(&view, QPoint(1, y.value_or(view.viewport()->height() / 2)));
        const qreal dpr = view.devicePixelRatioF();
        const QImage shown = view.screen()->grabWindow(view.winId()).toImage();
        return shown.pixelColor(QPoint(qRound(at.x() * dpr), qRound(at.y() * dpr)));
    };
    const auto firstRowRinged = [&] {
        const QRect row = view.visualRect(rows.index(0, 0));
        return row.intersects(view.viewport()->rect()) && isRing(edge(row.center().y()));
    };
    view.clearFocus(); // a window's first widget takes the focus as it is activated
    ASSERT_TRUE(waitUntil([&] { return !firstRowRinged(); }));
    const QColor plain = edge();
    const auto viewRinged = [&] { return edge() != plain && isRing(edge()); };

    view.setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(waitUntil(firstRowRinged));
    EXPECT_EQ(edge(), plain) << "the current row is in sight and rings itself alone";
    // One row down: the rows left in sight are moved, not painted again.
    view.verticalScrollBar()->setValue(1);
    EXPECT_TRUE(waitUntil(viewRinged)) << edge().name(QColor::HexArgb).toStdString();
    view.verticalScrollBar()->setValue(0);
    EXPECT_TRUE(waitUntil([&] { return firstRowRinged() && edge() == plain; })) << "back in sight, the edge is as it was";
    view.scrollToBottom();
    EXPECT_TRUE(waitUntil(viewRinged));
    view.clearFocus();
    EXPECT_TRUE(waitUntil([&] { return edge() == plain; })) << "without the focus no ring";
}

// Tab reaches a segmented control (a click does not focus it) and the arrow keys choose.
TEST(DeckSegmented, ArrowKeysChooseTheNeighbouringSegment)
{
    ReducedMotion rm;
    DeckSegmented seg(kSegments, 1);
    EXPECT_EQ(seg.focusPolicy(), Qt::TabFocus);
    QList<QVariant> activated;
    QObject::connect(&seg, &DeckSegmented::activated, [&](const QVariant &v) { activated << v; });
    const struct { Qt::Key key; int selection; } steps[] = {
        {Qt::Key_Right, 2}, {Qt::Key_Right, 2}, {Qt::Key_Left, 1}, {Qt::Key_Up, 1}, {Qt::Key_Down, 2}};
    for (const auto &step : steps) {
        QTest::keyClick(&seg, step.key);
        EXPECT_EQ(seg.selection(), QVariant(step.selection)) << step.key;
    }
    EXPECT_EQ(activated, (QList<QVariant>{2, 1, 2})); // only real moves
}

} // namespace
