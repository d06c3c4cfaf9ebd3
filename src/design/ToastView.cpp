#include "ToastView.h"

#include "DeckParagraph.h"
#include "Ink.h"
#include "Symbols.h"
#include "ToneInk.h"
#include "Tokens.h"
#include "Typo.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

namespace {

class ToastBadge : public QWidget {
public:
    ToastBadge(const ToastView *owner, QWidget *parent) : QWidget(parent), m_owner(owner)
    {
        setFixedSize(int(ToastView::kBadgeSide), int(ToastView::kBadgeSide));
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(m_owner->badgeFillColor());
        p.drawEllipse(QRectF(rect()));
        Symbols::paint(p, m_owner->message().icon, QRectF(rect()), 13, m_owner->badgeGlyphColor());
    }

private:
    const ToastView *m_owner;
};

} // namespace

PanelStyle ToastView::panelStyle() { return {PanelKind::glass, Radius::m, Elevation::high(), true, true}; }

QMarginsF ToastView::shadowMargins() { return Panel::shadowMargins(panelStyle()); }

ToastView::ToastView(const ToastMessage &message, QWidget *parent) : QWidget(parent), m_message(message)
{
    const QMarginsF shadow = shadowMargins();
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins((shadow + QMarginsF(Space::m, Space::m, Space::m, Space::m)).toMargins());
    row->setSpacing(int(Space::m));

    m_badge = new ToastBadge(this, this);
    row->addWidget(m_badge, 0, Qt::AlignVCenter);

    auto *texts = new QVBoxLayout;
    texts->setSpacing(1);
    m_title = new DeckParagraph(message.title, Typo::bodyMedium(), [] { return Ink::text(); }, this);
    texts->addWidget(m_title);
    if (message.detail) {
        m_detail = new DeckParagraph(*message.detail, Typo::caption(), [] { return Ink::textTertiary(); }, this);
        m_detail->setMaximumLines(2);
        texts->addWidget(m_detail);
    }
    row->addLayout(texts, 1);

    // Every toast is the same width; the height follows the wrapped texts.
    const int outer = int(kCardWidth + shadow.left() + shadow.right());
    setFixedWidth(outer);
    const qreal textWidth = kCardWidth - 2 * Space::m - kBadgeSide - Space::m;
    int textHeight = m_title->heightForWidth(int(textWidth));
    if (m_detail)
        textHeight += 1 + m_detail->heightForWidth(int(textWidth));
    const int inner = std::max(int(kBadgeSide), textHeight) + int(2 * Space::m);
    setFixedHeight(int(inner + shadow.top() + shadow.bottom()));

    setAccessibleName(accessibilityLabel());
}

QString ToastView::accessibilityLabel() const
{
    return m_message.title + QStringLiteral(". ") + m_message.detail.value_or(QString());
}

QRectF ToastView::cardRect() const { return QRectF(rect()).marginsRemoved(shadowMargins()); }

QColor ToastView::badgeGlyphColor() const { return foreground(m_message.tone); }

QColor ToastView::badgeFillColor() const { return fill(m_message.tone); }

void ToastView::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    Panel::paint(p, cardRect(), panelStyle());
}
