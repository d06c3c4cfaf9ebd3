#pragma once

#include "bridge/AndroidPackage.h"

#include <QList>

// 5,000 packages: user and system, Latin and Cyrillic labels, every state, sizes up to
// 50 MB. The same list on every call (fixed seed).
QList<AndroidPackage> syntheticCatalogue();

// The same packages, each with an icon of its own colour (a 112 px PNG, as the metadata
// program sends).
QList<AndroidPackage> syntheticCatalogueWithIcons();
