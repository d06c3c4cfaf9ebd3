#include "design/Accessibility.h"
#include "design/ArcGauge.h"
#include "design/Ink.h"
#include "design/InfoRow.h"
#include "design/Labels.h"
#include "design/DeckParagraph.h"
#include "design/MeterBar.h"
#include "design/MetricTile.h"
#include "design/Theme.h"
#include "design/ToneInk.h"

#include "PaintedText.h"
#include "TestSupport.h"

#include <QVBoxLayout>
#include "WidgetTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

int distance(const QColor &a, const QColor &b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

TEST(MeterLevel, ClampsAndDrawsNotANumberAsFull)
{
    const double inf = std::numeric_limits<double>::infinity();
    const struct { double in, out; } cases[] = {{-0.2, 0}, {0, 0}, {0.5, 0.5}, {1, 1}, {1.7, 1}, {inf, 1},
                                                {-inf, 0}, {std::nan(""), 1}};
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(meterLevel(c.in), c.out) << c.in;
}

TEST(MeterBar, FillFollowsTheLevelAndTrackSpansTheWidth)
{
    ReducedMotion rm;
    MeterBar bar(0.5);
    bar.resize(200, bar.height());
    EXPECT_DOUBLE_EQ(bar.trackRect().width(), 200);
    EXPECT_DOUBLE_EQ(bar.trackRect().height(), 5);
    EXPECT_DOUBLE_EQ(bar.fillRect().width(), 100);
    bar.setProgress(-0.2);
    EXPECT_DOUBLE_EQ(bar.fillRect().width(), 0);
    EXPECT_DOUBLE_EQ(bar.progress(), -0.2); // kept as given
    bar.setProgress(1.7);
    EXPECT_DOUBLE_EQ(bar.fillRect().width(), 200);
    EXPECT_DOUBLE_EQ(bar.trackRect().width(), 200);
}

TEST(MeterBar, AccentFillShadesFromThreeQuartersToFull)
{
    ReducedMotion rm;
    Theme::setScheme(ColorScheme::dark);
    QImage img(300, 20, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::black);
    QPainter p(&img);
    MeterBar::paint(p, QRectF(0, 5, 300, 10), 1, Ink::accent());
    p.end();
    const QColor accent = Ink::accent();
    const QColor left = img.pixelColor(8, 10);
    const QColor right = img.pixelColor(292, 10);
    EXPECT_LE(distance(right, accent), 12) << right.name().toStdString();
    // Over black the leading end shows the 0.75 opacity (lifted a little by the glow beneath).
    const auto peak = [](const QColor &c) { return std::max({c.redF(), c.greenF(), c.blueF()}); };
    EXPECT_GT(peak(left) / peak(right), 0.72);
    EXPECT_LT(peak(left) / peak(right), 0.88);
}

TEST(MeterBar, ProgressChangesEaseUnlessReduceMotion)
{
    MeterBar bar(0);
    bar.resize(100, bar.height());
    bar.show();
    bar.setProgress(1);
    EXPECT_LT(bar.shownLevel(), 1);
    EXPECT_TRUE(waitUntil([&] { return bar.shownLevel() == 1; }));
    ReducedMotion rm;
    bar.setProgress(0.25);
    EXPECT_DOUBLE_EQ(bar.shownLevel(), 0.25);
}

TEST(ArcGauge, GeometryOfTrackAndLevel)
{
    ReducedMotion rm;
    ArcGauge gauge(1, Tone::accent);
    EXPECT_NEAR(gauge.startAngle(), 140.4, 1e-9);
    EXPECT_NEAR(gauge.trackSpan(), 259.2, 1e-9);
    EXPECT_DOUBLE_EQ(gauge.levelSpan(), gauge.trackSpan()); // full: exactly the track
    gauge.setProgress(0);
    EXPECT_DOUBLE_EQ(gauge.levelSpan(), 0);
    gauge.setProgress(std::nan(""));
    EXPECT_DOUBLE_EQ(gauge.levelSpan(), gauge.trackSpan());
    ArcGauge half(0.5, Tone::success, 4, 0.5);
    EXPECT_DOUBLE_EQ(half.startAngle(), 180);
    EXPECT_DOUBLE_EQ(half.levelSpan(), 90);
}

TEST(ArcGauge, LevelGrowsClockwiseFromTheLowerLeft)
{
    ReducedMotion rm;
    Theme::setScheme(ColorScheme::dark);
    ArcGauge gauge(0.3, Tone::danger, 6);
    gauge.resize(120, 120);
    const QImage img = renderWidget(gauge);
    const QRectF c = gauge.circleRect();
    const qreal r = c.width() / 2;
    auto at = [&](double clockwiseDeg) {
        const double a = clockwiseDeg * M_PI / 180;
        return img.pixelColor(int(c.center().x() + r * std::cos(a)), int(c.center().y() + r * std::sin(a)));
    };
    // 0.3 of the 259.2° track from 140.4°: up to 218.2°. The lower left is lit, the upper
    // right only shows the track, and the bottom opening shows nothing.
    EXPECT_LE(distance(at(200), Ink::danger()), 120) << at(200).name().toStdString();
    EXPECT_GT(distance(at(300), Ink::danger()), 120) << at(300).name().toStdString();
    EXPECT_GT(at(300).alpha(), 0);
    EXPECT_EQ(at(90).alpha(), 0); // the opening at six o'clock
}

TEST(MetricTile, IconToneBarAndAccessibilityLabel)
{
    ReducedMotion rm;
    MetricTile neutral(QStringLiteral("cpu"), QStringLiteral("Память"), QStringLiteral("3,2"));
    EXPECT_EQ(neutral.iconColor(), Ink::textTertiary());
    EXPECT_EQ(neutral.meter(), nullptr);
    EXPECT_EQ(neutral.footnoteLabel(), nullptr);
    EXPECT_EQ(neutral.accessibilityLabel(), QStringLiteral("Память: 3,2 . "));
    EXPECT_EQ(neutral.accessibleName(), neutral.accessibilityLabel());

    auto *badge = new StatusBadge(QStringLiteral("bolt.fill"), QStringLiteral("Заряжается"), Tone::success);
    MetricTile warning(QStringLiteral("internaldrive.fill"), QStringLiteral("Хранилище"), QStringLiteral("118"),
                       QStringLiteral("ГБ"), QStringLiteral("Свободно 10 ГБ из 128 ГБ"), Tone::warning, 0.92, badge);
    EXPECT_EQ(warning.iconColor(), Ink::warning());
    ASSERT_NE(warning.meter(), nullptr);
    EXPECT_EQ(warning.meter()->tone(), Tone::warning);
    EXPECT_EQ(warning.meter()->barHeight(), 5);
    EXPECT_EQ(warning.accessory(), badge);
    EXPECT_EQ(warning.footnoteLabel()->maximumLines(), 2);
    EXPECT_EQ(warning.accessibilityLabel(), QStringLiteral("Хранилище: 118 ГБ. Свободно 10 ГБ из 128 ГБ"));
    warning.setValue(QStringLiteral("119"), QStringLiteral("ГБ"));
    EXPECT_EQ(warning.accessibilityLabel(), QStringLiteral("Хранилище: 119 ГБ. Свободно 10 ГБ из 128 ГБ"));
}

TEST(MetricTile, FootnoteKeepsItsLinesInANarrowTile)
{
    QWidget host;
    auto *column = new QVBoxLayout(&host);
    auto *tile = new MetricTile(QStringLiteral("battery.100percent"), QStringLiteral("Батарея"), QStringLiteral("85"),
                                QStringLiteral("%"), QStringLiteral("Исправна, 31 °C, 4,2 В, заряжается от сети"));
    column->addWidget(tile);
    column->addStretch(1);
    host.resize(240, 400);
    host.show();
    QCoreApplication::processEvents();
    DeckParagraph *note = tile->footnoteLabel();
    EXPECT_GE(note->lineCountFor(note->width()), 2);
    EXPECT_EQ(note->shownLineCountFor(note->width()), 2);
    EXPECT_GE(note->height(), note->heightForWidth(note->width()));
}

TEST(MetricFigure, NewValueRollsInSameValueDoesNot)
{
    MetricFigure figure(QStringLiteral("42"), QStringLiteral("%"));
    figure.show();
    figure.setValue(QStringLiteral("42"), QStringLiteral("%"));
    EXPECT_FALSE(figure.isAnimating());
    figure.setValue(QStringLiteral("43"), QStringLiteral("%"));
    EXPECT_TRUE(figure.isAnimating());
    EXPECT_TRUE(waitUntil([&] { return !figure.isAnimating(); }));
    ReducedMotion rm;
    figure.setValue(QStringLiteral("44"), QStringLiteral("%"));
    EXPECT_FALSE(figure.isAnimating());
}

TEST(InfoRow, WrapsTheValueNotTheLabelAndCopyableStaysOneLine)
{
    QWidget host;
    auto *column = new QVBoxLayout(&host);
    const QString longValue = QString(QStringLiteral("/data/app/~~Xb3/com.example.app-1/base.apk ")).repeated(4);
    auto *plain = new InfoRow(QStringLiteral("Путь"), longValue, true);
    auto *copy = new InfoRow(QStringLiteral("Серийный номер"), longValue, true, true);
    column->addWidget(plain);
    column->addWidget(copy);
    column->addStretch(1);
    host.resize(460, 400);
    host.show();
    QCoreApplication::processEvents();

    ASSERT_NE(plain->valueText(), nullptr);
    EXPECT_EQ(plain->copyableValue(), nullptr);
    EXPECT_TRUE(plain->valueText()->textInteractionFlags() & Qt::TextSelectableByMouse);
    EXPECT_EQ(plain->labelText()->width(), 128);
    EXPECT_EQ(plain->labelText()->lineCountFor(128), 1);
    const QRect value = plain->valueText()->geometry();
    EXPECT_GT(value.height(), 2 * QFontMetrics(plain->valueText()->font()).height()); // wrapped
    EXPECT_EQ(value.top(), plain->labelText()->geometry().top());                     // top-aligned
    EXPECT_EQ(value.left(), 128 + 12);
    EXPECT_EQ(plain->accessibilityLabel(), QStringLiteral("Путь: ") + longValue);

    ASSERT_NE(copy->copyableValue(), nullptr);
    EXPECT_EQ(copy->valueText(), nullptr);
    EXPECT_LE(copy->copyableValue()->height(), copy->copyableValue()->sizeHint().height());
    EXPECT_LE(copy->copyableValue()->geometry().right(), copy->width());
    EXPECT_EQ(copy->copyableValue()->accessibilityLabel(), QStringLiteral("Серийный номер: ") + longValue);
}

TEST(InfoRow, IsAsTallAsItsValueNeedsAtItsWidth)
{
    // Short values stay one line; a long one takes the lines it needs, never more, never fewer.
    const struct { const char *value; int width; } cases[] = {
        {"1080x2400 → 720x1600", 400}, {"Android Debug Bridge version 1.0.41", 420},
        {"Android Debug Bridge version 1.0.41", 260}, {"Android Debug Bridge version 1.0.41", 200}};
    for (const auto &c : cases) {
        QWidget host;
        auto *column = new QVBoxLayout(&host);
        column->setContentsMargins(0, 0, 0, 0);
        auto *row = new InfoRow(QStringLiteral("Экран"), QString::fromUtf8(c.value), true);
        column->addWidget(row);
        column->addStretch(1);
        host.resize(c.width, 300);
        host.show();
        QCoreApplication::processEvents();
        SelectableText *value = row->valueText();
        const int needed = value->heightForWidth(value->width());
        EXPECT_EQ(row->height(), needed) << c.value << " at " << c.width;
        EXPECT_EQ(row->heightForWidth(c.width), needed) << c.value << " at " << c.width;
    }
}

// In one list a copyable value reads as one more value: its text starts at the left edge and on
// the baseline a plain value of the same font would, only the copy mark follows it.
TEST(InfoRow, ACopyableValueLinesUpWithAPlainOne)
{
    for (const bool mono : {true, false}) {
        SCOPED_TRACE(mono ? "mono" : "body");
        QWidget host;
        auto *column = new QVBoxLayout(&host);
        column->setContentsMargins(0, 0, 0, 0);
        auto *plain = new InfoRow(QStringLiteral("Модель"), QStringLiteral("Pixel-8-Pro"), mono);
        auto *copy = new InfoRow(QStringLiteral("Серийный"), QStringLiteral("R58M123ABC"), mono, true);
        column->addWidget(plain);
        column->addWidget(copy);
        column->addStretch(1);
        host.resize(460, 200);
        host.show();
        QCoreApplication::processEvents();

        const auto painted = PaintedText::of(host);
        // Where each row's value and label begin, against the row's own origin.
        const auto start = [&](const InfoRow *row, const QString &text) {
            for (const PaintedText::Run &r : painted->runs)
                if (QRectF(row->geometry()).contains(r.at) && text.startsWith(r.text.left(3)))
                    return r.at - QPointF(row->pos());
            ADD_FAILURE() << "no run of " << text.toStdString();
            return QPointF();
        };
        const QPointF plainValue = start(plain, QStringLiteral("Pixel-8-Pro"));
        const QPointF copyValue = start(copy, QStringLiteral("R58M123ABC"));
        EXPECT_NEAR(copyValue.x(), plainValue.x(), 0.5);
        EXPECT_NEAR(copyValue.y() - start(copy, QStringLiteral("Серийный")).y(),
                    plainValue.y() - start(plain, QStringLiteral("Модель")).y(), 0.5);
        // Where the font puts a baseline: its ascent below the row's top.
        EXPECT_NEAR(plainValue.y(), QFontMetricsF(plain->valueText()->font()).ascent(), 0.5);
    }
}

} // namespace
