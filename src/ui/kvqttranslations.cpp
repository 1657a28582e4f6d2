#include "ui/kvqttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
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
