#include "shell/MainWindow.h"
#include "shell/OperationOverlay.h"
#include "shell/RootView.h"
#include "shell/ToastStack.h"

#include "design/OperationBar.h"
#include "design/ToastView.h"

#include "ShellHarness.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

struct OverlayFixture {
    ShellHarness h;
    std::unique_ptr<MainWindow> window;
    RootView *root = nullptr;

    OverlayFixture()
    {
        h.model->toastLifetime = std::chrono::milliseconds(300);
        window = std::make_unique<MainWindow>(h.model.get(), h.settings.get(), MainWindow::Hooks{});
        window->resize(1360, 880);
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
    EXPECT_FALSE(stack->testAttribute(Qt::WA_TransparentForMouseEvents));
    const QList<ToastView *> cards = stack->cards();
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
        QTest::mouseClick(second, Qt::LeftButton, {}, second->rect().center());
        EXPECT_EQ(f.cardTitles(), QStringList{QStringLiteral("Первый")});
        EXPECT_EQ(f.h.model->toasts().size(), 1);
        // The leaving picture goes once it has faded; the other card stays where it was.
        EXPECT_TRUE(waitUntil([&] { return f.root->toastStack()->children().size() <= 2; }));
        EXPECT_EQ(f.root->toastStack()->cards().at(0)->pos(), QPoint(0, 0));
    }
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
