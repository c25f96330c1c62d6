#include "platform/app/ErrorHandler.h"

#include "platform/app/Error.h"
#include "platform/app/Seams.h"

namespace quorvel {

QString errorBoxText(const QString& message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

void handleException(std::exception_ptr error) noexcept
{
    QString message;
    try {
        std::rethrow_exception(error);
    } catch (const Error& e) {
        message = e.message();
    } catch (const std::exception& e) {
        message = QString::fromLocal8Bit(e.what());
    } catch (...) {
        message = QStringLiteral("Unknown error");
    }
    try {
        seams().messages->error(errorBoxText(message));
    } catch (...) {
        // Nothing sensible is left to show an error with.
    }
}

} // namespace quorvel
