#pragma once

#include "ColumnWidths.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>

class GridBinding;
class LibraryData;
class PostalCodes;
class QAction;
class QTabWidget;
class QTableView;
class QTimer;
class RecordSet;
class RecordSetModel;
class StoredValueLists;
class WindowSet;

// The program's hub: owns the record sets, shows books, readers, all loans and overdue loans
// on four tabs, and opens every other window from its menus, tool bar and context menu.
class TMainform : public QMainWindow
{
    Q_OBJECT

public:
    explicit TMainform(QWidget* parent = nullptr);
    ~TMainform() override;

    // The other windows, created after this one (see WindowSet).
    void attach(WindowSet* windows);

    LibraryData& data() { return *m_data; }
    StoredValueLists& storedLists() { return *m_lists; }
    // The postal-code table of the reader entry, fixed when this window is created.
    const PostalCodes& postalCodes() const { return *m_postalCodes; }
    bool DatabaseOpened() const { return m_databaseOpened; }
    QTimer* Timer1() const { return m_timer; }
    QTabWidget* PageControl1() const { return m_pages; }
    QTableView* grid(int number) const; // DBGrid1 ... DBGrid4
    RecordSetModel* gridModel(int number) const;

    // The refresh step: re-reads readers, loans and books unless one of them is being edited.
    void Timer1Timer();
    // Reads the library's captions and shows them in every list and label that names book fields.
    void ApplyFieldCaptions();
    void RestoreColumnWidths();
    void SaveColumnWidths();
    // Other windows' grids whose widths are stored (the search grid "BreiteB", the loan history
    // "BreiteE") and places that show book captions.
    void registerWidthGrid(const QString& prefix, QTableView* view);
    void onFieldCaptionsApplied(std::function<void()> apply);

    // Makes a tab current without running the tab-change step (the user did not pick it).
    void setCurrentTabFromCode(int index);
    static QString overdueFilter();

    QAction* action(const QString& objectName) const;
    WindowSet* windows() const { return m_windows; }

    // Opening the dialogs, as the menus, tool buttons, grids and context menu do.
    void openNewBook();
    void openEditBook();
    void openNewReader();
    void openEditReader();
    void openLoanBooking();
    void openReturns();
    void openClearLoanList();
    void openSearch();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void FormClose();
    void buildMenus();
    void buildToolBar();
    void buildGrids();
    void PageControl1Change(int index);
    void deleteFromGrid(RecordSet& rs);
    void deleteCurrentBook();
    void openDatabaseDialog();
    void openIntervalDialog();
    void openManual();
    QAction* addAction(QMenu* menu, const QString& objectName, const QString& text, bool enabled = true);

    LibraryData* m_data;
    StoredValueLists* m_lists;
    std::unique_ptr<PostalCodes> m_postalCodes;
    QTimer* m_timer;
    QTabWidget* m_pages = nullptr;
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
