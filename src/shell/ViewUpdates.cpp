#include "ViewUpdates.h"

#include "design/DeckParagraph.h"
#include "design/Hairline.h"
#include "design/ShownText.h"

#include <QTextDocument>
#include <QTimer>

namespace ViewUpdates {

QWidget *divider(QWidget *parent) { return new Hairline(false, parent); }

Refresh::Refresh(QWidget *receiver, std::function<void()> refresh) : QObject(receiver)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(0);
    QObject::connect(&m_timer, &QTimer::timeout, receiver, std::move(refresh));
}

void Refresh::schedule()
{
    if (!m_timer.isActive())
        m_timer.start();
}

QString plainToolTip(const QString &text)
{
    if (text.isEmpty())
        return {};
    return Qt::convertFromPlainText(ShownText::paragraphs(text), Qt::WhiteSpacePre);
}

DeckParagraph *wrappingLabel(const QString &text, const QFont &font, std::function<QColor()> ink, QWidget *parent)
{
    return new DeckParagraph(text, font, std::move(ink), parent);
}

} // namespace ViewUpdates
