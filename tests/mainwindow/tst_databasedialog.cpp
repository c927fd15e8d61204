#include "GuiSupport.h"
#include "TestSupport.h"
#include "common/gui/DialogLook.h"
#include "common/gui/FileDialogs.h"
#include "common/gui/GradientPanel.h"
#include "common/gui/Messages.h"
#include "datastore/LibraryData.h"
#include "datastore/Settings.h"
#include "datastore/SqlEngine.h"
#include "mainwindow/DatabaseDialog.h"
#include "mainwindow/RefreshIntervalDialog.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

namespace {

QByteArray fileHash(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

bool nearColour(QColor a, QColor b)
{
    return qAbs(a.red() - b.red()) <= 8 && qAbs(a.green() - b.green()) <= 8 && qAbs(a.blue() - b.blue()) <= 8;
}

} // namespace

class TestDatabaseDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void look_data();
    void look();

    void dbActionSucceeds_data();
    void dbActionSucceeds();
    void dbActionFails_data();
    void dbActionFails();
    void dbChooserCancelKeepsFolder();
    void dbPrefill_data();
    void dbPrefill();
    void dbHelpText();
    void dbCloseChangesNothing();

    void intervalOkApplies_data();
    void intervalOkApplies();
    void intervalOkRefusesNonNumber();
    void intervalCancelChangesNothing_data();
    void intervalCancelChangesNothing();
    void intervalEnterDoesNotPressButton();
    void intervalArrowsClamp_data();
    void intervalArrowsClamp();

private:
    void setFolders(const QStringList& answers);
    void typeInterval(QSpinBox* spin, const QString& text);

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<LibraryData> m_data;
    std::unique_ptr<ScriptedMessages> m_messages;
    QStringList m_folderAnswers;
    QStringList m_folderStarts;
    int m_connected = 0;
    QTimer m_timer;
};

void TestDatabaseDialog::init()
{
    m_env = std::make_unique<TestEnvironment>();
    m_data = std::make_unique<LibraryData>();
    m_folderAnswers.clear();
    m_folderStarts.clear();
    m_connected = 0;
    m_messages = std::make_unique<ScriptedMessages>();
    FileDialogs::setFolderHandler([this](const QString&, const QString& start) {
        m_folderStarts << start;
        return m_folderAnswers.isEmpty() ? QString() : m_folderAnswers.takeFirst();
    });
    m_timer.start(600 * 1000);
}

void TestDatabaseDialog::cleanup()
{
    m_timer.stop();
    QVERIFY2(m_messages->unexpected.isEmpty(), qPrintable(m_messages->unexpected.join(" | ")));
    QVERIFY2(m_messages->allAnswered(), qPrintable(m_messages->shown.join(" / ")));
    m_messages.reset();
    FileDialogs::setFolderHandler({});
    m_data.reset();
    m_env.reset();
}

void TestDatabaseDialog::setFolders(const QStringList& answers)
{
    m_folderAnswers = answers;
}

void TestDatabaseDialog::typeInterval(QSpinBox* spin, const QString& text)
{
    spin->setFocus();
    spin->selectAll();
    QTest::keyClick(spin, Qt::Key_Delete);
    QTest::keyClicks(spin, text);
}

// Both dialogs: fixed size, and a bottom bar running from the dialog grey to the bar colour.
void TestDatabaseDialog::look_data()
{
    QTest::addColumn<bool>("database");
    QTest::addColumn<QString>("title");
    QTest::newRow("Datenbank erstellen") << true << "Datenbank erstellen";
    QTest::newRow("Datenbankaktualisierung") << false << "Datenbankaktualisierung";
}

void TestDatabaseDialog::look()
{
    QFETCH(bool, database);
    QFETCH(QString, title);
    QWidget parent;
    parent.setGeometry(40, 60, 720, 520);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    std::unique_ptr<QDialog> dlg;
    if (database)
        dlg = std::make_unique<DatabaseDialog>(*m_data, nullptr, &parent);
    else
        dlg = std::make_unique<RefreshIntervalDialog>(&m_timer, &parent);
    dlg->show();
    QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
    QCOMPARE(dlg->windowTitle(), title);
    QVERIFY(dlg->isWindow());
    const QPoint offset = dlg->geometry().center() - parent.geometry().center();
    QVERIFY2(offset.manhattanLength() <= 4, qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));

    QCOMPARE(dlg->minimumSize(), dlg->maximumSize());
    QVERIFY(dlg->width() > 0 && dlg->height() > 0);
    // Every control fits in the fixed size.
    for (QWidget* w : dlg->findChildren<QWidget*>()) {
        if (w->isVisible())
            QVERIFY2(dlg->rect().contains(QRect(w->mapTo(dlg.get(), QPoint(0, 0)), w->size())),
                     qPrintable(w->objectName()));
    }

    auto* bar = child<GradientPanel>(dlg.get(), "GradientPanel1");
    QCOMPARE(bar->width(), dlg->width());
    const QImage image = bar->grab().toImage();
    const int y = image.height() / 2;
    const QColor left = image.pixelColor(0, y);
    const QColor right = image.pixelColor(image.width() - 1, y);
    QVERIFY2(nearColour(left, DialogLook::Background), qPrintable(left.name()));
    QVERIFY2(nearColour(right, DialogLook::DefaultBarColour), qPrintable(right.name()));

    bar->setOrientation(Qt::Vertical);
    const QImage vertical = bar->grab().toImage();
    const int x = vertical.width() / 2;
    QVERIFY(nearColour(vertical.pixelColor(x, 0), DialogLook::Background));
    QVERIFY(nearColour(vertical.pixelColor(x, vertical.height() - 1), DialogLook::DefaultBarColour));
}

// Erstellen in a fresh folder and Öffnen of an existing database: the folder comes from the
// chooser, the setting and the callback follow, and the dialog closes.
void TestDatabaseDialog::dbActionSucceeds_data()
{
    QTest::addColumn<QByteArray>("speedButton");
    QTest::addColumn<QByteArray>("edit");
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<bool>("existing");
    QTest::newRow("Erstellen") << QByteArray("SpeedButton1") << QByteArray("Edit1") << QByteArray("Button1") << false;
    QTest::newRow("Öffnen") << QByteArray("SpeedButton2") << QByteArray("Edit2") << QByteArray("Button2") << true;
}

void TestDatabaseDialog::dbActionSucceeds()
{
    QFETCH(QByteArray, speedButton);
    QFETCH(QByteArray, edit);
    QFETCH(QByteArray, button);
    QFETCH(bool, existing);

    const QString dir = m_env->dbDir();
    const QString file = SqliteEngine().databaseLocation(dir);
    if (existing)
        createLibraryDatabase(dir);
    QCOMPARE(QFileInfo::exists(file), existing);
    // The fields start elsewhere, so only the chosen folder can be used.
    const QString start = QDir(m_env->root()).filePath("start");
    QVERIFY(QDir().mkpath(start));
    Settings::WriteSettingString("DBPfad", start);

    DatabaseDialog dlg(
        *m_data, [this] { ++m_connected; }, nullptr);
    dlg.show();
    setFolders({dir});
    click(&dlg, speedButton.constData());
    QCOMPARE(child<QLineEdit>(&dlg, edit.constData())->text(), dir);

    click(&dlg, button.constData());
    QVERIFY2(m_messages->shown.isEmpty(), qPrintable(m_messages->shown.value(0)));
    QCOMPARE(m_connected, 1);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QVERIFY(!dlg.isVisible());
    QCOMPARE(Settings::ReadSettingString("DBPfad"), dir);
    QVERIFY(QFileInfo(file).isFile());
    QVERIFY(m_data->isOpen());
    QCOMPARE(m_data->database().directory(), dir);
}

// A refused folder: the German message is shown, the dialog stays open, the former database
// stays connected, nothing is written.
void TestDatabaseDialog::dbActionFails_data()
{
    QTest::addColumn<QByteArray>("speedButton");
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<bool>("existing");
    QTest::addColumn<QString>("message");
    QTest::newRow("Erstellen über vorhandener Datenbank")
        << QByteArray("SpeedButton1") << QByteArray("Button1") << true
        << QStringLiteral("Im Verzeichnis %1 gibt es bereits eine Datenbank. Sie wird nicht überschrieben.\n"
                          "Bitte öffnen Sie sie oder wählen Sie ein anderes Verzeichnis aus.");
    QTest::newRow("Öffnen ohne Datenbank")
        << QByteArray("SpeedButton2") << QByteArray("Button2") << false
        << QStringLiteral("Die Datenbankdatei wurde im Verzeichnis %1 nicht gefunden.\n"
                          "Bitte wählen Sie ein anderes Verzeichnis aus, um die Datenbank zu öffnen");
}

void TestDatabaseDialog::dbActionFails()
{
    QFETCH(QByteArray, speedButton);
    QFETCH(QByteArray, button);
    QFETCH(bool, existing);
    QFETCH(QString, message);

    const QString former = QDir(m_env->root()).filePath("former");
    QVERIFY(QDir().mkpath(former));
    createLibraryDatabase(former);
    QVERIFY(m_data->openAtStart(former));
    Settings::WriteSettingString("DBPfad", former);

    const QString dir = m_env->dbDir();
    const QString file = SqliteEngine().databaseLocation(dir);
    if (existing)
        createLibraryDatabase(dir);
    const QByteArray before = fileHash(file);
    const QStringList entriesBefore = QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    DatabaseDialog dlg(
        *m_data, [this] { ++m_connected; }, nullptr);
    dlg.show();
    setFolders({dir});
    click(&dlg, speedButton.constData());
    m_messages->expect(message.arg(dir));
    click(&dlg, button.constData());

    QCOMPARE(m_messages->shown.size(), 1);
    QCOMPARE(m_messages->kinds[0], Messages::Kind::Error);
    QCOMPARE(m_messages->shown[0], message.arg(dir));
    QVERIFY(dlg.isVisible());
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    QCOMPARE(m_connected, 0);
    QCOMPARE(Settings::ReadSettingString("DBPfad"), former);
    QCOMPARE(m_data->database().directory(), former);
    QCOMPARE(fileHash(file), before);
    QCOMPARE(QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), entriesBefore);
}

void TestDatabaseDialog::dbChooserCancelKeepsFolder()
{
    const QString shownDir = m_env->dbDir();
    Settings::WriteSettingString("DBPfad", shownDir);
    DatabaseDialog dlg(*m_data, nullptr, nullptr);
    dlg.show();

    for (const char* name : {"1", "2"}) {
        const QByteArray speed = QByteArray("SpeedButton") + name;
        const QByteArray edit = QByteArray("Edit") + name;
        m_folderStarts.clear();
        setFolders({QString()});
        click(&dlg, speed.constData());
        QCOMPARE(m_folderStarts, QStringList{shownDir}); // the chooser starts at the shown folder
        QCOMPARE(child<QLineEdit>(&dlg, edit.constData())->text(), shownDir);
    }
    QVERIFY(dlg.isVisible());
    QVERIFY(m_messages->shown.isEmpty());
}

void TestDatabaseDialog::dbPrefill_data()
{
    QTest::addColumn<bool>("stored");
    QTest::newRow("DBPfad gesetzt") << true;
    QTest::newRow("DBPfad leer") << false;
}

void TestDatabaseDialog::dbPrefill()
{
    QFETCH(bool, stored);
    const QString expected =
        stored ? m_env->dbDir()
               : QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    if (stored)
        Settings::WriteSettingString("DBPfad", expected);

    DatabaseDialog dlg(*m_data, nullptr, nullptr);
    dlg.show();
    for (const char* name : {"Edit1", "Edit2"}) {
        auto* edit = child<QLineEdit>(&dlg, name);
        QCOMPARE(edit->text(), expected);
        QVERIFY(edit->isReadOnly());
    }
}

void TestDatabaseDialog::dbHelpText()
{
    DatabaseDialog dlg(*m_data, nullptr, nullptr);
    dlg.show();
    m_messages->expect("Bitte wählen Sie ein (Netzwerk-)Verzeichnis aus");
    click(&dlg, "SRColorButton1");
    QCOMPARE(m_messages->shown.size(), 1);
    QCOMPARE(m_messages->kinds[0], Messages::Kind::Information);
    QCOMPARE(m_messages->shown[0].split('\n'),
             QStringList({"Bitte wählen Sie ein (Netzwerk-)Verzeichnis aus, für das Sie Schreibrechte haben.",
                          "Das Programm kann ansonsten die Datenbank nicht speichern.", "",
                          "Sollten Sie eine Fehlermeldung erhalten, starten Sie das Programm bitte erneut und "
                          "wählen ein gültiges Verzeichnis aus."}));
    QVERIFY(dlg.isVisible());
}

void TestDatabaseDialog::dbCloseChangesNothing()
{
    const QString dir = m_env->dbDir();
    DatabaseDialog dlg(
        *m_data, [this] { ++m_connected; }, nullptr);
    dlg.show();
    setFolders({dir});
    click(&dlg, "SpeedButton1");
    click(&dlg, "BSchliessen");
    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    QCOMPARE(m_connected, 0);
    QVERIFY(!m_data->isOpen());
    QVERIFY(!QFileInfo::exists(Settings::storePath()));
    QVERIFY(!QFileInfo::exists(SqliteEngine().databaseLocation(dir)));
}

// OK takes the typed number as it is, also outside the arrows' range; zero or less stops the
// timer for the run.
void TestDatabaseDialog::intervalOkApplies_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");
    QTest::addColumn<bool>("running");
    QTest::newRow("30") << "30" << 30 << true;
    QTest::newRow("über dem Bereich") << "20000" << 20000 << true;
    QTest::newRow("mit Leerzeichen") << " 45 " << 45 << true;
    QTest::newRow("0") << "0" << 0 << false;
    QTest::newRow("-5") << "-5" << -5 << false;
}

void TestDatabaseDialog::intervalOkApplies()
{
    QFETCH(QString, typed);
    QFETCH(int, stored);
    QFETCH(bool, running);
    Settings::WriteSettingInt("Refresh", 600);

    RefreshIntervalDialog dlg(&m_timer, nullptr);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    auto* spin = child<QSpinBox>(&dlg, "SEIntervall");
    QCOMPARE(spin->text(), "600");
    typeInterval(spin, typed);
    // Clicking OK takes the focus from the field; the typed text must survive that.
    click(&dlg, "BOK");

    QVERIFY2(m_messages->shown.isEmpty(), qPrintable(m_messages->shown.value(0)));
    QCOMPARE(m_timer.isActive(), running);
    if (running)
        QCOMPARE(m_timer.interval(), stored * 1000);
    QCOMPARE(Settings::ReadSettingInt("Refresh"), stored);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    QVERIFY(!dlg.isVisible());
}

void TestDatabaseDialog::intervalOkRefusesNonNumber()
{
    Settings::WriteSettingInt("Refresh", 600);
    RefreshIntervalDialog dlg(&m_timer, nullptr);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    auto* spin = child<QSpinBox>(&dlg, "SEIntervall");
    typeInterval(spin, "abc");
    QCOMPARE(spin->text(), "abc");
    m_messages->expect("ist kein gültiger ganzzahliger Wert");
    click(&dlg, "BOK");

    QCOMPARE(m_messages->shown.size(), 1);
    QCOMPARE(m_messages->kinds[0], Messages::Kind::Error);
    QCOMPARE(m_messages->shown[0], "„abc“ ist kein gültiger ganzzahliger Wert.");
    QVERIFY(dlg.isVisible());
    QCOMPARE(spin->text(), "abc");
    QVERIFY(m_timer.isActive());
    QCOMPARE(m_timer.interval(), 600 * 1000);
    QCOMPARE(Settings::ReadSettingInt("Refresh"), 600);

    // Corrected input is then taken.
    typeInterval(spin, "90");
    click(&dlg, "BOK");
    QCOMPARE(m_timer.interval(), 90 * 1000);
    QCOMPARE(Settings::ReadSettingInt("Refresh"), 90);
    QVERIFY(!dlg.isVisible());
}

void TestDatabaseDialog::intervalCancelChangesNothing_data()
{
    QTest::addColumn<int>("way");
    QTest::newRow("Abbrechen") << 0;
    QTest::newRow("Escape") << 1;
    QTest::newRow("Schließfeld") << 2;
}

void TestDatabaseDialog::intervalCancelChangesNothing()
{
    QFETCH(int, way);
    Settings::WriteSettingInt("Refresh", 600);
    RefreshIntervalDialog dlg(&m_timer, nullptr);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    auto* spin = child<QSpinBox>(&dlg, "SEIntervall");
    typeInterval(spin, "30");
    if (way == 0)
        click(&dlg, "BAbbrechen");
    else if (way == 1)
        QTest::keyClick(spin, Qt::Key_Escape);
    else
        dlg.close();

    QVERIFY(!dlg.isVisible());
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    QVERIFY(m_timer.isActive());
    QCOMPARE(m_timer.interval(), 600 * 1000);
    QCOMPARE(Settings::ReadSettingInt("Refresh"), 600);
    QVERIFY(m_messages->shown.isEmpty());
}

void TestDatabaseDialog::intervalEnterDoesNotPressButton()
{
    Settings::WriteSettingInt("Refresh", 600);
    RefreshIntervalDialog dlg(&m_timer, nullptr);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    auto* spin = child<QSpinBox>(&dlg, "SEIntervall");
    typeInterval(spin, "abc");
    QTest::keyClick(spin, Qt::Key_Return);
    QVERIFY(dlg.isVisible());
    QVERIFY(m_messages->shown.isEmpty());
    QCOMPARE(spin->text(), "abc");
    QCOMPARE(Settings::ReadSettingInt("Refresh"), 600);
}

// The arrows keep within 1..10000, whatever was typed.
void TestDatabaseDialog::intervalArrowsClamp_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("expected");
    QTest::newRow("auf an der Obergrenze") << "10000" << int(Qt::Key_Up) << "10000";
    QTest::newRow("ab an der Untergrenze") << "1" << int(Qt::Key_Down) << "1";
    QTest::newRow("auf zur Obergrenze") << "9999" << int(Qt::Key_Up) << "10000";
    QTest::newRow("ab zur Untergrenze") << "2" << int(Qt::Key_Down) << "1";
    QTest::newRow("auf innerhalb") << "600" << int(Qt::Key_Up) << "601";
    QTest::newRow("auf von 0") << "0" << int(Qt::Key_Up) << "1";
    QTest::newRow("ab von 20000") << "20000" << int(Qt::Key_Down) << "10000";
}

void TestDatabaseDialog::intervalArrowsClamp()
{
    QFETCH(QString, start);
    QFETCH(int, key);
    QFETCH(QString, expected);
    RefreshIntervalDialog dlg(&m_timer, nullptr);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    auto* spin = child<QSpinBox>(&dlg, "SEIntervall");
    typeInterval(spin, start);
    QTest::keyClick(spin, Qt::Key(key));
    QCOMPARE(spin->text(), expected);
    // Stepping directly (mouse wheel, arrow buttons) clamps the same way.
    typeInterval(spin, start);
    spin->stepBy(key == Qt::Key_Up ? 1 : -1);
    QCOMPARE(spin->text(), expected);
}

QTEST_MAIN(TestDatabaseDialog)
#include "tst_databasedialog.moc"
