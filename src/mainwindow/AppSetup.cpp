#include "AppSetup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace AppSetup {

void configure(QApplication& app)
{
    QCoreApplication::setOrganizationName(QStringLiteral("Brindle Software"));
    QCoreApplication::setApplicationName(QStringLiteral("Tomaris"));
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Brindle Software - Tomaris 2004 Net"));
    // German dates and numbers, "€" as the currency sign, whatever the machine says.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    // Standard buttons ("Ja", "Nein", "Abbrechen") in German.
    auto* qtbase = new QTranslator(&app);
    if (qtbase->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qtbase);
}

} // namespace AppSetup
