#pragma once

#include "Tone.h"

#include <QString>

// The one connection state shown to the user. `working` and `failed` carry a text
// (the running operation's title, the failure's message); the other cases carry none.
struct LinkState {
    enum class Case { working, failed, adbMissing, searching, noDevice, unauthorized, offline, recovery, sideload,
                      fastboot, connected };

    LinkState(Case kind = Case::noDevice) : kind(kind) {}
    static LinkState working(QString text) { return LinkState(Case::working, std::move(text)); }
    static LinkState failed(QString text) { return LinkState(Case::failed, std::move(text)); }

    Case kind;
    QString text; // empty except for working and failed

    bool operator==(const LinkState &other) const;

private:
    LinkState(Case kind, QString text) : kind(kind), text(std::move(text)) {}
};

QList<LinkState::Case> allLinkStateCases();

QString title(const LinkState &state);
QString shortTitle(const LinkState &state);
QString subtitle(const LinkState &state);
Tone tone(const LinkState &state);
Tone ambientTone(const LinkState &state); // equals tone() except for connected
QString icon(const LinkState &state);
bool isLive(const LinkState &state);      // the link is up and usable
bool isBusy(const LinkState &state);      // an operation runs
