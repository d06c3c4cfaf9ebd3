#include "Ink.h"

#include "Theme.h"

namespace Ink {

QColor canvas() { return adaptive(colorHex(0xF2F4F8), colorHex(0x0A0C11), colorHex(0xFFFFFF), colorHex(0x000000)); }
QColor canvasDeep() { return adaptive(colorHex(0xE9ECF2), colorHex(0x06080C)); }
QColor surface() { return adaptive(colorHex(0xFFFFFF), colorHex(0x13161E), colorHex(0xFFFFFF), colorHex(0x181C26)); }
QColor surfaceRaised() { return adaptive(colorHex(0xFFFFFF), colorHex(0x191D27)); }
QColor surfaceSunken() { return adaptive(colorHex(0xEDF0F6), colorHex(0x0D0F16)); }
QColor surfaceHover() { return adaptive(colorHex(0x0E1420, 0.05), colorHex(0xFFFFFF, 0.05)); }
QColor surfacePressed() { return adaptive(colorHex(0x0E1420, 0.09), colorHex(0xFFFFFF, 0.09)); }
QColor stroke() { return adaptive(colorHex(0x0E1420, 0.10), colorHex(0xFFFFFF, 0.08), colorHex(0x0E1420, 0.32), colorHex(0xFFFFFF, 0.30)); }
QColor strokeStrong() { return adaptive(colorHex(0x0E1420, 0.18), colorHex(0xFFFFFF, 0.15), colorHex(0x0E1420, 0.45), colorHex(0xFFFFFF, 0.42)); }
QColor text() { return adaptive(colorHex(0x0C121C), colorHex(0xEDF1F8), colorHex(0x000000), colorHex(0xFFFFFF)); }
QColor textSecondary() { return adaptive(colorHex(0x4E5A6E), colorHex(0x9AA5B8), colorHex(0x27303F), colorHex(0xC5CEDD)); }
QColor textTertiary() { return adaptive(colorHex(0x77839A), colorHex(0x6C778A), colorHex(0x465062), colorHex(0x9AA5B8)); }
QColor accent() { return adaptive(colorHex(0x2C6FE8), colorHex(0x4C8DFF), colorHex(0x0F4FC0), colorHex(0x7DAEFF)); }
QColor accentSoft() { return adaptive(colorHex(0x2C6FE8, 0.12), colorHex(0x4C8DFF, 0.16)); }
QColor accentCyan() { return adaptive(colorHex(0x0F9FB4), colorHex(0x35D6E8)); }
QColor success() { return adaptive(colorHex(0x11875A), colorHex(0x36D399)); }
QColor successSoft() { return adaptive(colorHex(0x11875A, 0.12), colorHex(0x36D399, 0.15)); }
QColor warning() { return adaptive(colorHex(0xB1710B), colorHex(0xFBBF4A)); }
QColor warningSoft() { return adaptive(colorHex(0xB1710B, 0.13), colorHex(0xFBBF4A, 0.15)); }
QColor danger() { return adaptive(colorHex(0xC4302F), colorHex(0xFF6166)); }
QColor dangerSoft() { return adaptive(colorHex(0xC4302F, 0.12), colorHex(0xFF6166, 0.15)); }
QColor violet() { return adaptive(colorHex(0x6A55E0), colorHex(0x9585FF)); }
QColor violetSoft() { return adaptive(colorHex(0x6A55E0, 0.12), colorHex(0x9585FF, 0.16)); }
QColor neutralSoft() { return adaptive(colorHex(0x0E1420, 0.07), colorHex(0xFFFFFF, 0.07)); }
QColor specular() { return adaptive(colorHex(0xFFFFFF, 0.85), colorHex(0xFFFFFF, 0.16)); }
QColor shadow() { return adaptive(colorHex(0x0B1220, 0.14), colorHex(0x000000, 0.55)); }

} // namespace Ink
