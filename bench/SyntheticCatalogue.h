#pragma once

#include "bridge/AndroidPackage.h"

#include <QList>

// 5,000 packages: user and system, Latin and Cyrillic labels, every state, sizes up to
// 50 MB. The same list on every call (fixed seed).
QList<AndroidPackage> syntheticCatalogue();
