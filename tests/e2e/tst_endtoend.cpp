#include "examiner.h"
#include "testenvironment.h"
#include "rumboloprocess.h"
#include "sandbox.h"
#include "scoringserviceprocess.h"
#include "testworkspace.h"

#include <QtTest>
#include <QtWidgets>

#include <algorithm>

// The whole program as an examiner uses it, driven only by pointer and key events:
// a full evaluation runs all fifteen tests with a planned mix of right and wrong
// answers and one test skipped through the abort dialog; a second evaluation is
// abandoned; both are sent to the test's own scoring service. Every row is checked
// against the plan, every recording against the time it ran, and the archives
// received against the rows and recordings, which are gone from the machine
// afterwards. A screenshot of every screen goes to <build>/artefacts/e2e/.

namespace {

// Where things are on the 1366 x 768 screen, the program in full screen (the
// test screens) or in its 800 x 580 window (the administration pages, relative
// to the window's top-left corner). A test screen is a location bar (15 pixels
// with the default font), a 2-pixel white line and the play area; a widget that a
// test centres on its own size w x h lies on the screen at ((1366 - w) / 2,
// (768 - h) / 2 + 2), whatever the bar's height, since the centring subtracts it
// again. The toolbar strip (64 pixels high) starts at y = 706 and its 48-pixel
// buttons at y = 714. Sizes come from the kit's pictures (see placedPictures).
namespace Place {
const QPoint screenCentre(683, 384), transitionSamples[] = {{100, 400}, {1260, 300}}; // painted by transitions only
const QRect exampleButton(10, 714, 150, 48), testButton(170, 714, 150, 48);
const QPoint next(704, 737);                 // the next button's centre, at x = 150 + 3 * 150 + 30
const QRect checkMark(1308, 712, 48, 48);    // 10 pixels in from the right and above the strip's bottom
const QRect soundingIcon(1308, 714, 48, 48); // kept inside the screen, at its right end
// The abort dialog (338 x 163) centred on the full-screen window; its three
// 262 x 40 buttons at (38, 17), (38, 61), (38, 105) inside it.
const QRect skipTest(552, 319, 262, 40), skipAll(552, 363, 262, 40), carryOn(552, 407, 262, 40);
// VD1A: the first example (230 x 240) and the first of the six test pictures
// (145 x 226, a row starting 2.5 widths left of the centred one).
const QRect namingExample(338, 266, 230, 240), namingFirstPicture(247, 273, 145, 226);
const QRect letter(533, 236, 300, 300); // PA1A, centred
const QRect drum(833, 256, 300, 260);   // CF1A: one drum width right of the centre
// CF2x: the three pictures of an item (242 x 710 box, two box widths right of
// the centre), top to bottom.
const QPoint options[] = {{1167, 146}, {1167, 386}, {1167, 626}};
// TT1A: the 3 x 2 grid of 270-pixel choices centred on the play area, in the
// order noticia, carta, cuento, poema, receta, afiche; the enlarged noticia.
const QPoint textTypes[] = {{413, 251}, {683, 251}, {953, 251}, {413, 521}, {683, 521}, {953, 521}};
const QRect noticiaChoice(278, 116, 270, 270), noticiaPreview(433, 136, 500, 500);
// FP1A: the martian (200 x 260) and the speech bubble (280 x 125) right of it,
// centred as one block; the bubble's left part stays clear of the word.
const QRect speechBubble(643, 256, 280, 125), besideTheWord(0, 0, 80, 125);
// CL1A: the three options (280 x 220 each, a 840 x 220 row centred) under the
// sentence (1000 x 150), centred across and 20 pixels into the play area.
const QPoint sentenceOptions[] = {{403, 386}, {683, 386}, {963, 386}};
const QRect sentence(183, 37, 1000, 150);
const QRect readingStory(133, 76, 1100, 620); // FP2A, centred
// CL2A: the story and its questions (760 x 620), centred; the answer areas are
// 320 x 35 at (130, 493), (130, 528), (130, 565) from its corner.
const QRect comprehensionStory(303, 76, 760, 620);
const QPoint answerLines[] = {{593, 586}, {593, 621}, {593, 658}};
const QRect readers(403, 186, 560, 400); // CO1A, centred
// Administration window, relative to its corner; the levels 33 pixels apart.
const QPoint menuIndividual(706, 70), menuGroup(706, 117), menuSend(706, 164), menuExit(706, 211), formName(268, 53);
const QPoint formLastName(268, 88), formFirstLevel(205, 122), formPeriod(230, 324), formFullEvaluation(205, 357);
const QPoint formStart(281, 488), syncUser(383, 53), syncPassword(383, 84), syncSend(386, 488);
} // namespace Place

// Pictures of the kit that places above are computed from, with their sizes, where
// no check of what the screen shows would notice a change (the others are such checks).
const QList<QPair<QString, QSize>> placedPictures = {{"barraHerramientas.png", {1920, 64}},
    {"boton_siguiente.png", {150, 48}}, {"omitir/fondo.png", {338, 163}}, {"CF2A/goma230x230.png", {230, 230}},
    {"FP1A/marciano.gif", {200, 260}}, {"CL1A/cl1a01a.png", {280, 220}}};

// The colour of each test's transition screen, by its dimension (the code's first letters).
const QHash<QString, QRgb> dimensionColours = {{"VD", qRgb(154, 196, 75)}, {"PA", qRgb(0, 150, 79)},
    {"CF", qRgb(20, 96, 159)}, {"RV", qRgb(0, 153, 215)}, {"TT", qRgb(125, 97, 150)}, {"FP", qRgb(190, 27, 46)},
    {"CL", qRgb(239, 87, 47)}, {"CO", qRgb(245, 147, 52)}};

// The examiner's account on the test's scoring service; the password needs
// encoding in a URL path.
const QString account = "evaluadora@example.com", password = QString::fromUtf8("lápiz azul#7");

// One answer of the examiner or the child: keys pressed, then a touch (when
// given); the row it must store (none when key is empty: not an answer).
struct Answer { QString keys; QPoint touch; QString key, value; };

// One row the battery is planned to write; for a time, its range in ms; for a
// recording, the range of the WAV's length in ms, and whether a word is heard in it.
struct PlannedRow
{
    enum Kind { Exact, Time, Recording };
    int evaluation;
    QString test, key, value;
    Kind kind;
    qint64 low, high;
    bool withVoice;
};

// The bytes of a complete recording, 8000 Hz mono unsigned 8-bit behind a
// 44-byte header whose sizes were written when it was closed; empty otherwise.
QByteArray completeWav(const QString &path)
{
    QFile f(path);
    const QByteArray b = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    // "WAVEfmt ", a 16-byte format (PCM, mono, 8000 Hz, 8000 bytes/s, 1-byte blocks, 8 bits), "data".
    const QByteArray format = QByteArray::fromHex("57415645666d7420" "10000000" "01000100" "401f0000" "401f0000"
                                                  "01000800" "64617461");
    const bool complete = b.size() >= 44 && b.startsWith("RIFF") && b.mid(8, 32) == format
        && qFromLittleEndian<quint32>(b.data() + 4) == b.size() - 8u
        && qFromLittleEndian<quint32>(b.data() + 40) == b.size() - 44u;
    return complete ? b : QByteArray();
}

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

public:
    TestEndToEnd(bool sandboxed, const QString &sandboxProblem)
        : sandboxed(sandboxed), sandboxProblem(sandboxProblem), examiner(artefactDirectory())
    {
    }

private:
    static QString artefactDirectory() { return qEnvironmentVariable("RUMBOLO_BINARY_DIR") + "/artefacts/e2e"; }

    // --- the examiner's steps; each returns false, with the failure, when the
    // --- program does not answer as planned -------------------------------------

    QPoint inWindow(const QPoint &p) const { return window.topLeft() + p; }
    qint64 now() const { return clock.elapsed(); }
    bool fail(const QString &what)
    {
        failure = current + ": " + what;
        return false;
    }
    // <evaluation>-<place in the battery>-<test>-<screen>.png
    bool shoot(const QString &screen)
    {
        examiner.screenshot(QString("%1-%2-%3-%4").arg(evaluation).arg(position, 2, 10, QChar('0')).arg(current, screen));
        return true;
    }
    bool onTransition(const QString &code) const
    {
        for (const QPoint &p : Place::transitionSamples)
            if (examiner.grab(QRect(p, QSize(1, 1))).pixel(0, 0) != dimensionColours.value(code.left(2)))
                return false;
        return true;
    }

    // The test's title card is up: screenshot, then a click starts the test.
    bool enter(const QString &code)
    {
        current = code;
        ++position;
        if (!Examiner::waitUntil([&] { return onTransition(code); }, 8000))
            return fail("its transition screen did not come");
        shoot("1-transition");
        examiner.click(Place::screenCentre);
        return Examiner::waitUntil([&] { return !onTransition(code); })
            || fail("the click on the transition screen did not start it");
    }

    bool waitShows(const QRect &area, const QString &picture, const QRect &part = QRect())
    {
        return Examiner::waitUntil([&] { return examiner.shows(area, "images/" + picture, part); })
            || fail(QString("%1 is not on the screen at %2,%3").arg(picture).arg(area.x()).arg(area.y()));
    }

    // The example button; the test button lights up when the example has run.
    bool example(const QRect &content = QRect(), const QString &picture = QString())
    {
        if (!waitShows(Place::exampleButton, "boton_ejemplo.png"))
            return false;
        examiner.click(Place::exampleButton.center());
        return waitShows(Place::testButton, "boton_prueba.png")
            && waitShows(Place::exampleButton, "boton_play_desactivado.png")
            && (picture.isEmpty() || waitShows(content, picture)) && shoot("2-example");
    }

    // The test button; it goes dark once the test phase has begun.
    bool test(qint64 *clickedBefore = nullptr, qint64 *clickedAfter = nullptr)
    {
        if (!waitShows(Place::testButton, "boton_prueba.png"))
            return false;
        const qint64 before = now();
        examiner.click(Place::testButton.center());
        if (clickedBefore)
            *clickedBefore = before, *clickedAfter = now();
        return waitShows(Place::testButton, "boton_play_desactivado.png");
    }

    // For a recording made between the two times: the audio server hands the
    // sound over in blocks of a few tens of ms.
    bool expect(const QString &key, const QString &value, PlannedRow::Kind kind = PlannedRow::Exact, qint64 low = 0,
                qint64 high = 0, bool withVoice = false)
    {
        if (kind == PlannedRow::Recording)
            low -= 200, high += 100;
        plan << PlannedRow{evaluation, current, key, value, kind, low, high, withVoice};
        return true;
    }

    // Waits until the program has stored every planned row so far.
    bool settle()
    {
        int stored = 0;
        Examiner::waitUntil([&] { return (stored = workspace->rows("log", {"ROWID"}).size()) >= plan.size(); });
        return stored == plan.size() || fail(QString("%1 rows stored where the plan has %2 so far").arg(stored).arg(plan.size()));
    }

    // The green check, then (after a second) the next test.
    bool finished() { return settle() && waitShows(Place::checkMark, "check_verde.png"); }

    // Answers come while a prompt is still being said (the next prompt cuts it
    // off); with hearLast the last prompt is heard out, so that the check mark at
    // the end is not hidden under the sound indicator.
    bool answer(const QList<Answer> &answers, bool hearLast = false)
    {
        for (const Answer &a : answers) {
            if (hearLast && &a == &answers.last()
                && !Examiner::waitUntil([&] { return !examiner.shows(Place::soundingIcon, "images/icono_sonando.png"); }))
                return fail("the prompt does not end");
            if (!a.keys.isEmpty())
                examiner.key(a.keys);
            if (!a.touch.isNull())
                examiner.click(a.touch);
            if (!a.key.isEmpty() && !(expect(a.key, a.value) && settle()))
                return false;
        }
        return true;
    }

    // The test phase of a test that times the child (and records what it says):
    // the examiner clicks "next" after a while.
    bool timed(const QRect &area, const QString &picture, int ms, bool withVoice)
    {
        qint64 a, b;
        if (!test(&a, &b) || !waitShows(area, picture) || !shoot("3-test"))
            return false;
        if (withVoice) // the child reads into the microphone (the audio server's "micfeed")
            Examiner::run("paplay", {"-d", "micfeed", "sounds/CF1A/companero.wav"});
        Examiner::waitUntil([&] { return now() - b >= ms; }, 3000);
        const qint64 c = now();
        examiner.click(Place::next);
        // The program's stopwatch runs between its handling of the two clicks.
        const qint64 low = c - b - 100, high = now() - a + 200;
        return expect("TIME", "", PlannedRow::Time, low, high)
            && expect("FILE", "", PlannedRow::Recording, low, high, withVoice) && finished();
    }

    // FP1A: each word comes in the bubble after 500 ms without one, recorded
    // until the examiner clicks "next".
    bool wordReading()
    {
        if (!enter("FP1A") || !example() || !test())
            return false;
        for (const QString word : {"cire", "ontil", "fopasa", "istana", "palo", "arbol", "camisa", "espejo"}) {
            if (!waitShows(Place::speechBubble, "FP1A/bocadillo.png", Place::besideTheWord))
                return fail("the bubble with " + word + " did not come");
            const qint64 shownAt = now();
            if (word == "cire")
                shoot("3-test");
            Examiner::pause(700);
            const qint64 c = now();
            examiner.click(Place::next);
            if (!expect("WORD", word) || !expect("FILE", "", PlannedRow::Recording, c - shownAt - 50, now() - shownAt + 100)
                || !settle())
                return false;
            Examiner::pause(300); // the bubble goes before the next word comes
        }
        return finished();
    }

    // Opens the abort dialog with Escape and chooses one of its buttons.
    bool abortDialog(const QRect &button, const QString &hoveredPicture, bool screenshot)
    {
        examiner.key("Escape");
        auto shown = [&] {
            return examiner.shows(Place::skipTest, "images/omitir/omitir_prueba_off.png")
                || examiner.shows(Place::skipTest, "images/omitir/omitir_prueba_on.png");
        };
        if (!Examiner::waitUntil(shown))
            return fail("Escape did not open the abort dialog");
        if (screenshot)
            shoot("abort-dialog");
        if (!examiner.hoverAndClick(button, "images/omitir/" + hoveredPicture))
            return fail("the abort dialog's button did not light up under the pointer");
        return Examiner::waitUntil([&] { return !shown(); }) || fail("the abort dialog did not close");
    }

    void fillIndividualForm(const QString &name, const QString &lastName, int level, bool endOfYear, bool full)
    {
        window = program->windowGeometry();
        examiner.click(inWindow(Place::menuIndividual));
        examiner.click(inWindow(Place::formName));
        examiner.type(name);
        examiner.click(inWindow(Place::formLastName));
        examiner.type(lastName);
        examiner.click(inWindow(Place::formFirstLevel + QPoint(0, 33 * (level - 1))));
        // The period's list opens; "Inicio" is the first entry, "Fin" the second.
        examiner.click(inWindow(Place::formPeriod));
        Examiner::pause(300);
        examiner.key(endOfYear ? "Down Return" : "Up Return");
        Examiner::pause(200);
        if (full)
            examiner.click(inWindow(Place::formFullEvaluation));
        Examiner::pause(200);
        examiner.screenshot(QString("%1-00-form").arg(evaluation));
        examiner.click(inWindow(Place::formStart));
    }

    // VD1A: the examiner clicks "next" after 1.5 s of naming.
    bool namingSpeed(bool withVoice)
    {
        return enter("VD1A") && example(Place::namingExample, "VD1A/example/perro230x240.png")
            && timed(Place::namingFirstPicture, "VD1A/test/pelota145x226.png", 1500, withVoice);
    }

    // PA1A: letters typed for the letters shown; keys during the example, and
    // space in the test, count for nothing.
    bool shownLetters(const QList<Answer> &answers)
    {
        return enter("PA1A") && example(Place::letter, "PA1A/a.png") && examiner.key("a") && test()
            && waitShows(Place::letter, "PA1A/e.png") && shoot("3-test") && examiner.key("space") && answer(answers);
    }

    // The centre of a word of the RV1A story, at 36 points, each word 20 pixels
    // wider than its text, lines 20 pixels apart, the whole paragraph centred.
    QPoint wordOnStory(int line, int index) const
    {
        QFont large = QApplication::font();
        large.setPointSize(36);
        const QFontMetrics metrics(large);
        const QStringList lines = {
            QString::fromUtf8("Hola, soy %1. Ayer me mandaron a").arg(childFirstName),
            QString::fromUtf8("comprar el pan para tomar once con mi papá"),
            QString::fromUtf8("y mi mamá. Fui con mi perro Sultán al almacén"),
            QString::fromUtf8("de la esquina de mi casa. En el pasaje había"),
            QString::fromUtf8("unos niños jugando a la pelota y mi perro"),
            QString::fromUtf8("se fue corriendo detrás de ella. Los niños estaban"),
            QString::fromUtf8("muy enojados porque no se la podían quitar."),
            QString::fromUtf8("Sólo cuando apareció un gato detrás de un"),
            QString::fromUtf8("auto, Sultán se olvidó de la pelota."),
        };
        int width = 0, lineTop = 0;
        QPoint inParagraph;
        for (int l = 0; l < lines.size(); ++l) {
            int x = 0, lineHeight = 0;
            const QStringList words = lines.at(l).split(' ');
            for (int w = 0; w < words.size(); ++w) {
                const QRect r = metrics.boundingRect(words.at(w));
                if (l == line && w == index)
                    inParagraph = QPoint(x + r.width() / 2, lineTop + r.height() / 2);
                x += r.width() + 20;
                lineHeight = qMax(lineHeight, r.height());
            }
            width = qMax(width, x);
            lineTop += lineHeight + 20;
        }
        return QPoint((1366 - width) / 2, (768 - lineTop) / 2 + 2) + inParagraph;
    }

    // --- checks --------------------------------------------------------------

    bool checkRows(const QList<QStringList> &rows)
    {
        QSet<QString> names;
        if (rows.size() != plan.size())
            return fail(QString("%1 rows stored, %2 planned").arg(rows.size()).arg(plan.size()));
        for (int i = 0; i < rows.size(); ++i) {
            const QStringList &row = rows.at(i); // date, evaluationId, test, key, value
            const PlannedRow &p = plan.at(i);
            const QString where = QString("row %1 (%2)").arg(i).arg(row.join(';'));
            const QDateTime date = QDateTime::fromString(row.at(0), "yyyy-MM-dd hh:mm:ss");
            if (!date.isValid() || date < started.addSecs(-1) || date > QDateTime::currentDateTime().addSecs(1))
                return fail(where + ": date not within the run");
            if (row.at(1) != QString::number(p.evaluation) || row.at(2) != p.test || row.at(3) != p.key)
                return fail(where + QString(": planned %1;%2;%3").arg(p.evaluation).arg(p.test, p.key));
            const QString &value = row.at(4);
            bool number = false;
            const qint64 ms = value.toLongLong(&number);
            if ((p.kind == PlannedRow::Exact && value != p.value)
                || (p.kind == PlannedRow::Time && (!number || ms < p.low || ms > p.high)))
                return fail(where + QString(": planned %1 (%2 to %3 ms)").arg(p.value).arg(p.low).arg(p.high));
            if (p.kind == PlannedRow::Recording) {
                if (!QRegularExpression("^\\d{14}$").match(value).hasMatch() || names.contains(value))
                    return fail(where + ": not a new recording name");
                names << value;
                const QByteArray wav = completeWav(workspace->filePath("grabaciones/" + value + ".wav"));
                const qint64 length = (wav.size() - 44) / 8;
                if (wav.isEmpty())
                    return fail(where + ": not a complete 8000 Hz mono 8-bit WAV file");
                if (length < p.low || length > p.high)
                    return fail(where + QString(": the recording lasts %1 ms, not %2 to %3").arg(length).arg(p.low).arg(p.high));
                // Silence is 128; a spoken word swings well away from it.
                const bool voiced = std::any_of(wav.begin() + 44, wav.end(), [](char s) { return qAbs(quint8(s) - 128) > 20; });
                if (p.withVoice && !voiced)
                    return fail(where + ": the word spoken into the microphone is not in the recording");
                recordings.insert(value, wav);
            }
        }
        // Nothing but these recordings was left in the recordings directory.
        const QStringList files = QDir(workspace->filePath("grabaciones")).entryList(QDir::Files);
        return files.size() == names.size()
            || fail(QString("grabaciones holds %1 files for %2 recordings").arg(files.size()).arg(names.size()));
    }

    // The export the service must receive for an evaluation: the row of the
    // evaluation and its log rows, ";"-separated, one line each.
    QByteArray exportOf(int id) const
    {
        QByteArray text = "GENERAL;evaluationId;" + QByteArray::number(id) + "\n";
        const QStringList columns = {"evaluationDate", "name", "lastName", "level", "codeGroup", "fullEvaluation", "endOfYear"};
        for (int c = 0; c < columns.size(); ++c)
            text += ("GENERAL;" + columns.at(c) + ";" + evaluationRows.value(id - 1).value(c + 1)).toUtf8() + "\n";
        for (const QStringList &log : logRows)
            if (log.at(1) == QString::number(id))
                text += (log.at(2) + ";" + log.at(3) + ";" + log.at(4)).toUtf8() + "\n";
        return text;
    }

    bool checkArchive(const QString &archive, int id)
    {
        QString problem;
        Examiner::run("unzip", {"-tqq", archive}, &problem);
        if (!problem.isEmpty())
            return fail(archive + " does not test as a sound zip archive: " + problem);
        const QStringList entries = QString::fromUtf8(Examiner::run("unzip", {"-Z1", archive})).split('\n', Qt::SkipEmptyParts);
        QStringList expected = {QString("evaluation_%1.log").arg(id)};
        for (const QStringList &log : logRows)
            if (log.at(1) == QString::number(id) && log.at(3) == "FILE")
                expected << log.at(4) + ".wav";
        if (entries != expected)
            return fail(QString("evaluation %1: the archive holds %2, expected %3")
                            .arg(id).arg(entries.join(' '), expected.join(' ')));
        const QByteArray exported = Examiner::run("unzip", {"-p", archive, expected.first()});
        if (exported != exportOf(id))
            return fail(QString("evaluation %1: the export differs from the rows:\n%2\n--- expected:\n%3")
                            .arg(id).arg(QString::fromUtf8(exported), QString::fromUtf8(exportOf(id))));
        for (const QString &name : expected.mid(1))
            if (Examiner::run("unzip", {"-p", archive, name}) != recordings.value(name.chopped(4)))
                return fail(QString("evaluation %1: %2 in the archive differs from the recording").arg(id).arg(name));
        return true;
    }

private slots:
    void initTestCase()
    {
        REQUIRE_ENVIRONMENT(!qEnvironmentVariableIsEmpty("DISPLAY") && !qEnvironmentVariableIsEmpty("PULSE_SERVER"),
                            "the X display and the private audio server that scripts/test.sh starts");
        REQUIRE_ENVIRONMENT(sandboxed, ("a network and certificate store of the test's own: " + sandboxProblem).toUtf8());
        for (const char *tool : {"xdotool", "xkbcomp", "xprop", "evilwm", "paplay", "unzip", "openssl"})
            REQUIRE_ENVIRONMENT(!QStandardPaths::findExecutable(tool).isEmpty(), tool);
        const QUrl server(QString(RUMBOLO_SCORING_SERVICE_URL));
        REQUIRE_ENVIRONMENT(server.host() == "localhost" || server.host() == "127.0.0.1",
                            ("a build that sends to the local scoring service; this one sends to " + server.toString()).toUtf8());
        QVERIFY2(QFile::exists(RumboloProcess::program()), qPrintable(RumboloProcess::program()));

        QDir(artefactDirectory()).removeRecursively();
        QVERIFY(QDir().mkpath(artefactDirectory()));
        clock.start();
        started = QDateTime::currentDateTime();

        // The program goes full screen through the window manager, as on the
        // examiner's machine.
        QVERIFY2(!Examiner::windowManagerRunning(), "another window manager already manages the display");
        windowManager.setProcessChannelMode(QProcess::MergedChannels);
        windowManager.start("evilwm", {"--bw", "0"});
        QVERIFY2(windowManager.waitForStarted(5000), "evilwm did not start");
        const auto managing = [] { return Examiner::windowManagerRunning(); };
        const auto exited = [this] { return windowManager.state() != QProcess::Running; };
        Examiner::waitUntil([&] { return managing() || exited(); }, 5000);
        if (!managing()) {
            windowManager.kill();
            windowManager.waitForFinished(5000);
            QFAIL(qPrintable("the window manager (evilwm) is not managing the windows of the display, so the program "
                             "cannot go full screen; its output:\n"
                             + QString::fromLocal8Bit(windowManager.readAll())));
        }

        // The scoring service on the port the program sends to, with the
        // certificate authority that this build trusts; the system's trusted
        // authorities stay as they are.
        QVERIFY(service.addAccount(account, password));
        QVERIFY2(service.start({"--port", QString::number(server.port(443)), "--tls-dir",
                                QFileInfo(RUMBOLO_SCORING_SERVICE_CA).path()}),
                 qPrintable(service.log()));
        QString problem;

        workspace.reset(new TestWorkspace);
        QVERIFY2(workspace->hasKit(), "the stimulus kit is not built (RUMBOLO_KIT_DIR)");
        for (const auto &[path, size] : placedPictures)
            QVERIFY2(QImage("images/" + path).size() == size, qPrintable(path + " does not have the size the places assume"));

        QVERIFY2(examiner.bindSpanishLetters(scratch.path(), &problem), qPrintable(problem));
        program.reset(new RumboloProcess);
        QVERIFY2(program->start(workspace->path()), qPrintable(program->log()));
        window = program->windowGeometry();
        QCOMPARE(window.size(), QSize(800, 580));
        examiner.screenshot("0-welcome");
        // The group form, as it first shows (the individual one is saved filled in).
        examiner.click(inWindow(Place::menuGroup));
        Examiner::pause(300);
        examiner.screenshot("0-group-form");
    }

    void fullEvaluation()
    {
        evaluation = 1;
        childFirstName = QString::fromUtf8("María");
        // PA1A: the key typed for the letter shown, the letter, the value; PA2A: for the letter said.
        const QList<Answer> shown = {{"e", {}, "e", "1"}, {"0", {}, "o", "1"}, {"n", {}, "m", "0"},
            {"shift+b", {}, "b", "1"}, {"p", {}, "p", "1"}, {"s", {}, "s", "1"}, {"d", {}, "t", "0"},
            {"1", {}, "l", "1"}, {"d", {}, "d", "1"}, {"r", {}, "r", "1"}, {"s", {}, "c", "0"}, {"g", {}, "g", "1"}};
        const QList<Answer> said = {{"e", {}, "e", "1"}, {"o", {}, "o", "1"}, {"m", {}, "m", "1"}, {"v", {}, "b", "1"},
            {"b", {}, "p", "0"}, {"s", {}, "s", "1"}, {"t", {}, "t", "1"}, {"l", {}, "l", "1"}, {"t", {}, "d", "0"},
            {"r", {}, "r", "1"}, {"c", {}, "c", "1"}, {"j", {}, "g", "0"}};
        // CF1A: the drum struck for each word, then "next".
        const QString two = "space space", three = "space space space";
        const QList<Answer> strikes = {{two, Place::next, "gato", "1"}, {three, Place::next, "gallina", "1"},
            {two, Place::next, "arbol", "1"}, {two, Place::next, "orquesta", "0"}, {two, Place::next, "campo", "1"},
            {two + " " + two, Place::next, "companero", "1"}, {three, Place::next, "florero", "1"},
            {"", Place::next, "lluvia", "0"}};
        // CF2A, CF2B, CF3A, CF3B: the picture touched (0 top, 1 middle, 2 bottom) and the right one, per item.
        const QList<std::tuple<QString, QStringList, QList<int>, QList<int>>> recognition = {
            {"CF2A", {"goma", "corona", "tetera", "lana", "regla", "gallina"}, {0, 2, 1, 1, 2, 0}, {0, 0, 1, 1, 2, 2}},
            {"CF2B", {"casa", "saco", "galleta", "leche", "calle", "cebolla"}, {0, 0, 1, 2, 0, 1}, {0, 0, 0, 2, 0, 1}},
            {"CF3A", {"uva", "mono", "saco", "taza", "poroto", "cocina"}, {1, 0, 0, 0, 0, 2}, {1, 0, 0, 1, 0, 2}},
            {"CF3B", {"bote", "chupete", "volcan", "tulipan", "papel", "trebol"}, {0, 0, 0, 2, 0, 0}, {0, 0, 0, 2, 1, 0}},
        };
        // RV1A: the word sought, touched on the story (line, word) where it is or, for "mamá", on "papá".
        const QList<Answer> sought = {{"", wordOnStory(0, 2), childFirstName, "1"}, {"", wordOnStory(1, 2), "pan", "1"},
            {"", wordOnStory(1, 8), QString::fromUtf8("mamá"), "0"}, {"", wordOnStory(3, 5), "casa", "1"},
            {"", wordOnStory(2, 6), "perro", "1"}, {"", wordOnStory(4, 5), "pelota", "1"}};
        // TT1A: the type asked, the picture touched (noticia, carta, cuento, poema, receta, afiche).
        const QPoint *types = Place::textTypes;
        const QList<Answer> textTypes = {{"", types[1], "carta", "1"}, {"", types[4], "cuento", "0"},
            {"", types[3], "poema", "1"}, {"", types[4], "receta", "1"}, {"", types[0], "noticia", "1"},
            {"", types[2], "afiche", "0"}};
        // CL1A: the option touched per item (right answers: a, c, b, b, b, a).
        const QPoint *abc = Place::sentenceOptions;
        const QList<Answer> sentences = {{"", abc[0], "1", "1"}, {"", abc[0], "2", "0"}, {"", abc[1], "3", "1"},
            {"", abc[1], "4", "1"}, {"", abc[2], "5", "0"}, {"", abc[0], "6", "1"}};
        // CL2A: the answer line touched per question (right answers: b, c, b, c).
        const QPoint *lines = Place::answerLines;
        const QList<Answer> questions = {{"", lines[1], "0", "1"}, {"", lines[0], "1", "0"}, {"", lines[1], "2", "1"},
            {"", lines[2], "3", "1"}};

        fillIndividualForm(QString::fromUtf8("maría josé"), QString::fromUtf8("Pérez Soto"), 3, true, true);
        QVERIFY(Examiner::waitUntil([&] { return program->windowGeometry().size() == QSize(1366, 768); }));
        QVERIFY2(namingSpeed(true), qPrintable(failure));
        QVERIFY2(shownLetters(shown) && finished(), qPrintable(failure));
        // Keys during an example, touches of the example, and space in the test count for nothing.
        QVERIFY2(enter("PA2A") && example() && examiner.key("a") && test() && shoot("3-test") && examiner.key("space")
                     && answer(said, true) && finished(), qPrintable(failure));
        QVERIFY2(enter("CF1A") && example(Place::drum, "CF1A/tambor.png") && examiner.key("space space") && test()
                     && shoot("3-test") && answer(strikes, true) && finished(), qPrintable(failure));
        for (const auto &[code, items, touched, right] : recognition) {
            QList<Answer> answers;
            for (int i = 0; i < items.size(); ++i)
                answers << Answer{"", Place::options[touched[i]], items[i], touched[i] == right[i] ? "1" : "0"};
            // Space has the top picture named.
            QVERIFY2(enter(code) && example() && examiner.click(Place::options[0]) && test() && shoot("3-test")
                         && examiner.key("space") && answer(answers, true) && finished(), qPrintable(failure));
        }
        QVERIFY2(enter("RV1A") && test() && (Examiner::pause(300), shoot("3-test")) && answer(sought) && finished(),
                 qPrintable(failure));
        // Space enlarges the pictures one after the other, then none.
        QVERIFY2(enter("TT1A") && test() && waitShows(Place::noticiaChoice, "TT1A/noticia_270x270.png") && shoot("3-test")
                     && examiner.key("space") && waitShows(Place::noticiaPreview, "TT1A/noticia_500x500.png")
                     && shoot("3-test-preview") && examiner.key("space space space space space space")
                     && waitShows(Place::noticiaChoice, "TT1A/noticia_270x270.png") && answer(textTypes) && finished(),
                 qPrintable(failure));
        QVERIFY2(wordReading(), qPrintable(failure));
        QVERIFY2(enter("CL1A") && test() && waitShows(Place::sentence, "CL1A/cl1a01enunciado.png") && shoot("3-test")
                     && answer(sentences) && finished(), qPrintable(failure));
        // The child reads the story aloud, timed and recorded.
        QVERIFY2(enter("FP2A") && timed(Place::readingStory, "FP2A/cuento.png", 1800, true), qPrintable(failure));
        QVERIFY2(enter("CL2A") && waitShows(Place::comprehensionStory, "CL2A/cuento.png") && test()
                     && waitShows(Place::comprehensionStory, "CL2A/cl2a_p01.png") && shoot("3-test")
                     && answer(questions) && finished(), qPrintable(failure));
        // CO1A: the instructions run about two minutes and the questions come only
        // after them: the examiner skips the test while they play.
        QVERIFY2(enter("CO1A") && test() && waitShows(Place::readers, "CO1A/lectores.png") && shoot("3-test")
                     && abortDialog(Place::skipTest, "omitir_prueba_on.png", true) && expect("ABORT", "1") && settle(),
                 qPrintable(failure));

        QVERIFY2(program->waitForMessage(QString::fromUtf8("La evaluación ha terminado.")),
                 qPrintable(program->messages().join('\n')));
        examiner.screenshot("1-99-end-message");
        QVERIFY(program->answerMessage());
    }

    void abandonedEvaluation()
    {
        evaluation = 2;
        position = 0;
        childFirstName = QString::fromUtf8("Tomás");
        const QList<Answer> letters = {{"e", {}, "e", "1"}, {"o", {}, "o", "1"}, {"m", {}, "m", "1"}};
        const QList<Answer> oneMore = {{"b", {}, "b", "1"}};
        // Spaces around the name are not kept; the period is set back to "Inicio".
        fillIndividualForm(QString::fromUtf8("  Tomás "), QString::fromUtf8("Ñúñez Rojas"), 2, false, false);
        QVERIFY(Examiner::waitUntil([&] { return program->windowGeometry().size() == QSize(1366, 768); }));
        QVERIFY2(namingSpeed(false), qPrintable(failure));
        // Three letters, a look at the abort dialog, one more letter, then the
        // examiner abandons the evaluation.
        QVERIFY2(shownLetters(letters) && abortDialog(Place::carryOn, "continuar_on.png", false) && answer(oneMore)
                     && abortDialog(Place::skipAll, "omitir_aplicacion_on.png", true), qPrintable(failure));
        current = "FULL";
        QVERIFY2(expect("ABORT", "1") && settle(), qPrintable(failure));
        QVERIFY2(program->waitForMessage(QString::fromUtf8("La aplicación ha sido cancelada.")),
                 qPrintable(program->messages().join('\n')));
        QVERIFY(program->answerMessage());
        // The naming-speed test recorded 1.5 s of a microphone that delivered
        // nothing but digital silence: the examiner is told, and the log names the file.
        QVERIFY2(program->waitForMessage(QString::fromUtf8("1 grabación de esta evaluación quedó en silencio total. "
                                                           "Revise el micrófono antes de la próxima evaluación.")),
                 qPrintable(program->messages().join('\n')));
        QVERIFY(program->answerMessage());
        QString silent;
        for (const QStringList &row : workspace->rows("log", {"evaluationId", "key", "value"}))
            if (row.at(0) == "2" && row.at(1) == "FILE")
                silent = row.at(2);
        QVERIFY2(!silent.isEmpty() && program->log().contains("/grabaciones/" + silent + ".wav holds only digital silence"),
                 qPrintable(program->log().right(600)));
    }

    void storedRows()
    {
        current = "stored rows";
        evaluationRows = workspace->rows("evaluation", {"ROWID", "evaluationDate", "name", "lastName", "level",
                                                        "codeGroup", "fullEvaluation", "endOfYear"});
        logRows = workspace->rows("log", {"date", "evaluationId", "test", "key", "value"});
        const QString today = QDate::currentDate().toString("yyyy-MM-dd");
        QCOMPARE(evaluationRows.size(), 2);
        QCOMPARE(evaluationRows[0].join('|'), "1|" + today + QString::fromUtf8("|maría josé|Pérez Soto|3||1|1"));
        QCOMPARE(evaluationRows[1].join('|'), "2|" + today + QString::fromUtf8("|Tomás|Ñúñez Rojas|2||0|0"));
        QVERIFY2(checkRows(logRows), qPrintable(failure));
    }

    void sendToTheService()
    {
        current = "sent archives";
        window = program->windowGeometry();
        QCOMPARE(window.size(), QSize(800, 580));
        examiner.click(inWindow(Place::menuSend));
        examiner.click(inWindow(Place::syncUser));
        examiner.type(account);
        examiner.click(inWindow(Place::syncPassword));
        examiner.type(password);
        examiner.screenshot("3-send");
        examiner.click(inWindow(Place::syncSend));
        // The page's message box ("Los datos fueron enviados correctamente.") is
        // not written to the debug output: what was sent and kept is checked below.
        QVERIFY2(program->waitForMessageBox(30000), qPrintable(service.log()));
        examiner.screenshot("3-sent");
        QVERIFY(program->answerMessage());
        // One archive per evaluation, in the order of the evaluations.
        const QStringList archives = service.storedArchives(account);
        QVERIFY2(archives.size() == 2, qPrintable(program->log().right(600) + "\n" + service.log()));
        for (int id = 1; id <= 2; ++id)
            QVERIFY2(checkArchive(archives.at(id - 1), id), qPrintable(failure));

        // Nothing of the evaluations is left on the machine.
        QCOMPARE(workspace->rows("evaluation", {"ROWID"}).size(), 0);
        QCOMPARE(workspace->rows("log", {"ROWID"}).size(), 0);
        QCOMPARE(QDir(workspace->filePath("grabaciones")).entryList(QDir::Files), QStringList());
        QCOMPARE(QDir(workspace->filePath("envios")).entryList(QDir::Files), QStringList());
    }

    void exitFromTheMenu()
    {
        examiner.click(inWindow(Place::menuExit));
        QCOMPARE(program->exitCode(10000), 0);
    }

    void cleanupTestCase()
    {
        examiner.restoreKeyboard();
        if (program) {
            program->stop();
            QFile log(artefactDirectory() + "/rumbolo.log");
            if (log.open(QIODevice::WriteOnly))
                log.write(program->log().toUtf8());
        }
        program.reset();
        service.stop();
        if (windowManager.state() != QProcess::NotRunning) {
            windowManager.terminate();
            windowManager.waitForFinished(5000);
        }
        workspace.reset();
    }

private:
    const bool sandboxed;
    const QString sandboxProblem;
    Examiner examiner;
    ScoringServiceProcess service;
    QProcess windowManager;
    QTemporaryDir scratch;
    std::unique_ptr<TestWorkspace> workspace;
    std::unique_ptr<RumboloProcess> program;

    QElapsedTimer clock;
    QDateTime started;
    QRect window;
    QString failure, current, childFirstName;
    int evaluation = 0;
    int position = 0; // of the running test in the battery
    QList<PlannedRow> plan;
    QList<QStringList> evaluationRows, logRows;
    QHash<QString, QByteArray> recordings; // name -> the WAV file's bytes before sending
};

int main(int argc, char *argv[])
{
    // The sandbox must be entered while the process has a single thread.
    QString problem;
    const bool sandboxed = Sandbox::enter(&problem);
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    TestEndToEnd test(sandboxed, problem);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_endtoend.moc"
