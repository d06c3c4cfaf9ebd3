#include "ViewUpdates.h"

#include "design/Ink.h"
#include "design/Theme.h"

#include <QLabel>
#include <QPainter>
#include <QTextDocument>
#include <QTimer>

namespace {

class Divider : public QWidget {
public:
    explicit Divider(QWidget *parent) : QWidget(parent)
    {
        setFixedHeight(1);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        setAccessibleName(QString());
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), Ink::stroke());
    }
};

} // namespace

namespace ViewUpdates {

QWidget *divider(QWidget *parent) { return new Divider(parent); }

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

QLabel *wrappingLabel(const QString &text, const QFont &font, std::function<QColor()> ink, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFont(font);
    label->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);
    auto paint = [label, ink] {
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, ink());
        label->setPalette(pal);
    };
    paint();
    QObject::connect(Theme::notifier(), &ThemeNotifier::changed, label, paint);
    return label;
}

} // namespace ViewUpdates
