#include "platform/app/Seams.h"

#include <QApplication>
#include <QCursor>
#include <QMessageBox>

namespace quorvel {
namespace {

class SystemClock final : public Clock {
public:
    QDate today() const override { return QDate::currentDate(); }
};

class SystemMessageBoxes final : public MessageBoxes {
public:
    void error(const QString& text) override
    {
        QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), text,
                        QMessageBox::Ok, QApplication::activeWindow());
        box.exec();
    }

    void information(QWidget* parent, const QString& title, const QString& text) override
    {
        QMessageBox box(QMessageBox::Information, title, text, QMessageBox::NoButton, parent);
        box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.exec();
    }
};

// The application-wide pointer: one override at a time, as the program only ever
// switches between the hourglass and the default.
class ApplicationCursor final : public Cursor {
public:
    void setHourglass() override
    {
        if (!busy_) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
            busy_ = true;
        }
    }
    void setDefault() override
    {
        if (busy_) {
            QApplication::restoreOverrideCursor();
            busy_ = false;
        }
    }
    bool isHourglass() const override { return busy_; }

private:
    bool busy_ = false;
};

} // namespace

Seams& seams()
{
    static SystemClock clock;
    static SystemMessageBoxes messages;
    static ApplicationCursor cursor;
    static Seams current{&clock, &messages, &cursor};
    return current;
}

ScopedSeams::ScopedSeams(Seams replacement) : saved_(seams())
{
    if (replacement.clock)
        seams().clock = replacement.clock;
    if (replacement.messages)
        seams().messages = replacement.messages;
    if (replacement.cursor)
        seams().cursor = replacement.cursor;
}

ScopedSeams::~ScopedSeams() { seams() = saved_; }

} // namespace quorvel
