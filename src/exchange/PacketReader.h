#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

// Reads the data packets in which the previous version of the program kept its files (the book
// file "buecher30.t04"). The whole packet is parsed at construction; afterwards columns are found
// by name, so their order in a file does not matter.
//
// Layout (all integers little-endian, every length checked against the bytes at hand):
//
//   Fixed header, 24 bytes:
//     0  4  signature 96 19 E0 BD
//     4  4  int32 1
//     8  4  int32 length of this fixed header, 24
//    12  2  uint16 number of columns
//    14  4  int32 number of records
//    18  4  int32 3
//    22  2  uint16 length of the whole header = offset of the first record
//
//   Column descriptor, one per column:
//     uint8 name length n (> 0), n bytes name
//     uint16 value length: byte size of a fixed-size value; for text the size of the length
//            prefix in front of each value (1 or 2)
//     uint16 type: 1 int32 (4 bytes), 3 truth value (2 bytes, non-zero is true),
//                  4 IEEE double (8 bytes), 0x49 Windows-1252 text of varying length
//     uint16 attributes, 0
//     uint16 property count, then the properties
//
//   Property: uint8 name length, name, uint16 value length, uint16 type, value. A value of type
//   0x49 is a length prefix of "value length" bytes and that many bytes; every other type is
//   "value length" bytes. Column properties understood: "WIDTH" (type 2, uint16, a text's width
//   in characters) and "SUBTYPE" "Money" on a double (a currency column). After the last column
//   comes a uint16 count of table properties; they are read and passed over, since nothing in
//   them changes how the records are laid out.
//
//   Records, from the header length on, as many as the fixed header says:
//     uint8 status: 4 is a stored record; a record with bit 0x01 (the original of a changed
//           record) or 0x02 (a deleted record) set is a leftover of a change log and is skipped
//     flag bytes, two bits per column, four columns to a byte from the lowest bits (column i:
//           byte i / 4, bits 2 * (i % 4)); a non-zero pair means that no value follows for that
//           column (1 = NULL)
//     the present values in column order; a text is its length prefix and that many bytes
//   The packet ends with the last record.
//
// Everything else (another signature or constant in the header, another type, attribute,
// property or status, a length outside the bytes) is refused with a German message in a
// DataError; nothing is guessed.
class PacketReader
{
public:
    enum class Type { Integer, Boolean, Float, Text };

    struct Column
    {
        QString name;
        Type type = Type::Integer;
        int prefixSize = 0; // text: bytes of each value's length prefix
        int width = 0;      // text: the WIDTH property, 0 when absent
        bool money = false; // double with SUBTYPE "Money"
    };

    // Parses a whole packet; throws DataError.
    explicit PacketReader(const QByteArray& packet);
    // Reads and parses a file; throws DataError ("Datei … kann nicht geöffnet werden. …").
    static PacketReader fromFile(const QString& fileName);

    const QList<Column>& columns() const { return m_columns; }
    // Letter case is ignored, as names of fields are; -1 when the packet has no such column.
    int columnIndex(const QString& name) const;

    // The records kept, in file order (change-log leftovers are not among them).
    int recordCount() const { return int(m_records.size()); }
    int skippedRecords() const { return m_skipped; }
    // A null QVariant when the value is absent; otherwise int, bool, double or QString.
    QVariant value(int record, int column) const { return m_records.at(record).at(column); }

private:
    QList<Column> m_columns;
    QList<QVariantList> m_records;
    int m_skipped = 0;
};
