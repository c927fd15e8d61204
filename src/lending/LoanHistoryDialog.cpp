#include "LoanHistoryDialog.h"
#include "ui_LoanHistoryDialog.h"

#include "LoanBooking.h"
#include "LoanRecords.h"
#include "common/gui/DialogLook.h"
#include "common/gui/ErrorGuard.h"
#include "common/gui/FieldBinder.h"
#include "common/gui/GridBinding.h"
#include "common/gui/HelpManual.h"
#include "common/gui/Messages.h"
#include "datastore/LibraryData.h"
#include "datastore/RecordSetModel.h"
#include "lending/LoanView.h"
#include "mainwindow/MainWindowServices.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QShowEvent>
#include <QStyle>
#include <QStyledItemDelegate>

namespace {

// In-place editing: text editors take no more than the field holds. A refused entry (a date that
// is no date) comes back from the model as errorOccurred and is shown like any other error. A
// return date goes to `returnDate`: entering or emptying it is a return or a reopening.
class LoanCellDelegate : public QStyledItemDelegate
{
public:
    using ReturnDate = std::function<void(int row, const QString& text)>;
    LoanCellDelegate(QObject* parent, ReturnDate returnDate)
        : QStyledItemDelegate(parent), m_returnDate(std::move(returnDate))
    {
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        const auto* loans = qobject_cast<const RecordSetModel*>(model);
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (loans && line && loans->fieldAt(index.column()) == Field::DatumBis) {
            if (line->text() != index.data(Qt::EditRole).toString())
                m_returnDate(index.row(), line->text());
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        const auto* model = qobject_cast<const RecordSetModel*>(index.model());
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (model && line) {
            const FieldDef& f = model->recordSet()->field(model->fieldAt(index.column()));
            if (f.type == ColumnType::Text && f.size > 0)
                line->setMaxLength(f.size);
        }
        return editor;
    }

private:
    ReturnDate m_returnDate;
};

} // namespace

LoanHistoryDialog::LoanHistoryDialog(LibraryData& data, MainWindowServices& main, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::LoanHistoryDialog>()), m_data(data), m_main(main)
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("TAusleihhistorieF"));
    ui->SpeedButton5->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    DialogLook::apply(this, ui->GradientPanel1, DialogLook::TealBarColour);
    QPalette gridPalette = ui->DBGrid1->palette();
    gridPalette.setColor(QPalette::Base, DialogLook::Background);
    ui->DBGrid1->setPalette(gridPalette);

    m_bookBinder = new FieldBinder(&data.books(), this);
    m_bookBinder->bind(ui->DBText1, Field::Verfasser);
    m_bookBinder->bind(ui->DBText2, Field::Titel);

    // The design widths count until the main window restores the stored ones (a new database
    // stores what the grids show at that moment).
    m_model = new RecordSetModel(&data.loans(),
                                 {{Field::DatumVon, tr("Von"), 80, true},
                                  {Field::DatumBis, tr("Bis"), 80, true},
                                  {Field::LeserNummer, tr("Leser-Nr."), 60, false},
                                  {Field::LeserVorname, tr("Vorname"), 110, false},
                                  {Field::LeserNachname, tr("Nachname"), 110, false},
                                  {Field::Bemerkung, tr("Bemerkung"), 180, true}},
                                 ui->DBGrid1);
    (new GridBinding(ui->DBGrid1, m_model))->applyDesignWidths();
    ui->DBGrid1->setItemDelegate(new LoanCellDelegate(this, [this](int row, const QString& text) {
        guarded(this, [&] {
            RecordSet& loans = m_data.loans();
            if (loans.recNo() != row + 1)
                loans.setRecNo(row + 1);
            LoanRecords::changeReturnDate(m_data, text);
        });
    }));
    connect(m_model, &RecordSetModel::errorOccurred, this,
            [this](const QString& message) { Messages::error(this, message); });
    ui->DBGrid1->installEventFilter(this);
    sortOnTitleClick(ui->DBGrid1, m_model, this);
    main.registerWidthGrid(QStringLiteral("BreiteE"), ui->DBGrid1);

    connect(ui->BSchliessen, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->SpeedButton5, &QToolButton::clicked, this, [] { HelpManual::open(HelpManual::Manual); });
}

LoanHistoryDialog::~LoanHistoryDialog() = default;

void LoanHistoryDialog::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        m_bookBinder->refresh();
        // The loans of the book named above, not those of every book.
        guarded(this, [this] {
            RecordSet& books = m_data.books();
            if (books.active())
                LoanBooking::applyFilter(
                    m_data.loans(), LoanBooking::loansOfBook(books.isEmpty() ? QVariant() : books.value(Field::ID)));
        });
    }
    QDialog::showEvent(event);
}

bool LoanHistoryDialog::eventFilter(QObject* watched, QEvent* event)
{
    // As in a data grid, Escape in the grid (an open cell editor takes its own Escape) drops the
    // changes of the current loan, the only way out when they cannot be saved; without changes
    // it closes the dialog.
    if (watched == ui->DBGrid1 && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::ControlModifier) {
        // As in the main window's lists; an open loan deleted frees its book.
        guarded(this, [this] {
            LoanRecords::deleteAfterAsking(m_data, m_data.loans(), [this] {
                return Messages::ask(this, tr("Datensatz löschen?"), Messages::Buttons::OkCancel) ==
                       Messages::Answer::Ok;
            });
        });
        return true;
    }
    if (watched == ui->DBGrid1 && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        RecordSet& loans = m_data.loans();
        if (loans.active() && loans.isEditing()) {
            guarded(this, [&] { loans.cancel(); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void LoanHistoryDialog::done(int result)
{
    // Every way of closing passes here. A loan changed in the grid is saved now, as leaving the
    // row would; if that fails the dialog stays open so the change is not lost unseen.
    RecordSet& loans = m_data.loans();
    if (!guarded(this, [&] {
            if (loans.active() && loans.isEditing())
                loans.post();
        }))
        return;
    // Back to what the main window's loan lists show.
    guarded(this, [this] { m_main.loanView().restore(); });
    QDialog::done(result);
}
