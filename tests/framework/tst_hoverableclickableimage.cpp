#include "hoverableclickableimage.h"
#include "picturefixtures.h"

class TestHoverableClickableImage : public QObject
{
    Q_OBJECT
    TestWorkspace workspace{false};

private slots:
    void initTestCase()
    {
        QVERIFY(writePicture("images/off.png", QSize(40, 30), Qt::gray));
        QVERIFY(writePicture("images/on.png", QSize(40, 30), Qt::green));
    }

    void pointer_data()
    {
        QTest::addColumn<bool>("hoverMode");
        QTest::addColumn<QString>("actions");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<bool>("activeAfter");
        QTest::addColumn<bool>("framed");
        // In hover mode only the pointer over it makes it active (no clicks from a touch screen).
        QTest::newRow("hover: press without enter") << true << "press" << 0 << false << false;
        QTest::newRow("hover: enter, press twice") << true << "enter press press" << 2 << true << false;
        QTest::newRow("hover: enter, leave, press") << true << "enter leave press" << 0 << false << false;
        QTest::newRow("hover: press, enter, press, leave") << true << "press enter press leave" << 1 << false << false;
        // Out of hover mode it is always active and the pointer only draws a frame.
        QTest::newRow("plain: press without enter") << false << "press" << 1 << true << false;
        QTest::newRow("plain: hovered") << false << "enter" << 0 << true << true;
        QTest::newRow("plain: hovered and pressed") << false << "enter press" << 1 << true << true;
        QTest::newRow("plain: left again") << false << "enter leave press" << 1 << true << false;
    }

    void pointer()
    {
        QFETCH(bool, hoverMode);
        QFETCH(QString, actions);
        QFETCH(int, clicks);
        QFETCH(bool, activeAfter);
        QFETCH(bool, framed);
        PressCounter parent;
        HoverableClickableImage image("images/off.png", "images/on.png", &parent);
        QWidget later(&parent);
        parent.show();
        image.setHoverMode(hoverMode);
        QSignalSpy spy(&image, &ClickableImage::clicked);

        for (const QString &action : actions.split(' '))
            action == "press" ? QTest::mouseClick(&image, Qt::LeftButton) : hover(&image, action == "enter");

        QCOMPARE(spy.count(), clicks);
        QCOMPARE(image.isActive(), activeAfter);
        QCOMPARE(paintedColor(&image), activeAfter ? QColor(Qt::green) : QColor(Qt::gray));
        QCOMPARE(image.frameShape(), framed ? QFrame::StyledPanel : QFrame::NoFrame);
        // Becoming active raises it above the sibling created after it; leaving keeps that.
        QCOMPARE(parent.children().last() == &image, !hoverMode || actions.contains("enter"));
        QCOMPARE(parent.presses, 0);
    }
};

QTEST_MAIN(TestHoverableClickableImage)
#include "tst_hoverableclickableimage.moc"
