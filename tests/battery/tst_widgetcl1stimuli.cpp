#include "clickableimage.h"
#include "testworkspace.h"
#include "widgetcl1stimuli.h"

#include <QtTest>

// The three option pictures of a sentence reading item: which touch counts as
// correct, and that the whole of every picture is shown.
class TestWidgetCL1Stimuli : public QObject
{
    Q_OBJECT

private slots:
    void touchReportsItemAndCorrectness_data();
    void touchReportsItemAndCorrectness();
    void picturesFitSideBySide();
};

void TestWidgetCL1Stimuli::touchReportsItemAndCorrectness_data()
{
    QTest::addColumn<QString>("correct");
    QTest::addColumn<int>("touched");
    QTest::addColumn<bool>("isCorrect");
    QTest::newRow("left, correct a") << "a" << 0 << true;
    QTest::newRow("centre, correct a") << "a" << 1 << false;
    QTest::newRow("centre, correct b") << "b" << 1 << true;
    QTest::newRow("right, correct c") << "c" << 2 << true;
    QTest::newRow("right, correct b") << "b" << 2 << false;
    QTest::newRow("left, upper-case A") << "A" << 0 << false;
}

void TestWidgetCL1Stimuli::touchReportsItemAndCorrectness()
{
    QFETCH(QString, correct);
    QFETCH(int, touched);
    QFETCH(bool, isCorrect);
    TestWorkspace space;
    if (!space.hasKit())
        QSKIP("the stimulus kit has not been generated");
    WidgetCL1Stimuli options(4, correct);
    options.show();
    QSignalSpy spy(&options, &WidgetCL1Stimuli::selectedStimulus);
    ClickableImage *pictures[] = {options.getLeftImage(), options.getCenterImage(), options.getRightImage()};
    QTest::mouseClick(pictures[touched], Qt::LeftButton, Qt::NoModifier, pictures[touched]->rect().center());
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), 4);
    QCOMPARE(spy.at(0).at(1).toBool(), isCorrect);
}

void TestWidgetCL1Stimuli::picturesFitSideBySide()
{
    TestWorkspace space;
    if (!space.hasKit())
        QSKIP("the stimulus kit has not been generated");
    for (int item = 1; item <= 6; ++item) {
        QWidget holder;
        holder.resize(1600, 900);
        WidgetCL1Stimuli options(item, "a", &holder);
        holder.show();
        QVERIFY(QTest::qWaitForWindowExposed(&holder));
        const QRect left = options.getLeftImage()->geometry();
        const QRect centre = options.getCenterImage()->geometry();
        const QRect right = options.getRightImage()->geometry();
        QVERIFY(!left.isEmpty() && !centre.isEmpty() && !right.isEmpty());
        QVERIFY2(options.rect().contains(left) && options.rect().contains(centre) && options.rect().contains(right),
                 qPrintable(QString("item %1: pictures cut off by the %2x%3 row")
                                .arg(item)
                                .arg(options.width())
                                .arg(options.height())));
        QVERIFY(left.right() < centre.left() && centre.right() < right.left());
    }
}

QTEST_MAIN(TestWidgetCL1Stimuli)
#include "tst_widgetcl1stimuli.moc"
