#include "clickableimage.h"
#include "picturefixtures.h"
#include "testworkspace.h"

#include <QSignalSpy>
#include <QtTest>

using namespace PictureFixtures;

class TestClickableImage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void sizeAndPictureFollowActiveState();
    void missingPictureGivesZeroSize();
    void press_data();
    void press();
    void setActiveRaisesOnlyWhenActivating();
    void setFramed();

private:
    TestWorkspace workspace{false};
};

void TestClickableImage::initTestCase()
{
    QVERIFY(writePicture("images/off.png", QSize(30, 20), Qt::red));
    QVERIFY(writePicture("images/on.png", QSize(48, 36), Qt::blue));
}

void TestClickableImage::sizeAndPictureFollowActiveState()
{
    QWidget parent;
    ClickableImage image("images/off.png", "images/on.png", &parent);
    QVERIFY(image.isActive());
    QCOMPARE(image.size(), QSize(48, 36));
    QCOMPARE(shownColor(&image), QColor(Qt::blue));

    image.setActive(false);
    QCOMPARE(shownColor(&image), QColor(Qt::red));
    // The size stays that of the active picture.
    QCOMPARE(image.size(), QSize(48, 36));

    image.setActive(true);
    QCOMPARE(shownColor(&image), QColor(Qt::blue));
}

void TestClickableImage::missingPictureGivesZeroSize()
{
    QWidget parent;
    ClickableImage image("images/none.png", "images/nothing.png", &parent);
    QCOMPARE(image.size(), QSize(0, 0));
}

void TestClickableImage::press_data()
{
    QTest::addColumn<bool>("active");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("clicks");

    QTest::newRow("active, visible, left") << true << true << int(Qt::LeftButton) << 1;
    QTest::newRow("active, visible, right") << true << true << int(Qt::RightButton) << 1;
    QTest::newRow("active, visible, middle") << true << true << int(Qt::MiddleButton) << 1;
    QTest::newRow("inactive, visible") << false << true << int(Qt::LeftButton) << 0;
    QTest::newRow("active, hidden") << true << false << int(Qt::LeftButton) << 0;
    QTest::newRow("inactive, hidden") << false << false << int(Qt::LeftButton) << 0;
}

void TestClickableImage::press()
{
    QFETCH(bool, active);
    QFETCH(bool, visible);
    QFETCH(int, button);
    QFETCH(int, clicks);

    PressCounter parent;
    ClickableImage image("images/off.png", "images/on.png", &parent);
    parent.show();
    image.setActive(active);
    image.setVisible(visible);
    QSignalSpy spy(&image, &ClickableImage::clicked);

    QTest::mousePress(&image, Qt::MouseButton(button), Qt::NoModifier, QPoint(5, 5));
    QTest::mouseRelease(&image, Qt::MouseButton(button), Qt::NoModifier, QPoint(5, 5));

    QCOMPARE(spy.count(), clicks);
    // Ignored or not, the press never reaches the parent.
    QCOMPARE(parent.presses, 0);
}

void TestClickableImage::setActiveRaisesOnlyWhenActivating()
{
    QWidget parent;
    ClickableImage first("images/off.png", "images/on.png", &parent);
    ClickableImage second("images/off.png", "images/on.png", &parent);
    auto topmost = [&] { return parent.children().last(); };
    QCOMPARE(topmost(), &second);

    first.setActive(false);
    QCOMPARE(topmost(), &second);

    first.setActive(true);
    QCOMPARE(topmost(), &first);

    second.setActive(false);
    QCOMPARE(topmost(), &first);
}

void TestClickableImage::setFramed()
{
    QWidget parent;
    ClickableImage image("images/off.png", "images/on.png", &parent);
    image.setFramed(true);
    QCOMPARE(image.frameStyle(), 6);
    image.setFramed(false);
    QCOMPARE(image.frameStyle(), int(QFrame::NoFrame));
}

QTEST_MAIN(TestClickableImage)
#include "tst_clickableimage.moc"
