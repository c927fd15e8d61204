#include "LibraryBackup.h"

#include "SettingsRegFile.h"
#include "common/Formats.h"
#include "datastore/DataError.h"
#include "datastore/LibraryData.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUuid>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

const QString& BackupFolderSetting = SettingName::Sicherung;
const QString& DatabaseFolderSetting = SettingName::DBPfad;
const auto PreviousSuffix = QStringLiteral(".vorher");

QString tr(const char* text)
{
    return QCoreApplication::translate("LibraryBackup", text);
}

QString dateTimeText(const QDateTime& time)
{
    return Formats::formatDate(time) + u' ' + time.toString(QStringLiteral("HH:mm"));
}

// A file being built; removed unless it was moved into place.
class TempFile
{
public:
    explicit TempFile(const QString& folder, const QString& stem)
        : m_path(
              QDir(folder).filePath(QStringLiteral(".%1-%2.tmp").arg(stem, QUuid::createUuid().toString(QUuid::Id128))))
    {
    }
    ~TempFile()
    {
        if (!m_path.isEmpty()) {
            QFile::remove(m_path);
            QFile::remove(m_path + QStringLiteral("-journal"));
        }
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const QString& path() const { return m_path; }

    // Replaces the target in one step (an existing target stays whole when this fails).
    void moveTo(const QString& target)
    {
        std::error_code error;
        std::filesystem::rename(std::filesystem::path(m_path.toStdU16String()),
                                std::filesystem::path(target.toStdU16String()), error);
        if (error)
            throw DataError(tr("Die Datei %1 konnte nicht geschrieben werden: %2")
                                .arg(target, QString::fromLocal8Bit(error.message())));
        m_path.clear();
    }

private:
    QString m_path;
};

bool sameFolder(const QString& a, const QString& b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

} // namespace

QString LibraryBackup::withSeparator(const QString& folder)
{
    if (folder.isEmpty() || folder.endsWith(u'/') || folder.endsWith(QDir::separator()))
        return folder;
    return folder + QDir::separator();
}

QString LibraryBackup::replaceQuestion(const QString& folder, const QDateTime& existingBackup)
{
    return tr("Im Ordner %1 liegt schon eine Sicherung vom %2. Ersetzen?").arg(folder, dateTimeText(existingBackup));
}

QString LibraryBackup::backupDoneText(const BackupSet& set)
{
    return tr("Sicherung abgeschlossen.\n\nOrdner: %1\nZeit: %2\nBücher: %3\nLeser: %4\nAusleihen: %5")
        .arg(set.folder, dateTimeText(set.time))
        .arg(set.contents.books)
        .arg(set.contents.readers)
        .arg(set.contents.loans);
}

QString LibraryBackup::restoreQuestion(const BackupSet& set)
{
    QString text = tr("Die Sicherung im Ordner %1 vom %2 enthält %3 Bücher, %4 Leser und %5 Ausleihen.")
                       .arg(set.folder, dateTimeText(set.time))
                       .arg(set.contents.books)
                       .arg(set.contents.readers)
                       .arg(set.contents.loans);
    if (!set.hasSettings)
        text += u' ' + tr("Einstellungen enthält sie nicht (die Datei %1 fehlt).").arg(SettingsRegFile::FileName);
    return text + QStringLiteral("\n\n") +
           tr("Beim Zurücklesen der Datenbank werden alle jetzigen Daten mit der zurückgelesenen Version "
              "überschrieben! Sind Sie sicher?");
}

QString LibraryBackup::restoreDoneText(const BackupSet& set) const
{
    QString text = tr("Die Datenbank wurde zurückgelesen: %1 Bücher, %2 Leser, %3 Ausleihen.\n"
                      "Die bisherige Datenbank liegt als %4.")
                       .arg(set.contents.books)
                       .arg(set.contents.readers)
                       .arg(set.contents.loans)
                       .arg(QDir::toNativeSeparators(previousDatabasePath()));
    if (set.hasSettings)
        text += u'\n' + tr("Die Einstellungen wurden zurückgelesen.");
    return text;
}

QString LibraryBackup::previousDatabasePath() const
{
    const Database& db = m_data.database();
    return db.engine().databaseLocation(db.directory()) + PreviousSuffix;
}

std::optional<BackupSet> LibraryBackup::backup(const QString& folderText, const ReplaceQuestion& replaceExisting)
{
    Database& db = m_data.database();
    const QString folder = withSeparator(folderText.trimmed());
    const auto failed = [&](const QString& reason) {
        return DataError(tr("Die Sicherung in den Ordner %1 ist fehlgeschlagen: %2\n"
                            "Eine frühere Sicherung dort bleibt unverändert.")
                             .arg(folder, reason));
    };
    if (folder.isEmpty())
        throw DataError(tr("Bitte geben Sie den Ordner an, in den gesichert werden soll."));
    if (!QFileInfo(folder).isDir())
        throw DataError(tr("Den Ordner %1 gibt es nicht. Bitte wählen Sie einen vorhandenen Ordner aus.").arg(folder));
    if (!db.isOpen())
        throw DataError(tr("Es ist keine Datenbank geöffnet, die gesichert werden könnte."));
    // A backup there would replace the database file itself.
    if (sameFolder(folder, db.directory()))
        throw DataError(tr("Der Ordner %1 enthält die Datenbank selbst. Bitte wählen Sie für die Sicherung einen "
                           "anderen Ordner, am besten auf einem anderen Datenträger.")
                            .arg(folder));

    const SqlEngine& engine = db.engine();
    const QString target = engine.databaseLocation(folder);
    const QFileInfo existing(target);
    if (existing.exists() && !replaceExisting(existing.lastModified()))
        return std::nullopt;

    BackupSet set;
    set.folder = folder;
    try {
        // The settings file names this folder as the last backup, as the store will after success.
        QList<Settings::SettingEntry> settings = Settings::AllSettings();
        const auto byName = [](const Settings::SettingEntry& e, const QString& name) { return e.name < name; };
        const auto at = std::lower_bound(settings.begin(), settings.end(), BackupFolderSetting, byName);
        if (at != settings.end() && at->name == BackupFolderSetting)
            at->value = folder;
        else
            settings.insert(at, {BackupFolderSetting, folder});
        const QByteArray regContent = SettingsRegFile::serialise(settings);

        TempFile copy(folder, QStringLiteral("sicherung"));
        engine.copyDatabase(db.connection(), copy.path());
        set.contents = engine.inspectDatabaseFile(copy.path());

        // Both files are complete before either replaces the old backup.
        QSaveFile reg(QDir(folder).filePath(SettingsRegFile::FileName));
        if (!reg.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            throw DataError(reg.errorString());
        if (reg.write(regContent) != regContent.size()) {
            const QString reason =
                reg.error() != QFileDevice::NoError ? reg.errorString() : tr("der Datenträger ist voll");
            reg.cancelWriting();
            throw DataError(reason);
        }
        copy.moveTo(target);
        if (!reg.commit())
            throw DataError(
                tr("die Datenbank ist gesichert, die Einstellungen aber nicht (%1)").arg(reg.errorString()));
    } catch (const DataError& e) {
        throw failed(e.message());
    }
    set.time = QFileInfo(target).lastModified();
    set.hasSettings = true;
    Settings::WriteSettingString(BackupFolderSetting, folder);
    return set;
}

BackupSet LibraryBackup::checkRestore(const QString& folderText) const
{
    const QString folder = withSeparator(folderText.trimmed());
    if (folder.isEmpty())
        throw DataError(tr("Bitte geben Sie den Ordner an, aus dem zurückgelesen werden soll."));
    const SqlEngine& engine = m_data.database().engine();
    const QString source = engine.databaseLocation(folder);
    if (!QFileInfo(source).isFile())
        throw DataError(tr("Im Ordner %1 liegt keine Sicherung der Datenbank (die Datei %2 fehlt).\n"
                           "Es wurde nichts verändert.")
                            .arg(folder, QFileInfo(source).fileName()));
    if (m_data.database().isOpen() && sameFolder(folder, m_data.database().directory()))
        throw DataError(tr("Der Ordner %1 enthält die geöffnete Datenbank selbst und keine Sicherung.\n"
                           "Es wurde nichts verändert.")
                            .arg(folder));

    BackupSet set;
    set.folder = folder;
    set.time = QFileInfo(source).lastModified();
    try {
        set.contents = engine.inspectDatabaseFile(source);
        const QString regPath = QDir(folder).filePath(SettingsRegFile::FileName);
        if (QFileInfo::exists(regPath)) {
            set.settings = SettingsRegFile::readFile(regPath);
            set.hasSettings = true;
        }
    } catch (const DataError& e) {
        throw DataError(
            tr("Die Sicherung im Ordner %1 kann nicht zurückgelesen werden.\n%2\nEs wurde nichts verändert.")
                .arg(folder, e.message()));
    }
    return set;
}

void LibraryBackup::restore(const BackupSet& set)
{
    Database& db = m_data.database();
    if (!db.isOpen())
        throw DataError(tr("Es ist keine Datenbank geöffnet. Bitte öffnen oder erstellen Sie zuerst eine Datenbank; "
                           "danach kann die Sicherung in sie zurückgelesen werden."));
    const SqlEngine& engine = db.engine();
    const QString source = engine.databaseLocation(set.folder);

    // The state before the restore stays at hand, as a consistent copy.
    try {
        TempFile previous(db.directory(), QStringLiteral("vorher"));
        engine.copyDatabase(db.connection(), previous.path());
        previous.moveTo(previousDatabasePath());
    } catch (const DataError& e) {
        throw DataError(tr("Die jetzige Datenbank konnte nicht als %1 aufbewahrt werden; es wurde nichts "
                           "zurückgelesen.\n%2")
                            .arg(previousDatabasePath(), e.message()));
    }

    m_data.closeAll();
    QString failure;
    try {
        engine.replaceContents(db.connection(), source);
    } catch (const DataError& e) {
        failure = e.message();
    }
    // Open again in the order of the start, whether the rows were replaced or not.
    for (RecordSet* rs : {&m_data.books(), &m_data.loans(), &m_data.readers(), &m_data.blob()})
        rs->open();
    if (!failure.isEmpty())
        throw DataError(tr("%1\nDie Datenbank ist unverändert.").arg(failure));

    if (set.hasSettings) {
        // The restored rows live in the current folder; a folder from the backup's time would
        // make the next start open another database.
        QList<Settings::SettingEntry> settings = set.settings;
        settings.removeIf([](const Settings::SettingEntry& e) { return e.name == DatabaseFolderSetting; });
        try {
            Settings::WriteSettings(settings);
        } catch (const DataError& e) {
            throw DataError(
                tr("Die Datenbank wurde zurückgelesen, die Einstellungen aber nicht:\n%1").arg(e.message()));
        }
    }
}
