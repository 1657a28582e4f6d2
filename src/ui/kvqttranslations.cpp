#include "ui/kvqttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool KvInstallQtTranslations(QCoreApplication& app)
{
    auto* qt = new QTranslator(&app);
    if (!qt->load(u"qtbase_de"_qs, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qt;
        return false;
    }
    QCoreApplication::installTranslator(qt);
    return true;
}

void KvChooseUserLocale()
{
    // Without a language set (LANG=C or C.UTF-8, common on minimal systems) Qt would show
    // dates as "10 Dec 2026" in an otherwise German window; German forms fit the texts.
    if (QLocale::system().language() == QLocale::C)
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
}
