#pragma once

#include "DebloatGroups.h"

#include "core/ListModelAdapter.h"
#include "core/Observable.h"
#include "core/PublishedList.h"

// What the Debloat screen keeps across rebuilds: its lines (category headings and candidates),
// the list model over them, and whether the risk legend is shown.
class DebloatState : public Observable {
    Q_OBJECT
public:
    explicit DebloatState(QObject *parent = nullptr);

    PublishedList<DebloatEntry> entries{this};
    Published<bool> showLegend{this, true};

    ListModelAdapter<DebloatEntry> *listModel() const { return m_listModel; }

    // Shows `next`. When it holds the same lines in the same order (a selection toggle), only
    // the lines that look different are edited, so the view keeps its place; anything else is
    // one reset.
    void show(QList<DebloatEntry> next);
    // The line of a candidate, or -1.
    int rowOf(const QString &packageName) const;

    // What assistive technology reads for a line.
    static QString accessibilityLabel(const DebloatEntry &entry);

private:
    ListModelAdapter<DebloatEntry> *m_listModel;
};
