#include "invisibletoucharea.h"
#include "picturefixtures.h"

#include <QSignalSpy>
#include <QtTest>

using namespace PictureFixtures;

class TestInvisibleTouchArea : public QObject
{
    Q_OBJECT

private slots:
    void press_data();
    void press();
    void hoverVeil_data();
    void hoverVeil();
};


void TestInvisibleTouchArea::press_data()
{
    QTest::addColumn<QList<bool>>("switches"); // setTouchEnabled calls before the press
    QTest::addColumn<bool>("visible");
    QTest::addColumn<int>("clicks");

    QTest::newRow("new") << QList<bool>{} << true << 1;
    QTest::newRow("disabled") << QList<bool>{false} << false << 0;
    QTest::newRow("disabled, then enabled") << QList<bool>{false, true} << true << 1;
    QTest::newRow("enabled twice") << QList<bool>{true, true} << true << 1;
}

void TestInvisibleTouchArea::press()
{
    QFETCH(QList<bool>, switches);
    QFETCH(bool, visible);
    QFETCH(int, clicks);

    PressCounter parent;
    InvisibleTouchArea area(50, 60, "perro", &parent);
    parent.show();
    for (bool enabled : switches)
        area.setTouchEnabled(enabled);
    QSignalSpy spy(&area, &InvisibleTouchArea::clicked);

    QCOMPARE(area.size(), QSize(50, 60));
    QCOMPARE(area.isVisible(), visible);
    QCOMPARE(area.isTouchEnabled(), visible);
    QTest::mouseClick(&area, Qt::RightButton);

    QCOMPARE(spy.count(), clicks);
    for (const QList<QVariant> &arguments : spy)
        QCOMPARE(arguments.at(0).toString(), QString("perro"));
    QCOMPARE(parent.presses, 0);
}

void TestInvisibleTouchArea::hoverVeil_data()
{
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("entered");
    QTest::addColumn<QString>("left");

    QTest::newRow("enabled") << true << "background-color:rgba(255,255,255,75);" << "background:none;";
    QTest::newRow("disabled") << false << "background:none;" << "background:none;";
}

void TestInvisibleTouchArea::hoverVeil()
{
    QFETCH(bool, enabled);
    QFETCH(QString, entered);
    QFETCH(QString, left);

    QWidget parent;
    InvisibleTouchArea area(50, 60, "x", &parent);
    area.setTouchEnabled(enabled);

    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(&area, &enter);
    QCOMPARE(area.styleSheet(), entered);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&area, &leave);
    QCOMPARE(area.styleSheet(), left);
}

QTEST_MAIN(TestInvisibleTouchArea)
#include "tst_invisibletoucharea.moc"
