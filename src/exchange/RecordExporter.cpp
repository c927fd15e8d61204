#include "RecordExporter.h"

#include "common/Cp1252.h"
#include "datastore/RecordSet.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QScopeGuard>

namespace {

constexpr qsizetype FlushSize = 256 * 1024;

const QByteArray LineEnd = QByteArrayLiteral("\r\n");

bool needsHtmlEscape(QStringView text)
{
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'<':
        case u'>':
        case u'&':
        case u'"':
        case 0x20AC:
            return true;
        default:
            break;
        }
    }
    return false;
}

QString htmlEscaped(QStringView text)
{
    QString out;
    out.reserve(text.size() + 16);
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'<':
            out += u"&lt;";
            break;
        case u'>':
            out += u"&gt;";
            break;
        case u'&':
            out += u"&amp;";
            break;
        case u'"':
            out += u"&quot;";
            break;
        case 0x20AC:
            out += u"&euro;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

QStringList ExportResult::notes() const
{
    QStringList notes;
    if (replacedValues == 1)
        notes << RecordExporter::tr("Ein Wert enthielt Zeichen, die es in der Zeichentabelle der Datei "
                                    "(Windows-1252) nicht gibt; sie stehen in der Datei als „?“.");
    else if (replacedValues > 1)
        notes << RecordExporter::tr("%1 Werte enthielten Zeichen, die es in der Zeichentabelle der Datei "
                                    "(Windows-1252) nicht gibt; sie stehen in der Datei als „?“.")
                     .arg(replacedValues);
    if (unenclosedValues == 1)
        notes << RecordExporter::tr("Ein Wert enthält das Trennzeichen oder einen Zeilenumbruch. Ohne "
                                    "Text-Kennzeichner liest ein anderes Programm ihn als mehrere Felder oder Zeilen.");
    else if (unenclosedValues > 1)
        notes << RecordExporter::tr("%1 Werte enthalten das Trennzeichen oder einen Zeilenumbruch. Ohne "
                                    "Text-Kennzeichner liest ein anderes Programm sie als mehrere Felder oder Zeilen.")
                     .arg(unenclosedValues);
    return notes;
}

namespace {

// Collects the encoded text and hands it to the file in large pieces.
class Output
{
public:
    Output(QSaveFile& file, ExportResult& result) : m_file(file), m_result(result)
    {
        m_buffer.reserve(FlushSize + 4096);
    }

    void raw(const QByteArray& bytes) { m_buffer += bytes; }
    void raw(char c) { m_buffer += c; }
    void text(QStringView text)
    {
        if (Cp1252::appendEncoded(m_buffer, text) > 0)
            ++m_result.replacedValues;
    }
    void endLine() { m_buffer += LineEnd; }

    // False once the file refused a write.
    bool flush(bool force = false)
    {
        if (!force && m_buffer.size() < FlushSize)
            return true;
        const bool ok = m_file.write(m_buffer) == m_buffer.size();
        m_buffer.truncate(0);
        return ok;
    }

private:
    QSaveFile& m_file;
    ExportResult& m_result;
    QByteArray m_buffer;
};

} // namespace

RecordExporter::RecordExporter(const RecordSet& records, ExportOptions options)
    : m_records(records), m_options(std::move(options))
{
}

ExportResult RecordExporter::write(const QString& path)
{
    ExportResult result;
    const auto fail = [&](const QString& reason) {
        result.status = ExportResult::Status::Failed;
        result.error = tr("Die Datei „%1“ konnte nicht geschrieben werden.\n%2").arg(native(path), reason);
        return result;
    };

    QList<int> fields;
    QList<ColumnType> types;
    for (const ExportColumn& column : m_options.columns) {
        const int index = m_records.fieldIndex(column.field);
        if (index < 0)
            return fail(tr("Das Feld „%1“ gibt es nicht.").arg(column.field));
        fields.append(index);
        types.append(m_records.fields().at(index).type);
    }
    // The value as the user edits it; stored texts are used in place.
    QString scratch;
    const auto valueText = [&](int row, qsizetype column) -> const QString& {
        const QVariant& value = m_records.valueRef(row, fields.at(column));
        if (value.typeId() == QMetaType::QString)
            return *static_cast<const QString*>(value.constData());
        scratch = RecordSet::displayText(types.at(column), value);
        return scratch;
    };

    const QFileInfo info(path);
    const QFileInfo folder(info.absolutePath());
    if (path.isEmpty())
        return fail(tr("Es ist kein Dateiname angegeben."));
    if (info.isDir())
        return fail(tr("Unter diesem Namen gibt es bereits einen Ordner."));
    if (!folder.isDir())
        return fail(tr("Den Ordner „%1“ gibt es nicht.").arg(native(folder.absoluteFilePath())));

    QSaveFile file(path);
    const auto fileFailure = [&] {
        if (info.exists() && !info.isWritable())
            return tr("Die Datei ist schreibgeschützt.");
        if (!folder.isWritable())
            return tr("Im Ordner „%1“ dürfen keine Dateien angelegt werden.").arg(native(folder.absoluteFilePath()));
        return tr("Fehler beim Schreiben: %1").arg(file.errorString());
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail(fileFailure());

    Output out(file, result);
    const bool html = m_options.format == ExportFormat::Html;
    const QString& q = m_options.qualifier;
    const QChar sep = m_options.separator;
    const QString doubledQ = q + q;

    // One delimited cell: qualifier, value with the qualifier doubled, qualifier, separator.
    const QByteArray before = Cp1252::encode(q);
    const QByteArray after = Cp1252::encode(q + sep);
    const auto delimitedCell = [&](const QString& value) {
        out.raw(before);
        if (q.isEmpty()) {
            if (value.contains(sep) || value.contains(u'\n') || value.contains(u'\r'))
                ++result.unenclosedValues;
            out.text(value);
        } else if (q.size() == 1 ? value.contains(q.front()) : value.contains(q)) {
            out.text(QString(value).replace(q, doubledQ));
        } else {
            out.text(value);
        }
        out.raw(after);
    };
    const auto htmlText = [&](const QString& value) {
        if (needsHtmlEscape(value))
            out.text(htmlEscaped(value));
        else
            out.text(value);
    };

    if (html) {
        out.raw(QByteArrayLiteral("<HTML><HEAD><TITLE>"));
        out.text(m_options.htmlTitle);
        out.raw(QByteArrayLiteral(
            "</TITLE>\r\n"
            "<META http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\"></HEAD>\r\n"
            "<BODY>\r\n"
            "<TABLE Border=\"1\" CellPadding=\"1\" CellSpacing=\"1\">\r\n"
            "<TR>\r\n"));
        if (m_options.headerLine) {
            for (const ExportColumn& column : m_options.columns) {
                out.raw(QByteArrayLiteral("<th>"));
                htmlText(column.caption);
                out.raw(QByteArrayLiteral("</th>\r\n"));
            }
        }
        out.raw(QByteArrayLiteral("</TR>\r\n"));
    } else if (m_options.headerLine) {
        for (const ExportColumn& column : m_options.columns)
            delimitedCell(column.caption);
        out.endLine();
    }

    bool reread = false;
    const auto markReread = [&reread] { reread = true; };
    const QList<QMetaObject::Connection> watches{
        QObject::connect(&m_records, &RecordSet::aboutToReset, markReread),
        QObject::connect(&m_records, &RecordSet::rowAboutToBeInserted, markReread),
        QObject::connect(&m_records, &RecordSet::rowAboutToBeRemoved, markReread)};
    const auto unwatch = qScopeGuard([&watches] {
        for (const QMetaObject::Connection& c : watches)
            QObject::disconnect(c);
    });

    const int total = m_records.recordCount();
    for (int position = 0; position < total; ++position) {
        if (position % ProgressStep == 0) {
            if (!out.flush())
                return fail(fileFailure());
            if (m_progress && !m_progress(position, total)) {
                file.cancelWriting();
                result.status = ExportResult::Status::Cancelled;
                return result;
            }
            // Progress lets events run, among them a refresh that re-reads the records.
            if (reread)
                return fail(tr("Die Daten wurden während des Exports neu eingelesen. Bitte den Export "
                               "wiederholen."));
        }
        const int row = m_records.rowAt(position);
        if (html) {
            out.raw(QByteArrayLiteral("<TR>\r\n"));
            for (qsizetype column = 0; column < fields.size(); ++column) {
                out.raw(QByteArrayLiteral("<td>"));
                htmlText(valueText(row, column));
                out.raw(QByteArrayLiteral("</td>"));
            }
            out.raw(QByteArrayLiteral("</TR>\r\n"));
        } else {
            for (qsizetype column = 0; column < fields.size(); ++column)
                delimitedCell(valueText(row, column));
            out.endLine();
        }
        ++result.records;
    }
    if (html)
        out.raw(QByteArrayLiteral("</Table></BODY></HTML>\r\n"));

    if (!out.flush(true) || !file.commit())
        return fail(fileFailure());
    if (m_progress)
        m_progress(total, total);
    return result;
}
