#pragma once

#include "Tokens.h"

#include <QBoxLayout>
#include <QWidget>

// Two views side by side or stacked, by a flag the screen derives from the width class.
// Compact: `object` above `detail`, leading-aligned, 16 px apart. Otherwise: `object` left of
// `detail`, centred vertically, 30 px apart. Adds no frames or padding of its own.
class AdaptiveHeroStack : public QWidget {
    Q_OBJECT
public:
    AdaptiveHeroStack(bool isCompact, QWidget *object, QWidget *detail, QWidget *parent = nullptr);

    bool isCompact() const { return m_compact; }
    void setCompact(bool compact);

private:
    void arrange();

    bool m_compact;
    QWidget *m_object;
    QWidget *m_detail;
    QBoxLayout *m_layout;
};

// Stacked: `primary` above `secondary`, leading-aligned; otherwise side by side with equal
// widths, top-aligned; `spacing` apart either way.
//
// Columns whose panels draw their shadows outside their shapes name that reach as outsets (each
// column then holds its shapes inset by them): the spacing then applies to the shapes, so side
// by side the columns overlap by the left and right outsets, and stacked the second column
// starts `spacing` below the first one's last shape.
class AdaptiveColumns : public QWidget {
    Q_OBJECT
public:
    AdaptiveColumns(bool isStacked, QWidget *primary, QWidget *secondary, qreal spacing = Space::m,
                    QWidget *parent = nullptr);

    bool isStacked() const { return m_stacked; }
    void setStacked(bool stacked);
    void setItemOutsets(const QMargins &outsets);
    QMargins itemOutsets() const { return m_outsets; }

private:
    class Arrangement;

    bool m_stacked;
    qreal m_spacing;
    QMargins m_outsets;
    QWidget *m_primary;
    QWidget *m_secondary;
    Arrangement *m_layout;
};
