#include "adminwindow.h"
#include "appfixture.h"
#include "formdriver.h"
#include "gamewindow.h"
#include "mainwindow.h"

#include <QDate>
#include <QPushButton>
#include <QtTest>

// From the administration window to a running evaluation and back: the examiner
// fills a form, presses "Empezar evaluación", and sees the welcome page again
// when the evaluation ends.
class TestEvaluationStart : public QObject
{
    Q_OBJECT

private slots:
    void formSubmissionStoresTheEvaluation_data()
    {
        QTest::addColumn<bool>("group");
        QTest::addColumn<QStringList>("expected"); // name, lastName, level, codeGroup, full, endOfYear
        QTest::newRow("individual") << false << QStringList{"María José", "O'Ryan Núñez", "4", "", "1", "1"};
        QTest::newRow("group") << true << QStringList{"María José", "O'Ryan Núñez", "4", "3A-2013", "0", "1"};
    }

    void formSubmissionStoresTheEvaluation()
    {
        QFETCH(bool, group);
        QFETCH(QStringList, expected);
        AppFixture app;
        MainWindow *w = app.window();
        AdminWindow *admin = w->administrationWindow();
        AppFixture::click(admin->findChild<QPushButton *>(group ? "buttonGroupEvaluation" : "buttonInidividualEvaluation"));
        QWidget *form = admin->findChild<QWidget *>(group ? "FormSubjectInGroup" : "FormSubject");
        QVERIFY(form && form->isVisible());

        FormDriver driver(form);
        if (group)
            driver.type("lineEditGroup", "  3A-2013 ");
        driver.type("lineEditName", "  María José ");
        driver.type("lineEditLastName", "O'Ryan Núñez  ");
        driver.chooseLevel(4);
        driver.choosePeriod(true);
        if (!group)
            driver.click("checkBoxFullEvaluation");
        driver.start();

        QCOMPARE(app.workspace().rows("evaluation", {"name", "lastName", "level", "codeGroup", "fullEvaluation",
                                                     "endOfYear", "evaluationDate"}),
                 QList<QStringList>{expected << QDate::currentDate().toString("yyyy-MM-dd")});

        // The evaluation runs full screen, with its first test showing.
        QVERIFY(w->currentEvaluationId() >= 1);
        QVERIFY(w->isFullScreen());
        QVERIFY(!admin->isVisible());
        QCOMPARE(w->currentTestCode(), group ? QString("FP1A") : QString("VD1A"));
        QVERIFY(w->game(w->currentTestCode())->isVisible());

        // The examiner abandons it: the welcome page, not the form, is shown again.
        w->abortGame();
        QVERIFY(admin->isVisible());
        QVERIFY(admin->findChild<QWidget *>("FormWelcome")->isVisible());
        QVERIFY(!form->isVisible());
        QCOMPARE(app.catcher().messages(), QStringList{"La aplicación ha sido cancelada."});
    }
};

QTEST_MAIN(TestEvaluationStart)
#include "tst_evaluationstart.moc"
