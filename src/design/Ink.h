#pragma once

#include <QColor>

// The colour roles. Each call resolves against the current Theme; nothing is cached.
namespace Ink {

QColor canvas();
QColor canvasDeep();
QColor surface();
QColor surfaceRaised();
QColor surfaceSunken();
QColor surfaceHover();
QColor surfacePressed();
QColor stroke();
QColor strokeStrong();
QColor text();
QColor textSecondary();
QColor textTertiary();
QColor accent();
QColor accentSoft();
QColor accentCyan();
QColor success();
QColor successSoft();
QColor warning();
QColor warningSoft();
QColor danger();
QColor dangerSoft();
QColor violet();
QColor violetSoft();
QColor neutralSoft();
QColor specular();
QColor shadow();

} // namespace Ink
