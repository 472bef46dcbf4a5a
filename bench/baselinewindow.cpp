// rumbolo-bench-window: the smallest Qt widgets program that shows one window,
// the yardstick for the application's start-up. It links Qt Widgets only.
//
//   rumbolo-bench-window [TITLE] [--text]
//
// With --text the window also shows one line of text in a label, so that it
// loads and draws a font, as any window with words on it must.

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const QStringList arguments = application.arguments().mid(1);
    QWidget window;
    window.setWindowTitle(!arguments.isEmpty() && arguments.first() != "--text" ? arguments.first()
                                                                               : QStringLiteral("Baseline"));
    window.resize(800, 580);
    if (arguments.contains("--text")) {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(new QLabel(QString::fromUtf8("Seleccione una opción del menú para comenzar.")));
    }
    window.show();
    return application.exec();
}
