#include "NativeMaterial.h"

#include "Ink.h"

namespace NativeMaterial {

QColor fallback(NativeMaterialKind kind)
{
    switch (kind) {
    case NativeMaterialKind::contentBackground: return Ink::canvas();
    case NativeMaterialKind::hudWindow: return Ink::surfaceRaised();
    }
    return Ink::canvas();
}

} // namespace NativeMaterial
