#include "ConsoleTranscriptView.h"

#include "ConsoleRowDelegate.h"

#include "core/ConsoleTranscriptModel.h"
#include "design/FocusRing.h"
#include "design/Ink.h"
#include "screenkit/DesktopServices.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

ConsoleTranscriptView::ConsoleTranscriptView(ConsoleTranscriptModel *model, QWidget *parent)
    : WrappingListView(parent), m_transcript(model), m_delegate(new ConsoleRowDelegate(this))
{
    setObjectName(QStringLiteral("console-transcript"));
    setAccessibleName(QStringLiteral("Вывод консоли"));
    setFrameShape(QFrame::NoFrame);
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
    setViewportMargins(0, kVerticalInset, 0, kVerticalInset);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(m_delegate);
    FocusRing::followView(this);
    // Before the selection model hears of it (connected earlier, called earlier): a current row
    // about to be trimmed at the cap is let go, or every trim would move the current row to the
    // next one, and each move lays out the whole list and scrolls to the top.
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this, [this](const QModelIndex &, int first, int last) {
        const QModelIndex current = currentIndex();
        if (current.isValid() && current.row() >= first && current.row() <= last)
            selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    });
    setModel(model);
    verticalScrollBar()->setSingleStep(int(m_delegate->lineHeight()));
    connect(m_delegate, &QAbstractItemDelegate::closeEditor, this, [this] { closeRowText(); });
    // A row that leaves (trimmed at the cap, filtered out) takes its open editor with it.
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, [this] { closeRowText(); });
}

QString ConsoleTranscriptView::selectedText() const
{
    QModelIndexList rows = selectionModel() ? selectionModel()->selectedRows() : QModelIndexList();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    QStringList texts;
    for (const QModelIndex &row : rows) {
        QString text = m_transcript->entryAt(row.row()).text;
        if (text.endsWith(QLatin1Char('\n')))
            text.chop(1);
        texts << text;
    }
    return texts.join(QLatin1Char('\n'));
}

void ConsoleTranscriptView::copySelection()
{
    const QString text = selectedText();
    if (!text.isEmpty())
        DesktopServices::current().copyText(text);
}

void ConsoleTranscriptView::openRowText(const QModelIndex &index)
{
    if (!index.isValid())
        return;
    closeRowText();
    m_editing = index;
    openPersistentEditor(index);
    if (QWidget *editor = indexWidget(index))
        editor->setFocus(Qt::MouseFocusReason);
}

void ConsoleTranscriptView::closeRowText()
{
    if (!m_editing.isValid()) {
        m_editing = QPersistentModelIndex();
        return;
    }
    const QModelIndex index = m_editing;
    m_editing = QPersistentModelIndex();
    const bool hadFocus = indexWidget(index) && indexWidget(index)->hasFocus();
    closePersistentEditor(index);
    if (hadFocus)
        setFocus(Qt::OtherFocusReason);
}

QWidget *ConsoleTranscriptView::rowTextEditor() const
{
    return m_editing.isValid() ? indexWidget(m_editing) : nullptr;
}

void ConsoleTranscriptView::keyPressEvent(QKeyEvent *event)
{
    if (event == QKeySequence::Copy) {
        copySelection();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Escape && m_editing.isValid()) {
        closeRowText();
        event->accept();
        return;
    }
    WrappingListView::keyPressEvent(event);
}

void ConsoleTranscriptView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid()) {
        openRowText(index);
        event->accept();
        return;
    }
    WrappingListView::mouseDoubleClickEvent(event);
}

void ConsoleTranscriptView::contextMenuEvent(QContextMenuEvent *event)
{
    const QModelIndex index = indexAt(viewport()->mapFrom(this, event->pos()));
    if (index.isValid() && !selectionModel()->isSelected(index))
        selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setObjectName(QStringLiteral("console-transcript-menu"));
    QAction *copy = menu->addAction(QStringLiteral("Скопировать"), this, [this] { copySelection(); });
    copy->setShortcut(QKeySequence::Copy);
    copy->setEnabled(selectionModel()->hasSelection());
    QAction *part = menu->addAction(QStringLiteral("Выделить часть текста"), this,
                                   [this, row = QPersistentModelIndex(index)] { openRowText(row); });
    part->setEnabled(index.isValid());
    menu->addSeparator();
    QAction *all = menu->addAction(QStringLiteral("Выбрать все строки"), this, [this] { selectAll(); });
    all->setShortcut(QKeySequence::SelectAll);
    all->setEnabled(model()->rowCount() > 0);
    menu->popup(event->globalPos());
}

ConsoleTranscriptPane::ConsoleTranscriptPane(ConsoleTranscriptView *view, QWidget *parent)
    : QWidget(parent), m_view(view)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
}

void ConsoleTranscriptPane::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Ink::canvasDeep());
    QColor glow = Ink::accent();
    glow.setAlphaF(0.05);
    QLinearGradient gradient(0, 0, 0, ConsoleTranscriptView::kGlowHeight);
    gradient.setColorAt(0, glow);
    glow.setAlphaF(0);
    gradient.setColorAt(1, glow);
    p.fillRect(QRect(0, 0, width(), ConsoleTranscriptView::kGlowHeight), gradient);
}
