#include "SlimScrollBars.h"

#include "Ink.h"
#include "Theme.h"

#include <QAbstractScrollArea>
#include <QScrollBar>

namespace SlimScrollBars {

namespace {

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

} // namespace

void apply(QAbstractScrollArea *area)
{
    const auto paint = [area] {
        const QString sheet = styleSheet();
        area->verticalScrollBar()->setStyleSheet(sheet);
        area->horizontalScrollBar()->setStyleSheet(sheet);
    };
    paint();
    QObject::connect(Theme::notifier(), &ThemeNotifier::changed, area, paint);
}

} // namespace SlimScrollBars
