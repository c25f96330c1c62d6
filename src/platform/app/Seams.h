#pragma once

#include <QDate>
#include <QString>

class QWidget;

namespace quorvel {

// What differs by machine or by person reaches the program through these seams:
// the windows never ask the system directly, so tests can put fixed values in.

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // The error box of the top-level error handler.
    virtual void error(const QString& text) = 0;
    // A modal box with the information icon and one "OK" button.
    virtual void information(QWidget* parent, const QString& title, const QString& text) = 0;
};

class Cursor {
public:
    virtual ~Cursor() = default;
    virtual void setHourglass() = 0;
    virtual void setDefault() = 0;
    virtual bool isHourglass() const = 0;
};

// The seams in force. The defaults talk to the real system; tests install their own
// and give the old ones back when done (see ScopedSeams).
struct Seams {
    Clock* clock;
    MessageBoxes* messages;
    Cursor* cursor;
};

Seams& seams();

// Installs other seams for the life of the object (null members keep the current ones).
class ScopedSeams {
public:
    explicit ScopedSeams(Seams replacement);
    ~ScopedSeams();
    ScopedSeams(const ScopedSeams&) = delete;
    ScopedSeams& operator=(const ScopedSeams&) = delete;

private:
    Seams saved_;
};

} // namespace quorvel
