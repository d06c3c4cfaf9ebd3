#pragma once

#include "core/Observable.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

class DeckParagraph;

namespace ViewUpdates {

// Runs `refresh` once after any burst of changes of `model` (coalesced on the event loop), for
// views that show values derived from many properties. Stops with `receiver`.
void follow(Observable *model, QWidget *receiver, std::function<void()> refresh);

// A tooltip that shows `text` literally, however it looks (tool and device output can hold "<").
QString plainToolTip(const QString &text);

// Plain text that wraps onto as many lines as it needs, in a design font and an Ink role.
DeckParagraph *wrappingLabel(const QString &text, const QFont &font, std::function<QColor()> ink, QWidget *parent = nullptr);

// The one-pixel horizontal divider between rows and sections.
QWidget *divider(QWidget *parent = nullptr);

} // namespace ViewUpdates
