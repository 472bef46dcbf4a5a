#include "picturefixtures.h"
#include "transitionlabel.h"

class TestTransitionLabel : public QObject
{
    Q_OBJECT

private slots:
    void clickedOncePerPress_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("presses");
        QTest::newRow("left") << int(Qt::LeftButton) << 1;
        QTest::newRow("right") << int(Qt::RightButton) << 1;
        QTest::newRow("three middle presses") << int(Qt::MiddleButton) << 3;
    }

    void clickedOncePerPress()
    {
        QFETCH(int, button);
        QFETCH(int, presses);
        PressCounter parent;
        auto *label = new TransitionLabel(&parent);
        label->setText("Comprensión oral");
        label->resize(300, 200);
        parent.show();
        QSignalSpy spy(label, &TransitionLabel::clicked);
        // Anywhere on the label: on the text or in an empty corner.
        for (int i = 0; i < presses; ++i)
            QTest::mouseClick(label, Qt::MouseButton(button), {}, i % 2 ? QPoint(2, 197) : QPoint(150, 100));
        QCOMPARE(spy.count(), presses);
        QCOMPARE(parent.presses, 0);
    }
};

QTEST_MAIN(TestTransitionLabel)
#include "tst_transitionlabel.moc"
