#include "DebloatRowDelegate.h"

#include "RowPainting.h"

#include "bridge/Bytes.h"
#include "design/Ink.h"
#include "design/ShownText.h"
#include "design/Squircle.h"
#include "design/Theme.h"
#include "design/Tokens.h"
#include "design/Typo.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

constexpr qreal kLineSpacing = 2;

QString sizeText(const std::optional<qint64> &bytes)
{
    return bytes ? Bytes::shortText(*bytes) : QStringLiteral("—");
}

qreal firstLineHeight()
{
    return std::max(RowPainting::lineHeight(Typo::bodyMedium()),
                    RowPainting::badgeSize(QStringLiteral("square"), QStringLiteral("Безопасно"), true).height());
}

} // namespace

DebloatRowDelegate::DebloatRowDelegate(ListModelAdapter<DebloatEntry> *rows, QObject *parent)
    : QStyledItemDelegate(parent), m_rows(rows)
{
}

qreal DebloatRowDelegate::headerHeight()
{
    return std::ceil(Space::l + RowPainting::lineHeight(Typo::sectionTitle()) + Space::s);
}

qreal DebloatRowDelegate::rowHeight()
{
    const qreal lines = firstLineHeight() + RowPainting::lineHeight(Typo::supporting())
        + RowPainting::lineHeight(Typo::caption()) + RowPainting::lineHeight(Typo::monoSmall()) + 3 * kLineSpacing;
    return std::ceil(Space::m + std::max(lines, kIconSize) + Space::m);
}

QPainterPath DebloatRowDelegate::cardShape(const QRectF &card, bool isFirst, bool isLast)
{
    // The group's rounded card, cut to this row: the corners that are not this row's fall
    // outside the cut.
    const qreal r = Radius::l;
    const QRectF whole = card.adjusted(0, isFirst ? 0 : -2 * r, 0, isLast ? 0 : 2 * r);
    QPainterPath cut;
    cut.addRect(card);
    return Squircle::path(whole, r).intersected(cut);
}

DebloatRowDelegate::RowLayout DebloatRowDelegate::rowLayout(const QRectF &rect, const DebloatEntry &entry)
{
    RowLayout l;
    l.card = rect.adjusted(Space::gutter, 0, -Space::gutter, 0);
    if (!entry.isFirst)
        l.separator = QLineF(l.card.left() + kSeparatorInset, l.card.top() + 0.5, l.card.right(), l.card.top() + 0.5);
    const QRectF inner = l.card.adjusted(Space::m, Space::m, -Space::m, -Space::m);
    l.checkBox = QRectF(inner.left(), inner.top() + 1, kCheckSize, kCheckSize + 2);
    l.icon = QRectF(l.checkBox.right() + Space::m, inner.top(), kIconSize, kIconSize);
    l.size = QRectF(inner.right() - kSizeBoxWidth, inner.top(), kSizeBoxWidth,
                    RowPainting::lineHeight(Typo::monoSmall()));
    const qreal textLeft = l.icon.right() + Space::m;
    const qreal textRight = l.size.left() - Space::s;
    const qreal width = std::max<qreal>(0, textRight - textLeft);
    const qreal first = firstLineHeight();
    const QSizeF badge = RowPainting::badgeSize(icon(entry.item.verdict.risk), title(entry.item.verdict.risk), true);
    const qreal nameRoom = std::max<qreal>(0, width - badge.width() - Space::xs);
    const qreal nameWidth =
        std::min(nameRoom, std::ceil(QFontMetricsF(Typo::bodyMedium()).horizontalAdvance(ShownText::line(entry.item.package.displayName))));
    l.name = QRectF(textLeft, inner.top(), nameWidth, first);
    l.badge = QRectF(QPointF(l.name.right() + Space::xs, inner.top() + (first - badge.height()) / 2), badge);
    qreal y = inner.top() + first + kLineSpacing;
    l.summary = QRectF(textLeft, y, width, RowPainting::lineHeight(Typo::supporting()));
    y = l.summary.bottom() + kLineSpacing;
    l.consequence = QRectF(textLeft, y, width, RowPainting::lineHeight(Typo::caption()));
    y = l.consequence.bottom() + kLineSpacing;
    l.packageName = QRectF(textLeft, y, width, RowPainting::lineHeight(Typo::monoSmall()));
    return l;
}

QSize DebloatRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const bool header = index.isValid() && m_rows->rowAt(index.row()).kind == DebloatEntry::Kind::header;
    return QSize(option.rect.width() > 0 ? option.rect.width() : 400, int(header ? headerHeight() : rowHeight()));
}

void DebloatRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!index.isValid())
        return;
    const DebloatEntry &entry = m_rows->rowAt(index.row());
    const QRectF rect(option.rect);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (entry.kind == DebloatEntry::Kind::header) {
        const QRectF inner = rect.adjusted(Space::gutter, Space::l, -Space::gutter, -Space::s);
        const QString bytes = Bytes::shortText(entry.bytes);
        const qreal bytesWidth = std::ceil(QFontMetricsF(Typo::monoSmall()).horizontalAdvance(bytes));
        const QString count = QString::number(entry.count);
        const qreal countWidth = std::ceil(QFontMetricsF(Typo::caption()).horizontalAdvance(count));
        const qreal titleRoom = std::max<qreal>(0, inner.width() - bytesWidth - countWidth - 2 * Space::s);
        const qreal titleWidth =
            std::min(titleRoom, std::ceil(QFontMetricsF(Typo::sectionTitle()).horizontalAdvance(entry.category)));
        RowPainting::text(*painter, QRectF(inner.left(), inner.top(), titleWidth, inner.height()), entry.category,
                          Typo::sectionTitle(), Ink::text());
        RowPainting::text(*painter, QRectF(inner.left() + titleWidth + Space::s, inner.top(), countWidth, inner.height()),
                          count, Typo::caption(), Ink::textTertiary());
        RowPainting::text(*painter, QRectF(inner.right() - bytesWidth, inner.top(), bytesWidth, inner.height()), bytes,
                          Typo::monoSmall(), Ink::textTertiary(), Qt::ElideNone, Qt::AlignRight);
        painter->restore();
        return;
    }

    const RowLayout l = rowLayout(rect, entry);
    const QPainterPath shape = cardShape(l.card, entry.isFirst, entry.isLast);
    painter->fillPath(shape, Ink::surface());
    if (option.state & QStyle::State_MouseOver)
        painter->fillPath(shape, Ink::surfaceHover());
    else if (entry.isSelected)
        painter->fillPath(shape, withOpacity(Ink::accentSoft(), 0.5));
    if (!l.separator.isNull()) {
        painter->setPen(QPen(Ink::stroke(), 1));
        painter->drawLine(l.separator);
    }
    RowPainting::checkBox(*painter, l.checkBox, entry.isSelected, kCheckSize);
    RowPainting::packageIcon(*painter, l.icon, entry.item.package, kIconSize);
    const DebloatVerdict &verdict = entry.item.verdict;
    RowPainting::text(*painter, l.name, entry.item.package.displayName, Typo::bodyMedium(), Ink::text());
    RowPainting::badge(*painter, l.badge.topLeft(), icon(verdict.risk), title(verdict.risk), tone(verdict.risk),
                       BadgeStyle::soft, true);
    RowPainting::text(*painter, l.summary, verdict.summary, Typo::supporting(), Ink::textSecondary());
    RowPainting::text(*painter, l.consequence, verdict.consequence, Typo::caption(), Ink::textTertiary());
    RowPainting::text(*painter, l.packageName, entry.item.package.name, Typo::monoSmall(),
                      withOpacity(Ink::textTertiary(), 0.8), Qt::ElideMiddle);
    RowPainting::text(*painter, l.size, sizeText(entry.item.package.apkSize), Typo::monoSmall(), Ink::textSecondary(),
                      Qt::ElideNone, Qt::AlignRight);
    painter->restore();
}
