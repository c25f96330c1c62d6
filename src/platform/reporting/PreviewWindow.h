#pragma once

#include "platform/reporting/DisplayList.h"
#include "platform/reporting/Report.h"

#include <QMainWindow>
#include <QPrinter>

class QAction;
class QLabel;
class QPrintPreviewWidget;

namespace quorvel::reporting {

// The window that shows a report's pages. It shows what is in its page store and never
// lays the report out again for the screen; only printing generates anew, for the printer.
// It is not modal: the rest of the application stays usable while it is open.
class PreviewWindow : public QMainWindow {
    Q_OBJECT
public:
    enum Command {
        FirstPage,
        PreviousPage,
        NextPage,
        LastPage,
        ZoomToFit,
        ZoomToWidth,
        ZoomActualSize,
        ZoomIn,
        ZoomOut,
        Print,
        PrinterSetup,
        SaveAsPdf,
        Close
    };

    explicit PreviewWindow(Report& report, QWidget* parent = nullptr);
    ~PreviewWindow() override;

    PageStore& store() { return store_; }
    // The store has more or other pages: show them.
    void pagesChanged();
    // From now on the window does not touch the report again; it can still show, page,
    // zoom and save the pages it has, but no longer print.
    void detachReport();
    // Printing goes to this printer (not owned) instead of the installed ones.
    void setPrinterForTesting(QPrinter* printer);

    QAction* action(Command command) const { return actions_[command]; }
    QPrintPreviewWidget* previewWidget() const { return preview_; }
    QString statusText() const; // "Page N of M", empty while there is no page

    // The commands, as the toolbar and the keys run them.
    void print();
    void printerSetup();
    void saveAsPdf();

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void paintPreview(QPrinter* printer);
    void goToPage(int page);
    void updateStatus();
    // The printer prints go to, or null when there is none to print on.
    QPrinter* printPrinter();
    void printTo(QPrinter& printer, const PageStore& pages);

    Report* report_;
    PageStore store_;
    QPrinter previewPrinter_{QPrinter::HighResolution};
    QPrinter ownPrinter_{QPrinter::HighResolution};
    QPrinter* testPrinter_ = nullptr;
    bool printing_ = false;
    QPrintPreviewWidget* preview_ = nullptr;
    QLabel* status_ = nullptr;
    QAction* actions_[Close + 1] = {};
};

} // namespace quorvel::reporting
