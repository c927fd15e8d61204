#include "TMainform.h"

#include "FieldCaptions.h"
#include "RefreshTimer.h"
#include "StoredValueLists.h"
#include "TAboutF.h"
#include "TDBErstellenF.h"
#include "TDatenbankaktualisierungF.h"
#include "WindowSet.h"
#include "catalogue/PostalCodes.h"
#include "catalogue/TDB1EingabeF.h"
#include "catalogue/TLeserEingebenF.h"
#include "catalogue/TOptionenF.h"
#include "catalogue/TSpeicherwerteLoeschenF.h"
#include "common/Clock.h"
#include "common/Formats.h"
#include "common/gui/DialogLook.h"
#include "common/gui/ErrorGuard.h"
#include "common/gui/GridBinding.h"
#include "common/gui/HelpManual.h"
#include "common/gui/Messages.h"
#include "datastore/LibraryData.h"
#include "datastore/RecordSetModel.h"
#include "datastore/Settings.h"
#include "lending/TAusleiheBuchenF.h"
#include "lending/TAusleihlisteLoeschenF.h"
#include "lending/TRueckgabeF.h"
#include "search/TAuswertenF.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
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

TMainform::TMainform(QWidget* parent)
    : QMainWindow(parent), m_data(new LibraryData(this)), m_lists(new StoredValueLists(*m_data, this)),
      m_postalCodes(std::make_unique<PostalCodes>()), m_timer(new QTimer(this))
{
    setObjectName(QStringLiteral("Mainform"));
    setWindowTitle(tr("Tomaris NET by Brindle Software"));
    m_timer->setObjectName(QStringLiteral("Timer1"));
    connect(m_timer, &QTimer::timeout, this, [this] { guarded(this, [this] { Timer1Timer(); }); });

    // Record-set reactions that need no window.
    RecordSet& books = m_data->ClientBuecher();
    connect(&books, &RecordSet::afterInsert, this,
            [this] { m_data->ClientBuecher().setValue(QStringLiteral("ausgeliehen"), false); });
    connect(&books, &RecordSet::afterPost, this, [this] { m_lists->addValuesOfCurrentBook(); });

    buildMenus();
    buildToolBar();
    buildGrids();
    FormCreate();
}

TMainform::~TMainform() = default;

void TMainform::attach(WindowSet* windows)
{
    m_windows = windows;
}

QAction* TMainform::addAction(QMenu* menu, const QString& objectName, const QString& text, bool enabled)
{
    QAction* a = menu->addAction(text);
    a->setObjectName(objectName);
    a->setEnabled(enabled);
    return a;
}

QAction* TMainform::action(const QString& objectName) const
{
    return findChild<QAction*>(objectName);
}

void TMainform::buildMenus()
{
    // Entries whose window comes with a later step are present but disabled.
    QMenu* programm = menuBar()->addMenu(tr("Programm"));
    connect(addAction(programm, "actDatenbank", tr("Datenbank erstellen / öffnen")), &QAction::triggered, this,
            &TMainform::openDatabaseDialog);
    connect(addAction(programm, "actAktualisierung", tr("Aktualisierungsintervalle")), &QAction::triggered, this,
            &TMainform::openIntervalDialog);
    programm->addSeparator();
    addAction(programm, "actDatenuebernahme", tr("Datenübernahme aus Tomaris 2004/2005"), false);
    programm->addSeparator();
    addAction(programm, "actSichern", tr("Datenbank sichern/zurücklesen"), false);
    programm->addSeparator();
    connect(addAction(programm, "actBeenden", tr("Beenden")), &QAction::triggered, this,
            [] { QCoreApplication::exit(0); }); // ends at once: no closing steps, nothing stored

    QMenu* ausleihe = menuBar()->addMenu(tr("Ausleihe"));
    QAction* ausleihen = addAction(ausleihe, "actAusleihen", tr("Ausleihen"));
    ausleihen->setShortcut(Qt::Key_F3);
    connect(ausleihen, &QAction::triggered, this, &TMainform::openLoanBooking);
    QAction* rueckgabe = addAction(ausleihe, "actRueckgabe", tr("Rückgabe"));
    rueckgabe->setShortcut(Qt::Key_F4);
    connect(rueckgabe, &QAction::triggered, this, &TMainform::openReturns);
    ausleihe->addSeparator();
    addAction(ausleihe, "actAusleihlisteDrucken", tr("Liste drucken"), false);
    addAction(ausleihe, "actUeberfaelligeDrucken", tr("\"Überfällige Bücher\" drucken"), false);
    ausleihe->addSeparator();
    connect(addAction(ausleihe, "actAusleihlisteLoeschen", tr("Ausleihliste löschen")), &QAction::triggered, this,
            &TMainform::openClearLoanList);

    QMenu* leser = menuBar()->addMenu(tr("Leser"));
    connect(addAction(leser, "actLeserNeu", tr("Neu")), &QAction::triggered, this, &TMainform::openNewReader);
    connect(addAction(leser, "actLeserBearbeiten", tr("Bearbeiten")), &QAction::triggered, this,
            &TMainform::openEditReader);
    addAction(leser, "actLeserDrucken", tr("Drucken"), false);
    leser->addSeparator();
    addAction(leser, "actLeserImport", tr("Daten importieren"), false);
    addAction(leser, "actLeserExport", tr("Daten exportieren"), false);

    QMenu* buecher = menuBar()->addMenu(tr("Bücher"));
    QAction* neu = addAction(buecher, "actBuchNeu", tr("Neu"));
    connect(neu, &QAction::triggered, this, &TMainform::openNewBook);
    neu->setStatusTip(tr("Neues Buch anlegen"));
    neu->setToolTip(neu->statusTip());
    QAction* bearbeiten = addAction(buecher, "actBuchBearbeiten", tr("Bearbeiten"));
    connect(bearbeiten, &QAction::triggered, this, &TMainform::openEditBook);
    bearbeiten->setStatusTip(tr("Bücher bearbeiten"));
    QAction* auswerten = addAction(buecher, "actAuswerten", tr("Auswerten / Suchen"));
    connect(auswerten, &QAction::triggered, this, &TMainform::openSearch);
    auswerten->setStatusTip(tr("Bücher auswerten / suchen"));
    QAction* drucken = addAction(buecher, "actBuecherDrucken", tr("Drucken"), false);
    drucken->setStatusTip(tr("Bücherlisten drucken"));
    buecher->addSeparator();
    connect(addAction(buecher, "actBuchLoeschen", tr("Löschen")), &QAction::triggered, this,
            &TMainform::deleteCurrentBook);
    buecher->addSeparator();
    addAction(buecher, "actBuecherImport", tr("Daten importieren"), false);
    addAction(buecher, "actBuecherExport", tr("Daten exportieren"), false);

    QMenu* optionen = menuBar()->addMenu(tr("Optionen"));
    connect(addAction(optionen, "actFeldnamen", tr("Feldnamen")), &QAction::triggered, this,
            [this] { m_windows->OptionenF->exec(); });
    connect(addAction(optionen, "actGespeicherteDaten", tr("Gespeicherte Daten")), &QAction::triggered, this,
            [this] { m_windows->SpeicherwerteLoeschenF->exec(); });

    QMenu* hilfe = menuBar()->addMenu(tr("Hilfe"));
    QAction* help = addAction(hilfe, "actHilfe", tr("Hilfe aufrufen"));
    help->setShortcut(Qt::Key_F1);
    connect(help, &QAction::triggered, this, &TMainform::openManual);
    connect(addAction(hilfe, "actInternet", tr("Brindle Software im Internet")), &QAction::triggered, this,
            [] { QDesktopServices::openUrl(QUrl(QString::fromLatin1(WebSite))); });
    hilfe->addSeparator();
    addAction(hilfe, "actUmfrage", tr("UMFRAGE zur Verbesserung des Programmes"), false);
    connect(addAction(hilfe, "actInfo", tr("Info")), &QAction::triggered, this, [this] { m_windows->AboutF->exec(); });
}

void TMainform::buildToolBar()
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

void TMainform::buildGrids()
{
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    setCentralWidget(m_pages);

    const QStringList loanFields{"BuchNummer",    "BuchVerfasser", "BuchTitel", "LeserNummer", "LeserVorname",
                                 "LeserNachname", "DatumVon",      "DatumBis",  "DatumBisSoll"};
    const QList<int> loanWidths{50, 100, 100, 50, 100, 100, DefaultWidth, DefaultWidth, DefaultWidth};
    QStringList overdueFields = loanFields, overdueTitles = FieldCaptions::LoanFieldCaptions();
    QList<int> overdueWidths = loanWidths;
    overdueFields.removeAt(7);
    overdueTitles.removeAt(7);
    overdueWidths.removeAt(7);
    const QStringList readerFields{"Nummer",     "Vorname",  "Nachname", QStringLiteral("Straße"),
                                   "PLZ",        "Ort",      "Telefon",  "eMail",
                                   "Sonstiges1", "Bemerkung"};

    struct Tab
    {
        const char* title;
        RecordSet* rs;
        QList<RecordSetModel::Column> cols;
    };
    const Tab tabs[] = {
        {QT_TR_NOOP("Bücher"), &m_data->ClientBuecher(),
         columns(FieldCaptions::bookColumnFields(), FieldCaptions::BookFieldCaptions(),
                 FieldCaptions::bookColumnDesignWidths())},
        {QT_TR_NOOP("Leser"), &m_data->ClientLeser(),
         columns(readerFields, readerFields, {DefaultWidth, 100, 100, 100, 50, 100, 100, 100, 100, 100})},
        {QT_TR_NOOP("Ausleihliste"), &m_data->ClientAusleihe(),
         columns(loanFields, FieldCaptions::LoanFieldCaptions(), loanWidths)},
        {QT_TR_NOOP("Überfällige Bücher"), &m_data->ClientAusleihe(),
         columns(overdueFields, overdueTitles, overdueWidths)},
    };
    for (int i = 0; i < 4; ++i) {
        auto* view = new QTableView(m_pages);
        view->setObjectName(QStringLiteral("DBGrid%1").arg(i + 1));
        auto* model = new RecordSetModel(tabs[i].rs, tabs[i].cols, view);
        auto* binding = new GridBinding(view, model);
        binding->applyDesignWidths();
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        m_pages->addTab(view, tr(tabs[i].title));
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
    connect(action("actKontextNeu"), &QAction::triggered, this, &TMainform::openNewBook);
    connect(action("actKontextBearbeiten"), &QAction::triggered, this, [this] {
        // Without preparing the combo lists: they hold what they held last.
        if (m_data->ClientBuecher().active() && !m_data->ClientBuecher().isEmpty())
            m_windows->DB1EingabeF->exec();
    });
    connect(m_grids.at(0), &QAbstractItemView::doubleClicked, this, &TMainform::openEditBook);
    connect(m_grids.at(1), &QAbstractItemView::doubleClicked, this, &TMainform::openEditReader);
    connect(kontextLoeschen, &QAction::triggered, this, &TMainform::deleteCurrentBook);
    for (QTableView* view : m_grids)
        connect(view, &QWidget::customContextMenuRequested, this,
                [context, view](const QPoint& pos) { context->popup(view->viewport()->mapToGlobal(pos)); });

    // Title clicks sort the books and readers; the loan grids ignore them.
    for (int i : {0, 1})
        sortOnTitleClick(m_grids.at(i), m_models.at(i), this);

    connect(m_pages, &QTabWidget::currentChanged, this, [this](int index) {
        if (!m_tabFromCode)
            guarded(this, [&] { PageControl1Change(index); });
    });

    m_widthGrids = {{QStringLiteral("BreiteA"), m_grids.at(0)},
                    {QStringLiteral("BreiteC"), m_grids.at(1)},
                    {QStringLiteral("BreiteD"), m_grids.at(2)}};
}

QTableView* TMainform::grid(int number) const
{
    return m_grids.at(number - 1);
}

RecordSetModel* TMainform::gridModel(int number) const
{
    return m_models.at(number - 1);
}

void TMainform::registerWidthGrid(const QString& prefix, QTableView* view)
{
    // Kept in prefix order: A, B, C, D, E.
    auto it = std::find_if(m_widthGrids.begin(), m_widthGrids.end(),
                           [&](const ColumnWidths::Grid& g) { return g.prefix > prefix; });
    m_widthGrids.insert(it, {prefix, view});
}

void TMainform::onFieldCaptionsApplied(std::function<void()> apply)
{
    m_captionTargets.append(std::move(apply));
}

// ---------------------------------------------------------------- start, show, close

void TMainform::FormCreate()
{
    m_databaseOpened = m_data->openAtStart(Settings::ReadSettingString(QStringLiteral("DBPfad")));

    // A plz.xml next to the program replaces the built-in postal codes; one that cannot be
    // read is reported and the built-in table is used.
    QString plzProblem;
    *m_postalCodes = PostalCodes::atStart(QCoreApplication::applicationDirPath(), &plzProblem);
    if (!plzProblem.isEmpty())
        Messages::error(this, plzProblem);

    if (Settings::ReadSettingInt(QStringLiteral("Refresh")) == 0)
        guarded(this, [] { Settings::WriteSettingInt(QStringLiteral("Refresh"), 600); });
    RefreshTimer::applyInterval(m_timer, Settings::ReadSettingInt(QStringLiteral("Refresh")));

    QPalette pal = palette();
    pal.setColor(QPalette::Window, DialogLook::Background);
    setPalette(pal);
    setAutoFillBackground(true);
    grid(1)->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background-color: rgb(233, 233, 233); }"));
    grid(1)->verticalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background-color: rgb(233, 233, 233); }"));
    resize(770, 484 + 72 + menuBar()->sizeHint().height());
}

void TMainform::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    // After the window is up, so that the database dialog opens over it.
    QMetaObject::invokeMethod(this, &TMainform::FormShow, Qt::QueuedConnection);
}

void TMainform::FormShow()
{
    if (!m_databaseOpened && m_windows && m_windows->DBErstellenF)
        m_windows->DBErstellenF->exec();

    if (Settings::ReadSettingString(QStringLiteral("WindowState")) == u"wsMaximized") {
        showMaximized();
    } else {
        showNormal();
        int h = Settings::ReadSettingInt(QStringLiteral("Height"));
        int w = Settings::ReadSettingInt(QStringLiteral("Width"));
        if (h < 200)
            h = 500;
        if (w < 200)
            w = 700;
        resize(w, h);
    }
    // A database that is still not open fails here once; the window then shows empty lists and
    // the refresh timer stays off.
    guarded(this, [this] {
        ApplyFieldCaptions();
        RestoreColumnWidths();
        m_data->ClientLeser().setIndexFieldNames(Settings::ReadSettingString(QStringLiteral("SortLeser")));
        m_data->ClientBuecher().setIndexFieldNames(Settings::ReadSettingString(QStringLiteral("SortBuecher")));
        if (!m_timer->property("switchedOff").toBool())
            m_timer->start();
    });
}

void TMainform::closeEvent(QCloseEvent* event)
{
    guarded(this, [this] { FormClose(); });
    QMainWindow::closeEvent(event);
}

void TMainform::FormClose()
{
    Settings::WriteSettingString(QStringLiteral("SortLeser"), m_data->ClientLeser().indexFieldNames());
    Settings::WriteSettingString(QStringLiteral("SortBuecher"), m_data->ClientBuecher().indexFieldNames());
    if (isMaximized()) {
        Settings::WriteSettingString(QStringLiteral("WindowState"), QStringLiteral("wsMaximized"));
    } else if (!isMinimized()) {
        Settings::WriteSettingString(QStringLiteral("WindowState"), QStringLiteral("wsNormal"));
        Settings::WriteSettingInt(QStringLiteral("Height"), height());
        Settings::WriteSettingInt(QStringLiteral("Width"), width());
    }
    SaveColumnWidths();
}

// ---------------------------------------------------------------- captions and widths

void TMainform::ApplyFieldCaptions()
{
    RecordSet& blob = m_data->ClientBlob();
    blob.requery();
    FieldCaptions::applyStoredCaptions(blob.value(QStringLiteral("FeldnamenBuecher")).toString());
    const QStringList& captions = FieldCaptions::BookFieldCaptions();
    for (int k = 0; k < captions.size(); ++k)
        m_models.at(0)->setColumnTitle(k, captions.at(k));
    for (const auto& apply : m_captionTargets)
        apply();
}

void TMainform::RestoreColumnWidths()
{
    ColumnWidths::restore(m_widthGrids);
}

void TMainform::SaveColumnWidths()
{
    ColumnWidths::save(m_widthGrids);
}

// ---------------------------------------------------------------- reactions

void TMainform::Timer1Timer()
{
    // Never while the user types a record or reads a message.
    if (Messages::isShowing())
        return;
    RecordSet* sets[] = {&m_data->ClientLeser(), &m_data->ClientAusleihe(), &m_data->ClientBuecher()};
    for (RecordSet* rs : sets)
        if (rs->isEditing())
            return;
    for (RecordSet* rs : sets) {
        if (!rs->active())
            continue;
        // Back to the record that was current, so that an action the user is about to take
        // still acts on the record they chose.
        const QVariant id = rs->isEmpty() ? QVariant() : rs->value(QStringLiteral("ID"));
        rs->requery();
        if (!id.isNull())
            rs->locate(QStringLiteral("ID"), {id});
    }
}

QString TMainform::overdueFilter()
{
    return QStringLiteral("DatumBisSoll < '%1'").arg(Formats::formatDate(Clock::today()));
}

void TMainform::PageControl1Change(int index)
{
    RecordSet& loans = m_data->ClientAusleihe();
    if (!loans.active())
        return;
    if (index == 3) {
        loans.setFilter(overdueFilter());
        loans.setFiltered(true);
    } else if (loans.filtered()) {
        loans.setFiltered(false);
    }
}

void TMainform::setCurrentTabFromCode(int index)
{
    m_tabFromCode = true;
    m_pages->setCurrentIndex(index);
    m_tabFromCode = false;
}

bool TMainform::eventFilter(QObject* watched, QEvent* event)
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

void TMainform::deleteFromGrid(RecordSet& rs)
{
    guarded(this, [&] {
        if (!rs.active() || rs.isEmpty())
            return;
        const QVariant id = rs.value(QStringLiteral("ID"));
        if (Messages::ask(this, tr("Datensatz löschen?"), Messages::Buttons::OkCancel) != Messages::Answer::Ok)
            return;
        // The record asked about, even if a refresh moved the cursor meanwhile.
        if (rs.value(QStringLiteral("ID")) != id && !rs.locate(QStringLiteral("ID"), {id}))
            return;
        rs.deleteRecord();
    });
}

void TMainform::deleteCurrentBook()
{
    guarded(this, [this] {
        RecordSet& books = m_data->ClientBuecher();
        const QVariant id = books.active() && !books.isEmpty() ? books.value(QStringLiteral("ID")) : QVariant();
        if (Messages::ask(this, tr("Sind Sie sicher, dass Sie den aktuellen Datensatz löschen möchten?"),
                          Messages::Buttons::YesCancel) != Messages::Answer::Yes)
            return;
        if (!id.isNull() && books.value(QStringLiteral("ID")) != id && !books.locate(QStringLiteral("ID"), {id}))
            return;
        books.deleteRecord();
    });
}

void TMainform::openDatabaseDialog()
{
    if (m_windows && m_windows->DBErstellenF)
        m_windows->DBErstellenF->exec();
}

void TMainform::openIntervalDialog()
{
    if (m_windows && m_windows->DatenbankaktualisierungF)
        m_windows->DatenbankaktualisierungF->exec();
}

void TMainform::openNewBook()
{
    if (!guarded(this, [this] {
            Timer1Timer();
            m_windows->DB1EingabeF->FillBookEntryLists();
            m_data->ClientBuecher().insert();
        }))
        return;
    m_windows->DB1EingabeF->exec();
}

void TMainform::openEditBook()
{
    RecordSet& books = m_data->ClientBuecher();
    if (!books.active() || books.isEmpty())
        return;
    guarded(this, [&] {
        const int recNo = books.recNo();
        RecordSet* sets[] = {&m_data->ClientLeser(), &m_data->ClientAusleihe(), &books};
        for (RecordSet* rs : sets)
            rs->disableControls();
        const auto reattach = qScopeGuard([&] {
            for (RecordSet* rs : sets)
                rs->enableControls();
        });
        m_windows->DB1EingabeF->FillBookEntryLists();
        books.setRecNo(recNo);
    });
    m_windows->DB1EingabeF->exec();
}

void TMainform::openNewReader()
{
    if (!guarded(this, [this] {
            Timer1Timer();
            m_data->ClientLeser().insert();
        }))
        return;
    m_windows->LeserEingebenF->exec();
}

void TMainform::openEditReader()
{
    RecordSet& readers = m_data->ClientLeser();
    if (readers.active() && !readers.isEmpty())
        m_windows->LeserEingebenF->exec();
}

void TMainform::openLoanBooking()
{
    guarded(this, [this] { Timer1Timer(); });
    m_windows->AusleiheBuchenF->exec();
}

void TMainform::openReturns()
{
    guarded(this, [this] { Timer1Timer(); });
    m_windows->RueckgabeF->exec();
}

void TMainform::openClearLoanList()
{
    m_windows->AusleihlisteLoeschenF->exec();
}

void TMainform::openSearch()
{
    guarded(this, [this] { Timer1Timer(); });
    m_windows->AuswertenF->exec();
}

void TMainform::openManual()
{
    HelpManual::open(HelpManual::NetManual);
}
