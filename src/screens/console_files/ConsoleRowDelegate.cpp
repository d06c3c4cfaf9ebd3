#include "ConsoleRowDelegate.h"

#include "core/ConsoleTranscript.h"
#include "core/ConsoleTranscriptModel.h"
#include "design/Ink.h"
#include "design/ShownText.h"
#include "design/Tokens.h"
#include "design/Typo.h"

#include <QFontMetricsF>
#include <QListView>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextOption>

#include <cmath>

namespace {

constexpr qsizetype kTabColumns = 8;

QColor withOpacity(QColor color, qreal opacity)
{
    color.setAlphaF(color.alphaF() * opacity);
    return color;
}

// Whether every character is drawn as it is (no tab, carriage return, other control character
// or bidirectional control), and whether all are ASCII.
struct Scan {
    bool asIs = true;
    bool ascii = true;
};
Scan scan(QStringView text)
{
    // Without early exits, so that the compiler can check many characters at once.
    char16_t any = 0;
    bool control = false;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        any |= u;
        control |= (u == u'\t') | (ShownText::hasStandIn(u) & (u != u'\n'));
    }
    return {!control, any < 0x80};
}

// Tabs become spaces up to the next stop, carriage returns go, other control characters and the
// bidirectional controls show as their stand-ins (ShownText::standIn), so what is drawn is what
// is measured and nothing is reordered.
QString displayText(const QString &text)
{
    if (scan(text).asIs)
        return text;
    QString out;
    out.reserve(text.size() + 16);
    qsizetype column = 0;
    for (QChar c : text) {
        if (c == QLatin1Char('\n')) {
            out.append(c);
            column = 0;
        } else if (c == QLatin1Char('\r')) {
            continue;
        } else if (c == QLatin1Char('\t')) {
            const qsizetype spaces = kTabColumns - column % kTabColumns;
            out.append(QString(spaces, QLatin1Char(' ')));
            column += spaces;
        } else if (const QStringView symbol = ShownText::standIn(c.unicode()); !symbol.isEmpty()) {
            out.append(symbol);
            column += symbol.size();
        } else {
            out.append(c);
            if (!c.isLowSurrogate())
                ++column;
        }
    }
    return out;
}

char32_t codePointAt(const QChar *data, qsizetype i, qsizetype end, int *units)
{
    const QChar c = data[i];
    if (c.isHighSurrogate() && i + 1 < end && data[i + 1].isLowSurrogate()) {
        *units = 2;
        return QChar::surrogateToUcs4(c, data[i + 1]);
    }
    *units = 1;
    return c.unicode();
}

} // namespace

ConsoleTextLayout::Advances::Advances(const QFont &font) : m_font(font)
{
    const QFontMetricsF metrics(m_font);
    m_asciiCell = metrics.horizontalAdvance(QLatin1Char(' '));
    for (int c = 0; c < 128; ++c) {
        m_ascii[c] = c < 0x20 || c == 0x7F ? 0 : metrics.horizontalAdvance(QChar(c));
        m_widest = std::max(m_widest, m_ascii[c]);
        if (m_ascii[c] > 0 && m_ascii[c] != m_asciiCell)
            m_asciiCell = 0; // not one cell for all: no shortcut
    }
}

qreal ConsoleTextLayout::Advances::other(char32_t codePoint) const
{
    auto found = m_other.constFind(codePoint);
    if (found != m_other.constEnd())
        return *found;
    const qreal advance = QFontMetricsF(m_font).horizontalAdvance(QString::fromUcs4(&codePoint, 1));
    m_other.insert(codePoint, advance);
    return advance;
}

namespace {

// Breaks `display` into lines (see ConsoleTextLayout) and hands each to `line(start, length)`.
template <typename Sink>
void breakLines(const QString &display, const ConsoleTextLayout::Advances &advances, qreal width, Sink &&line)
{
    // Never narrower than one character: every line then takes at least one.
    width = std::max(width, advances.widest());
    const QChar *data = display.constData();
    const qsizetype size = display.size();
    qsizetype start = 0;
    while (start <= size) {
        qsizetype end = display.indexOf(QLatin1Char('\n'), start);
        const bool last = end < 0;
        if (last)
            end = size;
        if (last && start == size && start > 0)
            break; // the text ended with a line break
        qsizetype lineStart = start;
        qsizetype afterSpace = -1;
        qreal x = 0;
        qsizetype i = start;
        while (i < end) {
            int units = 1;
            const char32_t cp = codePointAt(data, i, end, &units);
            const qreal advance = advances.of(cp);
            if (x + advance > width && i > lineStart) {
                if (afterSpace > lineStart) {
                    line(lineStart, afterSpace - lineStart);
                    lineStart = afterSpace;
                    x = 0;
                    for (qsizetype j = lineStart; j < i;) {
                        int u = 1;
                        x += advances.of(codePointAt(data, j, i, &u));
                        j += u;
                    }
                } else {
                    line(lineStart, i - lineStart);
                    lineStart = i;
                    x = 0;
                }
                afterSpace = -1;
                continue;
            }
            x += advance;
            i += units;
            if (cp == U' ')
                afterSpace = i;
        }
        line(lineStart, end - lineStart);
        if (last)
            break;
        start = end + 1;
    }
}

} // namespace

ConsoleTextLayout ConsoleTextLayout::make(const QString &text, const Advances &advances, qreal width)
{
    ConsoleTextLayout layout;
    layout.display = displayText(text);
    breakLines(layout.display, advances, width,
               [&](qsizetype start, qsizetype length) { layout.lines.append({start, length}); });
    return layout;
}

qsizetype ConsoleTextLayout::lineCount(const QString &text, const Advances &advances, qreal width)
{
    const Scan scanned = scan(text);
    // Most output is ASCII in a font whose ASCII cells are equal: then a line that fits is known
    // from its length alone, and only longer lines are broken character by character.
    if (scanned.asIs && scanned.ascii && advances.asciiCell() > 0) {
        const qsizetype fits = qsizetype(std::max(width, advances.widest()) / advances.asciiCell());
        qsizetype count = 0;
        qsizetype start = 0;
        const qsizetype size = text.size();
        while (start <= size) {
            qsizetype end = text.indexOf(QLatin1Char('\n'), start);
            const bool last = end < 0;
            if (last)
                end = size;
            if (last && start == size && start > 0)
                break;
            if (end - start <= fits)
                ++count;
            else
                breakLines(text.mid(start, end - start), advances, width, [&](qsizetype, qsizetype) { ++count; });
            if (last)
                break;
            start = end + 1;
        }
        return count;
    }
    qsizetype count = 0;
    breakLines(displayText(text), advances, width, [&](qsizetype, qsizetype) { ++count; });
    return count;
}

QList<qreal> ConsoleTextLayout::offsets(QStringView line, const Advances &advances)
{
    QList<qreal> xs;
    xs.reserve(line.size() + 1);
    qreal x = 0;
    for (qsizetype i = 0; i < line.size();) {
        int units = 1;
        const char32_t cp = codePointAt(line.data(), i, line.size(), &units);
        for (int u = 0; u < units; ++u)
            xs.append(x);
        x += advances.of(cp);
        i += units;
    }
    xs.append(x);
    return xs;
}

QList<QPair<qsizetype, qsizetype>> consoleMarkRanges(const QString &text, const QString &highlight)
{
    QList<QPair<qsizetype, qsizetype>> ranges;
    if (highlight.isEmpty())
        return ranges;
    qsizetype from = 0;
    while (from < text.size()) {
        const qsizetype found = text.indexOf(highlight, from, Qt::CaseInsensitive);
        if (found < 0)
            break;
        ranges.append({found, highlight.size()});
        from = found + highlight.size();
    }
    return ranges;
}

ConsoleRowDelegate::ConsoleRowDelegate(QListView *view)
    : QStyledItemDelegate(view), m_view(view), m_textFont(Typo::monoBody()), m_timeFont(Typo::monoSmall()),
      m_advances((m_textFont.setKerning(false), m_textFont))
{
    const QFontMetricsF metrics(m_textFont);
    m_lineHeight = std::ceil(metrics.lineSpacing());
    m_ascent = metrics.ascent();
}

qreal ConsoleRowDelegate::textLeft() const { return Space::gutter + kTimeWidth + Space::s + kBarWidth + Space::s; }

qreal ConsoleRowDelegate::textWidth() const
{
    return std::max<qreal>(1, m_view->viewport()->width() - textLeft() - Space::gutter);
}

QColor ConsoleRowDelegate::barColor(ConsoleEntryKind kind)
{
    switch (kind) {
    case ConsoleEntryKind::command:
        return withOpacity(Ink::accent(), 0.75);
    case ConsoleEntryKind::standardOutput:
        return withOpacity(Ink::textSecondary(), 0.18);
    case ConsoleEntryKind::standardError:
        return withOpacity(Ink::danger(), 0.75);
    case ConsoleEntryKind::system:
        return withOpacity(Ink::violet(), 0.75);
    }
    return Ink::textSecondary();
}

QColor ConsoleRowDelegate::textColor(ConsoleEntryKind kind)
{
    switch (kind) {
    case ConsoleEntryKind::command:
        return Ink::accentCyan();
    case ConsoleEntryKind::standardOutput:
        return Ink::text();
    case ConsoleEntryKind::standardError:
        return Ink::danger();
    case ConsoleEntryKind::system:
        return Ink::textTertiary();
    }
    return Ink::text();
}

ConsoleTextLayout ConsoleRowDelegate::layoutFor(const ConsoleEntry &entry) const
{
    return ConsoleTextLayout::make(entry.text, m_advances, textWidth());
}

QSize ConsoleRowDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &index) const
{
    const auto *model = qobject_cast<const ConsoleTranscriptModel *>(index.model());
    if (!model)
        return {};
    const qreal width = textWidth();
    if (width != m_measuredWidth) {
        model->forgetRowExtents();
        m_measuredWidth = width;
    }
    int extent = model->rowExtent(index.row());
    if (extent < 0) {
        const qsizetype lines =
            std::max<qsizetype>(1, ConsoleTextLayout::lineCount(model->entryAt(index.row()).text, m_advances, width));
        extent = int(std::ceil(lines * m_lineHeight + kRowGap));
        model->setRowExtent(index.row(), extent);
    }
    return QSize(m_view->viewport()->width(), extent);
}

void ConsoleRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const auto *model = qobject_cast<const ConsoleTranscriptModel *>(index.model());
    if (!model)
        return;
    const ConsoleEntry &entry = model->entryAt(index.row());
    const QRectF row(option.rect.left(), option.rect.top(), option.rect.width(), option.rect.height() - kRowGap);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);

    if (option.state & QStyle::State_Selected) {
        QPainterPath selection;
        selection.addRoundedRect(row.adjusted(Space::gutter - Space::xs, -1, -(Space::gutter - Space::xs), 1),
                                 Radius::xs, Radius::xs);
        painter->fillPath(selection, Ink::accentSoft());
    }

    painter->setFont(m_timeFont);
    painter->setPen(withOpacity(Ink::textTertiary(), 0.7));
    painter->drawText(QRectF(row.left() + Space::gutter, row.top(), kTimeWidth, m_lineHeight),
                      Qt::AlignLeft | Qt::AlignVCenter,
                      entry.timestamp.toLocalTime().toString(QStringLiteral("HH:mm:ss")));

    QPainterPath bar;
    bar.addRoundedRect(QRectF(row.left() + Space::gutter + kTimeWidth + Space::s, row.top(), kBarWidth, row.height()),
                       1, 1);
    painter->fillPath(bar, barColor(entry.kind));

    const ConsoleTextLayout layout = layoutFor(entry);
    const QList<QPair<qsizetype, qsizetype>> marks = consoleMarkRanges(layout.display, model->highlightText());
    const qreal left = row.left() + textLeft();
    const QColor mark = withOpacity(Ink::warning(), 0.3);
    painter->setFont(m_textFont);
    painter->setPen(textColor(entry.kind));
    const qreal clipBottom = option.rect.bottom() + 1;
    for (qsizetype i = 0; i < layout.lines.size(); ++i) {
        const qreal top = row.top() + i * m_lineHeight;
        if (top > clipBottom)
            break;
        const ConsoleTextLayout::Line &line = layout.lines.at(i);
        const QStringView text = QStringView(layout.display).mid(line.start, line.length);
        QList<qreal> xs;
        for (const auto &[start, length] : marks) {
            const qsizetype from = std::max(start, line.start);
            const qsizetype to = std::min(start + length, line.start + line.length);
            if (from >= to)
                continue;
            if (xs.isEmpty())
                xs = ConsoleTextLayout::offsets(text, m_advances);
            painter->fillRect(QRectF(left + xs.at(from - line.start), top, xs.at(to - line.start) - xs.at(from - line.start),
                                     m_lineHeight),
                              mark);
        }
        painter->drawText(QPointF(left, top + m_ascent), text.toString());
    }
    painter->restore();
}

QWidget *ConsoleRowDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const
{
    auto *editor = new QPlainTextEdit(parent);
    editor->setObjectName(QStringLiteral("console-row-editor"));
    editor->setReadOnly(true);
    editor->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    editor->setFrameShape(QFrame::NoFrame);
    editor->setFont(m_textFont);
    editor->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    editor->document()->setDocumentMargin(0);
    editor->setAccessibleName(QStringLiteral("Текст строки"));
    QPalette palette = editor->palette();
    palette.setColor(QPalette::Base, Ink::surfaceSunken());
    palette.setColor(QPalette::Text, Ink::text());
    palette.setColor(QPalette::Highlight, Ink::accent());
    palette.setColor(QPalette::HighlightedText, Qt::white);
    editor->setPalette(palette);
    if (const auto *model = qobject_cast<const ConsoleTranscriptModel *>(index.model())) {
        palette.setColor(QPalette::Text, textColor(model->entryAt(index.row()).kind));
        editor->setPalette(palette);
    }
    return editor;
}

void ConsoleRowDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *text = qobject_cast<QPlainTextEdit *>(editor);
    const auto *model = qobject_cast<const ConsoleTranscriptModel *>(index.model());
    if (!text || !model)
        return;
    QString shown = layoutFor(model->entryAt(index.row())).display;
    if (shown.endsWith(QLatin1Char('\n')))
        shown.chop(1);
    // Set once: a row's text never changes, and setting it again would drop the selection.
    if (text->toPlainText() != shown)
        text->setPlainText(shown);
}

void ConsoleRowDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option, const QModelIndex &) const
{
    const QRect row = option.rect;
    const int height = std::max(int(m_lineHeight) * 2, row.height() - int(kRowGap));
    editor->setGeometry(QRect(row.left() + int(textLeft()), row.top(), int(textWidth()), height));
}
