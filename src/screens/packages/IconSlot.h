#pragma once

#include <QSpacerItem>

// The place a row keeps for an icon its owner paints. A box layout leaves the spacing out
// beside an empty item, and a spacer is one; this slot is not, so the row's spacing stands
// between the icon and what follows it.
class IconSlot : public QSpacerItem {
public:
    explicit IconSlot(int side);

    bool isEmpty() const override;
};
