#include "ShownText.h"

#include <array>

namespace ShownText {

namespace {

// The stand-ins keep to printable ASCII: every font has it, while the control pictures
// (U+2400 …) are in no font of an ordinary desktop and even "⟨", "⟩" and "⏎" are only in a
// few (DejaVu, not Liberation or Noto Sans), so elsewhere they would be drawn as empty boxes.

// The names of C0 (by code; tab has none, it stays) and of DEL, as "<ESC>".
const std::array<QString, 33> &c0Names()
{
    static const std::array<QString, 33> names = [] {
        static const char *const abbreviations[33] = {
            "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "",    "LF",  "VT",  "FF",  "CR",  "SO",  "SI",
            "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US",
            "DEL"};
        std::array<QString, 33> n;
        for (int i = 0; i < 33; ++i)
            if (*abbreviations[i])
                n[i] = QLatin1Char('<') + QLatin1String(abbreviations[i]) + QLatin1Char('>');
        return n;
    }();
    return names;
}

// "<U+0080>" … "<U+009F>", made once; next line (U+0085) breaks a line and has its name.
const std::array<QString, 32> &c1Names()
{
    static const std::array<QString, 32> names = [] {
        std::array<QString, 32> n;
        for (int i = 0; i < 32; ++i)
            n[i] = QStringLiteral("<U+%1>").arg(0x80 + i, 4, 16, QLatin1Char('0')).toUpper();
        n[0x85 - 0x80] = QStringLiteral("<NEL>");
        return n;
    }();
    return names;
}

QStringView bidiName(char16_t c)
{
    switch (c) {
    case 0x061C: return u"<ALM>";
    case 0x200E: return u"<LRM>";
    case 0x200F: return u"<RLM>";
    case 0x2028: return u"<LS>";
    case 0x2029: return u"<PS>";
    case 0x202A: return u"<LRE>";
    case 0x202B: return u"<RLE>";
    case 0x202C: return u"<PDF>";
    case 0x202D: return u"<LRO>";
    case 0x202E: return u"<RLO>";
    case 0x2066: return u"<LRI>";
    case 0x2067: return u"<RLI>";
    case 0x2068: return u"<FSI>";
    case 0x2069: return u"<PDI>";
    default: return {};
    }
}

inline bool isLineBreak(char16_t c)
{
    return c == u'\n' || c == u'\r' || c == 0x0B || c == 0x0C || c == 0x85 || c == 0x2028 || c == 0x2029;
}

// Length of the style sequence starting at `i` (ESC "[" or U+009B, parameters 0x30–0x3F,
// intermediates 0x20–0x2F, final "m"), or 0 when none starts there.
qsizetype styleSequenceAt(QStringView text, qsizetype i)
{
    auto at = [&](qsizetype k) { return text[k].unicode(); };
    qsizetype j = i;
    if (at(j) == 0x1B && j + 1 < text.size() && at(j + 1) == u'[')
        j += 2;
    else if (at(j) == 0x9B)
        j += 1;
    else
        return 0;
    while (j < text.size() && at(j) >= 0x30 && at(j) <= 0x3F)
        ++j;
    while (j < text.size() && at(j) >= 0x20 && at(j) <= 0x2F)
        ++j;
    return j < text.size() && at(j) == u'm' ? j + 1 - i : 0;
}

} // namespace

QStringView standIn(char16_t c)
{
    if (!hasStandIn(c))
        return {};
    if (c < 0x20)
        return c0Names()[c];
    if (c == 0x7F)
        return c0Names()[32];
    if (c <= 0x9F)
        return c1Names()[c - 0x80];
    return bidiName(c);
}

bool needsStandIns(QStringView text)
{
    // No early exit: the loop stays simple enough for the compiler to check many units at once.
    bool any = false;
    for (QChar c : text)
        any |= hasStandIn(c.unicode());
    return any;
}

namespace {

QString replaced(const QString &text, bool keepLineFeeds)
{
    QString out;
    out.reserve(text.size() + 16);
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (keepLineFeeds && (c == u'\n' || (c == u'\r' && i + 1 < n && text[i + 1] == u'\n'))) {
            out.append(u'\n');
            if (c == u'\r')
                ++i;
        } else if (const QStringView s = standIn(c); !s.isEmpty()) {
            out.append(s);
        } else {
            out.append(QChar(c));
        }
    }
    return out;
}

} // namespace

QString line(const QString &text) { return needsStandIns(text) ? replaced(text, false) : text; }

QString paragraphs(const QString &text) { return needsStandIns(text) ? replaced(text, true) : text; }

QString withoutStyleCodes(const QString &text)
{
    const qsizetype first = [&] {
        for (qsizetype i = 0; i < text.size(); ++i)
            if ((text[i].unicode() == 0x1B || text[i].unicode() == 0x9B) && styleSequenceAt(text, i) > 0)
                return i;
        return qsizetype(-1);
    }();
    if (first < 0)
        return text;
    QString out;
    out.reserve(text.size());
    out.append(QStringView(text).first(first));
    for (qsizetype i = first; i < text.size();) {
        if (const qsizetype length = styleSequenceAt(text, i); length > 0) {
            i += length;
        } else {
            out.append(text[i]);
            ++i;
        }
    }
    return out;
}

QString logMessage(const QString &text)
{
    if (!needsStandIns(text))
        return text;
    return line(withoutStyleCodes(text));
}

QString accessible(const QString &text)
{
    if (!needsStandIns(text))
        return text;
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (isLineBreak(c)) {
            out.append(u' ');
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
        } else if (!((c < 0x20 && c != u'\t') || (c >= 0x7F && c <= 0x9F))) {
            out.append(QChar(c)); // bidirectional controls only order the text: a reader reads past them
        }
    }
    return out;
}

} // namespace ShownText
