#include "platform/app/Application.h"

#include "platform/app/ErrorHandler.h"
#include "platform/app/Look.h"

#include <QFont>

namespace quorvel {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        handleException(std::current_exception());
        return false;
    }
}

void applyLook(QApplication& app)
{
    app.setStyle(QStringLiteral("Fusion"));
    app.setFont(look::uiFont());
    app.setStyleSheet(look::styleSheet());
}

} // namespace quorvel
