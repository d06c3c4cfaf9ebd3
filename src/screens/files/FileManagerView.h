#pragma once

#include "FileManagerState.h"

#include "design/DeckSize.h"

#include <QPointer>
#include <QWidget>

class AppModel;
class DeckButton;
class DeckText;
class DialogPresenter;
class FilePane;
class IndeterminateRing;
class QBoxLayout;
class QSplitter;

// The two-pane file manager: the computer's pane, the transfer column and the device's pane,
// with an optional header above and the status bar below. It shows a FileManagerState (the
// route's, kept in the window's memory, or the file-manager window's own) and binds its model
// to the device selected in the application model: when shown, and whenever the selected
// device or its state changes, the model gets the adb service and the serial of a ready device.
// Compact windows put the panes in a plain row with a narrow column of arrows; wider ones in a
// splitter with labelled transfer buttons.
class FileManagerView : public QWidget {
    Q_OBJECT
public:
    FileManagerView(AppModel *app, FileManagerState *state, bool showsHeader, QWidget *parent = nullptr);
    ~FileManagerView() override;

    FileManagerState *state() const { return m_state; }
    FilePane *localPane() const { return m_local; }
    FilePane *devicePane() const { return m_device; }
    DeckButton *uploadButton() const { return m_upload; }
    DeckButton *downloadButton() const { return m_download; }
    DeckButton *refreshBothButton() const { return m_refreshBoth; } // null without the header
    QWidget *header() const { return m_header; }                      // null without the header
    QWidget *transferColumn() const { return m_transfer; }
    DeckText *statusLabel() const { return m_status; }
    DeckText *countsLabel() const { return m_counts; }
    IndeterminateRing *statusSpinner() const { return m_statusRing; }
    IndeterminateRing *transferSpinner() const { return m_transferRing; }
    QSplitter *splitter() const { return m_splitter; } // null in a compact window
    DialogPresenter *nameDialog() const { return m_nameDialog; }
    DialogPresenter *deleteDialog() const { return m_deleteDialog; }
    DialogPresenter *errorAlert() const { return m_errorAlert; }
    DeckSize arrangedSize() const { return m_arranged.value_or(DeckSize::wide); }

    // "Mac ⇄ " and the selected device's name, or "Android" (the header's second line).
    static QString headerSubtitle(const AppModel &app);
    // What the configuration follows: the selected device's id and state ("-" for none).
    static QString bindingIdentity(const AppModel &app);

    static constexpr int kCompactTransferWidth = 74;
    static constexpr int kTransferWidth = 96;
    static constexpr int kPaneMinimumWidth = 260;

protected:
    bool event(QEvent *event) override;

private:
    QWidget *buildHeader();
    QWidget *buildTransferColumn();
    QWidget *buildStatusBar();
    void buildDialogs();
    void arrange(DeckSize size);
    void followReader();
    void refresh();
    void bindDevice(bool always);

    AppModel *m_app;
    FileManagerState *m_state;
    DeviceFileManagerModel *m_model;
    bool m_showsHeader;
    QWidget *m_header = nullptr;
    DeckText *m_subtitle = nullptr;
    DeckButton *m_refreshBoth = nullptr;
    QWidget *m_panesHost = nullptr;
    QBoxLayout *m_panesLayout = nullptr;
    QSplitter *m_splitter = nullptr;
    FilePane *m_local = nullptr;
    FilePane *m_device = nullptr;
    QWidget *m_transfer = nullptr;
    DeckButton *m_upload = nullptr;
    DeckButton *m_download = nullptr;
    IndeterminateRing *m_transferRing = nullptr;
    IndeterminateRing *m_statusRing = nullptr;
    DeckText *m_status = nullptr;
    DeckText *m_counts = nullptr;
    DialogPresenter *m_nameDialog = nullptr;
    DialogPresenter *m_deleteDialog = nullptr;
    DialogPresenter *m_errorAlert = nullptr;
    std::optional<DeckSize> m_arranged;
    QString m_boundIdentity;
    QMetaObject::Connection m_readerConnection;
};
