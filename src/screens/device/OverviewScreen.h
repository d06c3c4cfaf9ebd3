#pragma once

#include "OverviewFacts.h"

#include "core/DeckAdvice.h"
#include "design/DeckSize.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class AdaptiveColumns;
class QAbstractButton;
class AdaptiveGrid;
class AdaptiveHeroStack;
class AdviceCard;
class AppModel;
class CopyableValue;
class DeckButton;
class DeckPanel;
class DeckSizeReader;
class DeckText;
class DeviceObject;
class FlowLayout;
class HeroTitle;
class IconButton;
class InfoRow;
class MetricTile;
class OverviewBackdrop;
class PulseDot;
class QLayout;
class QMenu;
class QScrollArea;
class QVBoxLayout;
class ScreenMemory;
class SectionHeader;
class StatusBadge;

// The Overview: the device illustration with the name, link state and facts, the quick
// actions, the four metric tiles, the advice beside the recent operations and the technical
// details, over a glow in the colour of the link. It reads the model and starts the model's
// operations; each part follows only the properties it shows. Width classes come from the
// nearest DeckSizeReader: the illustration is 104, 128 or 150 px wide, the advice stands beside
// the history only when wide.
class OverviewScreen : public QWidget {
    Q_OBJECT
public:
    explicit OverviewScreen(AppModel *model, ScreenMemory *memory = nullptr, QWidget *parent = nullptr);

    DeckSize deckSize() const;
    static qreal objectWidth(DeckSize size); // 104, 128, 150

    // The screenshot button's work: the save chooser, then the model's capture and record.
    void chooseScreenshotDestination();
    bool isDetailsOpen() const;
    void setDetailsOpen(bool open);

    // Parts, for tests and previews.
    QWidget *backdrop() const;
    QWidget *hero() const { return m_hero; }
    AdaptiveHeroStack *heroStack() const { return m_heroStack; }
    DeviceObject *deviceObject() const { return m_object; }
    PulseDot *linkDot() const { return m_dot; }
    DeckText *linkTitle() const { return m_linkTitle; }
    DeckText *loadingText() const { return m_loading; }
    HeroTitle *titleLabel() const { return m_title; }
    DeckText *androidText() const { return m_android; }
    CopyableValue *serialValue() const { return m_serial; }
    QList<StatusBadge *> badges() const { return m_badges; }
    DeckButton *screenshotButton() const { return m_screenshot; }
    DeckButton *applicationsButton() const { return m_applications; }
    DeckButton *cleanupButton() const { return m_cleanup; }
    DeckButton *rebootButton() const { return m_reboot; }
    QMenu *rebootMenu() const { return m_rebootMenu; }
    IconButton *refreshButton() const { return m_refresh; }
    QList<MetricTile *> tiles() const;
    AdaptiveGrid *tileGrid() const { return m_tileGrid; }
    AdaptiveColumns *columns() const { return m_columns; }
    SectionHeader *adviceHeader() const { return m_adviceHeader; }
    QList<AdviceCard *> adviceCards() const { return m_adviceCards; }
    QWidget *allClearPanel() const { return m_allClear; }
    SectionHeader *historyHeader() const { return m_historyHeader; }
    DeckText *historyCount() const { return m_historyCount; }
    // One widget per shown record, newest first; each is named by its accessible name.
    QList<QWidget *> historyRows() const { return m_historyRows; }
    QWidget *historyEmpty() const { return m_historyEmpty; }
    QAbstractButton *detailsButton() const { return m_detailsButton; }
    DeckPanel *detailsPanel() const { return m_detailsPanel; }
    QList<InfoRow *> detailRows() const { return m_detailRows; }
    QScrollArea *scrollArea() const { return m_scroll; }

    // The glow's band; its light fades out below it instead of ending at an edge.
    static constexpr int kBackdropHeight = 520;
    static constexpr int kHistoryLimit = 7;
    // Tile columns are at least this wide, and wider where a label line needs it.
    static constexpr int kTileMinimum = 168;

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QWidget *buildHero();
    QWidget *buildMetrics();
    QWidget *buildColumns();
    QWidget *buildDetails();
    QLayout *panelStack(QWidget *owner) const;
    QWidget *besidePanels(QWidget *content) const;
    void findReader();
    void arrange();
    void refreshHero();
    void refreshMetrics();
    void refreshAdvice();
    void refreshHistory();
    void refreshDetails();
    void navigate(AppRoute route);

    AppModel *m_model;
    class State;
    State *m_state;
    QPointer<DeckSizeReader> m_reader;
    QMetaObject::Connection m_readerConnection;
    std::optional<DeckSize> m_arranged;

    OverviewBackdrop *m_backdrop;
    QScrollArea *m_scroll;
    QWidget *m_hero = nullptr;
    QVBoxLayout *m_heroLayout = nullptr;
    AdaptiveHeroStack *m_heroStack = nullptr;
    QWidget *m_objectSlot = nullptr;
    DeviceObject *m_object = nullptr;
    PulseDot *m_dot = nullptr;
    DeckText *m_linkTitle = nullptr;
    DeckText *m_loading = nullptr;
    HeroTitle *m_title = nullptr;
    DeckText *m_android = nullptr;
    QWidget *m_serialSlot = nullptr;
    CopyableValue *m_serial = nullptr;
    QWidget *m_factStrip = nullptr;
    FlowLayout *m_factFlow = nullptr;
    QList<OverviewFacts::Badge> m_shownBadges;
    QList<StatusBadge *> m_badges;
    DeckButton *m_screenshot = nullptr;
    DeckButton *m_applications = nullptr;
    DeckButton *m_cleanup = nullptr;
    DeckButton *m_reboot = nullptr;
    QMenu *m_rebootMenu = nullptr;
    IconButton *m_refresh = nullptr;

    QList<QWidget *> m_tileSlots;
    AdaptiveGrid *m_tileGrid = nullptr;
    QList<std::optional<OverviewFacts::Tile>> m_shownTiles;

    AdaptiveColumns *m_columns = nullptr;
    SectionHeader *m_adviceHeader = nullptr;
    QLayout *m_adviceList = nullptr;
    QList<DeckAdvice> m_shownAdvice;
    bool m_adviceShown = false;
    QList<AdviceCard *> m_adviceCards;
    QWidget *m_allClear = nullptr;
    SectionHeader *m_historyHeader = nullptr;
    DeckText *m_historyCount = nullptr;
    QVBoxLayout *m_historyList = nullptr;
    QMargins m_outsets; // the reach of a panel's shadow beyond its shape
    QList<QWidget *> m_historyRows;
    QWidget *m_historyEmpty = nullptr;

    QAbstractButton *m_detailsButton = nullptr;
    DeckPanel *m_detailsPanel = nullptr;
    QWidget *m_detailsGridBox = nullptr;
    QList<OverviewFacts::InfoLine> m_shownLines;
    QList<InfoRow *> m_detailRows;
};
