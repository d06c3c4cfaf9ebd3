#include "ToolPanel.h"

#include "design/DeckText.h"
#include "design/Hairline.h"
#include "design/Ink.h"
#include "design/Squircle.h"
#include "design/Symbols.h"
#include "design/ToneInk.h"
#include "design/Tokens.h"
#include "design/Typo.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace {

class IconTile : public QWidget {
public:
    IconTile(const ToolPanel *panel, QWidget *parent) : QWidget(parent), m_panel(panel) { setFixedSize(28, 28); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillPath(Squircle::path(QRectF(rect()), Radius::s), m_panel->tileFill());
        Symbols::paint(p, m_panel->icon(), QRectF(rect()), 12, m_panel->iconColor());
    }

private:
    const ToolPanel *m_panel;
};

} // namespace

ToolPanel::ToolPanel(const QString &icon, const QString &title, std::optional<QString> subtitle, Tone tone,
                     QWidget *content, QWidget *parent)
    : DeckPanel(PanelStyle{}, parent), m_icon(icon), m_title(title), m_tone(tone), m_content(content)
{
    setPadding(QMarginsF(Space::l, Space::l, Space::l, Space::l));
    auto *stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0); // the panel's padding is the whole inset
    stack->setSpacing(int(Space::m));

    auto *header = new QWidget(this);
    header->setAccessibleName(title);
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(int(Space::s));
    m_tile = new IconTile(this, header);
    row->addWidget(m_tile, 0, Qt::AlignVCenter);
    auto *titles = new QVBoxLayout;
    titles->setSpacing(1);
    titles->addWidget(new DeckText(title, Typo::cardTitle(), [] { return Ink::text(); }, header));
    if (subtitle) {
        m_subtitle = new DeckText(*subtitle, Typo::caption(), [] { return Ink::textTertiary(); }, header);
        titles->addWidget(m_subtitle);
    }
    row->addLayout(titles, 1);
    stack->addWidget(header);
    stack->addWidget(new Hairline(false, this));
    if (content) {
        content->setParent(this);
        stack->addWidget(content);
    }
    stack->addStretch(1);
}

std::optional<QString> ToolPanel::subtitle() const
{
    return m_subtitle ? std::optional(m_subtitle->text()) : std::nullopt;
}

void ToolPanel::setSubtitle(const QString &subtitle)
{
    if (m_subtitle)
        m_subtitle->setText(subtitle);
}

void ToolPanel::setTone(Tone tone)
{
    if (tone == m_tone)
        return;
    m_tone = tone;
    m_tile->update();
}

QColor ToolPanel::iconColor() const { return m_tone == Tone::neutral ? Ink::textSecondary() : foreground(m_tone); }
QColor ToolPanel::tileFill() const { return m_tone == Tone::neutral ? Ink::neutralSoft() : fill(m_tone); }
