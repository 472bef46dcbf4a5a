// rumbolo-bench-window: the smallest Qt widgets program that shows one window,
// the yardstick for the application's start-up. It links Qt Widgets only.
//
//   rumbolo-bench-window [TITLE]

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("Baseline"));
    window.resize(800, 580);
    window.show();
    return application.exec();
}
