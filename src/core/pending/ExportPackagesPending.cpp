// Stand-in until the package catalogue's selection and the file-naming helpers are
// on this branch; the export workflow then replaces this file.
#include "core/AppModel.h"

QCoro::Task<void> AppModel::exportSelectedPackages(QString)
{
    co_return;
}
