#include "adminwindow.h"
#include "formdriver.h"
#include "formsubject.h"
#include "formsubjectingroup.h"
#include "formsync.h"
#include "formwelcome.h"
#include "messageboxcatcher.h"

#include <QApplication>
#include <QPixmap>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

class TestAdminWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void noPageIsShownBeforeGoingHome();
    void menuShowsOnePage_data();
    void menuShowsOnePage();
    void formRequestIsRelayed_data();
    void formRequestIsRelayed();
    void logosAreCompiledIn_data();
    void logosAreCompiledIn();
    void exitEndsTheEventLoopWithStatusZero();

private:
    void press(const QString &text);
    QList<QWidget *> visiblePages() const;

    AdminWindow *window = nullptr;
};

void TestAdminWindow::init()
{
    window = new AdminWindow();
    window->resize(800, 580);
}

void TestAdminWindow::cleanup()
{
    delete window;
    window = nullptr;
}

// Clicks the menu button that carries this text.
void TestAdminWindow::press(const QString &text)
{
    QPushButton *found = nullptr;
    const auto buttons = window->findChildren<QPushButton *>();
    for (QPushButton *button : buttons) {
        if (button->text() == text && button->parentWidget() == window)
            found = button;
    }
    QVERIFY2(found, qPrintable("no menu button " + text));
    QTest::mouseClick(found, Qt::LeftButton);
}

QList<QWidget *> TestAdminWindow::visiblePages() const
{
    QList<QWidget *> pages{window->findChild<FormWelcome *>(), window->findChild<FormSubject *>(),
                           window->findChild<FormSubjectInGroup *>(), window->findChild<FormSync *>()};
    QList<QWidget *> visible;
    for (QWidget *page : pages) {
        if (page && page->isVisible())
            visible << page;
    }
    return visible;
}

void TestAdminWindow::noPageIsShownBeforeGoingHome()
{
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QTest::qWait(1); // a page wrongly left to the layout would be shown from the event queue
    QCOMPARE(visiblePages().size(), 0);
}

void TestAdminWindow::menuShowsOnePage_data()
{
    QTest::addColumn<QStringList>("presses");
    QTest::addColumn<QString>("page");

    // "-" stands for an evaluation: the window is hidden, then sent home.
    QTest::newRow("home") << QStringList() << "FormWelcome";
    QTest::newRow("individual") << QStringList{"Evaluación individual"} << "FormSubject";
    QTest::newRow("group") << QStringList{"Evaluación grupal"} << "FormSubjectInGroup";
    QTest::newRow("upload") << QStringList{"Enviar al servidor"} << "FormSync";
    QTest::newRow("group, then home") << QStringList{"Evaluación grupal", "Inicio"} << "FormWelcome";
    QTest::newRow("individual, then group") << QStringList{"Evaluación individual", "Evaluación grupal"}
                                            << "FormSubjectInGroup";
    QTest::newRow("upload, then individual") << QStringList{"Enviar al servidor", "Evaluación individual"}
                                             << "FormSubject";
    QTest::newRow("individual, evaluation") << QStringList{"Evaluación individual", "-"} << "FormWelcome";
    QTest::newRow("evaluation, group") << QStringList{"-", "Evaluación grupal"} << "FormSubjectInGroup";
}

void TestAdminWindow::menuShowsOnePage()
{
    QFETCH(QStringList, presses);
    QFETCH(QString, page);

    window->resetToHome();
    QVERIFY(window->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(window));
    for (const QString &text : presses) {
        if (text == "-") {
            window->hide();
            window->resetToHome();
        } else {
            press(text);
        }
    }
    QTest::qWait(1);

    QVERIFY(window->isVisible());
    const QList<QWidget *> visible = visiblePages();
    QCOMPARE(visible.size(), 1);
    QCOMPARE(visible.first()->metaObject()->className(), qPrintable(page));
}

void TestAdminWindow::formRequestIsRelayed_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("group");

    QTest::newRow("individual") << "Evaluación individual" << "";
    QTest::newRow("group") << "Evaluación grupal" << "2B-2024";
}

void TestAdminWindow::formRequestIsRelayed()
{
    QFETCH(QString, menu);
    QFETCH(QString, group);

    window->resetToHome();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    press(menu);
    QWidget *form = visiblePages().value(0);
    QVERIFY(form);

    QSignalSpy requests(window, &AdminWindow::requestStartGame);
    MessageBoxCatcher catcher;
    FormDriver driver(form);
    if (!group.isEmpty())
        driver.type("lineEditGroup", group);
    driver.type("lineEditName", " Ana ");
    driver.type("lineEditLastName", "Pérez");
    driver.chooseLevel(3);
    driver.choosePeriod(true);
    driver.start();

    QCOMPARE(catcher.messages(), QStringList());
    QCOMPARE(requests.count(), 1);
    const QList<QVariant> sent = requests.takeFirst();
    QCOMPARE(sent.at(0).toString(), QString("Ana"));
    QCOMPARE(sent.at(1).toString(), QString::fromUtf8("Pérez"));
    QCOMPARE(sent.at(2).toInt(), 3);
    QCOMPARE(sent.at(3).toString(), group);
    QCOMPARE(sent.at(4).toBool(), false);
    QCOMPARE(sent.at(5).toBool(), true);
}

void TestAdminWindow::logosAreCompiledIn_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("olm") << ":/images/logo-olm.png";
    QTest::newRow("vomnel") << ":/images/logo-vomnel.png";
    QTest::newRow("rumbolo") << ":/images/logo-rumbolo.png";
}

void TestAdminWindow::logosAreCompiledIn()
{
    QFETCH(QString, path);
    const QPixmap logo(path);
    QVERIFY(!logo.isNull());
    QVERIFY(logo.hasAlphaChannel());
    QVERIFY(logo.height() <= 50); // the logo row is 50 pixels high
}

void TestAdminWindow::exitEndsTheEventLoopWithStatusZero()
{
    window->resetToHome();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QTimer::singleShot(0, this, [this] { press("Salir"); });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(99); }); // never reached when Salir works
    QCOMPARE(QApplication::exec(), 0);
}

QTEST_MAIN(TestAdminWindow)
#include "tst_adminwindow.moc"
