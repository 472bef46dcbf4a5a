#include "invisibletoucharea.h"
#include "picturefixtures.h"

class TestInvisibleTouchArea : public QObject
{
    Q_OBJECT

private slots:
    void touch_data()
    {
        QTest::addColumn<QList<bool>>("switches"); // setTouchEnabled calls, in order
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QString>("entered");     // the style while the pointer is over it
        const QString veiled = "background-color:rgba(255,255,255,75);";
        QTest::newRow("new") << QList<bool>{} << 1 << veiled;
        QTest::newRow("disabled") << QList<bool>{false} << 0 << "background:none;";
        QTest::newRow("disabled, then enabled") << QList<bool>{false, true} << 1 << veiled;
    }

    void touch()
    {
        QFETCH(QList<bool>, switches);
        QFETCH(int, clicks);
        QFETCH(QString, entered);
        PressCounter parent;
        InvisibleTouchArea area(50, 60, "perro", &parent);
        parent.show();
        for (bool enabled : switches)
            area.setTouchEnabled(enabled);
        QSignalSpy spy(&area, &InvisibleTouchArea::clicked);
        QCOMPARE(area.isVisible(), clicks > 0);

        QTest::mouseClick(&area, Qt::RightButton);
        QCOMPARE(spy.count(), clicks);
        if (clicks)
            QCOMPARE(spy.first().first().toString(), QString("perro"));
        QCOMPARE(parent.presses, 0);

        hover(&area);
        QCOMPARE(area.styleSheet(), entered);
        hover(&area, false);
        QCOMPARE(area.styleSheet(), QString("background:none;"));
    }
};

QTEST_MAIN(TestInvisibleTouchArea)
#include "tst_invisibletoucharea.moc"
