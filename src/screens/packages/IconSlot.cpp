#include "IconSlot.h"

IconSlot::IconSlot(int side) : QSpacerItem(side, side, QSizePolicy::Fixed, QSizePolicy::Fixed) {}

bool IconSlot::isEmpty() const { return false; }
