#pragma once

#include "ColumnWidths.h"
#include "MainWindowServices.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>

class GridBinding;
class LibraryData;
class LoanView;
class PostalCodes;
class QAction;
class QMenu;
class QTabWidget;
class QTableView;
class QTimer;
class RecordSet;
class RecordSetModel;
class StoredValueLists;
class WindowSet;

// The four tabs of the main window, in their order.
enum class MainTab { Books, Readers, Loans, Overdue };

// The program's hub: owns the record sets, shows books, readers, all loans and overdue loans
// on four tabs, and opens every other window from its menus, tool bar and context menu.
class MainWindow : public QMainWindow, public MainWindowServices
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // The other windows, created after this one (see WindowSet).
    void attach(WindowSet* windows);

    LibraryData& data() { return *m_data; }
    bool databaseOpened() const { return m_databaseOpened; }
    QTimer* refreshTimer() const { return m_timer; }
    QTabWidget* tabs() const { return m_tabs; }
    QTableView* grid(MainTab tab) const;
    RecordSetModel* gridModel(MainTab tab) const;
    QAction* action(const QString& objectName) const;

    // Makes a tab current without running the tab-change step (the user did not pick it).
    void setCurrentTabQuietly(MainTab tab);

    void restoreColumnWidths();

    // MainWindowServices
    void refreshNow() override;
    void applyFieldCaptions() override;
    void onFieldCaptionsApplied(std::function<void()> apply) override;
    void saveColumnWidths() override;
    void registerWidthGrid(const QString& prefix, QTableView* view) override;
    StoredValueLists& storedLists() override { return *m_lists; }
    // The postal-code table of the reader entry, fixed when this window is created.
    const PostalCodes& postalCodes() const override { return *m_postalCodes; }
    LoanView& loanView() override { return *m_loanView; }
    void applyRestoredState() override;
    void openLoanHistory() override;
    void openManual() override;
    void printBookList(bool offerNarrowing) override;

    // Opening the dialogs, as the menus, tool buttons, grids and context menu do.
    void openNewBook();
    void openEditBook();
    void openNewReader();
    void openEditReader();
    void openLoanBooking();
    void openReturns();
    void openClearLoanList();
    void openSearch();
    void openBookListPrint();
    void openReaderListPrint();
    void openLoanListPrint(bool overdue);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openDatabaseAtStart();
    void restoreAtFirstShow();
    void applyStoredView();
    void storeWindowState();
    void buildMenus();
    void buildToolBar();
    void buildGrids();
    void showLoansOfTab(int index);
    void deleteFromGrid(RecordSet& rs);
    void deleteCurrentBook();
    void editBookAsItIs();
    void openDatabaseDialog();
    void applyReadOnly();
    void openIntervalDialog();
    QAction* addAction(QMenu* menu, const QString& objectName, const QString& text, bool enabled = true);

    LibraryData* m_data;
    StoredValueLists* m_lists;
    std::unique_ptr<PostalCodes> m_postalCodes;
    std::unique_ptr<LoanView> m_loanView;
    QTimer* m_timer;
    QTabWidget* m_tabs = nullptr;
    QList<QTableView*> m_grids;
    QList<RecordSetModel*> m_models;
    QList<GridBinding*> m_bindings;
    QList<ColumnWidths::Grid> m_widthGrids;
    QList<std::function<void()>> m_captionTargets;
    WindowSet* m_windows = nullptr;
    bool m_databaseOpened = false;
    bool m_shown = false;
    bool m_tabFromCode = false;
};
