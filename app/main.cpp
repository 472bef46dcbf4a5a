#include "mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // The program draws only widgets: without this, Qt's X11 plugin loads the
    // OpenGL drivers at start (tens of MiB and a slower start) for nothing.
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
    QApplication application(argc, argv);
    MainWindow window;
    window.show();
    return application.exec();
}
