#include "NameCollation.h"

#include <QLocale>

const QCollator &NameCollation::collator()
{
    thread_local const QCollator c = [] {
        QCollator made{QLocale(QLocale::Russian, QLocale::Russia)};
        made.setCaseSensitivity(Qt::CaseInsensitive);
        made.setNumericMode(false);
        return made;
    }();
    return c;
}

int NameCollation::compare(const QString &a, const QString &b) { return collator().compare(a, b); }
