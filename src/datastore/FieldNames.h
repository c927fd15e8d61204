#pragma once

#include <QString>

// Names of the tables' columns and of the computed and looked-up fields, written once. They stay
// German: stored files, filters and the settings use them.
namespace Field {

inline const QString ID = QStringLiteral("ID");
inline const QString Nummer = QStringLiteral("Nummer"); // computed: equal to ID
inline const QString Bemerkung = QStringLiteral("Bemerkung");

// Buecher
inline const QString Verfasser = QStringLiteral("Verfasser");
inline const QString Titel = QStringLiteral("Titel");
inline const QString Verlag = QStringLiteral("Verlag");
inline const QString Erscheinungsjahr = QStringLiteral("Erscheinungsjahr");
inline const QString Erscheinungsort = QStringLiteral("Erscheinungsort");
inline const QString Auflage = QStringLiteral("Auflage");
inline const QString Sachgruppe = QStringLiteral("Sachgruppe");
inline const QString Signatur = QStringLiteral("Signatur");
inline const QString Standort = QStringLiteral("Standort");
inline const QString ISBN = QStringLiteral("ISBN");
inline const QString Preis = QStringLiteral("Preis");
inline const QString Ausgeliehen = QStringLiteral("ausgeliehen");
inline constexpr int KeywordCount = 10;
// "Schlagwort1" ... "Schlagwort10"
inline QString schlagwort(int number)
{
    return QStringLiteral("Schlagwort%1").arg(number);
}

// Leser
inline const QString Vorname = QStringLiteral("Vorname");
inline const QString Nachname = QStringLiteral("Nachname");
inline const QString Strasse = QStringLiteral("Straße");
inline const QString PLZ = QStringLiteral("PLZ");
inline const QString Ort = QStringLiteral("Ort");
inline const QString Telefon = QStringLiteral("Telefon");
inline const QString EMail = QStringLiteral("eMail");
inline const QString Sonstiges1 = QStringLiteral("Sonstiges1");

// Ausleihe, with the fields looked up from the book and the reader
inline const QString BuecherID = QStringLiteral("BuecherID");
inline const QString LeserID = QStringLiteral("LeserID");
inline const QString DatumVon = QStringLiteral("DatumVon");
inline const QString DatumBis = QStringLiteral("DatumBis");
inline const QString DatumBisSoll = QStringLiteral("DatumBisSoll");
inline const QString BuchNummer = QStringLiteral("BuchNummer");
inline const QString BuchVerfasser = QStringLiteral("BuchVerfasser");
inline const QString BuchTitel = QStringLiteral("BuchTitel");
inline const QString LeserNummer = QStringLiteral("LeserNummer");
inline const QString LeserVorname = QStringLiteral("LeserVorname");
inline const QString LeserNachname = QStringLiteral("LeserNachname");

// Blob: the stored value lists (Schlagwort, Standort, Erscheinungsort, Sachgruppe, Verlag share
// the book fields' names) and the captions
inline const QString Schlagwort = QStringLiteral("Schlagwort");
inline const QString FeldnamenBuecher = QStringLiteral("FeldnamenBuecher");

} // namespace Field
