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
#include <QVBoxLayout>
#include <QMimeData>
#include <QMouseEvent>
#include <QTest>
#include "WidgetTestSupport.h"

#include <QTextDocumentFragment>
#include <gtest/gtest.h>

namespace {

// The pixels where `a` and `b`, drawn alike but for one part, differ: where that part shows.
QRect differingPixels(const QImage &a, const QImage &b)
{
    QRect found;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y)
        for (int x = 0; x < std::min(a.width(), b.width()); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                found |= QRect(x, y, 1, 1);
    return found;
}

// Where `labelled` draws its text: what differs from `bare`, the same control without the text,
// drawn at the same size.
QRect textInk(QWidget &labelled, QWidget &bare)
{
    bare.resize(labelled.size());
    return differingPixels(renderWidget(labelled), renderWidget(bare));
}

// A text drawn whole, neither cut nor elided (its ink as wide as the font draws the whole text),
// at least `room` px clear of the left and right edges of `box`.
void expectFits(const QRect &ink, const QString &text, const QFont &font, const QRect &box, int room)
{
    SCOPED_TRACE(text.toStdString());
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.width(), QFontMetricsF(font).tightBoundingRect(text).width() - 2);
    EXPECT_GE(ink.left() - box.left(), room);
    EXPECT_GE(box.right() - ink.right(), room);
}

TEST(DeckButton, SizesGiveHeightPaddingAndFont)
{
    const struct { DeckButtonSize size; int height; qreal pad; qreal px; } cases[] = {
        {DeckButtonSize::small, 24, 9, 11}, {DeckButtonSize::regular, 30, 13, 13}, {DeckButtonSize::large, 38, 18, 14}};
    for (const auto &c : cases) {
        DeckButton b(QStringLiteral("Обновить"), {DeckButtonRole::secondary, c.size});
        EXPECT_EQ(b.sizeHint().height(), c.height);
        EXPECT_EQ(b.height(), c.height);
        EXPECT_NEAR(Typo::pixelSize(b.font()), c.px, 0.01);
        // At its natural width the label shows whole, centred, with the padding clear at each side
        // (less a pixel or two of the glyphs' own side bearings).
        b.resize(b.sizeHint());
        DeckButton bare(QString(), {DeckButtonRole::secondary, c.size});
        const QRect ink = textInk(b, bare);
        expectFits(ink, QStringLiteral("Обновить"), b.font(), b.rect(), int(c.pad) - 2);
        EXPECT_LE(std::abs((ink.left() - b.rect().left()) - (b.rect().right() - ink.right())), 2);
        EXPECT_LE(b.width() - ink.width(), 2 * c.pad + 4);
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
    auto *column = new QVBoxLayout(&host);
    auto *ghost = new DeckButton(QStringLiteral("Призрак"), {DeckButtonRole::ghost});
    auto *secondary = new DeckButton(QStringLiteral("Ещё"));
    auto *destructive = new DeckButton(QStringLiteral("Удалить"), {DeckButtonRole::destructive});
    auto *primary = new DeckButton(QStringLiteral("Пуск"), {DeckButtonRole::primary});
    for (DeckButton *b : {ghost, secondary, destructive, primary})
        column->addWidget(b);
    host.show();
    EXPECT_EQ(ghost->fillColor().alpha(), 0);
    EXPECT_EQ(ghost->borderColor().alpha(), 0);
    // The pointer as the window system moves it: a button is hovered while it is under it.
    pointAt(ghost);
    EXPECT_TRUE(ghost->isHovering());
    EXPECT_EQ(ghost->fillColor(), Ink::surfaceHover());
    EXPECT_EQ(ghost->borderColor().alpha(), 0);

    EXPECT_EQ(secondary->fillColor(), Ink::surfaceHover());
    pointAt(secondary);
    EXPECT_FALSE(ghost->isHovering());
    EXPECT_EQ(secondary->fillColor(), Ink::surfacePressed());
    QTest::mousePress(secondary, Qt::LeftButton);
    EXPECT_TRUE(waitUntil([&] { return secondary->pressScale() == 0.975; }));
    EXPECT_EQ(secondary->fillColor(), Ink::surfacePressed()); // pressing changes no colour
    QTest::mouseRelease(secondary, Qt::LeftButton);

    pointAt(destructive);
    EXPECT_NEAR(destructive->fillColor().alphaF(), Ink::dangerSoft().alphaF() * 1.5, 0.002);

    pointAway(primary);
    EXPECT_NEAR(primary->fillColor().alphaF(), 0.95, 0.002);
    pointAt(primary);
    EXPECT_NEAR(primary->fillColor().alphaF(), 1.0, 0.002);
    pointAway(primary);
    EXPECT_FALSE(primary->isHovering());
    primary->setEnabled(false);
    pointAt(primary); // a disabled button never turns hovered
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

    QWidget host;
    host.resize(80, 80);
    IconButton &active = *new IconButton(QStringLiteral("star.fill"), {26, Tone::neutral, true}, &host);
    active.move(20, 20);
    host.show();
    EXPECT_EQ(active.glyphColor(), Ink::accent());
    EXPECT_EQ(active.fillColor(), Ink::accentSoft());
    pointAt(&active);
    EXPECT_TRUE(active.isHovering());
    EXPECT_EQ(active.fillColor(), Ink::accentSoft());
    EXPECT_EQ(active.borderColor(), withOpacity(Ink::accent(), 0.32));
    pointAway(&active);
    EXPECT_FALSE(active.isHovering());
    active.setEnabled(false);
    pointAt(&active);
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
    QWidget host;
    auto *row = new QHBoxLayout(&host);
    auto *plainChip = new FilterChip(QStringLiteral("Системные"), std::nullopt, std::nullopt, false);
    FilterChip &plain = *plainChip;
    row->addWidget(plainChip);
    row->addStretch(1);
    host.show();
    EXPECT_EQ(plain.sizeHint().height(), 25);
    // At its natural width the title shows whole, the side padding clear.
    {
        FilterChip shown(QStringLiteral("Системные"), std::nullopt, std::nullopt, false);
        FilterChip bare(QString(), std::nullopt, std::nullopt, false);
        shown.resize(shown.sizeHint());
        expectFits(textInk(shown, bare), QStringLiteral("Системные"), Typo::label(), shown.rect(), 9 - 2);
    }
    EXPECT_EQ(plain.capsuleFill().alpha(), 0);
    pointAt(plainChip);
    EXPECT_TRUE(plain.isHovering());
    EXPECT_EQ(plain.capsuleFill(), Ink::surfaceHover());
    EXPECT_EQ(plain.borderColor(), Ink::stroke());
    pointAway(plainChip);
    EXPECT_FALSE(plain.isHovering());

    // Symbol, title and a zero count all show, the count after the title and clear of the edge.
    FilterChip zero(QStringLiteral("Все"), QStringLiteral("square.grid.2x2"), 0, false);
    EXPECT_EQ(zero.badgeText(), "0");
    zero.resize(zero.sizeHint());
    FilterChip zeroUncounted(QStringLiteral("Все"), QStringLiteral("square.grid.2x2"), std::nullopt, false);
    FilterChip symbolOnly(QString(), QStringLiteral("square.grid.2x2"), std::nullopt, false);
    const QRect badge = textInk(zero, zeroUncounted); // sizes the uncounted chip as the counted one
    const QRect title = textInk(zeroUncounted, symbolOnly);
    expectFits(title, QStringLiteral("Все"), Typo::label(), zero.rect(), 9 - 2);
    ASSERT_FALSE(badge.isEmpty());
    EXPECT_GT(badge.left(), title.right());
    EXPECT_GE(zero.rect().right() - badge.right(), 9 - 2);

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
    QTest::mouseClick(plainChip, Qt::LeftButton);
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
    EXPECT_TRUE(seg.puckRect().isEmpty()); // no item matches
    // The long title shows whole in its segment, clear of the segment's sides: the segment's
    // own ink is whatever differs from the track's colour beside the title.
    seg.resize(seg.sizeHint());
    {
        const QImage drawn = renderWidget(seg);
        const QRect segment = rects[1].toAlignedRect().adjusted(1, 1, -1, -1);
        const QRgb track = drawn.pixel(segment.left(), segment.center().y());
        QRect ink;
        for (int y = segment.top(); y <= segment.bottom(); ++y)
            for (int x = segment.left(); x <= segment.right(); ++x)
                if (drawn.pixel(x, y) != track)
                    ink |= QRect(x, y, 1, 1);
        expectFits(ink, QStringLiteral("Пользовательские"), Typo::label(), rects[1].toAlignedRect(), 11 - 2);
    }

    QVariant changed;
    int changes = 0;
    QObject::connect(&seg, &DeckSegmented::selectionChanged, [&](const QVariant &v) { changed = v; ++changes; });
    seg.show();
    QTest::mouseClick(&seg, Qt::LeftButton, {}, rects[2].center().toPoint());
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
    QApplication::setActiveWindow(&host);
    ASSERT_TRUE(waitUntil([&] { return host.isActiveWindow(); }));
    clickThroughWindow(other);
    ASSERT_TRUE(other->hasFocus());
    EXPECT_FALSE(f->isFocused());
    clickThroughWindow(f->lineEdit());
    ASSERT_TRUE(f->lineEdit()->hasFocus());
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
    clickThroughWindow(f->clearButton());
    EXPECT_EQ(f->text(), QString());
    EXPECT_EQ(seen, QString());
    EXPECT_TRUE(f->showsKeyHint());
    EXPECT_TRUE(f->lineEdit()->hasFocus());
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
    // Symbol, then the text whole, clear of the trailing edge by the padding.
    soft.resize(soft.sizeHint());
    StatusBadge softBare(QStringLiteral("bolt.fill"), QString());
    const QRect softText = textInk(soft, softBare);
    expectFits(softText, QStringLiteral("USB"), Typo::label(), soft.rect(), 8 - 2);
    EXPECT_GT(softText.left() - soft.rect().left(), 8 + 9);
    StatusBadge solid(QStringLiteral("xmark.octagon.fill"), QStringLiteral("Ошибка"), Tone::danger, BadgeStyle::solid);
    EXPECT_EQ(solid.labelColor(), QColor(Qt::white));
    EXPECT_EQ(solid.capsuleFill(), Ink::danger());
    StatusBadge outline(QStringLiteral("checkmark.seal.fill"), QStringLiteral("OK"), Tone::success, BadgeStyle::outline, true);
    EXPECT_EQ(outline.capsuleFill().alpha(), 0);
    EXPECT_EQ(outline.borderColor(), withOpacity(Ink::success(), 0.45));
    outline.resize(outline.sizeHint());
    StatusBadge outlineBare(QStringLiteral("checkmark.seal.fill"), QString(), Tone::success, BadgeStyle::outline, true);
    const QRect outlineText = textInk(outline, outlineBare);
    expectFits(outlineText, QStringLiteral("OK"), Typo::caption(), outline.rect(), 6 - 2);
    EXPECT_GT(outlineText.left() - outline.rect().left(), 6 + 8);

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
