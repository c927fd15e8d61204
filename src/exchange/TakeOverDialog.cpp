#include "TakeOverDialog.h"
#include "ui_TakeOverDialog.h"

#include "BookTakeOver.h"
#include "catalogue/StoredValueLists.h"
#include "common/gui/DialogLook.h"
#include "common/gui/ErrorGuard.h"
#include "common/gui/FileDialogs.h"
#include "common/gui/Messages.h"
#include "datastore/DataError.h"
#include "datastore/LibraryData.h"
#include "mainwindow/MainWindowServices.h"

#include <QElapsedTimer>
#include <QProgressDialog>
#include <QSignalBlocker>
#include <QStyle>

TakeOverDialog::TakeOverDialog(LibraryData& data, MainWindowServices& main, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TakeOverDialog>()), m_data(data), m_main(main)
{
    ui->setupUi(this);
    setObjectName(QStringLiteral("TDBImportF"));
    ui->SpeedButton2->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    ui->SpeedButton5->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    DialogLook::apply(this, ui->GradientPanel1);

    connectGuarded(ui->SpeedButton2, &QToolButton::clicked, this, &TakeOverDialog::chooseFile);
    connectGuarded(ui->Button1, &QPushButton::clicked, this, &TakeOverDialog::takeOver);
    connect(ui->BLoeschen, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->SpeedButton5, &QToolButton::clicked, this, [this] { m_main.openManual(); });
}

TakeOverDialog::~TakeOverDialog() = default;

void TakeOverDialog::chooseFile()
{
    const QString file = FileDialogs::chooseOpenFile(this, tr("Öffnen"), ui->Edit2->text(), QString());
    if (!file.isEmpty())
        ui->Edit2->setText(file);
}

void TakeOverDialog::takeOver()
{
    StoredValueLists& lists = m_main.storedLists();
    BookTakeOver::Hooks hooks;
    hooks.confirmRepeat = [this](int count) {
        return Messages::ask(this,
                             tr("Die %1 Bücher dieser Datei scheinen schon übernommen zu sein: Vom ersten bis zum "
                                "letzten Titel stehen sie bereits im Bestand.\n\nSollen sie noch einmal übernommen "
                                "werden?")
                                 .arg(count),
                             Messages::Buttons::YesNo) == Messages::Answer::Yes;
    };
    // Made when the first book is due, so that it never shows over the question above. Setting
    // its value lets the windows paint and the user press "Abbrechen"; a few times a second is
    // enough, painting after every book would take longer than the books themselves.
    std::unique_ptr<QProgressDialog> progress;
    QElapsedTimer sinceShown;
    hooks.progress = [&](int done, int total) {
        if (!progress) {
            progress = std::make_unique<QProgressDialog>(tr("Die Bücher werden übernommen …"), tr("Abbrechen"), 0,
                                                         total, this);
            progress->setObjectName(QStringLiteral("TakeOverProgress"));
            progress->setWindowTitle(windowTitle());
            progress->setWindowModality(Qt::WindowModal);
            progress->setMinimumDuration(500);
            progress->setAutoReset(false);
            progress->setAutoClose(false);
        }
        if (done == 0 || done == total || sinceShown.elapsed() >= 100) {
            progress->setValue(done);
            sinceShown.start();
        }
        return !progress->wasCanceled();
    };
    hooks.bookPosted = [&lists] { lists.addValuesOfCurrentBook(); };

    // The book entry's lists are filled once at the end, not after every book; they are re-read
    // whatever happens, since a failure rolls their writes back as well.
    BookTakeOver::Result result;
    try {
        const QSignalBlocker quiet(&lists);
        result = BookTakeOver::takeOverFile(m_data, ui->Edit2->text(), hooks);
    } catch (...) {
        progress.reset();
        try {
            lists.reload();
        } catch (const DataError&) {
            // the take-over's own error is the one to show
        }
        throw;
    }
    progress.reset();
    lists.reload();
    if (result.cancelled)
        return;
    Messages::inform(this, result.summary());
    accept();
}
