#include "picturefixtures.h"
#include "transitionlabel.h"

#include <QSignalSpy>
#include <QtTest>

using namespace PictureFixtures;

class TestTransitionLabel : public QObject
{
    Q_OBJECT

private slots:
    void clickedOncePerPress_data();
    void clickedOncePerPress();
};

void TestTransitionLabel::clickedOncePerPress_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("presses");

    QTest::newRow("left") << int(Qt::LeftButton) << 1;
    QTest::newRow("right") << int(Qt::RightButton) << 1;
    QTest::newRow("middle") << int(Qt::MiddleButton) << 1;
    QTest::newRow("three left presses") << int(Qt::LeftButton) << 3;
}

void TestTransitionLabel::clickedOncePerPress()
{
    QFETCH(int, button);
    QFETCH(int, presses);

    PressCounter parent;
    auto *label = new TransitionLabel(&parent);
    label->setText("Comprensión oral");
    label->resize(300, 200);
    parent.show();
    QSignalSpy spy(label, &TransitionLabel::clicked);

    for (int i = 0; i < presses; ++i) {
        // Anywhere on the label, the text or the empty corners.
        const QPoint where = i % 2 ? QPoint(2, 197) : QPoint(150, 100);
        QTest::mousePress(label, Qt::MouseButton(button), Qt::NoModifier, where);
        QTest::mouseRelease(label, Qt::MouseButton(button), Qt::NoModifier, where);
    }

    QCOMPARE(spy.count(), presses);
    QCOMPARE(parent.presses, 0);
}

QTEST_MAIN(TestTransitionLabel)
#include "tst_transitionlabel.moc"
