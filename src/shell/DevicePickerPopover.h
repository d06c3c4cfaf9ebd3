#pragma once

#include <QAbstractButton>
#include <QFrame>
#include <QList>
#include <QString>

class AppModel;
class DeckButton;
class DeckSegmented;
class DeckTextField;
class QLabel;
class QVBoxLayout;

// The popover of the sidebar's device card: the device list, connection by address and pairing.
// It holds no device state: lists, selection and the three text fields belong to the model. It
// starts model operations without waiting for them and closes itself after some of them.
class DevicePickerPopover : public QFrame {
    Q_OBJECT
public:
    enum class Mode { list, network, pair };

    explicit DevicePickerPopover(AppModel *model, QWidget *parent = nullptr);

    Mode mode() const { return m_mode; }
    void setMode(Mode mode);
    static QString title(Mode mode);

    // Shows the popover beside `anchor`, at its trailing edge.
    void popUp(QWidget *anchor);
    // Writing false closes the popover (what the rows and buttons that close it do).
    void setPresented(bool presented);

    // Parts, for the owner's tests and previews.
    DeckSegmented *modeSwitch() const { return m_modeSwitch; }
    QWidget *emptyNotice() const { return m_emptyNotice; }
    QList<QAbstractButton *> deviceRows() const { return m_deviceRows; }
    QAbstractButton *deviceRow(const QString &serial) const;
    QList<QWidget *> fastbootRows() const { return m_fastbootRows; }
    DeckTextField *addressField() const { return m_address; }
    DeckTextField *pairAddressField() const { return m_pairAddress; }
    DeckTextField *pairCodeField() const { return m_pairCode; }
    DeckButton *connectButton() const { return m_connect; }
    DeckButton *switchButton() const { return m_switch; }
    DeckButton *pairButton() const { return m_pair; }
    DeckButton *refreshButton() const { return m_refresh; }
    DeckButton *restartButton() const { return m_restart; }

    static constexpr int kWidth = 344;

Q_SIGNALS:
    // The popover closed, by itself or because the platform dismissed it.
    void dismissed();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QWidget *buildList();
    QWidget *buildNetwork();
    QWidget *buildPair();
    void rebuildRows();
    void refreshSelection();
    void refreshButtons();
    void fitHeight();

    AppModel *m_model;
    Mode m_mode = Mode::list;
    bool m_dismissed = false;
    DeckSegmented *m_modeSwitch;
    QWidget *m_pages[3] = {};
    QVBoxLayout *m_listColumn = nullptr;
    QWidget *m_emptyNotice = nullptr;
    QList<QAbstractButton *> m_deviceRows;
    QList<QWidget *> m_fastbootRows;
    DeckTextField *m_address = nullptr;
    DeckTextField *m_pairAddress = nullptr;
    DeckTextField *m_pairCode = nullptr;
    DeckButton *m_connect = nullptr;
    DeckButton *m_switch = nullptr;
    DeckButton *m_pair = nullptr;
    DeckButton *m_refresh = nullptr;
    DeckButton *m_restart = nullptr;
};
