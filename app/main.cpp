#include "mainwindow.h"
#include "processsettings.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    ProcessSettings::apply();
    QApplication application(argc, argv);
    MainWindow window;
    window.show();
    return application.exec();
}
