#include "ScreenMemory.h"

#include <QAbstractScrollArea>
#include <QScrollBar>

void ScreenMemory::keepScroll(QAbstractScrollArea *view, const QString &key)
{
    QScrollBar *bar = view->verticalScrollBar();
    const int wanted = m_scroll.value(key, 0);
    // Until the wanted position is reachable (the view is laid out and its rows are in), the
    // range changes must not overwrite what is remembered.
    auto restoring = std::make_shared<bool>(wanted > 0);
    auto tryRestore = [bar, wanted, restoring] {
        if (*restoring && bar->maximum() >= wanted) {
            bar->setValue(wanted);
            *restoring = false;
        }
    };
    connect(bar, &QScrollBar::rangeChanged, bar, tryRestore);
    connect(bar, &QScrollBar::valueChanged, this, [this, key, restoring](int value) {
        if (!*restoring)
            m_scroll.insert(key, value);
    });
    tryRestore();
}
