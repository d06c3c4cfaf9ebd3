#include "ViewUpdates.h"

#include "design/DeckParagraph.h"
#include "design/Hairline.h"

#include <QTextDocument>
#include <QTimer>

namespace ViewUpdates {

QWidget *divider(QWidget *parent) { return new Hairline(false, parent); }

void follow(Observable *model, QWidget *receiver, std::function<void()> refresh)
{
    auto *timer = new QTimer(receiver);
    timer->setSingleShot(true);
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, receiver, std::move(refresh));
    QObject::connect(model, &Observable::changed, timer, [timer](const void *) {
        if (!timer->isActive())
            timer->start();
    });
}

QString plainToolTip(const QString &text)
{
    if (text.isEmpty())
        return {};
    return Qt::convertFromPlainText(text, Qt::WhiteSpacePre);
}

DeckParagraph *wrappingLabel(const QString &text, const QFont &font, std::function<QColor()> ink, QWidget *parent)
{
    return new DeckParagraph(text, font, std::move(ink), parent);
}

} // namespace ViewUpdates
