// Texts that change or are read in ways of their own: rolling counts, digits of one width, a
// selectable line cut in the middle, a line edit that names its empty value.
#include "design/Accessibility.h"
#include "design/AnimatedValue.h"
#include "design/LineEditAccessible.h"
#include "design/Motion.h"
#include "design/RollingText.h"
#include "design/SelectableLine.h"
#include "design/TabularDigits.h"
#include "design/Typo.h"

#include "TestSupport.h"
#include "WidgetTestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPainter>
#include <QKeyEvent>
#include <gtest/gtest.h>

namespace {

TEST(RollingText, OnlyTheChangedMiddleRolls)
{
    const struct {
        QString before, after;
        qsizetype start, end;
    } cases[] = {
        {"9 приложений в плане", "10 приложений в плане", 0, 19},
        {"12", "13", 1, 0},
        {"3", "4", 0, 0},
        {"", "7", 0, 0},
        {"11", "111", 2, 0}, // the unchanged ends never overlap
    };
    for (const auto &c : cases) {
        EXPECT_EQ(RollingText::commonEnds(c.before, c.after), std::pair(c.start, c.end)) << c.after.toStdString();
        const auto [start, end] = RollingText::commonEnds(c.before, c.after);
        EXPECT_LE(start + end, std::min(c.before.size(), c.after.size()));
    }
}

// A shown count rolls under the token it is given and jumps under none (reduce motion), while
// hidden, or from an empty text; the text is the new one at once either way.
TEST(RollingText, RollsOnlyWhenShownAndMotionIsAllowed)
{
    QWidget window;
    auto *count = new RollingText(QString(), Typo::metricSmall(), [] { return Qt::white; }, &window);
    count->rollTo(QStringLiteral("3"), Motion::snap());
    EXPECT_FALSE(count->isRolling()); // hidden
    window.show();
    count->rollTo(QStringLiteral("4"), Motion::snap());
    EXPECT_EQ(count->text(), QStringLiteral("4"));
    ASSERT_TRUE(count->isRolling());
    EXPECT_EQ(count->roll()->animation().duration(), Motion::snap().durationMs());
    EXPECT_TRUE(waitUntil([&] { return !count->isRolling(); }));
    count->rollTo(QStringLiteral("5"), Motion::resolve(Motion::snap(), true));
    EXPECT_EQ(count->text(), QStringLiteral("5"));
    EXPECT_FALSE(count->isRolling());
    // Drawn half-way without trouble.
    count->rollTo(QStringLiteral("16"), Motion::smooth());
    QImage image(count->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    count->render(&image);
}

TEST(TabularDigits, EveryDigitTakesTheWidestDigitsWidth)
{
    const QFont font = Typo::caption();
    const QFontMetricsF metrics(font);
    qreal widest = 0;
    for (char c = '0'; c <= '9'; ++c)
        widest = std::max(widest, metrics.horizontalAdvance(QLatin1Char(c)));
    for (const QString &text : {QStringLiteral("1111"), QStringLiteral("8888"), QStringLiteral("4071")})
        EXPECT_DOUBLE_EQ(TabularDigits::width(text, font), 4 * widest) << text.toStdString();
    EXPECT_DOUBLE_EQ(TabularDigits::width(QStringLiteral("a1"), font),
                     metrics.horizontalAdvance(QLatin1Char('a')) + widest);
    // Right-aligned, the last digit ends at the right edge whatever the digit.
    QImage image(200, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setPen(Qt::black);
    TabularDigits::paint(p, QRectF(0, 0, 200, 40), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("41"), font);
}

// Cut in the middle, a line still copies the real text: a selection across the "…" takes the
// hidden middle in, a selection before it just its own part.
TEST(SelectableLine, CopiesTheRealTextBehindTheCut)
{
    const QString name = QStringLiteral("com.example.service.background.SynchronisationWorker");
    SelectableLine line(name, Typo::monoSmall(), [] { return Qt::white; });
    line.resize(int(QFontMetricsF(line.font()).horizontalAdvance(name) / 2), 20);
    line.show();
    const QString shown = line.shownText();
    const qsizetype cut = shown.indexOf(QChar(0x2026));
    ASSERT_GT(cut, 0);
    line.setSelection(0, int(shown.size()));
    EXPECT_EQ(line.selectedFullText(), name);
    line.setSelection(0, int(cut));
    EXPECT_EQ(line.selectedFullText(), name.left(cut));
    line.setSelection(int(cut), 2);
    EXPECT_EQ(line.selectedFullText(), name.mid(cut, name.size() - shown.size() + 2));
    const qsizetype tail = shown.size() - cut - 1;
    line.setSelection(int(cut + 1), int(tail));
    EXPECT_EQ(line.selectedFullText(), name.right(tail));

    // Wide enough, nothing is cut.
    line.resize(line.sizeHint().width() + 10, 20);
    EXPECT_EQ(line.shownText(), name);
    line.setSelection(4, 7);
    EXPECT_EQ(line.selectedFullText(), QStringLiteral("example"));
    QKeyEvent copy(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier, QStringLiteral("c"));
    QApplication::sendEvent(&line, &copy);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("example"));

    // A line break shows as its stand-in; the whole line copies as received.
    const QString broken = QStringLiteral("com.example\n.Receiver");
    SelectableLine withBreak(broken, Typo::monoSmall(), [] { return Qt::white; });
    withBreak.resize(withBreak.sizeHint().width() + 10, 20);
    EXPECT_EQ(withBreak.shownText(), QStringLiteral("com.example<LF>.Receiver"));
    withBreak.setSelection(0, int(withBreak.shownText().size()));
    EXPECT_EQ(withBreak.selectedFullText(), broken);
}

TEST(LineEditAccessible, AnEmptyLineReadsItsWord)
{
    QLineEdit edit;
    LineEditAccessible::setEmptyValue(&edit, QStringLiteral("пусто"));
    edit.setAccessibleName(QStringLiteral("Командная строка"));
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(&edit);
    ASSERT_TRUE(iface);
    EXPECT_EQ(iface->role(), QAccessible::EditableText);
    EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Командная строка"));
    EXPECT_EQ(iface->text(QAccessible::Value), QStringLiteral("пусто"));
    ASSERT_TRUE(iface->textInterface());
    EXPECT_EQ(iface->textInterface()->characterCount(), 0);

    edit.setText(QStringLiteral("ls -la"));
    EXPECT_EQ(iface->text(QAccessible::Value), QStringLiteral("ls -la"));
    EXPECT_EQ(iface->textInterface()->text(0, 2), QStringLiteral("ls"));
    edit.setSelection(3, 3);
    int start = -1, end = -1;
    iface->textInterface()->selection(0, &start, &end);
    EXPECT_EQ(std::pair(start, end), std::pair(3, 6));

    // Edits through accessibility are edits the field's listeners hear.
    QStringList edited;
    QObject::connect(&edit, &QLineEdit::textEdited, [&](const QString &text) { edited << text; });
    ASSERT_TRUE(iface->editableTextInterface());
    iface->editableTextInterface()->replaceText(3, 6, QStringLiteral("-l"));
    EXPECT_EQ(edit.text(), QStringLiteral("ls -l"));
    iface->editableTextInterface()->deleteText(0, edit.text().size());
    EXPECT_EQ(iface->text(QAccessible::Value), QStringLiteral("пусто"));
    EXPECT_EQ(edited, (QStringList{QStringLiteral("ls -l"), QString()}));

    // Other line edits keep the platform's own interface.
    QLineEdit plain;
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&plain)->text(QAccessible::Value), QString());
}

} // namespace
