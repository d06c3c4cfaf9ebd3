#pragma once

#include <QString>

// The texts (and the one picture) that name the computer the application runs on, in one
// table per system. The macOS build shows the Mac's own words; elsewhere they name this
// computer and this system, in the grammatical case each sentence needs.
enum class HostSystem { macOS, linuxDesktop };

struct PlatformWords {
    QString connectCableStep;   // the gate with no device, first step
    QString sameNetworkStep;    // the gate with the device offline, last step
    QString installToolsStep;   // the gate without adb, first step
    QString systemAppearance;   // Settings, the theme row's description
    QString adbPathPlaceholder; // Settings, the custom adb path field
    QString systemRowTitle;     // Settings, the fact about the system under "О программе"
    QString systemRowValue;
    QString diagramName;        // the link diagram's accessible name, before the state's title
    QString filesExchange;      // the files screen's subtitle, before the device's name
    QString computerSymbol;     // the symbol on the link diagram's computer screen
};

const PlatformWords &platformWords(HostSystem system);
// The system this build is for.
HostSystem hostSystem();
// The table of this build.
const PlatformWords &platformWords();
