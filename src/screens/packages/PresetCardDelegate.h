#pragma once

#include "core/PresetLibrary.h"

#include <QPointer>
#include <QStyledItemDelegate>

class DeckButton;
class IconButton;
class StatusBadge;

// Paints one stored preset as a card of the library grid (name, description, action badge,
// number of packages, creation time, "Применить", "Экспорт" and the trash button) and turns
// clicks on its buttons into requests. One delegate for every card: no widget per preset.
// The buttons are the design layer's own, drawn from hidden templates.
class PresetCardDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit PresetCardDelegate(QWidget *view);
    ~PresetCardDelegate() override;

    // The buttons of a card, in the order Tab visits them.
    enum class Part { apply, exportButton, trash };
    // The button of the current card that has the keyboard focus (while the grid has it).
    Part focusPart() const { return m_focusPart; }
    void setFocusPart(Part part) { m_focusPart = part; }
    // The parts Tab stops at: "Применить" only while it works.
    QList<Part> focusParts() const;
    // Does what a click on `part` of the card in `row` does.
    void activate(int row, Part part);

    // "Применить" works only while a usable device is connected.
    void setCanApply(bool canApply);
    bool canApply() const { return m_canApply; }

    struct Layout {
        QRectF panel;       // the card's raised panel
        QRectF title;       // name, at most 2 lines
        QRectF description; // at most 3 lines; empty without a description
        QRectF badge;
        QRectF facts;       // package count and creation time
        QRectF apply;
        QRectF exportButton;
        QRectF trash;
    };
    Layout layout(const QRect &cell, const PackagePreset &preset) const;

    // Every card has this height; the grid chooses the width (280 to 420 px).
    static int cardHeight();
    // Around each card: the room of its panel's shadow, which is also the space between cards.
    static QMargins cellMargins();
    static int cellHeight();
    static constexpr int kMinimumWidth = 280;
    static constexpr int kMaximumWidth = 420;

    // The creation time as the card shows it: an ISO 8601 internet date-time in the user's
    // locale (abbreviated date, short time), anything else verbatim.
    static QString creationText(const QString &createdAt);
    static QString applyToolTip(bool canApply);
    static QString badgeIcon(PresetAction action);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

signals:
    void applyRequested(int row);
    void exportRequested(int row);
    void deleteRequested(int row);

private:
    const StoredPreset *storedAt(const QModelIndex &index) const;

    bool m_canApply = false;
    Part m_focusPart = Part::apply;
    // Hidden templates the buttons and badges are drawn from.
    DeckButton *m_apply;
    DeckButton *m_export;
    IconButton *m_trash;
    StatusBadge *m_badge;
};
