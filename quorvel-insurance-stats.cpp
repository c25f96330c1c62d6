// Quorvel Insurance Statistics: start-up only.
#include "main/TfrmMain.h"
#include "platform/app/Application.h"

int main(int argc, char** argv)
{
    quorvel::Application app(argc, argv);
    quorvel::applyLook(app);
    quorvel::TfrmMain frmMain;
    frmMain.show();
    return app.exec();
}
