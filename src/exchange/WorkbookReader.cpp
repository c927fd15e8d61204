#include "WorkbookReader.h"

#include "datastore/DataError.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <ixion/address.hpp>
#include <ixion/cell_access.hpp>
#include <ixion/model_context.hpp>
#include <orcus/orcus_xlsx.hpp>
#include <orcus/spreadsheet/document.hpp>
#include <orcus/spreadsheet/factory.hpp>
#include <orcus/spreadsheet/sheet.hpp>
#include <orcus/spreadsheet/styles.hpp>
#include <orcus/zip_archive.hpp>
#include <orcus/zip_archive_stream.hpp>

namespace ss = orcus::spreadsheet;

namespace {

// Limits of today's spreadsheets; a file that repeats a row or cell beyond them is cut there.
constexpr int MaxRows = 1048576;
constexpr int MaxColumns = 16384;

QString tr(const char* text)
{
    return QCoreApplication::translate("WorkbookReader", text);
}

[[noreturn]] void fail(const QString& reason)
{
    throw DataError(tr("Tabellendatei konnte nicht gelesen werden: %1").arg(reason));
}

[[noreturn]] void failUnreadable(const char* detail = "")
{
    const QString d = QString::fromUtf8(detail).trimmed();
    fail(d.isEmpty() ? tr("Die Datei ist keine lesbare Arbeitsmappe.")
                     : tr("Die Datei ist keine lesbare Arbeitsmappe (%1).").arg(d));
}

QString toQString(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// Cells row by row; the table is the used range, from the first row and column holding a value.
class CellCollector
{
public:
    void setCell(int row, int column, const QString& value)
    {
        if (value.isEmpty() || row >= MaxRows || column >= MaxColumns)
            return;
        while (m_rows.size() <= row)
            m_rows.append(QStringList());
        QStringList& r = m_rows[row];
        while (r.size() <= column)
            r.append(QString());
        r[column] = value;
        m_firstRow = std::min(m_firstRow, row);
        m_firstColumn = std::min(m_firstColumn, column);
        m_lastColumn = std::max(m_lastColumn, column);
    }

    SourceTable table() const
    {
        SourceTable t;
        if (m_lastColumn < 0)
            return t;
        t.setMinimumFieldCount(m_lastColumn + 1 - m_firstColumn);
        for (int r = m_firstRow; r < m_rows.size(); ++r)
            t.appendRecord(m_rows.at(r).mid(m_firstColumn));
        return t;
    }

private:
    QList<QStringList> m_rows;
    int m_firstRow = MaxRows;
    int m_firstColumn = MaxColumns;
    int m_lastColumn = -1;
};

// ---------------------------------------------------------------- .xlsx

// Whether a number format shows a date: a day, month or year code outside quoted text and
// brackets ("dd.mm.yyyy", "d/m/yy h:mm"; not "0.00" or "[Red]#,##0").
bool isDateFormat(std::string_view format)
{
    bool quoted = false;
    bool bracket = false;
    for (size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c == '\\') {
            ++i;
            continue;
        }
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && c == '[')
            bracket = true;
        else if (!quoted && c == ']')
            bracket = false;
        else if (!quoted && !bracket && (c == 'd' || c == 'D' || c == 'm' || c == 'M' || c == 'y' || c == 'Y'))
            return true;
    }
    return false;
}

// Excel's built-in date formats, which a file names by number only.
bool isBuiltInDateFormat(size_t id)
{
    return (id >= 14 && id <= 17) || id == 22 || (id >= 27 && id <= 36) || (id >= 50 && id <= 58);
}

bool showsDate(const ss::styles& styles, size_t xfIndex)
{
    const ss::cell_format_t* xf = styles.get_cell_format(xfIndex);
    if (!xf)
        return false;
    for (size_t i = 0; i < styles.get_number_format_count(); ++i) {
        const ss::number_format_t* nf = styles.get_number_format(i);
        if (nf && nf->identifier == xf->number_format && !nf->format_string.empty())
            return isDateFormat(nf->format_string);
    }
    return isBuiltInDateFormat(xf->number_format);
}

void readXlsx(const QString& fileName, QStringList& names, QList<SourceTable>& sheets)
{
    ss::document doc{ss::range_size_t{MaxRows, MaxColumns}};
    ss::import_factory factory(doc);
    try {
        orcus::orcus_xlsx loader(&factory);
        loader.read_file(QFile::encodeName(fileName).toStdString());
    } catch (const std::exception& e) {
        failUnreadable(e.what());
    }
    if (doc.get_sheet_count() == 0)
        failUnreadable();
    const ixion::model_context& cells = doc.get_model_context();
    const ss::styles& styles = doc.get_styles();
    for (size_t s = 0; s < doc.get_sheet_count(); ++s) {
        names.append(toQString(doc.get_sheet_name(ss::sheet_t(s))));
        CellCollector collector;
        const ss::sheet* sheet = doc.get_sheet(ss::sheet_t(s));
        const ixion::abs_range_t range = sheet ? sheet->get_data_range() : ixion::abs_range_t();
        for (ixion::row_t r = 0; range.valid() && r <= range.last.row; ++r) {
            for (ixion::col_t c = 0; c <= range.last.column; ++c) {
                QString v;
                try {
                    const ixion::cell_access cell = cells.get_cell_access({ixion::sheet_t(s), r, c});
                    switch (cell.get_value_type()) {
                    case ixion::cell_value_t::string:
                        v = toQString(cell.get_string_value());
                        break;
                    case ixion::cell_value_t::boolean:
                        v = cell.get_boolean_value() ? QStringLiteral("Wahr") : QStringLiteral("Falsch");
                        break;
                    case ixion::cell_value_t::numeric:
                        if (showsDate(styles, sheet->get_cell_format(r, c))) {
                            const orcus::date_time_t dt = sheet->get_date_time(r, c);
                            v = SourceReader::dateTimeText(
                                QDateTime(QDate(dt.year, dt.month, dt.day), QTime(dt.hour, dt.minute))
                                    .addSecs(int(std::lround(dt.second))));
                        } else {
                            v = SourceReader::numberText(cell.get_numeric_value());
                        }
                        break;
                    default:
                        break; // empty cells and formula errors
                    }
                } catch (const std::exception&) {
                    // a value that cannot be read leaves its cell empty
                }
                collector.setCell(r, c, v);
            }
        }
        sheets.append(collector.table());
    }
}

// ---------------------------------------------------------------- .ods

const QString OfficeNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:office:1.0");
const QString TableNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString TextNs = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");

QString odsDateText(const QString& value)
{
    // "2020-01-01" or "2000-01-01T12:00:00[.123]"
    QDateTime dt = QDateTime::fromString(value.left(19), Qt::ISODate);
    if (!dt.isValid())
        dt = QDateTime(QDate::fromString(value.left(10), Qt::ISODate), QTime(0, 0));
    return dt.isValid() ? SourceReader::dateTimeText(dt) : value;
}

QString odsTimeText(const QString& value)
{
    // "PT12H30M00S"
    static const QRegularExpression duration(QStringLiteral("^-?PT(\\d+)H(\\d+)M(\\d+)"));
    const QRegularExpressionMatch m = duration.match(value);
    if (!m.hasMatch())
        return value;
    return QStringLiteral("%1:%2:%3")
        .arg(m.captured(1).toInt() % 24, 2, 10, QLatin1Char('0'))
        .arg(m.captured(2).toInt(), 2, 10, QLatin1Char('0'))
        .arg(m.captured(3).toInt(), 2, 10, QLatin1Char('0'));
}

// The text of a cell's paragraphs, with the spaces, tabs and line breaks they mark up.
QString odsCellText(QXmlStreamReader& xml)
{
    QString text;
    int paragraphs = 0;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::StartElement:
            ++depth;
            if (xml.name() == u"p") {
                if (paragraphs++ > 0)
                    text += u'\n';
            } else if (xml.name() == u"s") {
                const int count = std::max(1, xml.attributes().value(TextNs, QStringLiteral("c")).toInt());
                text += QString(std::min(count, 1000), u' ');
            } else if (xml.name() == u"tab") {
                text += u'\t';
            } else if (xml.name() == u"line-break") {
                text += u'\n';
            } else if (xml.name() == u"annotation") {
                xml.skipCurrentElement(); // comments are not the cell's value
                --depth;
            }
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        case QXmlStreamReader::Characters:
            text += xml.text();
            break;
        default:
            break;
        }
    }
    return text;
}

QString odsCellValue(QXmlStreamReader& xml)
{
    const QXmlStreamAttributes a = xml.attributes();
    const QStringView type = a.value(OfficeNs, QStringLiteral("value-type"));
    QString v;
    if (type == u"float" || type == u"percentage" || type == u"currency")
        v = SourceReader::numberText(a.value(OfficeNs, QStringLiteral("value")).toDouble());
    else if (type == u"date")
        v = odsDateText(a.value(OfficeNs, QStringLiteral("date-value")).toString());
    else if (type == u"time")
        v = odsTimeText(a.value(OfficeNs, QStringLiteral("time-value")).toString());
    else if (type == u"boolean")
        v = a.value(OfficeNs, QStringLiteral("boolean-value")) == u"true" ? QStringLiteral("Wahr")
                                                                          : QStringLiteral("Falsch");
    else if (a.hasAttribute(OfficeNs, QStringLiteral("string-value")))
        v = a.value(OfficeNs, QStringLiteral("string-value")).toString();
    const QString text = odsCellText(xml); // also leaves the element
    return type.isEmpty() || type == u"string" ? (v.isEmpty() ? text : v) : v;
}

void readOds(const QString& fileName, QStringList& names, QList<SourceTable>& sheets)
{
    std::vector<unsigned char> content;
    try {
        orcus::zip_archive_stream_fd stream(QFile::encodeName(fileName).constData());
        orcus::zip_archive archive(&stream);
        archive.load();
        if (!archive.read_file_entry("content.xml", content))
            failUnreadable();
    } catch (const DataError&) {
        throw;
    } catch (const std::exception& e) {
        failUnreadable(e.what());
    }

    // The archive reader ends the entry with a NUL of its own.
    while (!content.empty() && content.back() == 0)
        content.pop_back();
    QXmlStreamReader xml(
        QByteArray::fromRawData(reinterpret_cast<const char*>(content.data()), qsizetype(content.size())));
    std::optional<CellCollector> sheet;
    int row = 0, column = 0, rowRepeat = 1;
    QList<std::pair<QString, int>> rowCells; // value and repeat count, for repeated rows
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            const QStringView name = xml.name();
            if (name == u"table" && xml.namespaceUri() == TableNs) {
                names.append(xml.attributes().value(TableNs, QStringLiteral("name")).toString());
                sheet.emplace();
                row = 0;
            } else if (sheet && name == u"table-row") {
                rowRepeat = std::clamp(xml.attributes().value(TableNs, QStringLiteral("number-rows-repeated")).toInt(),
                                       1, MaxRows);
                column = 0;
                rowCells.clear();
            } else if (sheet && (name == u"table-cell" || name == u"covered-table-cell")) {
                const int repeat = std::clamp(
                    xml.attributes().value(TableNs, QStringLiteral("number-columns-repeated")).toInt(), 1, MaxColumns);
                const QString value = name == u"table-cell" ? odsCellValue(xml) : (xml.skipCurrentElement(), QString());
                if (!value.isEmpty())
                    rowCells.append({value, column});
                for (int i = 1; !value.isEmpty() && i < repeat && column + i < MaxColumns; ++i)
                    rowCells.append({value, column + i});
                column += repeat;
            }
        } else if (token == QXmlStreamReader::EndElement) {
            const QStringView name = xml.name();
            if (sheet && name == u"table-row") {
                // Empty repeated rows (the endless tail of a sheet) cost nothing.
                for (int i = 0; i < rowRepeat && !rowCells.isEmpty() && row + i < MaxRows; ++i)
                    for (const auto& [value, c] : rowCells)
                        sheet->setCell(row + i, c, value);
                row = int(std::min<qint64>(qint64(row) + rowRepeat, MaxRows));
            } else if (sheet && name == u"table" && xml.namespaceUri() == TableNs) {
                sheets.append(sheet->table());
                sheet.reset();
            }
        }
    }
    if (xml.hasError())
        fail(tr("Der Inhalt der Datei ist beschädigt (%1).").arg(xml.errorString()));
    if (names.isEmpty())
        failUnreadable();
}

} // namespace

WorkbookReader::WorkbookReader(const QString& fileName)
{
    if (!QFileInfo(fileName).isFile())
        fail(tr("Die Datei wurde nicht gefunden."));
    if (QFileInfo(fileName).suffix().compare(QLatin1String("ods"), Qt::CaseInsensitive) == 0)
        readOds(fileName, m_names, m_sheets);
    else
        readXlsx(fileName, m_names, m_sheets);
}

SourceTable WorkbookReader::read(const QString& sheet) const
{
    const qsizetype index = m_names.indexOf(sheet);
    if (index < 0 || index >= m_sheets.size())
        fail(tr("Die Arbeitsmappe hat kein Blatt „%1“.").arg(sheet));
    return m_sheets.at(index);
}
