#include "clickableimage.h"
#include "imagelabel.h"
#include "picturefixtures.h"

class TestClickableImage : public QObject
{
    Q_OBJECT
    TestWorkspace workspace{false};

private slots:
    void initTestCase()
    {
        QVERIFY(writePicture("images/off.png", QSize(30, 20), Qt::red));
        QVERIFY(writePicture("images/on.png", QSize(48, 36), Qt::blue));
    }

    void sizeAndPictureFollowActiveState()
    {
        QWidget parent;
        // The size comes from the file before anything is decoded; the pictures
        // are decoded when the button is first painted.
        ClickableImage image("images/off.png", "images/on.png", &parent);
        ClickableImage later("images/off.png", "images/on.png", &parent);
        QCOMPARE(image.size(), QSize(48, 36));
        QVERIFY(image.QLabel::pixmap(Qt::ReturnByValue).isNull());
        QCOMPARE(paintedColor(&image), QColor(Qt::blue));
        // Deactivating shows the inactive picture and leaves the stacking alone;
        // activating raises the button above its siblings.
        image.setActive(false);
        QCOMPARE(paintedColor(&image), QColor(Qt::red));
        QCOMPARE(image.size(), QSize(48, 36)); // still that of the active picture
        QCOMPARE(parent.children().last(), &later);
        image.setActive(true);
        QCOMPARE(paintedColor(&image), QColor(Qt::blue));
        QCOMPARE(parent.children().last(), &image);
        later.setActive(false);
        QCOMPARE(parent.children().last(), &image);
    }

    void press_data()
    {
        QTest::addColumn<bool>("active");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("clicks");
        QTest::newRow("left") << true << true << int(Qt::LeftButton) << 1;
        QTest::newRow("right") << true << true << int(Qt::RightButton) << 1;
        QTest::newRow("inactive") << false << true << int(Qt::LeftButton) << 0;
        QTest::newRow("hidden") << true << false << int(Qt::LeftButton) << 0;
    }

    void press()
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
        QTest::mouseClick(&image, Qt::MouseButton(button), Qt::NoModifier, QPoint(5, 5));
        QCOMPARE(spy.count(), clicks);
        QCOMPARE(parent.presses, 0); // ignored or not, the press never reaches the parent
        // A still picture leaves every press to its parent.
        ImageLabel picture("images/on.png", &parent);
        picture.show();
        QTest::mouseClick(&picture, Qt::MouseButton(button), Qt::NoModifier, QPoint(5, 5));
        QCOMPARE(parent.presses, 1);
    }

    void unusableFileGivesEmptyButton_data()
    {
        QTest::addColumn<QByteArray>("content"); // empty: no file at all
        QImage noise(48, 36, QImage::Format_RGB32);
        for (int i = 0; i < 48 * 36; ++i)
            noise.setPixel(i % 48, i / 48, qRgb(i * 37 % 256, i * 91 % 256, i * 13 % 256));
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        noise.save(&png, "PNG");
        QTest::newRow("missing file") << QByteArray();
        QTest::newRow("not a picture") << QByteArray("not a picture\n");
        // The header still declares the size; half of the pixel data is cut off.
        QTest::newRow("truncated pixel data") << png.data().left(png.data().size() / 2);
    }

    void unusableFileGivesEmptyButton()
    {
        QFETCH(QByteArray, content);
        QFile file("images/unusable.png");
        file.remove();
        if (!content.isEmpty())
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();
        if (content.startsWith("\x89PNG"))
            QCOMPARE(ImageLabel::declaredSize(file.fileName()), QSize(48, 36));

        PressCounter parent;
        ClickableImage image(file.fileName(), file.fileName(), &parent);
        ImageLabel picture(file.fileName(), &parent); // a still picture of it is as empty
        parent.resize(100, 100);
        parent.show();
        QVERIFY(QTest::qWaitForWindowExposed(&parent));
        QSignalSpy spy(&image, &ClickableImage::clicked);
        QCOMPARE(image.size(), QSize(0, 0));
        QCOMPARE(picture.size(), QSize(0, 0));
        QTest::mouseClick(&parent, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
        QCOMPARE(spy.count(), 0);
    }
};

QTEST_MAIN(TestClickableImage)
#include "tst_clickableimage.moc"
