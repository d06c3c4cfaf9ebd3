#include "PresetCardDelegate.h"

#include "core/ListModelAdapter.h"
#include "design/DeckButton.h"
#include "design/FocusRing.h"
#include "design/Ink.h"
#include "design/Labels.h"
#include "design/Panel.h"
#include "design/Symbols.h"
#include "design/Tokens.h"
#include "design/Typo.h"
#include "screenkit/ViewUpdates.h"

#include <QAbstractItemView>
#include <QDateTime>
#include <QHelpEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QTextLayout>
#include <QToolTip>

namespace {

constexpr qreal kTitleLines = 2;
constexpr qreal kDescriptionLines = 3;
constexpr qreal kTitleGap = 3;
constexpr qreal kFactSymbol = 12;

qreal lineHeight(const QFont &font) { return QFontMetricsF(font).lineSpacing(); }

// Lays `text` out in `rect` in at most `maxLines` lines, the last one elided when cut.
void paintLines(QPainter *p, const QRectF &rect, const QString &text, const QFont &font, const QColor &color,
                int maxLines)
{
    if (text.isEmpty() || rect.width() <= 0)
        return;
    p->setFont(font);
    p->setPen(color);
    const QFontMetricsF metrics(font);
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    QList<std::pair<int, int>> lines;
    while (true) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(rect.width());
        lines.append({line.textStart(), line.textLength()});
    }
    layout.endLayout();
    qreal y = rect.top();
    for (int i = 0; i < lines.size() && i < maxLines; ++i) {
        QString shown = text.mid(lines[i].first, lines[i].second);
        if (i == maxLines - 1 && i < lines.size() - 1)
            shown = metrics.elidedText(text.mid(lines[i].first).simplified(), Qt::ElideRight, rect.width());
        p->drawText(QPointF(rect.left(), y + metrics.ascent()), shown.trimmed());
        y += metrics.lineSpacing();
    }
}

qreal textLinesHeight(const QString &text, const QFont &font, qreal width, int maxLines)
{
    if (text.isEmpty())
        return 0;
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    int count = 0;
    while (count < maxLines) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        ++count;
    }
    layout.endLayout();
    return count * lineHeight(font);
}

Tone badgeTone(PresetAction action) { return action == PresetAction::uninstall ? Tone::danger : Tone::warning; }

void renderWidget(QPainter *p, QWidget *widget, const QRectF &rect)
{
    widget->resize(rect.size().toSize());
    p->save();
    p->translate(rect.topLeft());
    widget->render(p, QPoint(), QRegion(), QWidget::DrawChildren);
    p->restore();
}

} // namespace

PresetCardDelegate::PresetCardDelegate(QWidget *view) : QStyledItemDelegate(view)
{
    m_apply = new DeckButton(QStringLiteral("Применить"), {DeckButtonRole::primary, DeckButtonSize::small});
    m_export = new DeckButton(QStringLiteral("Экспорт"), {DeckButtonRole::ghost, DeckButtonSize::small});
    m_trash = new IconButton(QStringLiteral("trash"), {24, Tone::danger, false});
    m_badge = new StatusBadge(badgeIcon(PresetAction::disable), title(PresetAction::disable), Tone::warning);
    for (QWidget *w : {static_cast<QWidget *>(m_apply), static_cast<QWidget *>(m_export),
                       static_cast<QWidget *>(m_trash), static_cast<QWidget *>(m_badge)}) {
        w->setAttribute(Qt::WA_DontShowOnScreen);
        w->ensurePolished();
    }
    m_apply->setEnabled(m_canApply);
}

PresetCardDelegate::~PresetCardDelegate()
{
    delete m_apply;
    delete m_export;
    delete m_trash;
    delete m_badge;
}

void PresetCardDelegate::setCanApply(bool canApply)
{
    m_canApply = canApply;
    m_apply->setEnabled(canApply);
}

QString PresetCardDelegate::applyToolTip(bool canApply)
{
    return canApply ? QStringLiteral("Сверить с устройством и показать предпросмотр")
                    : QStringLiteral("Требуется подключённое устройство");
}

QString PresetCardDelegate::badgeIcon(PresetAction action)
{
    return action == PresetAction::uninstall ? QStringLiteral("minus.circle") : QStringLiteral("pause.circle");
}

QString PresetCardDelegate::creationText(const QString &createdAt, const QLocale &locale)
{
    // An internet date-time as presets are written: seconds without a fraction, a zone. Anything
    // else (a hand-written file, fractional seconds) is shown as stored.
    static const QRegularExpression internet(
        QStringLiteral(R"(^\d{4}-\d{2}-\d{2}T\d{2}:\d{2}:\d{2}(Z|[+-]\d{2}:\d{2})$)"));
    const QDateTime moment = QDateTime::fromString(createdAt, Qt::ISODate);
    if (!moment.isValid() || !internet.match(createdAt).hasMatch())
        return createdAt;
    const QDateTime local = moment.toLocalTime();
    return locale.toString(local.date(), abbreviatedDateFormat(locale)) + QStringLiteral(", ")
           + locale.toString(local.time(), QLocale::ShortFormat);
}

QString PresetCardDelegate::abbreviatedDateFormat(const QLocale &locale)
{
    // Qt names no abbreviated style between the short and the long one; the locale's long date
    // without the weekday and with the month abbreviated is that style ("d MMM yyyy 'г.'" in
    // Russian, "MMM d, yyyy" in American English).
    QString format = locale.dateFormat(QLocale::LongFormat);
    static const QRegularExpression weekday(QStringLiteral(R"(d{4}[,.]?\s*)"));
    format.remove(weekday);
    static const QRegularExpression fullMonth(QStringLiteral("M{4}"));
    format.replace(fullMonth, QStringLiteral("MMM"));
    return format.trimmed();
}

int PresetCardDelegate::cardHeight()
{
    const qreal title = kTitleLines * lineHeight(Typo::cardTitle());
    const qreal description = kDescriptionLines * lineHeight(Typo::supporting());
    const qreal facts = std::max(lineHeight(Typo::caption()), kFactSymbol);
    const qreal actions = DeckButtonStyle::height(DeckButtonSize::small);
    return int(std::ceil(Space::l + title + kTitleGap + description + Space::m + facts + Space::m + actions + Space::l));
}

QMargins PresetCardDelegate::shadowReach()
{
    const QMarginsF m = Panel::shadowMargins(PanelStyle{});
    return {int(std::ceil(m.left())), int(std::ceil(m.top())), int(std::ceil(m.right())), int(std::ceil(m.bottom()))};
}

QMargins PresetCardDelegate::cellMargins()
{
    // Each cell holds its card and the gap after it; the card sits where its shadow's reach
    // above and to the left still falls inside the cell.
    const QMargins reach = shadowReach();
    const int gap = int(Space::m);
    return {reach.left(), reach.top(), gap - reach.left(), gap - reach.top()};
}

QMargins PresetCardDelegate::gridOutsets()
{
    const QMargins reach = shadowReach();
    const QMargins cell = cellMargins();
    return {0, 0, std::max(0, reach.right() - cell.right()), std::max(0, reach.bottom() - cell.bottom())};
}

int PresetCardDelegate::cellHeight() { return cardHeight() + int(Space::m); }

PresetCardDelegate::Layout PresetCardDelegate::layout(const QRect &cell, const PackagePreset &preset) const
{
    Layout out;
    out.panel = QRectF(cell.marginsRemoved(cellMargins()));
    const QRectF inner = out.panel.adjusted(Space::l, Space::l, -Space::l, -Space::l);

    m_badge->setIcon(badgeIcon(preset.action));
    m_badge->setText(title(preset.action));
    const QSizeF badge = m_badge->sizeHint();
    out.badge = QRectF(inner.right() - badge.width(), inner.top(), badge.width(), badge.height());
    const qreal textWidth = std::max<qreal>(0, out.badge.left() - Space::s - inner.left());
    const qreal titleHeight = textLinesHeight(preset.name, Typo::cardTitle(), textWidth, int(kTitleLines));
    out.title = QRectF(inner.left(), inner.top(), textWidth, std::max(titleHeight, lineHeight(Typo::cardTitle())));
    if (!preset.description.isEmpty()) {
        const qreal height = textLinesHeight(preset.description, Typo::supporting(), textWidth, int(kDescriptionLines));
        out.description = QRectF(inner.left(), out.title.bottom() + kTitleGap, textWidth, height);
    }

    const qreal actionsHeight = DeckButtonStyle::height(DeckButtonSize::small);
    const qreal actionsTop = inner.bottom() - actionsHeight;
    const qreal factsHeight = std::max(lineHeight(Typo::caption()), kFactSymbol);
    out.facts = QRectF(inner.left(), actionsTop - Space::m - factsHeight, inner.width(), factsHeight);
    const QSizeF apply = m_apply->sizeHint();
    const QSizeF exportSize = m_export->sizeHint();
    out.apply = QRectF(inner.left(), actionsTop, apply.width(), actionsHeight);
    out.exportButton = QRectF(out.apply.right() + Space::s, actionsTop, exportSize.width(), actionsHeight);
    out.trash = QRectF(inner.right() - 24, actionsTop + (actionsHeight - 24) / 2, 24, 24);
    return out;
}

const StoredPreset *PresetCardDelegate::storedAt(const QModelIndex &index) const
{
    const auto *cards = dynamic_cast<const ListModelAdapter<StoredPreset> *>(index.model());
    if (!cards || !index.isValid() || index.row() >= cards->rowCount())
        return nullptr;
    return &cards->rowAt(index.row());
}

QSize PresetCardDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    return {std::max(option.rect.width(), kMinimumWidth), cellHeight()};
}

void PresetCardDelegate::paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const StoredPreset *stored = storedAt(index);
    if (!stored)
        return;
    const PackagePreset &preset = stored->preset;
    const Layout l = layout(option.rect, preset);
    p->save();
    p->setRenderHint(QPainter::Antialiasing);
    Panel::paint(*p, l.panel, PanelStyle{PanelKind::raised, Radius::l});

    paintLines(p, l.title, preset.name, Typo::cardTitle(), Ink::text(), int(kTitleLines));
    paintLines(p, l.description, preset.description, Typo::supporting(), Ink::textSecondary(), int(kDescriptionLines));

    m_badge->setTone(badgeTone(preset.action));
    renderWidget(p, m_badge, l.badge);

    // Facts: the package count beside a box, then the creation time.
    const QFont caption = Typo::caption();
    const QFontMetricsF metrics(caption);
    p->setFont(caption);
    p->setPen(Ink::textTertiary());
    const QRectF box(l.facts.left(), l.facts.center().y() - kFactSymbol / 2, kFactSymbol, kFactSymbol);
    Symbols::paint(*p, QStringLiteral("shippingbox"), box, kFactSymbol - 1, Ink::textTertiary());
    const QString count = QString::number(preset.packages.size());
    const qreal baseline = l.facts.center().y() + (metrics.ascent() - metrics.descent()) / 2;
    p->drawText(QPointF(box.right() + Space::xs, baseline), count);
    const qreal timeLeft = box.right() + Space::xs + metrics.horizontalAdvance(count) + Space::m;
    p->drawText(QPointF(timeLeft, baseline),
                metrics.elidedText(creationText(preset.createdAt), Qt::ElideRight, l.facts.right() - timeLeft));

    renderWidget(p, m_apply, l.apply);
    renderWidget(p, m_export, l.exportButton);
    renderWidget(p, m_trash, l.trash);
    // The buttons are drawn, not widgets: the card draws the focus of the one Tab reached.
    if (FocusRing::isShown(option) && focusParts().contains(m_focusPart)) {
        FocusRing::paint(*p, buttonRect(l, m_focusPart), Radius::s);
    }
    p->restore();
}

QList<PresetCardDelegate::Button> PresetCardDelegate::focusParts() const
{
    if (m_canApply)
        return {Button::apply, Button::exportFile, Button::trash};
    return {Button::exportFile, Button::trash};
}

bool PresetCardDelegate::editorEvent(QEvent *event, QAbstractItemModel *, const QStyleOptionViewItem &option,
                                     const QModelIndex &index)
{
    if (event->type() != QEvent::MouseButtonRelease)
        return event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    const auto *mouse = static_cast<QMouseEvent *>(event);
    const StoredPreset *stored = storedAt(index);
    if (!stored || mouse->button() != Qt::LeftButton)
        return true;
    const Layout l = layout(option.rect, stored->preset);
    const QPointF at = mouse->position();
    if (l.apply.contains(at))
        press(Button::apply, index.row());
    else if (l.exportButton.contains(at))
        press(Button::exportFile, index.row());
    else if (l.trash.contains(at))
        press(Button::trash, index.row());
    return true;
}

void PresetCardDelegate::press(Button button, int row)
{
    switch (button) {
    case Button::apply:
        if (m_canApply)
            emit applyRequested(row);
        break;
    case Button::exportFile:
        emit exportRequested(row);
        break;
    case Button::trash:
        emit deleteRequested(row);
        break;
    }
}

QString PresetCardDelegate::buttonLabel(Button button, const PackagePreset &preset)
{
    switch (button) {
    case Button::apply:
        return QStringLiteral("Применить");
    case Button::exportFile:
        return QStringLiteral("Экспорт");
    case Button::trash:
        break;
    }
    return QStringLiteral("Удалить пресет ") + preset.name;
}

QRectF PresetCardDelegate::buttonRect(const Layout &layout, Button button)
{
    switch (button) {
    case Button::apply:
        return layout.apply;
    case Button::exportFile:
        return layout.exportButton;
    case Button::trash:
        break;
    }
    return layout.trash;
}

bool PresetCardDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                                   const QModelIndex &index)
{
    const StoredPreset *stored = storedAt(index);
    if (!stored || event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const Layout l = layout(option.rect, stored->preset);
    QString tip;
    if (l.apply.contains(event->pos()))
        tip = applyToolTip(m_canApply);
    else if (l.trash.contains(event->pos()))
        tip = buttonLabel(Button::trash, stored->preset);
    if (tip.isEmpty()) {
        QToolTip::hideText();
        return true;
    }
    QToolTip::showText(event->globalPos(), ViewUpdates::plainToolTip(tip), view);
    return true;
}
