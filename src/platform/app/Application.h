#pragma once

#include <QApplication>

namespace quorvel {

// The application object: our look, and a last net under every event so that an
// exception a handler forgot to guard still reaches the error box instead of ending
// the program.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// The Office 2003 look of buttons, page area and status bar, and the panel colour.
void applyLook(QApplication& app);

} // namespace quorvel
