#pragma once

#include "ExportColumns.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class RecordSet;

enum class ExportFormat { Csv, Html, Txt };

struct ExportOptions
{
    ExportFormat format = ExportFormat::Csv;
    // CSV and TXT only: written after every value, the last of a line included.
    QChar separator = u',';
    // CSV and TXT only: encloses every value; empty for none.
    QString qualifier = QStringLiteral("\"");
    bool headerLine = true;
    // The selected columns in file order.
    QList<ExportColumn> columns;
    // HTML only: the page title, already written as HTML ("Exportierte B&uuml;cher").
    QString htmlTitle;
};

struct ExportResult
{
    enum class Status { Written, Cancelled, Failed };
    Status status = Status::Written;
    QString error; // Failed: names the file and the reason
    int records = 0;
    // Values holding characters the file's code page lacks; they were written as '?'.
    int replacedValues = 0;
    // Values holding the separator or a line break while no qualifier encloses them.
    int unenclosedValues = 0;

    // What the user should know about a written file; empty when every value went in as it is.
    QStringList notes() const;
};

// Called now and then with the records written so far; returning false cancels the export.
using ExportProgress = std::function<bool(int written, int total)>;

// Writes the records of a record set, in its current order and under its current filter, as
// CSV, TXT or HTML in Windows-1252 with CR LF line ends. The cursor does not move. The file
// is replaced only when the whole export succeeded; otherwise the old file (or none) stays.
class RecordExporter
{
    Q_DECLARE_TR_FUNCTIONS(RecordExporter)

public:
    RecordExporter(const RecordSet& records, ExportOptions options);

    void setProgress(ExportProgress progress) { m_progress = std::move(progress); }
    // How many records pass between two progress calls.
    static constexpr int ProgressStep = 500;

    ExportResult write(const QString& path);

private:
    const RecordSet& m_records;
    ExportOptions m_options;
    ExportProgress m_progress;
};
