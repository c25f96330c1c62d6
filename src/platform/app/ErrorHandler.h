#pragma once

#include <QString>
#include <exception>
#include <utility>

namespace quorvel {

// The text the error box shows: a full stop is appended when the message's last
// character sorts after ".", so "Failed" becomes "Failed." but "Failed!" stays.
QString errorBoxText(const QString& message);

// The application's top-level error handler: shows the exception's message in an
// error box and lets the program go on.
void handleException(std::exception_ptr error) noexcept;

// Runs an event handler so that no exception crosses Qt's event loop: whatever it
// throws goes to the top-level error handler.
template <typename Handler>
void guarded(Handler&& handler) noexcept
{
    try {
        std::forward<Handler>(handler)();
    } catch (...) {
        handleException(std::current_exception());
    }
}

} // namespace quorvel
