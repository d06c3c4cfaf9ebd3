#include "SettingsRow.h"

#include "screenkit/ViewUpdates.h"

#include "design/DeckParagraph.h"
#include "design/DeckSizeReader.h"
#include "design/DeckText.h"
#include "design/Ink.h"
#include "design/Tokens.h"
#include "design/Typo.h"

#include <QBoxLayout>
#include <QEvent>

SettingsRow::SettingsRow(const QString &title, const std::optional<QString> &description, QWidget *control,
                         QWidget *parent)
    : QWidget(parent), m_title(title), m_control(control), m_label(new QWidget(this))
{
    auto *labelColumn = new QVBoxLayout(m_label);
    labelColumn->setContentsMargins(0, 0, 0, 0);
    labelColumn->setSpacing(2);
    auto *titleLabel = new DeckText(title, Typo::bodyMedium(), [] { return Ink::text(); }, m_label);
    labelColumn->addWidget(titleLabel);
    if (description) {
        m_description =
            ViewUpdates::wrappingLabel(*description, Typo::supporting(), [] { return Ink::textTertiary(); }, m_label);
        labelColumn->addWidget(m_description);
    }
    labelColumn->addStretch(1);
    m_label->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    control->setParent(this);

    m_layout = new QBoxLayout(QBoxLayout::LeftToRight, this);
    m_layout->setContentsMargins(0, int(Space::xs), 0, int(Space::xs));
    arrange();
    setAccessibleName(title);
}

DeckSize SettingsRow::deckSize() const { return DeckSizeReader::sizeFor(this); }

bool SettingsRow::event(QEvent *event)
{
    if (event->type() == QEvent::ParentChange || event->type() == QEvent::Show) {
        DeckSizeReader *reader = DeckSizeReader::of(this);
        if (reader != m_reader) {
            if (m_reader)
                disconnect(m_reader, nullptr, this, nullptr);
            m_reader = reader;
            if (reader)
                connect(reader, &DeckSizeReader::deckSizeChanged, this, &SettingsRow::arrange);
        }
        arrange();
    }
    return QWidget::event(event);
}

void SettingsRow::arrange()
{
    const bool stacked = DeckSizes::isCompact(deckSize());
    if (stacked == m_stacked && m_layout->count() > 0)
        return;
    m_stacked = stacked;
    // The label and the control stay; only the layout's items for them go.
    while (QLayoutItem *item = m_layout->takeAt(0))
        delete item;
    if (stacked) {
        m_layout->setDirection(QBoxLayout::TopToBottom);
        m_layout->setSpacing(int(Space::s));
        m_layout->addWidget(m_label);
        m_layout->addWidget(m_control, 0, Qt::AlignLeft);
        m_control->setSizePolicy(QSizePolicy::Preferred, m_control->sizePolicy().verticalPolicy());
    } else {
        m_layout->setDirection(QBoxLayout::LeftToRight);
        m_layout->setSpacing(int(Space::l));
        m_layout->addWidget(m_label, 1, Qt::AlignTop);
        // The control keeps its natural size, never compressed.
        m_layout->addWidget(m_control, 0, Qt::AlignTop);
        m_control->setMinimumWidth(std::max(0, m_control->sizeHint().width() + 2));
    }
    m_layout->invalidate();
}
