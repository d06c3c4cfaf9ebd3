#include "FastbootDevice.h"

#include <QHashFunctions>

size_t qHash(const FastbootDevice &device, size_t seed)
{
    return qHashMulti(seed, device.id, device.mode);
}
