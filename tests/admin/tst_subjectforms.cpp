#include "formdriver.h"
#include "formsubject.h"
#include "formsubjectingroup.h"
#include "messageboxcatcher.h"

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {
const QString kNoGroup = "Debe escribir el código del grupo al que pertenece el sujeto.";
const QString kNoName = "Debe escribir el nombre del sujeto.";
const QString kNoLastName = "Debe escribir el apellido del sujeto.";
const QString kNoLevel = "Debe seleccionar un nivel.";
const QString kNoPeriod = "Debe seleccionar un periodo del año escolar";
// Where each message leaves the focus.
const QHash<QString, QString> kFocus{{kNoGroup, "lineEditGroup"}, {kNoName, "lineEditName"},
    {kNoLastName, "lineEditLastName"}, {kNoLevel, "buttonStartGame"}, {kNoPeriod, "comboBoxPeriodo"}};
}

// The two subject forms, individual and group, filled as an examiner fills
// them. A null group in a row means the individual form, which has no group field.
class TestSubjectForms : public QObject
{
    Q_OBJECT

    std::unique_ptr<QWidget> form;

    // Shows the form (the group form unless the group is null) and types the texts.
    FormDriver open(const QString &group, const QString &name, const QString &lastName)
    {
        form.reset(group.isNull() ? static_cast<QWidget *>(new FormSubject) : new FormSubjectInGroup);
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            qWarning("the form was not shown");
        FormDriver driver(form.get());
        if (!group.isNull())
            driver.type("lineEditGroup", group);
        driver.type("lineEditName", name);
        driver.type("lineEditLastName", lastName);
        return driver;
    }

    // What the fields hold, as "group|name|last name" (no group on the individual form).
    static QString held(const FormDriver &driver, const QString &group)
    {
        return (group.isNull() ? group : driver.text("lineEditGroup")) + "|" + driver.text("lineEditName") + "|"
            + driver.text("lineEditLastName");
    }

private slots:
    // Sent trimmed, or stopped at the first problem with its message and the focus on its field.
    void submission_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("lastName");
        QTest::addColumn<int>("level");      // -1: none chosen (which only code can do)
        QTest::addColumn<int>("endOfYear"); // -1: no period to choose
        QTest::addColumn<bool>("full");     // ticked; only the individual form has the box
        QTest::addColumn<QString>("message");

        const QString none;
        QTest::newRow("individual, first level, start of year") << none << "Ana" << "Pérez" << 1 << 0 << false << none;
        QTest::newRow("individual, outer spaces dropped, inner spaces kept")
            << none << "  Ana  María " << " de la Fuente  " << 3 << 1 << false << none;
        QTest::newRow("individual, full, last level, end of year") << none << "Tomás" << "Núñez" << 6 << 1 << true << none;
        QTest::newRow("individual, full, start of year") << none << "Eva" << " Soto " << 4 << 0 << true << none;
        QTest::newRow("group, first level, start of year") << "3A-2013" << "Ana" << "Pérez" << 1 << 0 << false << none;
        QTest::newRow("group, outer spaces dropped, inner spaces kept")
            << "  Kínder  B 2024 " << " José  Luis " << "Núñez Soto  " << 2 << 1 << false << none;
        QTest::newRow("group, last level, end of year") << "4B" << "Eva" << "Rojas" << 6 << 1 << false << none;

        QTest::newRow("individual, everything empty") << none << "" << "" << 1 << 0 << false << kNoName;
        QTest::newRow("individual, name of spaces") << none << "   " << "Pérez" << 1 << 0 << false << kNoName;
        QTest::newRow("individual, last name of spaces") << none << "Ana" << "   " << 1 << 0 << false << kNoLastName;
        QTest::newRow("individual, last name empty, no level either")
            << none << "Ana" << "" << -1 << 0 << false << kNoLastName;
        QTest::newRow("individual, no level") << none << "Ana" << "Pérez" << -1 << 0 << false << kNoLevel;
        QTest::newRow("individual, no period") << none << "Ana" << "Pérez" << 1 << -1 << false << kNoPeriod;
        QTest::newRow("group, everything empty") << "" << "" << "" << -1 << 0 << false << kNoGroup;
        QTest::newRow("group, group of spaces") << "  " << "Ana" << "Pérez" << 1 << 0 << false << kNoGroup;
        QTest::newRow("group, name empty") << "3A" << "" << "Pérez" << 1 << 0 << false << kNoName;
        QTest::newRow("group, last name of spaces") << "3A" << "Ana" << "   " << 1 << 0 << false << kNoLastName;
        QTest::newRow("group, no level") << "3A" << "Ana" << "Pérez" << -1 << 0 << false << kNoLevel;
        QTest::newRow("group, no period") << "3A" << "Ana" << "Pérez" << 1 << -1 << false << kNoPeriod;
    }

    void submission()
    {
        QFETCH(QString, group);
        QFETCH(QString, name);
        QFETCH(QString, lastName);
        QFETCH(int, level);
        QFETCH(int, endOfYear);
        QFETCH(bool, full);
        QFETCH(QString, message);

        MessageBoxCatcher catcher;
        FormDriver driver = open(group, name, lastName);
        QSignalSpy spy(form.get(), SIGNAL(requestGameStart(QString, QString, int, QString, bool, bool)));
        level < 0 ? driver.clearLevels() : driver.chooseLevel(level);
        endOfYear < 0 ? driver.removePeriods() : driver.choosePeriod(endOfYear == 1);
        if (full)
            driver.click("checkBoxFullEvaluation");
        driver.start();

        // Only what is sent is trimmed; the fields keep what was typed.
        QCOMPARE(held(driver, group), group + "|" + name + "|" + lastName);
        QCOMPARE(catcher.messages(), message.isNull() ? QStringList() : QStringList{message});
        if (!message.isNull()) {
            QCOMPARE(spy.count(), 0);
            QCOMPARE(form->focusWidget(), driver.child(kFocus.value(message)));
            return;
        }
        QCOMPARE(spy.count(), 1);
        const QList<QVariant> sent = spy.takeFirst();
        // The individual form sends an empty group code, never a null one.
        QVERIFY(!sent.at(3).toString().isNull());
        QCOMPARE(sent, (QList<QVariant>{name.trimmed(), lastName.trimmed(), level, QString(group).trimmed(), full,
                                        endOfYear == 1}));
    }

    // Restored from the minimised window, the form keeps what was typed; shown
    // again by the examiner, it is empty but keeps the period.
    void showingAgain_data()
    {
        QTest::addColumn<QString>("group");
        QTest::newRow("individual") << QString();
        QTest::newRow("group") << "3A-2013";
    }

    void showingAgain()
    {
        QFETCH(QString, group);
        FormDriver driver = open(group, "Ana", "Pérez");
        QCOMPARE(driver.periodIndex(), 0);
        driver.chooseLevel(4);
        driver.choosePeriod(true);
        if (group.isNull())
            driver.click("checkBoxFullEvaluation");

        form->showMinimized();
        QTRY_VERIFY(form->isMinimized());
        form->showNormal();
        QTRY_VERIFY(!form->isMinimized());
        QCOMPARE(held(driver, group), group + "|Ana|Pérez");
        QVERIFY(driver.isChecked("radioLevel_4"));

        form->hide();
        form->show();
        QCOMPARE(held(driver, group), QString("||"));
        QVERIFY(driver.isChecked("radioLevel_1"));
        QVERIFY(!group.isNull() || !driver.isChecked("checkBoxFullEvaluation"));
        QCOMPARE(driver.periodIndex(), 1);
        QCOMPARE(form->focusWidget(), driver.child(group.isNull() ? "lineEditName" : "lineEditGroup"));
    }

    void groupNoteIsStoredDecomposed()
    {
        open("", "", "");
        const QString note = "* Asegúrese de usar el mismo código al ingresar los datos de cada niño que usted desee "
                             "que forme parte del grupo comparativo.";
        QCOMPARE(form->findChild<QLabel *>("label")->text(), note.normalized(QString::NormalizationForm_D));
    }
};

QTEST_MAIN(TestSubjectForms)
#include "tst_subjectforms.moc"
