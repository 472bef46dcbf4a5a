#include "appfixture.h"

#include "gamewindow.h"
#include "mainwindow.h"

#include <QTest>
#include <QWidget>

AppFixture::AppFixture(bool withKit)
    : space(withKit)
    , mainWindow(new MainWindow())
{
    mainWindow->show();
    // What the window builds right after its first frame (a new database, the
    // test screens) is there before the test goes on.
    if (!QTest::qWaitForWindowExposed(mainWindow.get()))
        qWarning("AppFixture: the main window was not exposed");
    QTest::qWait(1);
}

// The window goes before the workspace it works in.
AppFixture::~AppFixture() = default;

int AppFixture::startEvaluation(int level, bool fullEvaluation, const QString &name, const QString &lastName)
{
    mainWindow->startGame(name, lastName, level, QString(""), fullEvaluation, false);
    return mainWindow->currentEvaluationId();
}

void AppFixture::click(QWidget *widget, QPoint at)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at == QPoint(-1, -1) ? widget->rect().center() : at);
}

GameWindow *AppFixture::startAt(const QString &code)
{
    const int id = startEvaluation(1, true);
    while (id > 0 && mainWindow->currentEvaluationId() == id && mainWindow->currentTestCode() != code) {
        GameWindow *current = mainWindow->game(mainWindow->currentTestCode());
        if (!current || !QMetaObject::invokeMethod(current, "runFinishGame"))
            return nullptr;
    }
    return id > 0 && mainWindow->currentEvaluationId() == id ? mainWindow->game(code) : nullptr;
}

QList<QStringList> AppFixture::rowsOf(const QString &code)
{
    QList<QStringList> result;
    for (const QStringList &row : space.logRows())
        if (row.value(1) == code)
            result << row;
    return result;
}
