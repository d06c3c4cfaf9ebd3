#pragma once

#include <QAbstractButton>
#include <QList>
#include <QPointer>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <optional>

class AppModel;
class AppSettings;
class DeckButton;
class DeckSegmented;
class DeckTextField;
class FilterChip;
class QLabel;
#include <QMessageBox>
class QSlider;
class QVBoxLayout;
class SettingsCard;
class SettingsRow;

// The Settings screen: appearance, list options, adb, logs, safety and facts about the
// application. Controls write their preference at once, except the adb path, which is handed
// over only when its edit is committed.
class SettingsView : public QWidget {
    Q_OBJECT
public:
    SettingsView(AppModel *model, AppSettings *settings, QWidget *parent = nullptr);

    static const QList<qint64> &logcatBufferSizes(); // 2000, 5000, 10000, 20000
    // "2 с" for 2.5; bounded first, so any stored value gives a text.
    static QString intervalText(double seconds);
    static QString bufferTitle(qint64 lines); // "20k"

    // Where the adb chooser and the folder opener go (tests replace them).

    void chooseADBPath();
    void openPresetFolder();
    void clearIconCache();

    // Parts, for tests and previews.
    QList<SettingsCard *> cards() const { return m_cards; }
    QList<SettingsRow *> rows() const { return m_rows; }
    DeckSegmented *appearanceControl() const { return m_appearance; }
    DeckSegmented *densityControl() const { return m_density; }
    QAbstractButton *riskSwitch() const { return m_risk; }
    QLabel *catalogueText() const { return m_catalogue; }
    DeckButton *clearCacheButton() const { return m_clearCache; }
    SettingsRow *currentADBRow() const { return m_currentADBRow; }
    DeckButton *relinkButton() const { return m_relink; }
    DeckTextField *pathField() const { return m_path; }
    DeckButton *chooseButton() const { return m_choose; }
    QSlider *intervalSlider() const { return m_interval; }
    QLabel *intervalLabel() const { return m_intervalLabel; }
    QList<FilterChip *> bufferChips() const { return m_chips; }
    QAbstractButton *confirmSwitch() const { return m_confirm; }
    QList<QPair<QString, QString>> aboutRows() const;
    DeckButton *openPresetsButton() const { return m_openPresets; }
    DeckButton *resetButton() const { return m_reset; }
    bool showResetConfirmation() const { return !m_resetDialog.isNull(); }
    QMessageBox *resetDialog() const { return m_resetDialog; }

private:
    QWidget *appearanceSection();
    QWidget *listSection();
    QWidget *adbSection();
    QWidget *logsSection();
    QWidget *safetySection();
    QWidget *aboutSection();
    void askReset();
    void refresh();
    QString presetFolder() const;

    AppModel *m_model;
    AppSettings *m_settings;
    QList<SettingsCard *> m_cards;
    QList<SettingsRow *> m_rows;
    DeckSegmented *m_appearance = nullptr;
    DeckSegmented *m_density = nullptr;
    QAbstractButton *m_risk = nullptr;
    QLabel *m_catalogue = nullptr;
    DeckButton *m_clearCache = nullptr;
    SettingsRow *m_currentADBRow = nullptr;
    DeckButton *m_relink = nullptr;
    DeckTextField *m_path = nullptr;
    DeckButton *m_choose = nullptr;
    QSlider *m_interval = nullptr;
    QLabel *m_intervalLabel = nullptr;
    QList<FilterChip *> m_chips;
    QAbstractButton *m_confirm = nullptr;
    QVBoxLayout *m_aboutColumn = nullptr;
    QList<QPair<QString, QString>> m_shownAbout;
    DeckButton *m_openPresets = nullptr;
    DeckButton *m_reset = nullptr;
    QPointer<QMessageBox> m_resetDialog;
};
