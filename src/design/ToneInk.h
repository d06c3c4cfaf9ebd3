#pragma once

#include "bridge/Tone.h"

#include <QColor>

// The tone's ink for glyphs, text and strokes (neutral maps to Ink::textSecondary).
QColor foreground(Tone tone);
// The tone's soft background (neutral maps to Ink::neutralSoft).
QColor fill(Tone tone);
