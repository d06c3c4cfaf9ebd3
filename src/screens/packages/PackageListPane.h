#pragma once

#include "bridge/AndroidPackage.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class AppModel;
class AppSettings;
class ApplicationsState;
class DeckEmptyState;
class PackageListView;
class QMenu;
class SelectionBar;

// The list side of the Applications screen: the package list, over it the loading skeleton
// (a first catalogue still being read) or an empty state (nothing listed), and the selection
// bar floating over its bottom edge while packages are selected. It also applies the selection
// rule: one selected name opens it in the inspector, none closes the inspector, more leave it.
class PackageListPane : public QWidget {
    Q_OBJECT
public:
    enum class Overlay { none, skeleton, noMatches, emptyCatalogue };

    PackageListPane(AppModel *model, AppSettings *settings, ApplicationsState *state,
                    std::function<void()> exportSelected, QWidget *parent = nullptr);

    PackageListView *list() const { return m_list; }
    SelectionBar *selectionBar() const { return m_bar; }
    Overlay overlay() const { return m_overlayKind; }
    QWidget *overlayWidget() const { return m_overlay; }
    // Whether the bar is on screen or coming in (not leaving).
    bool isSelectionBarShown() const;

    // The context menu of a displayed row, built (not shown) for `packageName`.
    QMenu *contextMenuFor(const QString &packageName);

    static constexpr int kSkeletonRows = 10;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void refreshOverlay();
    void refreshBar();
    void placeBar();
    void applyDensity();
    QWidget *buildSkeleton();
    QWidget *buildEmptyState(Overlay kind);

    AppModel *m_model;
    AppSettings *m_settings;
    ApplicationsState *m_state;
    PackageListView *m_list;
    QWidget *m_overlay = nullptr;
    Overlay m_overlayKind = Overlay::none;
    SelectionBar *m_bar;
    qreal m_barPresence = 0; // 0 gone … 1 resting
    bool m_barWanted = false;
};
