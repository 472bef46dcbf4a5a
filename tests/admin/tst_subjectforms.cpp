#include "formdriver.h"
#include "formsubject.h"
#include "formsubjectingroup.h"
#include "messageboxcatcher.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>

// The two subject forms, individual and group, filled as an examiner fills
// them. A null group in a row means the individual form, which has no group field.
class TestSubjectForms : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void submissionSendsTrimmedValues_data();
    void submissionSendsTrimmedValues();
    void validationStopsAtFirstProblem_data();
    void validationStopsAtFirstProblem();
    void showingAgainClearsFieldsButKeepsPeriod_data();
    void showingAgainClearsFieldsButKeepsPeriod();
    void restoringMinimisedWindowKeepsTypedText_data();
    void restoringMinimisedWindowKeepsTypedText();
    void groupNoteIsStoredDecomposed();

private:
    // Shows the form; the group form when `inGroup`.
    QWidget *open(bool inGroup);
    // Types the group (unless null), the name and the last name.
    static void fill(const FormDriver &driver, const QString &group, const QString &name, const QString &lastName);
    // Both texts as typed, and the group's when the form has one.
    static void verifyFieldsKept(const FormDriver &driver, const QString &group, const QString &name,
                                 const QString &lastName);

    QWidget *form = nullptr;
};

QWidget *TestSubjectForms::open(bool inGroup)
{
    form = inGroup ? static_cast<QWidget *>(new FormSubjectInGroup) : new FormSubject;
    form->show();
    return QTest::qWaitForWindowExposed(form) ? form : nullptr;
}

void TestSubjectForms::cleanup()
{
    delete form;
    form = nullptr;
}

void TestSubjectForms::fill(const FormDriver &driver, const QString &group, const QString &name,
                            const QString &lastName)
{
    if (!group.isNull())
        driver.type("lineEditGroup", group);
    driver.type("lineEditName", name);
    driver.type("lineEditLastName", lastName);
}

void TestSubjectForms::verifyFieldsKept(const FormDriver &driver, const QString &group, const QString &name,
                                        const QString &lastName)
{
    if (!group.isNull())
        QCOMPARE(driver.text("lineEditGroup"), group);
    QCOMPARE(driver.text("lineEditName"), name);
    QCOMPARE(driver.text("lineEditLastName"), lastName);
}

void TestSubjectForms::submissionSendsTrimmedValues_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("lastName");
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("endOfYear");
    QTest::addColumn<bool>("fullEvaluation");
    QTest::addColumn<QString>("sentGroup");
    QTest::addColumn<QString>("sentName");
    QTest::addColumn<QString>("sentLastName");

    const QString none;
    QTest::newRow("individual, first level, start of year")
        << none << "Ana" << "Pérez" << 1 << false << false << "" << "Ana" << "Pérez";
    QTest::newRow("individual, outer spaces dropped, inner spaces kept")
        << none << "  Ana  María " << " de la Fuente  " << 3 << true << false << "" << "Ana  María" << "de la Fuente";
    QTest::newRow("individual, full evaluation, last level, end of year")
        << none << "Tomás" << "Núñez" << 6 << true << true << "" << "Tomás" << "Núñez";
    QTest::newRow("individual, full evaluation, start of year")
        << none << "Eva" << " Soto " << 4 << false << true << "" << "Eva" << "Soto";
    QTest::newRow("group, first level, start of year")
        << "3A-2013" << "Ana" << "Pérez" << 1 << false << false << "3A-2013" << "Ana" << "Pérez";
    QTest::newRow("group, outer spaces dropped, inner spaces kept")
        << "  Kínder B 2024 " << " José  Luis " << "Núñez Soto  " << 2 << true << false << "Kínder B 2024"
        << "José  Luis" << "Núñez Soto";
    QTest::newRow("group, last level, end of year")
        << "4B" << "Eva" << "Rojas" << 6 << true << false << "4B" << "Eva" << "Rojas";
}

void TestSubjectForms::submissionSendsTrimmedValues()
{
    QFETCH(QString, group);
    QFETCH(QString, name);
    QFETCH(QString, lastName);
    QFETCH(int, level);
    QFETCH(bool, endOfYear);
    QFETCH(bool, fullEvaluation);
    QFETCH(QString, sentGroup);
    QFETCH(QString, sentName);
    QFETCH(QString, sentLastName);

    QVERIFY(open(!group.isNull()));
    FormDriver driver(form);
    QSignalSpy spy(form, SIGNAL(requestGameStart(QString, QString, int, QString, bool, bool)));
    MessageBoxCatcher catcher;

    fill(driver, group, name, lastName);
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
    // The individual form sends an empty group code, never a null one.
    QVERIFY(!sent.at(3).toString().isNull());
    QCOMPARE(sent.at(3).toString(), sentGroup);
    QCOMPARE(sent.at(4).toBool(), fullEvaluation); // a group child never gets the full battery
    QCOMPARE(sent.at(5).toBool(), endOfYear);

    // Only what is sent is trimmed; the fields keep what was typed.
    verifyFieldsKept(driver, group, name, lastName);
}

void TestSubjectForms::validationStopsAtFirstProblem_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("lastName");
    QTest::addColumn<QString>("sabotage"); // what the keyboard and mouse cannot undo
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");

    const QString none;
    const QString noGroup = QString::fromUtf8("Debe escribir el código del grupo al que pertenece el sujeto.");
    const QString noName = QString::fromUtf8("Debe escribir el nombre del sujeto.");
    const QString noLastName = QString::fromUtf8("Debe escribir el apellido del sujeto.");
    const QString noLevel = QString::fromUtf8("Debe seleccionar un nivel.");
    const QString noPeriod = QString::fromUtf8("Debe seleccionar un periodo del año escolar");
    QTest::newRow("individual, everything empty") << none << "" << "" << "" << noName << "lineEditName";
    QTest::newRow("individual, name of spaces") << none << "   " << "Pérez" << "" << noName << "lineEditName";
    QTest::newRow("individual, last name of spaces")
        << none << "Ana" << "   " << "" << noLastName << "lineEditLastName";
    QTest::newRow("individual, last name empty, no level either")
        << none << "Ana" << "" << "levels" << noLastName << "lineEditLastName";
    QTest::newRow("individual, no level") << none << "Ana" << "Pérez" << "levels" << noLevel << "buttonStartGame";
    QTest::newRow("individual, no period") << none << "Ana" << "Pérez" << "periods" << noPeriod << "comboBoxPeriodo";
    QTest::newRow("group, everything empty") << "" << "" << "" << "levels" << noGroup << "lineEditGroup";
    QTest::newRow("group, group of spaces") << "  " << "Ana" << "Pérez" << "" << noGroup << "lineEditGroup";
    QTest::newRow("group, name empty") << "3A" << "" << "Pérez" << "" << noName << "lineEditName";
    QTest::newRow("group, last name of spaces") << "3A" << "Ana" << "   " << "" << noLastName << "lineEditLastName";
    QTest::newRow("group, no level") << "3A" << "Ana" << "Pérez" << "levels" << noLevel << "buttonStartGame";
    QTest::newRow("group, no period") << "3A" << "Ana" << "Pérez" << "periods" << noPeriod << "comboBoxPeriodo";
}

void TestSubjectForms::validationStopsAtFirstProblem()
{
    QFETCH(QString, group);
    QFETCH(QString, name);
    QFETCH(QString, lastName);
    QFETCH(QString, sabotage);
    QFETCH(QString, message);
    QFETCH(QString, focus);

    QVERIFY(open(!group.isNull()));
    FormDriver driver(form);
    QSignalSpy spy(form, SIGNAL(requestGameStart(QString, QString, int, QString, bool, bool)));
    MessageBoxCatcher catcher;

    fill(driver, group, name, lastName);
    if (sabotage == "levels")
        driver.clearLevels();
    else if (sabotage == "periods")
        driver.removePeriods();
    driver.start();

    QCOMPARE(catcher.messages(), QStringList{message});
    QCOMPARE(spy.count(), 0);
    QCOMPARE(form->focusWidget(), driver.child(focus));
    verifyFieldsKept(driver, group, name, lastName);
}

void TestSubjectForms::showingAgainClearsFieldsButKeepsPeriod_data()
{
    QTest::addColumn<bool>("inGroup");
    QTest::newRow("individual") << false;
    QTest::newRow("group") << true;
}

void TestSubjectForms::showingAgainClearsFieldsButKeepsPeriod()
{
    QFETCH(bool, inGroup);
    QVERIFY(open(inGroup));
    FormDriver driver(form);
    QCOMPARE(driver.periodIndex(), 0);
    QVERIFY(driver.isChecked("radioLevel_1"));

    fill(driver, inGroup ? "3A-2013" : QString(), "Ana", "Pérez");
    driver.chooseLevel(4);
    driver.choosePeriod(true);
    if (!inGroup)
        driver.click("checkBoxFullEvaluation");

    form->hide();
    form->show();

    verifyFieldsKept(driver, inGroup ? "" : QString(), "", "");
    QVERIFY(driver.isChecked("radioLevel_1"));
    QVERIFY(!driver.isChecked("radioLevel_4"));
    if (!inGroup)
        QVERIFY(!driver.isChecked("checkBoxFullEvaluation"));
    QCOMPARE(driver.periodIndex(), 1);
    QCOMPARE(form->focusWidget(), driver.child(inGroup ? "lineEditGroup" : "lineEditName"));
}

void TestSubjectForms::restoringMinimisedWindowKeepsTypedText_data()
{
    showingAgainClearsFieldsButKeepsPeriod_data();
}

void TestSubjectForms::restoringMinimisedWindowKeepsTypedText()
{
    QFETCH(bool, inGroup);
    QVERIFY(open(inGroup));
    FormDriver driver(form);
    fill(driver, inGroup ? "3A" : QString(), "Ana", "");
    driver.chooseLevel(2);

    form->showMinimized();
    QTRY_VERIFY(form->isMinimized());
    form->showNormal();
    QTRY_VERIFY(!form->isMinimized());

    verifyFieldsKept(driver, inGroup ? "3A" : QString(), "Ana", "");
    QVERIFY(driver.isChecked("radioLevel_2"));
}

void TestSubjectForms::groupNoteIsStoredDecomposed()
{
    QVERIFY(open(true));
    const QString note = form->findChild<QLabel *>("label")->text();
    const QString precomposed = QString::fromUtf8("* Asegúrese de usar el mismo código al ingresar los datos de cada "
                                                  "niño que usted desee que forme parte del grupo comparativo.");
    QCOMPARE(note, precomposed.normalized(QString::NormalizationForm_D));
}

QTEST_MAIN(TestSubjectForms)
#include "tst_subjectforms.moc"
