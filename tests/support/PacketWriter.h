#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariantMap>

// Writes data packets in the previous version's file format (the book file "buecher30.t04"):
// the fixed header, column descriptors with WIDTH and SUBTYPE properties, no table properties,
// and records with status byte, two-bit null flags and the present values.
class PacketWriter
{
public:
    enum Type : quint16 { Integer = 1, Boolean = 3, Float = 4, Text = 0x49 };

    struct Column
    {
        QString name;
        quint16 type = Integer;
        quint16 valueLength = 4; // fixed size in bytes; for text the size of the length prefix
        int width = 0;           // text: written as the WIDTH property
        bool money = false;      // written as SUBTYPE "Money"
        quint16 attributes = 0;
    };

    // Offsets in the fixed header, for tests that damage a packet on purpose.
    static constexpr int ColumnCountOffset = 12;
    static constexpr int RecordCountOffset = 14;
    static constexpr int HeaderLengthOffset = 22;

    void addColumn(const Column& column) { m_columns.append(column); }
    void addInteger(const QString& name) { addColumn({name, Integer, 4}); }
    void addBoolean(const QString& name) { addColumn({name, Boolean, 2}); }
    void addCurrency(const QString& name) { addColumn({name, Float, 8, 0, true}); }
    // Widths above 255 take a 2-byte length prefix.
    void addText(const QString& name, int width) { addColumn({name, Text, quint16(width > 255 ? 2 : 1), width}); }

    // The 24 columns of a book file, in the previous version's order.
    static PacketWriter bookFile();

    QList<Column>& columns() { return m_columns; }

    // Values by column name: int, bool, double, QString (written in Windows-1252) or QByteArray
    // (written as it is). A missing name or a null value is written as absent (flag pair 1).
    void addRecord(const QVariantMap& values, quint8 status = 4);

    QByteArray bytes() const;
    int headerLength() const;
    // Throws std::runtime_error when the file cannot be written.
    void write(const QString& fileName) const;

private:
    QByteArray header() const;

    QList<Column> m_columns;
    struct Record
    {
        QVariantMap values;
        quint8 status;
    };
    QList<Record> m_records;
};
