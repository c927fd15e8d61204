#include "ExportColumns.h"

#include "datastore/FieldNames.h"

namespace ExportColumns {

namespace {

struct Row
{
    const char* checkBoxName;
    const char* checkBoxText;
    QString field;
    int captionIndex;
};

QList<ExportColumn> build(const QList<Row>& rows, const QStringList& captions)
{
    QList<ExportColumn> columns;
    columns.reserve(rows.size());
    for (const Row& r : rows)
        columns.append({QString::fromUtf8(r.checkBoxName), QString::fromUtf8(r.checkBoxText), r.field,
                        captions.value(r.captionIndex)});
    return columns;
}

} // namespace

QList<ExportColumn> books(const QStringList& bookCaptions)
{
    // The number users see is the ID; the stored column "Nummer" is never written.
    QList<Row> rows{
        {"CBNummer", "Nummer", Field::ID, 0},
        {"CBVerfasser", "Verfasser", Field::Verfasser, 1},
        {"CBTitel", "Titel", Field::Titel, 2},
        {"CBVerlag", "Verlag", Field::Verlag, 3},
        {"CBErscheinungsjahr", "Erscheinungsjahr", Field::Erscheinungsjahr, 4},
        {"CBErscheinungsort", "Erscheinungsort", Field::Erscheinungsort, 5},
        {"CBAuflage", "Auflage", Field::Auflage, 6},
        {"CBSachgruppe", "Sachgruppe", Field::Sachgruppe, 7},
        {"CBSignatur", "Signatur", Field::Signatur, 8},
        {"CBStandort", "Standort", Field::Standort, 9},
        {"CBISBN", "ISBN", Field::ISBN, 10},
        {"CBPreis", "Preis", Field::Preis, 11},
        {"CBBemerkungen", "Bemerkungen", Field::Bemerkung, 12},
    };
    QList<ExportColumn> columns = build(rows, bookCaptions);
    for (int i = 1; i <= Field::KeywordCount; ++i)
        columns.append({QStringLiteral("CBS%1").arg(i), QStringLiteral("Schlagwort %1").arg(i), Field::schlagwort(i),
                        bookCaptions.value(12 + i)});
    return columns;
}

QList<ExportColumn> readers(const QStringList& readerCaptions)
{
    return build(
        {
            {"CBNummer", "Nummer", Field::ID, 0},
            {"CBVorname", "Vorname", Field::Vorname, 1},
            {"CBNachname", "Nachname", Field::Nachname, 2},
            {"CBStrasse", "Straße", Field::Strasse, 3},
            {"CBPLZ", "PLZ", Field::PLZ, 4},
            {"CBOrt", "Ort", Field::Ort, 5},
            {"CBTelefon", "Telefon", Field::Telefon, 6},
            {"CBemail", "eMail", Field::EMail, 7},
            {"CBBemerkung", "Bemerkungen", Field::Bemerkung, 9},
            {"CBSonstiges", "Sonstiges", Field::Sonstiges1, 8},
        },
        readerCaptions);
}

} // namespace ExportColumns
