#pragma once

#include "FileTableModel.h"

#include "core/DeviceFileManagerModel.h"
#include "core/Observable.h"

#include <optional>

// The pending name dialog: a new folder or a rename, on the computer's or the device's side.
enum class NameAction { localNew, deviceNew, localRename, deviceRename };
QString rawValue(NameAction action);
template <> std::optional<NameAction> fromRawValue<NameAction>(const QString &raw);
template <> QList<NameAction> allCases<NameAction>();
FileManagerSide side(NameAction action);
bool isRename(NameAction action);

// What one place that shows the file manager keeps for as long as it exists: its own model, the
// two tables over the model's listings (with their sort order) and the pending dialogs. The
// files route keeps it in the main window's screen memory, so a rebuilt screen finds its folders,
// selections and dialogs; the file-manager window owns one and drops it when it closes.
class FileManagerState : public Observable {
    Q_OBJECT
public:
    // The computer's pane starts in "Downloads" under `homeFolder` (or in the folder itself).
    explicit FileManagerState(QString homeFolder = QDir::homePath(), QObject *parent = nullptr);

    DeviceFileManagerModel *model() const { return m_model; }
    LocalFileTableModel *localRows() const { return m_localRows; }
    DeviceFileTableModel *deviceRows() const { return m_deviceRows; }

    Published<std::optional<NameAction>> nameAction{this};
    Published<QString> nameInput{this};
    Published<std::optional<FileManagerSide>> deleteSide{this};

    // The requests of the action bars and context menus: each only opens its dialog.
    void requestNewFolder(FileManagerSide side);
    void requestRename(FileManagerSide side);
    void requestDelete(FileManagerSide side);
    // The name dialog's confirm button: closes the dialog, then creates or renames with the text.
    void submitName();
    // The delete confirmation's destructive button.
    void confirmDelete();

private:
    DeviceFileManagerModel *m_model;
    LocalFileTableModel *m_localRows;
    DeviceFileTableModel *m_deviceRows;
};
