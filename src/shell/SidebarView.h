#pragma once

#include "DevicePickerPopover.h"

#include "bridge/Tone.h"
#include "core/AppRoute.h"

#include <QAbstractButton>
#include <QPointer>
#include <QWidget>

#include <optional>

class AppModel;
class AppSettings;
class DeckText;
class DeviceGlyph;
class PulseDot;
class QLabel;
class QScrollArea;
class SidebarItem;

// The first column of the main window: the device card (which opens the device picker), the
// routes grouped by section, and at the bottom the Settings row and the adb footer. Everything
// it shows follows the model; it only writes the current route.
class SidebarView : public QWidget {
    Q_OBJECT
public:
    SidebarView(AppModel *model, AppSettings *settings, QWidget *parent = nullptr);
    ~SidebarView() override;

    QList<SidebarItem *> items() const { return m_items; }
    SidebarItem *item(AppRoute route) const;

    QAbstractButton *deviceCard() const { return m_card; }
    QScrollArea *routeList() const { return m_routeList; }
    QString deviceTitle() const;
    QString deviceStateText() const;
    PulseDot *stateDot() const { return m_dot; }
    DeviceGlyph *glyph() const { return m_glyph; }
    QString footerText() const;
    QString footerIcon() const;

    // The picker popover, open while the flag is true.
    bool showDevicePopover() const;
    DevicePickerPopover *devicePopover() const;
    void openDevicePopover();

    // The badge of a route's row as the badge rule gives it now.
    static std::optional<QString> badgeFor(AppRoute route, const AppModel &model);

    QSize sizeHint() const override;

    static constexpr int kMinimumWidth = 216;
    static constexpr int kIdealWidth = 236;
    static constexpr int kMaximumWidth = 300;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void refresh();
    // Scrolls the route list so the active route's row is shown whole.
    void revealActiveRoute();

    AppModel *m_model;
    AppSettings *m_settings;
    QList<SidebarItem *> m_items;
    QAbstractButton *m_card = nullptr;
    QScrollArea *m_routeList = nullptr;
    DeckText *m_cardTitle = nullptr;
    DeckText *m_cardState = nullptr;
    PulseDot *m_dot = nullptr;
    DeviceGlyph *m_glyph = nullptr;
    QWidget *m_footer = nullptr;
    QLabel *m_footerIcon = nullptr;
    DeckText *m_footerText = nullptr;
    QString m_footerIconName;
    std::optional<Tone> m_glowTone;
    std::optional<AppRoute> m_revealed;
    QPointer<DevicePickerPopover> m_popover;
};
