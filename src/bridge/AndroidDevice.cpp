#include "AndroidDevice.h"

#include <QHashFunctions>

QString AndroidDevice::displayName() const
{
    if (model.isEmpty())
        return id;
    return QString(model).replace(QLatin1Char('_'), QLatin1Char(' '));
}

size_t qHash(const AndroidDevice &d, size_t seed)
{
    return qHashMulti(seed, d.id, d.state, d.model, d.transport);
}
