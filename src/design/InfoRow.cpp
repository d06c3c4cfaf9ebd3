#include "InfoRow.h"

#include "DeckParagraph.h"
#include "Ink.h"
#include "Labels.h"
#include "ShownText.h"
#include "Tokens.h"
#include "Typo.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

// --- SelectableText ---

SelectableText::SelectableText(const QString &text, const QFont &font, DeckText::InkRole ink, QWidget *parent)
    : QLabel(text, parent), m_ink(std::move(ink))
{
    setFont(font);
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A fresh policy drops the height-for-width flag that word wrap set; without it layouts
    // size the value by QLabel's guessed width and rows come out too tall or cut lines off.
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void SelectableText::paintEvent(QPaintEvent *event)
{
    // The colour follows the theme; only a real change touches the palette (that repaints).
    const QColor ink = m_ink();
    if (palette().color(QPalette::WindowText) != ink) {
        QPalette pal = palette();
        pal.setColor(QPalette::WindowText, ink);
        pal.setColor(QPalette::Text, ink);
        setPalette(pal);
    }
    QLabel::paintEvent(event);
}

// --- InfoRow ---

InfoRow::InfoRow(const QString &label, const QString &value, bool mono, bool copyable, DeckText::InkRole tone,
                 QWidget *parent)
    : QWidget(parent), m_labelText(label), m_value(value)
{
    if (!tone)
        tone = [] { return Ink::text(); };
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(int(Space::m));

    m_label = new DeckParagraph(label, Typo::supporting(), [] { return Ink::textTertiary(); }, this);
    m_label->setFixedWidth(int(kLabelWidth));
    auto *labelColumn = new QVBoxLayout;
    labelColumn->setContentsMargins(0, 0, 0, 0);
    labelColumn->addWidget(m_label, 0, Qt::AlignTop);
    row->addLayout(labelColumn);

    const QFont font = mono ? Typo::mono() : Typo::body();
    if (copyable) {
        // The value's text, not its hover fill, stands where a plain value's would: the widget
        // moves left into the gap by its inset, the label down by it.
        m_copyable = new CopyableValue(value, font, tone, label, this);
        const QPoint inset = CopyableValue::textOffset();
        row->setSpacing(int(Space::m) - inset.x());
        labelColumn->setContentsMargins(0, inset.y(), 0, 0);
        row->addWidget(m_copyable, 0, Qt::AlignTop);
        row->addStretch(1);
    } else {
        // A value wraps at its width, never at a line break it holds.
        m_text = new SelectableText(ShownText::line(value), font, tone, this);
        row->addWidget(m_text, 1, Qt::AlignTop);
    }
    setAccessibleName(accessibilityLabel());
}

QString InfoRow::accessibilityLabel() const
{
    return m_labelText + QStringLiteral(": ") + ShownText::accessible(m_value);
}
