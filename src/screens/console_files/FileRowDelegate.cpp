#include "FileRowDelegate.h"

#include "FileTableModel.h"

#include "design/Ink.h"
#include "design/ShownText.h"
#include "design/Symbols.h"
#include "design/Tokens.h"
#include "design/Typo.h"

#include <QPainter>

namespace {
constexpr qreal kSymbolFrame = 17;
constexpr qreal kSymbolSize = 12;
} // namespace

FileRowDelegate::FileRowDelegate(int rowHeight, QObject *parent) : QStyledItemDelegate(parent), m_rowHeight(rowHeight) {}

QSize FileRowDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const { return {80, m_rowHeight}; }

void FileRowDelegate::paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    p->save();
    p->setRenderHint(QPainter::Antialiasing);
    const QRectF cell(option.rect);
    const bool enabled = option.state & QStyle::State_Enabled;
    if (option.state & QStyle::State_Selected)
        p->fillRect(cell, Ink::accentSoft());
    else if (option.state & QStyle::State_MouseOver)
        p->fillRect(cell, Ink::surfaceHover());
    if (!enabled)
        p->setOpacity(0.6);

    const QRectF inner = cell.adjusted(Space::s, 0, -Space::s, 0);
    const QString text = index.data(Qt::DisplayRole).toString();
    switch (index.column()) {
    case LocalFileTableModel::nameColumn: {
        const bool folder = index.data(LocalFileTableModel::IsDirectoryRole).toBool();
        const QRectF symbol(inner.left(), inner.top(), kSymbolFrame, inner.height());
        Symbols::paint(*p, index.data(LocalFileTableModel::SymbolRole).toString(), symbol, kSymbolSize,
                       folder ? Ink::accent() : Ink::textTertiary());
        const QRectF name = inner.adjusted(kSymbolFrame + Space::s, 0, 0, 0);
        p->setFont(Typo::body());
        p->setPen(Ink::text());
        p->drawText(name, Qt::AlignLeft | Qt::AlignVCenter,
                    QFontMetricsF(Typo::body()).elidedText(ShownText::line(text), Qt::ElideMiddle, name.width()));
        break;
    }
    case LocalFileTableModel::sizeColumn:
        p->setFont(Typo::monoSmall());
        p->setPen(Ink::textSecondary());
        p->drawText(inner, Qt::AlignRight | Qt::AlignVCenter,
                    QFontMetricsF(Typo::monoSmall()).elidedText(text, Qt::ElideRight, inner.width()));
        break;
    default:
        p->setFont(Typo::monoSmall());
        p->setPen(Ink::textTertiary());
        p->drawText(inner, Qt::AlignLeft | Qt::AlignVCenter,
                    QFontMetricsF(Typo::monoSmall()).elidedText(text, Qt::ElideRight, inner.width()));
        break;
    }
    p->restore();
}
