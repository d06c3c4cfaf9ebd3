#include "PresetsState.h"

PresetsState::PresetsState(const QString &libraryFolder, QObject *parent)
    : Observable(parent), m_library(new PresetLibrary(libraryFolder, this))
{
    // The card delegate reads each row's StoredPreset itself; the display role names the card.
    m_cards = new ListModelAdapter<StoredPreset>(
        m_library->presets,
        [](const StoredPreset &stored, int, int role) {
            if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
                return QVariant(stored.preset.name);
            if (role == Qt::ToolTipRole)
                return QVariant(stored.path);
            return QVariant();
        },
        this);
}
