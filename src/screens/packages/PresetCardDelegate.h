#pragma once

#include "core/PresetLibrary.h"

#include <QLocale>
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

    // A card's buttons, in the order they are read and Tab visits them.
    enum class Button { apply, exportFile, trash };
    static constexpr Button kButtons[] = {Button::apply, Button::exportFile, Button::trash};
    // The button of the current card that has the keyboard focus (while the grid has it).
    Button focusPart() const { return m_focusPart; }
    void setFocusPart(Button part) { m_focusPart = part; }
    // The buttons Tab stops at: "Применить" only while it works.
    QList<Button> focusParts() const;

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

    // What accessibility reads for a button ("Удалить пресет " and the name for the trash).
    static QString buttonLabel(Button button, const PackagePreset &preset);
    static QRectF buttonRect(const Layout &layout, Button button);
    // A press of `button` on the card of `row`, as a click has it ("Применить" only while it can).
    void press(Button button, int row);

    // Every card has this height; the grid chooses the width (280 to 420 px).
    static int cardHeight();
    // A cell of the grid is a card and the Space::m after it (right and below): the card's place
    // in its cell. Shadows reach past the cell into the gaps; the grid keeps `gridOutsets` more
    // room after its last column and row for the outer ones.
    static QMargins cellMargins();
    static QMargins gridOutsets();
    static QMargins shadowReach();
    static int cellHeight();
    static constexpr int kMinimumWidth = 280;
    static constexpr int kMaximumWidth = 420;

    // The creation time as the card shows it: an ISO 8601 internet date-time in `locale`'s
    // abbreviated date and short time, anything else verbatim.
    static QString creationText(const QString &createdAt, const QLocale &locale = QLocale());
    static QString abbreviatedDateFormat(const QLocale &locale);
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
    Button m_focusPart = Button::apply;
    // Hidden templates the buttons and badges are drawn from.
    DeckButton *m_apply;
    DeckButton *m_export;
    IconButton *m_trash;
    StatusBadge *m_badge;
};
