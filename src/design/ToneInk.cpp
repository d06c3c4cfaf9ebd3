#include "ToneInk.h"

#include "Ink.h"

QColor foreground(Tone tone)
{
    switch (tone) {
    case Tone::neutral: return Ink::textSecondary();
    case Tone::accent: return Ink::accent();
    case Tone::success: return Ink::success();
    case Tone::warning: return Ink::warning();
    case Tone::danger: return Ink::danger();
    case Tone::violet: return Ink::violet();
    }
    return Ink::textSecondary();
}

QColor fill(Tone tone)
{
    switch (tone) {
    case Tone::neutral: return Ink::neutralSoft();
    case Tone::accent: return Ink::accentSoft();
    case Tone::success: return Ink::successSoft();
    case Tone::warning: return Ink::warningSoft();
    case Tone::danger: return Ink::dangerSoft();
    case Tone::violet: return Ink::violetSoft();
    }
    return Ink::neutralSoft();
}
