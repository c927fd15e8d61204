#include "ListPreview.h"

#include "ListPrinter.h"
#include "PageModel.h"
#include "PainterCanvas.h"
#include "PrinterChoice.h"
#include "common/gui/ErrorGuard.h"
#include "common/gui/FileDialogs.h"
#include "common/gui/Messages.h"

#include <QComboBox>
#include <QGraphicsView>
#include <QImage>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The print support library's own preview icons.
QIcon previewIcon(const QString& name)
{
    return QIcon(QStringLiteral(":/qt-project.org/dialogs/qprintpreviewdialog/images/%1-24.png").arg(name));
}

} // namespace

ListPreview::ListPreview(PageModel& model, QPrinter& printer, QWidget* parent)
    : QDialog(parent), m_model(model), m_printer(printer), m_orientation(printer.pageLayout().orientation())
{
    const PrintListDefinition& list = model.list();
    setObjectName(list.previewName);
    setWindowTitle(list.previewCaption);
    resize(list.previewWidth, list.previewHeight);

    auto* toolbar = new QToolBar(this);
    toolbar->setObjectName(QStringLiteral("PreviewToolbar1"));
    toolbar->setIconSize(QSize(20, 20));
    toolbar->setFixedHeight(26 + 4);

    const auto add = [&](const char* name, const char* icon, const QString& hint) {
        auto* button = new QToolButton(toolbar);
        button->setObjectName(QString::fromLatin1(name));
        button->setIcon(previewIcon(QString::fromLatin1(icon)));
        button->setToolTip(hint);
        button->setAutoRaise(true);
        toolbar->addWidget(button);
        return button;
    };
    QToolButton* printButton = add("btnPrint", "printer", tr("Drucken"));
    QToolButton* setupButton = add("btnPrinterSetupDialog", "page-setup", tr("Druckereinrichtung"));
    m_first = add("btnFirstPage", "go-first", tr("Erste Seite"));
    m_previous = add("btnPrevPage", "go-previous", tr("Vorherige Seite"));
    m_next = add("btnNextPage", "go-next", tr("Nächste Seite"));

    m_scale = new QComboBox(toolbar);
    m_scale->setObjectName(QStringLiteral("ScaleBox"));
    m_scale->setToolTip(tr("Ansicht und Maßstab"));
    m_scale->addItem(tr("Seitenbreite"));
    m_scale->addItem(tr("Ganze Seite"));
    for (int percent : {50, 75, 100, 150, 200})
        m_scale->addItem(tr("%1 %").arg(percent), percent);
    toolbar->addWidget(m_scale);

    QToolButton* zoomOut = add("btnZoomOut", "zoom-out", tr("Verkleinern"));
    QToolButton* zoomIn = add("btnZoomIn", "zoom-in", tr("Vergrößern"));

    if (list.orientationToggle) {
        auto* toggle = new QToolButton(toolbar);
        toggle->setObjectName(QStringLiteral("SpeedButton1"));
        toggle->setText(tr("Hochformat/Querformat"));
        toggle->setToolButtonStyle(Qt::ToolButtonTextOnly);
        toggle->setAutoRaise(true);
        toggle->setMinimumWidth(125);
        toolbar->addWidget(toggle);
        connect(toggle, &QToolButton::clicked, this, &ListPreview::toggleOrientation);
    }
    m_pageLabel = new QLabel(toolbar);
    m_pageLabel->setObjectName(QStringLiteral("LSeite"));
    m_pageLabel->setContentsMargins(8, 0, 8, 0);
    toolbar->addWidget(m_pageLabel);

    m_preview = new QPrintPreviewWidget(&m_printer, this);
    m_preview->setObjectName(QStringLiteral("Preview1"));
    m_preview->setViewMode(QPrintPreviewWidget::SinglePageView);
    m_preview->fitToWidth();
    // With the page fitted, a scroll bar that comes and goes changes the room to fit into, which
    // brings or takes a scroll bar again, without end: keep both shown.
    if (auto* view = m_preview->findChild<QGraphicsView*>()) {
        view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbar);
    layout->addWidget(m_preview, 1);

    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, &ListPreview::paintPage);
    connect(printButton, &QToolButton::clicked, this, [this] { guarded(this, [this] { print(); }); });
    connect(setupButton, &QToolButton::clicked, this, &ListPreview::printerSetup);
    connect(m_first, &QToolButton::clicked, this, [this] { showPage(1); });
    connect(m_previous, &QToolButton::clicked, this, [this] { showPage(m_page - 1); });
    connect(m_next, &QToolButton::clicked, this, [this] { showPage(m_page + 1); });
    connect(zoomOut, &QToolButton::clicked, this, [this] {
        m_preview->zoomOut();
        m_scale->setCurrentIndex(-1);
    });
    connect(zoomIn, &QToolButton::clicked, this, [this] {
        m_preview->zoomIn();
        m_scale->setCurrentIndex(-1);
    });
    connect(m_scale, &QComboBox::activated, this, &ListPreview::scaleChosen);

    recount();
    m_page = 1;
    showPage(1);
}

ListPreview::~ListPreview() = default;

void ListPreview::recount()
{
    // Measured on an image of the printer's resolution: painting on the printer itself would
    // start a print job.
    QImage probe(1, 1, QImage::Format_RGB32);
    const int dotsPerMeter = qRound(m_printer.resolution() / 0.0254);
    probe.setDotsPerMeterX(dotsPerMeter);
    probe.setDotsPerMeterY(dotsPerMeter);
    QPainter painter(&probe);
    PainterCanvas canvas(painter);
    m_pageCount = m_model.pageCount(canvas, ListPrinter::geometryOf(m_printer));
}

void ListPreview::showPage(int page)
{
    // The rows may have changed since the last page (periodic refresh): count again.
    recount();
    m_page = std::clamp(page, 1, m_pageCount);
    m_first->setEnabled(m_page > 1);
    m_previous->setEnabled(m_page > 1);
    m_next->setEnabled(m_page < m_pageCount);
    m_pageLabel->setText(tr("Seite %1 von %2").arg(m_page).arg(m_pageCount));
    m_preview->updatePreview();
}

void ListPreview::paintPage(QPrinter* printer)
{
    QPainter painter(printer);
    PainterCanvas canvas(painter);
    m_model.drawPage(canvas, ListPrinter::geometryOf(*printer), m_page);
}

void ListPreview::print()
{
    if (PrinterChoice::writesPdf(m_printer)) {
        const QString file = FileDialogs::chooseSaveFile(this, tr("Als PDF speichern"), tr("PDF-Dateien (*.pdf)"),
                                                         QStringLiteral("pdf"));
        if (file.isEmpty())
            return;
        QString error;
        if (!ListPrinter::writePdf(m_model, file, m_printer.pageLayout(), &error))
            Messages::error(this, error);
        return;
    }
    if (!ListPrinter::printAll(m_model, m_printer))
        Messages::error(this, tr("Der Drucker „%1“ konnte nicht drucken.").arg(m_printer.printerName()));
    m_preview->updatePreview();
}

void ListPreview::printerSetup()
{
    QPageSetupDialog dialog(&m_printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The list's own orientation stays in force over the one chosen there.
    m_printer.setPageOrientation(m_orientation);
    showPage(m_page);
}

void ListPreview::toggleOrientation()
{
    m_orientation = m_orientation == QPageLayout::Landscape ? QPageLayout::Portrait : QPageLayout::Landscape;
    m_printer.setPageOrientation(m_orientation);
    showPage(m_page);
}

void ListPreview::scaleChosen(int index)
{
    if (index == 0)
        m_preview->fitToWidth();
    else if (index == 1)
        m_preview->fitInView();
    else if (index > 1)
        m_preview->setZoomFactor(m_scale->itemData(index).toInt() / 100.0);
}
