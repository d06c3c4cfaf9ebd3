#include "Accessibility.h"

namespace {
struct Flags {
    bool increaseContrast = false;
    bool differentiateWithoutColor = false;
    bool reduceMotion = false;
};
Flags &flags()
{
    static Flags f;
    return f;
}
} // namespace

namespace A11y {

bool increaseContrast() { return flags().increaseContrast; }
bool differentiateWithoutColor() { return flags().differentiateWithoutColor; }
bool reduceMotion() { return flags().reduceMotion; }

void setIncreaseContrast(bool on) { flags().increaseContrast = on; }
void setDifferentiateWithoutColor(bool on) { flags().differentiateWithoutColor = on; }
void setReduceMotion(bool on) { flags().reduceMotion = on; }

void resetForTesting() { flags() = Flags{}; }

} // namespace A11y
