#pragma once

#include "SavedFilter.h"

class QSettings;

// The saved filters under "deck.savedFilters". Reading never writes: a list that lost
// malformed elements on the way in is written back only when the user changes it.
class SavedFilterStore {
public:
    static inline const QString key = QStringLiteral("deck.savedFilters");

    explicit SavedFilterStore(QSettings *settings);

    const QList<SavedFilter> &filters() const { return m_filters; }
    // How many stored elements could not be read.
    int skippedCount() const { return m_skipped; }
    // Stores the user's new list; an unchanged list writes nothing.
    void setFilters(const QList<SavedFilter> &filters);

private:
    QSettings *m_settings;
    QList<SavedFilter> m_filters;
    int m_skipped = 0;
};
