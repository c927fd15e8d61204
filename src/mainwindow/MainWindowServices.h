#pragma once

#include <QString>
#include <functional>

class LoanView;
class PostalCodes;
class QTableView;
class StoredValueLists;

// What the dialogs may ask of the main window. They get this and the library's data instead of
// the main window itself, so that none of them knows its tabs, grids or other dialogs.
class MainWindowServices
{
public:
    virtual ~MainWindowServices() = default;

    // The refresh step (see LibraryRefresh); waits while a question or message is open.
    virtual void refreshNow() = 0;
    // Reads the library's captions and shows them in every list and label that names book fields.
    virtual void applyFieldCaptions() = 0;
    // Places that show book captions register here; they are called after every change.
    virtual void onFieldCaptionsApplied(std::function<void()> apply) = 0;
    virtual void saveColumnWidths() = 0;
    // A grid of another window whose widths are stored under `prefix` ("BreiteB", "BreiteE").
    virtual void registerWidthGrid(const QString& prefix, QTableView* view) = 0;

    virtual StoredValueLists& storedLists() = 0;
    virtual const PostalCodes& postalCodes() const = 0;
    // What the main window's loan lists show (all or overdue).
    virtual LoanView& loanView() = 0;

    // After the library was read back from a backup: shows the restored captions and lists, and
    // takes window size and state, column widths and sort orders from the restored settings.
    virtual void applyRestoredState() = 0;

    virtual void openLoanHistory() = 0;
    // The book list's print dialog over the books as they are now filtered and sorted;
    // `offerNarrowing` shows its button that sends the user to the search first.
    virtual void printBookList(bool offerNarrowing) = 0;
    virtual void openManual() = 0;
};
