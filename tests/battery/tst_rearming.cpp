#include "audiofixture.h"
#include "batterydriver.h"
#include "gamecf2generic.h"
#include "gamecl1a.h"
#include "gamecl2a.h"
#include "gameco1a.h"
#include "gamefp1a.h"
#include "gamefp2a.h"
#include "gamerv1a.h"
#include "gamett1a.h"
#include "hoverableclickableimage.h"
#include "invisibletoucharea.h"
#include "lineinparagraph.h"
#include "paragraph.h"
#include "voicerecorder.h"
#include "widgetcf2stimuli.h"
#include "widgetcl1stimuli.h"
#include "wordinparagraph.h"

#include <QLabel>
#include <QPointer>
#include <algorithm>

// The same test object runs again: a test answered in part and then skipped, or
// left by abandoning the evaluation, starts the next evaluation from its first
// item, and nothing left over from the cut-short run answers or moves it on.
class TestRearming : public QObject
{
    Q_OBJECT

    static bool anyVisible(const QList<QWidget *> &widgets)
    {
        return std::any_of(widgets.begin(), widgets.end(), [](QWidget *w) { return w->isVisible(); });
    }

private slots:
    void secondRunStartsAfresh_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("skip"); // the examiner skips the test, or abandons the evaluation
        QTest::newRow("CL1A skipped") << "CL1A" << true;
        QTest::newRow("CL2A abandoned") << "CL2A" << false;
        QTest::newRow("FP1A skipped in the pause before a word") << "FP1A" << true;
        QTest::newRow("FP2A abandoned while recording") << "FP2A" << false;
        QTest::newRow("CF2A skipped") << "CF2A" << true;
        QTest::newRow("CF3B abandoned") << "CF3B" << false;
        QTest::newRow("RV1A abandoned") << "RV1A" << false;
        QTest::newRow("TT1A skipped") << "TT1A" << true;
        QTest::newRow("CO1A skipped while recording") << "CO1A" << true;
    }

    void secondRunStartsAfresh()
    {
        QFETCH(QString, code);
        QFETCH(bool, skip);
        if (code == "FP2A" || code == "CO1A")
            AUDIO_SERVER_REQUIRED();
        AppFixture app;
        KIT_REQUIRED(app);
        VoiceRecorder *recorder = app.window()->voiceRecorder();
        GameWindow *game = enterTest(app, code, 3); // the transition screen, the example and the test buttons
        QVERIFY(game);
        auto *cl1 = qobject_cast<GameCL1A *>(game);
        auto *cl2 = qobject_cast<GameCL2A *>(game);
        auto *fp1 = qobject_cast<GameFP1A *>(game);
        auto *cf = qobject_cast<GameCF2Generic *>(game);
        auto *rv = qobject_cast<GameRV1A *>(game);
        auto *tt = qobject_cast<GameTT1A *>(game);
        auto *co = qobject_cast<GameCO1A *>(game);
        auto rvWord = [&](int line, int position) {
            return rv->getParagraph()->lines().at(line - 1)->words().at(position - 1);
        };

        // The first run: one answer (for FP1A its first word is still due, for FP2A the reading runs).
        QPointer<QWidget> leftOver = game->getNextButton(); // what was on screen when the run was cut short
        QString firstKey;
        if (cl1) {
            AppFixture::click(cl1->optionWidget(0)->getLeftImage());
            leftOver = cl1->optionWidget(1)->getLeftImage();
        } else if (cl2) {
            AppFixture::click(cl2->answerArea(1));
            leftOver = cl2->answerArea(0);
        } else if (cf) {
            firstKey = cf->getCurrentKey();
            AppFixture::click(cf->currentStimulus()->getTopImage());
            QTest::keyClick(game, Qt::Key_Space); // frames the top picture of the second item
            leftOver = cf->currentStimulus()->getTopImage();
            QVERIFY(cf->currentStimulus()->getTopImage()->frameShape() != QFrame::NoFrame);
        } else if (rv) {
            AppFixture::click(rvWord(1, 3));
            leftOver = rvWord(2, 3);
        } else if (tt) {
            AppFixture::click(tt->choice(1));
            leftOver = tt->choice(2);
        } else if (co) {
            co->soundHasFinished(); // the instructions have ended: question 0, then question 1
            AppFixture::click(game->getNextButton());
            QCOMPARE(co->currentQuestionIndex(), 1);
        }
        QCOMPARE(app.rowsOf(code).size(), fp1 || code == "FP2A" ? 0 : co ? 2 : 1);
        if (skip)
            emit app.window()->abortDialogWindow()->abortOne(); // CO1A, the last test, ends the evaluation
        QVERIFY(app.window()->currentEvaluationId() == 0 || abandon(app));
        app.catcher().clear();

        // The second evaluation: the transition screen, nothing of the old run.
        QCOMPARE(enterTest(app, code, 1), game);
        const int evaluation = app.window()->currentEvaluationId();
        QVERIFY(game->isGameVisible() && !game->isTestRunning() && !game->isFinished());
        QVERIFY(!game->getCheckIcon()->isVisible() && !recorder->isRecording());
        if (leftOver)
            AppFixture::click(leftOver);
        AppFixture::click(game->getNextButton());
        QTest::qWait(fp1 ? 700 : 0); // longer than the pause before a word
        QVERIFY(app.catcher().messages().isEmpty() && !recorder->isRecording());
        QCOMPARE(keyValues(app, code, evaluation), Rows());

        // Its first item, answered.
        Rows expected;
        if (cl1) {
            QCOMPARE(cl1->currentItemIndex(), -1);
            QVERIFY(!anyVisible({cl1->statementImage(0), cl1->statementImage(1), cl1->optionWidget(1)}));
            AppFixture::click(game->getTestButton());
            QVERIFY(cl1->statementImage(0)->isVisible() && !cl1->statementImage(1)->isVisible());
            AppFixture::click(cl1->optionWidget(0)->getLeftImage());
            expected = {{"1", "1"}};
        } else if (cl2) {
            QCOMPARE(cl2->currentItemIndex(), -1);
            QVERIFY(!anyVisible({cl2->questionPage(0), cl2->questionPage(1), cl2->answerArea(0), cl2->answerArea(1)}));
            AppFixture::click(game->getTestButton());
            QVERIFY(cl2->questionPage(0)->isVisible() && !cl2->questionPage(1)->isVisible());
            AppFixture::click(cl2->answerArea(1));
            expected = {{"0", "1"}};
        } else if (fp1) {
            QVERIFY(!fp1->getWordLabel()->isVisible() && !fp1->getSpeechBubble()->isVisible());
            AppFixture::click(game->getExampleButton());
            QCOMPARE(fp1->getWordLabel()->text(), QString("popa"));
        } else if (cf) {
            QVERIFY(cf->getGameHolder()->findChildren<WidgetCF2Stimuli *>().size() > 0);
            for (WidgetCF2Stimuli *item : cf->getGameHolder()->findChildren<WidgetCF2Stimuli *>())
                QVERIFY(!item->isVisible() && item->getTopImage()->frameShape() == QFrame::NoFrame);
            AppFixture::click(game->getExampleButton());
            AppFixture::click(game->getTestButton());
            QCOMPARE(cf->getCurrentKey(), firstKey);
            expected = {{firstKey, cf->currentStimulus()->getTopName() == firstKey ? "1" : "0"}};
            AppFixture::click(cf->currentStimulus()->getTopImage());
        } else if (rv) {
            QVERIFY(!rv->getParagraph()->isVisible() && !rvWord(1, 3)->isUnderlined());
            AppFixture::click(game->getTestButton());
            AppFixture::click(rvWord(1, 3));
            expected = {{"Ana", "1"}};
        } else if (tt) {
            QVERIFY(tt->getCurrentType().isEmpty() && !tt->choice(1)->isVisible());
            AppFixture::click(game->getTestButton());
            QCOMPARE(tt->getCurrentType(), QString("carta"));
            AppFixture::click(tt->choice(1));
            expected = {{"carta", "1"}};
        } else if (co) {
            QVERIFY(!co->getReadersImage()->isVisible() && !anyVisible({co->question(0), co->question(1)}));
            AppFixture::click(game->getTestButton());
            co->soundHasFinished();
            QVERIFY(co->question(0)->isVisible() && !co->question(1)->isVisible() && recorder->isRecording());
            expected = {{"ANSWER", "0"}, {"FILE", game->getRecordingFileName()}};
            AppFixture::click(game->getNextButton());
        } else { // FP2A
            QVERIFY(!game->getExampleButton()->isVisible() && !qobject_cast<GameFP2A *>(game)->getStory()->isVisible());
        }
        QCOMPARE(keyValues(app, code, evaluation), expected);
    }
};

QTEST_MAIN(TestRearming)
#include "tst_rearming.moc"
