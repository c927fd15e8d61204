#pragma once

class AboutDialog;
class BackupDialog;
class LendDialog;
class LoanHistoryDialog;
class ClearLoansDialog;
class CatalogueSearchDialog;
class BookEntryDialog;
class DatabaseDialog;
class ExportDialog;
class RefreshIntervalDialog;
class ReaderEntryDialog;
class MainWindow;
class CaptionsDialog;
class ReturnDialog;
class StoredValuesDialog;
class TakeOverDialog;
class ListPrintDialog;
class ImportWizard;

// Every window of the program, each created once, the main window first. main() and the GUI
// tests create the windows through this one class, so that tests see what users see.
class WindowSet
{
public:
    WindowSet();
    ~WindowSet();
    WindowSet(const WindowSet&) = delete;
    WindowSet& operator=(const WindowSet&) = delete;

    MainWindow* mainWindow = nullptr;
    DatabaseDialog* databaseDialog = nullptr;
    LendDialog* lendDialog = nullptr;
    LoanHistoryDialog* loanHistoryDialog = nullptr;
    CatalogueSearchDialog* searchDialog = nullptr;
    ReaderEntryDialog* readerEntryDialog = nullptr;
    CaptionsDialog* captionsDialog = nullptr;
    ReturnDialog* returnDialog = nullptr;
    AboutDialog* aboutDialog = nullptr;
    BookEntryDialog* bookEntryDialog = nullptr;
    RefreshIntervalDialog* refreshIntervalDialog = nullptr;
    StoredValuesDialog* storedValuesDialog = nullptr;
    ClearLoansDialog* clearLoansDialog = nullptr;
    ExportDialog* exportBooksDialog = nullptr;
    ExportDialog* exportReadersDialog = nullptr;
    TakeOverDialog* takeOverDialog = nullptr;
    BackupDialog* backupDialog = nullptr;
    ListPrintDialog* bookPrintDialog = nullptr;
    ListPrintDialog* loanPrintDialog = nullptr;
    ListPrintDialog* readerPrintDialog = nullptr;
    ImportWizard* importBooksWizard = nullptr;
    ImportWizard* importReadersWizard = nullptr;
};
