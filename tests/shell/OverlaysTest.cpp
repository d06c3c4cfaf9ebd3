#include "shell/MainWindow.h"
#include "shell/OperationOverlay.h"
#include "shell/RootView.h"
#include "shell/ToastStack.h"

#include "design/OperationBar.h"
#include "design/ToastView.h"

#include "ShellHarness.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct OverlayFixture {
    ShellHarness h;
    std::unique_ptr<MainWindow> window;
    RootView *root = nullptr;

    explicit OverlayFixture(QSize size = MainWindow::kDefaultSize)
    {
        h.model->toastLifetime = std::chrono::milliseconds(300);
        window = std::make_unique<MainWindow>(h.model.get(), h.settings.get(), MainWindow::Hooks{});
        window->resize(size);
        window->show();
        root = window->root();
    }
    QStringList cardTitles() const
    {
        QStringList titles;
        for (ToastView *card : root->toastStack()->cards())
            titles << card->message().title;
        return titles;
    }
    // A point of a card (in its own coordinates) in the window.
    QPoint inWindow(const QWidget *w, QPoint at) const { return w->mapTo(window.get(), at); }
    // The widget a press at `at` (window coordinates) goes to.
    QWidget *hitAt(QPoint at) const { return window->childAt(at); }
    void click(QPoint at) const
    {
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents();
    }
    bool cardsAtRest() const
    {
        const auto cards = root->toastStack()->cards();
        return std::all_of(cards.begin(), cards.end(), [](ToastView *c) { return c->isVisible() && c->x() == 0; });
    }
};

TEST(ToastStack, CardsStackInPostingOrderAndLeaveOnTheirOwn)
{
    OverlayFixture f;
    ToastStack *stack = f.root->toastStack();
    EXPECT_TRUE(stack->testAttribute(Qt::WA_TransparentForMouseEvents)); // clicks reach the screen

    f.h.model->toast(QStringLiteral("Первый"));
    // The later two stay until they are dismissed, so only the first leaves on its own.
    f.h.model->toastLifetime = std::chrono::hours(1);
    f.h.model->toast(QStringLiteral("Второй"), QStringLiteral("<i>com.example</i>"));
    f.h.model->toast(QStringLiteral("Третий"));
    EXPECT_EQ(f.cardTitles(), (QStringList{QStringLiteral("Первый"), QStringLiteral("Второй"), QStringLiteral("Третий")}));
    const QList<ToastView *> cards = stack->cards();
    // A press on a card is the toasts' own.
    const QPoint onCard = f.inWindow(cards[0], cards[0]->cardRect().center().toPoint());
    ASSERT_TRUE(f.hitAt(onCard));
    EXPECT_EQ(f.hitAt(onCard)->objectName(), QStringLiteral("toastTargets"));
    EXPECT_LT(cards[0]->y(), cards[1]->y());
    EXPECT_EQ(cards[1]->y(), cards[0]->y() + cards[0]->height() + 8);

    // In the top-trailing corner: the card's edge 16 px from the right, 38 px from the top.
    const QRectF card = cards[0]->cardRect().translated(cards[0]->mapTo(f.root, QPoint(0, 0)));
    EXPECT_NEAR(card.right(), f.root->width() - 16, 1.5);
    EXPECT_NEAR(card.top(), 38, 1.5);

    // The first goes 300 ms after its arrival; the others keep their order.
    ASSERT_TRUE(waitUntil([&] { return f.cardTitles().size() == 2; }));
    EXPECT_EQ(f.cardTitles(), (QStringList{QStringLiteral("Второй"), QStringLiteral("Третий")}));
    const QList<ToastMessage> remaining = f.h.model->toasts();
    for (const ToastMessage &t : remaining)
        f.h.model->dismissToast(t.id);
    ASSERT_TRUE(waitUntil([&] { return f.cardTitles().isEmpty(); }));
    EXPECT_TRUE(stack->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_NE(f.hitAt(onCard) ? f.hitAt(onCard)->objectName() : QString(), QStringLiteral("toastTargets"));
}

TEST(ToastStack, ClickDismissesThatToastAtOnce)
{
    for (bool reduceMotion : {true, false}) {
        OverlayFixture f;
        A11y::setReduceMotion(reduceMotion);
        f.h.model->toastLifetime = std::chrono::hours(1); // they leave only when clicked
        f.h.model->toast(QStringLiteral("Первый"));
        f.h.model->toast(QStringLiteral("Второй"));
        // Let the cards slide in.
        ASSERT_TRUE(waitUntil([&] {
            const auto cards = f.root->toastStack()->cards();
            return cards.size() == 2 && cards.at(0)->pos().x() == 0 && cards.at(1)->pos().x() == 0;
        }));
        ToastView *second = f.root->toastStack()->cards().at(1);
        f.click(f.inWindow(second, second->cardRect().center().toPoint()));
        EXPECT_EQ(f.cardTitles(), QStringList{QStringLiteral("Первый")});
        EXPECT_EQ(f.h.model->toasts().size(), 1);
        // The leaving picture goes once it has faded; the other card stays where it was.
        EXPECT_TRUE(waitUntil([&] { return f.root->toastStack()->children().size() <= 2; }));
        EXPECT_EQ(f.root->toastStack()->cards().at(0)->pos(), QPoint(0, 0));
    }
}

// The stack covers its cards' shadows and the gaps between them; a press there is the
// control's beneath, as anywhere outside a card's own shape, at every window size and in both
// schemes. A press on a card still dismisses it, under the pointing hand.
TEST(ToastStack, ClicksOutsideTheCardsReachTheControlBeneath)
{
    for (QSize size : {MainWindow::kMinimumSize, QSize(1100, 700), MainWindow::kDefaultSize}) {
        for (ColorScheme scheme : {ColorScheme::dark, ColorScheme::light}) {
            SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height() << (scheme == ColorScheme::dark ? " dark" : " light"));
            OverlayFixture f(size);
            Theme::apply(scheme, false);
            f.h.model->toastLifetime = std::chrono::hours(1);
            // A control over the whole window beneath the overlays: every point of the stack lies over it.
            auto *beneath = new QPushButton(QStringLiteral("Под уведомлениями"), f.root);
            beneath->setGeometry(f.root->rect());
            beneath->show();
            f.h.model->toast(QStringLiteral("Первый"), QStringLiteral("com.example.first"));
            f.h.model->toast(QStringLiteral("Второй"));
            ASSERT_TRUE(waitUntil([&] { return f.cardsAtRest() && f.cardTitles().size() == 2; }));
            ToastStack *stack = f.root->toastStack();
            const QList<ToastView *> cards = stack->cards();
            const QMarginsF shadow = ToastView::shadowMargins();
            const QRectF first = cards[0]->cardRect().translated(cards[0]->pos());
            const QRectF second = cards[1]->cardRect().translated(cards[1]->pos());
            const struct {
                const char *where;
                QPointF at; // in the stack
            } beside[] = {
                {"on the first card's shadow, before it", QPointF(first.left() - shadow.left() / 2, first.center().y())},
                {"between the cards", QPointF(first.center().x(), (first.bottom() + second.top()) / 2)},
                {"on the last card's shadow, below it", QPointF(second.center().x(), second.bottom() + shadow.bottom() / 2)},
                {"in the first card's rounded corner", first.topLeft() + QPointF(1, 1)},
            };
            QSignalSpy clicked(beneath, &QAbstractButton::clicked);
            for (const auto &b : beside) {
                SCOPED_TRACE(b.where);
                const QPoint at = b.at.toPoint();
                ASSERT_TRUE(QRect(QPoint(), stack->size()).contains(at)); // covered by the stack
                const int before = int(clicked.size());
                f.click(f.inWindow(stack, at));
                EXPECT_EQ(clicked.size(), before + 1) << "the click did not reach the control beneath";
                EXPECT_EQ(f.cardTitles().size(), 2);
            }
            const QPoint onCard = f.inWindow(stack, first.center().toPoint());
            ASSERT_TRUE(f.hitAt(onCard));
            EXPECT_EQ(f.hitAt(onCard)->cursor().shape(), Qt::PointingHandCursor);
            const int before = int(clicked.size());
            f.click(onCard);
            EXPECT_EQ(f.cardTitles(), QStringList{QStringLiteral("Второй")});
            EXPECT_EQ(clicked.size(), before);
        }
    }
    Theme::apply(ColorScheme::dark, false);
}

TEST(OperationOverlay, ShownOnlyWhileAnOperationRunsNeverWiderThan460)
{
    OverlayFixture f;
    OperationOverlay *overlay = f.root->operationOverlay();
    EXPECT_EQ(overlay->bar(), nullptr);

    f.h.model->runningOperation.set(RunningOperation{QStringLiteral("Отключение"), QStringLiteral("com.example"),
                                                     std::nullopt, true});
    OperationBar *bar = overlay->bar();
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->stopButton(), nullptr); // cancellable or not, no stop button here
    EXPECT_TRUE(OperationBar::isIndeterminate(bar->progress()));

    const auto checkPlacement = [&] {
        const QRectF shown = bar->barRect().translated(bar->pos());
        EXPECT_LE(shown.width(), 460.5);
        EXPECT_NEAR(shown.center().x(), f.root->width() / 2.0, 1.5);
        EXPECT_NEAR(shown.bottom(), f.root->height() - 22, 1.5);
    };
    checkPlacement();
    f.window->resize(2400, 900);
    ASSERT_TRUE(waitUntil([&] { return f.root->width() > 2000; }));
    checkPlacement();

    f.h.model->runningOperation.mutate([](std::optional<RunningOperation> &op) { op->progress = 0.5; });
    EXPECT_EQ(overlay->bar(), bar); // updated in place
    EXPECT_EQ(bar->percentText(), QStringLiteral("50%"));

    f.h.model->runningOperation.set(std::nullopt);
    EXPECT_EQ(overlay->bar(), nullptr);
}

} // namespace
