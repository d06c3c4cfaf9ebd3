#include "SlimScrollBars.h"

#include "Ink.h"
#include "Theme.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QScrollBar>

namespace SlimScrollBars {

namespace {

const char *const kSlim = "kestrelSlimScrollBar";

QString styleSheet()
{
    const QString handle = Ink::strokeStrong().name(QColor::HexArgb);
    const QString hover = Ink::textTertiary().name(QColor::HexArgb);
    return QStringLiteral("QScrollBar:vertical { background: transparent; width: %1px; margin: 2px 2px 2px 0; }"
                          "QScrollBar:horizontal { background: transparent; height: %1px; margin: 0 2px 2px 2px; }"
                          "QScrollBar::handle { background: %2; border-radius: 3px; }"
                          "QScrollBar::handle:hover { background: %3; }"
                          "QScrollBar::handle:vertical { min-height: 28px; }"
                          "QScrollBar::handle:horizontal { min-width: 28px; }"
                          "QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; border: none; }"
                          "QScrollBar::add-page, QScrollBar::sub-page { background: transparent; }")
        .arg(kWidth)
        .arg(handle, hover);
}

// Styles each scroll bar as it is polished (before it is first shown, so the scroll area lays
// itself out for the slim width), and every styled bar again when the theme changes.
class Follower : public QObject {
public:
    explicit Follower(QObject *parent) : QObject(parent)
    {
        connect(Theme::notifier(), &ThemeNotifier::changed, this, [] {
            const QString sheet = styleSheet();
            for (QWidget *w : QApplication::allWidgets())
                if (auto *bar = qobject_cast<QScrollBar *>(w); bar && bar->property(kSlim).toBool())
                    bar->setStyleSheet(sheet);
        });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Polish)
            if (auto *bar = qobject_cast<QScrollBar *>(watched); bar && !bar->property(kSlim).toBool())
                apply(bar);
        return false;
    }
};

} // namespace

void apply(QScrollBar *bar)
{
    bar->setProperty(kSlim, true);
    bar->setStyleSheet(styleSheet());
}

void apply(QAbstractScrollArea *area)
{
    const auto paint = [area] {
        apply(area->verticalScrollBar());
        apply(area->horizontalScrollBar());
    };
    paint();
    QObject::connect(Theme::notifier(), &ThemeNotifier::changed, area, paint);
}

void applyEverywhere()
{
    static QPointer<Follower> follower;
    auto *app = qobject_cast<QApplication *>(QCoreApplication::instance());
    if (follower || !app)
        return;
    follower = new Follower(app);
    app->installEventFilter(follower);
    for (QWidget *w : QApplication::allWidgets())
        if (auto *bar = qobject_cast<QScrollBar *>(w); bar && !bar->property(kSlim).toBool()) {
            apply(bar);
            // A scroll area already laid out makes room for the new width.
            for (QObject *p = bar->parent(); p; p = p->parent())
                if (auto *area = qobject_cast<QAbstractScrollArea *>(p)) {
                    QCoreApplication::postEvent(area, new QEvent(QEvent::LayoutRequest));
                    break;
                }
        }
}

bool isSlim(const QScrollBar *bar) { return bar && bar->property(kSlim).toBool(); }

} // namespace SlimScrollBars
