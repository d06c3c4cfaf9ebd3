#include "ScreenshotSaving.h"

#include "core/AppModel.h"
#include "core/FileNaming.h"

#include <QPointer>

namespace ScreenshotSaving {

FileRequest request()
{
    FileRequest request;
    request.title = QStringLiteral("Сохранить снимок экрана");
    request.nameFilters = {QStringLiteral("PNG (*.png)")};
    request.suggestedName = QStringLiteral("android-screenshot-") + FileNaming::timestamp() + QStringLiteral(".png");
    request.defaultSuffix = QStringLiteral("png");
    return request;
}

void choose(QWidget *parent, AppModel *model)
{
    QPointer<AppModel> guarded(model);
    DesktopServices::current().chooseSaveFile(parent, request(), [guarded](std::optional<QString> path) {
        if (!path || path->isEmpty() || !guarded)
            return;
        // The capture and its record are the model's: the record follows the capture's result.
        guarded->takeScreenshot(*path);
    });
}

} // namespace ScreenshotSaving
