#include "clickableimage.h"
#include "imagelabel.h"
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
    void press_data();
    void press();
    void setActiveRaisesOnlyWhenActivating();
    void unusableFileGivesEmptyButton_data();
    void unusableFileGivesEmptyButton();

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
    // The size comes from the file before anything is decoded; the pictures
    // are decoded when the button is first painted.
    ClickableImage image("images/off.png", "images/on.png", &parent);
    QVERIFY(image.isActive());
    QCOMPARE(image.size(), QSize(48, 36));
    QVERIFY(image.QLabel::pixmap(Qt::ReturnByValue).isNull());
    QCOMPARE(paintedColor(&image), QColor(Qt::blue));

    image.setActive(false);
    QCOMPARE(paintedColor(&image), QColor(Qt::red));
    // The size stays that of the active picture.
    QCOMPARE(image.size(), QSize(48, 36));

    image.setActive(true);
    QCOMPARE(paintedColor(&image), QColor(Qt::blue));
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

void TestClickableImage::unusableFileGivesEmptyButton_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("truncated");

    QTest::newRow("missing file") << "images/none.png" << false;
    QTest::newRow("not a picture") << "images/text.png" << false;
    // The header still declares the size, half of the pixel data is cut off.
    QTest::newRow("truncated pixel data") << "images/cut.png" << true;
}

void TestClickableImage::unusableFileGivesEmptyButton()
{
    QFETCH(QString, path);
    QFETCH(bool, truncated);

    QFile::remove(path);
    if (path.endsWith("text.png")) {
        QFile text(path);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("not a picture\n");
    } else if (truncated) {
        QImage noise(48, 36, QImage::Format_RGB32);
        for (int y = 0; y < noise.height(); ++y)
            for (int x = 0; x < noise.width(); ++x)
                noise.setPixel(x, y, qRgb(x * 37 % 256, y * 91 % 256, (x * y) % 256));
        QVERIFY(noise.save(path, "PNG"));
        QVERIFY(QFile::resize(path, QFileInfo(path).size() / 2));
        QCOMPARE(ImageLabel::declaredSize(path), QSize(48, 36));
    }

    PressCounter parent;
    ClickableImage image(path, path, &parent);
    parent.resize(100, 100);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    QSignalSpy spy(&image, &ClickableImage::clicked);

    QCOMPARE(image.size(), QSize(0, 0));
    QTest::mouseClick(&parent, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
    QCOMPARE(spy.count(), 0);
}

QTEST_MAIN(TestClickableImage)
#include "tst_clickableimage.moc"
