#include "adminwindow.h"

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>

// The administration window as the X server shows it: the colour strip, the
// green menu and the logos must really be on the screen. Each case saves its
// screenshot under artefacts/ in the build directory.
class TestAdminWindowScreen : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void screenshot_data();
    void screenshot();

private:
    QString artefacts;
};

namespace {
QRect rectIn(QWidget *window, QWidget *widget)
{
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

int countPixels(const QImage &image, const QRect &rect, const std::function<bool(QRgb)> &match)
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            if (match(image.pixel(x, y)))
                ++count;
        }
    }
    return count;
}

bool isWhite(QRgb pixel)
{
    return qRed(pixel) > 245 && qGreen(pixel) > 245 && qBlue(pixel) > 245;
}
}

void TestAdminWindowScreen::initTestCase()
{
    if (QGuiApplication::platformName() != "xcb")
        QSKIP("needs the X display");
    const QString build = qEnvironmentVariable("RUMBOLO_BINARY_DIR", QDir::currentPath());
    artefacts = build + "/artefacts";
    QVERIFY(QDir().mkpath(artefacts));
}

void TestAdminWindowScreen::screenshot_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("file");

    QTest::newRow("home") << "" << "adminwindow.png";
    QTest::newRow("individual form") << "buttonInidividualEvaluation" << "adminwindow-individual.png";
    QTest::newRow("group form") << "buttonGroupEvaluation" << "adminwindow-group.png";
}

void TestAdminWindowScreen::screenshot()
{
    QFETCH(QString, menu);
    QFETCH(QString, file);

    AdminWindow window;
    window.resize(800, 580);
    window.resetToHome();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    if (!menu.isEmpty())
        QTest::mouseClick(window.findChild<QPushButton *>(menu), Qt::LeftButton);
    QTest::qWait(300); // let the server finish drawing
    QCOMPARE(window.size(), QSize(800, 580));

    const QImage shot = window.windowHandle()->screen()->grabWindow(window.winId()).toImage();
    QCOMPARE(shot.size(), QSize(800, 580));
    QVERIFY(shot.save(artefacts + "/" + file));

    // The strip: eight bands of the dimension colours from the top to the bottom edge.
    const QList<QPair<QString, QRgb>> strip{
        {"dimColorVD", qRgb(154, 196, 75)}, {"dimColorPA", qRgb(0, 150, 79)},  {"dimColorCF", qRgb(20, 96, 159)},
        {"dimColorRV", qRgb(0, 153, 215)},  {"dimColorTT", qRgb(125, 97, 150)}, {"dimColorFP", qRgb(190, 27, 46)},
        {"dimColorCL", qRgb(239, 87, 47)},  {"dimColorCO", qRgb(245, 147, 52)}};
    int bandTop = 0;
    for (const auto &band : strip) {
        const QRect rect = rectIn(&window, window.findChild<QLabel *>(band.first));
        QCOMPARE(rect.left(), 0);
        QCOMPARE(rect.top(), bandTop);
        QVERIFY2(rect.width() >= 8, qPrintable(band.first));
        const int off = countPixels(shot, rect, [&](QRgb p) { return (p & 0xffffff) != (band.second & 0xffffff); });
        QVERIFY2(off == 0, qPrintable(QString("%1: %2 pixels of another colour").arg(band.first).arg(off)));
        bandTop = rect.bottom() + 1;
    }
    QCOMPARE(bandTop, 580);

    // The menu: five green buttons with white writing, on the right.
    const QStringList buttons{"buttonWelcome", "buttonInidividualEvaluation", "buttonGroupEvaluation", "buttonSync",
                              "buttonExit"};
    for (const QString &name : buttons) {
        const QRect rect = rectIn(&window, window.findChild<QPushButton *>(name));
        QVERIFY2(rect.left() > 500, qPrintable(name));
        QCOMPARE(QColor(shot.pixel(rect.left() + 2, rect.top() + 2)), QColor(0, 150, 79));
        QCOMPARE(QColor(shot.pixel(rect.right() - 2, rect.bottom() - 2)), QColor(0, 150, 79));
        const int writing = countPixels(shot, rect, isWhite);
        QVERIFY2(writing > 20, qPrintable(name));
    }

    // The logos: drawn at the bottom, each showing its own colours.
    const QList<QPair<QString, QRgb>> logos{{"logoOlm", qRgb(20, 96, 159)},
                                            {"logoVomnel", qRgb(125, 97, 150)},
                                            {"logoRUMBOLO", qRgb(154, 196, 75)}};
    for (const auto &logo : logos) {
        const QRect rect = rectIn(&window, window.findChild<QLabel *>(logo.first));
        QVERIFY2(rect.height() >= 50 && rect.top() > 450, qPrintable(logo.first));
        const int drawn = countPixels(shot, rect, [](QRgb p) { return !isWhite(p); });
        QVERIFY2(drawn > 300, qPrintable(QString("%1: %2 pixels drawn").arg(logo.first).arg(drawn)));
        const int own = countPixels(shot, rect, [&](QRgb p) { return (p & 0xffffff) == (logo.second & 0xffffff); });
        QVERIFY2(own > 50, qPrintable(QString("%1: %2 pixels of its colour").arg(logo.first).arg(own)));
    }

    // Something is written in the page area.
    const QRect page(40, 10, 440, 400);
    QVERIFY(countPixels(shot, page, [](QRgb p) { return qGray(p) < 100; }) > 200);
}

QTEST_MAIN(TestAdminWindowScreen)
#include "tst_adminwindowscreen.moc"
