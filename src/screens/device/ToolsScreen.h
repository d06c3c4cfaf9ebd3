#pragma once

#include "ToolsFacts.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <optional>

class AdaptiveGrid;
class AppModel;
class DeckButton;
class DeckParagraph;
class DeckTextField;
class FilterChip;
class IconButton;
class IndeterminateRing;
class InfoRow;
class QAbstractItemModel;
class QListView;
#include <QMessageBox>
class QScrollArea;
class QVBoxLayout;
class ScreenHeader;
class ScreenMemory;
class ToolPanel;

// The Tools screen: six cards in an adaptive grid (columns of at least 300 px) under a header
// whose subtitle is the tools' status line. Screen size, density and time-out; reboots with a
// confirmation; hardware keys; a screenshot; fastboot; the adb server and the switch to Wi-Fi.
// Every control starts a model operation; the typed size and density live in the window's
// memory until the user leaves the screen.
class ToolsScreen : public QWidget {
    Q_OBJECT
public:
    explicit ToolsScreen(AppModel *model, ScreenMemory *memory = nullptr, QWidget *parent = nullptr);

    // Asks for a reboot into `target` (a power-panel button); the dialog decides.
    void requestReboot(const ToolsFacts::RebootTarget &target);
    std::optional<ToolsFacts::RebootTarget> pendingReboot() const { return m_pendingReboot; }
    QMessageBox *rebootDialog() const { return m_rebootDialog; }
    // The capture button's work: the save chooser, then the model's capture and record.
    void chooseScreenshotDestination();

    // Parts, for tests and previews.
    ScreenHeader *header() const { return m_header; }
    IconButton *refreshButton() const { return m_refresh; }
    AdaptiveGrid *grid() const { return m_grid; }
    QList<ToolPanel *> panels() const { return m_panels; }
    QScrollArea *scrollArea() const { return m_scroll; }
    // Display
    QWidget *displayBody() const { return m_displayBody; }
    InfoRow *sizeRow() const { return m_sizeRow; }
    InfoRow *densityRow() const { return m_densityRow; }
    DeckTextField *widthField() const { return m_width; }
    DeckTextField *heightField() const { return m_height; }
    DeckTextField *densityField() const { return m_density; }
    DeckButton *applySizeButton() const { return m_applySize; }
    DeckButton *resetSizeButton() const { return m_resetSize; }
    DeckButton *applyDensityButton() const { return m_applyDensity; }
    DeckButton *resetDensityButton() const { return m_resetDensity; }
    QList<FilterChip *> timeoutChips() const { return m_chips; }
    // Power
    QWidget *powerBody() const { return m_powerBody; }
    QList<DeckButton *> rebootButtons() const { return m_rebootButtons; }
    // Keys and capture
    QWidget *keysBody() const { return m_keysBody; }
    QList<DeckButton *> keyButtons() const { return m_keyButtons; }
    AdaptiveGrid *keysGrid() const { return m_keysGrid; }
    DeckButton *captureButton() const { return m_capture; }
    // Fastboot
    DeckParagraph *fastbootMissingText() const { return m_fastbootMissing; }
    DeckButton *searchFastbootButton() const { return m_searchFastboot; }
    DeckButton *readVariablesButton() const { return m_readVariables; }
    DeckButton *bootSystemButton() const { return m_bootSystem; }
    DeckButton *bootBootloaderButton() const { return m_bootBootloader; }
    QWidget *fastbootRebootRow() const { return m_fastbootRebootRow; }
    IndeterminateRing *fastbootBusyIndicator() const { return m_fastbootBusy; }
    QListView *variablesView() const { return m_variables; }
    // Server
    InfoRow *adbPathRow() const { return m_adbPathRow; }
    InfoRow *fastbootPathRow() const { return m_fastbootPathRow; }
    InfoRow *connectionRow() const { return m_connectionRow; }
    DeckButton *restartServerButton() const { return m_restartServer; }
    DeckButton *wirelessButton() const { return m_wireless; }

    static constexpr int kVariablesMaxHeight = 170;
    static constexpr int kVariableKeyWidth = 150;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildDisplay();
    QWidget *buildPower();
    QWidget *buildKeys();
    QWidget *buildCapture();
    QWidget *buildFastboot();
    QWidget *buildServer();
    void applySize();
    void applyDensity();
    void refreshDisplay();
    void refreshDisplayInput();
    void refreshDeviceActions();
    void refreshFastboot();
    void refreshServer();
    void copySelectedVariables();

    AppModel *m_model;
    class State;
    State *m_state;
    std::optional<ToolsFacts::RebootTarget> m_pendingReboot;
    QPointer<QMessageBox> m_rebootDialog;

    ScreenHeader *m_header = nullptr;
    IconButton *m_refresh = nullptr;
    QScrollArea *m_scroll = nullptr;
    AdaptiveGrid *m_grid = nullptr;
    QList<ToolPanel *> m_panels;

    QWidget *m_displayBody = nullptr;
    QVBoxLayout *m_displayRows = nullptr;
    InfoRow *m_sizeRow = nullptr;
    InfoRow *m_densityRow = nullptr;
    QString m_shownSize;
    QString m_shownDensity;
    DeckTextField *m_width = nullptr;
    DeckTextField *m_height = nullptr;
    DeckTextField *m_density = nullptr;
    DeckButton *m_applySize = nullptr;
    DeckButton *m_resetSize = nullptr;
    DeckButton *m_applyDensity = nullptr;
    DeckButton *m_resetDensity = nullptr;
    QList<FilterChip *> m_chips;

    QWidget *m_powerBody = nullptr;
    QList<DeckButton *> m_rebootButtons;
    QWidget *m_keysBody = nullptr;
    AdaptiveGrid *m_keysGrid = nullptr;
    QList<DeckButton *> m_keyButtons;
    DeckButton *m_capture = nullptr;

    DeckParagraph *m_fastbootMissing = nullptr;
    QWidget *m_fastbootControls = nullptr;
    DeckButton *m_searchFastboot = nullptr;
    DeckButton *m_readVariables = nullptr;
    DeckButton *m_bootSystem = nullptr;
    DeckButton *m_bootBootloader = nullptr;
    QWidget *m_fastbootRebootRow = nullptr;
    IndeterminateRing *m_fastbootBusy = nullptr;
    QListView *m_variables = nullptr;

    QVBoxLayout *m_serverRows = nullptr;
    InfoRow *m_adbPathRow = nullptr;
    InfoRow *m_fastbootPathRow = nullptr;
    InfoRow *m_connectionRow = nullptr;
    QStringList m_shownServer;
    DeckButton *m_restartServer = nullptr;
    DeckButton *m_wireless = nullptr;
};
