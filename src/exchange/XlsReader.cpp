#include "XlsReader.h"

#include "datastore/DataError.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <freexl.h>

namespace {

QString reason(int code)
{
    const char* context = "XlsReader";
    switch (code) {
    case FREEXL_FILE_NOT_FOUND:
        return QCoreApplication::translate(context, "Die Datei wurde nicht gefunden.");
    case FREEXL_INSUFFICIENT_MEMORY:
        return QCoreApplication::translate(context, "Der Arbeitsspeicher reicht nicht aus.");
    case FREEXL_INVALID_CFBF_HEADER:
    case FREEXL_CFBF_INVALID_SIGNATURE:
        return QCoreApplication::translate(context, "Die Datei ist keine Arbeitsmappe von Excel 97 bis 2003.");
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
    case FREEXL_BIFF_INVALID_BOF:
        return QCoreApplication::translate(context, "Die Datei enthält keine lesbare Arbeitsmappe.");
    case FREEXL_UNSUPPORTED_CHARSET:
    case FREEXL_INVALID_CHARACTER:
        return QCoreApplication::translate(context, "Die Zeichenkodierung der Arbeitsmappe wird nicht unterstützt.");
    case FREEXL_OK:
    case FREEXL_NULL_HANDLE:
        // FreeXL reports success without a workbook for some files (for example small ones
        // kept in the compound file's mini stream, or ones with an embedded chart).
        return QCoreApplication::translate(context, "Das Format dieser Arbeitsmappe wird nicht unterstützt.");
    default:
        return QCoreApplication::translate(context, "Die Datei ist beschädigt oder hat ein unbekanntes Format "
                                                    "(Fehler %1).")
            .arg(code);
    }
}

[[noreturn]] void fail(int code)
{
    throw DataError(
        QCoreApplication::translate("XlsReader", "Exceldatei konnte nicht gelesen werden: %1").arg(reason(code)));
}

void check(int code)
{
    if (code != FREEXL_OK)
        fail(code);
}

QString cellText(const FreeXL_CellValue& cell)
{
    switch (cell.type) {
    case FREEXL_CELL_INT:
        return QString::number(cell.value.int_value);
    case FREEXL_CELL_DOUBLE:
        return SourceReader::numberText(cell.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
        return QString::fromUtf8(cell.value.text_value);
    case FREEXL_CELL_DATE:
        return SourceReader::dateTimeText(
            QDateTime(QDate::fromString(QString::fromLatin1(cell.value.text_value), u"yyyy-MM-dd"), QTime(0, 0)));
    case FREEXL_CELL_DATETIME:
        return SourceReader::dateTimeText(
            QDateTime::fromString(QString::fromLatin1(cell.value.text_value), u"yyyy-MM-dd HH:mm:ss"));
    case FREEXL_CELL_TIME:
        return QString::fromLatin1(cell.value.text_value);
    default:
        return {}; // empty cells, and formulas (FreeXL gives no result for them)
    }
}

} // namespace

XlsReader::XlsReader(const QString& fileName)
{
    if (!QFile::exists(fileName))
        fail(FREEXL_FILE_NOT_FOUND);
    const int opened = freexl_open(QFile::encodeName(fileName).constData(), &m_handle);
    if (opened != FREEXL_OK || !m_handle) {
        if (m_handle)
            freexl_close(m_handle);
        m_handle = nullptr;
        fail(opened);
    }
    try {
        unsigned int password = 0;
        check(freexl_get_info(m_handle, FREEXL_BIFF_PASSWORD, &password));
        if (password != FREEXL_BIFF_PLAIN)
            throw DataError(QCoreApplication::translate("XlsReader", "Exceldatei konnte nicht gelesen werden: %1")
                                .arg(QCoreApplication::translate("XlsReader", "Die Arbeitsmappe ist verschlüsselt.")));
        unsigned int count = 0;
        check(freexl_get_info(m_handle, FREEXL_BIFF_SHEET_COUNT, &count));
        for (unsigned short i = 0; i < count; ++i) {
            const char* name = nullptr;
            check(freexl_get_worksheet_name(m_handle, i, &name));
            m_sheets.append(QString::fromUtf8(name));
        }
    } catch (...) {
        freexl_close(m_handle);
        throw;
    }
}

XlsReader::~XlsReader()
{
    freexl_close(m_handle);
}

SourceTable XlsReader::read(const QString& sheet) const
{
    const qsizetype index = m_sheets.indexOf(sheet);
    if (index < 0)
        throw DataError(
            QCoreApplication::translate("XlsReader", "Exceldatei konnte nicht gelesen werden: %1")
                .arg(QCoreApplication::translate("XlsReader", "Die Arbeitsmappe hat kein Blatt „%1“.").arg(sheet)));
    check(freexl_select_active_worksheet(m_handle, static_cast<unsigned short>(index)));
    unsigned int rows = 0;
    unsigned short columns = 0;
    check(freexl_worksheet_dimensions(m_handle, &rows, &columns));

    // Every cell as text; a cell that cannot be read stays empty.
    QList<QStringList> cells(rows, QStringList());
    int firstRow = -1, firstColumn = columns;
    for (unsigned int r = 0; r < rows; ++r) {
        QStringList& values = cells[r];
        values.reserve(columns);
        for (unsigned short c = 0; c < columns; ++c) {
            FreeXL_CellValue cell;
            QString v;
            if (freexl_get_cell_value(m_handle, r, c, &cell) == FREEXL_OK)
                v = cellText(cell);
            if (!v.isEmpty()) {
                if (firstRow < 0)
                    firstRow = int(r);
                firstColumn = std::min<int>(firstColumn, c);
            }
            values.append(v);
        }
    }
    // The table is the sheet's used range: it starts at the first row and column holding a value.
    SourceTable table;
    if (firstRow < 0)
        return table;
    table.setMinimumFieldCount(columns - firstColumn);
    for (unsigned int r = unsigned(firstRow); r < rows; ++r)
        table.appendRecord(cells[r].mid(firstColumn));
    return table;
}
