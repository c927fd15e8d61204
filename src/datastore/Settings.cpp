#include "Settings.h"

#include "DataError.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <limits>
#include <map>
#include <optional>
#include <variant>

// File format (UTF-8), one value per line, sorted by name:
//   s:<name>=<text>
//   i:<name>=<decimal integer>
// Names and texts are escaped (\\ \= \n \r \t \uXXXX) so that any character survives and a
// line never contains a raw line break. Lines starting with '#' are comments; they and lines that
// do not parse are ignored and vanish with the next write.

namespace Settings {

namespace {

using Value = std::variant<QString, qint32>;
using Store = std::map<QString, Value>;

const auto OrganisationFolder = QStringLiteral("Brindle Software");
const auto FileName = QStringLiteral("Tomaris.conf");
const QByteArray HeaderLine = "# Tomaris settings (UTF-8): s:Name=Text or i:Name=Integer, escapes \\\\ \\= \\n \\r \\t "
                              "\\uXXXX\n";

// Lock timing: writers hold the lock for milliseconds; a lock this old was left behind.
constexpr int StaleLockMs = 10000;
constexpr int LockWaitMs = 5000;

QString configHome()
{
    // Follows the XDG rule: an unset, empty or relative value means ~/.config.
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return xdg;
    return QDir::homePath() + QStringLiteral("/.config");
}

QString hex4(char16_t unit)
{
    return QStringLiteral("\\u%1").arg(unsigned(unit), 4, 16, QChar(u'0'));
}

QString escape(const QString& text)
{
    QString out;
    out.reserve(text.size() + 8);
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        switch (c.unicode()) {
        case u'\\':
            out += QStringLiteral("\\\\");
            break;
        case u'=':
            out += QStringLiteral("\\=");
            break;
        case u'\n':
            out += QStringLiteral("\\n");
            break;
        case u'\r':
            out += QStringLiteral("\\r");
            break;
        case u'\t':
            out += QStringLiteral("\\t");
            break;
        default:
            if (c.isHighSurrogate() && i + 1 < size && text.at(i + 1).isLowSurrogate()) {
                out += c;
                out += text.at(++i);
            } else if (c.isSurrogate() || c.unicode() < 0x20 || c.unicode() == 0x7F) {
                // Lone surrogates would not survive UTF-8; controls would not survive an editor.
                out += hex4(c.unicode());
            } else {
                out += c;
            }
        }
    }
    return out;
}

int hexDigit(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

// Undoes escape(). Nothing on a malformed escape.
std::optional<QString> unescape(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\\') {
            out += c;
            continue;
        }
        if (++i >= text.size())
            return std::nullopt;
        switch (text[i].unicode()) {
        case u'\\':
            out += u'\\';
            break;
        case u'=':
            out += u'=';
            break;
        case u'n':
            out += u'\n';
            break;
        case u'r':
            out += u'\r';
            break;
        case u't':
            out += u'\t';
            break;
        case u'u': {
            if (i + 4 >= text.size())
                return std::nullopt;
            char16_t unit = 0;
            for (qsizetype k = i + 1; k <= i + 4; ++k) {
                const int digit = hexDigit(text[k]);
                if (digit < 0)
                    return std::nullopt;
                unit = char16_t(unit * 16 + digit);
            }
            out += QChar(unit);
            i += 4;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return out;
}

std::optional<qint32> parseInt(QStringView text)
{
    // Strict: an optional minus and digits, nothing else (toInt would also take blanks).
    QStringView digits = text.startsWith(u'-') ? text.sliced(1) : text;
    if (digits.isEmpty() || digits.size() > 10)
        return std::nullopt;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    bool ok = false;
    const qint64 value = text.toLongLong(&ok);
    if (!ok || value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(value);
}

// A value this long is no setting of ours but damage: it is ignored, not carried around.
constexpr qsizetype MaxLineBytes = 8 * 1024;

void parseLine(const QByteArray& raw, Store& store)
{
    if (raw.size() > MaxLineBytes)
        return;
    QByteArray bytes = raw;
    if (bytes.endsWith('\r')) // a real CR in a value is always escaped
        bytes.chop(1);
    if (bytes.isEmpty() || bytes.startsWith('#'))
        return;
    QStringDecoder decoder(QStringConverter::Utf8);
    const QString line = decoder.decode(bytes);
    if (decoder.hasError() || line.size() < 3 || line.at(1) != u':')
        return;

    // The name ends at the first '=' that is not escaped.
    qsizetype separator = -1;
    for (qsizetype i = 2; i < line.size(); ++i) {
        if (line.at(i) == u'\\') {
            ++i;
        } else if (line.at(i) == u'=') {
            separator = i;
            break;
        }
    }
    if (separator < 0)
        return;
    const std::optional<QString> name = unescape(QStringView(line).sliced(2, separator - 2));
    if (!name)
        return;
    const QStringView rawValue = QStringView(line).sliced(separator + 1);

    switch (line.at(0).unicode()) {
    case u's':
        if (const std::optional<QString> text = unescape(rawValue))
            store[*name] = *text;
        break;
    case u'i':
        if (const std::optional<qint32> number = parseInt(rawValue))
            store[*name] = *number;
        break;
    default:
        break;
    }
}

// Nothing when the file exists but cannot be read; an empty store when there is no file.
std::optional<Store> readStore(const QString& path, QString* error = nullptr)
{
    Store store;
    QFile file(path);
    if (!file.exists())
        return store;
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    qsizetype start = 0;
    if (content.startsWith("\xEF\xBB\xBF"))
        start = 3;
    while (start < content.size()) {
        qsizetype end = content.indexOf('\n', start);
        if (end < 0)
            end = content.size();
        parseLine(content.mid(start, end - start), store);
        start = end + 1;
    }
    return store;
}

QByteArray serialise(const Store& store)
{
    QByteArray out = HeaderLine;
    for (const auto& [name, value] : store) {
        if (const auto* text = std::get_if<QString>(&value)) {
            out += "s:" + escape(name).toUtf8() + '=' + escape(*text).toUtf8() + '\n';
        } else {
            out += "i:" + escape(name).toUtf8() + '=' + QByteArray::number(std::get<qint32>(value)) + '\n';
        }
    }
    return out;
}

QString lockErrorText(QLockFile::LockError error, const QString& folder)
{
    switch (error) {
    case QLockFile::LockFailedError:
        return QCoreApplication::translate("Settings", "die Datei wird gerade von einem anderen Programm geändert");
    case QLockFile::PermissionError:
        return QCoreApplication::translate("Settings", "im Ordner „%1“ darf nicht geschrieben werden").arg(folder);
    case QLockFile::NoError:
    case QLockFile::UnknownError:
        break;
    }
    return QCoreApplication::translate("Settings", "im Ordner „%1“ kann keine Sperrdatei angelegt werden").arg(folder);
}

[[noreturn]] void fail(const QString& name, const QString& reason)
{
    throw DataError(QCoreApplication::translate("Settings", "Die Einstellung „%1“ konnte nicht gespeichert werden: %2")
                        .arg(name, reason));
}

// The last file read, kept while its size and modification time stay the same, so that a read
// of one value does not parse the whole file again.
struct CachedStore
{
    QString path;
    qint64 size = -1;
    QDateTime modified;
    Store store;
};
CachedStore g_cache;

void writeValues(const QString& name, const Store& values)
{
    const QString path = storePath();
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        fail(name, QCoreApplication::translate("Settings", "der Ordner „%1“ kann nicht angelegt werden").arg(folder));

    QLockFile lock(path + QStringLiteral(".lock"));
    lock.setStaleLockTime(StaleLockMs);
    if (!lock.tryLock(LockWaitMs))
        fail(name, lockErrorText(lock.error(), folder));

    // Re-read under the lock so that values other processes wrote meanwhile are kept.
    QString readError;
    std::optional<Store> store = readStore(path, &readError);
    if (!store)
        fail(name, QCoreApplication::translate("Settings", "die Datei „%1“ kann nicht gelesen werden (%2)")
                       .arg(path, readError));
    for (const auto& [valueName, value] : values)
        (*store)[valueName] = value;

    // Unbuffered: a buffered flush on commit() can take a short write (disk full) for success.
    QSaveFile file(path);
    const QByteArray content = serialise(*store);
    const auto writeFailed = [&](const QString& reason) {
        fail(name, QCoreApplication::translate("Settings", "die Datei „%1“ kann nicht geschrieben werden (%2)")
                       .arg(path, reason));
    };
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        writeFailed(file.errorString());
    if (file.write(content) != content.size()) {
        // A short write sets no error text of its own; the temporary file is discarded.
        const QString reason = file.error() != QFileDevice::NoError
                                   ? file.errorString()
                                   : QCoreApplication::translate("Settings", "der Datenträger ist voll");
        file.cancelWriting();
        writeFailed(reason);
    }
    g_cache = {}; // the file changed, perhaps within the same millisecond and at the same size
    if (!file.commit())
        writeFailed(file.errorString());
}

void writeValue(const QString& name, const Value& value)
{
    writeValues(name, Store{{name, value}});
}

std::optional<Store> readStoreCached(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        g_cache = {};
        return Store();
    }
    if (g_cache.path == path && g_cache.size == info.size() && g_cache.modified == info.lastModified())
        return g_cache.store;
    std::optional<Store> store = readStore(path);
    if (store)
        g_cache = {path, info.size(), info.lastModified(), *store};
    else
        g_cache = {};
    return store;
}

std::optional<Value> readValue(const QString& name)
{
    const std::optional<Store> store = readStoreCached(storePath());
    if (!store)
        return std::nullopt;
    const auto it = store->find(name);
    if (it == store->end())
        return std::nullopt;
    return it->second;
}

} // namespace

void WriteSettingString(const QString& name, const QString& value)
{
    writeValue(name, value);
}

void WriteSettingInt(const QString& name, qint32 value)
{
    writeValue(name, value);
}

qint32 ReadSettingInt(const QString& name)
{
    try {
        const std::optional<Value> value = readValue(name);
        if (value && std::holds_alternative<qint32>(*value))
            return std::get<qint32>(*value);
    } catch (...) {
        // Reads never fail (e.g. out of memory on a huge file).
    }
    return 0;
}

QString ReadSettingString(const QString& name)
{
    try {
        const std::optional<Value> value = readValue(name);
        if (value && std::holds_alternative<QString>(*value))
            return std::get<QString>(*value);
    } catch (...) {
    }
    return QString();
}

QList<SettingEntry> AllSettings()
{
    const QString path = storePath();
    QString error;
    const std::optional<Store> store = readStore(path, &error);
    if (!store)
        throw DataError(
            QCoreApplication::translate("Settings", "Die Einstellungen in „%1“ können nicht gelesen werden: %2")
                .arg(path, error));
    QList<SettingEntry> entries;
    entries.reserve(qsizetype(store->size()));
    for (const auto& [name, value] : *store)
        entries.append({name, value});
    return entries;
}

void WriteSettings(const QList<SettingEntry>& entries)
{
    if (entries.isEmpty())
        return;
    Store values;
    for (const SettingEntry& entry : entries)
        values[entry.name] = entry.value;
    // A failure names the first value; none of them is written then.
    writeValues(entries.first().name, values);
}

QString storePath()
{
    return QDir::cleanPath(configHome() + u'/' + OrganisationFolder + u'/' + FileName);
}

} // namespace Settings
