#include "CommandChipDelegate.h"

#include "ConsoleLibraryModel.h"

#include "design/FocusRing.h"
#include "design/Ink.h"
#include "design/Squircle.h"
#include "design/Tokens.h"
#include "design/Typo.h"

#include <QFontMetricsF>
#include <QListView>
#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace {

QFont eyebrowFont()
{
    QFont font = Typo::eyebrow();
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.1);
    return font;
}

qreal lineHeight(const QFont &font) { return std::ceil(QFontMetricsF(font).height()); }

} // namespace

CommandChipDelegate::CommandChipDelegate(QListView *view) : QStyledItemDelegate(view), m_view(view) {}

qreal CommandChipDelegate::contentWidth() const
{
    return std::max<qreal>(20, m_view->viewport()->width() - 2 * kInset);
}

QStringList CommandChipDelegate::commandLines(const QString &command, qreal width)
{
    QString text = command;
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    QTextLayout layout(text, Typo::monoSmall());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    while (true) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        if (lines.size() == kCommandLines - 1) {
            // The last line takes the rest of the text, cut at its end when it does not fit.
            const QString rest = text.mid(line.textStart());
            lines << QFontMetricsF(Typo::monoSmall()).elidedText(rest, Qt::ElideRight, width);
            break;
        }
        lines << text.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    if (lines.isEmpty())
        lines << QString();
    return lines;
}

QSize CommandChipDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &index) const
{
    const int width = m_view->viewport()->width();
    if (index.data(ConsoleLibraryModel::HeadingRole).toBool())
        return QSize(width, int(Space::xs + lineHeight(eyebrowFont()) + kRowGap));
    qreal height = 2 * kInset;
    if (!index.data(ConsoleLibraryModel::TitleRole).toString().isEmpty())
        height += lineHeight(Typo::label()) + kLineGap;
    height += commandLines(index.data(Qt::DisplayRole).toString(), contentWidth()).size() * lineHeight(Typo::monoSmall());
    height += kLineGap + lineHeight(Typo::caption());
    return QSize(width, int(std::ceil(height + kRowGap)));
}

void CommandChipDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QRectF row(option.rect.left(), option.rect.top(), option.rect.width(), option.rect.height() - kRowGap);
    if (index.data(ConsoleLibraryModel::HeadingRole).toBool()) {
        painter->setFont(eyebrowFont());
        painter->setPen(Ink::textTertiary());
        painter->drawText(row.adjusted(0, Space::xs, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          index.data(Qt::DisplayRole).toString().toUpper());
        painter->restore();
        return;
    }
    if (option.state & QStyle::State_MouseOver)
        painter->fillPath(Squircle::path(row, Radius::s), Ink::surfaceHover());

    const qreal left = row.left() + kInset;
    const qreal width = contentWidth();
    qreal y = row.top() + kInset;
    const QString title = index.data(ConsoleLibraryModel::TitleRole).toString();
    if (!title.isEmpty()) {
        painter->setFont(Typo::label());
        painter->setPen(Ink::text());
        const qreal h = lineHeight(Typo::label());
        painter->drawText(QRectF(left, y, width, h), Qt::AlignLeft | Qt::AlignVCenter,
                          QFontMetricsF(Typo::label()).elidedText(title, Qt::ElideRight, width));
        y += h + kLineGap;
    }
    painter->setFont(Typo::monoSmall());
    painter->setPen(Ink::textSecondary());
    const qreal commandLine = lineHeight(Typo::monoSmall());
    for (const QString &line : commandLines(index.data(Qt::DisplayRole).toString(), width)) {
        painter->drawText(QRectF(left, y, width, commandLine), Qt::AlignLeft | Qt::AlignVCenter, line);
        y += commandLine;
    }
    y += kLineGap;
    painter->setFont(Typo::caption());
    painter->setPen(Ink::textTertiary());
    const auto mode = ConsoleMode(index.data(ConsoleLibraryModel::ModeRole).toInt());
    painter->drawText(QRectF(left, y, width, lineHeight(Typo::caption())), Qt::AlignLeft | Qt::AlignVCenter,
                      mode == ConsoleMode::adb ? QStringLiteral("ADB") : QStringLiteral("shell"));
    FocusRing::paintRow(*painter, option, row, Radius::s);
    painter->restore();
}
