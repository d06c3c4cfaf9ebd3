// Writes the Logs screen in its main states, both schemes, compact and wide, under
// <build>/screenshots/logs for a person to look at.
#include "screens/device/LogStreamView.h"
#include "screens/device/LogsScreen.h"

#include "core/LogcatModel.h"
#include "design/DeckSegmented.h"
#include "design/DeckSizeReader.h"
#include "design/Ink.h"
#include "design/Theme.h"
#include "screenkit/ScreenMemory.h"

#include "../shell/ShellHarness.h"
#include "FakeDesktop.h"
#include "ScreenTestSupport.h"

#include <QDir>
#include <QPainter>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

QString u(const char *text) { return QString::fromUtf8(text); }

const QStringList &sampleLines()
{
    static const QStringList lines = {
        u("12-09 10:15:01.123  1234  1290 I ActivityManager: Start proc 4567:com.example.app/u0a123 for activity {com.example.app/.MainActivity}"),
        u("12-09 10:15:01.130  1234  1290 D PackageManager: Skipping unknown error check for com.example.app"),
        u("12-09 10:15:01.204   987   987 V SurfaceFlinger: setRequestedFrameRate: layer 42 rate 60.00"),
        u("12-09 10:15:01.317  4567  4580 W NetworkMonitor: Сеть недоступна, повтор через 500 мс — error count 3"),
        u("12-09 10:15:01.402  4567  4567 E AndroidRuntime: FATAL EXCEPTION: main Process: com.example.app, PID: 4567 java.lang.IllegalStateException: an error that is long enough to wrap onto the next rows of the list when the window is narrow"),
        u("12-09 10:15:01.403  4567  4567 F libc: Fatal signal 6 (SIGABRT), code -1 (SI_QUEUE) in tid 4567 (example.app)"),
        u("--------- beginning of crash"),
        u("12-09 10:15:01.500  1234  1302 I WindowManager: Relayout Window{8c1f u0 com.example.app/.MainActivity}: viewVisibility=0"),
        u("12-09 10:15:01.612  2211  2233 E ConnectivityService: Ошибка: нет соединения с сервером (error 7)"),
        u("12-09 10:15:01.700  1234  1290 I ActivityManager: Displayed com.example.app/.MainActivity: +412ms"),
    };
    return lines;
}

struct Width {
    QSize size;
    const char *name;
};
const Width kWidths[] = {{{640, 720}, "compact"}, {{1180, 760}, "wide"}};

enum class State { streaming, paused, empty, activity };

void fill(ShellHarness &h, LogcatModel &model, State state)
{
    h.listDevices({device(u("R58M123"), u("device"), u("SM_G991B"))}, u("R58M123"));
    settle();
    for (int i = 0; i < 6; ++i)
        h->appendLog(u("$ adb -s R58M123 shell pm list packages -f #") + QString::number(i));
    h->appendLog(u("Ошибка: не удалось установить пакет com.example.app"));
    h->appendLog(u("Установка завершена: 3 из 4"));
    h->appendLog(u("$ adb -s R58M123 shell dumpsys package com.example.app — Packages: Package [com.example.app] (8c1f2e): "
                   "userId=10123 pkg=Package{5a1b com.example.app} codePath=/data/app/~~Q1w2e3==/com.example.app-AbC==/"
                   " resourcePath=/data/app/~~Q1w2e3==/com.example.app-AbC==/ versionCode=4210 minSdk=26 targetSdk=34"));
    if (state == State::empty || state == State::activity)
        return;
    QString chunk;
    for (int repeat = 0; repeat < 4; ++repeat)
        for (const QString &line : sampleLines())
            chunk += line + QLatin1Char('\n');
    model.injectOutput(chunk);
    model.flush();
    model.isStreaming.set(true);
    model.statusText.set(u("Поток активен"));
    if (state == State::streaming) {
        model.setMinimumLevel(LogLevel::debug);
        model.setSearchText(u("error"));
    } else {
        model.isPaused.set(true);
    }
}

TEST(LogsScreenshots, MainStates)
{
    const struct {
        State state;
        const char *name;
    } states[] = {{State::streaming, "streaming"}, {State::paused, "paused"}, {State::empty, "empty"}, {State::activity, "activity"}};
    for (const Scheme &scheme : kSchemes) {
        for (const Width &width : kWidths) {
            for (const auto &s : states) {
                ShellHarness h;
                Theme::apply(scheme.scheme, false);
                FakeDesktop desktop;
                ScreenMemory memory;
                h->route.set(AppRoute::logs);
                auto *screen = new LogsScreen(h.model.get(), h.settings.get(), &memory);
                fill(h, *screen->logcat(), s.state);
                Canvas canvas(new DeckSizeReader(screen));
                canvas.resize(width.size);
                canvas.show();
                settle();
                if (s.state == State::activity) {
                    chooseSegment(screen->tabs(), u("activity"));
                    settle();
                }
                if (s.state != State::empty && s.state != State::activity) {
                    screen->stream()->list()->scrollToTop();
                    settle();
                }
                const QString name = QStringLiteral("logs-%1-%2-%3").arg(QLatin1String(s.name), QLatin1String(width.name),
                                                                          QLatin1String(scheme.name));
                EXPECT_EQ(GeometryWalk::seenFaults(&canvas), QStringList()) << name.toStdString();
                EXPECT_TRUE(canvas.grab().save(shotDir(u("logs")) + QLatin1Char('/') + name + QStringLiteral(".png")))
                    << name.toStdString();
                EXPECT_EQ(screen->stream()->isCompact(), QLatin1String(width.name) == QLatin1String("compact"));
                screen->logcat()->isStreaming.set(false);
            }
        }
    }
    Theme::apply(ColorScheme::dark, false);
}

} // namespace
