// Stand-in until the device data workflow defines AppModel::ensureDeviceData;
// that workflow deletes this file.
#include "core/AppModel.h"

QCoro::Task<void> AppModel::ensureDeviceData()
{
    co_return;
}
