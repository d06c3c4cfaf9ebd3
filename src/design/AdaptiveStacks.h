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

// Stacked: `primary` above `secondary`, leading-aligned; otherwise side by side, top-aligned;
// `spacing` apart either way.
class AdaptiveColumns : public QWidget {
    Q_OBJECT
public:
    AdaptiveColumns(bool isStacked, QWidget *primary, QWidget *secondary, qreal spacing = Space::m,
                    QWidget *parent = nullptr);

    bool isStacked() const { return m_stacked; }
    void setStacked(bool stacked);

private:
    void arrange();

    bool m_stacked;
    qreal m_spacing;
    QWidget *m_primary;
    QWidget *m_secondary;
    QBoxLayout *m_layout;
};
