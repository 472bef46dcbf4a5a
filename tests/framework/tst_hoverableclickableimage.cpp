#include "hoverableclickableimage.h"
#include "picturefixtures.h"
#include "testworkspace.h"

#include <QSignalSpy>
#include <QtTest>

using namespace PictureFixtures;

class TestHoverableClickableImage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void hoverMode_data();
    void hoverMode();
    void outOfHoverMode_data();
    void outOfHoverMode();

private:
    // Runs a space-separated list of "enter", "leave" and "press" on the widget.
    static void act(QWidget *widget, const QString &actions);
    TestWorkspace workspace{false};
};

void TestHoverableClickableImage::initTestCase()
{
    QVERIFY(writePicture("images/off.png", QSize(40, 30), Qt::gray));
    QVERIFY(writePicture("images/on.png", QSize(40, 30), Qt::green));
}

void TestHoverableClickableImage::act(QWidget *widget, const QString &actions)
{
    for (const QString &action : actions.split(' ', Qt::SkipEmptyParts)) {
        if (action == "enter") {
            QEvent enter(QEvent::Enter);
            QApplication::sendEvent(widget, &enter);
        } else if (action == "leave") {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(widget, &leave);
        } else if (action == "press") {
            QTest::mouseClick(widget, Qt::LeftButton);
        } else {
            QFAIL(qPrintable("unknown action " + action));
        }
    }
}


void TestHoverableClickableImage::hoverMode_data()
{
    QTest::addColumn<QString>("actions");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<bool>("activeAfter");

    QTest::newRow("press without enter (touch screen)") << "press" << 0 << false;
    QTest::newRow("enter then press") << "enter press" << 1 << true;
    QTest::newRow("two presses while hovered") << "enter press press" << 2 << true;
    QTest::newRow("enter, leave, press") << "enter leave press" << 0 << false;
    QTest::newRow("press, enter, press, leave") << "press enter press leave" << 1 << false;
}

void TestHoverableClickableImage::hoverMode()
{
    QFETCH(QString, actions);
    QFETCH(int, clicks);
    QFETCH(bool, activeAfter);

    PressCounter parent;
    HoverableClickableImage image("images/off.png", "images/on.png", &parent);
    QWidget later(&parent);
    parent.show();
    QVERIFY(image.isHoverMode());
    QSignalSpy spy(&image, &ClickableImage::clicked);

    act(&image, actions);

    QCOMPARE(spy.count(), clicks);
    QCOMPARE(image.isActive(), activeAfter);
    // Entering raises it above siblings created after it; leaving keeps that.
    QCOMPARE(parent.children().last() == &image, actions.contains("enter"));
    QCOMPARE(shownColor(&image), activeAfter ? QColor(Qt::green) : QColor(Qt::gray));
    QCOMPARE(parent.presses, 0);
    QCOMPARE(image.frameShape(), QFrame::NoFrame);
}


void TestHoverableClickableImage::outOfHoverMode_data()
{
    QTest::addColumn<QString>("actions");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<int>("frame");

    QTest::newRow("at rest") << "" << 0 << int(QFrame::NoFrame);
    QTest::newRow("press without enter") << "press" << 1 << int(QFrame::NoFrame);
    QTest::newRow("hovered") << "enter" << 0 << int(QFrame::StyledPanel);
    QTest::newRow("hovered and pressed") << "enter press" << 1 << int(QFrame::StyledPanel);
    QTest::newRow("left again") << "enter leave press" << 1 << int(QFrame::NoFrame);
}

void TestHoverableClickableImage::outOfHoverMode()
{
    QFETCH(QString, actions);
    QFETCH(int, clicks);
    QFETCH(int, frame);

    QWidget parent;
    HoverableClickableImage image("images/off.png", "images/on.png", &parent);
    parent.show();
    image.setHoverMode(false);
    QSignalSpy spy(&image, &ClickableImage::clicked);

    act(&image, actions);

    QCOMPARE(spy.count(), clicks);
    QCOMPARE(int(image.frameShape()), frame);
    // Permanently active: the pointer only draws the frame.
    QVERIFY(image.isActive());
    QCOMPARE(shownColor(&image), QColor(Qt::green));
}


QTEST_MAIN(TestHoverableClickableImage)
#include "tst_hoverableclickableimage.moc"
