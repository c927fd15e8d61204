#include "SettingsRegFile.h"

#include "datastore/DataError.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QtEndian>

namespace SettingsRegFile {

namespace {

const auto HeaderLine = QStringLiteral("Windows Registry Editor Version 5.00");
const auto LineEnd = QStringLiteral("\r\n");
// The editor keeps hex lines within 80 columns and continues them after a backslash.
constexpr qsizetype HexLineWidth = 77;

QString tr(const char* text)
{
    return QCoreApplication::translate("SettingsRegFile", text);
}

bool needsHex(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() < 0x20)
            return true;
    return false;
}

QString quoted(const QString& text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += u'"';
    for (QChar c : text) {
        if (c == u'\\' || c == u'"')
            out += u'\\';
        out += c;
    }
    out += u'"';
    return out;
}

// hex(1): the text as UTF-16 LE bytes with the terminating zero, as the string type stores it.
QString hexString(const QString& prefix, const QString& text)
{
    QString out = prefix + QStringLiteral("hex(1):");
    qsizetype lineLength = out.size();
    QList<char16_t> units(text.utf16(), text.utf16() + text.size());
    units.append(0);
    bool first = true;
    for (char16_t unit : units) {
        for (int b : {unit & 0xFF, unit >> 8}) {
            if (!first) {
                out += u',';
                ++lineLength;
                if (lineLength + 3 > HexLineWidth) {
                    out += QStringLiteral("\\\r\n  ");
                    lineLength = 2;
                }
            }
            first = false;
            out += QStringLiteral("%1").arg(b, 2, 16, QChar(u'0'));
            lineLength += 2;
        }
    }
    return out;
}

[[noreturn]] void damaged(int line, const QString& reason)
{
    throw DataError(tr("Zeile %1: %2").arg(line).arg(reason));
}

struct Line
{
    int number;
    QString text;
};

// Reads a quoted text starting at pos (on the opening quote); pos ends after the closing quote.
QString readQuoted(const Line& line, qsizetype& pos)
{
    QString out;
    const QString& s = line.text;
    for (++pos; pos < s.size(); ++pos) {
        const QChar c = s.at(pos);
        if (c == u'"') {
            ++pos;
            return out;
        }
        if (c == u'\\') {
            if (++pos >= s.size())
                break;
            const QChar next = s.at(pos);
            if (next != u'\\' && next != u'"')
                damaged(line.number, tr("unbekannte Schreibweise „\\%1“").arg(next));
            out += next;
        } else {
            out += c;
        }
    }
    damaged(line.number, tr("ein Anführungszeichen fehlt"));
}

// Parses the hex bytes of a value, continued over following lines after a final backslash.
QByteArray readHexBytes(const QList<Line>& lines, qsizetype& index, QString data)
{
    const int first = lines.at(index).number;
    QByteArray bytes;
    while (true) {
        const bool continued = data.endsWith(u'\\');
        if (continued)
            data.chop(1);
        for (const QString& part : data.split(u',', Qt::SkipEmptyParts)) {
            bool ok = false;
            const QString digits = part.trimmed();
            const uint byte = digits.toUInt(&ok, 16);
            if (!ok || digits.size() > 2 || byte > 0xFF)
                damaged(lines.at(index).number, tr("„%1“ ist kein Byte").arg(digits));
            bytes.append(char(byte));
        }
        if (!continued)
            return bytes;
        if (++index >= lines.size())
            damaged(first, tr("der Wert bricht am Dateiende ab"));
        data = lines.at(index).text;
    }
}

QString textFromHex(const QByteArray& bytes, int line)
{
    if (bytes.size() % 2 != 0)
        damaged(line, tr("der Text hat eine ungerade Zahl von Bytes"));
    QString text;
    text.reserve(bytes.size() / 2);
    for (qsizetype i = 0; i < bytes.size(); i += 2)
        text += QChar(char16_t(uchar(bytes[i]) | (uchar(bytes[i + 1]) << 8)));
    if (text.endsWith(QChar(0)))
        text.chop(1);
    return text;
}

Settings::SettingEntry parseValue(const QList<Line>& lines, qsizetype& index)
{
    const Line& line = lines.at(index);
    if (line.text.startsWith(u'@'))
        damaged(line.number, tr("ein Standardwert ohne Namen gehört nicht zu den Einstellungen"));
    if (!line.text.startsWith(u'"'))
        damaged(line.number, tr("die Zeile ist weder ein Schlüssel noch ein Wert"));
    qsizetype pos = 0;
    Settings::SettingEntry entry;
    entry.name = readQuoted(line, pos);
    if (pos >= line.text.size() || line.text.at(pos) != u'=')
        damaged(line.number, tr("nach dem Namen fehlt „=“"));
    const QString data = line.text.mid(pos + 1);

    if (data.startsWith(u'"')) {
        qsizetype valuePos = 0;
        const Line valueLine{line.number, data};
        entry.value = readQuoted(valueLine, valuePos);
        if (valuePos != data.size())
            damaged(line.number, tr("nach dem Text steht noch etwas"));
    } else if (data.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
        const QString digits = data.mid(6);
        bool ok = false;
        const uint number = digits.toUInt(&ok, 16);
        if (!ok || digits.isEmpty() || digits.size() > 8 || digits.startsWith(u'+') || digits.startsWith(u'-'))
            damaged(line.number, tr("„%1“ ist keine Zahl in acht Hex-Ziffern").arg(digits));
        entry.value = qint32(number); // the editor's dword holds the same 32 bits as our integer
    } else if (data.startsWith(QLatin1String("hex(1):"), Qt::CaseInsensitive) ||
               data.startsWith(QLatin1String("hex(2):"), Qt::CaseInsensitive)) {
        // hex(2), an expandable text, is taken as stored, without expanding it.
        entry.value = textFromHex(readHexBytes(lines, index, data.mid(7)), line.number);
    } else if (data == u'-') {
        damaged(line.number, tr("das Löschen eines Werts wird nicht übernommen"));
    } else {
        damaged(line.number, tr("der Wert „%1“ hat einen Typ, den die Einstellungen nicht kennen").arg(entry.name));
    }
    return entry;
}

} // namespace

QByteArray serialise(const QList<Settings::SettingEntry>& entries)
{
    QString text = HeaderLine + LineEnd + LineEnd + u'[' + KeyName + u']' + LineEnd;
    for (const Settings::SettingEntry& entry : entries) {
        if (needsHex(entry.name))
            throw DataError(
                tr("Der Name der Einstellung „%1“ enthält ein Steuerzeichen und kann nicht gesichert werden.")
                    .arg(entry.name));
        const QString prefix = quoted(entry.name) + u'=';
        if (const auto* value = std::get_if<QString>(&entry.value)) {
            text += needsHex(*value) ? hexString(prefix, *value) : prefix + quoted(*value);
        } else {
            const auto number = quint32(std::get<qint32>(entry.value));
            text += prefix + QStringLiteral("dword:%1").arg(number, 8, 16, QChar(u'0'));
        }
        text += LineEnd;
    }
    text += LineEnd;

    QByteArray out("\xFF\xFE", 2);
    out.reserve(2 + text.size() * 2);
    for (QChar c : text) {
        const char16_t unit = qToLittleEndian(c.unicode());
        out.append(reinterpret_cast<const char*>(&unit), 2);
    }
    return out;
}

QList<Settings::SettingEntry> parse(const QByteArray& content)
{
    if (!content.startsWith("\xFF\xFE"))
        damaged(1, tr("die Datei ist nicht als UTF-16 mit Byte-Order-Mark geschrieben"));
    if (content.size() % 2 != 0)
        damaged(1, tr("die Datei endet mitten in einem Zeichen"));
    // Decoded unit by unit, so that every text comes back exactly as it was written.
    QString text;
    text.reserve(content.size() / 2);
    for (qsizetype i = 2; i < content.size(); i += 2)
        text += QChar(qFromLittleEndian<char16_t>(content.constData() + i));

    QList<Line> lines;
    int number = 0;
    for (QString lineText : text.split(u'\n')) {
        ++number;
        if (lineText.endsWith(u'\r'))
            lineText.chop(1);
        lines.append({number, lineText});
    }
    if (lines.isEmpty() || lines.first().text != HeaderLine)
        damaged(1, tr("die erste Zeile ist nicht „%1“").arg(HeaderLine));

    QList<Settings::SettingEntry> entries;
    bool inKey = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const Line& line = lines.at(i);
        if (line.text.isEmpty() || line.text.startsWith(u';'))
            continue;
        if (line.text.startsWith(u'[')) {
            if (!line.text.endsWith(u']'))
                damaged(line.number, tr("die Schlüsselzeile endet nicht mit „]“"));
            const QString key = line.text.mid(1, line.text.size() - 2);
            if (key.compare(KeyName, Qt::CaseInsensitive) != 0)
                damaged(line.number,
                        tr("der Schlüssel „%1“ gehört nicht zu den Einstellungen dieses Programms").arg(key));
            inKey = true;
            continue;
        }
        if (!inKey)
            damaged(line.number, tr("vor dem ersten Wert fehlt der Schlüssel"));
        Settings::SettingEntry entry = parseValue(lines, i);
        // A name given twice: the later line wins, as in the editor's import.
        entries.removeIf([&](const Settings::SettingEntry& e) { return e.name == entry.name; });
        entries.append(std::move(entry));
    }
    return entries;
}

void exportTo(const QString& path)
{
    const QByteArray content = serialise(Settings::AllSettings());
    QSaveFile file(path);
    const auto fail = [&](const QString& reason) {
        throw DataError(tr("Die Einstellungen konnten nicht in %1 gespeichert werden: %2").arg(path, reason));
    };
    // Unbuffered: a buffered flush on commit() could take a short write (disk full) for success.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fail(file.errorString());
    if (file.write(content) != content.size()) {
        const QString reason =
            file.error() != QFileDevice::NoError ? file.errorString() : tr("der Datenträger ist voll");
        file.cancelWriting();
        fail(reason);
    }
    if (!file.commit())
        fail(file.errorString());
}

QList<Settings::SettingEntry> readFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DataError(tr("Die Einstellungsdatei %1 kann nicht gelesen werden: %2").arg(path, file.errorString()));
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw DataError(tr("Die Einstellungsdatei %1 kann nicht gelesen werden: %2").arg(path, file.errorString()));
    try {
        return parse(content);
    } catch (const DataError& e) {
        throw DataError(tr("Die Einstellungsdatei %1 ist beschädigt: %2").arg(path, e.message()));
    }
}

} // namespace SettingsRegFile
