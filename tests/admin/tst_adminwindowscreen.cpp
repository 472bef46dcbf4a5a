#include "testenvironment.h"
#include "adminwindow.h"

#include <QDir>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <functional>

namespace {
int countPixels(const QImage &image, const QRect &rect, const std::function<bool(QRgb)> &match)
{
    int count = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        for (int x = rect.left(); x <= rect.right(); ++x)
            count += match(image.pixel(x, y)) ? 1 : 0;
    return count;
}

bool isWhite(QRgb pixel)
{
    return qRed(pixel) > 245 && qGreen(pixel) > 245 && qBlue(pixel) > 245;
}
}

// The administration window as the X server shows it: the colour strip, the
// green menu and the logos must really be on the screen. Each case saves its
// screenshot under artefacts/ in the build directory.
class TestAdminWindowScreen : public QObject
{
    Q_OBJECT

private slots:
    void screenshot_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("file");
        QTest::newRow("home") << "" << "adminwindow.png";
        QTest::newRow("individual form") << "buttonInidividualEvaluation" << "adminwindow-individual.png";
        QTest::newRow("group form") << "buttonGroupEvaluation" << "adminwindow-group.png";
    }

    void screenshot()
    {
        QFETCH(QString, menu);
        QFETCH(QString, file);
        REQUIRE_ENVIRONMENT(QGuiApplication::platformName() == "xcb", "the X display (scripts/test.sh starts Xvfb)");
        const QString artefacts = qEnvironmentVariable("RUMBOLO_BINARY_DIR", QDir::currentPath()) + "/artefacts";
        QVERIFY(QDir().mkpath(artefacts));

        AdminWindow window;
        window.resize(800, 580);
        window.resetToHome();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        if (!menu.isEmpty())
            QTest::mouseClick(window.findChild<QPushButton *>(menu), Qt::LeftButton);
        // The server has finished drawing when two grabs a moment apart agree
        // (a busy machine can take longer than any fixed wait).
        const auto grab = [&] { return window.windowHandle()->screen()->grabWindow(window.winId()).toImage(); };
        QTest::qWait(300);
        QImage shot = grab();
        QImage previous;
        for (int i = 0; i < 50 && (shot != previous || shot.isNull()); ++i) {
            QTest::qWait(150);
            previous = shot;
            shot = grab();
        }
        QCOMPARE(shot.size(), QSize(800, 580));
        QVERIFY(shot.save(artefacts + "/" + file));
        const auto placeOf = [&](const QString &name) {
            const QWidget *widget = window.findChild<QWidget *>(name);
            return widget ? QRect(widget->mapTo(&window, QPoint(0, 0)), widget->size()) : QRect();
        };
        const auto ofColour = [](QRgb colour) { return [=](QRgb p) { return (p & 0xffffff) == (colour & 0xffffff); }; };

        // The strip: eight bands of the dimension colours from the top to the bottom edge.
        const QList<QPair<QString, QRgb>> strip{
            {"dimColorVD", qRgb(154, 196, 75)}, {"dimColorPA", qRgb(0, 150, 79)},  {"dimColorCF", qRgb(20, 96, 159)},
            {"dimColorRV", qRgb(0, 153, 215)},  {"dimColorTT", qRgb(125, 97, 150)}, {"dimColorFP", qRgb(190, 27, 46)},
            {"dimColorCL", qRgb(239, 87, 47)},  {"dimColorCO", qRgb(245, 147, 52)}};
        int bandTop = 0;
        for (const auto &band : strip) {
            const QRect rect = placeOf(band.first);
            QVERIFY2(rect.left() == 0 && rect.top() == bandTop && rect.width() >= 8, qPrintable(band.first));
            const int off = rect.width() * rect.height() - countPixels(shot, rect, ofColour(band.second));
            QVERIFY2(off == 0, qPrintable(QString("%1: %2 pixels of another colour").arg(band.first).arg(off)));
            bandTop = rect.bottom() + 1;
        }
        QCOMPARE(bandTop, 580);

        // The menu: five green buttons with white writing, on the right.
        for (const char *name : {"buttonWelcome", "buttonInidividualEvaluation", "buttonGroupEvaluation", "buttonSync",
                                 "buttonExit"}) {
            const QRect rect = placeOf(name);
            QVERIFY2(rect.left() > 500, name);
            QCOMPARE(QColor(shot.pixel(rect.left() + 2, rect.top() + 2)), QColor(0, 150, 79));
            QCOMPARE(QColor(shot.pixel(rect.right() - 2, rect.bottom() - 2)), QColor(0, 150, 79));
            QVERIFY2(countPixels(shot, rect, isWhite) > 20, name);
        }

        // The logos: drawn at the bottom, each showing its own colours.
        const QList<QPair<QString, QRgb>> logos{
            {"logoOlm", qRgb(20, 96, 159)}, {"logoVomnel", qRgb(125, 97, 150)}, {"logoRUMBOLO", qRgb(154, 196, 75)}};
        for (const auto &logo : logos) {
            const QRect rect = placeOf(logo.first);
            QVERIFY2(rect.height() >= 50 && rect.top() > 450, qPrintable(logo.first));
            const int drawn = countPixels(shot, rect, [](QRgb p) { return !isWhite(p); });
            const int own = countPixels(shot, rect, ofColour(logo.second));
            QVERIFY2(drawn > 300 && own > 50,
                     qPrintable(QString("%1: %2 pixels drawn, %3 of its colour").arg(logo.first).arg(drawn).arg(own)));
        }

        // Something is written in the page area.
        QVERIFY(countPixels(shot, QRect(40, 10, 440, 400), [](QRgb p) { return qGray(p) < 100; }) > 200);
    }
};

QTEST_MAIN(TestAdminWindowScreen)
#include "tst_adminwindowscreen.moc"
