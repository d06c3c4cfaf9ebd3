#include "FileManagerState.h"

#include "screenkit/DesktopServices.h"

QString rawValue(NameAction action)
{
    switch (action) {
    case NameAction::localNew: return QStringLiteral("localNew");
    case NameAction::deviceNew: return QStringLiteral("deviceNew");
    case NameAction::localRename: return QStringLiteral("localRename");
    case NameAction::deviceRename: return QStringLiteral("deviceRename");
    }
    return {};
}

template <>
QList<NameAction> allCases<NameAction>()
{
    return {NameAction::localNew, NameAction::deviceNew, NameAction::localRename, NameAction::deviceRename};
}

template <>
std::optional<NameAction> fromRawValue<NameAction>(const QString &raw)
{
    return rawValueLookup<NameAction>(raw);
}

FileManagerSide side(NameAction action)
{
    return action == NameAction::localNew || action == NameAction::localRename ? FileManagerSide::local
                                                                               : FileManagerSide::device;
}

bool isRename(NameAction action) { return action == NameAction::localRename || action == NameAction::deviceRename; }

FileManagerState::FileManagerState(QString homeFolder, QObject *parent)
    : Observable(parent), m_model(new DeviceFileManagerModel(std::move(homeFolder), this)),
      m_localRows(new LocalFileTableModel(m_model->localItems, this)),
      m_deviceRows(new DeviceFileTableModel(m_model->deviceItems, this))
{
    m_model->pathOpener = [](const QString &path) { DesktopServices::current().openPath(path); };
}

void FileManagerState::requestNewFolder(FileManagerSide on)
{
    nameInput.set(QStringLiteral("Новая папка"));
    nameAction.set(on == FileManagerSide::local ? NameAction::localNew : NameAction::deviceNew);
}

void FileManagerState::requestRename(FileManagerSide on)
{
    QString current;
    if (on == FileManagerSide::local) {
        if (const auto items = m_model->selectedLocalItems(); !items.isEmpty())
            current = items.first().name;
    } else if (const auto items = m_model->selectedDeviceItems(); !items.isEmpty()) {
        current = items.first().name;
    }
    nameInput.set(current);
    nameAction.set(on == FileManagerSide::local ? NameAction::localRename : NameAction::deviceRename);
}

void FileManagerState::requestDelete(FileManagerSide on) { deleteSide.set(on); }

void FileManagerState::submitName()
{
    const auto action = nameAction();
    if (!action)
        return;
    const QString text = nameInput();
    nameAction.set(std::nullopt);
    if (isRename(*action))
        m_model->renameSelected(text, side(*action));
    else
        m_model->createFolder(text, side(*action));
}

void FileManagerState::confirmDelete()
{
    const auto on = deleteSide();
    if (!on)
        return;
    deleteSide.set(std::nullopt);
    m_model->deleteSelected(*on);
}
