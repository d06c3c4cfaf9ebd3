#include "LogStreamView.h"

#include "LogRowDelegate.h"
#include "LogRowsModel.h"

#include "core/LogcatModel.h"
#include "design/FocusRing.h"
#include "design/DeckEmptyState.h"
#include "design/DeckSizeReader.h"
#include "design/Ink.h"
#include "design/Tokens.h"
#include "design/Typo.h"
#include "screenkit/DesktopServices.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSet>
#include <QVBoxLayout>

#include <cmath>

namespace {

// A list whose rows start a little below its top edge and end a little above its bottom.
class InsetListView : public QListView {
public:
    InsetListView(int top, int bottom) { setViewportMargins(0, top, 0, bottom); }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        // A level badge's fill reaches a little into the rows above and below: repainting a row
        // paints its neighbours too (the painter stays clipped to the row).
        const int reach = int(std::ceil(LogRowDelegate::kBadgeReach));
        QPaintEvent wider(event->rect().adjusted(0, -reach, 0, reach));
        QListView::paintEvent(&wider);
    }
};

} // namespace

LogStreamView::LogStreamView(LogcatModel *model, QWidget *parent)
    : QWidget(parent), m_model(model), m_list(new InsetListView(int(Space::xs), int(Space::xs))),
      m_rows(new LogRowsModel(model->visibleLines, LogRowLayout(600, false, Typo::monoSmall()), this)),
      m_delegate(new LogRowDelegate(this)),
      m_idle(new DeckEmptyState(QStringLiteral("waveform.path.ecg"), QStringLiteral("Поток не запущен"),
                                QStringLiteral("Нажмите «Запустить поток», чтобы читать logcat в реальном времени."),
                                Tone::neutral, nullptr, this)),
      m_waiting(new DeckEmptyState(QStringLiteral("waveform.path.ecg"), QStringLiteral("Ожидание событий"),
                                   QStringLiteral("Устройство ещё не прислало строк, подходящих под текущие фильтры."),
                                   Tone::neutral, nullptr, this))
{
    setObjectName(QStringLiteral("logStream"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);

    // Every row is one text line high, so the list lays out without measuring rows.
    m_list->setUniformItemSizes(true);
    // One pass: with uniform rows it is a loop over row numbers, and a batched layout would let
    // a scroll to the newest line stop at the end of the first batch.
    m_list->setLayoutMode(QListView::SinglePass);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setAutoFillBackground(false);
    m_list->viewport()->setAutoFillBackground(false);
    m_list->setAttribute(Qt::WA_MacShowFocusRect, false);
    m_list->setItemDelegate(m_delegate);
    FocusRing::followView(m_list);
    m_list->setModel(m_rows);
    m_list->setSpacing(0);
    m_list->setContentsMargins(0, 0, 0, 0);
    m_list->installEventFilter(this);
    m_list->setAccessibleName(QStringLiteral("Строки logcat"));

    m_delegate->setHighlight(model->searchText());
    model->observe(model->visibleLines, this, [this] { linesChanged(); });
    model->observe(model->searchText, this, [this] {
        m_delegate->setHighlight(m_model->searchText());
        m_list->viewport()->update();
    });
    model->observe(model->isStreaming, this, [this] { updateEmptyState(); });
    // A freshly shown list does not jump: only lines arriving later are followed.
    if (!model->visibleLines().isEmpty())
        m_newest = model->visibleLines().last().id;
    updateEmptyState();
}

DeckEmptyState *LogStreamView::emptyState() const
{
    if (!m_idle->isHidden())
        return m_idle;
    if (!m_waiting->isHidden())
        return m_waiting;
    return nullptr;
}

void LogStreamView::setCompact(std::optional<bool> compact)
{
    m_pinnedCompact = compact;
    relayoutRows();
}

bool LogStreamView::isCompact() const
{
    if (m_pinnedCompact)
        return *m_pinnedCompact;
    return DeckSizes::isCompact(DeckSizeReader::sizeFor(this));
}

void LogStreamView::linesChanged()
{
    updateEmptyState();
    const QList<LogLine> &visible = m_model->visibleLines();
    if (visible.isEmpty())
        return;
    // The newest line, not the number of lines: at the cap a batch trims as many as it adds.
    const qint64 newest = visible.last().id;
    if (m_newest == newest)
        return;
    m_newest = newest;
    if (m_model->autoScroll() && !m_model->isPaused())
        m_list->scrollToBottom();
}

void LogStreamView::updateEmptyState()
{
    // Runs for every batch of lines: touches the overlays only when what they show changes.
    const bool empty = m_model->visibleLines().isEmpty();
    for (DeckEmptyState *overlay : {m_idle, m_waiting}) {
        const bool shown = empty && m_model->isStreaming() == (overlay == m_waiting);
        if (shown == overlay->isHidden()) {
            overlay->setGeometry(rect());
            overlay->setVisible(shown);
            if (shown)
                overlay->raise();
        }
    }
}

void LogStreamView::relayoutRows()
{
    // The scroll bar's room is kept whether it shows or not, so its appearing never wraps the
    // messages again (which could hide it again).
    const qreal width = m_list->width() - m_list->verticalScrollBar()->sizeHint().width();
    m_rows->setLayout(LogRowLayout(width, isCompact(), Typo::monoSmall()));
}

QString LogStreamView::selectedText() const
{
    QModelIndexList selected = m_list->selectionModel()->selectedIndexes();
    std::sort(selected.begin(), selected.end(), [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    QStringList text;
    QSet<qint64> seen;
    for (const QModelIndex &index : selected) {
        const LogRowsModel::Row row = m_rows->rowAt(index.row());
        if (row.line && !seen.contains(row.line->id)) {
            seen.insert(row.line->id);
            text << row.line->plainText();
        }
    }
    return text.join(QLatin1Char('\n'));
}

bool LogStreamView::event(QEvent *e)
{
    if (e->type() == QEvent::ParentChange || e->type() == QEvent::Show)
        findReader();
    return QWidget::event(e);
}

void LogStreamView::findReader()
{
    DeckSizeReader *reader = DeckSizeReader::of(this);
    if (reader != m_reader) {
        disconnect(m_readerConnection);
        m_reader = reader;
        if (reader)
            m_readerConnection = connect(reader, &DeckSizeReader::deckSizeChanged, this, [this] { relayoutRows(); });
    }
    relayoutRows();
}

bool LogStreamView::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == m_list && e->type() == QEvent::Resize)
        relayoutRows();
    if (watched == m_list && e->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(e);
        if (key->matches(QKeySequence::Copy)) {
            DesktopServices::current().copyText(selectedText());
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}

void LogStreamView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QColor sunken = Ink::surfaceSunken();
    sunken.setAlphaF(sunken.alphaF() * 0.55f);
    p.fillRect(rect(), sunken);
}

void LogStreamView::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    m_idle->setGeometry(rect());
    m_waiting->setGeometry(rect());
}
