#pragma once

#include <QString>

// Quotes one word for a POSIX shell on the device: single quotes around the whole
// text, each inner "'" written as '\''. The result is always exactly one word.
QString shellQuote(const QString &text);
