// The settings file of a backup: every value comes back exactly, the bytes are the registry
// editor's export format, and a damaged file is refused as a whole.
#include "TestSupport.h"
#include "datastore/DataError.h"
#include "datastore/Settings.h"
#include "maintenance/SettingsRegFile.h"

#include <QTest>
#include <limits>
#include <optional>

namespace {

QByteArray utf16le(const QString& text)
{
    QByteArray out;
    for (QChar c : text) {
        out.append(char(c.unicode() & 0xFF));
        out.append(char(c.unicode() >> 8));
    }
    return out;
}

QByteArray regFile(const QString& body)
{
    return QByteArray("\xFF\xFE", 2) +
           utf16le(QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                                  "[HKEY_CURRENT_USER\\SOFTWARE\\Brindle Software\\Tomaris]\r\n") +
                   body);
}

} // namespace

class TestSettingsRegFile : public QObject
{
    Q_OBJECT

private slots:
    void everyValueSurvivesTheRoundTrip()
    {
        TestEnvironment env;
        const QString longText = QStringLiteral("Ein langer Titel mit Umbruch\r\n").repeated(12);
        const QList<Settings::SettingEntry> values{
            {"DBPfad", QStringLiteral("C:\\Bücherei\\Daten\\")},
            {"Refresh", qint32(600)},
            {"Height", qint32(-1)},
            {"Width", std::numeric_limits<qint32>::min()},
            {"Groß", std::numeric_limits<qint32>::max()},
            {"Null", qint32(0)},
            {"DruckTitel", QStringLiteral("Bücherliste „Sommer“ – \"neu\" & Straße €")},
            {"DruckTitelLeser", QStringLiteral("Zeile 1\r\nZeile 2\nZeile 3\tmit Tab")},
            {"DruckTitelAusleihliste", longText},
            {"Leer", QString()},
            {"Backslash am Ende", QStringLiteral("\\")},
            {"Nur \"Zeichen\"", QStringLiteral("\"\\\"")},
            {"BreiteAAutor/in", qint32(77)},
            {"BreiteA\"Zitat\\", qint32(12)},
            {"Symbol", QStringLiteral("Notiz 📚 ende")},
        };
        Settings::WriteSettings(values);
        const QList<Settings::SettingEntry> stored = Settings::AllSettings();
        QCOMPARE(stored.size(), values.size());

        const QByteArray file = SettingsRegFile::serialise(stored);
        QCOMPARE(SettingsRegFile::parse(file), stored);

        // The editor's lines stay within 80 columns; long hex values continue on further lines.
        const QString text =
            QString::fromUtf16(reinterpret_cast<const char16_t*>(file.constData() + 2), (file.size() - 2) / 2);
        const QStringList lines = text.split(QStringLiteral("\r\n"));
        QVERIFY(lines.size() > values.size() + 6);
        for (const QString& line : lines)
            QVERIFY2(line.size() <= 80 && !line.contains(u'\n') && !line.contains(u'\r'), qPrintable(line));

        // Read into an empty store: same names, same types, same values.
        TestEnvironment other;
        Settings::WriteSettings(SettingsRegFile::parse(file));
        QCOMPARE(Settings::AllSettings(), stored);
        QCOMPARE(Settings::ReadSettingInt("Width"), std::numeric_limits<qint32>::min());
        QCOMPARE(Settings::ReadSettingString("DruckTitelLeser"),
                 QStringLiteral("Zeile 1\r\nZeile 2\nZeile 3\tmit Tab"));
        QCOMPARE(Settings::ReadSettingInt("DBPfad"), 0); // a text stays a text
        QCOMPARE(Settings::ReadSettingString("Refresh"), QString());
    }

    void bytesAreTheEditorsFormat()
    {
        const QByteArray file = SettingsRegFile::serialise({
            {"DBPfad", QStringLiteral("C:\\Daten")},
            {"Refresh", qint32(600)},
            {"Height", qint32(-2)},
            {"Titel", QStringLiteral("Sag \"Ö\"")},
            {"Zwei", QStringLiteral("a\nb")},
        });
        QCOMPARE(file.left(12), QByteArray("\xFF\xFEW\0i\0n\0d\0o\0", 12));
        const QByteArray expected = regFile(QStringLiteral("\"DBPfad\"=\"C:\\\\Daten\"\r\n"
                                                           "\"Refresh\"=dword:00000258\r\n"
                                                           "\"Height\"=dword:fffffffe\r\n"
                                                           "\"Titel\"=\"Sag \\\"Ö\\\"\"\r\n"
                                                           "\"Zwei\"=hex(1):61,00,0a,00,62,00,00,00\r\n"
                                                           "\r\n"));
        QCOMPARE(file, expected);
    }

    void editorSpellingsAreRead()
    {
        // What the editor itself may write: comments, the key in other letter case, upper-case
        // hex digits, an expandable text, a value given twice (the later wins).
        const QByteArray file = QByteArray("\xFF\xFE", 2) +
                                utf16le(QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                                                       "; exportiert\r\n"
                                                       "[hkey_current_user\\Software\\Brindle Software\\Tomaris]\r\n"
                                                       "\"Refresh\"=dword:0000012C\r\n"
                                                       "\"Pfad\"=hex(2):25,00,41,00,25,00,00,00\r\n"
                                                       "\"Refresh\"=DWORD:0000003c\r\n"));
        const QList<Settings::SettingEntry> entries = SettingsRegFile::parse(file);
        const QList<Settings::SettingEntry> expected{{"Pfad", QStringLiteral("%A%")}, {"Refresh", qint32(60)}};
        QCOMPARE(entries, expected);
    }

    void damagedFileIsRefused_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("line");

        const QByteArray header = regFile(QString());
        QTest::newRow("utf-8 without mark") << QByteArray("Windows Registry Editor Version 5.00\r\n") << 1;
        QTest::newRow("empty") << QByteArray() << 1;
        QTest::newRow("half a character") << header + QByteArray("\"", 1) << 1;
        QTest::newRow("other header") << QByteArray("\xFF\xFE", 2) + utf16le(QStringLiteral("REGEDIT4\r\n")) << 1;
        QTest::newRow("no closing quote") << regFile(QStringLiteral("\"DBPfad\"=\"C:\\\\Daten\r\n")) << 4;
        QTest::newRow("unknown escape") << regFile(QStringLiteral("\"DBPfad\"=\"C:\\Daten\"\r\n")) << 4;
        QTest::newRow("text after the text") << regFile(QStringLiteral("\"A\"=\"x\"y\r\n")) << 4;
        QTest::newRow("no equals sign") << regFile(QStringLiteral("\"A\" \"x\"\r\n")) << 4;
        QTest::newRow("no dword digits") << regFile(QStringLiteral("\"A\"=dword:\r\n")) << 4;
        QTest::newRow("dword not hex") << regFile(QStringLiteral("\"A\"=dword:0000002g\r\n")) << 4;
        QTest::newRow("dword too long") << regFile(QStringLiteral("\"A\"=dword:100000000\r\n")) << 4;
        QTest::newRow("odd text bytes") << regFile(QStringLiteral("\"A\"=hex(1):61,00,62\r\n")) << 4;
        QTest::newRow("no byte") << regFile(QStringLiteral("\"A\"=hex(1):61,xyz\r\n")) << 4;
        QTest::newRow("continued past the end") << regFile(QStringLiteral("\"A\"=hex(1):61,00,\\")) << 4;
        QTest::newRow("binary value") << regFile(QStringLiteral("\"A\"=hex:01,02\r\n")) << 4;
        QTest::newRow("deletion") << regFile(QStringLiteral("\"A\"=-\r\n")) << 4;
        QTest::newRow("default value") << regFile(QStringLiteral("@=\"x\"\r\n")) << 4;
        QTest::newRow("stray line") << regFile(QStringLiteral("\"A\"=\"1\"\r\nUnsinn\r\n")) << 5;
        QTest::newRow("other key") << regFile(QStringLiteral("[HKEY_CURRENT_USER\\SOFTWARE\\Anderes]\r\n")) << 4;
        QTest::newRow("key not closed") << regFile(QStringLiteral(
                                               "[HKEY_CURRENT_USER\\SOFTWARE\\Brindle Software\\Tomaris\r\n"))
                                        << 4;
        QTest::newRow("value before the key")
            << QByteArray("\xFF\xFE", 2) + utf16le(QStringLiteral("Windows Registry Editor Version 5.00\r\n"
                                                                  "\"A\"=\"1\"\r\n"))
            << 2;
    }

    void damagedFileIsRefused()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, line);
        std::optional<QString> message;
        try {
            SettingsRegFile::parse(file);
        } catch (const DataError& e) {
            message = e.message();
        }
        QVERIFY2(message.has_value(), "no error");
        QVERIFY2(message->startsWith(QStringLiteral("Zeile %1: ").arg(line)), qPrintable(*message));
    }

    void readFileNamesTheFile()
    {
        TestEnvironment env;
        const QString path = env.root() + QStringLiteral("/einstellungen.reg");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(regFile(QStringLiteral("\"A\"=dword:zz\r\n")));
        f.close();
        try {
            SettingsRegFile::readFile(path);
            QFAIL("no error");
        } catch (const DataError& e) {
            QVERIFY2(e.message().contains(path) && e.message().contains(QStringLiteral("beschädigt")) &&
                         e.message().contains(QStringLiteral("Zeile 4")),
                     qPrintable(e.message()));
        }
    }
};

QTEST_GUILESS_MAIN(TestSettingsRegFile)
#include "tst_settingsregfile.moc"
