#include "Schema.h"

#include <QStringList>

const ColumnDef* TableDef::column(const QString& name) const
{
    for (const ColumnDef& c : columns)
        if (c.name == name)
            return &c;
    return nullptr;
}

namespace Schema {

namespace {

QList<ColumnDef> keywordColumns()
{
    QList<ColumnDef> cols;
    for (int i = 1; i <= Field::KeywordCount; ++i)
        cols.append({Field::schlagwort(i), ColumnType::Text, 100});
    return cols;
}

QList<TableDef> buildTables()
{
    using T = ColumnType;
    using namespace Field;
    TableDef buecher{Buecher,
                     {
                         {ID, T::AutoIncrement},
                         {Nummer, T::Integer},
                         {Verfasser, T::Text, 100},
                         {Titel, T::Text, 100},
                         {Verlag, T::Text, 100},
                         {Erscheinungsjahr, T::Text, 100},
                         {Erscheinungsort, T::Text, 100},
                         {Auflage, T::Text, 100},
                         {Sachgruppe, T::Text, 100},
                         {Signatur, T::Text, 100},
                         {Standort, T::Text, 100},
                         {ISBN, T::Text, 100},
                         {Preis, T::Money},
                         {Bemerkung, T::Text, 255},
                         {Ausgeliehen, T::Boolean},
                     }};
    buecher.columns.append(keywordColumns());

    TableDef leser{Leser,
                   {
                       {ID, T::AutoIncrement},
                       {Nummer, T::Integer},
                       {Vorname, T::Text, 100},
                       {Nachname, T::Text, 100},
                       {Strasse, T::Text, 100},
                       {PLZ, T::Text, 100},
                       {Ort, T::Text, 100},
                       {Telefon, T::Text, 100},
                       {EMail, T::Text, 100},
                       {Bemerkung, T::Text, 100},
                       {Sonstiges1, T::Text, 100},
                   }};

    TableDef ausleihe{Ausleihe,
                      {
                          {ID, T::AutoIncrement},
                          {BuecherID, T::Integer},
                          {LeserID, T::Integer},
                          {DatumVon, T::DateTime},
                          {DatumBis, T::DateTime},
                          {Bemerkung, T::Text, 255},
                          {DatumBisSoll, T::DateTime},
                      }};

    TableDef blob{Blob,
                  {
                      {ID, T::Integer},
                      {Schlagwort, T::Memo},
                      {Standort, T::Memo},
                      {Sachgruppe, T::Memo},
                      {Verlag, T::Memo},
                      {Erscheinungsort, T::Memo},
                      {FeldnamenBuecher, T::Memo},
                  }};
    return {buecher, leser, ausleihe, blob};
}

} // namespace

const QList<TableDef>& tables()
{
    static const QList<TableDef> all = buildTables();
    return all;
}

const TableDef& table(const QString& name)
{
    for (const TableDef& t : tables())
        if (t.name == name)
            return t;
    Q_ASSERT_X(false, "Schema::table", "unknown table");
    return tables().first();
}

const QList<IndexDef>& indexes()
{
    // Two open loans of one book would leave the book lent after one return, and nobody
    // could tell who has it.
    static const QList<IndexDef> all{
        {QStringLiteral("AusleiheEinOffenesProBuch"), Ausleihe, {Field::BuecherID}, true, Field::DatumBis},
    };
    return all;
}

const QStringList& defaultFieldCaptions()
{
    static const QStringList captions{"Verfasser",  "Titel",    "Verlag",   "Erscheinungsort", "Auflage",
                                      "Sachgruppe", "ISBN",     "Signatur", "Standort",        "Erscheinungsjahr",
                                      "Bemerkung",  "Sonstiges"};
    return captions;
}

} // namespace Schema
