#pragma once

#include "bridge/ConsoleEntry.h"
#include "core/PublishedList.h"

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
// The same on the published transcript: one removal at the front and one insertion at the end,
// so a view over it at the cap never resets.
bool appendConsoleEntry(PublishedList<ConsoleEntry> &entries, ConsoleEntryKind kind, const QString &text,
                        const QDateTime &timestamp, qsizetype limit = kConsoleTranscriptLimit);

// The text without spaces and tabs at both ends (line breaks stay): how the console trims what
// the user types for completions and for marking matches.
QString trimmedConsoleText(const QString &text);

// Whether `entry` belongs to the transcript filtered by `needle` (already trimmed; an empty
// needle matches everything): its text contains the needle, ignoring letter case.
bool consoleEntryMatches(const ConsoleEntry &entry, const QString &needle);

// The transcript as plain text, as it is copied and saved: "[HH:mm:ss] text" per entry in local
// time, joined with line feeds, no line feed after the last one.
QString consoleTranscriptText(const QList<ConsoleEntry> &entries);
