#pragma once

#include "AppInspectorView.h"

#include "design/DeckSize.h"

#include <QPointer>
#include <QWidget>

#include <optional>

class AppModel;
class AppSettings;
class ApplicationsFilterBar;
class ApplicationsState;
class DeckSearchField;
class DeckSizeReader;
class DialogPresenter;
class IconButton;
class MenuButton;
class PackageListPane;
class QAction;
class QSplitter;
class ScreenHeader;
class ScreenMemory;

// The Applications screen: the selected device's catalogue with search, sort and density, the
// filter bar, the list with its selection bar, and the inspector beside the list (in a compact
// window in place of it). Installing APK files and exporting the selected packages' APK files
// go through the desktop's file choosers. Everything the user expects to keep (search, filters,
// selection, the inspected package) lives in the model; the rows in the window's memory.
class ApplicationsView : public QWidget {
    Q_OBJECT
public:
    ApplicationsView(AppModel *model, AppSettings *settings, ScreenMemory *memory, QWidget *parent = nullptr);

    ApplicationsState *state() const { return m_state; }
    ScreenHeader *header() const { return m_header; }
    DeckSearchField *searchField() const { return m_search; }
    MenuButton *sortMenuButton() const { return m_sortButton; }
    MenuButton *installMenuButton() const { return m_installButton; }
    QAction *exportAction() const { return m_exportAction; }
    IconButton *refreshButton() const { return m_refresh; }
    ApplicationsFilterBar *filterBar() const { return m_filterBar; }
    PackageListPane *listPane() const { return m_pane; }
    AppInspectorView *inspector() const { return m_inspector; }
    QSplitter *splitter() const { return m_split; }
    DialogPresenter *saveFilterPresenter() const { return m_saveFilter; }

    // The header's subtitle for the model's state now.
    QString subtitle() const;
    // Pins the width class (previews, tests); nullopt follows the window.
    void setDeckSize(std::optional<DeckSize> size);
    DeckSize deckSize() const;

    void chooseInstallFiles();
    void choosePackageExportDirectory();
    // Empties the icon cache, then reads the catalogue again with fresh labels, icons and sizes.
    void refreshCatalogue();

protected:
    bool event(QEvent *event) override;

private:
    void refreshHeader();
    void buildSearchField();
    void arrangeContent();
    void findReader();

    AppModel *m_model;
    AppSettings *m_settings;
    ApplicationsState *m_state;
    ScreenHeader *m_header;
    QWidget *m_searchBox;
    DeckSearchField *m_search = nullptr;
    MenuButton *m_sortButton;
    MenuButton *m_installButton;
    QAction *m_exportAction;
    IconButton *m_refresh;
    ApplicationsFilterBar *m_filterBar;
    QSplitter *m_split;
    PackageListPane *m_pane;
    QPointer<AppInspectorView> m_inspector;
    DialogPresenter *m_saveFilter;
    std::optional<DeckSize> m_pinned;
    std::optional<bool> m_searchCompact;
    QPointer<DeckSizeReader> m_reader;
    QMetaObject::Connection m_readerConnection;
};
