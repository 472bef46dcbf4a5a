#include "adminwindow.h"
#include "formsubject.h"
#include "formsubjectingroup.h"
#include "formsync.h"
#include "formwelcome.h"

#include <QApplication>
#include <QPixmap>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>

class TestAdminWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<AdminWindow> window;

    // Clicks the menu button that carries this text.
    void press(const QString &text)
    {
        for (QPushButton *button : window->findChildren<QPushButton *>()) {
            if (button->text() == text && button->parentWidget() == window.get())
                return QTest::mouseClick(button, Qt::LeftButton);
        }
        QFAIL(qPrintable("no menu button " + text));
    }

    // The pages on show, by class name.
    QStringList shownPages() const
    {
        QStringList shown;
        for (QWidget *page : QList<QWidget *>{window->findChild<FormWelcome *>(), window->findChild<FormSubject *>(),
                                              window->findChild<FormSubjectInGroup *>(),
                                              window->findChild<FormSync *>()})
            if (page && page->isVisible())
                shown << page->metaObject()->className();
        return shown;
    }

private slots:
    void init()
    {
        window = std::make_unique<AdminWindow>();
        window->resize(800, 580);
    }

    void noPageIsShownBeforeGoingHome()
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTest::qWait(1); // a page wrongly left to the layout would be shown from the event queue
        QCOMPARE(shownPages(), QStringList());
    }

    void menuShowsOnePage_data()
    {
        QTest::addColumn<QStringList>("presses");
        QTest::addColumn<QString>("page");

        // "-" stands for an evaluation: the window is hidden, then sent home.
        QTest::newRow("home") << QStringList() << "FormWelcome";
        QTest::newRow("upload") << QStringList{"Enviar al servidor"} << "FormSync";
        QTest::newRow("group, then home") << QStringList{"Evaluación grupal", "Inicio"} << "FormWelcome";
        QTest::newRow("individual, then group") << QStringList{"Evaluación individual", "Evaluación grupal"}
                                                << "FormSubjectInGroup";
        QTest::newRow("upload, then individual") << QStringList{"Enviar al servidor", "Evaluación individual"}
                                                 << "FormSubject";
        QTest::newRow("individual, evaluation") << QStringList{"Evaluación individual", "-"} << "FormWelcome";
        QTest::newRow("evaluation, group") << QStringList{"-", "Evaluación grupal"} << "FormSubjectInGroup";
    }

    void menuShowsOnePage()
    {
        QFETCH(QStringList, presses);
        QFETCH(QString, page);
        window->resetToHome();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        for (const QString &text : presses) {
            if (text != "-") {
                press(text);
                continue;
            }
            window->hide();
            window->resetToHome();
        }
        QTest::qWait(1);
        QVERIFY(window->isVisible());
        QCOMPARE(shownPages(), QStringList{page});
    }

    void formRequestIsRelayed()
    {
        QSignalSpy requests(window.get(), &AdminWindow::requestStartGame);
        window->buildPages();
        emit window->findChild<FormSubject *>()->requestGameStart("Ana", "Pérez", 3, "", true, false);
        emit window->findChild<FormSubjectInGroup *>()->requestGameStart("Eva", "Soto", 5, "2B-2024", false, true);
        QCOMPARE(static_cast<const QList<QList<QVariant>> &>(requests),
                 (QList<QList<QVariant>>{{"Ana", "Pérez", 3, "", true, false},
                                         {"Eva", "Soto", 5, "2B-2024", false, true}}));
    }

    void logosAreCompiledIn()
    {
        for (const char *name : {"olm", "vomnel", "rumbolo"}) {
            const QPixmap logo(QString(":/images/logo-%1.png").arg(name));
            QVERIFY2(!logo.isNull() && logo.hasAlphaChannel(), name);
            QVERIFY2(logo.height() <= 50, name); // the logo row is 50 pixels high
        }
    }

    void exitEndsTheEventLoopWithStatusZero()
    {
        window->resetToHome();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTimer::singleShot(0, this, [this] { press("Salir"); });
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(99); }); // never reached when Salir works
        QCOMPARE(QApplication::exec(), 0);
    }
};

QTEST_MAIN(TestAdminWindow)
#include "tst_adminwindow.moc"
