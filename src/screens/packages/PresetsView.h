#pragma once

#include "bridge/PackagePreset.h"

#include <QListView>
#include <QPointer>
#include <QWidget>

#include <optional>

class AppModel;
class DeckButton;
class DeckPanel;
class DeckSegmented;
class DeckTextField;
class DialogPresenter;
class IconButton;
class PresetCardDelegate;
class PresetsState;
class ScreenMemory;
class SectionHeader;
struct StoredPreset;

// The library grid: one card per stored preset, as many columns of 280 to 420 px as the width
// holds, and as tall as its rows (the page around it scrolls). Tab walks the cards' buttons one
// by one, card after card, then leaves the grid; Space or Return presses the one reached.
class PresetGridView : public QListView {
    Q_OBJECT
public:
    explicit PresetGridView(QWidget *parent = nullptr);
    int columns() const { return m_columns; }
    void relayout();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    PresetCardDelegate *cards() const;
    // Puts the keyboard focus on `part` of the card in `row` and shows that card.
    void focusPart(int row, int part);

    int m_columns = 1;
};

// The presets route: save the selected packages as a preset, keep presets in the library
// folder, import and export preset files, and apply a stored one through the preview sheet.
class PresetsView : public QWidget {
    Q_OBJECT
public:
    // The state (library, form) comes from `memory` when given, so it survives a rebuild.
    explicit PresetsView(AppModel *model, ScreenMemory *memory = nullptr, QWidget *parent = nullptr);

    PresetsState *state() const { return m_state; }

    // The header's actions.
    void prepareSaveForm();
    void chooseImportFile();
    void openLibraryFolder();
    // The save form's actions.
    std::optional<PackagePreset> buildPreset() const;
    void saveToLibrary();
    void chooseExportDestination();
    void cancelSaveForm();
    // A card's actions, by grid row.
    void applyStored(int row);
    void exportStored(int row);
    void askToDelete(int row);

    // "Сохранить выбранные"'s tooltip for a selection of `count` packages.
    static QString saveSelectedToolTip(qsizetype count);
    // Whether the form's name allows saving: spaces and tabs trimmed, not line breaks.
    static bool nameAllowsSaving(const QString &name);

    DeckButton *saveSelectedButton() const { return m_saveSelected; }
    DeckButton *importButton() const { return m_import; }
    IconButton *folderButton() const { return m_folder; }
    DeckPanel *saveForm() const { return m_form; }
    SectionHeader *formHeader() const { return m_formHeader; }
    DeckTextField *nameField() const { return m_name; }
    DeckTextField *descriptionField() const { return m_description; }
    DeckSegmented *actionPicker() const { return m_action; }
    DeckButton *storeButton() const { return m_store; }
    DeckButton *exportFormButton() const { return m_exportForm; }
    DeckButton *cancelButton() const { return m_cancel; }
    SectionHeader *libraryHeader() const { return m_libraryHeader; }
    QWidget *emptyLibrary() const { return m_empty; }
    PresetGridView *grid() const { return m_grid; }
    PresetCardDelegate *cardDelegate() const { return m_cards; }
    DialogPresenter *errorAlert() const { return m_errorAlert; }
    DialogPresenter *deleteConfirmation() const { return m_deleteConfirmation; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    QWidget *buildExplainer();
    QWidget *buildSaveForm();
    QWidget *buildLibrary();
    void updateSelection();
    void updateForm();
    void updateLibrary();
    void updateDevice();
    const StoredPreset *storedAt(int row) const;

    AppModel *m_model;
    PresetsState *m_state;
    DeckButton *m_saveSelected = nullptr;
    DeckButton *m_import = nullptr;
    IconButton *m_folder = nullptr;
    DeckPanel *m_form = nullptr;
    SectionHeader *m_formHeader = nullptr;
    DeckTextField *m_name = nullptr;
    DeckTextField *m_description = nullptr;
    DeckSegmented *m_action = nullptr;
    DeckButton *m_store = nullptr;
    DeckButton *m_exportForm = nullptr;
    DeckButton *m_cancel = nullptr;
    SectionHeader *m_libraryHeader = nullptr;
    QWidget *m_empty = nullptr;
    PresetGridView *m_grid = nullptr;
    PresetCardDelegate *m_cards = nullptr;
    DialogPresenter *m_errorAlert = nullptr;
    DialogPresenter *m_deleteConfirmation = nullptr;
};
