#include "platform/reporting/Preview.h"

#include "platform/reporting/Generator.h"
#include "platform/reporting/PreviewWindow.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QPointer>
#include <QPrintPreviewWidget>
#include <QScopeGuard>
#include <QScreen>

namespace quorvel::reporting {

void preview(Report& report)
{
    QCoreApplication::processEvents();

    QPointer<PreviewWindow> window = new PreviewWindow(report);
    // Whatever way the call ends, the window goes with it: it must never act on a report
    // its owner has freed.
    auto dispose = qScopeGuard([&] {
        if (window) {
            window->detachReport();
            delete window.data();
        }
    });
    bool closed = false;
    QEventLoop wait;
    QObject::connect(window, &PreviewWindow::closed, &wait, [&] {
        closed = true;
        wait.quit();
    });
    QObject::connect(window, &QObject::destroyed, &wait, [&] {
        closed = true;
        wait.quit();
    });
    // Without a window manager nobody maximises: fill the screen by hand as well.
    if (const QScreen* screen = window->screen())
        window->setGeometry(screen->availableGeometry());
    window->showMaximized();
    window->previewWidget()->fitInView();

    GenerationHooks hooks;
    hooks.processEvents = [] { QCoreApplication::processEvents(); };
    hooks.cancelled = [&] { return closed || !window; };
    hooks.pageFinished = [&](int) {
        if (window)
            window->pagesChanged();
    };
    try {
        generate(report, window->store(), paperMetrics(), hooks);
    } catch (...) {
        if (window) {
            window->detachReport();
            window->close();
        }
        throw; // the guard deletes the window
    }

    // Application::quit() ends this loop too, so an ending application does not wait here.
    if (!closed && window)
        wait.exec();
}

} // namespace quorvel::reporting
