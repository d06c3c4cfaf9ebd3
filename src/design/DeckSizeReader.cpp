#include "DeckSizeReader.h"

#include <QResizeEvent>
#include <QVBoxLayout>

DeckSizeReader::DeckSizeReader(QWidget *content, QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_size = DeckSizes::measuring(width());
    setContent(content);
}

void DeckSizeReader::setContent(QWidget *content)
{
    if (m_content == content)
        return;
    if (m_content) {
        layout()->removeWidget(m_content);
        m_content->deleteLater();
    }
    m_content = content;
    if (content)
        layout()->addWidget(content);
}

DeckSizeReader *DeckSizeReader::of(const QWidget *widget)
{
    for (const QWidget *w = widget; w; w = w->parentWidget())
        if (auto *reader = qobject_cast<DeckSizeReader *>(const_cast<QWidget *>(w)))
            return reader;
    return nullptr;
}

DeckSize DeckSizeReader::sizeFor(const QWidget *widget)
{
    const DeckSizeReader *reader = of(widget);
    return reader ? reader->deckSize() : DeckSize::wide;
}

void DeckSizeReader::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const DeckSize next = DeckSizes::measuring(event->size().width());
    if (next != m_size) {
        m_size = next;
        Q_EMIT deckSizeChanged(next);
    }
}
