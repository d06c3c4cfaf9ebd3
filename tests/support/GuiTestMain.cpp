#include <QApplication>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include "TestSupport.h"

namespace {

// Each test starts where a person's session would: no mouse button held and no command of an
// earlier test still running. A test that presses without releasing (a press that opens a popup,
// whose release the popup would take) would otherwise leave QTest's pointer, and the
// application's idea of it, held down, and every later move a drag that hovers nothing.
class FreshStart : public ::testing::EmptyTestEventListener {
public:
    void OnTestEnd(const ::testing::TestInfo &) override
    {
        settleCommands();
        releaseMouseButtons();
    }

private:
    static void releaseMouseButtons()
    {
        const Qt::MouseButtons held = QTestPrivate::qtestMouseButtons | QGuiApplication::mouseButtons();
        if (held == Qt::NoButton)
            return;
        // Through a window of its own, as the window system would deliver the release: the
        // test's windows are gone by now.
        QWindow window;
        window.create();
        for (Qt::MouseButton button = Qt::LeftButton; button <= Qt::MaxMouseButton;
             button = Qt::MouseButton(button << 1))
            if (held.testFlag(button)) {
                QTestPrivate::qtestMouseButtons.setFlag(button);
                QTest::mouseRelease(&window, button, {}, QPoint(1, 1));
            }
        QCoreApplication::processEvents();
    }
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshStart);
    const int status = RUN_ALL_TESTS();
    // Commands a test left running still hand their answers back: the coroutines awaiting them
    // resume and end, instead of staying suspended (and reported as leaked) when the process exits.
    settleCommands(5000);
    return status;
}
