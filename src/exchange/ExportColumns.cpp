#include "ExportColumns.h"

namespace ExportColumns {

namespace {

struct Row
{
    const char* checkBoxName;
    const char* checkBoxText;
    const char* field;
    int captionIndex;
};

QList<ExportColumn> build(const QList<Row>& rows, const QStringList& captions)
{
    QList<ExportColumn> columns;
    columns.reserve(rows.size());
    for (const Row& r : rows)
        columns.append({QString::fromUtf8(r.checkBoxName), QString::fromUtf8(r.checkBoxText),
                        QString::fromUtf8(r.field), captions.value(r.captionIndex)});
    return columns;
}

} // namespace

QList<ExportColumn> books(const QStringList& bookCaptions)
{
    // The number users see is the ID; the stored column "Nummer" is never written.
    QList<Row> rows{
        {"CBNummer", "Nummer", "ID", 0},
        {"CBVerfasser", "Verfasser", "Verfasser", 1},
        {"CBTitel", "Titel", "Titel", 2},
        {"CBVerlag", "Verlag", "Verlag", 3},
        {"CBErscheinungsjahr", "Erscheinungsjahr", "Erscheinungsjahr", 4},
        {"CBErscheinungsort", "Erscheinungsort", "Erscheinungsort", 5},
        {"CBAuflage", "Auflage", "Auflage", 6},
        {"CBSachgruppe", "Sachgruppe", "Sachgruppe", 7},
        {"CBSignatur", "Signatur", "Signatur", 8},
        {"CBStandort", "Standort", "Standort", 9},
        {"CBISBN", "ISBN", "ISBN", 10},
        {"CBPreis", "Preis", "Preis", 11},
        {"CBBemerkungen", "Bemerkungen", "Bemerkung", 12},
    };
    QList<ExportColumn> columns = build(rows, bookCaptions);
    for (int i = 1; i <= 10; ++i)
        columns.append({QStringLiteral("CBS%1").arg(i), QStringLiteral("Schlagwort %1").arg(i),
                        QStringLiteral("Schlagwort%1").arg(i), bookCaptions.value(12 + i)});
    return columns;
}

QList<ExportColumn> readers(const QStringList& readerCaptions)
{
    return build(
        {
            {"CBNummer", "Nummer", "ID", 0},
            {"CBVorname", "Vorname", "Vorname", 1},
            {"CBNachname", "Nachname", "Nachname", 2},
            {"CBStrasse", "Straße", "Straße", 3},
            {"CBPLZ", "PLZ", "PLZ", 4},
            {"CBOrt", "Ort", "Ort", 5},
            {"CBTelefon", "Telefon", "Telefon", 6},
            {"CBemail", "eMail", "eMail", 7},
            {"CBBemerkung", "Bemerkungen", "Bemerkung", 9},
            {"CBSonstiges", "Sonstiges", "Sonstiges1", 8},
        },
        readerCaptions);
}

} // namespace ExportColumns
