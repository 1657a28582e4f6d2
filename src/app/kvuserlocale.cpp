#include "app/kvuserlocale.h"

#include <QLocale>

void KvChooseUserLocale()
{
    // Without a language set (LANG=C or C.UTF-8, common on minimal systems) Qt would show
    // dates as "10 Dec 2026" beside German texts.
    if (QLocale::system().language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}
