#include "design/ShownText.h"

#include "design/DeckParagraph.h"
#include "design/DeckText.h"
#include "design/InfoRow.h"
#include "design/Ink.h"
#include "design/Labels.h"
#include "design/Typo.h"

#include "PaintedText.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>

#include <cmath>

namespace {

struct Case {
    const char *what;
    QString text;
    QString line;       // as drawn on one line
    QString accessible; // as read by assistive technology
};

// The whole literal, NUL characters included.
template <std::size_t N>
QString u(const char16_t (&text)[N])
{
    return QString::fromUtf16(text, N - 1);
}

std::vector<Case> cases()
{
    return {
        {"plain text stays", u(u"Камера 2.0"), u(u"Камера 2.0"), u(u"Камера 2.0")},
        {"tab stays", u(u"a\tb"), u(u"a\tb"), u(u"a\tb")},
        {"markup is only text", u(u"<b>Bold</b> &amp;"), u(u"<b>Bold</b> &amp;"), u(u"<b>Bold</b> &amp;")},
        {"right-to-left override", u(u"\u202Eevil.apk"), u(u"<RLO>evil.apk"), u(u"\u202Eevil.apk")},
        {"hidden extension", u(u"photo\u202Egpj.exe"), u(u"photo<RLO>gpj.exe"), u(u"photo\u202Egpj.exe")},
        {"every embedding and override", u(u"\u202A\u202B\u202C\u202D\u202E"), u(u"<LRE><RLE><PDF><LRO><RLO>"),
         u(u"\u202A\u202B\u202C\u202D\u202E")},
        {"isolates", u(u"\u2066a\u2069\u2067b\u2069\u2068c\u2069"), u(u"<LRI>a<PDI><RLI>b<PDI><FSI>c<PDI>"),
         u(u"\u2066a\u2069\u2067b\u2069\u2068c\u2069")},
        {"marks", u(u"a\u200Eb\u200Fc\u061Cd"), u(u"a<LRM>b<RLM>c<ALM>d"), u(u"a\u200Eb\u200Fc\u061Cd")},
        {"right-to-left letters stay", u(u"تطبيق"), u(u"تطبيق"), u(u"تطبيق")},
        {"line feed", u(u"x\ny.txt"), u(u"x<LF>y.txt"), u(u"x y.txt")},
        {"carriage return and line feed show both", u(u"a\r\nb"), u(u"a<CR><LF>b"), u(u"a b")},
        {"two breaks stay two", u(u"a\n\rb"), u(u"a<LF><CR>b"), u(u"a  b")},
        {"every line break", u(u"1\r2\u000B3\u000C4\u00855\u20286\u20297"), u(u"1<CR>2<VT>3<FF>4<NEL>5<LS>6<PS>7"), u(u"1 2 3 4 5 6 7")},
        {"break at the end", u(u"name\n"), u(u"name<LF>"), u(u"name ")},
        {"C0 controls", u(u"a\u0000b\u0007c\u001Bd\u001F"), u(u"a<NUL>b<BEL>c<ESC>d<US>"), u(u"abcd")},
        {"DEL", u(u"a\u007Fb"), u(u"a<DEL>b"), u(u"ab")},
        {"C1 controls", u(u"a\u0080b\u009Bc\u009F"), u(u"a<U+0080>b<U+009B>c<U+009F>"), u(u"abc")},
        {"a stand-in is never taken again", u(u"<RLO><ESC><LF>"), u(u"<RLO><ESC><LF>"), u(u"<RLO><ESC><LF>")},
        {"surrogate pairs stay", u(u"\U0001F600\u202E"), u(u"\U0001F600<RLO>"), u(u"\U0001F600\u202E")},
        {"empty", u(u""), u(u""), u(u"")},
    };
}

TEST(ShownText, DrawsEveryInvisibleCharacterVisiblyAndReadsTheOriginal)
{
    for (const Case &c : cases()) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ShownText::line(c.text), c.line);
        EXPECT_EQ(ShownText::accessible(c.text), c.accessible);
        EXPECT_EQ(ShownText::needsStandIns(c.text), c.text != c.line);
        // Drawing the result again changes nothing.
        EXPECT_EQ(ShownText::line(c.line), c.line);
    }
}

TEST(ShownText, StandInsCoverExactlyTheControls)
{
    for (char32_t c = 0; c < 0x10000; ++c) {
        const char16_t unit = char16_t(c);
        const bool control = (c < 0x20 && c != u'\t') || (c >= 0x7F && c <= 0x9F);
        const bool bidi = c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E)
                          || (c >= 0x2066 && c <= 0x2069);
        const bool separator = c == 0x2028 || c == 0x2029;
        EXPECT_EQ(!ShownText::standIn(unit).isEmpty(), control || bidi || separator) << std::hex << unsigned(c);
        // No stand-in holds a character that would itself need one.
        EXPECT_FALSE(ShownText::needsStandIns(ShownText::standIn(unit))) << std::hex << unsigned(c);
    }
}

// Every stand-in is drawn, not boxed: each of its characters is one the fonts the interface
// draws text from (the system sans-serif and monospace, every weight) have a glyph for. The
// stand-ins keep to printable ASCII, which every font has, so this holds whatever fonts a
// machine has installed.
TEST(ShownText, EveryStandInIsDrawnByTheFontsInUse)
{
    const QFont fonts[] = {Typo::body(), Typo::bodyMedium(), Typo::screenTitle(), Typo::caption(),
                           Typo::mono(), Typo::monoBody(), Typo::system(13, QFont::DemiBold),
                           Typo::monospaced(12, QFont::Bold)};
    for (char32_t c = 0; c < 0x10000; ++c) {
        const QStringView standIn = ShownText::standIn(char16_t(c));
        for (const QChar glyph : standIn) {
            EXPECT_TRUE(glyph.unicode() >= 0x20 && glyph.unicode() < 0x7F) << std::hex << unsigned(c);
            for (const QFont &font : fonts)
                EXPECT_TRUE(QFontMetrics(font).inFont(glyph))
                    << std::hex << unsigned(c) << " " << font.family().toStdString() << " lacks " << unsigned(glyph.unicode());
        }
    }
}

TEST(ShownText, UnchangedTextIsTheSameStringNotACopy)
{
    const QString text = QStringLiteral("com.example.camera");
    EXPECT_EQ(ShownText::line(text).constData(), text.constData());
    EXPECT_EQ(ShownText::paragraphs(text).constData(), text.constData());
    EXPECT_EQ(ShownText::logMessage(text).constData(), text.constData());
    EXPECT_EQ(ShownText::accessible(text).constData(), text.constData());
}

TEST(ShownText, ParagraphsKeepTheirLineFeedsOnly)
{
    const struct {
        const char *what;
        QString text;
        QString shown;
    } paragraphCases[] = {
        {"line feeds stay", u(u"a\nb\n"), u(u"a\nb\n")},
        {"a CR LF pair is one line feed", u(u"a\r\nb"), u(u"a\nb")},
        {"a lone carriage return shows", u(u"a\rb"), u(u"a<CR>b")},
        {"other breaks show", u(u"a\u000Bb\u000Cc\u0085d\u2028e\u2029f"), u(u"a<VT>b<FF>c<NEL>d<LS>e<PS>f")},
        {"controls show", u(u"\u202Ea\u0007\n\u001B"), u(u"<RLO>a<BEL>\n<ESC>")},
    };
    for (const auto &c : paragraphCases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ShownText::paragraphs(c.text), c.shown);
    }
}

TEST(ShownText, LogMessagesLoseTheirStyleCodesAndShowOtherEscapes)
{
    struct LogCase {
        const char *what;
        QString message;
        QString shown;
    };
    const std::vector<LogCase> logCases = {
        {"colour around a word", u(u"\u001B[31merror\u001B[0m done"), u(u"error done")},
        {"reset without parameters", u(u"\u001B[mplain"), u(u"plain")},
        {"several parameters", u(u"\u001B[1;38;5;208mhot\u001B[39;49m"), u(u"hot")},
        {"one-unit introducer", u(u"\u009B32mok\u009B0m"), u(u"ok")},
        {"only codes", u(u"\u001B[0m\u001B[K"), u(u"<ESC>[K")},
        {"cursor movement stays visible", u(u"\u001B[2Kline"), u(u"<ESC>[2Kline")},
        {"another escape stays visible", u(u"\u001B]0;title\u0007x"), u(u"<ESC>]0;title<BEL>x")},
        {"an unfinished sequence stays visible", u(u"a\u001B[31"), u(u"a<ESC>[31")},
        {"a lone escape", u(u"a\u001Bb"), u(u"a<ESC>b")},
        {"a break and a bidirectional control", u(u"a\nb\u202Ec"), u(u"a<LF>b<RLO>c")},
        {"markup", u(u"<i>x</i>"), u(u"<i>x</i>")},
    };
    for (const LogCase &c : logCases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ShownText::logMessage(c.message), c.shown);
    }
}

} // namespace

// ---- The design layer's labels draw device text through the helper.

namespace {

// Labels from a device with what a one-line label must draw for them.
struct LabelCase {
    const char *what;
    QString text;
    QString drawn;
};
std::vector<LabelCase> labelCases()
{
    return {
        {"override", u(u"\u202Eevil.apk"), u(u"<RLO>evil.apk")},
        {"line break", u(u"x\ny.txt"), u(u"x<LF>y.txt")},
        {"escape", u(u"\u001B[31mred"), u(u"<ESC>[31mred")},
        {"markup", u(u"<b>Bold</b> &amp; <i>x</i>"), u(u"<b>Bold</b> &amp; <i>x</i>")},
        {"plain", u(u"Камера"), u(u"Камера")},
    };
}

TEST(ShownTextWidgets, OneLineLabelsDrawStandInsOnOneLine)
{
    for (const LabelCase &c : labelCases()) {
        SCOPED_TRACE(c.what);
        DeckText text(c.text, Typo::body(), [] { return Ink::text(); });
        text.resize(std::max(600, text.sizeHint().width()), text.sizeHint().height());
        const auto painted = PaintedText::of(text);
        EXPECT_EQ(painted->texts().join(QString()), c.drawn);
        EXPECT_EQ(painted->linesIn(QRectF(text.rect())), 1);
        EXPECT_EQ(text.text(), c.text);
        EXPECT_EQ(text.shownText(), c.drawn);
        // Measured as drawn: the hint fits the stand-ins.
        EXPECT_EQ(text.sizeHint().width(), int(std::ceil(QFontMetricsF(text.font()).horizontalAdvance(c.drawn))));
    }
}

TEST(ShownTextWidgets, ParagraphsKeepTheirOwnBreaksAndAOneLineTextStaysOneParagraph)
{
    // A label given as one line never splits, whatever it holds.
    for (const LabelCase &c : labelCases()) {
        SCOPED_TRACE(c.what);
        DeckParagraph title(ShownText::line(c.text), Typo::screenTitle(), [] { return Ink::text(); });
        title.resize(900, title.heightForWidth(900));
        const auto painted = PaintedText::of(title);
        EXPECT_EQ(painted->texts().join(QString()), c.drawn);
        EXPECT_EQ(painted->linesIn(QRectF(title.rect())), 1);
    }
    // Our own paragraphs break at their line feeds; other controls show.
    DeckParagraph notes(u(u"Первый\r\nВторой\u202E\nТретий\u0007"), Typo::body(), [] { return Ink::text(); });
    notes.resize(900, notes.heightForWidth(900));
    EXPECT_EQ(notes.shownText(), u(u"Первый\nВторой<RLO>\nТретий<BEL>"));
    const auto painted = PaintedText::of(notes);
    EXPECT_EQ(painted->linesIn(QRectF(notes.rect())), 3);
    EXPECT_EQ(painted->texts().join(QString()), u(u"ПервыйВторой<RLO>Третий<BEL>"));
}

TEST(ShownTextWidgets, ValuesDrawStandInsButCopyAndReadTheOriginal)
{
    for (const LabelCase &c : labelCases()) {
        SCOPED_TRACE(c.what);
        CopyableValue value(c.text, Typo::mono(), [] { return Ink::textSecondary(); },
                            QStringLiteral("Идентификатор пакета"));
        value.resize(value.sizeHint());
        EXPECT_EQ(PaintedText::of(value)->texts().join(QString()), c.drawn);
        EXPECT_EQ(value.accessibilityLabel(), QStringLiteral("Идентификатор пакета: ") + ShownText::accessible(c.text));
        value.copiedDuration = std::chrono::hours(1);
        value.click();
        EXPECT_EQ(QApplication::clipboard()->text(), c.text);

        InfoRow row(QStringLiteral("Версия"), c.text);
        row.resize(700, row.heightForWidth(700) > 0 ? row.heightForWidth(700) : row.sizeHint().height());
        ASSERT_TRUE(row.valueText());
        EXPECT_EQ(row.valueText()->text(), c.drawn);
        EXPECT_EQ(row.accessibilityLabel(), QStringLiteral("Версия: ") + ShownText::accessible(c.text));
    }
}

} // namespace
