#pragma once

#include <QString>
#include <QStringView>

// Text that comes from outside (a device's labels, package, file and device names, log lines,
// tool output) as it is drawn. Such text may hold characters that are not meant to be seen but
// change what is: a line break splits a one-line row, an escape draws as an empty box, and a
// bidirectional control ("\u202Eevil.apk" reads "kpa.live") reorders the text around it. Each
// of them is drawn as a visible stand-in instead, so what the user reads is what the text
// holds. Markup is never interpreted: the texts are drawn as plain text. What is copied, saved
// or sent stays the original.
namespace ShownText {

// Whether standIn(c) is not empty: every control but tab, and the bidirectional controls.
inline bool hasStandIn(char16_t c)
{
    if (c < 0x20)
        return c != u'\t';
    if (c < 0x7F)
        return false;
    if (c <= 0x9F)
        return true;
    if (c < 0x061C)
        return false;
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x2028 && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

// The stand-in drawn for one UTF-16 unit, or an empty view when it is drawn as it is; all of
// them printable ASCII, so every font draws them:
// - C0 controls but tab, and DEL: their names ("<NUL>", "<BEL>", "<ESC>", "<LF>", "<CR>" ...,
//   "<DEL>");
// - next line (U+0085), line and paragraph separators (U+2028, U+2029): "<NEL>", "<LS>", "<PS>";
// - other C1 controls (U+0080 to U+009F): "<U+009B>";
// - bidirectional controls by their short names: "<LRE>" "<RLE>" "<PDF>" "<LRO>" "<RLO>" "<LRI>"
//   "<RLI>" "<FSI>" "<PDI>" "<LRM>" "<RLM>" "<ALM>".
QStringView standIn(char16_t c);

// Whether `text` holds anything standIn() replaces.
bool needsStandIns(QStringView text);

// `text` as one line: every character with a stand-in becomes its stand-in, line breaks too
// (CR LF reads "<CR><LF>"); tabs stay. The text itself (shared, not copied) when nothing
// changes.
QString line(const QString &text);

// `text` as paragraphs: line feeds (and CR LF pairs) stay and end a paragraph; everything else
// as line(). For texts that may be several lines long by design (notes, tool output).
QString paragraphs(const QString &text);

// `text` without its colour and style sequences (ESC "[" parameters "m", or the one-unit
// control sequence introducer U+009B instead of ESC "["); other escape sequences stay.
QString withoutStyleCodes(const QString &text);

// A log message as drawn: without its colour and style sequences, then as one line.
QString logMessage(const QString &text);

// The text for assistive technology, which reads characters rather than seeing them: line
// breaks become spaces, other C0 and C1 controls and DEL are left out (they would break the
// text on its way to a screen reader); everything else stays as it is.
QString accessible(const QString &text);

} // namespace ShownText
