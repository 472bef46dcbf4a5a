#include "formdriver.h"
#include "formsubject.h"
#include "messageboxcatcher.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

class TestFormSubject : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void submissionSendsTrimmedValues_data();
    void submissionSendsTrimmedValues();
    void validationStopsAtFirstProblem_data();
    void validationStopsAtFirstProblem();
    void showingAgainClearsFieldsButKeepsPeriod();
    void restoringMinimisedWindowKeepsTypedText();

private:
    FormSubject *form = nullptr;
};

void TestFormSubject::init()
{
    form = new FormSubject();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
}

void TestFormSubject::cleanup()
{
    delete form;
    form = nullptr;
}

void TestFormSubject::submissionSendsTrimmedValues_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("lastName");
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("endOfYear");
    QTest::addColumn<bool>("fullEvaluation");
    QTest::addColumn<QString>("sentName");
    QTest::addColumn<QString>("sentLastName");

    QTest::newRow("plain, first level, start of year")
        << "Ana" << "Pérez" << 1 << false << false << "Ana" << "Pérez";
    QTest::newRow("outer spaces dropped, inner spaces kept")
        << "  Ana  María " << " de la Fuente  " << 3 << true << false << "Ana  María" << "de la Fuente";
    QTest::newRow("full evaluation, last level, end of year")
        << "Tomás" << "Núñez" << 6 << true << true << "Tomás" << "Núñez";
    QTest::newRow("full evaluation, start of year") << "Eva" << " Soto " << 4 << false << true << "Eva" << "Soto";
}

void TestFormSubject::submissionSendsTrimmedValues()
{
    QFETCH(QString, name);
    QFETCH(QString, lastName);
    QFETCH(int, level);
    QFETCH(bool, endOfYear);
    QFETCH(bool, fullEvaluation);
    QFETCH(QString, sentName);
    QFETCH(QString, sentLastName);

    FormDriver driver(form);
    QSignalSpy spy(form, &FormSubject::requestGameStart);
    MessageBoxCatcher catcher;

    driver.type("lineEditName", name);
    driver.type("lineEditLastName", lastName);
    driver.chooseLevel(level);
    driver.choosePeriod(endOfYear);
    if (fullEvaluation)
        driver.click("checkBoxFullEvaluation");
    driver.start();

    QCOMPARE(catcher.messages(), QStringList());
    QCOMPARE(spy.count(), 1);
    const QList<QVariant> sent = spy.takeFirst();
    QCOMPARE(sent.at(0).toString(), sentName);
    QCOMPARE(sent.at(1).toString(), sentLastName);
    QCOMPARE(sent.at(2).toInt(), level);
    QVERIFY(!sent.at(3).toString().isNull());
    QCOMPARE(sent.at(3).toString(), QString(""));
    QCOMPARE(sent.at(4).toBool(), fullEvaluation);
    QCOMPARE(sent.at(5).toBool(), endOfYear);

    // Only what is sent is trimmed; the fields keep what was typed.
    QCOMPARE(driver.text("lineEditName"), name);
    QCOMPARE(driver.text("lineEditLastName"), lastName);
}

void TestFormSubject::validationStopsAtFirstProblem_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("lastName");
    QTest::addColumn<QString>("sabotage"); // what the keyboard and mouse cannot undo
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");

    const QString noName = QString::fromUtf8("Debe escribir el nombre del sujeto.");
    const QString noLastName = QString::fromUtf8("Debe escribir el apellido del sujeto.");
    QTest::newRow("everything empty") << "" << "" << "" << noName << "lineEditName";
    QTest::newRow("name of spaces") << "   " << "Pérez" << "" << noName << "lineEditName";
    QTest::newRow("last name of spaces") << "Ana" << "   " << "" << noLastName << "lineEditLastName";
    QTest::newRow("last name empty, no level either")
        << "Ana" << "" << "levels" << noLastName << "lineEditLastName";
    QTest::newRow("no level") << "Ana" << "Pérez" << "levels" << QString::fromUtf8("Debe seleccionar un nivel.")
                              << "buttonStartGame";
    QTest::newRow("no period") << "Ana" << "Pérez" << "periods"
                               << QString::fromUtf8("Debe seleccionar un periodo del año escolar")
                               << "comboBoxPeriodo";
}

void TestFormSubject::validationStopsAtFirstProblem()
{
    QFETCH(QString, name);
    QFETCH(QString, lastName);
    QFETCH(QString, sabotage);
    QFETCH(QString, message);
    QFETCH(QString, focus);

    FormDriver driver(form);
    QSignalSpy spy(form, &FormSubject::requestGameStart);
    MessageBoxCatcher catcher;

    driver.type("lineEditName", name);
    driver.type("lineEditLastName", lastName);
    if (sabotage == "levels")
        driver.clearLevels();
    else if (sabotage == "periods")
        driver.removePeriods();
    driver.start();

    QCOMPARE(catcher.messages(), QStringList{message});
    QCOMPARE(spy.count(), 0);
    QCOMPARE(form->focusWidget(), driver.child(focus));
    QCOMPARE(driver.text("lineEditName"), name);
    QCOMPARE(driver.text("lineEditLastName"), lastName);
}

void TestFormSubject::showingAgainClearsFieldsButKeepsPeriod()
{
    FormDriver driver(form);
    QCOMPARE(driver.periodIndex(), 0);
    QVERIFY(driver.isChecked("radioLevel_1"));

    driver.type("lineEditName", "Ana");
    driver.type("lineEditLastName", "Pérez");
    driver.chooseLevel(4);
    driver.choosePeriod(true);
    driver.click("checkBoxFullEvaluation");
    QVERIFY(driver.isChecked("checkBoxFullEvaluation"));

    form->hide();
    form->show();

    QCOMPARE(driver.text("lineEditName"), QString());
    QCOMPARE(driver.text("lineEditLastName"), QString());
    QVERIFY(driver.isChecked("radioLevel_1"));
    QVERIFY(!driver.isChecked("radioLevel_4"));
    QVERIFY(!driver.isChecked("checkBoxFullEvaluation"));
    QCOMPARE(driver.periodIndex(), 1);
    QCOMPARE(form->focusWidget(), driver.child("lineEditName"));
}

void TestFormSubject::restoringMinimisedWindowKeepsTypedText()
{
    FormDriver driver(form);
    driver.type("lineEditName", "Ana");
    driver.chooseLevel(2);

    form->showMinimized();
    QTRY_VERIFY(form->isMinimized());
    form->showNormal();
    QTRY_VERIFY(!form->isMinimized());

    QCOMPARE(driver.text("lineEditName"), QString("Ana"));
    QVERIFY(driver.isChecked("radioLevel_2"));
}

QTEST_MAIN(TestFormSubject)
#include "tst_formsubject.moc"
