#include "formdriver.h"
#include "formsubjectingroup.h"
#include "messageboxcatcher.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

class TestFormSubjectInGroup : public QObject
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
    void groupNoteIsStoredDecomposed();

private:
    FormSubjectInGroup *form = nullptr;
};

void TestFormSubjectInGroup::init()
{
    form = new FormSubjectInGroup();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
}

void TestFormSubjectInGroup::cleanup()
{
    delete form;
    form = nullptr;
}

void TestFormSubjectInGroup::submissionSendsTrimmedValues_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("lastName");
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("endOfYear");
    QTest::addColumn<QString>("sentGroup");
    QTest::addColumn<QString>("sentName");
    QTest::addColumn<QString>("sentLastName");

    QTest::newRow("plain, first level, start of year")
        << "3A-2013" << "Ana" << "Pérez" << 1 << false << "3A-2013" << "Ana" << "Pérez";
    QTest::newRow("outer spaces dropped, inner spaces kept")
        << "  Kínder B 2024 " << " José  Luis " << "Núñez Soto  " << 2 << true << "Kínder B 2024" << "José  Luis"
        << "Núñez Soto";
    QTest::newRow("last level, end of year")
        << "4B" << "Eva" << "Rojas" << 6 << true << "4B" << "Eva" << "Rojas";
}

void TestFormSubjectInGroup::submissionSendsTrimmedValues()
{
    QFETCH(QString, group);
    QFETCH(QString, name);
    QFETCH(QString, lastName);
    QFETCH(int, level);
    QFETCH(bool, endOfYear);
    QFETCH(QString, sentGroup);
    QFETCH(QString, sentName);
    QFETCH(QString, sentLastName);

    FormDriver driver(form);
    QSignalSpy spy(form, &FormSubjectInGroup::requestGameStart);
    MessageBoxCatcher catcher;

    driver.type("lineEditGroup", group);
    driver.type("lineEditName", name);
    driver.type("lineEditLastName", lastName);
    driver.chooseLevel(level);
    driver.choosePeriod(endOfYear);
    driver.start();

    QCOMPARE(catcher.messages(), QStringList());
    QCOMPARE(spy.count(), 1);
    const QList<QVariant> sent = spy.takeFirst();
    QCOMPARE(sent.at(0).toString(), sentName);
    QCOMPARE(sent.at(1).toString(), sentLastName);
    QCOMPARE(sent.at(2).toInt(), level);
    QCOMPARE(sent.at(3).toString(), sentGroup);
    QCOMPARE(sent.at(4).toBool(), false); // a group child never gets the full battery
    QCOMPARE(sent.at(5).toBool(), endOfYear);

    QCOMPARE(driver.text("lineEditGroup"), group);
    QCOMPARE(driver.text("lineEditName"), name);
    QCOMPARE(driver.text("lineEditLastName"), lastName);
}

void TestFormSubjectInGroup::validationStopsAtFirstProblem_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("lastName");
    QTest::addColumn<QString>("sabotage"); // what the keyboard and mouse cannot undo
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");

    const QString noGroup = QString::fromUtf8("Debe escribir el código del grupo al que pertenece el sujeto.");
    const QString noName = QString::fromUtf8("Debe escribir el nombre del sujeto.");
    const QString noLastName = QString::fromUtf8("Debe escribir el apellido del sujeto.");
    QTest::newRow("everything empty") << "" << "" << "" << "levels" << noGroup << "lineEditGroup";
    QTest::newRow("group of spaces") << "  " << "Ana" << "Pérez" << "" << noGroup << "lineEditGroup";
    QTest::newRow("name empty") << "3A" << "" << "Pérez" << "" << noName << "lineEditName";
    QTest::newRow("last name of spaces") << "3A" << "Ana" << "   " << "" << noLastName << "lineEditLastName";
    QTest::newRow("no level") << "3A" << "Ana" << "Pérez" << "levels"
                              << QString::fromUtf8("Debe seleccionar un nivel.") << "buttonStartGame";
    QTest::newRow("no period") << "3A" << "Ana" << "Pérez" << "periods"
                               << QString::fromUtf8("Debe seleccionar un periodo del año escolar")
                               << "comboBoxPeriodo";
}

void TestFormSubjectInGroup::validationStopsAtFirstProblem()
{
    QFETCH(QString, group);
    QFETCH(QString, name);
    QFETCH(QString, lastName);
    QFETCH(QString, sabotage);
    QFETCH(QString, message);
    QFETCH(QString, focus);

    FormDriver driver(form);
    QSignalSpy spy(form, &FormSubjectInGroup::requestGameStart);
    MessageBoxCatcher catcher;

    driver.type("lineEditGroup", group);
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
    QCOMPARE(driver.text("lineEditGroup"), group);
    QCOMPARE(driver.text("lineEditName"), name);
    QCOMPARE(driver.text("lineEditLastName"), lastName);
}

void TestFormSubjectInGroup::showingAgainClearsFieldsButKeepsPeriod()
{
    FormDriver driver(form);
    QCOMPARE(driver.periodIndex(), 0);
    QVERIFY(driver.isChecked("radioLevel_1"));

    driver.type("lineEditGroup", "3A-2013");
    driver.type("lineEditName", "Ana");
    driver.type("lineEditLastName", "Pérez");
    driver.chooseLevel(5);
    driver.choosePeriod(true);

    form->hide();
    form->show();

    QCOMPARE(driver.text("lineEditGroup"), QString());
    QCOMPARE(driver.text("lineEditName"), QString());
    QCOMPARE(driver.text("lineEditLastName"), QString());
    QVERIFY(driver.isChecked("radioLevel_1"));
    QVERIFY(!driver.isChecked("radioLevel_5"));
    QCOMPARE(driver.periodIndex(), 1);
    QCOMPARE(form->focusWidget(), driver.child("lineEditGroup"));
}

void TestFormSubjectInGroup::restoringMinimisedWindowKeepsTypedText()
{
    FormDriver driver(form);
    driver.type("lineEditGroup", "3A");
    driver.chooseLevel(3);

    form->showMinimized();
    QTRY_VERIFY(form->isMinimized());
    form->showNormal();
    QTRY_VERIFY(!form->isMinimized());

    QCOMPARE(driver.text("lineEditGroup"), QString("3A"));
    QVERIFY(driver.isChecked("radioLevel_3"));
}

void TestFormSubjectInGroup::groupNoteIsStoredDecomposed()
{
    const QString note = form->findChild<QLabel *>("label")->text();
    const QString precomposed = QString::fromUtf8("* Asegúrese de usar el mismo código al ingresar los datos de cada "
                                                  "niño que usted desee que forme parte del grupo comparativo.");
    QCOMPARE(note.normalized(QString::NormalizationForm_C), precomposed);
    QCOMPARE(note, precomposed.normalized(QString::NormalizationForm_D));
    QCOMPARE(note.count(QChar(0x0301)), 2);
    QCOMPARE(note.count(QChar(0x0303)), 1);
}

QTEST_MAIN(TestFormSubjectInGroup)
#include "tst_formsubjectingroup.moc"
