#include "ShownText.h"

#include <array>

namespace ShownText {

namespace {

constexpr char16_t kReturnSymbol = u'⏎';

// The control pictures of C0 (U+2400 + code) and of DEL.
const std::array<char16_t, 33> &pictures()
{
    static const std::array<char16_t, 33> table = [] {
        std::array<char16_t, 33> t{};
        for (char16_t c = 0; c < 0x20; ++c)
            t[c] = char16_t(0x2400 + c);
        t[32] = u'␡';
        return t;
    }();
    return table;
}

// "⟨U+0080⟩" … "⟨U+009F⟩", made once.
const std::array<QString, 32> &c1Names()
{
    static const std::array<QString, 32> names = [] {
        std::array<QString, 32> n;
        for (int i = 0; i < 32; ++i)
            n[i] = QStringLiteral("⟨U+%1⟩").arg(0x80 + i, 4, 16, QLatin1Char('0')).toUpper();
        return n;
    }();
    return names;
}

QStringView bidiName(char16_t c)
{
    switch (c) {
    case 0x061C: return u"⟨ALM⟩";
    case 0x200E: return u"⟨LRM⟩";
    case 0x200F: return u"⟨RLM⟩";
    case 0x202A: return u"⟨LRE⟩";
    case 0x202B: return u"⟨RLE⟩";
    case 0x202C: return u"⟨PDF⟩";
    case 0x202D: return u"⟨LRO⟩";
    case 0x202E: return u"⟨RLO⟩";
    case 0x2066: return u"⟨LRI⟩";
    case 0x2067: return u"⟨RLI⟩";
    case 0x2068: return u"⟨FSI⟩";
    case 0x2069: return u"⟨PDI⟩";
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
        return QStringView(&pictures()[c], 1);
    if (c == 0x7F)
        return QStringView(&pictures()[32], 1);
    if (c == 0x85 || c == 0x2028 || c == 0x2029) {
        static const char16_t symbol = kReturnSymbol;
        return QStringView(&symbol, 1);
    }
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
        } else if (isLineBreak(c)) {
            out.append(QChar(kReturnSymbol));
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
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
