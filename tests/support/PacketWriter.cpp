#include "PacketWriter.h"

#include "common/Cp1252.h"

#include <QFile>
#include <QtEndian>

#include <cstring>
#include <stdexcept>

namespace {

void put8(QByteArray& out, quint8 v)
{
    out.append(char(v));
}

void put16(QByteArray& out, quint16 v)
{
    char b[2];
    qToLittleEndian(v, b);
    out.append(b, 2);
}

void put32(QByteArray& out, qint32 v)
{
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
}

void putName(QByteArray& out, const QString& name)
{
    const QByteArray bytes = Cp1252::encode(name);
    put8(out, quint8(bytes.size()));
    out.append(bytes);
}

// A length prefix of the given size and the bytes.
void putPrefixed(QByteArray& out, int prefixSize, const QByteArray& bytes)
{
    if (prefixSize == 1)
        put8(out, quint8(bytes.size()));
    else
        put16(out, quint16(bytes.size()));
    out.append(bytes);
}

} // namespace

PacketWriter PacketWriter::bookFile()
{
    PacketWriter w;
    w.addInteger("ID");
    w.addText("Verfasser", 100);
    w.addText("Titel", 100);
    w.addText("Verlag", 100);
    w.addText("Erscheinungsort", 50);
    w.addText("Auflage", 50);
    w.addText("Sachgruppe", 100);
    w.addText("Signatur", 50);
    w.addText("Standort", 100);
    w.addText("ISBN", 25);
    for (int i = 1; i <= 10; ++i)
        w.addText(QStringLiteral("Schlagwort%1").arg(i), 100);
    w.addCurrency("Preis");
    w.addText("Bemerkung", 1500);
    w.addText("Erscheinungsjahr", 100);
    w.addBoolean("ausgeliehen");
    return w;
}

void PacketWriter::addRecord(const QVariantMap& values, quint8 status)
{
    m_records.append({values, status});
}

QByteArray PacketWriter::header() const
{
    QByteArray out;
    for (const Column& c : m_columns) {
        putName(out, c.name);
        put16(out, c.valueLength);
        put16(out, c.type);
        put16(out, c.attributes);
        put16(out, quint16((c.width > 0 ? 1 : 0) + (c.money ? 1 : 0)));
        if (c.width > 0) {
            putName(out, QStringLiteral("WIDTH"));
            put16(out, 2);
            put16(out, 2);
            put16(out, quint16(c.width));
        }
        if (c.money) {
            putName(out, QStringLiteral("SUBTYPE"));
            put16(out, 2);
            put16(out, Text);
            putPrefixed(out, 2, QByteArray("Money", 6)); // with its terminating zero
        }
    }
    put16(out, 0); // no table properties
    return out;
}

int PacketWriter::headerLength() const
{
    return 24 + int(header().size());
}

QByteArray PacketWriter::bytes() const
{
    const QByteArray descriptors = header();
    QByteArray out;
    out.append("\x96\x19\xE0\xBD", 4);
    put32(out, 1);
    put32(out, 24);
    put16(out, quint16(m_columns.size()));
    put32(out, qint32(m_records.size()));
    put32(out, 3);
    put16(out, quint16(24 + descriptors.size()));
    out.append(descriptors);

    const int flagBytes = (int(m_columns.size()) + 3) / 4;
    for (const Record& r : m_records) {
        put8(out, r.status);
        QByteArray flags(flagBytes, '\0');
        QByteArray values;
        for (int i = 0; i < m_columns.size(); ++i) {
            const Column& c = m_columns.at(i);
            const QVariant v = r.values.value(c.name);
            if (v.isNull()) {
                flags[i / 4] = char(flags.at(i / 4) | (1 << (2 * (i % 4))));
                continue;
            }
            switch (c.type) {
            case Integer:
                put32(values, v.toInt());
                break;
            case Boolean:
                put16(values, v.toBool() ? 1 : 0);
                break;
            case Float: {
                const double d = v.toDouble();
                quint64 bits;
                std::memcpy(&bits, &d, sizeof bits);
                char b[8];
                qToLittleEndian(bits, b);
                values.append(b, 8);
                break;
            }
            default:
                putPrefixed(values, c.valueLength,
                            v.typeId() == QMetaType::QByteArray ? v.toByteArray() : Cp1252::encode(v.toString()));
            }
        }
        out.append(flags);
        out.append(values);
    }
    return out;
}

void PacketWriter::write(const QString& fileName) const
{
    QFile f(fileName);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes()) < 0)
        throw std::runtime_error("cannot write packet file");
}
