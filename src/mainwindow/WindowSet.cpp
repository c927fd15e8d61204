#include "WindowSet.h"

#include "AboutDialog.h"
#include "DatabaseDialog.h"
#include "MainWindow.h"
#include "RefreshIntervalDialog.h"
#include "catalogue/BookEntryDialog.h"
#include "catalogue/CaptionsDialog.h"
#include "catalogue/FieldCaptions.h"
#include "catalogue/ReaderEntryDialog.h"
#include "catalogue/StoredValuesDialog.h"
#include "datastore/LibraryData.h"
#include "exchange/ExportDialog.h"
#include "exchange/ImportWizard.h"
#include "exchange/TakeOverDialog.h"
#include "lending/ClearLoansDialog.h"
#include "lending/LendDialog.h"
#include "lending/LoanHistoryDialog.h"
#include "lending/ReturnDialog.h"
#include "maintenance/BackupDialog.h"
#include "printing/ListPrintDialog.h"
#include "search/CatalogueSearchDialog.h"

WindowSet::WindowSet()
{
    // The main window's creation opens the database before any other window exists; the
    // reactions therefore check that a dialog exists and is showing before they touch it.
    mainWindow = new MainWindow;
    MainWindow& m = *mainWindow;
    LibraryData& data = m.data();
    m.attach(this);
    databaseDialog = new DatabaseDialog(
        data,
        [&m] {
            m.applyFieldCaptions();
            m.saveColumnWidths();
        },
        &m);
    lendDialog = new LendDialog(data, &m);
    loanHistoryDialog = new LoanHistoryDialog(data, m, &m);
    searchDialog = new CatalogueSearchDialog(data, m, &m);
    readerEntryDialog = new ReaderEntryDialog(data, m, &m);
    captionsDialog = new CaptionsDialog(data, m, &m);
    returnDialog = new ReturnDialog(data, &m);
    aboutDialog = new AboutDialog(&m);
    bookEntryDialog = new BookEntryDialog(data, m, &m);
    refreshIntervalDialog = new RefreshIntervalDialog(m.refreshTimer(), &m);
    storedValuesDialog = new StoredValuesDialog(data, &m);
    clearLoansDialog = new ClearLoansDialog(data, &m);
    exportBooksDialog = new ExportDialog(data.books(), ExportDialog::booksSetup(), &m);
    exportReadersDialog = new ExportDialog(data.readers(), ExportDialog::readersSetup(), &m);
    takeOverDialog = new TakeOverDialog(data, m, &m);
    backupDialog = new BackupDialog(data, m, &m);
    bookPrintDialog =
        new ListPrintDialog([] { return PrintLists::books(FieldCaptions::bookFieldCaptions()); }, data.books(), &m);
    loanPrintDialog = new ListPrintDialog([] { return PrintLists::loans(); }, data.loans(), &m);
    readerPrintDialog = new ListPrintDialog([] { return PrintLists::readers(); }, data.readers(), &m);
    importBooksWizard = new ImportWizard(ImportTarget::Kind::Books, data, m.storedLists(), &m);
    importReadersWizard = new ImportWizard(ImportTarget::Kind::Readers, data, m.storedLists(), &m);
}

WindowSet::~WindowSet()
{
    delete mainWindow; // owns the dialogs
}
