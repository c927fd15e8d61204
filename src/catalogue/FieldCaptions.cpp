#include "FieldCaptions.h"

#include "datastore/FieldNames.h"

namespace FieldCaptions {

const QStringList& defaultBookFieldCaptions()
{
    static const QStringList captions = [] {
        QStringList c{
            "Nr.",      "Verfasser", "Titel", "Verlag", "Erscheinungsjahr", "Erscheinungsort", "Auflage", "Sachgruppe",
            "Signatur", "Standort",  "ISBN",  "Preis",  "Bemerkungen"};
        for (int i = 1; i <= 10; ++i)
            c << QStringLiteral("Schlagwort %1").arg(i);
        return c;
    }();
    return captions;
}

QStringList& bookFieldCaptions()
{
    static QStringList captions = defaultBookFieldCaptions();
    return captions;
}

const QStringList& bookColumnFields()
{
    static const QStringList fields = [] {
        using namespace Field;
        QStringList f{Nummer,   Verfasser, Titel, Verlag, Erscheinungsjahr, Erscheinungsort, Auflage, Sachgruppe,
                      Signatur, Standort,  ISBN,  Preis,  Bemerkung};
        for (int i = 1; i <= KeywordCount; ++i)
            f << Field::schlagwort(i);
        return f;
    }();
    return fields;
}

const QList<int>& bookColumnDesignWidths()
{
    static const QList<int> widths = [] {
        QList<int> w{29, 75, 66, 55, 30, 43, 32, 45, 26, 33, 28, 29, 38};
        for (int i = 0; i < 10; ++i)
            w << 50;
        return w;
    }();
    return widths;
}

const QStringList& loanFieldCaptions()
{
    static const QStringList c{"Buch-Nr.", "Verfasser",   "Titel",       "Leser-Nr.",    "Vorname",
                               "Nachname", "Datum (Von)", "Datum (Bis)", "Soll-Rückgabe"};
    return c;
}

const QStringList& readerFieldCaptions()
{
    static const QStringList c{"Nr.", "Vorname", "Nachname", "Straße",    "PLZ",
                               "Ort", "Telefon", "eMail",    "Sonstiges", "Bemerkung"};
    return c;
}

const QStringList& loanColumnFields()
{
    using namespace Field;
    static const QStringList f{BuchNummer,    BuchVerfasser, BuchTitel, LeserNummer, LeserVorname,
                               LeserNachname, DatumVon,      DatumBis,  DatumBisSoll};
    return f;
}

const QStringList& readerColumnFields()
{
    using namespace Field;
    static const QStringList f{Nummer, Vorname, Nachname, Strasse, PLZ, Ort, Telefon, EMail, Sonstiges1, Bemerkung};
    return f;
}

QStringList splitLines(const QString& text)
{
    if (text.isEmpty())
        return {};
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = t.split(u'\n');
    if (t.endsWith(u'\n'))
        lines.removeLast(); // the last line is ended too
    return lines;
}

QString joinLines(const QStringList& lines)
{
    QString text;
    for (const QString& l : lines)
        text += l + QStringLiteral("\r\n");
    return text;
}

void applyStoredCaptions(const QString& stored)
{
    // caption index <- line of the stored text (0-based)
    static const int lineFor[13] = {-1, 0, 1, 2, 9, 3, 4, 5, 7, 8, 6, -1, 10};
    const QStringList lines = splitLines(stored);
    QStringList& captions = bookFieldCaptions();
    for (int k = 0; k < 13; ++k) {
        const int line = lineFor[k];
        if (line < 0)
            continue;
        captions[k] = line < lines.size() ? lines.at(line) : defaultBookFieldCaptions().at(k);
    }
}

} // namespace FieldCaptions
