#pragma once

#include "screenkit/DesktopServices.h"

class AppModel;
class QWidget;

// The screenshot of the Overview and of the Tools screen: a save chooser offering
// "android-screenshot-<time stamp>.png", then the model's capture and its record.
namespace ScreenshotSaving {

// What the chooser asks for, with the time stamp of this moment.
FileRequest request();
// Opens the chooser over `parent`; a cancelled chooser does nothing.
void choose(QWidget *parent, AppModel *model);

} // namespace ScreenshotSaving
