#include "mainwindow.h"
#include "processsettings.h"
#include "scoringservicetrust.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    ProcessSettings::apply();
    QApplication application(argc, argv);
    ScoringServiceTrust::apply();
    MainWindow window;
    window.show();
    return application.exec();
}
