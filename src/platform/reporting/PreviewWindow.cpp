#include "platform/reporting/PreviewWindow.h"

#include "platform/app/Error.h"
#include "platform/app/ErrorHandler.h"
#include "platform/reporting/Generator.h"
#include "platform/reporting/Painter.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QScopeGuard>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>
#include <functional>

namespace quorvel::reporting {

PreviewWindow::PreviewWindow(Report& report, QWidget* parent) : QMainWindow(parent), report_(&report)
{
    setWindowTitle(QStringLiteral("Report Preview : ") + report.title);
    const QPageSize paper(report.paperSize, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
    for (QPrinter* printer : {&previewPrinter_, &ownPrinter_}) {
        printer->setPageSize(paper);
        // The display list is laid out from the paper's corner, not from the printable area.
        printer->setFullPage(true);
    }

    preview_ = new QPrintPreviewWidget(&previewPrinter_, this);
    preview_->setZoomMode(QPrintPreviewWidget::FitInView);
    setCentralWidget(preview_);
    connect(preview_, &QPrintPreviewWidget::paintRequested, this, &PreviewWindow::paintPreview);
    connect(preview_, &QPrintPreviewWidget::previewChanged, this, &PreviewWindow::updateStatus);

    QToolBar* bar = addToolBar(tr("Preview"));
    bar->setObjectName(QStringLiteral("previewToolBar"));
    bar->setMovable(false);
    auto add = [&](Command command, const QString& text, const QList<QKeySequence>& keys,
                   std::function<void()> run) {
        auto* action = new QAction(text, this);
        action->setShortcuts(keys);
        // Each command runs as an event handler: nothing it throws crosses the event loop.
        connect(action, &QAction::triggered, this, [run = std::move(run)] { guarded(run); });
        bar->addAction(action);
        actions_[command] = action;
    };
    add(FirstPage, tr("First page"), {QKeySequence(Qt::Key_Home)}, [this] { goToPage(1); });
    add(PreviousPage, tr("Previous page"), {QKeySequence(Qt::Key_PageUp)},
        [this] { goToPage(preview_->currentPage() - 1); });
    add(NextPage, tr("Next page"), {QKeySequence(Qt::Key_PageDown)},
        [this] { goToPage(preview_->currentPage() + 1); });
    add(LastPage, tr("Last page"), {QKeySequence(Qt::Key_End)}, [this] { goToPage(preview_->pageCount()); });
    bar->addSeparator();
    add(ZoomToFit, tr("Zoom to fit"), {}, [this] { preview_->fitInView(); });
    add(ZoomToWidth, tr("Page width"), {}, [this] { preview_->fitToWidth(); });
    add(ZoomActualSize, tr("100 %"), {}, [this] { preview_->setZoomFactor(1.0); });
    add(ZoomIn, tr("Zoom in"),
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
        [this] { preview_->zoomIn(); });
    add(ZoomOut, tr("Zoom out"), {QKeySequence(Qt::CTRL | Qt::Key_Minus)}, [this] { preview_->zoomOut(); });
    bar->addSeparator();
    add(Print, tr("Print"), {QKeySequence(Qt::CTRL | Qt::Key_P)}, [this] { print(); });
    add(PrinterSetup, tr("Printer setup"), {}, [this] { printerSetup(); });
    add(SaveAsPdf, tr("Save as PDF"), {QKeySequence(Qt::CTRL | Qt::Key_S)}, [this] { saveAsPdf(); });
    bar->addSeparator();
    add(Close, tr("Close"), {QKeySequence(Qt::Key_Escape)}, [this] { close(); });

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("pageStatus"));
    statusBar()->addWidget(status_);
    resize(900, 700);
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::pagesChanged()
{
    preview_->updatePreview();
    updateStatus();
}

void PreviewWindow::detachReport()
{
    report_ = nullptr;
    actions_[Print]->setEnabled(false);
    actions_[PrinterSetup]->setEnabled(false);
}

void PreviewWindow::setPrinterForTesting(QPrinter* printer)
{
    testPrinter_ = printer;
}

QString PreviewWindow::statusText() const
{
    return status_->text();
}

void PreviewWindow::closeEvent(QCloseEvent* event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}

// The preview widget asks for its pages whenever it likes (showing, updating, turning the
// paper): it gets the stored pages again, never a new generation.
void PreviewWindow::paintPreview(QPrinter* printer)
{
    if (store_.pageCount() == 0)
        return;
    QPainter painter;
    if (!painter.begin(printer) || !painter.isActive())
        return;
    for (int i = 0; i < store_.pageCount(); ++i) {
        if (i > 0)
            printer->newPage();
        paintPage(store_.pages[i], painter);
    }
    painter.end();
}

void PreviewWindow::goToPage(int page)
{
    if (page >= 1 && page <= preview_->pageCount())
        preview_->setCurrentPage(page);
    updateStatus();
}

void PreviewWindow::updateStatus()
{
    const int count = preview_->pageCount();
    status_->setText(count == 0 ? QString()
                                : QStringLiteral("Page %1 of %2").arg(preview_->currentPage()).arg(count));
}

QPrinter* PreviewWindow::printPrinter()
{
    if (testPrinter_)
        return testPrinter_;
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        return nullptr;
    return &ownPrinter_;
}

void PreviewWindow::print()
{
    if (!report_ || printing_)
        return;
    QPrinter* printer = printPrinter();
    if (!printer)
        return; // no printer installed: nothing to do and nothing to say
    printing_ = true;
    auto done = qScopeGuard([this] { printing_ = false; });

    // The print is generated anew, measured on the printer, into a store of its own: the
    // preview goes on showing the pages it had.
    PageStore printed;
    std::exception_ptr failure;
    {
        QProgressDialog progress(tr("Printing the report..."), tr("Cancel"), 0, 0, this);
        progress.setWindowTitle(tr("Printing"));
        progress.setWindowModality(Qt::WindowModal);
        progress.setMinimumDuration(0);
        progress.show();
        GenerationHooks hooks;
        hooks.processEvents = [] { QCoreApplication::processEvents(); };
        hooks.cancelled = [&] { return progress.wasCanceled() || !isVisible(); };
        try {
            generate(*report_, printed, *printer, hooks);
        } catch (...) {
            failure = std::current_exception(); // what was drawn until then still goes out
        }
        if (!progress.wasCanceled() && isVisible()) {
            try {
                printTo(*printer, printed);
            } catch (...) {
                if (!failure)
                    failure = std::current_exception();
            }
        }
    }
    if (failure)
        handleException(failure);
}

void PreviewWindow::printTo(QPrinter& printer, const PageStore& pages)
{
    int first = 1;
    int last = pages.pageCount();
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(first, printer.fromPage());
        if (printer.toPage() > 0)
            last = std::min(last, printer.toPage());
    }
    if (first > last)
        return;
    // A printer that cannot make copies itself gets each page as often as asked.
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer) || !painter.isActive())
        throw Error(tr("The printer could not be started"));
    bool firstSheet = true;
    for (int copy = 0; copy < copies; ++copy) {
        for (int page = first; page <= last; ++page) {
            if (!firstSheet)
                printer.newPage();
            firstSheet = false;
            paintPage(pages.pages[page - 1], painter);
        }
    }
    painter.end();
}

void PreviewWindow::printerSetup()
{
    if (!report_)
        return;
    QPrinter* printer = printPrinter();
    if (!printer)
        return;
    // The dialog writes its choices into the printer, which lives as long as this window:
    // they hold for the following prints of this preview.
    QPrintDialog dialog(printer, this);
    dialog.setWindowTitle(tr("Printer Setup"));
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintShowPageSize);
    dialog.setMinMax(1, std::max(1, store_.pageCount()));
    dialog.exec();
}

void PreviewWindow::saveAsPdf()
{
    QString fileName =
        QFileDialog::getSaveFileName(this, tr("Save as PDF"), QString(), tr("PDF files (*.pdf)"));
    if (fileName.isEmpty())
        return;
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QStringLiteral(".pdf");
    writePdf(store_, fileName);
}

} // namespace quorvel::reporting
