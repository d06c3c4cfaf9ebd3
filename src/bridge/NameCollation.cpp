#include "NameCollation.h"

#include <QLocale>

const QCollator &nameCollator()
{
    thread_local const QCollator collator = [] {
        QCollator c{QLocale(QLocale::Russian, QLocale::Russia)};
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}
