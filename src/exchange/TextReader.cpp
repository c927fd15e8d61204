#include "TextReader.h"

#include "common/Cp1252.h"
#include "datastore/DataError.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringDecoder>

TextReader::TextReader(const QString& fileName, QChar separator) : m_fileName(fileName), m_separator(separator) {}

SourceTable TextReader::read(const QString&) const
{
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw DataError(QCoreApplication::translate("TextReader", "Quelldatei konnte nicht gefunden werden"));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw DataError(QCoreApplication::translate("TextReader", "Quelldatei konnte nicht gelesen werden: %1")
                            .arg(file.errorString()));
    return parse(decode(bytes), m_separator);
}

QString TextReader::decode(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(bytes.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
                               QStringConverter::Flag::Default);
        return decoder.decode(bytes.sliced(2));
    }
    return Cp1252::decode(bytes);
}

SourceTable TextReader::parse(const QString& text, QChar separator)
{
    SourceTable table;
    QStringList record;
    QString value;
    bool lineStarted = false;
    const qsizetype n = text.size();
    const QChar* s = text.constData();
    qsizetype i = 0;
    bool atValueStart = true;

    auto endValue = [&] {
        record.append(value);
        value.clear();
        atValueStart = true;
    };
    auto endRecord = [&] {
        endValue();
        table.appendRecord(std::move(record));
        record = QStringList();
        lineStarted = false;
    };

    while (i < n) {
        const QChar c = s[i];
        lineStarted = true;
        if (atValueStart && c == u'"') {
            // Quoted value: everything up to the closing quote, "" standing for one quote.
            atValueStart = false;
            ++i;
            while (i < n) {
                if (s[i] == u'"') {
                    if (i + 1 < n && s[i + 1] == u'"') {
                        value += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += s[i++];
            }
            continue; // what follows the closing quote up to the separator is kept as it stands
        }
        atValueStart = false;
        if (c == separator) {
            endValue();
            ++i;
        } else if (c == u'\n') {
            endRecord();
            ++i;
        } else if (c == u'\r') {
            if (i + 1 < n && s[i + 1] == u'\n') {
                endRecord();
                i += 2;
            } else {
                ++i; // a carriage return without a line feed is dropped
            }
        } else {
            // Copy the run of ordinary characters in one go.
            qsizetype j = i + 1;
            while (j < n && s[j] != separator && s[j] != u'\n' && s[j] != u'\r')
                ++j;
            value.append(s + i, j - i);
            i = j;
        }
    }
    if (lineStarted)
        endRecord();
    return table;
}
