#pragma once

#include <QColor>

// The platform's translucent window material has no Qt Widgets counterpart on Linux; each
// material is drawn as the nearest opaque Ink role instead.
enum class NativeMaterialKind { contentBackground, hudWindow };

namespace NativeMaterial {

QColor fallback(NativeMaterialKind kind);

} // namespace NativeMaterial
