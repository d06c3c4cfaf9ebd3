#include "SelectableLine.h"

#include "ShownText.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>

#include <cmath>

SelectableLine::SelectableLine(const QString &text, const QFont &font, DeckText::InkRole ink, QWidget *parent)
    : QLabel(parent), m_full(text), m_line(ShownText::line(text)), m_ink(std::move(ink))
{
    setFont(font);
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    QLabel::setText(m_line);
}

QSize SelectableLine::sizeHint() const
{
    const QFontMetricsF metrics(font());
    return QSize(int(std::ceil(metrics.horizontalAdvance(m_line))), int(std::ceil(metrics.height())));
}

QSize SelectableLine::minimumSizeHint() const
{
    const QFontMetricsF metrics(font());
    return QSize(int(std::ceil(metrics.horizontalAdvance(QStringLiteral("…")))), int(std::ceil(metrics.height())));
}

void SelectableLine::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    elide();
}

void SelectableLine::elide()
{
    const QString shown = QFontMetricsF(font()).elidedText(m_line, Qt::ElideMiddle, width());
    if (shown != text())
        QLabel::setText(shown);
}

QString SelectableLine::selectedFullText() const
{
    const QString shown = text();
    const qsizetype start = selectionStart();
    if (start < 0)
        return {};
    const qsizetype end = start + selectedText().size();
    if (start == 0 && end >= shown.size())
        return m_full;
    // What the selection covers of the line with its stand-ins; that is the text as received
    // when it needed none.
    QString covered;
    if (shown == m_line) {
        covered = m_line.mid(start, end - start);
    } else {
        // The shown line is the line's start, "…", then its end.
        const qsizetype mark = shown.indexOf(QChar(0x2026));
        if (mark < 0)
            return selectedText();
        const qsizetype tail = shown.size() - mark - 1;
        const auto toLine = [&](qsizetype at, bool isEnd) -> qsizetype {
            if (at < mark || (at == mark && !isEnd))
                return at;
            return m_line.size() - tail + (at - mark - 1);
        };
        const qsizetype from = toLine(start, false);
        const qsizetype to = end > mark ? toLine(end, true) : end;
        covered = m_line.mid(from, std::max<qsizetype>(0, to - from));
    }
    return covered;
}

void SelectableLine::copySelection() const
{
    // Nothing selected: the whole line.
    const QString copied = hasSelectedText() ? selectedFullText() : m_full;
    QGuiApplication::clipboard()->setText(copied);
}

void SelectableLine::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy)) {
        copySelection();
        event->accept();
        return;
    }
    QLabel::keyPressEvent(event);
}

void SelectableLine::contextMenuEvent(QContextMenuEvent *event)
{
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction(QStringLiteral("Копировать"), this, [this] { copySelection(); });
    menu->popup(event->globalPos());
    event->accept();
}

void SelectableLine::paintEvent(QPaintEvent *event)
{
    // The colour follows the theme; only a real change touches the palette (that repaints).
    const QColor ink = m_ink();
    if (palette().color(QPalette::WindowText) != ink) {
        QPalette pal = palette();
        pal.setColor(QPalette::WindowText, ink);
        pal.setColor(QPalette::Text, ink);
        setPalette(pal);
    }
    QLabel::paintEvent(event);
}
