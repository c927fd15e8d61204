// The reader of the previous version's data packets: the layout byte for byte, every value
// type, absent values, change-log leftovers, and the refusal of everything it does not know,
// including damaged files and random mutations of a valid one.
#include "PacketWriter.h"
#include "TestSupport.h"
#include "datastore/DataError.h"
#include "exchange/PacketReader.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>

#include <functional>
#include <vector>

namespace {

// Five columns (two flag bytes) and two records, written by hand from the file layout.
const QByteArray Golden = QByteArray::fromHex(
    // fixed header: signature, 1, 24, 5 columns, 2 records, 3, header length 120
    "9619e0bd 01000000 18000000 0500 02000000 03000000 7800"
    // A: int32
    "0141 0400 0100 0000 0000"
    // B: text, 1-byte prefix, WIDTH 10
    "0142 0100 4900 0000 0100 055749445448 0200 0200 0a00"
    // C: truth value
    "0143 0200 0300 0000 0000"
    // D: double, SUBTYPE "Money\0"
    "0144 0800 0400 0000 0100 0753554254595045 0200 4900 0600 4d6f6e657900"
    // E: text, 2-byte prefix, WIDTH 300
    "0145 0200 4900 0000 0100 055749445448 0200 0200 2c01"
    // no table properties
    "0000"
    // record 1: stored, E absent (byte 1, bits 0-1); 7, "Ä€", true, 1.5
    "04 0001 07000000 02c480 0100 000000000000f83f"
    // record 2: A, B and D absent (byte 0: 0x01 | 0x04 | 0x40); false, E = "x"
    "04 4500 0000 0100 78");

PacketWriter goldenWriter()
{
    PacketWriter w;
    w.addInteger("A");
    w.addText("B", 10);
    w.addBoolean("C");
    w.addCurrency("D");
    w.addText("E", 300);
    w.addRecord({{"A", 7}, {"B", QString("Ä€")}, {"C", true}, {"D", 1.5}});
    w.addRecord({{"C", false}, {"E", QString("x")}});
    return w;
}

QString refusal(const QByteArray& packet)
{
    try {
        PacketReader reader(packet);
    } catch (const DataError& e) {
        return e.message();
    }
    return QString();
}

void put16(QByteArray& b, int offset, quint16 v)
{
    b[offset] = char(v & 0xFF);
    b[offset + 1] = char(v >> 8);
}

void put32(QByteArray& b, int offset, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b[offset + i] = char((v >> (8 * i)) & 0xFF);
}

} // namespace

class TestPacketReader : public QObject
{
    Q_OBJECT

private slots:
    void layoutByteForByte()
    {
        // The test generator writes what the layout says, so the other tests may rely on it.
        QCOMPARE(goldenWriter().bytes().toHex(' '), Golden.toHex(' '));
        // A book file's header is 740 bytes long.
        QCOMPARE(PacketWriter::bookFile().headerLength(), 740);

        const PacketReader r(Golden);
        QCOMPARE(r.columns().size(), 5);
        QCOMPARE(r.columns().at(1).type, PacketReader::Type::Text);
        QCOMPARE(r.columns().at(1).prefixSize, 1);
        QCOMPARE(r.columns().at(1).width, 10);
        QCOMPARE(r.columns().at(3).type, PacketReader::Type::Float);
        QVERIFY(r.columns().at(3).money);
        QCOMPARE(r.columns().at(4).prefixSize, 2);
        QCOMPARE(r.columns().at(4).width, 300);

        QCOMPARE(r.recordCount(), 2);
        QCOMPARE(r.value(0, 0), QVariant(7));
        QCOMPARE(r.value(0, 1), QVariant(QString("Ä€")));
        QCOMPARE(r.value(0, 2), QVariant(true));
        QCOMPARE(r.value(0, 3), QVariant(1.5));
        QVERIFY(r.value(0, 4).isNull());
        QVERIFY(r.value(1, 0).isNull());
        QVERIFY(r.value(1, 1).isNull());
        QCOMPARE(r.value(1, 2), QVariant(false));
        QVERIFY(r.value(1, 3).isNull());
        QCOMPARE(r.value(1, 4), QVariant(QString("x")));
    }

    void everyTypeAndAbsentValues()
    {
        PacketWriter w;
        w.addText("Name", 100);
        w.addInteger("Nr");
        w.addText("Notiz", 1500);
        w.addCurrency("Betrag");
        w.addBoolean("Ja");
        w.addText("Leer", 20);
        const QString longText = QString("Grüße aus Köln – €‰ ").repeated(60); // 1200 characters
        w.addRecord({{"Name", QString("Müßiggang")},
                     {"Nr", -2147483647 - 1},
                     {"Notiz", longText},
                     {"Betrag", -0.01},
                     {"Ja", true},
                     {"Leer", QString("")}});
        w.addRecord({{"Nr", 2147483647}, {"Betrag", 0.0}, {"Ja", false}});
        w.addRecord({}); // every value absent

        const PacketReader r(w.bytes());
        QCOMPARE(r.recordCount(), 3);
        const auto at = [&](int rec, const char* name) { return r.value(rec, r.columnIndex(name)); };
        QCOMPARE(at(0, "Name").toString(), QString("Müßiggang"));
        QCOMPARE(at(0, "Nr"), QVariant(int(-2147483647 - 1)));
        QCOMPARE(at(0, "Notiz").toString(), longText);
        QCOMPARE(at(0, "Betrag"), QVariant(-0.01));
        QCOMPARE(at(0, "Ja"), QVariant(true));
        QVERIFY(!at(0, "Leer").isNull());
        QCOMPARE(at(0, "Leer").toString(), QString());

        QVERIFY(at(1, "Name").isNull());
        QCOMPARE(at(1, "Nr"), QVariant(2147483647));
        QVERIFY(at(1, "Notiz").isNull());
        QCOMPARE(at(1, "Betrag"), QVariant(0.0));
        QVERIFY(!at(1, "Betrag").isNull());
        QCOMPARE(at(1, "Ja"), QVariant(false));

        for (int c = 0; c < r.columns().size(); ++c)
            QVERIFY(r.value(2, c).isNull());
    }

    void columnsFoundByNameInAnyOrder()
    {
        PacketWriter w = goldenWriter();
        std::reverse(w.columns().begin(), w.columns().end());
        const PacketReader r(w.bytes());
        QCOMPARE(r.columns().first().name, QString("E"));
        QCOMPARE(r.value(0, r.columnIndex("a")), QVariant(7)); // letter case does not matter
        QCOMPARE(r.value(0, r.columnIndex("B")), QVariant(QString("Ä€")));
        QCOMPARE(r.value(1, r.columnIndex("E")), QVariant(QString("x")));
        QVERIFY(r.value(1, r.columnIndex("D")).isNull());
        QCOMPARE(r.columnIndex("F"), -1);
    }

    void truthValuesAreNonZero()
    {
        // A truth value other than 0 and 1 is still true.
        QByteArray b = Golden;
        put16(b, 120 + 1 + 2 + 4 + 3, 0xFF00);
        QCOMPARE(PacketReader(b).value(0, 2), QVariant(true));
    }

    void changeLogLeftoversAreSkipped()
    {
        PacketWriter w;
        w.addInteger("Nr");
        w.addRecord({{"Nr", 1}});
        w.addRecord({{"Nr", 2}}, 0x01);        // original of a changed record
        w.addRecord({{"Nr", 3}}, 0x02);        // deleted
        w.addRecord({{"Nr", 4}}, 0x04 | 0x01); // original, also marked stored
        w.addRecord({{"Nr", 5}});
        const PacketReader r(w.bytes());
        QCOMPARE(r.recordCount(), 2);
        QCOMPARE(r.skippedRecords(), 3);
        QCOMPARE(r.value(0, 0), QVariant(1));
        QCOMPARE(r.value(1, 0), QVariant(5));
    }

    void damagedOrUnknownPacketsAreRefused()
    {
        // Offsets into Golden: column A's descriptor at 24, B's WIDTH name at 45, D's subtype
        // text at 90, C's name at 57, the first record at 120.
        struct Case
        {
            const char* name;
            std::function<void(QByteArray&)> damage;
            const char* message;
        };
        const Case cases[] = {
            {"shorter than the fixed header", [](QByteArray& b) { b.truncate(20); }, "zu kurz für ein Datenpaket"},
            {"empty file", [](QByteArray& b) { b.clear(); }, "zu kurz für ein Datenpaket"},
            {"wrong signature", [](QByteArray& b) { b[0] = char(0x95); }, "Kennung am Dateianfang fehlt"},
            {"other version", [](QByteArray& b) { put32(b, 4, 2); }, "an Byte 4 den unbekannten Wert 2"},
            {"other fixed header length", [](QByteArray& b) { put32(b, 8, 28); }, "an Byte 8"},
            {"other marker", [](QByteArray& b) { put32(b, 18, 4); }, "an Byte 18"},
            {"header length past the end", [](QByteArray& b) { put16(b, 22, 0xFFFF); },
             "Kopflänge des Datenpakets (65535 Bytes) reicht über das Dateiende (148 Bytes)"},
            {"header length inside the fixed header", [](QByteArray& b) { put16(b, 22, 10); },
             "kleiner als der feste Dateikopf"},
            {"header length ends inside the descriptors", [](QByteArray& b) { put16(b, 22, 119); },
             "Tabelleneigenschaften (ab Byte 118) reicht über die Kopflänge"},
            {"header length beyond the descriptors", [](QByteArray& b) { put16(b, 22, 121); },
             "passt nicht zu seinem Inhalt"},
            {"one record more than the file holds", [](QByteArray& b) { put32(b, 14, 3); },
             "Datensatz 3 (ab Byte 148) reicht über das Dateiende"},
            {"huge record count", [](QByteArray& b) { put32(b, 14, 0x7FFFFFFF); },
             "nennt 2147483647 Datensätze, doch die Datei ist dafür zu kurz"},
            {"negative record count", [](QByteArray& b) { put32(b, 14, 0xFFFFFFFF); }, "ungültige Zahl"},
            {"truncated in the last value", [](QByteArray& b) { b.chop(1); }, "der Wert von Feld 'E' in Datensatz 2"},
            {"truncated in a 2-byte prefix", [](QByteArray& b) { b.chop(2); }, "reicht über das Dateiende"},
            {"bytes after the last record", [](QByteArray& b) { b.append('\0'); }, "folgen noch 1 unbekannte"},
            {"unknown column type", [](QByteArray& b) { put16(b, 28, 2); }, "Feld 'A' hat einen unbekannten Typ (2)"},
            {"integer of another size", [](QByteArray& b) { put16(b, 26, 8); },
             "Feld 'A' hat eine unerwartete Wertlänge"},
            {"text prefix of 4 bytes", [](QByteArray& b) { put16(b, 36, 4); }, "Feld 'B' hat eine unerwartete"},
            {"column attributes", [](QByteArray& b) { put16(b, 30, 1); }, "Feld 'A' hat unbekannte Attribute"},
            {"column without a name", [](QByteArray& b) { b[24] = 0; }, "Feld 1 des Datenpakets hat keinen Namen"},
            {"duplicate column", [](QByteArray& b) { b[57] = 'a'; }, "Das Feld 'a' kommt im Datenpaket zweimal vor"},
            {"unknown column property", [](QByteArray& b) { b[49] = 'X'; },
             "Die Eigenschaft 'WIDTX' von Feld 'B' ist unbekannt"},
            {"unknown property type", [](QByteArray& b) { put16(b, 52, 7); }, "hat einen unbekannten Typ (7)"},
            {"other subtype", [](QByteArray& b) { b[90] = 'H'; }, "Der Untertyp „Honey“ von Feld 'D' ist unbekannt"},
            {"unknown record status", [](QByteArray& b) { b[120] = 0x08; },
             "Datensatz 1 des Datenpakets hat einen unbekannten Status (8)"},
            {"record status 0", [](QByteArray& b) { b[120] = 0; }, "unbekannten Status (0)"},
        };
        QCOMPARE(Golden.size(), 148);
        for (const Case& c : cases) {
            QByteArray b = Golden;
            c.damage(b);
            const QString message = refusal(b);
            QVERIFY2(message.contains(QString::fromUtf8(c.message)),
                     qPrintable(QString("%1: got \"%2\"").arg(c.name, message)));
        }

        // A name from the file is shown as it is, never taken for a placeholder.
        PacketWriter w;
        w.addColumn({"%1%2", PacketWriter::Text, 3});
        QCOMPARE(refusal(w.bytes()), QString("Feld '%1%2' hat eine unerwartete Wertlänge (3) für seinen Typ."));
    }

    void fileErrorsNameTheFile()
    {
        TestEnvironment env;
        const QString missing = env.root() + "/buecher30.t04";
        try {
            PacketReader::fromFile(missing);
            QFAIL("a missing file was read");
        } catch (const DataError& e) {
            QVERIFY2(
                e.message().startsWith("Datei " + QDir::toNativeSeparators(missing) + " kann nicht geöffnet werden. "),
                qPrintable(e.message()));
        }
        QFile f(missing);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("kein Datenpaket, aber lang genug für den Kopf");
        f.close();
        try {
            PacketReader::fromFile(missing);
            QFAIL("a text file was read as a packet");
        } catch (const DataError& e) {
            QVERIFY2(e.message().contains("ist kein lesbares Datenpaket") && e.message().contains("Kennung"),
                     qPrintable(e.message()));
        }
        goldenWriter().write(missing);
        QCOMPARE(PacketReader::fromFile(missing).recordCount(), 2);

        // A huge file is refused before it is read (sparse, so the test writes next to nothing).
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Append));
        QVERIFY(f.resize(65 * 1024 * 1024));
        f.close();
        try {
            PacketReader::fromFile(missing);
            QFAIL("a 65 MB file was read");
        } catch (const DataError& e) {
            QVERIFY2(e.message().endsWith("ist zu groß für eine Bücherdatei (65 MB)."), qPrintable(e.message()));
        }
    }

    // Random mutations of a valid book file for a few seconds: every one is read or refused with
    // a message, nothing else. Each mutant lies in a buffer of exactly its size, so that the
    // sanitizer build catches a read past its end.
    void randomMutationsAreReadOrRefused()
    {
        PacketWriter w = PacketWriter::bookFile();
        w.addRecord({{"ID", 1}, {"Titel", QString("Der Grüne Heinrich")}, {"Preis", 12.5}, {"ausgeliehen", true}});
        w.addRecord({{"ID", 2}, {"Bemerkung", QString("lang ").repeated(100)}, {"Schlagwort7", QString("€")}});
        w.addRecord({{"ID", 5}}, 0x02);
        const QByteArray base = w.bytes();
        const int headerLength = w.headerLength();

        QRandomGenerator rng(20261211);
        const auto below = [&](qsizetype n) { return n <= 0 ? 0 : qsizetype(rng.bounded(quint32(n))); };
        int accepted = 0, refused = 0;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 3000) {
            QByteArray m = base;
            const int steps = 1 + int(rng.bounded(4));
            for (int s = 0; s < steps; ++s) {
                // Half the changes go to the header, where the lengths and counts are.
                const qsizetype span = rng.bounded(2) ? qMin<qsizetype>(headerLength, m.size()) : m.size();
                const qsizetype at = below(span);
                switch (rng.bounded(8)) {
                case 0:
                    if (!m.isEmpty())
                        m[at] = char(m.at(at) ^ (1 << rng.bounded(8)));
                    break;
                case 1:
                    if (!m.isEmpty())
                        m[at] = char(rng.bounded(256));
                    break;
                case 2: {
                    static const quint16 extremes[] = {0, 1, 2, 0xFF, 0x100, 0x7FFF, 0x8000, 0xFFFF};
                    if (at + 2 <= m.size())
                        put16(m, int(at), extremes[rng.bounded(8)]);
                    break;
                }
                case 3: {
                    static const quint32 extremes[] = {0, 1, 3, 24, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 1000000};
                    if (at + 4 <= m.size())
                        put32(m, int(at), extremes[rng.bounded(8)]);
                    break;
                }
                case 4:
                    m.truncate(below(m.size() + 1));
                    break;
                case 5: {
                    QByteArray junk(1 + below(8), '\0');
                    for (char& c : junk)
                        c = char(rng.bounded(256));
                    m.insert(at, junk);
                    break;
                }
                case 6:
                    m.remove(at, 1 + below(8));
                    break;
                case 7:
                    m.insert(at, m.mid(below(m.size()), 1 + below(16)));
                    break;
                }
            }
            std::vector<char> exact(m.begin(), m.end());
            try {
                const PacketReader r(QByteArray::fromRawData(exact.data(), qsizetype(exact.size())));
                qsizetype chars = 0;
                for (int rec = 0; rec < r.recordCount(); ++rec)
                    for (int c = 0; c < r.columns().size(); ++c)
                        chars += r.value(rec, c).toString().size();
                Q_UNUSED(chars);
                ++accepted;
            } catch (const DataError& e) {
                QVERIFY(!e.message().isEmpty());
                ++refused;
            }
        }
        qInfo("%d mutants read, %d refused", accepted, refused);
        QVERIFY(accepted > 0);
        QVERIFY(refused > 0);
    }
};

QTEST_GUILESS_MAIN(TestPacketReader)
#include "tst_packetreader.moc"
