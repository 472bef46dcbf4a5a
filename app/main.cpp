#include "mainwindow.h"
#include "processsettings.h"

#include <QApplication>

#include <fontconfig/fontconfig.h>
#include <thread>

int main(int argc, char *argv[])
{
    ProcessSettings::apply();
    // The fonts' configuration takes several milliseconds to read; the second
    // core reads it while the first connects to the display, before the first
    // widget asks for a font (after the settings above, which set variables of
    // the environment that it reads).
    std::thread([] { FcInit(); }).detach();
    QApplication application(argc, argv);
    MainWindow window;
    window.show();
    return application.exec();
}
