#pragma once

#include "core/Observable.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

class QLabel;

namespace ViewUpdates {

// Runs `refresh` once after any burst of changes of `model` (coalesced on the event loop), for
// views that show values derived from many properties. Stops with `receiver`.
void follow(Observable *model, QWidget *receiver, std::function<void()> refresh);

// A tooltip that shows `text` literally, however it looks (tool and device output can hold "<").
QString plainToolTip(const QString &text);

// A word-wrapping plain-text label in a design font, coloured by an Ink role at every theme change.
QLabel *wrappingLabel(const QString &text, const QFont &font, std::function<QColor()> ink, QWidget *parent = nullptr);

// The one-pixel horizontal divider in Ink::stroke (the design layer's Hairline takes this place
// once it lands).
QWidget *divider(QWidget *parent = nullptr);

} // namespace ViewUpdates
