#include "abortdialog.h"
#include "hoverableclickableimage.h"
#include "picturefixtures.h"
#include "testworkspace.h"

#include <QSignalSpy>
#include <QtTest>

using namespace PictureFixtures;

class TestAbortDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void windowAndPlaces();
    void buttons_data();
    void buttons();
    void inputThatAbortsNothing_data();
    void inputThatAbortsNothing();
    void buttonsRestInactiveWhenShownAgain();

private:
    static void hoverAndPress(QWidget *button);
    TestWorkspace workspace{false};
};

void TestAbortDialog::initTestCase()
{
    QVERIFY(writePicture("images/omitir/fondo.png", QSize(338, 163), Qt::white));
    for (const QString name : {"omitir_prueba", "omitir_aplicacion", "continuar"}) {
        QVERIFY(writePicture("images/omitir/" + name + "_off.png", QSize(262, 40), Qt::gray));
        QVERIFY(writePicture("images/omitir/" + name + "_on.png", QSize(262, 40), Qt::green));
    }
}

void TestAbortDialog::hoverAndPress(QWidget *button)
{
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(button, &enter);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
}

void TestAbortDialog::windowAndPlaces()
{
    AbortDialog dialog;
    QVERIFY(dialog.isWindow());
    QVERIFY(dialog.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(dialog.windowType(), Qt::Dialog);
    QCOMPARE(dialog.windowModality(), Qt::ApplicationModal);
    QVERIFY(dialog.isHidden());
    QCOMPARE(dialog.size(), QSize(338, 163));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());

    QCOMPARE(dialog.getSkipTestButton()->pos(), QPoint(38, 17));
    QCOMPARE(dialog.getSkipAllButton()->pos(), QPoint(38, 61));
    QCOMPARE(dialog.getContinueButton()->pos(), QPoint(38, 105));
    for (HoverableClickableImage *button :
         {dialog.getSkipTestButton(), dialog.getSkipAllButton(), dialog.getContinueButton()}) {
        QCOMPARE(button->size(), QSize(262, 40));
        QVERIFY(!button->isActive());
        QCOMPARE(paintedColor(button), QColor(Qt::gray));
    }
}

void TestAbortDialog::buttons_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("abortOne");
    QTest::addColumn<int>("abortAll");

    QTest::newRow("skip test") << 0 << 1 << 0;
    QTest::newRow("skip all") << 1 << 0 << 1;
    QTest::newRow("continue") << 2 << 0 << 0;
}

void TestAbortDialog::buttons()
{
    QFETCH(int, button);
    QFETCH(int, abortOne);
    QFETCH(int, abortAll);

    AbortDialog dialog;
    dialog.show();
    QSignalSpy oneSpy(&dialog, &AbortDialog::abortOne);
    QSignalSpy allSpy(&dialog, &AbortDialog::abortAll);
    // Hiding is seen before the signal goes out, so a receiver finds it closed.
    bool hiddenWhenSignalled = false;
    auto seeHidden = [&] { hiddenWhenSignalled = dialog.isHidden(); };
    connect(&dialog, &AbortDialog::abortOne, this, seeHidden);
    connect(&dialog, &AbortDialog::abortAll, this, seeHidden);

    const QList<QWidget *> buttons{dialog.getSkipTestButton(), dialog.getSkipAllButton(),
                                   dialog.getContinueButton()};
    hoverAndPress(buttons.at(button));

    QVERIFY(dialog.isHidden());
    QCOMPARE(oneSpy.count(), abortOne);
    QCOMPARE(allSpy.count(), abortAll);
    QCOMPARE(hiddenWhenSignalled, abortOne + abortAll > 0);
}

void TestAbortDialog::inputThatAbortsNothing_data()
{
    QTest::addColumn<int>("key"); // 0: presses on the three buttons with no pointer entering first
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("staysOpen");

    QTest::newRow("press without hover") << 0 << "" << true;
    QTest::newRow("escape closes") << int(Qt::Key_Escape) << "" << false;
    QTest::newRow("letter") << int(Qt::Key_A) << "a" << true;
    QTest::newRow("digit") << int(Qt::Key_1) << "1" << true;
    QTest::newRow("return") << int(Qt::Key_Return) << "\r" << true;
    QTest::newRow("space") << int(Qt::Key_Space) << " " << true;
}

void TestAbortDialog::inputThatAbortsNothing()
{
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(bool, staysOpen);

    AbortDialog dialog;
    dialog.show();
    QSignalSpy oneSpy(&dialog, &AbortDialog::abortOne);
    QSignalSpy allSpy(&dialog, &AbortDialog::abortAll);

    if (key == 0) {
        for (QWidget *button : {dialog.getSkipTestButton(), dialog.getSkipAllButton(), dialog.getContinueButton()})
            QTest::mouseClick(button, Qt::LeftButton);
    } else {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        press.ignore();
        QApplication::sendEvent(&dialog, &press);
        // Keys never reach the test under the dialog.
        QVERIFY(press.isAccepted());
    }

    QCOMPARE(dialog.isVisible(), staysOpen);
    QCOMPARE(oneSpy.count() + allSpy.count(), 0);
}

void TestAbortDialog::buttonsRestInactiveWhenShownAgain()
{
    AbortDialog dialog;
    dialog.show();
    hoverAndPress(dialog.getContinueButton());
    QVERIFY(dialog.isHidden());

    dialog.show();
    for (HoverableClickableImage *button :
         {dialog.getSkipTestButton(), dialog.getSkipAllButton(), dialog.getContinueButton()})
        QVERIFY(!button->isActive());
    // A stray press on the next showing, with no pointer entering first.
    QTest::mouseClick(dialog.getContinueButton(), Qt::LeftButton);
    QVERIFY(dialog.isVisible());
}

QTEST_MAIN(TestAbortDialog)
#include "tst_abortdialog.moc"
