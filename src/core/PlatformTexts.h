#pragma once

#include <QString>

// Texts that name the Mac. The macOS build shows them as written; elsewhere the table gives
// the same sentence about this computer. Every such text of the application is listed here.
namespace PlatformTexts {

// The text to show for `macText`; a text missing from the table is shown as it is.
QString text(const QString &macText);
// Every Mac text that has a counterpart here (for tests).
QStringList macTexts();

} // namespace PlatformTexts
