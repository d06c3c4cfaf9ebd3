#include "screenkit/DesktopServices.h"

#include "../shell/ShellHarness.h"

#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// The real save chooser: a typed name without a suffix gets the request's one, so a screenshot
// saved as "shot" lands in "shot.png".
TEST(DesktopServices, SaveChooserAddsTheDefaultSuffixToATypedName)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QWidget parent;
    parent.show();
    FileRequest request;
    request.title = QStringLiteral("Сохранить снимок экрана");
    request.nameFilters = {QStringLiteral("PNG (*.png)")};
    request.suggestedName = QStringLiteral("android-screenshot.png");
    request.defaultSuffix = QStringLiteral("png");
    request.directory = dir.path();
    std::optional<std::optional<QString>> answer;
    DesktopServices real;
    real.chooseSaveFile(&parent, request, [&](std::optional<QString> path) { answer = path; });
    auto *dialog = parent.findChild<QFileDialog *>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("png"));
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
    dialog->selectFile(dir.filePath(QStringLiteral("shot")));
    static_cast<QDialog *>(dialog)->accept(); // the chooser's own accept, as its button would
    ASSERT_TRUE(waitUntil([&] { return answer.has_value(); }));
    EXPECT_EQ(*answer, std::optional(dir.filePath(QStringLiteral("shot.png"))));
}

} // namespace
