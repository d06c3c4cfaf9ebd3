#include "DeckScreen.h"

#include "design/AuroraBackdrop.h"
#include "design/Ink.h"

#include <QVBoxLayout>

DeckScreen::DeckScreen(std::optional<QColor> auroraTint, QWidget *header, QWidget *content, QWidget *parent)
    : QWidget(parent), m_header(header), m_content(content)
{
    if (auroraTint) {
        m_backdrop = new AuroraBackdrop(*auroraTint, Ink::accentCyan(), 0.42, this);
        m_backdrop->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_backdrop->lower();
    }
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (header)
        layout->addWidget(header);
    if (content)
        layout->addWidget(content, 1);
    else
        layout->addStretch(1);
}

void DeckScreen::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_backdrop)
        m_backdrop->setGeometry(0, 0, width(), kAuroraHeight);
}
