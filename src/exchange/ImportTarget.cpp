#include "ImportTarget.h"

const QList<ImportTarget>& ImportTarget::rows(Kind kind)
{
    static const QList<ImportTarget> books = [] {
        QList<ImportTarget> r{
            {QStringLiteral("Verfasser"), QStringLiteral("Verfasser")},
            {QStringLiteral("Titel"), QStringLiteral("Titel")},
            {QStringLiteral("Verlag"), QStringLiteral("Verlag")},
            {QStringLiteral("Erscheinungsjahr"), QStringLiteral("Erscheinungsjahr")},
            {QStringLiteral("Erscheinungsort"), QStringLiteral("Erscheinungsort")},
            {QStringLiteral("Auflage"), QStringLiteral("Auflage")},
            {QStringLiteral("Sachgruppe"), QStringLiteral("Sachgruppe")},
            {QStringLiteral("ISBN"), QStringLiteral("ISBN")},
            {QStringLiteral("Signatur"), QStringLiteral("Signatur")},
            {QStringLiteral("Standort"), QStringLiteral("Standort")},
            {QStringLiteral("Schlagworte"), QString()},
            {QStringLiteral("Preis"), QStringLiteral("Preis")},
            {QStringLiteral("Bemerkung"), QStringLiteral("Bemerkung")},
        };
        for (int i = 1; i <= 10; ++i)
            r.append({QStringLiteral("Schlagwort %1").arg(i), QStringLiteral("Schlagwort%1").arg(i)});
        return r;
    }();
    static const QList<ImportTarget> readers{
        {QStringLiteral("Nr."), QString()},
        {QStringLiteral("Vorname"), QStringLiteral("Vorname")},
        {QStringLiteral("Nachname"), QStringLiteral("Nachname")},
        {QStringLiteral("Straße"), QStringLiteral("Straße")},
        {QStringLiteral("PLZ"), QStringLiteral("PLZ")},
        {QStringLiteral("Ort"), QStringLiteral("Ort")},
        {QStringLiteral("Telefon"), QStringLiteral("Telefon")},
        {QStringLiteral("eMail"), QStringLiteral("eMail")},
        {QStringLiteral("Sonstiges"), QStringLiteral("Sonstiges1")},
        {QStringLiteral("Bemerkung"), QStringLiteral("Bemerkung")},
    };
    return kind == Kind::Books ? books : readers;
}
