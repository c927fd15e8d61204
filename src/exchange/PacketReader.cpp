#include "PacketReader.h"

#include "common/Cp1252.h"
#include "datastore/DataError.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QtEndian>

#include <cstring>

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("PacketReader", text);
}

constexpr unsigned char Signature[4] = {0x96, 0x19, 0xE0, 0xBD};
constexpr int FixedHeaderSize = 24;

constexpr quint16 TypeInteger = 1;
constexpr quint16 TypeUnsigned = 2;
constexpr quint16 TypeBoolean = 3;
constexpr quint16 TypeFloat = 4;
constexpr quint16 TypeText = 0x49;

constexpr quint8 StatusStored = 4;
constexpr quint8 StatusChangeLog = 0x01 | 0x02;

// Reads forward through [pos, end) of the packet; every read is checked against end.
class Cursor
{
public:
    Cursor(const QByteArray& bytes, qsizetype begin, qsizetype end, QString endName)
        : m_data(reinterpret_cast<const uchar*>(bytes.constData())), m_pos(begin), m_end(end),
          m_endName(std::move(endName))
    {
    }

    qsizetype pos() const { return m_pos; }
    qsizetype remaining() const { return m_end - m_pos; }

    const uchar* take(qsizetype n, const QString& what)
    {
        if (n < 0 || n > m_end - m_pos)
            throw DataError(tr("Das Datenpaket ist unvollständig oder beschädigt: %1 (ab Byte %2) reicht über %3 "
                               "hinaus.")
                                .arg(what, QString::number(m_pos), m_endName));
        const uchar* p = m_data + m_pos;
        m_pos += n;
        return p;
    }
    quint8 u8(const QString& what) { return *take(1, what); }
    quint16 u16(const QString& what) { return qFromLittleEndian<quint16>(take(2, what)); }
    qint32 i32(const QString& what) { return qFromLittleEndian<qint32>(take(4, what)); }
    double f64(const QString& what)
    {
        const quint64 bits = qFromLittleEndian<quint64>(take(8, what));
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }
    QByteArray bytes(qsizetype n, const QString& what)
    {
        const uchar* p = take(n, what);
        return QByteArray(reinterpret_cast<const char*>(p), n);
    }
    // A length prefix of 1 or 2 bytes followed by that many bytes.
    QByteArray prefixed(int prefixSize, const QString& what)
    {
        const qsizetype n = prefixSize == 1 ? u8(what) : u16(what);
        return bytes(n, what);
    }

private:
    const uchar* m_data;
    qsizetype m_pos;
    qsizetype m_end;
    QString m_endName;
};

QString quotedName(const QString& name)
{
    return u'\'' + name + u'\'';
}

struct Property
{
    QString name;
    quint16 type = 0;
    QByteArray value; // a text's bytes without its length prefix
};

Property readProperty(Cursor& in, const QString& owner)
{
    const QString where = tr("eine Eigenschaft von %1").arg(owner);
    Property p;
    p.name = Cp1252::decode(in.bytes(in.u8(where), where));
    const QString what = tr("die Eigenschaft %1 von %2").arg(quotedName(p.name), owner);
    const quint16 length = in.u16(what);
    p.type = in.u16(what);
    switch (p.type) {
    case TypeText:
        if (length != 1 && length != 2)
            throw DataError(tr("Die Eigenschaft %1 von %2 hat eine unbekannte Längenangabe (%3).")
                                .arg(quotedName(p.name), owner, QString::number(length)));
        p.value = in.prefixed(length, what);
        break;
    case TypeInteger:
    case TypeUnsigned:
    case TypeBoolean:
    case TypeFloat:
        p.value = in.bytes(length, what);
        break;
    default:
        throw DataError(tr("Die Eigenschaft %1 von %2 hat einen unbekannten Typ (%3).")
                            .arg(quotedName(p.name), owner, QString::number(p.type)));
    }
    return p;
}

void applyColumnProperty(PacketReader::Column& column, const Property& p)
{
    const QString owner = tr("Feld %1").arg(quotedName(column.name));
    if (p.name == QLatin1String("WIDTH") && p.type == TypeUnsigned && p.value.size() == 2) {
        column.width = qFromLittleEndian<quint16>(p.value.constData());
        return;
    }
    if (p.name == QLatin1String("SUBTYPE") && p.type == TypeText && column.type == PacketReader::Type::Float) {
        QByteArray text = p.value;
        if (text.endsWith('\0'))
            text.chop(1);
        if (text == "Money") {
            column.money = true;
            return;
        }
        throw DataError(tr("Der Untertyp „%1“ von %2 ist unbekannt.").arg(Cp1252::decode(text), owner));
    }
    // Another property might change how values are to be read (a text in another encoding,
    // say); reading on would be a guess.
    throw DataError(tr("Die Eigenschaft %1 von %2 ist unbekannt.").arg(quotedName(p.name), owner));
}

PacketReader::Column readColumn(Cursor& in, int index)
{
    const QString where = tr("der Name von Feld %1").arg(index + 1);
    const quint8 nameLength = in.u8(where);
    if (nameLength == 0)
        throw DataError(tr("Feld %1 des Datenpakets hat keinen Namen.").arg(index + 1));
    PacketReader::Column c;
    c.name = Cp1252::decode(in.bytes(nameLength, where));
    const QString what = tr("die Beschreibung von Feld %1").arg(quotedName(c.name));
    const quint16 length = in.u16(what);
    const quint16 type = in.u16(what);
    const quint16 attributes = in.u16(what);
    const quint16 propertyCount = in.u16(what);

    const auto refuseLength = [&] {
        throw DataError(tr("Feld %1 hat eine unerwartete Wertlänge (%2) für seinen Typ.")
                            .arg(quotedName(c.name), QString::number(length)));
    };
    switch (type) {
    case TypeInteger:
        c.type = PacketReader::Type::Integer;
        if (length != 4)
            refuseLength();
        break;
    case TypeBoolean:
        c.type = PacketReader::Type::Boolean;
        if (length != 2)
            refuseLength();
        break;
    case TypeFloat:
        c.type = PacketReader::Type::Float;
        if (length != 8)
            refuseLength();
        break;
    case TypeText:
        c.type = PacketReader::Type::Text;
        if (length != 1 && length != 2)
            refuseLength();
        c.prefixSize = length;
        break;
    default:
        throw DataError(tr("Feld %1 hat einen unbekannten Typ (%2).").arg(quotedName(c.name), QString::number(type)));
    }
    if (attributes != 0)
        throw DataError(
            tr("Feld %1 hat unbekannte Attribute (%2).").arg(quotedName(c.name), QString::number(attributes)));
    for (int i = 0; i < propertyCount; ++i)
        applyColumnProperty(c, readProperty(in, tr("Feld %1").arg(quotedName(c.name))));
    return c;
}

} // namespace

PacketReader::PacketReader(const QByteArray& packet)
{
    const qsizetype size = packet.size();
    if (size < FixedHeaderSize)
        throw DataError(tr("Die Datei ist zu kurz für ein Datenpaket (%1 Bytes).").arg(size));
    if (std::memcmp(packet.constData(), Signature, sizeof Signature) != 0)
        throw DataError(tr("Die Datei ist kein Datenpaket: die Kennung am Dateianfang fehlt."));

    Cursor head(packet, 4, FixedHeaderSize, tr("den festen Dateikopf"));
    const QString header = tr("der Dateikopf");
    const qint32 version = head.i32(header);
    const qint32 fixedLength = head.i32(header);
    const quint16 columnCount = head.u16(header);
    const qint32 recordCount = head.i32(header);
    const qint32 marker = head.i32(header);
    const quint16 headerLength = head.u16(header);
    const auto expect = [](qint32 found, qint32 expected, int offset) {
        if (found != expected)
            throw DataError(tr("Der Dateikopf des Datenpakets enthält an Byte %1 den unbekannten Wert %2 (erwartet: "
                               "%3).")
                                .arg(offset)
                                .arg(found)
                                .arg(expected));
    };
    expect(version, 1, 4);
    expect(fixedLength, FixedHeaderSize, 8);
    expect(marker, 3, 18);
    if (headerLength < FixedHeaderSize)
        throw DataError(
            tr("Die Kopflänge des Datenpakets (%1 Bytes) ist kleiner als der feste Dateikopf.").arg(headerLength));
    if (headerLength > size)
        throw DataError(tr("Die Kopflänge des Datenpakets (%1 Bytes) reicht über das Dateiende (%2 Bytes) hinaus.")
                            .arg(headerLength)
                            .arg(size));
    if (recordCount < 0)
        throw DataError(tr("Das Datenpaket nennt eine ungültige Zahl von Datensätzen (%1).").arg(recordCount));

    Cursor in(packet, FixedHeaderSize, headerLength, tr("die Kopflänge des Datenpakets"));
    m_columns.reserve(columnCount);
    for (int i = 0; i < columnCount; ++i) {
        Column c = readColumn(in, i);
        if (columnIndex(c.name) >= 0)
            throw DataError(tr("Das Feld %1 kommt im Datenpaket zweimal vor.").arg(quotedName(c.name)));
        m_columns.append(c);
    }
    const QString tableWhat = tr("die Tabelleneigenschaften");
    const quint16 tableProperties = in.u16(tableWhat);
    for (int i = 0; i < tableProperties; ++i)
        readProperty(in, tr("der Tabelle"));
    if (in.remaining() != 0)
        throw DataError(tr("Die Kopflänge des Datenpakets (%1 Bytes) passt nicht zu seinem Inhalt (%2 Bytes).")
                            .arg(headerLength)
                            .arg(in.pos()));

    // Every record takes at least its status and flag bytes; checked before anything is
    // allocated for the records.
    const qsizetype flagBytes = (m_columns.size() + 3) / 4;
    Cursor records(packet, headerLength, size, tr("das Dateiende"));
    if (qint64(recordCount) * (1 + flagBytes) > records.remaining())
        throw DataError(tr("Das Datenpaket nennt %1 Datensätze, doch die Datei ist dafür zu kurz.").arg(recordCount));

    m_records.reserve(recordCount);
    for (int r = 0; r < recordCount; ++r) {
        const QString what = tr("Datensatz %1").arg(r + 1);
        const quint8 status = records.u8(what);
        const bool leftover = (status & StatusChangeLog) != 0;
        if (!leftover && status != StatusStored)
            throw DataError(
                tr("Datensatz %1 des Datenpakets hat einen unbekannten Status (%2).").arg(r + 1).arg(status));
        const uchar* flags = records.take(flagBytes, what);
        QVariantList values;
        values.reserve(m_columns.size());
        for (int c = 0; c < m_columns.size(); ++c) {
            const Column& col = m_columns.at(c);
            if (((flags[c / 4] >> (2 * (c % 4))) & 0x03) != 0) {
                values.append(QVariant());
                continue;
            }
            const QString valueWhat =
                tr("der Wert von Feld %1 in Datensatz %2").arg(quotedName(col.name), QString::number(r + 1));
            switch (col.type) {
            case Type::Integer:
                values.append(int(records.i32(valueWhat)));
                break;
            case Type::Boolean:
                values.append(records.u16(valueWhat) != 0);
                break;
            case Type::Float:
                values.append(records.f64(valueWhat));
                break;
            case Type::Text:
                values.append(Cp1252::decode(records.prefixed(col.prefixSize, valueWhat)));
                break;
            }
        }
        if (leftover)
            ++m_skipped;
        else
            m_records.append(values);
    }
    if (records.remaining() != 0)
        throw DataError(
            tr("Nach dem letzten Datensatz des Datenpakets folgen noch %1 unbekannte Bytes.").arg(records.remaining()));
}

PacketReader PacketReader::fromFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw DataError(
            tr("Datei %1 kann nicht geöffnet werden. %2").arg(QDir::toNativeSeparators(fileName), file.errorString()));
    // Far beyond any library's book file; reading it whole would only exhaust the memory.
    constexpr qint64 MaxFileSize = 64 * 1024 * 1024;
    if (file.size() > MaxFileSize)
        throw DataError(tr("Datei %1 ist zu groß für eine Bücherdatei (%2 MB).")
                            .arg(QDir::toNativeSeparators(fileName), QString::number(file.size() / (1024 * 1024))));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw DataError(
            tr("Datei %1 kann nicht gelesen werden. %2").arg(QDir::toNativeSeparators(fileName), file.errorString()));
    try {
        return PacketReader(bytes);
    } catch (const DataError& e) {
        throw DataError(
            tr("Datei %1 ist kein lesbares Datenpaket. %2").arg(QDir::toNativeSeparators(fileName), e.message()));
    }
}

int PacketReader::columnIndex(const QString& name) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}
