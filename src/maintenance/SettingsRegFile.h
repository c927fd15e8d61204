#pragma once

#include "datastore/Settings.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The settings as a registry editor's export file ("einstellungen.reg"): UTF-16 LE with a
// byte-order mark, CR LF lines, the version line, one key line, then one line per value.
// Texts are written as "Name"="Text"; a text holding a line break or another control character
// is written as hex(1) (the same string type, as UTF-16 bytes), which survives the editor's
// import; integers are dword in eight hex digits.
namespace SettingsRegFile {

inline const QString FileName = QStringLiteral("einstellungen.reg");
inline const QString KeyName = QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE\\Brindle Software\\Tomaris");

QByteArray serialise(const QList<Settings::SettingEntry>& entries);

// Reads a file of the format above (also the editor's own exports of the key). Anything it cannot
// take over exactly raises DataError with a German message naming the line.
QList<Settings::SettingEntry> parse(const QByteArray& content);

// Writes every stored setting into the file, replacing it whole or not at all. Throws DataError.
void exportTo(const QString& path);
// Reads the file whole and checks it; nothing is written here. Throws DataError.
QList<Settings::SettingEntry> readFile(const QString& path);

} // namespace SettingsRegFile
