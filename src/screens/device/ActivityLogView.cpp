#include "ActivityLogView.h"

#include "core/AppModel.h"
#include "design/FocusRing.h"
#include "design/DeckButton.h"
#include "design/DeckEmptyState.h"
#include "design/DeckText.h"
#include "design/Hairline.h"
#include "design/Ink.h"
#include "design/ShownText.h"
#include "design/Tokens.h"
#include "design/Typo.h"
#include "screenkit/DesktopServices.h"
#include "screenkit/WrappingListView.h"

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QPainter>
#include <QTextLayout>
#include <QVBoxLayout>

#include <cmath>

namespace {

// A list whose rows start a little below its top edge and end a little above its bottom.
class InsetListView : public WrappingListView {
public:
    InsetListView(int top, int bottom) { setViewportMargins(0, top, 0, bottom); }
};

} // namespace

namespace {

// An entry's text laid out in the lines it is drawn in, `width` wide from the top left: a line
// feed ends a line (a text layout breaks only at line separators), and a longer line wraps
// between words, or inside a word wider than the line. Rows are measured and drawn from it, so a
// row is as tall as what it draws.
struct EntryLayout {
    QTextLayout layout;
    qreal height = 0;

    EntryLayout(const QString &shown, qreal width)
        : layout(QString(shown).replace(QLatin1Char('\n'), QChar::LineSeparator), Typo::monoSmall())
    {
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, height));
            height += line.height();
        }
        layout.endLayout();
    }
};

// The text's box in a row `rowWidth` wide.
qreal textWidth(qreal rowWidth) { return std::max<qreal>(40, rowWidth - 2 * ActivityRowDelegate::kSideInset); }

} // namespace

bool ActivityRowDelegate::isFailure(const QString &text)
{
    return text.contains(QStringLiteral("Ошибка")) || text.contains(QStringLiteral("не удалось"));
}

QSize ActivityRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const int width = option.rect.width() > 0 ? option.rect.width() : 600;
    if (width != m_heightsWidth || m_heights.size() > 4000) {
        m_heights.clear();
        m_heightsWidth = width;
    }
    const QString text = ShownText::paragraphs(index.data(Qt::DisplayRole).toString());
    auto found = m_heights.constFind(text);
    if (found == m_heights.constEnd()) {
        const QFontMetricsF metrics(Typo::monoSmall());
        const qreal textHeight = EntryLayout(text, textWidth(width)).height;
        found = m_heights.insert(text, int(std::ceil(std::max(textHeight, metrics.height()) + 2 * kVerticalInset + kSpacing)));
    }
    return {width, *found};
}

void ActivityRowDelegate::paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    // Entries quote device and tool output: its controls are drawn visibly, its lines as lines.
    const QString text = ShownText::paragraphs(index.data(Qt::DisplayRole).toString());
    p->save();
    if (option.state & QStyle::State_Selected) {
        QColor selected = Ink::accent();
        selected.setAlphaF(0.16f);
        p->fillRect(option.rect, selected);
    }
    p->setPen(isFailure(text) ? Ink::danger() : Ink::textSecondary());
    EntryLayout(text, textWidth(option.rect.width()))
        .layout.draw(p, QPointF(option.rect.left() + kSideInset, option.rect.top() + kVerticalInset + kSpacing / 2));
    p->restore();
    FocusRing::paintRow(*p, option, QRectF(option.rect), Radius::xs);
}

ActivityLogView::ActivityLogView(AppModel *model, QWidget *parent)
    : QWidget(parent), m_model(model),
      m_copy(new DeckButton(QStringLiteral("Скопировать"), {DeckButtonRole::secondary, DeckButtonSize::small})),
      m_clear(new DeckButton(QStringLiteral("Очистить"), {DeckButtonRole::ghost, DeckButtonSize::small})),
      m_list(new InsetListView(int(Space::s), int(Space::s))),
      m_rows(new ListModelAdapter<QString>(model->logs, [](const QString &line, int, int role) {
          return role == Qt::DisplayRole ? QVariant(line) : QVariant();
      }, this)),
      m_empty(new DeckEmptyState(QStringLiteral("text.alignleft"), QStringLiteral("Журнал пуст"),
                                 QStringLiteral("Здесь появятся команды, отправленные на устройство, и их вывод."),
                                 Tone::neutral, nullptr, m_list))
{
    setObjectName(QStringLiteral("activityLog"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto *header = new QHBoxLayout;
    header->setContentsMargins(int(Space::gutter), 0, int(Space::gutter), int(Space::s));
    header->setSpacing(int(Space::s));
    header->addWidget(new DeckText(QStringLiteral("Каждая выполненная ADB-команда и её результат"), Typo::supporting(),
                                   [] { return Ink::textTertiary(); }),
                      1);
    header->addWidget(m_copy);
    header->addWidget(m_clear);
    column->addLayout(header);
    column->addWidget(new Hairline);
    column->addWidget(m_list, 1);

    m_list->setObjectName(QStringLiteral("activityList"));
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setAutoFillBackground(false);
    m_list->viewport()->setAutoFillBackground(false);
    m_list->setItemDelegate(new ActivityRowDelegate(m_list));
    FocusRing::followView(m_list);
    m_list->setModel(m_rows);
    m_list->setAccessibleName(QStringLiteral("Журнал приложения"));
    m_list->installEventFilter(this);

    connect(m_copy, &QAbstractButton::clicked, this,
            [this] { DesktopServices::current().copyText(m_model->logs().join(QLatin1Char('\n'))); });
    connect(m_clear, &QAbstractButton::clicked, this, [this] { m_model->clearLog(); });
    model->observe(model->logs, this, [this] { logsChanged(); });
    m_copy->setEnabled(!model->logs().isEmpty());
    m_clear->setEnabled(!model->logs().isEmpty());
    m_empty->setVisible(model->logs().isEmpty());
}

void ActivityLogView::logsChanged()
{
    const bool empty = m_model->logs().isEmpty();
    m_copy->setEnabled(!empty);
    m_clear->setEnabled(!empty);
    m_empty->setVisible(empty);
    // Every change is a line added at the end (or the journal emptied): follow the newest line,
    // also once the journal is full and its number of lines no longer changes.
    if (!empty)
        m_list->scrollToBottom();
}

bool ActivityLogView::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == m_list && e->type() == QEvent::Resize)
        m_empty->setGeometry(m_list->rect());
    return QWidget::eventFilter(watched, e);
}
