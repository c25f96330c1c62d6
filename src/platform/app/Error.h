#pragma once

#include <QString>
#include <QByteArray>
#include <exception>

namespace quorvel {

// The one error type of the program: it carries the text the user is shown.
// Errors of the server, of the data-access layer and of the windows all travel as this.
class Error : public std::exception {
public:
    explicit Error(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}

    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

} // namespace quorvel
