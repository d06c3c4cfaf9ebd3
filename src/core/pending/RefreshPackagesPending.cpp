// Stand-in until the package catalogue workflow defines AppModel::refreshPackages;
// that workflow deletes this file.
#include "core/AppModel.h"

QCoro::Task<void> AppModel::refreshPackages(bool)
{
    co_return;
}
