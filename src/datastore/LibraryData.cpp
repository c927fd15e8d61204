#include "LibraryData.h"

#include "DataError.h"
#include "Settings.h"
#include "SqlFailure.h"

namespace {
QVariant idOf(const RecordSet& rs, int row)
{
    return rs.valueAt(row, rs.fieldIndex(Field::ID));
}
} // namespace

LibraryData::LibraryData(QObject* parent)
    : QObject(parent), m_buecher(new RecordSet(QStringLiteral("ClientBuecher"), this)),
      m_leser(new RecordSet(QStringLiteral("ClientLeser"), this)),
      m_ausleihe(new RecordSet(QStringLiteral("ClientAusleihe"), this)),
      m_blob(new RecordSet(QStringLiteral("ClientBlob"), this))
{
    // The stored column "Nummer" is never written; the number users see is the ID.
    m_buecher->setTable(Schema::Buecher, {Field::Nummer});
    m_buecher->addCalculatedField(Field::Nummer, ColumnType::Integer, idOf);
    m_leser->setTable(Schema::Leser, {Field::Nummer});
    m_leser->addCalculatedField(Field::Nummer, ColumnType::Integer, idOf);

    m_ausleihe->setTable(Schema::Ausleihe);
    const auto bookField = [this](const char* name, ColumnType type, const char* result) {
        m_ausleihe->addLookupField(QString::fromLatin1(name), type, 100, Field::BuecherID, m_buecher,
                                   QString::fromLatin1(result));
    };
    const auto readerField = [this](const char* name, ColumnType type, const char* result) {
        m_ausleihe->addLookupField(QString::fromLatin1(name), type, 100, Field::LeserID, m_leser,
                                   QString::fromLatin1(result));
    };
    bookField("BuchNummer", ColumnType::Integer, "Nummer");
    bookField("BuchTitel", ColumnType::Text, "Titel");
    bookField("BuchVerfasser", ColumnType::Text, "Verfasser");
    readerField("LeserNummer", ColumnType::Integer, "Nummer");
    readerField("LeserVorname", ColumnType::Text, "Vorname");
    readerField("LeserNachname", ColumnType::Text, "Nachname");

    m_blob->setTable(Schema::Blob);

    for (RecordSet* rs : {m_buecher, m_leser, m_ausleihe, m_blob})
        rs->setDatabase(&m_db);
}

LibraryData::~LibraryData()
{
    closeAll();
}

bool LibraryData::isOpen() const
{
    return m_db.isOpen() && m_buecher->active() && m_leser->active() && m_ausleihe->active() && m_blob->active();
}

void LibraryData::closeAll()
{
    for (RecordSet* rs : {m_leser, m_buecher, m_ausleihe, m_blob})
        rs->close();
}

bool LibraryData::openAtStart(const QString& directory)
{
    if (directory.isEmpty())
        return false;
    try {
        m_db.open(directory);
        for (RecordSet* rs : {m_buecher, m_ausleihe, m_leser, m_blob})
            rs->open();
        return true;
    } catch (const DataError&) {
        // Nothing half-read stays open: an edit must not go into a file that could not be read.
        closeAll();
        m_db.close();
        return false;
    }
}

void LibraryData::createDatabase(const QString& directory, const std::function<void()>& afterConnect)
{
    // The file is built whole (tables, the Blob row with ID 1 and the default captions) before
    // anything is closed; an existing database is never overwritten.
    m_db.engine().createDatabase(directory);
    m_db.open(directory);
    closeAll();
    Settings::WriteSettingString(SettingName::DBPfad, directory);
    m_blob->open();
    if (afterConnect)
        afterConnect();
    Settings::WriteSettingString(SettingName::SortLeser, Field::ID);
    Settings::WriteSettingString(SettingName::SortBuecher, Field::ID);
    for (RecordSet* rs : {m_buecher, m_leser, m_ausleihe})
        rs->open();
}

void LibraryData::openDatabase(const QString& directory, const std::function<void()>& afterConnect)
{
    // Everything is read through a connection of its own first; only when all of it could be
    // read does it replace the former database. A damaged file thus leaves the program where it was.
    Database incoming;
    incoming.open(directory); // checks the file
    QList<RecordSet::Rows> rows;
    const QList<RecordSet*> sets{m_buecher, m_leser, m_ausleihe, m_blob};
    try {
        for (RecordSet* rs : sets)
            rows.append(rs->readRows(incoming));
    } catch (const DataError& e) {
        throw DataError(tr("Die Datenbank im Verzeichnis %1 ist beschädigt und wurde nicht geöffnet; die bisherige "
                           "Datenbank bleibt geöffnet.\nBitte spielen Sie eine Sicherung zurück.")
                            .arg(SqlFailure::shortened(directory)),
                        e.details().isEmpty() ? e.message() : e.details(), DataError::Kind::Damaged);
    }
    closeAll();
    m_db.takeOver(incoming);
    for (int i = 0; i < sets.size(); ++i)
        sets.at(i)->openWith(std::move(rows[i]));
    Settings::WriteSettingString(SettingName::DBPfad, directory);
    if (afterConnect)
        afterConnect();
    Settings::WriteSettingString(SettingName::SortLeser, Field::ID);
    Settings::WriteSettingString(SettingName::SortBuecher, Field::ID);
}
