#pragma once

#include "ExportColumns.h"
#include "RecordExporter.h"

#include <QDialog>
#include <QList>
#include <functional>
#include <memory>

class QCheckBox;
class QRadioButton;
class RecordSet;

namespace Ui {
class ExportDialog;
}

// Writes the books or the readers into a CSV, HTML or TXT file. One dialog serves both; what
// differs is the record set and the column table. The dialog lives for the whole run, so the
// format, the field selection and the header box keep their values between openings.
class ExportDialog : public QDialog
{
    Q_OBJECT

public:
    struct Setup
    {
        QString objectName;
        QString windowTitle;
        QString htmlTitle; // HTML text
        // Read at every export, so that captions changed meanwhile reach the header.
        std::function<QList<ExportColumn>()> columns;
    };

    // "Bücher exportieren" and "Leser exportieren", with the captions the lists show.
    static Setup booksSetup();
    static Setup readersSetup();

    ExportDialog(RecordSet& records, Setup setup, QWidget* parent);
    ~ExportDialog() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void resetForOpening();
    void applyFormatRules();
    void chooseTarget();
    void exportRecords();
    ExportFormat format() const;
    ExportOptions options() const;

    const std::unique_ptr<Ui::ExportDialog> ui;
    RecordSet& m_records;
    Setup m_setup;
    QList<QCheckBox*> m_fieldBoxes;
};
