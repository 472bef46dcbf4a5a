#include "adminwindow.h"
#include "appfixture.h"
#include "audiofixture.h"
#include "formdriver.h"
#include "inputlevelmeter.h"
#include "mainwindow.h"
#include "sounddevicestatus.h"

#include <QDir>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>
#include <memory>

// The sound devices' line on both subject forms, and the start button, against
// the test command's audio server: absent (the <program>_noserver pass), with
// its microphone muted, delivering low noise, or a tone; and against a server
// with a microphone and no speaker (the <program>_nospeaker pass). Each individual-form
// state is also drawn into artefacts/sound-status/ for the documentation.
class TestSoundDeviceStatus : public QObject
{
    Q_OBJECT

private slots:
    void statusAndStart_data()
    {
        QTest::addColumn<QString>("microphone"); // "" (no audio server), "nospeaker", "muted", or a sound fed in
        QTest::addColumn<bool>("group");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("refusal"); // the start button's message; empty: the evaluation starts
        const QString noMicrophone = "No se encontró ningún micrófono.";
        const QString noMicrophoneAtStart = noMicrophone + " Conéctelo antes de comenzar la evaluación.";
        QTest::newRow("no-microphone") << "" << false << "Ana" << noMicrophone << noMicrophoneAtStart;
        QTest::newRow("group form, no microphone") << "" << true << "Ana" << noMicrophone << noMicrophoneAtStart;
        QTest::newRow("no microphone, the name first") << "" << false << "" << noMicrophone
                                                       << "Debe escribir el nombre del sujeto.";
        QTest::newRow("no-speaker") << "nospeaker" << false << "Ana" << "No se encontró ningún altavoz."
                                    << "No se encontró ningún altavoz. Conéctelo antes de comenzar la evaluación.";
        QTest::newRow("microphone-silent") << "muted" << false << "Ana"
                                           << "El micrófono no capta sonido. Revise que no esté silenciado." << "";
        QTest::newRow("group form, low noise") << "whitenoise" << true << "Ana" << "" << "";
        QTest::newRow("microphone-ready") << "sine" << false << "Ana" << "Micrófono listo." << "";
        QTest::newRow("group form, a tone") << "sine" << true << "Ana" << "Micrófono listo." << "";
    }

    void statusAndStart()
    {
        QFETCH(QString, microphone);
        QFETCH(bool, group);
        QFETCH(QString, name);
        QFETCH(QString, status);
        QFETCH(QString, refusal);
        if (microphone.isEmpty())
            AUDIO_SERVER_ABSENCE_REQUIRED();
        else if (microphone == "nospeaker")
            AUDIO_SPEAKER_ABSENCE_REQUIRED();
        else
            AUDIO_SERVER_REQUIRED();
        AppFixture app;
        AudioFixture::MicrophoneState state;
        QVERIFY(state.set(microphone, app.workspace().filePath("in.wav"), 8000));

        AdminWindow *admin = app.window()->administrationWindow();
        AppFixture::click(admin->findChild<QPushButton *>(group ? "buttonGroupEvaluation" : "buttonInidividualEvaluation"));
        QWidget *form = admin->findChild<QWidget *>(group ? "FormSubjectInGroup" : "FormSubject");
        auto *line = form->findChild<SoundDeviceStatus *>();
        QVERIFY(line && line->isVisible());
        // Low noise is neither silence nor sound, and a missing speaker stays said
        // whatever the microphone does: both are looked at past the time silence takes.
        QTest::qWait(status.isEmpty() || microphone == "nospeaker" ? InputLevelMeter::SilenceVerdictMs + 500 : 0);
        QTRY_COMPARE_WITH_TIMEOUT(line->statusText(), status, InputLevelMeter::SilenceVerdictMs + 3000);
        QCOMPARE(line->meter()->isListening(), !microphone.isEmpty());
        QCOMPARE(line->findChild<QProgressBar *>()->isVisible(), microphone == "sine" || microphone == "whitenoise");
        if (microphone == "sine")
            QTRY_VERIFY(line->findChild<QProgressBar *>()->value() > 50);
        // The individual form's states, in rows named as their pictures.
        const QString pictures = qEnvironmentVariable("RUMBOLO_BINARY_DIR") + "/artefacts/sound-status";
        if (!QByteArray(QTest::currentDataTag()).contains(' ') && QDir().mkpath(pictures))
            QVERIFY(app.window()->grab().save(pictures + "/form-" + QTest::currentDataTag() + ".png"));

        FormDriver driver(form);
        if (group)
            driver.type("lineEditGroup", "3A");
        driver.type("lineEditName", name);
        driver.type("lineEditLastName", "Pérez");
        driver.start();
        const QList<QStringList> evaluations = app.workspace().rows("evaluation", {"name"});
        if (!refusal.isEmpty()) {
            // Nothing stored, nothing started, and what was typed stays.
            QCOMPARE(app.catcher().messages(), QStringList{refusal});
            QCOMPARE(evaluations, QList<QStringList>());
            QVERIFY(form->isVisible());
            QCOMPARE(driver.text("lineEditName") + "|" + driver.text("lineEditLastName"), name + "|Pérez");
            return;
        }
        QCOMPARE(evaluations, QList<QStringList>{{name}});
        QVERIFY(app.window()->currentEvaluationId() >= 1);
        // The evaluation's recordings get the microphone to themselves.
        QVERIFY(!line->meter()->isListening());
        app.window()->abortGame();
        QCOMPARE(app.catcher().messages(), QStringList{"La aplicación ha sido cancelada."});
    }
};

QTEST_MAIN(TestSoundDeviceStatus)
#include "tst_sounddevicestatus.moc"
