#include "abortdialog.h"
#include "hoverableclickableimage.h"
#include "picturefixtures.h"

class TestAbortDialog : public QObject
{
    Q_OBJECT
    TestWorkspace workspace{false};

private slots:
    void initTestCase()
    {
        QVERIFY(writePicture("images/omitir/fondo.png", QSize(338, 163), Qt::white));
        for (const QString name : {"omitir_prueba", "omitir_aplicacion", "continuar"}) {
            QVERIFY(writePicture("images/omitir/" + name + "_off.png", QSize(262, 40), Qt::gray));
            QVERIFY(writePicture("images/omitir/" + name + "_on.png", QSize(262, 40), Qt::green));
        }
    }

    void waysOut_data()
    {
        QTest::addColumn<int>("button"); // -1: Escape
        QTest::addColumn<int>("abortOne");
        QTest::addColumn<int>("abortAll");
        QTest::newRow("skip test") << 0 << 1 << 0;
        QTest::newRow("skip all") << 1 << 0 << 1;
        QTest::newRow("continue") << 2 << 0 << 0;
        QTest::newRow("escape") << -1 << 0 << 0;
    }

    void waysOut()
    {
        QFETCH(int, button);
        QFETCH(int, abortOne);
        QFETCH(int, abortAll);
        AbortDialog dialog;
        const QList<HoverableClickableImage *> buttons{dialog.getSkipTestButton(), dialog.getSkipAllButton(),
                                                       dialog.getContinueButton()};
        QVERIFY(dialog.isWindow() && dialog.isHidden());
        QVERIFY(dialog.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(dialog.windowModality(), Qt::ApplicationModal);
        QCOMPARE(dialog.size(), QSize(338, 163));
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(buttons.at(i)->pos(), QPoint(38, 17 + 44 * i));
            QCOMPARE(paintedColor(buttons.at(i)), QColor(Qt::gray));
        }
        dialog.show();
        QSignalSpy oneSpy(&dialog, &AbortDialog::abortOne);
        QSignalSpy allSpy(&dialog, &AbortDialog::abortAll);
        // Hidden before the signal goes out, so that a receiver finds it closed.
        bool hiddenWhenSignalled = false;
        auto seeHidden = [&] { hiddenWhenSignalled = dialog.isHidden(); };
        connect(&dialog, &AbortDialog::abortOne, this, seeHidden);
        connect(&dialog, &AbortDialog::abortAll, this, seeHidden);

        // Presses with no pointer entering first do nothing; other keys are
        // swallowed, so that they never reach the test behind.
        for (QWidget *b : buttons)
            QTest::mouseClick(b, Qt::LeftButton);
        QVERIFY(keyAccepted(&dialog, Qt::Key_A) && keyAccepted(&dialog, Qt::Key_Return));
        QVERIFY(dialog.isVisible());
        QCOMPARE(oneSpy.count() + allSpy.count(), 0);

        if (button < 0) {
            QVERIFY(keyAccepted(&dialog, Qt::Key_Escape));
        } else {
            hover(buttons.at(button));
            QTest::mouseClick(buttons.at(button), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        }
        QVERIFY(dialog.isHidden());
        QCOMPARE(oneSpy.count(), abortOne);
        QCOMPARE(allSpy.count(), abortAll);
        QCOMPARE(hiddenWhenSignalled, abortOne + abortAll > 0);

        // Shown again, the button that was under the pointer rests inactive.
        dialog.show();
        for (HoverableClickableImage *b : buttons)
            QVERIFY(!b->isActive());
        QTest::mouseClick(buttons.at(qMax(button, 0)), Qt::LeftButton);
        QVERIFY(dialog.isVisible());
    }
};

QTEST_MAIN(TestAbortDialog)
#include "tst_abortdialog.moc"
