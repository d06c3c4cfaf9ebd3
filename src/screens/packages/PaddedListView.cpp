#include "PaddedListView.h"

#include "design/FocusRing.h"

#include <QScrollBar>

PaddedListView::PaddedListView(QWidget *parent) : QListView(parent)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setSelectionMode(QAbstractItemView::NoSelection);
    setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_Hover);
    // The screen's background shows through.
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
    FocusRing::followView(this);
}

void PaddedListView::setBottomPadding(int padding)
{
    if (padding == m_bottomPadding)
        return;
    m_bottomPadding = padding;
    updateGeometries();
}

void PaddedListView::updateGeometries()
{
    QListView::updateGeometries();
    if (m_bottomPadding <= 0 || model() == nullptr || model()->rowCount(rootIndex()) == 0)
        return;
    const int content = contentsSize().height();
    QScrollBar *bar = verticalScrollBar();
    bar->setRange(0, std::max(0, content + m_bottomPadding - viewport()->height()));
    bar->setPageStep(viewport()->height());
}
