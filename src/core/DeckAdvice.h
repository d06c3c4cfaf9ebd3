#pragma once

#include "bridge/Tone.h"
#include "core/AppRoute.h"

#include <QString>

#include <optional>

// One advice card of the overview; `id` names the rule that made it. A card made by
// the model has either both `route` and `actionTitle` or neither.
struct DeckAdvice {
    DeckAdvice() = default;
    DeckAdvice(QString id, QString icon, QString title, QString message, Tone tone,
               std::optional<AppRoute> route = std::nullopt, std::optional<QString> actionTitle = std::nullopt)
        : id(std::move(id)), icon(std::move(icon)), title(std::move(title)), message(std::move(message)), tone(tone),
          route(route), actionTitle(std::move(actionTitle)) {}

    QString id;
    QString icon;
    QString title;
    QString message;
    Tone tone = Tone::neutral;
    std::optional<AppRoute> route;
    std::optional<QString> actionTitle;

    bool operator==(const DeckAdvice &) const = default;
};
