#pragma once

#include <optional>

// The system's accessibility display flags. Linux desktops expose no portable query for them,
// so they start false; the shell (or a test) sets them, and every read sees the current value.
namespace A11y {

bool increaseContrast();
bool differentiateWithoutColor();
bool reduceMotion();

void setIncreaseContrast(bool on);
void setDifferentiateWithoutColor(bool on);
void setReduceMotion(bool on);

// Restores all three flags to false (for test isolation).
void resetForTesting();

} // namespace A11y
