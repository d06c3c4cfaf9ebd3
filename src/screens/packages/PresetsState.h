#pragma once

#include "core/ListModelAdapter.h"
#include "core/Observable.h"
#include "core/PresetLibrary.h"

#include "bridge/PresetAction.h"

#include <optional>

// What the Presets screen keeps across rebuilds: the library and its grid model, the save
// form and a delete that awaits confirmation.
class PresetsState : public Observable {
    Q_OBJECT
public:
    explicit PresetsState(const QString &libraryFolder, QObject *parent = nullptr);

    PresetLibrary *library() const { return m_library; }
    ListModelAdapter<StoredPreset> *cards() const { return m_cards; }

    Published<bool> showSaveForm{this, false};
    Published<QString> presetName{this};
    Published<QString> presetDescription{this};
    Published<PresetAction> presetAction{this, PresetAction::disable};
    Published<std::optional<StoredPreset>> pendingDelete{this};

private:
    PresetLibrary *m_library;
    ListModelAdapter<StoredPreset> *m_cards;
};
