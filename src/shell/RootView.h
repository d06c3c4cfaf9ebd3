#pragma once

#include "RetiredViews.h"

#include "core/AppRoute.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <memory>

class AppDialogs;
class AppModel;
class AppSettings;
class DeckSizeReader;
class OperationOverlay;
class ScreenMemory;
class ToastStack;
class QSplitter;

// The whole content of the main window: the sidebar beside the detail column, which shows the
// route's screen or, when the route needs a device and none is usable, the connection gate.
// It resolves the theme itself and rebuilds both columns when the theme key changes; the
// detail is rebuilt whenever the route, the device's usability or the theme key changes.
// It carries the app-wide dialogs, the toast stack and the operation overlay.
class RootView : public QWidget {
    Q_OBJECT
public:
    RootView(AppModel *model, AppSettings *settings, QWidget *parent = nullptr);
    ~RootView() override;

    QString themeKey() const { return m_themeKey; }
    // "<route>-<usable>-<theme key>", e.g. "tools-false-l-hc".
    QString routeIdentity() const;
    QString builtIdentity() const { return m_builtIdentity; }
    // Whether the route needs a device that is not there (the gate is shown).
    bool isGateShown() const;

    QWidget *sidebar() const { return m_sidebar; }
    QWidget *detailContent() const { return m_content; }
    DeckSizeReader *detailReader() const { return m_reader; }
    AppDialogs *dialogs() const { return m_dialogs; }
    // What the screens keep across rebuilds.
    ScreenMemory *screenMemory() const { return m_memory.get(); }
    ToastStack *toastStack() const { return m_toasts; }
    OperationOverlay *operationOverlay() const { return m_operation; }
    // The start-up step: applies the appearance, opens the last route and makes sure the
    // device data are there. Runs on the first showing; tests may call it directly.
    void start();

Q_SIGNALS:
    void detailRebuilt();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void resolveTheme();
    void rebuildSidebar();
    void syncDetail();
    void layoutOverlays();

    AppModel *m_model;
    AppSettings *m_settings;
    std::unique_ptr<ScreenMemory> m_memory;
    QString m_themeKey;
    QString m_builtIdentity;
    bool m_started = false;

    QSplitter *m_split;
    QPointer<QWidget> m_sidebar;
    DeckSizeReader *m_reader;
    QWidget *m_detail;
    QPointer<QWidget> m_content;
    AppDialogs *m_dialogs;
    ToastStack *m_toasts = nullptr;
    OperationOverlay *m_operation = nullptr;
    // Declared last: replaced screens may still write their state as they go, so they go
    // before the memory they keep it in.
    RetiredViews m_retired;
};
