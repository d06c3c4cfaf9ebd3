#include "ScreenHeader.h"

#include "DeckParagraph.h"
#include "DeckSizeReader.h"
#include "FlowLayout.h"
#include "Ink.h"
#include "Labels.h"
#include "Tokens.h"
#include "Typo.h"

#include <QBoxLayout>
#include <QEvent>
#include <QPainter>

#include <cmath>

// --- FittedTitle ---

FittedTitle::FittedTitle(const QString &text, const QFont &font, QWidget *parent) : QWidget(parent), m_text(text)
{
    setFont(font);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAccessibleName(text);
}

void FittedTitle::setTitleFont(const QFont &font)
{
    setFont(font);
    updateGeometry();
    update();
}

QFont FittedTitle::shownFont() const
{
    const qreal full = Typo::pixelSize(font());
    const qreal natural = QFontMetricsF(font()).horizontalAdvance(m_text);
    if (natural <= width() || natural <= 0)
        return font();
    // Text width scales with the size closely enough to solve for the size directly.
    const qreal scale = std::max(kMinimumScale, width() / natural);
    QFont f = font();
    f.setPixelSize(std::max(1, int(std::floor(full * scale))));
    return f;
}

qreal FittedTitle::shownPixelSize() const { return Typo::pixelSize(shownFont()); }

bool FittedTitle::isElided() const
{
    return QFontMetricsF(shownFont()).horizontalAdvance(m_text) > width();
}

QSize FittedTitle::sizeHint() const
{
    const QFontMetricsF fm(font());
    return QSize(int(std::ceil(fm.horizontalAdvance(m_text))), int(std::ceil(fm.height())));
}

QSize FittedTitle::minimumSizeHint() const
{
    const QFontMetricsF fm(font());
    return QSize(int(std::ceil(fm.horizontalAdvance(QStringLiteral("…")))), int(std::ceil(fm.height())));
}

void FittedTitle::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QFont f = shownFont();
    p.setFont(f);
    p.setPen(Ink::text());
    const QString shown = QFontMetricsF(f).elidedText(m_text, Qt::ElideRight, width());
    p.drawText(QRectF(rect()), Qt::AlignLeft | Qt::AlignVCenter, shown);
}

// --- ScreenHeader ---

ScreenHeader::ScreenHeader(const QString &eyebrow, const QString &title, std::optional<QString> subtitle,
                           const QList<QWidget *> &trailing, QWidget *parent)
    : QWidget(parent)
{
    m_titleBlock = new QWidget(this);
    auto *column = new QVBoxLayout(m_titleBlock);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(3);
    m_eyebrow = new Eyebrow(eyebrow, m_titleBlock);
    column->addWidget(m_eyebrow);
    m_title = new FittedTitle(title, Typo::screenTitle(), m_titleBlock);
    column->addWidget(m_title);
    if (subtitle) {
        m_subtitle = new DeckParagraph(*subtitle, Typo::supporting(), [] { return Ink::textTertiary(); }, m_titleBlock);
        m_subtitle->setMaximumLines(2);
        column->addWidget(m_subtitle);
    }
    m_titleBlock->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_titleBlock->setAccessibleName(title);

    m_controlsBox = new QWidget(this);
    m_flow = new FlowLayout(m_controlsBox);
    m_flow->setContentsMargins(0, 0, 0, 0);

    m_layout = new QBoxLayout(QBoxLayout::LeftToRight, this);
    m_layout->setContentsMargins(int(Space::gutter), int(Space::l), int(Space::gutter), int(Space::m));
    m_layout->addWidget(m_titleBlock);
    m_layout->addWidget(m_controlsBox);

    for (QWidget *w : trailing)
        addControl(w);
    arrange();
}

void ScreenHeader::addControl(QWidget *control)
{
    if (!control)
        return;
    m_controls.append(control);
    m_flow->addWidget(control);
    m_controlsBox->setVisible(true);
    m_controlsBox->updateGeometry();
}

DeckSize ScreenHeader::deckSize() const
{
    if (m_pinned)
        return *m_pinned;
    return m_reader ? m_reader->deckSize() : DeckSize::wide;
}

void ScreenHeader::setDeckSize(std::optional<DeckSize> size)
{
    m_pinned = size;
    arrange();
}

bool ScreenHeader::event(QEvent *e)
{
    if (e->type() == QEvent::ParentChange || e->type() == QEvent::Show)
        findReader();
    return QWidget::event(e);
}

void ScreenHeader::findReader()
{
    DeckSizeReader *reader = parentWidget() ? DeckSizeReader::of(parentWidget()) : nullptr;
    if (reader != m_reader) {
        disconnect(m_readerConnection);
        m_reader = reader;
        if (reader)
            m_readerConnection = connect(reader, &DeckSizeReader::deckSizeChanged, this, [this] { arrange(); });
    }
    arrange();
}

void ScreenHeader::arrange()
{
    const DeckSize size = deckSize();
    const bool compact = DeckSizes::isCompact(size);
    // Controls of a header without any take no room.
    m_controlsBox->setVisible(!m_controls.isEmpty());
    if (m_arranged && DeckSizes::isCompact(*m_arranged) == compact) {
        m_arranged = size;
        return;
    }
    m_arranged = size;
    m_title->setTitleFont(compact ? Typo::cardTitle() : Typo::screenTitle());
    m_layout->removeWidget(m_titleBlock);
    m_layout->removeWidget(m_controlsBox);
    if (compact) {
        m_layout->setDirection(QBoxLayout::TopToBottom);
        m_layout->setSpacing(int(Space::s));
        m_layout->addWidget(m_titleBlock);
        m_layout->addWidget(m_controlsBox);
        // Wraps within the full width under the title.
        QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        policy.setHeightForWidth(true);
        m_controlsBox->setSizePolicy(policy);
    } else {
        m_layout->setDirection(QBoxLayout::LeftToRight);
        m_layout->setSpacing(int(Space::l));
        m_layout->addWidget(m_titleBlock, 1, Qt::AlignVCenter);
        // One line at the natural width while there is room; squeezed further, the controls wrap
        // rather than hold the window wider than the user made it.
        m_layout->addWidget(m_controlsBox, 0, Qt::AlignVCenter);
        QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        policy.setHeightForWidth(true);
        m_controlsBox->setSizePolicy(policy);
    }
    updateGeometry();
}
