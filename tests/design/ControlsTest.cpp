#include "design/Accessibility.h"
#include "design/DeckButton.h"
#include "design/DeckSearchField.h"
#include "design/DeckSegmented.h"
#include "design/FilterChip.h"
#include "design/Ink.h"
#include "design/Labels.h"
#include "design/Theme.h"
#include "design/ToneInk.h"

#include "TestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QMimeData>
#include <QMouseEvent>
#include "WidgetTestSupport.h"

#include <QTextDocumentFragment>
#include <gtest/gtest.h>

namespace {

TEST(DeckButton, SizesGiveHeightPaddingAndFont)
{
    const struct { DeckButtonSize size; int height; qreal pad; qreal px; } cases[] = {
        {DeckButtonSize::small, 24, 9, 11}, {DeckButtonSize::regular, 30, 13, 13}, {DeckButtonSize::large, 38, 18, 14}};
    for (const auto &c : cases) {
        DeckButton b(QStringLiteral("Обновить"), {DeckButtonRole::secondary, c.size});
        const qreal label = QFontMetricsF(b.font()).horizontalAdvance(QStringLiteral("Обновить"));
        EXPECT_EQ(b.sizeHint().height(), c.height);
        EXPECT_EQ(b.height(), c.height);
        EXPECT_EQ(b.sizeHint().width(), int(std::ceil(label + 2 * c.pad)));
        EXPECT_NEAR(Typo::pixelSize(b.font()), c.px, 0.01);
    }
    EXPECT_EQ(DeckButtonStyle{}, (DeckButtonStyle{DeckButtonRole::secondary, DeckButtonSize::regular, false}));
}

TEST(DeckButton, FullWidthSpansItsParentAtTheSameHeight)
{
    QWidget host;
    auto *row = new QHBoxLayout(&host);
    row->setContentsMargins(0, 0, 0, 0);
    auto *b = new DeckButton(QStringLiteral("Установить"), {DeckButtonRole::primary, DeckButtonSize::small, true});
    row->addWidget(b);
    host.resize(400, 80);
    host.show();
    EXPECT_EQ(b->width(), 400);
    EXPECT_EQ(b->height(), 24);
}

TEST(DeckButton, RolesHoverAndDisabledState)
{
    ReducedMotion rm;
    QWidget host;
    auto *ghost = new DeckButton(QStringLiteral("Призрак"), {DeckButtonRole::ghost}, &host);
    EXPECT_EQ(ghost->fillColor().alpha(), 0);
    EXPECT_EQ(ghost->borderColor().alpha(), 0);
    ghost->setHovering(true);
    EXPECT_EQ(ghost->fillColor(), Ink::surfaceHover());
    EXPECT_EQ(ghost->borderColor().alpha(), 0);

    auto *secondary = new DeckButton(QStringLiteral("Ещё"), {}, &host);
    host.show();
    EXPECT_EQ(secondary->fillColor(), Ink::surfaceHover());
    secondary->setHovering(true);
    EXPECT_EQ(secondary->fillColor(), Ink::surfacePressed());
    secondary->setDown(true);
    EXPECT_TRUE(waitUntil([&] { return secondary->pressScale() == 0.975; }));
    EXPECT_EQ(secondary->fillColor(), Ink::surfacePressed()); // pressing changes no colour

    auto *destructive = new DeckButton(QStringLiteral("Удалить"), {DeckButtonRole::destructive}, &host);
    destructive->setHovering(true);
    EXPECT_NEAR(destructive->fillColor().alphaF(), Ink::dangerSoft().alphaF() * 1.5, 0.002);

    auto *primary = new DeckButton(QStringLiteral("Пуск"), {DeckButtonRole::primary}, &host);
    EXPECT_NEAR(primary->fillColor().alphaF(), 0.95, 0.002);
    primary->setHovering(true);
    EXPECT_NEAR(primary->fillColor().alphaF(), 1.0, 0.002);
    primary->setHovering(false);
    primary->setEnabled(false);
    primary->setHovering(true); // a disabled button never turns hovered
    EXPECT_FALSE(primary->isHovering());
    EXPECT_EQ(primary->labelColor(), withOpacity(Ink::textTertiary(), 0.7));
    primary->setDown(true);
    primary->repaint();
    QApplication::processEvents();
    EXPECT_DOUBLE_EQ(primary->pressScale(), 1.0);
}

TEST(IconButton, SizeGlyphAndActiveState)
{
    ReducedMotion rm;
    IconButton small(QStringLiteral("trash"), {22, Tone::danger, false});
    EXPECT_EQ(small.size(), QSize(22, 22));
    EXPECT_NEAR(small.glyphSize(), 9.68, 1e-9);
    EXPECT_EQ(small.glyphColor(), Ink::danger());
    EXPECT_EQ(IconButton(QStringLiteral("xmark")).glyphColor(), Ink::textSecondary());

    IconButton active(QStringLiteral("star.fill"), {26, Tone::neutral, true});
    active.show();
    EXPECT_EQ(active.glyphColor(), Ink::accent());
    EXPECT_EQ(active.fillColor(), Ink::accentSoft());
    active.setHovering(true);
    EXPECT_EQ(active.fillColor(), Ink::accentSoft());
    EXPECT_EQ(active.borderColor(), withOpacity(Ink::accent(), 0.32));
    active.setHovering(false);
    active.setEnabled(false);
    active.setHovering(true);
    EXPECT_FALSE(active.isHovering());
    EXPECT_EQ(active.fillColor(), Ink::accentSoft());
    EXPECT_EQ(active.glyphColor(), withOpacity(Ink::textTertiary(), 0.55));
    active.setDown(true);
    active.repaint();
    EXPECT_DOUBLE_EQ(active.pressScale(), 1.0);
}

TEST(FilterChip, GeometryAndColoursByState)
{
    ReducedMotion rm;
    FilterChip plain(QStringLiteral("Системные"), std::nullopt, std::nullopt, false);
    const qreal title = QFontMetricsF(Typo::label()).horizontalAdvance(QStringLiteral("Системные"));
    EXPECT_EQ(plain.sizeHint(), QSize(int(std::ceil(title + 18)), 25));
    EXPECT_EQ(plain.capsuleFill().alpha(), 0);
    plain.setHovering(true);
    EXPECT_EQ(plain.capsuleFill(), Ink::surfaceHover());
    EXPECT_EQ(plain.borderColor(), Ink::stroke());

    FilterChip zero(QStringLiteral("Все"), QStringLiteral("square.grid.2x2"), 0, false);
    EXPECT_EQ(zero.badgeText(), "0");
    EXPECT_GT(zero.sizeHint().width(), plain.sizeHint().width() - 60);

    FilterChip neutral(QStringLiteral("Риск"), std::nullopt, 12, true, Tone::neutral);
    neutral.setHovering(true);
    EXPECT_EQ(neutral.capsuleFill(), Ink::neutralSoft());
    EXPECT_EQ(neutral.labelColor(), Ink::textSecondary());
    EXPECT_EQ(neutral.badgeTextColor(), withOpacity(Ink::textSecondary(), 0.85));
    EXPECT_EQ(neutral.badgeFill(), withOpacity(Ink::textSecondary(), 0.14));
    EXPECT_EQ(neutral.borderColor(), withOpacity(Ink::textSecondary(), 0.35));

    // The chip never flips itself.
    int clicks = 0;
    QObject::connect(&plain, &QAbstractButton::clicked, [&] { ++clicks; });
    plain.click();
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(plain.isOn());
}

TEST(DeckSegmented, TrackSegmentsAndPuck)
{
    ReducedMotion rm;
    const QList<DeckSegmented::Item> items{{QStringLiteral("all"), QStringLiteral("Все"), std::nullopt, 120},
                                           {QStringLiteral("user"), QStringLiteral("Пользовательские"), std::nullopt, std::nullopt},
                                           {QStringLiteral("sys"), QStringLiteral("Системные"), QStringLiteral("gearshape"), std::nullopt}};
    DeckSegmented seg(items, QStringLiteral("none"));
    EXPECT_EQ(seg.sizeHint().height(), 28);
    EXPECT_EQ(seg.accessibleName(), "Фильтр");
    const auto rects = seg.segmentRects();
    ASSERT_EQ(rects.size(), 3);
    EXPECT_EQ(rects[0].top(), 2);
    EXPECT_EQ(rects[0].left(), 2);
    EXPECT_EQ(rects[0].height(), 24);
    EXPECT_EQ(rects[1].left() - rects[0].right(), 2);
    EXPECT_EQ(seg.sizeHint().width(), int(rects[2].right() + 2));
    const qreal title = QFontMetricsF(Typo::label()).horizontalAdvance(QStringLiteral("Пользовательские"));
    EXPECT_EQ(rects[1].width(), std::ceil(title + 22));
    EXPECT_TRUE(seg.puckRect().isEmpty()); // no item matches

    QVariant changed;
    int changes = 0;
    QObject::connect(&seg, &DeckSegmented::selectionChanged, [&](const QVariant &v) { changed = v; ++changes; });
    seg.resize(seg.sizeHint());
    QMouseEvent click(QEvent::MouseButtonRelease, rects[2].center(), rects[2].center(), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&seg, &click);
    EXPECT_EQ(changed, QVariant(QStringLiteral("sys")));
    EXPECT_EQ(seg.puckRect(), rects[2]); // reduce motion: the puck jumps
    seg.setSelection(QStringLiteral("sys"));
    EXPECT_EQ(changes, 1); // the same value changes nothing

    A11y::resetForTesting();
    seg.setSelection(QStringLiteral("all"));
    EXPECT_NE(seg.puckRect(), rects[0]); // springs towards the new segment
    EXPECT_TRUE(waitUntil([&] { return seg.puckRect() == rects[0]; }));
}

TEST(DeckSearchField, WidthRule)
{
    const struct { std::optional<qreal> width; int hint, min, max; } cases[] = {
        {200, 200, 132, 200}, {100, 100, 100, 100}, {std::nullopt, 132, 132, QWIDGETSIZE_MAX}};
    for (const auto &c : cases) {
        DeckSearchField f(QStringLiteral("Поиск"), c.width);
        EXPECT_EQ(f.sizeHint(), QSize(c.hint, 28));
        EXPECT_EQ(f.minimumWidth(), c.min);
        EXPECT_EQ(f.maximumWidth(), c.max);
        EXPECT_EQ(f.height(), 28);
    }
    QWidget host;
    auto *row = new QHBoxLayout(&host);
    auto *flexible = new DeckSearchField(QStringLiteral("Поиск"));
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(flexible);
    host.resize(500, 40);
    host.show();
    EXPECT_EQ(flexible->width(), 500);
}

TEST(DeckSearchField, AccessoryFollowsTheTextAndClearingKeepsFocus)
{
    ReducedMotion rm;
    QWidget host;
    auto *row = new QHBoxLayout(&host);
    auto *f = new DeckSearchField(QStringLiteral("Поиск"), 240, 132, QStringLiteral("Ctrl+F"));
    auto *other = new QLineEdit;
    row->addWidget(f);
    row->addWidget(other);
    host.show();
    EXPECT_TRUE(f->showsKeyHint());
    EXPECT_FALSE(f->showsClearButton());
    EXPECT_EQ(f->ringColor(), Ink::stroke());
    EXPECT_EQ(f->ringWidth(), 1);

    QString seen;
    QObject::connect(f, &DeckSearchField::textChanged, [&](const QString &t) { seen = t; });
    f->lineEdit()->setFocus();
    QApplication::processEvents();
    host.activateWindow();
    QFocusEvent in(QEvent::FocusIn);
    QApplication::sendEvent(f->lineEdit(), &in);
    EXPECT_TRUE(f->isFocused());
    EXPECT_EQ(f->ringWidth(), 2);
    EXPECT_EQ(f->ringColor(), withOpacity(Ink::accent(), 0.7));
    EXPECT_EQ(f->magnifierColor(), Ink::accent());

    f->lineEdit()->setText(QStringLiteral("camera"));
    EXPECT_EQ(seen, "camera");
    EXPECT_TRUE(f->showsClearButton());
    EXPECT_FALSE(f->showsKeyHint());
    EXPECT_TRUE(f->clearButton()->isVisibleTo(f));
    EXPECT_FALSE(f->keyHint()->isVisibleTo(f));
    EXPECT_EQ(f->clearButton()->focusPolicy(), Qt::NoFocus);
    f->clearButton()->click();
    EXPECT_EQ(f->text(), QString());
    EXPECT_EQ(seen, QString());
    EXPECT_TRUE(f->showsKeyHint());
    EXPECT_TRUE(f->isFocused());

    DeckSearchField bare(QStringLiteral("Поиск"));
    EXPECT_FALSE(bare.showsKeyHint());
    EXPECT_FALSE(bare.showsClearButton());
}

TEST(Labels, EyebrowSectionHeaderAndBadge)
{
    Eyebrow e(QStringLiteral("Состояние device"));
    EXPECT_EQ(e.text(), "СОСТОЯНИЕ DEVICE");
    EXPECT_EQ(e.color(), Ink::textTertiary());

    auto *trailing = new QWidget;
    trailing->setFixedSize(40, 20);
    SectionHeader h(QStringLiteral("Хранилище"), std::nullopt, trailing);
    EXPECT_EQ(h.subtitleLabel(), nullptr);
    h.resize(100, 40);
    h.show();
    EXPECT_GE(trailing->geometry().left() - h.titleLabel()->geometry().right(), 8);

    StatusBadge soft(QStringLiteral("bolt.fill"), QStringLiteral("USB"));
    EXPECT_EQ(soft.labelColor(), Ink::textSecondary());
    EXPECT_EQ(soft.capsuleFill(), Ink::neutralSoft());
    const qreal text = QFontMetricsF(Typo::label()).horizontalAdvance(QStringLiteral("USB"));
    EXPECT_EQ(soft.sizeHint().width(), int(std::ceil(9.5 + 4 + text + 16)));
    StatusBadge solid(QStringLiteral("xmark.octagon.fill"), QStringLiteral("Ошибка"), Tone::danger, BadgeStyle::solid);
    EXPECT_EQ(solid.labelColor(), QColor(Qt::white));
    EXPECT_EQ(solid.capsuleFill(), Ink::danger());
    StatusBadge outline(QStringLiteral("checkmark.seal.fill"), QStringLiteral("OK"), Tone::success, BadgeStyle::outline, true);
    EXPECT_EQ(outline.capsuleFill().alpha(), 0);
    EXPECT_EQ(outline.borderColor(), withOpacity(Ink::success(), 0.45));
    const qreal captionText = QFontMetricsF(Typo::caption()).horizontalAdvance(QStringLiteral("OK"));
    EXPECT_EQ(outline.sizeHint().width(), int(std::ceil(8.5 + 3 + captionText + 12)));

    // Offered less room, a badge keeps its ideal width.
    QWidget host;
    auto *row = new QHBoxLayout(&host);
    auto *squeezed = new StatusBadge(QStringLiteral("clock"), QStringLiteral("Время работы 3 ч"));
    row->addWidget(squeezed);
    host.resize(30, 30);
    host.show();
    EXPECT_EQ(squeezed->width(), squeezed->sizeHint().width());
}

TEST(CopyableValue, CopiesExactlyTheTextAndConfirmsForAWhile)
{
    CopyableValue v(QStringLiteral("R58M123ABC"), Typo::mono(), [] { return Ink::textSecondary(); },
                    QStringLiteral("Серийный номер"));
    EXPECT_EQ(v.accessibilityLabel(), "Серийный номер: R58M123ABC");
    EXPECT_EQ(CopyableValue(QStringLiteral("abc")).accessibilityLabel(), "abc");
    EXPECT_EQ(v.toolTip(), "Скопировать: R58M123ABC");
    // A value that looks like markup is shown as it is.
    const CopyableValue markup(QStringLiteral("<b>com.evil</b>"));
    EXPECT_EQ(QTextDocumentFragment::fromHtml(markup.toolTip()).toPlainText(), "Скопировать: <b>com.evil</b>");
    EXPECT_EQ(v.symbolName(), "doc.on.doc");
    EXPECT_EQ(v.copiedDuration, std::chrono::milliseconds(1400));
    v.copiedDuration = std::chrono::milliseconds(200);
    v.click();
    EXPECT_EQ(QApplication::clipboard()->text(), "R58M123ABC");
    EXPECT_EQ(QApplication::clipboard()->mimeData()->formats().size(), 1);
    EXPECT_TRUE(v.isCopied());
    EXPECT_EQ(v.symbolName(), "checkmark");
    EXPECT_EQ(v.symbolColor(), Ink::success());
    EXPECT_EQ(v.toolTip(), "Скопировано");
    // Back to the copy icon for the next click; a second click does not extend the first
    // confirmation: the first click's short timer clears the mark though the second's is long.
    ASSERT_TRUE(waitUntil([&] { return !v.isCopied(); }));
    v.copiedDuration = std::chrono::milliseconds(200);
    v.click();
    v.copiedDuration = std::chrono::hours(1);
    v.click();
    EXPECT_TRUE(v.isCopied());
    EXPECT_TRUE(waitUntil([&] { return !v.isCopied(); }));
    EXPECT_EQ(v.symbolName(), "doc.on.doc");
}

TEST(PulseDot, RingOnlyWhileAnimatingWithoutReduceMotion)
{
    PulseDot idle(Tone::success, false);
    idle.show();
    EXPECT_EQ(idle.size(), QSize(14, 14));
    EXPECT_FALSE(idle.showsRing());
    EXPECT_FALSE(idle.isPulsing());

    PulseDot live(Tone::success, true);
    live.show();
    EXPECT_TRUE(live.isPulsing());

    ReducedMotion rm;
    PulseDot still(Tone::accent, true);
    still.show();
    EXPECT_FALSE(still.showsRing());
    EXPECT_FALSE(still.isPulsing());
}

TEST(PulseDot, LoopRunsOnlyWhileShownAndMotionAllowed)
{
    QWidget host;
    auto *dot = new PulseDot(Tone::success, true, &host);
    EXPECT_FALSE(dot->isPulsing()); // not on screen yet
    host.show();
    EXPECT_TRUE(dot->isPulsing());

    dot->hide();
    EXPECT_FALSE(dot->isPulsing());
    dot->show();
    EXPECT_TRUE(dot->isPulsing());
    host.hide(); // hidden with its window
    EXPECT_FALSE(dot->isPulsing());
    host.show();
    EXPECT_TRUE(dot->isPulsing());

    // Turned off and on while shown; turning on while hidden waits for the show.
    dot->setAnimating(false);
    EXPECT_FALSE(dot->isPulsing());
    dot->setAnimating(true);
    EXPECT_TRUE(dot->isPulsing());
    dot->hide();
    dot->setAnimating(false);
    dot->setAnimating(true);
    EXPECT_FALSE(dot->isPulsing());
    dot->show();
    EXPECT_TRUE(dot->isPulsing());

    // Reduce motion switched on while it runs ends the loop at its next tick; no restart on show.
    {
        ReducedMotion rm;
        EXPECT_TRUE(waitUntil([&] { return !dot->isPulsing(); }));
        dot->hide();
        dot->show();
        EXPECT_FALSE(dot->isPulsing());
    }
    dot->hide();
    dot->show();
    EXPECT_TRUE(dot->isPulsing());
}

} // namespace

namespace {

// The primary button's glow spills outside it; a disabled one casts none.
TEST(DeckButton, PrimaryGlowOnlyWhileEnabled)
{
    A11y::setReduceMotion(true);
    QWidget host;
    host.setAutoFillBackground(true);
    QPalette pal;
    pal.setColor(QPalette::Window, QColor(128, 128, 128));
    host.setPalette(pal);
    host.resize(200, 100);
    auto *b = new DeckButton(QStringLiteral("Пуск"), {DeckButtonRole::primary}, &host);
    b->setGeometry(50, 35, 100, 30);
    host.show();
    QApplication::processEvents();
    auto below = [&] { return host.grab().toImage().pixel(100, 68); };
    EXPECT_GT(qBlue(below()), qRed(below())); // tinted by the accent
    b->setEnabled(false);
    QApplication::processEvents();
    EXPECT_EQ(below(), qRgb(128, 128, 128));
    // Under the faded fill the grey still shows; nothing dark is cast beneath it.
    EXPECT_GT(qRed(host.grab().toImage().pixel(56, 42)), 100);
    A11y::resetForTesting();
}

} // namespace
