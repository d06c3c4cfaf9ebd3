#pragma once

#include "bridge/ConsoleEntry.h"

#include <QList>
#include <QString>

// The console keeps this many transcript entries; older ones fall off the front.
inline constexpr qsizetype kConsoleTranscriptLimit = 3000;

// Removes ANSI control sequences (ESC "[" parameters intermediates final), such as
// colour codes; other escape sequences stay.
QString stripANSIControlSequences(const QString &text);

// Appends one entry of cleaned text, unless nothing is left after cleaning, and drops
// the oldest entries beyond `limit`. Returns whether an entry was added.
bool appendConsoleEntry(QList<ConsoleEntry> &entries, ConsoleEntryKind kind, const QString &text,
                        const QDateTime &timestamp, qsizetype limit = kConsoleTranscriptLimit);
