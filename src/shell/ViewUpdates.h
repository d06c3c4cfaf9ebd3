#pragma once

#include "core/Observable.h"

#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <tuple>

class DeckParagraph;

namespace ViewUpdates {

// Calls `each` with every published property among `properties`, where an argument is a
// property or a tuple of them (a model's list of the inputs of a derived value).
template <typename F, typename... P>
void forEachProperty(F &&each, const P &...properties);

template <typename F, PublishedProperty P>
void forEachPropertyOne(F &each, const P &property)
{
    each(property);
}
template <typename F, typename... P>
void forEachPropertyOne(F &each, const std::tuple<P &...> &properties)
{
    std::apply([&](const auto &...inner) { (forEachPropertyOne(each, inner), ...); }, properties);
}
template <typename F, typename... P>
void forEachProperty(F &&each, const P &...properties)
{
    (forEachPropertyOne(each, properties), ...);
}

// Runs a view's refresh once after any burst of changes of the properties it follows (coalesced
// on the event loop). A child of the view: it stops with it.
class Refresh : public QObject {
public:
    Refresh(QWidget *receiver, std::function<void()> refresh);

    // Also refreshes after changes of these properties of `owner`.
    template <typename... P>
    Refresh *on(Observable *owner, const P &...properties)
    {
        forEachProperty([&](const auto &property) { owner->observe(property, this, [this] { schedule(); }); },
                        properties...);
        return this;
    }

    void schedule();

private:
    QTimer m_timer;
};

// For views that show values derived from several properties: `refresh` runs once after a burst
// of changes of the listed properties of `owner`, and never for any other change.
template <typename... P>
Refresh *follow(Observable *owner, QWidget *receiver, std::function<void()> refresh, const P &...properties)
{
    return (new Refresh(receiver, std::move(refresh)))->on(owner, properties...);
}

// Runs `handler` at once after every change of each listed property (for changes the user makes
// in the view itself, which must show before the next event).
template <typename... P>
void observeEach(Observable *owner, QObject *receiver, const std::function<void()> &handler, const P &...properties)
{
    forEachProperty([&](const auto &property) { owner->observe(property, receiver, handler); }, properties...);
}

// A tooltip that shows `text` literally, however it looks (tool and device output can hold "<"),
// its invisible characters but line feeds as stand-ins (ShownText::paragraphs).
QString plainToolTip(const QString &text);

// Plain text that wraps onto as many lines as it needs, in a design font and an Ink role.
DeckParagraph *wrappingLabel(const QString &text, const QFont &font, std::function<QColor()> ink, QWidget *parent = nullptr);

// The one-pixel horizontal divider between rows and sections.
QWidget *divider(QWidget *parent = nullptr);

} // namespace ViewUpdates
