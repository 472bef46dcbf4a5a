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
    QTest::qWait(1);
}

AppFixture::~AppFixture()
{
    mainWindow.reset();
}

int AppFixture::startEvaluation(int level, bool fullEvaluation, const QString &name, const QString &lastName)
{
    mainWindow->startGame(name, lastName, level, QString(""), fullEvaluation, false);
    return mainWindow->currentEvaluationId();
}

void AppFixture::click(QWidget *widget, QPoint at)
{
    if (at == QPoint(-1, -1))
        at = widget->rect().center();
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at);
}

GameWindow *AppFixture::startAt(const QString &code)
{
    if (startEvaluation(1, true) < 1)
        return nullptr;
    const int id = mainWindow->currentEvaluationId();
    while (mainWindow->currentEvaluationId() == id && mainWindow->currentTestCode() != code) {
        GameWindow *current = mainWindow->game(mainWindow->currentTestCode());
        if (!current || !QMetaObject::invokeMethod(current, "runFinishGame"))
            return nullptr;
    }
    return mainWindow->currentEvaluationId() == id ? mainWindow->game(code) : nullptr;
}

QList<QStringList> AppFixture::rowsOf(const QString &code)
{
    QList<QStringList> result;
    for (const QStringList &row : space.logRows())
        if (row.value(1) == code)
            result << row;
    return result;
}
