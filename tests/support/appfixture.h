#ifndef APPFIXTURE_H
#define APPFIXTURE_H

#include "messageboxcatcher.h"
#include "testworkspace.h"

#include <QPoint>
#include <QString>
#include <memory>

class GameWindow;
class MainWindow;
class QWidget;

// A real MainWindow with its database in a fresh working directory, shown as
// the application shows it, with every message box it opens recorded and
// closed.
class AppFixture
{
public:
    explicit AppFixture(bool withKit = true);
    ~AppFixture();

    MainWindow *window() const { return mainWindow.get(); }
    TestWorkspace &workspace() { return space; }
    MessageBoxCatcher &catcher() { return boxes; }

    // Starts an evaluation as the forms do, and returns its id (0 when none runs).
    int startEvaluation(int level, bool fullEvaluation = false, const QString &name = "Ana",
                        const QString &lastName = "Pérez");

    // Starts a full evaluation and moves the battery on, without logging
    // anything, until the test with the given code is the running one; returns it
    // (on its transition screen), or null when it never came.
    GameWindow *startAt(const QString &code);
    // The log rows (evaluationId, test, key, value) of one test, in order.
    QList<QStringList> rowsOf(const QString &code);

    // Destroys the main window, as when the program ends.
    void endProgram() { mainWindow.reset(); }

    // A press and release of the left button at a point of the widget (its centre by default).
    static void click(QWidget *widget, QPoint at = QPoint(-1, -1));

private:
    TestWorkspace space;
    MessageBoxCatcher boxes;
    std::unique_ptr<MainWindow> mainWindow;
};

#endif // APPFIXTURE_H
