#include "design/Accessibility.h"
#include "design/DeckButton.h"
#include "design/DeckEmptyState.h"
#include "design/DeckParagraph.h"
#include "design/DeckSizeReader.h"
#include "design/Hairline.h"
#include "design/Ink.h"
#include "design/OperationBar.h"
#include "design/ScreenHeader.h"
#include "design/Skeleton.h"
#include "design/Theme.h"
#include "design/ToastView.h"
#include "design/ToneInk.h"
#include "design/Typo.h"

#include "TestSupport.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>
#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

bool near(const QColor &a, const QColor &b, int tolerance = 40)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) <= tolerance;
}

// --- Paragraph ---

TEST(DeckParagraph, WrapsWithinItsWidthAndCutsAtTheLineLimit)
{
    const QString text = QStringLiteral("Подключите телефон кабелем USB и разрешите отладку на экране устройства, "
                                        "затем нажмите «Обновить».");
    DeckParagraph p(text, Typo::supporting(), [] { return Ink::text(); });
    const int lines = p.lineCountFor(160);
    EXPECT_GE(lines, 3);
    const qreal lh = QFontMetricsF(p.font()).height();
    EXPECT_EQ(p.heightForWidth(160), int(std::ceil(lines * lh)));
    p.setMaximumLines(2);
    EXPECT_EQ(p.heightForWidth(160), int(std::ceil(2 * lh)));
    p.resize(160, p.heightForWidth(160));
    EXPECT_TRUE(p.isTruncated());
    // An empty text still takes its line; explicit breaks start new lines.
    DeckParagraph empty(QString(), Typo::caption(), [] { return Ink::text(); });
    EXPECT_EQ(empty.lineCountFor(300), 1);
    DeckParagraph two(QStringLiteral("а\nб"), Typo::caption(), [] { return Ink::text(); });
    EXPECT_EQ(two.lineCountFor(300), 2);
}

// --- Empty state and skeleton ---

TEST(DeckEmptyState, ToneTintsGlowAndSymbol)
{
    const struct { Tone tone; QColor glow; QColor symbol; } cases[] = {
        {Tone::neutral, withOpacity(Ink::textSecondary(), 0.2), Ink::textTertiary()},
        {Tone::danger, withOpacity(Ink::danger(), 0.2), Ink::danger()},
        {Tone::accent, withOpacity(Ink::accent(), 0.2), Ink::accent()},
    };
    for (const auto &c : cases) {
        DeckEmptyState e(QStringLiteral("shippingbox"), QStringLiteral("Пусто"), std::nullopt, c.tone);
        EXPECT_EQ(e.tile()->glowColor(), c.glow) << rawValue(c.tone).toStdString();
        EXPECT_EQ(e.tile()->symbolColor(), c.symbol) << rawValue(c.tone).toStdString();
    }
}

TEST(DeckEmptyState, CentresItsColumnAndWrapsTheMessage)
{
    QWidget host;
    auto *layout = new QVBoxLayout(&host);
    layout->setContentsMargins(0, 0, 0, 0);
    const QString message = QString(QStringLiteral("Ни одно приложение не подходит под выбранные фильтры. ")).repeated(4);
    auto *actions = new DeckButton(QStringLiteral("Сбросить фильтры"));
    auto *e = new DeckEmptyState(QStringLiteral("magnifyingglass"), QStringLiteral("Ничего не найдено"), message,
                                 Tone::neutral, actions);
    layout->addWidget(e);
    host.resize(1000, 700);
    host.show();
    QCoreApplication::processEvents();

    ASSERT_NE(e->messageLabel(), nullptr);
    const QRect msg = e->messageLabel()->geometry();
    EXPECT_LE(msg.width(), 380);
    EXPECT_GE(e->messageLabel()->lineCountFor(msg.width()), 2);
    EXPECT_GE(msg.height(), e->messageLabel()->heightForWidth(msg.width())); // never squeezed
    // Tile, message and actions share one centre line; the column sits mid-height.
    const int cx = e->width() / 2;
    EXPECT_NEAR(e->tile()->geometry().center().x(), cx, 1);
    EXPECT_NEAR(msg.center().x(), cx, 1);
    EXPECT_NEAR(actions->geometry().center().x(), cx, 1);
    const int top = e->tile()->geometry().top();
    const int bottom = actions->geometry().bottom();
    EXPECT_NEAR(top, e->height() - 1 - bottom, 2);
    EXPECT_EQ(e->tile()->size(), QSize(108, 108));

    // Without a message: tile and title only; a tiny panel still keeps 30 px clear.
    DeckEmptyState bare(QStringLiteral("shippingbox"), QStringLiteral("Пусто"));
    EXPECT_EQ(bare.messageLabel(), nullptr);
    EXPECT_EQ(bare.actions(), nullptr);
    EXPECT_EQ(bare.layout()->contentsMargins(), QMargins(30, 30, 30, 30));
}

TEST(Skeleton, SizesFollowWidthAndHeight)
{
    Skeleton fixed(80);
    EXPECT_EQ(fixed.size(), QSize(80, 12));
    EXPECT_EQ(fixed.radius(), 5);

    QWidget host;
    auto *row = new QHBoxLayout(&host);
    row->setContentsMargins(0, 0, 0, 0);
    auto *flexible = new Skeleton;
    row->addWidget(flexible);
    host.resize(333, 40);
    host.show();
    EXPECT_EQ(flexible->width(), 333);
    EXPECT_EQ(flexible->height(), 12);
}

TEST(Skeleton, SweepsWhileShownStopsWhenHiddenAndNeverUnderReduceMotion)
{
    {
        Skeleton s(120, 14);
        s.show();
        EXPECT_TRUE(s.isSweeping());
        EXPECT_TRUE(s.showsHighlight());
        s.hide();
        EXPECT_FALSE(s.isSweeping());
    }
    ReducedMotion rm;
    Skeleton still(120, 14);
    still.show();
    EXPECT_FALSE(still.isSweeping());
    EXPECT_FALSE(still.showsHighlight());
}

TEST(Skeleton, BandTravelsFromBeforeToPastTheBlockAndStaysInsideTheOutline)
{
    Skeleton s(100, 20, 8);
    s.setPhase(-1);
    EXPECT_DOUBLE_EQ(s.bandRect().left(), -160);
    EXPECT_DOUBLE_EQ(s.bandRect().width(), 55);
    s.setPhase(1);
    EXPECT_DOUBLE_EQ(s.bandRect().left(), 160);
    // Mid-sweep the band covers the rounded corner region, yet the corner pixel stays clear.
    s.setPhase(0);
    const QImage img = renderWidget(s);
    EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(img.pixel(0, 19)), 0);
    EXPECT_GT(qAlpha(img.pixel(20, 10)), 0);
}

// --- Screen header and hairline ---

TEST(ScreenHeader, CompactStacksAndWrapsWideKeepsOneLine)
{
    QList<QWidget *> controls;
    for (const char *t : {"Обновить", "Установить APK", "Экспорт", "Выбрать всё", "Фильтры"})
        controls.append(new DeckButton(QString::fromUtf8(t)));
    DeckSizeReader reader(nullptr);
    auto *header = new ScreenHeader(QStringLiteral("Управление"), QStringLiteral("Приложения"),
                                    QStringLiteral("214 пакетов на устройстве"), controls);
    reader.setContent(header);

    reader.resize(1200, 200);
    reader.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(header->deckSize(), DeckSize::wide);
    EXPECT_NEAR(Typo::pixelSize(header->titleLabel()->font()), Typo::pixelSize(Typo::screenTitle()), 0.01);
    // Side by side: every control on one line right of the title block.
    const int y0 = controls.first()->geometry().top();
    for (QWidget *c : controls)
        EXPECT_EQ(c->geometry().top(), y0);
    EXPECT_GE(header->controlsBox()->geometry().left(), header->titleBlock()->geometry().right() + 16);
    EXPECT_EQ(header->layout()->contentsMargins(), QMargins(24, 16, 24, 12));

    reader.resize(420, 300);
    QCoreApplication::processEvents();
    EXPECT_EQ(header->deckSize(), DeckSize::compact);
    EXPECT_NEAR(Typo::pixelSize(header->titleLabel()->font()), Typo::pixelSize(Typo::cardTitle()), 0.01);
    EXPECT_GE(header->controlsBox()->geometry().top(), header->titleBlock()->geometry().bottom());
    QList<int> rows;
    for (QWidget *c : controls)
        if (!rows.contains(c->geometry().top()))
            rows.append(c->geometry().top());
    EXPECT_GE(rows.size(), 2); // wrapped
    for (QWidget *c : controls)
        EXPECT_LE(c->mapTo(header, QPoint(c->width(), 0)).x(), header->width() - 24);
}

TEST(ScreenHeader, TitleShrinksToFourFifthsThenElidesAndSubtitleKeepsTwoLines)
{
    FittedTitle title(QStringLiteral("Очень длинный заголовок экрана"), Typo::screenTitle());
    const qreal natural = title.sizeHint().width();
    title.resize(int(natural) + 2, 30);
    EXPECT_NEAR(title.shownPixelSize(), 21, 0.01);
    EXPECT_FALSE(title.isElided());
    title.resize(int(natural * 0.9), 30);
    EXPECT_LT(title.shownPixelSize(), 21);
    EXPECT_GE(title.shownPixelSize(), 21 * 0.8 - 1);
    EXPECT_FALSE(title.isElided());
    title.resize(int(natural * 0.5), 30);
    EXPECT_NEAR(title.shownPixelSize(), std::floor(21 * 0.8), 0.01);
    EXPECT_TRUE(title.isElided());

    ScreenHeader header(QStringLiteral("Раздел"), QStringLiteral("Экран"),
                        QString(QStringLiteral("Строка пояснения к экрану. ")).repeated(12));
    header.setDeckSize(DeckSize::medium);
    header.resize(500, 200);
    header.show();
    EXPECT_EQ(header.subtitleLabel()->maximumLines(), 2);
    EXPECT_TRUE(header.subtitleLabel()->isTruncated());
    ScreenHeader bare(QStringLiteral("Раздел"), QStringLiteral("Экран"));
    EXPECT_EQ(bare.subtitleLabel(), nullptr);
    EXPECT_TRUE(bare.controls().isEmpty());
}

TEST(Hairline, OnePixelAcrossTheFreeAxis)
{
    QWidget host;
    auto *column = new QVBoxLayout(&host);
    column->setContentsMargins(0, 0, 0, 0);
    auto *h = new Hairline;
    column->addWidget(h);
    auto *row = new QHBoxLayout;
    auto *v = new Hairline(true);
    row->addWidget(v);
    column->addLayout(row, 1);
    host.resize(240, 180);
    host.show();
    EXPECT_EQ(h->height(), 1);
    EXPECT_EQ(h->width(), 240);
    EXPECT_EQ(v->width(), 1);
    EXPECT_GT(v->height(), 150);
}

// --- Toasts ---

TEST(ToastView, LabelBadgeColoursAndFixedWidth)
{
    const ToastMessage plain(QStringLiteral("checkmark.circle.fill"), QStringLiteral("Готово"));
    ToastView a(plain);
    EXPECT_EQ(a.accessibilityLabel(), QStringLiteral("Готово. "));
    EXPECT_EQ(a.detailLabel(), nullptr);
    EXPECT_EQ(a.badgeGlyphColor(), Ink::textSecondary());
    EXPECT_EQ(a.badgeFillColor(), Ink::neutralSoft());

    ToastView empty(ToastMessage(QStringLiteral("info.circle"), QStringLiteral("Т"), QString()));
    ASSERT_NE(empty.detailLabel(), nullptr); // only a missing detail omits the caption
    EXPECT_GT(empty.height(), a.height());

    const ToastMessage danger(QStringLiteral("xmark.octagon.fill"), QStringLiteral("Не удалось"),
                              QString(QStringLiteral("adb: ошибка при удалении пакета. ")).repeated(6), Tone::danger);
    ToastView d(danger);
    EXPECT_EQ(d.badgeGlyphColor(), Ink::danger());
    EXPECT_EQ(d.badgeFillColor(), Ink::dangerSoft());
    EXPECT_EQ(d.detailLabel()->maximumLines(), 2);
    EXPECT_EQ(d.accessibilityLabel(), danger.title + QStringLiteral(". ") + *danger.detail);

    ToastView longTitle(ToastMessage(QStringLiteral("info.circle"),
                                     QString(QStringLiteral("Очень длинный заголовок уведомления ")).repeated(5)));
    for (ToastView *t : {&a, &d, &longTitle})
        EXPECT_DOUBLE_EQ(t->cardRect().width(), 340);
    EXPECT_GT(longTitle.height(), a.height()); // grows in height, never in width
    longTitle.show();
    EXPECT_FALSE(longTitle.titleLabel()->isTruncated());
    EXPECT_GE(longTitle.titleLabel()->height(),
              longTitle.titleLabel()->heightForWidth(longTitle.titleLabel()->width()));
}

// --- Operation bar ---

TEST(OperationBar, PercentTruncatesWithoutClampingAndRefusesWhatCannotConvert)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct { std::optional<double> progress; std::optional<qint64> percent; } cases[] = {
        {std::nullopt, std::nullopt}, {0.0, 0}, {0.5, 50}, {0.999, 99}, {1.0, 100}, {1.25, 125},
        {1.5, 150}, {-0.004, 0}, {-0.5, -50}, {nan, std::nullopt}, {inf, std::nullopt}, {-inf, std::nullopt},
        {1e300, std::nullopt}, {9.3e16, std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(OperationBar::percentValue(c.progress), c.percent) << (c.progress ? *c.progress : -999);

    const struct { double progress; double arc; } arcs[] = {
        {0, 0.02}, {-3, 0.02}, {0.01, 0.02}, {0.5, 0.5}, {1, 1}, {1.5, 1}, {inf, 1}, {-inf, 0.02}, {nan, 0.02}};
    for (const auto &c : arcs)
        EXPECT_DOUBLE_EQ(OperationBar::arcFraction(c.progress), c.arc) << c.progress;
    EXPECT_TRUE(OperationBar::isIndeterminate(std::nullopt));
    EXPECT_TRUE(OperationBar::isIndeterminate(nan));
    EXPECT_FALSE(OperationBar::isIndeterminate(inf));
}

TEST(OperationBar, SpinnerPercentAndStopButton)
{
    int cancelled = 0;
    OperationBar bar(QStringLiteral("Отключение пакетов"), QStringLiteral("com.example.app"), std::nullopt,
                     [&] { ++cancelled; });
    bar.show();
    EXPECT_TRUE(bar.spinner()->isVisible());
    EXPECT_TRUE(bar.spinner()->isSpinning());
    EXPECT_TRUE(bar.percentText().isEmpty());
    EXPECT_EQ(bar.accessibilityLabel(), QStringLiteral("Выполняется: Отключение пакетов"));
    ASSERT_NE(bar.stopButton(), nullptr);
    EXPECT_EQ(bar.stopButton()->text(), QStringLiteral("Остановить"));
    EXPECT_EQ(bar.stopButton()->buttonStyle(), (DeckButtonStyle{DeckButtonRole::ghost, DeckButtonSize::small, false}));
    bar.stopButton()->click();
    EXPECT_EQ(cancelled, 1);

    bar.setProgress(0.999);
    EXPECT_FALSE(bar.spinner()->isVisible());
    EXPECT_FALSE(bar.spinner()->isSpinning()); // hidden: the loop stops
    EXPECT_EQ(bar.percentText(), QStringLiteral("99%"));
    // The percentage sits before the stop button.
    EXPECT_LT(bar.findChildren<DeckText *>().last()->geometry().left(), bar.stopButton()->geometry().left());
    bar.setProgress(std::numeric_limits<double>::infinity());
    EXPECT_TRUE(bar.percentText().isEmpty());

    OperationBar plain(QStringLiteral("Загрузка"));
    EXPECT_EQ(plain.stopButton(), nullptr);
    EXPECT_FALSE(plain.detailLabel()->isVisibleTo(&plain));
}

TEST(OperationBar, ArcStartsAtTwelveAndGrowsClockwise)
{
    ReducedMotion rm; // the arc jumps to its value
    OperationBar bar(QStringLiteral("Экспорт"), std::nullopt, 0.25);
    EXPECT_DOUBLE_EQ(bar.shownArcFraction(), 0.25);
    bar.resize(bar.sizeHint());
    bar.show();
    QWidget *indicator = bar.spinner()->parentWidget();
    const QImage img = renderWidget(*indicator);
    // A quarter from twelve o'clock clockwise covers the upper right, not the upper left.
    const QColor upperRight = img.pixelColor(int(9 + 8 * std::sin(M_PI / 4)), int(9 - 8 * std::cos(M_PI / 4)));
    const QColor upperLeft = img.pixelColor(int(9 - 8 * std::sin(M_PI / 4)), int(9 - 8 * std::cos(M_PI / 4)));
    EXPECT_TRUE(near(upperRight, Ink::accent(), 90)) << upperRight.name().toStdString();
    EXPECT_FALSE(near(upperLeft, Ink::accent(), 90)) << upperLeft.name().toStdString();
}

TEST(OperationBar, ReduceMotionStillsAndDimsTheSpinner)
{
    ReducedMotion rm;
    OperationBar bar(QStringLiteral("Поиск"));
    bar.show();
    EXPECT_TRUE(bar.spinner()->isVisible());
    EXPECT_FALSE(bar.spinner()->isSpinning());
    EXPECT_DOUBLE_EQ(bar.spinner()->ringOpacity(), 0.6);
    bar.setProgress(0.4);
    EXPECT_DOUBLE_EQ(bar.shownArcFraction(), 0.4);
}

} // namespace
