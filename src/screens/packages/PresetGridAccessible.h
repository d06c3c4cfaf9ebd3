#pragma once

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

class PresetGridView;

// What accessibility sees of the presets grid, whose cards are painted: a list with one item per
// card (named by the preset), each holding its three buttons as elements of their own, named as
// the user reads them ("Применить", "Экспорт", "Удалить пресет " and the name) and pressed
// through their press action exactly as a click presses them.
class PresetGridAccessible : public QAccessibleWidget {
public:
    explicit PresetGridAccessible(PresetGridView *grid);
    ~PresetGridAccessible() override;

    // Makes every PresetGridView answer with this interface (once per process).
    static void install();

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;

private:
    PresetGridView *grid() const;

    // Card interfaces by row, with the file each stood for: a row now holding another file
    // gets a new card.
    struct Card {
        QAccessible::Id id;
        QString path;
    };
    mutable QHash<int, Card> m_cards;
};
