#include "MainWindow.h"

#include "AboutDialog.h"
#include "DatabaseDialog.h"
#include "LibraryRefresh.h"
#include "RefreshIntervalDialog.h"
#include "RefreshTimer.h"
#include "WindowSet.h"
#include "catalogue/BookEntryDialog.h"
#include "catalogue/CaptionsDialog.h"
#include "catalogue/FieldCaptions.h"
#include "catalogue/PostalCodes.h"
#include "catalogue/ReaderEntryDialog.h"
#include "catalogue/StoredValueLists.h"
#include "catalogue/StoredValuesDialog.h"
#include "common/gui/DialogLook.h"
#include "common/gui/ErrorGuard.h"
#include "common/gui/GridBinding.h"
#include "common/gui/HelpManual.h"
#include "common/gui/Messages.h"
#include "datastore/DataError.h"
#include "datastore/LibraryData.h"
#include "datastore/RecordSetHelpers.h"
#include "datastore/RecordSetModel.h"
#include "datastore/Settings.h"
#include "exchange/ExportDialog.h"
#include "exchange/ImportWizard.h"
#include "exchange/TakeOverDialog.h"
#include "lending/ClearLoansDialog.h"
#include "lending/LendDialog.h"
#include "lending/LoanHistoryDialog.h"
#include "lending/LoanRecords.h"
#include "lending/LoanView.h"
#include "lending/ReturnDialog.h"
#include "maintenance/BackupDialog.h"
#include "printing/ListPrintDialog.h"
#include "search/CatalogueSearchDialog.h"
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

namespace {

const char* const WebSite = "https://www.brindle-software.de/";
constexpr int DefaultWidth = 80; // a grid column's default width: wide enough for a date

QList<RecordSetModel::Column> columns(const QStringList& fields, const QStringList& titles, const QList<int>& widths)
{
    QList<RecordSetModel::Column> cols;
    for (int i = 0; i < fields.size(); ++i)
        cols.append({fields.at(i), titles.at(i), widths.value(i, DefaultWidth), false});
    return cols;
}

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), m_data(new LibraryData(this)), m_lists(new StoredValueLists(*m_data, this)),
      m_postalCodes(std::make_unique<PostalCodes>()), m_loanView(std::make_unique<LoanView>(m_data->loans())),
      m_timer(new QTimer(this))
{
    setObjectName(QStringLiteral("Mainform"));
    setWindowTitle(tr("Tomaris NET by Brindle Software"));
    m_timer->setObjectName(QStringLiteral("Timer1"));
    connectGuarded(m_timer, &QTimer::timeout, this, &MainWindow::refreshNow);

    // Record-set reactions that need no window.
    RecordSet& books = m_data->books();
    connect(&books, &RecordSet::afterInsert, this, [this] { m_data->books().setValue(Field::Ausgeliehen, false); });
    connect(&books, &RecordSet::afterPost, this, [this] { m_lists->addValuesOfCurrentBook(); });

    buildMenus();
    buildToolBar();
    buildGrids();
    openDatabaseAtStart();
    applyReadOnly();
}

void MainWindow::applyReadOnly()
{
    // A database that may not be written: everything that changes data is switched off.
    const bool writable = !m_data->database().isReadOnly();
    for (const char* name :
         {"actBuchNeu", "actLeserNeu", "actAusleihen", "actRueckgabe", "actBuchLoeschen", "actAusleihlisteLoeschen",
          "actFeldnamen", "actGespeicherteDaten", "actKontextNeu", "actKontextLoeschen"})
        if (QAction* a = action(QString::fromLatin1(name)))
            a->setEnabled(writable);
}

MainWindow::~MainWindow() = default;

void MainWindow::attach(WindowSet* windows)
{
    m_windows = windows;
}

QAction* MainWindow::addAction(QMenu* menu, const QString& objectName, const QString& text, bool enabled)
{
    QAction* a = menu->addAction(text);
    a->setObjectName(objectName);
    a->setEnabled(enabled);
    return a;
}

QAction* MainWindow::action(const QString& objectName) const
{
    return findChild<QAction*>(objectName);
}

void MainWindow::buildMenus()
{
    // Entries whose window comes with a later step are present but disabled.
    QMenu* programm = menuBar()->addMenu(tr("Programm"));
    connect(addAction(programm, "actDatenbank", tr("Datenbank erstellen / öffnen")), &QAction::triggered, this,
            &MainWindow::openDatabaseDialog);
    connect(addAction(programm, "actAktualisierung", tr("Aktualisierungsintervalle")), &QAction::triggered, this,
            &MainWindow::openIntervalDialog);
    programm->addSeparator();
    connect(addAction(programm, "actDatenuebernahme", tr("Datenübernahme aus Tomaris 2004/2005")), &QAction::triggered,
            this, [this] {
                if (m_windows && m_windows->takeOverDialog)
                    m_windows->takeOverDialog->exec();
            });
    programm->addSeparator();
    connect(addAction(programm, "actSichern", tr("Datenbank sichern/zurücklesen")), &QAction::triggered, this, [this] {
        guarded(this, [this] { refreshNow(); });
        m_windows->backupDialog->exec();
    });
    programm->addSeparator();
    connect(addAction(programm, "actBeenden", tr("Beenden")), &QAction::triggered, this,
            [] { QCoreApplication::exit(0); }); // ends at once: no closing steps, nothing stored

    QMenu* ausleihe = menuBar()->addMenu(tr("Ausleihe"));
    QAction* ausleihen = addAction(ausleihe, "actAusleihen", tr("Ausleihen"));
    ausleihen->setShortcut(Qt::Key_F3);
    connect(ausleihen, &QAction::triggered, this, &MainWindow::openLoanBooking);
    QAction* rueckgabe = addAction(ausleihe, "actRueckgabe", tr("Rückgabe"));
    rueckgabe->setShortcut(Qt::Key_F4);
    connect(rueckgabe, &QAction::triggered, this, &MainWindow::openReturns);
    ausleihe->addSeparator();
    connect(addAction(ausleihe, "actAusleihlisteDrucken", tr("Liste drucken")), &QAction::triggered, this,
            [this] { openLoanListPrint(false); });
    connect(addAction(ausleihe, "actUeberfaelligeDrucken", tr("\"Überfällige Bücher\" drucken")), &QAction::triggered,
            this, [this] { openLoanListPrint(true); });
    ausleihe->addSeparator();
    connect(addAction(ausleihe, "actAusleihlisteLoeschen", tr("Ausleihliste löschen")), &QAction::triggered, this,
            &MainWindow::openClearLoanList);

    QMenu* leser = menuBar()->addMenu(tr("Leser"));
    connect(addAction(leser, "actLeserNeu", tr("Neu")), &QAction::triggered, this, &MainWindow::openNewReader);
    connect(addAction(leser, "actLeserBearbeiten", tr("Bearbeiten")), &QAction::triggered, this,
            &MainWindow::openEditReader);
    connect(addAction(leser, "actLeserDrucken", tr("Drucken")), &QAction::triggered, this,
            &MainWindow::openReaderListPrint);
    leser->addSeparator();
    connect(addAction(leser, "actLeserImport", tr("Daten importieren")), &QAction::triggered, this,
            [this] { m_windows->importReadersWizard->exec(); });
    connect(addAction(leser, "actLeserExport", tr("Daten exportieren")), &QAction::triggered, this,
            [this] { m_windows->exportReadersDialog->exec(); });

    QMenu* buecher = menuBar()->addMenu(tr("Bücher"));
    QAction* neu = addAction(buecher, "actBuchNeu", tr("Neu"));
    connect(neu, &QAction::triggered, this, &MainWindow::openNewBook);
    neu->setStatusTip(tr("Neues Buch anlegen"));
    neu->setToolTip(neu->statusTip());
    QAction* bearbeiten = addAction(buecher, "actBuchBearbeiten", tr("Bearbeiten"));
    connect(bearbeiten, &QAction::triggered, this, &MainWindow::openEditBook);
    bearbeiten->setStatusTip(tr("Bücher bearbeiten"));
    QAction* auswerten = addAction(buecher, "actAuswerten", tr("Auswerten / Suchen"));
    connect(auswerten, &QAction::triggered, this, &MainWindow::openSearch);
    auswerten->setStatusTip(tr("Bücher auswerten / suchen"));
    QAction* drucken = addAction(buecher, "actBuecherDrucken", tr("Drucken"));
    connect(drucken, &QAction::triggered, this, &MainWindow::openBookListPrint);
    drucken->setStatusTip(tr("Bücherlisten drucken"));
    buecher->addSeparator();
    connect(addAction(buecher, "actBuchLoeschen", tr("Löschen")), &QAction::triggered, this,
            &MainWindow::deleteCurrentBook);
    buecher->addSeparator();
    connect(addAction(buecher, "actBuecherImport", tr("Daten importieren")), &QAction::triggered, this,
            [this] { m_windows->importBooksWizard->exec(); });
    connect(addAction(buecher, "actBuecherExport", tr("Daten exportieren")), &QAction::triggered, this,
            [this] { m_windows->exportBooksDialog->exec(); });

    QMenu* optionen = menuBar()->addMenu(tr("Optionen"));
    connect(addAction(optionen, "actFeldnamen", tr("Feldnamen")), &QAction::triggered, this,
            [this] { m_windows->captionsDialog->exec(); });
    connect(addAction(optionen, "actGespeicherteDaten", tr("Gespeicherte Daten")), &QAction::triggered, this,
            [this] { m_windows->storedValuesDialog->exec(); });

    QMenu* hilfe = menuBar()->addMenu(tr("Hilfe"));
    QAction* help = addAction(hilfe, "actHilfe", tr("Hilfe aufrufen"));
    help->setShortcut(Qt::Key_F1);
    connect(help, &QAction::triggered, this, &MainWindow::openManual);
    connect(addAction(hilfe, "actInternet", tr("Brindle Software im Internet")), &QAction::triggered, this,
            [] { QDesktopServices::openUrl(QUrl(QString::fromLatin1(WebSite))); });
    hilfe->addSeparator();
    addAction(hilfe, "actUmfrage", tr("UMFRAGE zur Verbesserung des Programmes"), false);
    connect(addAction(hilfe, "actInfo", tr("Info")), &QAction::triggered, this,
            [this] { m_windows->aboutDialog->exec(); });
}

void MainWindow::buildToolBar()
{
    QToolBar* bar = addToolBar(tr("Werkzeuge"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setFixedHeight(72);
    bar->setIconSize(QSize(32, 32));
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setStyleSheet(QStringLiteral("QToolBar { border: none; background: qlineargradient(x1:0, y1:0, x2:0, y2:1, "
                                      "stop:0 white, stop:1 palette(highlight)); }"
                                      "QToolButton { color: white; font-weight: bold; min-height: 36px; }"));
    struct Tool
    {
        const char* name;
        const char* caption;
        const char* menuAction;
        QStyle::StandardPixmap icon;
    };
    const Tool tools[] = {
        {"TBAusleihe", QT_TR_NOOP("Ausleihe"), "actAusleihen", QStyle::SP_ArrowRight},
        {"TBRueckgabe", QT_TR_NOOP("Rückgabe"), "actRueckgabe", QStyle::SP_ArrowLeft},
        {"TBNeuesBuch", QT_TR_NOOP("Neues Buch"), "actBuchNeu", QStyle::SP_FileIcon},
        {"TBNeuerLeser", QT_TR_NOOP("Neuer Leser"), "actLeserNeu", QStyle::SP_DirHomeIcon},
        {"TBAuswerten", QT_TR_NOOP("Auswerten/Suchen"), "actAuswerten", QStyle::SP_FileDialogContentsView},
        {"TBBuecherlisten", QT_TR_NOOP("Bücherlisten"), "actBuecherDrucken", QStyle::SP_FileDialogDetailedView},
        {"TBHilfe", QT_TR_NOOP("Hilfe"), "actHilfe", QStyle::SP_DialogHelpButton},
    };
    for (const Tool& t : tools) {
        QAction* menuAction = action(QString::fromLatin1(t.menuAction));
        QAction* a = bar->addAction(style()->standardIcon(t.icon), tr(t.caption));
        a->setObjectName(QString::fromLatin1(t.name));
        a->setEnabled(menuAction->isEnabled());
        connect(a, &QAction::triggered, menuAction, &QAction::trigger);
        connect(menuAction, &QAction::changed, a, [a, menuAction] { a->setEnabled(menuAction->isEnabled()); });
    }
}

void MainWindow::buildGrids()
{
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("PageControl1"));
    setCentralWidget(m_tabs);

    const QStringList& loanFields = FieldCaptions::loanColumnFields();
    const QList<int> loanWidths{50, 100, 100, 50, 100, 100, DefaultWidth, DefaultWidth, DefaultWidth};
    QStringList overdueFields = loanFields, overdueTitles = FieldCaptions::loanFieldCaptions();
    QList<int> overdueWidths = loanWidths;
    overdueFields.removeAt(7);
    overdueTitles.removeAt(7);
    overdueWidths.removeAt(7);
    const QStringList& readerFields = FieldCaptions::readerColumnFields();

    struct Tab
    {
        const char* title;
        RecordSet* rs;
        QList<RecordSetModel::Column> cols;
    };
    const Tab tabs[] = {
        {QT_TR_NOOP("Bücher"), &m_data->books(),
         columns(FieldCaptions::bookColumnFields(), FieldCaptions::bookFieldCaptions(),
                 FieldCaptions::bookColumnDesignWidths())},
        {QT_TR_NOOP("Leser"), &m_data->readers(),
         columns(readerFields, readerFields, {DefaultWidth, 100, 100, 100, 50, 100, 100, 100, 100, 100})},
        {QT_TR_NOOP("Ausleihliste"), &m_data->loans(),
         columns(loanFields, FieldCaptions::loanFieldCaptions(), loanWidths)},
        {QT_TR_NOOP("Überfällige Bücher"), &m_data->loans(), columns(overdueFields, overdueTitles, overdueWidths)},
    };
    for (int i = 0; i < 4; ++i) {
        auto* view = new QTableView(m_tabs);
        view->setObjectName(QStringLiteral("DBGrid%1").arg(i + 1));
        auto* model = new RecordSetModel(tabs[i].rs, tabs[i].cols, view);
        auto* binding = new GridBinding(view, model);
        binding->applyDesignWidths();
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        m_tabs->addTab(view, tr(tabs[i].title));
        m_grids << view;
        m_models << model;
        m_bindings << binding;

        view->installEventFilter(this); // Ctrl+Delete
    }

    // One context menu for all four grids.
    auto* context = new QMenu(this);
    context->setObjectName(QStringLiteral("PopupMenu1"));
    context->addAction(tr("Neues Buch anlegen"))->setObjectName(QStringLiteral("actKontextNeu"));
    context->addAction(tr("Buch bearbeiten"))->setObjectName(QStringLiteral("actKontextBearbeiten"));
    QAction* kontextLoeschen = context->addAction(tr("Buch löschen"));
    kontextLoeschen->setObjectName(QStringLiteral("actKontextLoeschen"));
    connect(action("actKontextNeu"), &QAction::triggered, this, &MainWindow::openNewBook);
    connect(action("actKontextBearbeiten"), &QAction::triggered, this, &MainWindow::editBookAsItIs);
    connect(grid(MainTab::Books), &QAbstractItemView::doubleClicked, this, &MainWindow::openEditBook);
    connect(grid(MainTab::Readers), &QAbstractItemView::doubleClicked, this, &MainWindow::openEditReader);
    connect(kontextLoeschen, &QAction::triggered, this, &MainWindow::deleteCurrentBook);
    for (QTableView* view : m_grids)
        connect(view, &QWidget::customContextMenuRequested, this,
                [context, view](const QPoint& pos) { context->popup(view->viewport()->mapToGlobal(pos)); });

    // Title clicks sort the books and readers; the loan grids ignore them.
    for (MainTab tab : {MainTab::Books, MainTab::Readers})
        sortOnTitleClick(grid(tab), gridModel(tab), this);

    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (!m_tabFromCode)
            guarded(this, [&] { showLoansOfTab(index); });
    });

    m_widthGrids = {{QStringLiteral("BreiteA"), grid(MainTab::Books)},
                    {QStringLiteral("BreiteC"), grid(MainTab::Readers)},
                    {QStringLiteral("BreiteD"), grid(MainTab::Loans)}};
}

QTableView* MainWindow::grid(MainTab tab) const
{
    return m_grids.at(int(tab));
}

RecordSetModel* MainWindow::gridModel(MainTab tab) const
{
    return m_models.at(int(tab));
}

void MainWindow::registerWidthGrid(const QString& prefix, QTableView* view)
{
    // Kept in prefix order: A, B, C, D, E.
    auto it = std::find_if(m_widthGrids.begin(), m_widthGrids.end(),
                           [&](const ColumnWidths::Grid& g) { return g.prefix > prefix; });
    m_widthGrids.insert(it, {prefix, view});
}

void MainWindow::onFieldCaptionsApplied(std::function<void()> apply)
{
    m_captionTargets.append(std::move(apply));
}

// ---------------------------------------------------------------- start, show, close

void MainWindow::openDatabaseAtStart()
{
    m_databaseOpened = m_data->openAtStart(Settings::ReadSettingString(SettingName::DBPfad));

    // A plz.xml next to the program replaces the built-in postal codes; one that cannot be
    // read is reported and the built-in table is used.
    QString plzProblem;
    *m_postalCodes = PostalCodes::atStart(QCoreApplication::applicationDirPath(), &plzProblem);
    if (!plzProblem.isEmpty())
        Messages::error(this, plzProblem);

    if (Settings::ReadSettingInt(SettingName::Refresh) == 0)
        guarded(this, [] { Settings::WriteSettingInt(SettingName::Refresh, 600); });
    RefreshTimer::applyInterval(m_timer, Settings::ReadSettingInt(SettingName::Refresh));

    QPalette pal = palette();
    pal.setColor(QPalette::Window, DialogLook::Background);
    setPalette(pal);
    setAutoFillBackground(true);
    grid(MainTab::Books)
        ->horizontalHeader()
        ->setStyleSheet(QStringLiteral("QHeaderView::section { background-color: rgb(233, 233, 233); }"));
    grid(MainTab::Books)
        ->verticalHeader()
        ->setStyleSheet(QStringLiteral("QHeaderView::section { background-color: rgb(233, 233, 233); }"));
    resize(770, 484 + 72 + menuBar()->sizeHint().height());
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    // After the window is up, so that the database dialog opens over it.
    QMetaObject::invokeMethod(this, &MainWindow::restoreAtFirstShow, Qt::QueuedConnection);
}

void MainWindow::restoreAtFirstShow()
{
    if (!m_databaseOpened && m_windows && m_windows->databaseDialog) {
        m_windows->databaseDialog->exec();
        applyReadOnly();
    } else if (m_databaseOpened)
        for (const QString& notice : m_data->database().notices())
            Messages::inform(this, notice);

    // A database that is still not open fails here once; the window then shows empty lists and
    // the refresh timer stays off.
    guarded(this, [this] {
        applyStoredView();
        if (!m_timer->property("switchedOff").toBool())
            m_timer->start();
    });
}

// Window state and size, captions, column widths and sort orders, as the settings hold them.
void MainWindow::applyStoredView()
{
    if (Settings::ReadSettingString(SettingName::WindowState) == u"wsMaximized") {
        showMaximized();
    } else {
        showNormal();
        int h = Settings::ReadSettingInt(SettingName::Height);
        int w = Settings::ReadSettingInt(SettingName::Width);
        if (h < 200)
            h = 500;
        if (w < 200)
            w = 700;
        // A damaged settings file must not make the window larger than the screen.
        if (QScreen* s = screen()) {
            const QSize room = s->availableGeometry().size();
            w = std::min(w, room.width());
            h = std::min(h, room.height());
        }
        resize(w, h);
    }
    applyFieldCaptions();
    restoreColumnWidths();
    // A stored sort naming a field that does not exist (any more) is simply not applied.
    for (auto [rs, setting] : {std::pair{&m_data->readers(), SettingName::SortLeser},
                               std::pair{&m_data->books(), SettingName::SortBuecher}}) {
        try {
            rs->setIndexFieldNames(Settings::ReadSettingString(setting));
        } catch (const DataError&) {
            if (!rs->active())
                throw;
        }
    }
}

void MainWindow::applyRestoredState()
{
    // What closing stores is then what was restored, not the state before.
    m_lists->reload();
    applyStoredView();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    guarded(this, [this] { storeWindowState(); });
    QMainWindow::closeEvent(event);
}

void MainWindow::storeWindowState()
{
    Settings::WriteSettingString(SettingName::SortLeser, m_data->readers().indexFieldNames());
    Settings::WriteSettingString(SettingName::SortBuecher, m_data->books().indexFieldNames());
    if (isMaximized()) {
        Settings::WriteSettingString(SettingName::WindowState, QStringLiteral("wsMaximized"));
    } else if (!isMinimized()) {
        Settings::WriteSettingString(SettingName::WindowState, QStringLiteral("wsNormal"));
        Settings::WriteSettingInt(SettingName::Height, height());
        Settings::WriteSettingInt(SettingName::Width, width());
    }
    saveColumnWidths();
}

// ---------------------------------------------------------------- captions and widths

void MainWindow::applyFieldCaptions()
{
    RecordSet& blob = m_data->blob();
    blob.requery();
    FieldCaptions::applyStoredCaptions(blob.value(Field::FeldnamenBuecher).toString());
    const QStringList& captions = FieldCaptions::bookFieldCaptions();
    for (int k = 0; k < captions.size(); ++k)
        gridModel(MainTab::Books)->setColumnTitle(k, captions.at(k));
    for (const auto& apply : m_captionTargets)
        apply();
}

void MainWindow::restoreColumnWidths()
{
    ColumnWidths::restore(m_widthGrids);
}

void MainWindow::saveColumnWidths()
{
    ColumnWidths::save(m_widthGrids);
}

// ---------------------------------------------------------------- reactions

void MainWindow::refreshNow()
{
    // Never while the user reads a message or answers a question.
    if (Messages::isShowing())
        return;
    LibraryRefresh::run(*m_data, m_loanView.get());
}

void MainWindow::showLoansOfTab(int index)
{
    m_loanView->setOverdue(index == int(MainTab::Overdue));
    m_loanView->apply();
}

void MainWindow::setCurrentTabQuietly(MainTab tab)
{
    m_tabFromCode = true;
    m_tabs->setCurrentIndex(int(tab));
    m_tabFromCode = false;
    // The loans keep what they show; a dialog that narrows them returns to this tab's view.
    m_loanView->setOverdue(tab == MainTab::Overdue);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const int i = int(m_grids.indexOf(qobject_cast<QTableView*>(watched)));
        if (i >= 0 && key->key() == Qt::Key_Delete && key->modifiers() == Qt::ControlModifier) {
            deleteFromGrid(*m_models.at(i)->recordSet());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::deleteFromGrid(RecordSet& rs)
{
    guarded(this, [&] {
        LoanRecords::deleteAfterAsking(*m_data, rs, [this] {
            return Messages::ask(this, tr("Datensatz löschen?"), Messages::Buttons::OkCancel) == Messages::Answer::Ok;
        });
    });
}

void MainWindow::deleteCurrentBook()
{
    guarded(this, [this] {
        LoanRecords::deleteAfterAsking(
            *m_data, m_data->books(),
            [this] {
                return Messages::ask(this, tr("Sind Sie sicher, dass Sie den aktuellen Datensatz löschen möchten?"),
                                     Messages::Buttons::YesCancel) == Messages::Answer::Yes;
            },
            WhenEmpty::AskAndReport);
    });
}

void MainWindow::editBookAsItIs()
{
    // Without preparing the combo lists: they hold what they held last.
    if (m_data->books().active() && !m_data->books().isEmpty())
        m_windows->bookEntryDialog->exec();
}

void MainWindow::openDatabaseDialog()
{
    if (m_windows && m_windows->databaseDialog)
        m_windows->databaseDialog->exec();
    applyReadOnly();
    // After a start without a database the timer never ran; it does once there is one.
    if (m_data->isOpen() && !m_timer->isActive() && !m_timer->property("switchedOff").toBool())
        m_timer->start();
}

void MainWindow::openIntervalDialog()
{
    if (m_windows && m_windows->refreshIntervalDialog)
        m_windows->refreshIntervalDialog->exec();
}

void MainWindow::openNewBook()
{
    if (!guarded(this, [this] {
            refreshNow();
            m_lists->reload();
            m_data->books().insert();
        }))
        return;
    m_windows->bookEntryDialog->exec();
}

void MainWindow::openEditBook()
{
    RecordSet& books = m_data->books();
    if (!books.active() || books.isEmpty())
        return;
    guarded(this, [&] {
        const int recNo = books.recNo();
        RecordSet* sets[] = {&m_data->readers(), &m_data->loans(), &books};
        for (RecordSet* rs : sets)
            rs->disableControls();
        const auto reattach = qScopeGuard([&] {
            for (RecordSet* rs : sets)
                rs->enableControls();
        });
        m_lists->reload();
        books.setRecNo(recNo);
    });
    m_windows->bookEntryDialog->exec();
}

void MainWindow::openNewReader()
{
    if (!guarded(this, [this] {
            refreshNow();
            m_data->readers().insert();
        }))
        return;
    m_windows->readerEntryDialog->exec();
}

void MainWindow::openEditReader()
{
    RecordSet& readers = m_data->readers();
    if (readers.active() && !readers.isEmpty())
        m_windows->readerEntryDialog->exec();
}

void MainWindow::openLoanBooking()
{
    guarded(this, [this] { refreshNow(); });
    m_windows->lendDialog->exec();
}

void MainWindow::openReturns()
{
    guarded(this, [this] { refreshNow(); });
    m_windows->returnDialog->exec();
}

void MainWindow::openClearLoanList()
{
    m_windows->clearLoansDialog->exec();
}

void MainWindow::openSearch()
{
    guarded(this, [this] { refreshNow(); });
    m_windows->searchDialog->exec();
}

void MainWindow::printBookList(bool offerNarrowing)
{
    ListPrintDialog* dialog = m_windows->bookPrintDialog;
    dialog->setNarrowButtonVisible(offerNarrowing);
    dialog->exec();
}

void MainWindow::openBookListPrint()
{
    guarded(this, [this] { refreshNow(); });
    printBookList(true);
    // "Bücher eingrenzen/sortieren" leaves its marker; the search opens once the dialog is closed.
    ListPrintDialog* dialog = m_windows->bookPrintDialog;
    const bool narrow = dialog->DruckDialogAktion == ListPrintDialog::NarrowAndSort;
    dialog->DruckDialogAktion = 0;
    if (narrow)
        openSearch();
}

void MainWindow::openReaderListPrint()
{
    guarded(this, [this] { refreshNow(); });
    m_windows->readerPrintDialog->exec();
}

void MainWindow::openLoanListPrint(bool overdue)
{
    if (!guarded(this, [&] {
            refreshNow();
            // The list prints what the tab shows: every loan, or the overdue ones (which stay
            // filtered afterwards, as the tab shows them).
            setCurrentTabQuietly(overdue ? MainTab::Overdue : MainTab::Loans);
            m_loanView->setOverdue(overdue);
            m_loanView->apply();
        }))
        return;
    m_windows->loanPrintDialog->exec();
}

void MainWindow::openManual()
{
    HelpManual::open(HelpManual::NetManual);
}

void MainWindow::openLoanHistory()
{
    if (m_windows && m_windows->loanHistoryDialog)
        m_windows->loanHistoryDialog->exec();
}
