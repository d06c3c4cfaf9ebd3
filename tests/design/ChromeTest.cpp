#include "design/DeckButton.h"
#include "design/Ink.h"
#include "design/MenuButton.h"
#include "design/PopupPlacement.h"
#include "design/SlimScrollBars.h"
#include "design/Theme.h"
#include "design/Typo.h"

#include "TestSupport.h"
#include "WidgetTestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStyleOptionSlider>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

QRect arrowOf(QScrollBar *bar, QStyle::SubControl arrow)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.pageStep = bar->pageStep();
    option.singleStep = bar->singleStep();
    option.subControls = QStyle::SC_All;
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, arrow, bar);
}

// Once the theme is applied, every scroll bar of the application, made before or after, is the
// slim one: no arrows, a handle that stands out from the page in both schemes.
TEST(SlimScrollBars, EveryScrollBarIsSlimAndItsHandleStandsOutInBothSchemes)
{
    QPlainTextEdit before;
    Theme::apply(ColorScheme::light, false);
    QStandardItemModel rows;
    for (int i = 0; i < 200; ++i)
        rows.appendRow(new QStandardItem(QStringLiteral("строка %1").arg(i)));
    QListView after;
    after.setModel(&rows);
    after.resize(240, 160);
    after.show();
    before.setPlainText(QString(400, QLatin1Char('\n')));
    before.resize(240, 160);
    before.show();
    for (QScrollBar *bar : {after.verticalScrollBar(), before.verticalScrollBar()}) {
        ASSERT_TRUE(waitUntil([&] { return bar->isVisible(); }));
        EXPECT_TRUE(SlimScrollBars::isSlim(bar));
        EXPECT_TRUE(waitUntil([&] { return bar->width() == SlimScrollBars::kWidth; })) << bar->width();
        EXPECT_TRUE(arrowOf(bar, QStyle::SC_ScrollBarAddLine).isEmpty());
        EXPECT_TRUE(arrowOf(bar, QStyle::SC_ScrollBarSubLine).isEmpty());
    }
    // The handle against the list's own background: darker in the light scheme, lighter in the
    // dark one (the platform's white handle on near-white is what this replaced).
    for (const auto &[scheme, darker] : {std::pair{ColorScheme::light, true}, std::pair{ColorScheme::dark, false}}) {
        Theme::apply(scheme, false);
        QScrollBar *bar = after.verticalScrollBar();
        bar->setValue(0);
        QCoreApplication::processEvents(); // the restyled bar lays itself out again
        QImage page(after.size(), QImage::Format_ARGB32);
        page.fill(Ink::canvas());
        after.render(&page);
        const QPoint inHandle = bar->mapTo(&after, QPoint(bar->width() / 2, 20));
        const QColor handle = page.pixelColor(inHandle);
        const QColor around = page.pixelColor(bar->mapTo(&after, QPoint(bar->width() / 2, bar->height() - 4)));
        EXPECT_EQ(handle.lightnessF() < around.lightnessF(), darker) << int(scheme);
        EXPECT_GT(std::abs(handle.lightnessF() - around.lightnessF()), 0.08)
            << handle.name().toStdString() << " on " << around.name().toStdString();
    }
    Theme::apply(ColorScheme::dark, false);
}

// Where a menu or popover of a control goes: under it and inside its window where it fits,
// rightwards from its leading edge or leftwards from its trailing one, above it near the bottom,
// and on the screen whatever the window.
TEST(PopupPlacement, KeepsInsideTheWindowAndOnTheScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget window;
    window.setGeometry(QRect(screen.topLeft() + QPoint(10, 10), QSize(600, 400)));
    auto *anchor = new QWidget(&window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QPoint origin = window.mapToGlobal(QPoint(0, 0));
    const struct { const char *what; QRect anchor; QSize popup; QPoint at; } cases[] = {
        {"room below and to the right", {100, 100, 28, 28}, {200, 150}, {100, 130}},
        {"at the window's right edge", {560, 100, 28, 28}, {200, 150}, {388, 130}},
        {"at the window's bottom", {100, 340, 28, 28}, {200, 150}, {100, 188}},
        {"in the bottom right corner", {560, 340, 28, 28}, {200, 150}, {388, 188}},
    };
    for (const auto &c : cases) {
        anchor->setGeometry(c.anchor);
        EXPECT_EQ(PopupPlacement::below(anchor, c.popup) - origin, c.at) << c.what;
    }
    anchor->setGeometry(20, 50, 200, 40);
    EXPECT_EQ(PopupPlacement::beside(anchor, {300, 200}, 4) - origin, QPoint(224, 50)) << "beside, trailing";
    anchor->setGeometry(380, 50, 200, 40);
    EXPECT_EQ(PopupPlacement::beside(anchor, {300, 200}, 4) - origin, QPoint(76, 50)) << "beside, leading";

    // A popup wider than the window keeps to the screen.
    anchor->setGeometry(560, 100, 28, 28);
    const QPoint wide = PopupPlacement::below(anchor, {screen.width() - 20, 100});
    EXPECT_TRUE(screen.contains(QRect(wide, QSize(screen.width() - 20, 100))));
}

// The menu opens as a plain popup (the call returns at once, no nested loop) where the
// placement puts it; a press on the button while it is open closes it for good.
TEST(MenuButton, OpensItsMenuAsAPopupThatStaysInTheWindow)
{
    QWidget window;
    window.resize(400, 300);
    auto *button = new MenuButton(QStringLiteral("ellipsis"), QString(), 24, &window);
    auto *menu = new QMenu(button);
    menu->addAction(QStringLiteral("Запустить"));
    menu->addAction(QStringLiteral("Остановить принудительно"));
    button->setMenu(menu);
    button->move(370, 20);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    QTest::mousePress(button, Qt::LeftButton);
    ASSERT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->pos(), PopupPlacement::below(button, menu->sizeHint()));
    EXPECT_LE(menu->geometry().right(), window.geometry().right());
    EXPECT_TRUE(button->isDown());
    menu->hide();
    EXPECT_FALSE(button->isDown());
    QTest::mousePress(button, Qt::LeftButton); // the press that closed it, replayed to the button
    EXPECT_FALSE(menu->isVisible());
    QTest::mouseRelease(button, Qt::LeftButton);
    QCoreApplication::processEvents();
    QTest::mousePress(button, Qt::LeftButton); // a new press opens it again
    EXPECT_TRUE(menu->isVisible());
    menu->hide();

    // From the keyboard as well.
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
}

// A stacked button takes the height its caption needs, also when the caption comes later.
TEST(DeckButton, StackedButtonGrowsWithACaptionGivenLater)
{
    QWidget host;
    auto *column = new QVBoxLayout(&host);
    auto *button = new DeckButton(QStringLiteral("arrow.right"), QString(),
                                  {DeckButtonRole::primary, DeckButtonSize::large, true, true});
    column->addWidget(button);
    column->addStretch(1);
    host.resize(120, 200);
    host.show();
    const int bare = button->height();
    button->setText(QStringLiteral("На Android"));
    ASSERT_TRUE(waitUntil([&] { return button->height() > bare; }));
    const qreal caption = QFontMetricsF(Typo::caption()).height();
    EXPECT_EQ(button->height(), button->sizeHint().height());
    EXPECT_GE(button->height(), int(2 * 8 + 15 + 4 + caption));
}

// A design button is a push button a dialog can make its default; by itself it never is one,
// so Return in a sheet's text field presses nothing unasked.
TEST(DeckButton, BecomesADialogsDefaultOnlyWhenMadeOne)
{
    QDialog dialog;
    auto *column = new QVBoxLayout(&dialog);
    auto *first = new DeckButton(QStringLiteral("Сохранить"));
    auto *second = new DeckButton(QStringLiteral("Отмена"));
    column->addWidget(first);
    column->addWidget(second);
    int pressed = 0;
    QObject::connect(first, &QAbstractButton::clicked, [&] { ++pressed; });
    dialog.show();
    EXPECT_FALSE(first->autoDefault());
    EXPECT_FALSE(first->isDefault());
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_EQ(pressed, 0);
    first->setDefault(true);
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_EQ(pressed, 1);
}

} // namespace
