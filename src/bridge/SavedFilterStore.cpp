#include "SavedFilterStore.h"

#include <QSettings>

SavedFilterStore::SavedFilterStore(QSettings *settings) : m_settings(settings)
{
    m_filters = SavedFilter::decodeList(m_settings->value(key).toByteArray(), &m_skipped);
}

void SavedFilterStore::setFilters(const QList<SavedFilter> &filters)
{
    if (filters == m_filters)
        return;
    m_filters = filters;
    m_settings->setValue(key, SavedFilter::encodeList(m_filters));
    m_settings->sync();
    m_skipped = 0;
}
