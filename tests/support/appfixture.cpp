#include "appfixture.h"

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
