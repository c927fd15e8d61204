// The backup dialog as users meet it, opened from the main window's menu: folder fields, the
// questions, a backup, and a restore whose data and settings the main window shows at once.
#include "GuiFixture.h"
#include "common/gui/FileDialogs.h"
#include "datastore/LibraryData.h"
#include "datastore/RecordSetModel.h"
#include "datastore/Settings.h"
#include "maintenance/BackupDialog.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/WindowSet.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

QByteArray digest(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

// Replaces the field's text by typing, as a user does.
void typeInto(QWidget* dialog, const char* name, const QString& text)
{
    auto* edit = child<QLineEdit>(dialog, name);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

QStringList column(RecordSetModel* model, int column)
{
    QStringList texts;
    for (int r = 0; r < model->rowCount(); ++r)
        texts << model->index(r, column).data().toString();
    return texts;
}

} // namespace

class TestBackupDialog : public QObject
{
    Q_OBJECT

    std::unique_ptr<GuiFixture> fixture;
    std::unique_ptr<FixtureWriter> fx;
    QStringList folderAnswers;

    MainWindow* start() { return fixture->start(); }

    bool started()
    {
        MainWindow* m = fixture->main();
        return m->refreshTimer()->isActive() && QTest::qWaitFor([m] { return QApplication::activeWindow() == m; });
    }

    QString folder(const QString& name)
    {
        const QString path = fixture->env.root() + u'/' + name;
        QDir().mkpath(path);
        return path;
    }

    // Opens the dialog from the menu and runs `act` in it; the dialog must be closed afterwards.
    void throughMenu(const std::function<void(QWidget*)>& act)
    {
        QDialog* dialog = fixture->windows->backupDialog;
        auto ran = whenModal("TDatenSichernF", [&](QWidget* dlg) {
            const auto closeAtEnd = qScopeGuard([dlg] {
                if (dlg->isVisible())
                    dlg->close();
            });
            act(dlg);
        });
        QVERIFY(triggerAction(fixture->main(), "actSichern"));
        QVERIFY(*ran);
        QVERIFY(!dialog->isVisible());
    }

private slots:
    void init()
    {
        fixture = std::make_unique<GuiFixture>();
        fixture->createLibrary();
        fx = std::make_unique<FixtureWriter>(fixture->env.dbDir());
        fx->insert("Buecher", {{"Verfasser", "Zweig"}, {"Titel", "Schachnovelle"}});
        fx->insert("Buecher", {{"Verfasser", "Kästner"}, {"Titel", "Emil"}});
        folderAnswers.clear();
        FileDialogs::setFolderHandler([this](const QString&, const QString&) {
            return folderAnswers.isEmpty() ? QString() : folderAnswers.takeFirst();
        });
    }

    void cleanup()
    {
        const QString problems = fixture->finish();
        FileDialogs::setFolderHandler({});
        fx.reset();
        fixture.reset();
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void folderFieldsTakeTypedAndChosenFolders()
    {
        start();
        QTRY_VERIFY(started());
        const QString chosen = folder("gewählt");
        throughMenu([&](QWidget* dlg) {
            QCOMPARE(dlg->windowTitle(), QStringLiteral("Datenbank sichern"));
            auto* backup = child<QPushButton>(dlg, "Button1");
            auto* restore = child<QPushButton>(dlg, "Button3");
            QCOMPARE(child<QLineEdit>(dlg, "Edit1")->text(), QDir::toNativeSeparators(QDir::rootPath()));
            QVERIFY(backup->isEnabled() && restore->isEnabled());

            typeInto(dlg, "Edit1", "   ");
            QVERIFY(!backup->isEnabled());
            QVERIFY(restore->isEnabled());
            typeInto(dlg, "Edit2", "");
            QVERIFY(!restore->isEnabled());

            folderAnswers << chosen;
            click(dlg, "SpeedButton1");
            QCOMPARE(child<QLineEdit>(dlg, "Edit1")->text(), chosen);
            QVERIFY(backup->isEnabled());
            click(dlg, "SpeedButton2"); // cancelled: the field keeps its text
            QCOMPARE(child<QLineEdit>(dlg, "Edit2")->text(), QString());
            click(dlg, "BSchliessen");
        });
    }

    void backupFromTheMenuAfterARefresh()
    {
        MainWindow* m = start();
        QTRY_VERIFY(started());
        // Another workstation adds a book; the menu refreshes before the dialog opens.
        fx->insert("Buecher", {{"Titel", "Von nebenan"}});
        const QString target = folder("stick");
        throughMenu([&](QWidget* dlg) {
            QCOMPARE(m->gridModel(MainTab::Books)->rowCount(), 3);
            typeInto(dlg, "Edit1", target);
            fixture->messages.expect("Bücher: 3\nLeser: 0\nAusleihen: 0");
            click(dlg, "Button1");
            QCOMPARE(child<QLineEdit>(dlg, "Edit1")->text(), target + u'/');
        });
        QVERIFY(fixture->messages.shown.last().startsWith("Sicherung abgeschlossen"));
        QVERIFY(QFile::exists(target + "/db.sqlite") && QFile::exists(target + "/einstellungen.reg"));

        // The next opening offers the folder for both actions; "Nein" keeps the older backup.
        const QByteArray before = digest(target + "/db.sqlite");
        throughMenu([&](QWidget* dlg) {
            QCOMPARE(child<QLineEdit>(dlg, "Edit1")->text(), target + u'/');
            QCOMPARE(child<QLineEdit>(dlg, "Edit2")->text(), target + u'/');
            fixture->messages.expect("liegt schon eine Sicherung vom", Messages::Answer::No);
            click(dlg, "Button1");
            QVERIFY(dlg->isVisible());
            click(dlg, "BSchliessen");
        });
        QCOMPARE(digest(target + "/db.sqlite"), before);
    }

    void restoreShowsDataAndSettingsAtOnce()
    {
        Settings::WriteSettingInt(SettingName::Height, 600);
        Settings::WriteSettingInt(SettingName::Width, 760);
        Settings::WriteSettingString(SettingName::SortBuecher, "Titel");
        MainWindow* m = start();
        QTRY_VERIFY(started());
        QTableView* books = m->grid(MainTab::Books);
        const int titleColumn = 2;
        const QString widthName =
            "BreiteA" + m->gridModel(MainTab::Books)->headerData(titleColumn, Qt::Horizontal).toString();
        Settings::WriteSettingInt(widthName, 123); // as stored when the window was last closed
        QCOMPARE(m->size(), QSize(760, 600));

        const QString source = folder("stick");
        throughMenu([&](QWidget* dlg) {
            typeInto(dlg, "Edit1", source);
            fixture->messages.expect("Sicherung abgeschlossen");
            click(dlg, "Button1");
        });

        // Afterwards the library and the window change.
        fx->insert("Buecher", {{"Verfasser", "Fontane"}, {"Titel", "Effi Briest"}});
        m->resize(800, 550);
        m->data().books().setIndexFieldNames("ID");
        books->horizontalHeader()->resizeSection(titleColumn, 77);
        Settings::WriteSettingInt(widthName, 77);

        // "Nein" changes nothing.
        throughMenu([&](QWidget* dlg) {
            fixture->messages.expect("enthält 2 Bücher, 0 Leser und 0 Ausleihen", Messages::Answer::No);
            click(dlg, "Button3");
            QVERIFY(dlg->isVisible());
            click(dlg, "BSchliessen");
        });
        QCOMPARE(m->gridModel(MainTab::Books)->rowCount(), 3);
        QVERIFY(!QFile::exists(fixture->env.dbDir() + "/db.sqlite.vorher"));

        throughMenu([&](QWidget* dlg) {
            fixture->messages.expect("Sind Sie sicher?", Messages::Answer::Yes);
            fixture->messages.expect("Die Datenbank wurde zurückgelesen");
            click(dlg, "Button3");
        });
        // The lists show the backup, in its sort order, with its widths, in its window size.
        QCOMPARE(column(m->gridModel(MainTab::Books), titleColumn), (QStringList{"Emil", "Schachnovelle"}));
        QCOMPARE(m->data().books().indexFieldNames(), QStringLiteral("Titel"));
        QCOMPARE(books->columnWidth(titleColumn), 123);
        QCOMPARE(m->size(), QSize(760, 600));
        // The former state is kept beside the database.
        {
            const QString kept = folder("vorher");
            QVERIFY(QFile::copy(fixture->env.dbDir() + "/db.sqlite.vorher", kept + "/db.sqlite"));
            FixtureWriter old(kept);
            QCOMPARE(old.scalar("SELECT count(*) FROM Buecher").toInt(), 3);
        }

        // Closing stores what is shown: the restored values.
        m->close();
        QCOMPARE(Settings::ReadSettingInt(SettingName::Height), 600);
        QCOMPARE(Settings::ReadSettingInt(SettingName::Width), 760);
        QCOMPARE(Settings::ReadSettingString(SettingName::SortBuecher), QStringLiteral("Titel"));
        QCOMPARE(Settings::ReadSettingInt(widthName), 123);
    }

    void brokenBackupChangesNothing()
    {
        MainWindow* m = start();
        QTRY_VERIFY(started());
        const QString source = folder("kaputt");
        {
            QFile f(source + "/db.sqlite");
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(5000, 'x'));
        }
        const QByteArray before = digest(fixture->env.dbDir() + "/db.sqlite");
        throughMenu([&](QWidget* dlg) {
            typeInto(dlg, "Edit2", source);
            fixture->messages.expect("Es wurde nichts verändert");
            click(dlg, "Button3");
            QVERIFY(dlg->isVisible());
            click(dlg, "BSchliessen");
        });
        QCOMPARE(digest(fixture->env.dbDir() + "/db.sqlite"), before);
        QCOMPARE(m->gridModel(MainTab::Books)->rowCount(), 2);
        QVERIFY(!QFile::exists(fixture->env.dbDir() + "/db.sqlite.vorher"));
    }
};

QTEST_MAIN(TestBackupDialog)
#include "tst_backupdialog.moc"
