// Stand-in until the device data workflow defines AppModel::refreshSnapshot;
// that workflow deletes this file.
#include "core/AppModel.h"

QCoro::Task<void> AppModel::refreshSnapshot(bool)
{
    co_return;
}
