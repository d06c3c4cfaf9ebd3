#include "SettingsCard.h"

#include "screenkit/ViewUpdates.h"

#include "design/DeckText.h"
#include "design/Ink.h"
#include "design/Squircle.h"
#include "design/Symbols.h"
#include "design/Theme.h"
#include "design/Tokens.h"
#include "design/Typo.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace {

class IconTile : public QWidget {
public:
    IconTile(QString icon, QWidget *parent) : QWidget(parent), m_icon(std::move(icon)) { setFixedSize(24, 24); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillPath(Squircle::path(QRectF(rect()), Radius::xs), Ink::neutralSoft());
        Symbols::paint(p, m_icon, QRectF(rect()), 11, Ink::textSecondary());
    }

private:
    QString m_icon;
};

} // namespace

SettingsCard::SettingsCard(const QString &icon, const QString &title, QWidget *parent)
    : DeckPanel(PanelStyle{}, parent), m_icon(icon), m_title(title)
{
    setPadding(QMarginsF(Space::l, Space::l, Space::l, Space::l));
    m_column = new QVBoxLayout(this);
    m_column->setSpacing(int(Space::m));
    auto *header = new QWidget(this);
    auto *line = new QHBoxLayout(header);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(int(Space::s));
    line->addWidget(new IconTile(icon, header));
    line->addWidget(new DeckText(title, Typo::cardTitle(), [] { return Ink::text(); }, header));
    line->addStretch(1);
    header->setAccessibleName(title);
    header->setAccessibleDescription(tr("Заголовок"));
    m_column->addWidget(header);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void SettingsCard::addRow(QWidget *row)
{
    if (!m_rows.isEmpty())
        m_column->addWidget(ViewUpdates::divider(this));
    m_rows.append(row);
    row->setParent(this);
    m_column->addWidget(row);
}

void SettingsCard::addBlock(QWidget *block)
{
    block->setParent(this);
    m_column->addWidget(block);
}
