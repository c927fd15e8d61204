#include "mainwindow/AppSetup.h"
#include "mainwindow/MainWindow.h"
#include "mainwindow/WindowSet.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    AppSetup::configure(app);
    WindowSet windows;
    windows.mainWindow->show();
    return app.exec();
}
