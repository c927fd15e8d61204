#pragma once

#include <QList>
#include <QString>
#include <variant>

// Per-user settings of this workstation: a flat set of named values, each either a text or a
// signed 32-bit integer. Nothing is cached: every read goes to the store, every write at once.
//
// Backing: the file "$XDG_CONFIG_HOME/Brindle Software/Tomaris.conf" (XDG_CONFIG_HOME defaults
// to ~/.config), resolved on every call so that a test can move it by setting the variable.
namespace Settings {

// Write the value; raises DataError with a German message when the store cannot be written.
void WriteSettingString(const QString& name, const QString& value);
void WriteSettingInt(const QString& name, qint32 value);

// Never fail: 0 / "" when the value is absent, holds the other type, or anything goes wrong.
qint32 ReadSettingInt(const QString& name);
QString ReadSettingString(const QString& name);

// One stored value with its type, for exporting and importing the whole store.
struct SettingEntry
{
    QString name;
    std::variant<QString, qint32> value;

    bool operator==(const SettingEntry&) const = default;
};

// Every stored value, sorted by name. Unlike the single reads this one fails (DataError) when the
// store exists but cannot be read, so that a backup never saves an empty set by mistake.
QList<SettingEntry> AllSettings();
// Writes all the entries at once (one lock, one atomic save); values not listed stay as they are.
void WriteSettings(const QList<SettingEntry>& entries);

// Path of the backing file (for backup and for tests).
QString storePath();

} // namespace Settings

// Names of the settings values the program reads and writes, written once.
namespace SettingName {
inline const QString DBPfad = QStringLiteral("DBPfad");
inline const QString Refresh = QStringLiteral("Refresh"); // refresh interval in seconds
inline const QString SortBuecher = QStringLiteral("SortBuecher");
inline const QString SortLeser = QStringLiteral("SortLeser");
inline const QString WindowState = QStringLiteral("WindowState");
inline const QString Height = QStringLiteral("Height");
inline const QString Width = QStringLiteral("Width");
inline const QString Sicherung = QStringLiteral("Sicherung"); // last backup folder, with a final separator
// Printed lists: title and page-number switch of the book, reader and loan lists.
inline const QString DruckTitel = QStringLiteral("DruckTitel");
inline const QString SeitenzahlenDrucken = QStringLiteral("SeitenzahlenDrucken");
inline const QString DruckTitelLeser = QStringLiteral("DruckTitelLeser");
inline const QString DruckSeitenzahlenLeser = QStringLiteral("DruckSeitenzahlenLeser");
inline const QString DruckTitelAusleihliste = QStringLiteral("DruckTitelAusleihliste");
inline const QString DruckSeitenzahlenAusleihliste = QStringLiteral("DruckSeitenzahlenAusleihliste");
} // namespace SettingName
