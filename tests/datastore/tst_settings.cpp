#include "TestSupport.h"
#include "datastore/DataError.h"
#include "datastore/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <csignal>
#include <limits>
#include <sys/resource.h>
#include <unistd.h>

// The test binary doubles as a second process: "--child <command> ..." runs one settings
// call and prints the result, so that values can be checked across processes.
namespace {

const char* const ChildFlag = "--child";

QByteArray toHex(const QString& text)
{
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2).toHex();
}

QString fromHex(const QByteArray& hex)
{
    const QByteArray raw = QByteArray::fromHex(hex);
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(raw.constData()), raw.size() / 2);
}

int runChild(const QStringList& args)
{
    const QString command = args.value(0);
    const QString name = fromHex(args.value(1).toLatin1());
    try {
        if (command == QLatin1String("read")) {
            const QByteArray out = "int=" + QByteArray::number(Settings::ReadSettingInt(name)) +
                                   "\nstr=" + toHex(Settings::ReadSettingString(name)) + "\n";
            fwrite(out.constData(), 1, size_t(out.size()), stdout);
        } else if (command == QLatin1String("write-int")) {
            Settings::WriteSettingInt(name, args.value(2).toInt());
        } else if (command == QLatin1String("write-many")) {
            // Many writers at once: each owns its names, none may lose another's values.
            for (int i = 0; i < args.value(2).toInt(); ++i)
                Settings::WriteSettingInt(name + QString::number(i), i);
        } else if (command == QLatin1String("write-limited")) {
            // Simulates a full disk: no file may grow beyond a few bytes.
            std::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{};
            getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = 256;
            setrlimit(RLIMIT_FSIZE, &limit);
            Settings::WriteSettingString(name, QString(10000, u'x'));
        } else {
            return 2;
        }
    } catch (const DataError& error) {
        const QByteArray out = "error=" + error.message().toUtf8() + "\n";
        fwrite(out.constData(), 1, size_t(out.size()), stdout);
        return 1;
    }
    return 0;
}

struct ChildResult
{
    int exitCode = -1;
    QByteArray output;
};

ChildResult child(const QStringList& args)
{
    QProcess process;
    process.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    process.start(QCoreApplication::applicationFilePath(), QStringList{QString::fromLatin1(ChildFlag)} + args);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput()};
}

// What a second process reads for the name: {int, text}.
std::pair<qint32, QString> readInChild(const QString& name)
{
    const ChildResult result = child({QStringLiteral("read"), QString::fromLatin1(toHex(name))});
    const QList<QByteArray> lines = result.output.split('\n');
    if (result.exitCode != 0 || lines.size() < 2 || !lines[0].startsWith("int=") || !lines[1].startsWith("str="))
        return {-1, QStringLiteral("<child failed>")};
    return {lines[0].mid(4).toInt(), fromHex(lines[1].mid(4))};
}

QByteArray fileContent(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(content), content.size());
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env.emplace(); }
    void cleanup() { m_env.reset(); }

    void storeFollowsEnvironment();
    void absentValues();
    void typesAreKeptApart();
    void namesAreCaseSensitive();
    void rewriteChangesType();
    void roundTripText_data();
    void roundTripText();
    void roundTripInt_data();
    void roundTripInt();
    void secondProcessSeesTypedValue();
    void readsAreNotCached();
    void overlongValueIsIgnored();
    void unchangedFileIsNotParsedAgain();
    void concurrentWritersKeepEachOthersValues();
    void garbledLinesAreSkippedAndDropped();
    void failedWriteThrowsAndKeepsFile_data();
    void failedWriteThrowsAndKeepsFile();

private:
    std::optional<TestEnvironment> m_env;
};

void TestSettings::storeFollowsEnvironment()
{
    const QString expected = m_env->configDir() + QStringLiteral("/Brindle Software/Tomaris.conf");
    QCOMPARE(Settings::storePath(), expected);
    Settings::WriteSettingInt(QStringLiteral("Refresh"), 600);
    QVERIFY(QFile::exists(expected));
    QVERIFY(fileContent(expected).startsWith('#'));

    // Moving the variable moves the store at once.
    TestEnvironment other;
    QCOMPARE(Settings::storePath(), other.configDir() + QStringLiteral("/Brindle Software/Tomaris.conf"));
    QCOMPARE(Settings::ReadSettingInt(QStringLiteral("Refresh")), 0);
}

void TestSettings::absentValues()
{
    QCOMPARE(Settings::ReadSettingInt(QStringLiteral("Refresh")), 0);
    QCOMPARE(Settings::ReadSettingString(QStringLiteral("Refresh")), QString());
    QVERIFY(!QFile::exists(Settings::storePath())); // reading creates nothing

    Settings::WriteSettingString(QStringLiteral("Other"), QStringLiteral("x"));
    QCOMPARE(Settings::ReadSettingInt(QStringLiteral("Refresh")), 0);
    QCOMPARE(Settings::ReadSettingString(QStringLiteral("Refresh")), QString());
}

void TestSettings::typesAreKeptApart()
{
    Settings::WriteSettingString(QStringLiteral("Text"), QStringLiteral("600"));
    Settings::WriteSettingInt(QStringLiteral("Number"), 600);

    QCOMPARE(Settings::ReadSettingInt(QStringLiteral("Text")), 0);
    QCOMPARE(Settings::ReadSettingString(QStringLiteral("Text")), QStringLiteral("600"));
    QCOMPARE(Settings::ReadSettingString(QStringLiteral("Number")), QString());
    QCOMPARE(Settings::ReadSettingInt(QStringLiteral("Number")), 600);
}

void TestSettings::namesAreCaseSensitive()
{
    Settings::WriteSettingInt(QStringLiteral("Refresh"), 1);
    Settings::WriteSettingInt(QStringLiteral("refresh"), 2);
    QCOMPARE(Settings::ReadSettingInt(QStringLiteral("Refresh")), 1);
    QCOMPARE(Settings::ReadSettingInt(QStringLiteral("refresh")), 2);
    QCOMPARE(Settings::ReadSettingInt(QStringLiteral("REFRESH")), 0);
}

void TestSettings::rewriteChangesType()
{
    const QString name = QStringLiteral("Wechsel");
    Settings::WriteSettingString(name, QStringLiteral("abc"));
    Settings::WriteSettingInt(name, 5);
    QCOMPARE(Settings::ReadSettingInt(name), 5);
    QCOMPARE(Settings::ReadSettingString(name), QString());

    Settings::WriteSettingString(name, QStringLiteral("def"));
    QCOMPARE(Settings::ReadSettingInt(name), 0);
    QCOMPARE(Settings::ReadSettingString(name), QStringLiteral("def"));
    QCOMPARE(fileContent(Settings::storePath()).count("Wechsel"), 1);
}

void TestSettings::roundTripText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");

    QTest::newRow("plain") << QStringLiteral("Drucker") << QStringLiteral("Büro 2");
    QTest::newRow("point and minus in name") << QStringLiteral("BreiteABuch-Nr.") << QStringLiteral("120");
    QTest::newRow("slash in name") << QStringLiteral("BreiteAAutor/in") << QStringLiteral("a/b//c");
    QTest::newRow("equals signs") << QStringLiteral("a=b") << QStringLiteral("=x==y=");
    QTest::newRow("backslashes") << QStringLiteral("C:\\Pfad\\") << QStringLiteral("\\\\server\\n\\");
    QTest::newRow("escape look-alikes") << QStringLiteral("\\n\\=\\u0041") << QStringLiteral("\\t\\r\\u00e4\\");
    QTest::newRow("line breaks") << QStringLiteral("Zeile\r\nZwei\n") << QStringLiteral("eins\r\nzwei\rdrei\n");
    QTest::newRow("tabs and controls") << QStringLiteral("\tTab") << (QStringLiteral("a\tb") + QChar(0) + QChar(0x1B));
    QTest::newRow("blanks at the ends") << QStringLiteral("  Name  ") << QStringLiteral("  Wert  ");
    QTest::newRow("looks like a comment") << QStringLiteral("# Name") << QStringLiteral("# Wert");
    QTest::newRow("looks like a typed line") << QStringLiteral("i:x=1\ns:y") << QStringLiteral("\ni:Refresh=600");
    QTest::newRow("non-Latin") << QStringLiteral("Ширина名前") << QStringLiteral("Ελληνικά 😀 ✓");
    QTest::newRow("lone surrogate") << QStringLiteral("x") << (QStringLiteral("a") + QChar(0xDC00));
    QTest::newRow("empty value") << QStringLiteral("Leer") << QString();
    QTest::newRow("empty name") << QString() << QStringLiteral("ohne Namen");
    // up to a few kilobytes; longer values are damage and ignored (overlongValueIsIgnored)
    QTest::newRow("long value") << QStringLiteral("Lang") << QString(3000, u'ä');
}

void TestSettings::roundTripText()
{
    QFETCH(QString, name);
    QFETCH(QString, value);

    Settings::WriteSettingString(QStringLiteral("Nachbar"), QStringLiteral("bleibt"));
    Settings::WriteSettingString(name, value);
    Settings::WriteSettingInt(QStringLiteral("Zahl"), 7); // a later write must keep the value intact

    QCOMPARE(Settings::ReadSettingString(name), value);
    QCOMPARE(Settings::ReadSettingString(QStringLiteral("Nachbar")), QStringLiteral("bleibt"));
    QCOMPARE(Settings::ReadSettingInt(QStringLiteral("Zahl")), 7);
    QCOMPARE(readInChild(name), std::make_pair(qint32(0), value));
}

void TestSettings::roundTripInt_data()
{
    QTest::addColumn<qint32>("value");
    QTest::newRow("zero") << qint32(0);
    QTest::newRow("negative") << qint32(-1);
    QTest::newRow("smallest") << std::numeric_limits<qint32>::min();
    QTest::newRow("largest") << std::numeric_limits<qint32>::max();
}

void TestSettings::roundTripInt()
{
    QFETCH(qint32, value);
    const QString name = QStringLiteral("Zahl=/\\\n");
    Settings::WriteSettingInt(name, value);
    QCOMPARE(Settings::ReadSettingInt(name), value);
}

void TestSettings::secondProcessSeesTypedValue()
{
    Settings::WriteSettingInt(QStringLiteral("Refresh"), 600);
    QCOMPARE(readInChild(QStringLiteral("Refresh")), std::make_pair(qint32(600), QString()));

    // And the other way round: what the child writes, this process reads.
    const ChildResult result = child(
        {QStringLiteral("write-int"), QString::fromLatin1(toHex(QStringLiteral("Refresh"))), QStringLiteral("900")});
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(Settings::ReadSettingInt(QStringLiteral("Refresh")), 900);
}

void TestSettings::readsAreNotCached()
{
    Settings::WriteSettingString(QStringLiteral("Name"), QStringLiteral("alt"));
    QCOMPARE(Settings::ReadSettingString(QStringLiteral("Name")), QStringLiteral("alt"));

    // Changed behind our back, as another program would.
    writeFile(Settings::storePath(), "s:Name=neu\ni:Refresh=5\n");
    QCOMPARE(Settings::ReadSettingString(QStringLiteral("Name")), QStringLiteral("neu"));
    QCOMPARE(Settings::ReadSettingInt(QStringLiteral("Refresh")), 5);

    // A write starts from the file as it is now, not from an earlier read.
    Settings::WriteSettingInt(QStringLiteral("Other"), 1);
    QCOMPARE(Settings::ReadSettingInt(QStringLiteral("Refresh")), 5);
    QCOMPARE(Settings::ReadSettingString(QStringLiteral("Name")), QStringLiteral("neu"));

    QVERIFY(QFile::remove(Settings::storePath()));
    QCOMPARE(Settings::ReadSettingString(QStringLiteral("Name")), QString());
}

void TestSettings::overlongValueIsIgnored()
{
    writeFile(Settings::storePath(), "s:Kurz=gut\ns:Lang=" + QByteArray(100 * 1024, 'x') + "\ni:Refresh=30\n");
    QCOMPARE(Settings::ReadSettingString(QStringLiteral("Lang")), QString());
    QCOMPARE(Settings::ReadSettingString(QStringLiteral("Kurz")), QStringLiteral("gut"));
    QCOMPARE(Settings::ReadSettingInt(QStringLiteral("Refresh")), 30);
}

void TestSettings::unchangedFileIsNotParsedAgain()
{
    const QString path = Settings::storePath();
    writeFile(path, "s:Name=eins\n");
    QCOMPARE(Settings::ReadSettingString(QStringLiteral("Name")), QStringLiteral("eins"));
    // Same size and the same modification time: taken for unchanged, so not read again.
    const QDateTime modified = QFileInfo(path).lastModified();
    writeFile(path, "s:Name=zwei\n");
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(modified, QFileDevice::FileModificationTime));
    }
    QCOMPARE(Settings::ReadSettingString(QStringLiteral("Name")), QStringLiteral("eins"));
    // Any other change is seen at once, and so is our own write.
    writeFile(path, "s:Name=dreiX\n");
    QCOMPARE(Settings::ReadSettingString(QStringLiteral("Name")), QStringLiteral("dreiX"));
    Settings::WriteSettingString(QStringLiteral("Name"), QStringLiteral("vier!"));
    QCOMPARE(Settings::ReadSettingString(QStringLiteral("Name")), QStringLiteral("vier!"));
}

void TestSettings::concurrentWritersKeepEachOthersValues()
{
    constexpr int Writers = 4;
    constexpr int ValuesEach = 15;
    QList<QProcess*> processes;
    for (int w = 0; w < Writers; ++w) {
        auto* process = new QProcess(this);
        process->setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        const QString prefix = QStringLiteral("W%1-").arg(w);
        process->start(QCoreApplication::applicationFilePath(),
                       {QString::fromLatin1(ChildFlag), QStringLiteral("write-many"),
                        QString::fromLatin1(toHex(prefix)), QString::number(ValuesEach)});
        processes << process;
    }
    for (QProcess* process : std::as_const(processes)) {
        QVERIFY(process->waitForFinished(60000));
        QCOMPARE(process->exitCode(), 0);
    }
    qDeleteAll(processes);

    for (int w = 0; w < Writers; ++w) {
        for (int i = 0; i < ValuesEach; ++i) {
            const QString name = QStringLiteral("W%1-%2").arg(w).arg(i);
            QVERIFY2(Settings::ReadSettingInt(name) == i, qPrintable(name));
        }
    }
    QVERIFY(!QFile::exists(Settings::storePath() + QStringLiteral(".lock")));
}

void TestSettings::garbledLinesAreSkippedAndDropped()
{
    writeFile(Settings::storePath(), "# Kommentar\n"
                                     "s:Gut=ja\r\n"
                                     "Unsinn ohne Typ\n"
                                     "x:Fremd=1\n"
                                     "i:Zahl=12abc\n"
                                     "i:Riesig=99999999999\n"
                                     "s:Kaputt=\\q\n"
                                     "s:OhneGleich\n"
                                     "s:Bytes=\xFF\xFE\n"
                                     "\n"
                                     "i:Auch=3");
    QCOMPARE(Settings::ReadSettingString(QStringLiteral("Gut")), QStringLiteral("ja"));
    QCOMPARE(Settings::ReadSettingInt(QStringLiteral("Auch")), 3);
    QCOMPARE(Settings::ReadSettingInt(QStringLiteral("Zahl")), 0);
    QCOMPARE(Settings::ReadSettingString(QStringLiteral("Zahl")), QString());
    QCOMPARE(Settings::ReadSettingInt(QStringLiteral("Riesig")), 0);
    QCOMPARE(Settings::ReadSettingString(QStringLiteral("Kaputt")), QString());

    Settings::WriteSettingInt(QStringLiteral("Neu"), 1);
    const QByteArray content = fileContent(Settings::storePath());
    for (const char* gone : {"Unsinn", "Fremd", "12abc", "Riesig", "Kaputt", "OhneGleich", "Bytes", "Kommentar"})
        QVERIFY2(!content.contains(gone), gone);
    QCOMPARE(Settings::ReadSettingString(QStringLiteral("Gut")), QStringLiteral("ja"));
    QCOMPARE(Settings::ReadSettingInt(QStringLiteral("Auch")), 3);
    QCOMPARE(Settings::ReadSettingInt(QStringLiteral("Neu")), 1);
}

void TestSettings::failedWriteThrowsAndKeepsFile_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("folder not writable") << QStringLiteral("readonly");
    QTest::newRow("config home is a file") << QStringLiteral("file");
    QTest::newRow("disk full") << QStringLiteral("full");
}

void TestSettings::failedWriteThrowsAndKeepsFile()
{
    QFETCH(QString, how);
    Settings::WriteSettingInt(QStringLiteral("Refresh"), 600);
    const QString path = Settings::storePath();
    const QByteArray before = fileContent(path);
    const QString folder = QFileInfo(path).absolutePath();
    const QString name = QStringLiteral("Refresh");

    QString message;
    if (how == QLatin1String("full")) {
        const ChildResult result = child({QStringLiteral("write-limited"), QString::fromLatin1(toHex(name))});
        QCOMPARE(result.exitCode, 1);
        QVERIFY(result.output.startsWith("error="));
        message = QString::fromUtf8(result.output.mid(6).trimmed());
    } else {
        std::optional<TestEnvironment> elsewhere;
        if (how == QLatin1String("readonly")) {
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
            if (::access(qPrintable(folder), W_OK) == 0) {
                QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
                QSKIP("Running with rights that ignore folder permissions");
            }
        } else {
            elsewhere.emplace();
            writeFile(elsewhere->root() + QStringLiteral("/datei"), "kein Ordner");
            qputenv("XDG_CONFIG_HOME", QFile::encodeName(elsewhere->root() + QStringLiteral("/datei")));
        }
        try {
            Settings::WriteSettingInt(name, 900);
            QFAIL("no DataError");
        } catch (const DataError& error) {
            message = error.message();
        }
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(Settings::ReadSettingInt(name), how == QLatin1String("file") ? 0 : 600);
        elsewhere.reset();
    }

    const QString prefix = QStringLiteral("Die Einstellung „Refresh“ konnte nicht gespeichert werden: ");
    QVERIFY2(message.startsWith(prefix) && message.size() > prefix.size(), qPrintable(message));
    QCOMPARE(Settings::storePath(), path);
    QCOMPARE(fileContent(path), before);
    QCOMPARE(Settings::ReadSettingInt(name), 600);
    // No temporary or lock file is left behind.
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Tomaris.conf")});
}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], ChildFlag) == 0)
        return runChild(app.arguments().mid(2));
    TestSettings test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settings.moc"
