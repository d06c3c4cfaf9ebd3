#pragma once

#include "Tokens.h"

#include <QList>
#include <QWidget>

// Controls that belong together, side by side and centred on one line, as one item: in a
// FlowLayout they go down to the next line together, so a button never wraps without its
// partner. A hidden control takes neither place nor spacing; room left over stays at the end.
class RowBox : public QWidget {
    Q_OBJECT
public:
    explicit RowBox(const QList<QWidget *> &items, QWidget *parent = nullptr, qreal spacing = Space::s);
};
