#include "examiner.h"
#include "rumboloprocess.h"
#include "sandbox.h"
#include "scoringserviceprocess.h"
#include "testworkspace.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFontMetrics>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>
#include <QtTest>

#include <tuple>

// The whole program as an examiner uses it: the real binary on the X display with
// the audio server and a scoring service of the test's own, driven only by
// pointer and key events. A full evaluation runs all fifteen tests with a planned
// mix of right and wrong answers and one test skipped through the abort dialog; a
// second evaluation is abandoned; both are then sent to the service. Every row the
// battery wrote is checked against the plan, every recording against the time it
// ran, and the archives the service received against the rows and recordings,
// which are gone from the machine afterwards. A screenshot of every screen goes to
// <build>/artefacts/e2e/.

namespace {

// ---------------------------------------------------------------------------
// Where things are on the 1366 x 768 screen, the program in full screen (the
// test screens) or in its 800 x 580 window (the administration pages, relative
// to the window's top-left corner). A test screen is a location bar (15 pixels
// with the default font), a 2-pixel white line and the play area; a widget that a
// test centres on its own size w x h lies on the screen at ((1366 - w) / 2,
// (768 - h) / 2 + 2), whatever the bar's height, since the centring subtracts it
// again. The toolbar strip (64 pixels high) starts at y = 706 and its 48-pixel
// buttons at y = 714. Sizes come from the kit's pictures (checked in initTestCase).
namespace Place {
const QPoint screenCentre(683, 384);
// Points that only the transition screen paints in the test's colour.
const QPoint transitionSamples[] = {{100, 400}, {1260, 300}};

const QRect exampleButton(10, 714, 150, 48);
const QRect testButton(170, 714, 150, 48);
const QRect nextButton(630, 714, 150, 48); // x = 150 + 3 * 150 + 30
const QRect checkMark(1308, 712, 48, 48);  // 10 pixels in from the right and above the strip's bottom
const QRect soundingIcon(1308, 714, 48, 48); // kept inside the screen, at its right end

// The abort dialog (338 x 163) centred on the full-screen window; its three
// 262 x 40 buttons at (38, 17), (38, 61), (38, 105) inside it.
const QRect skipTest(552, 319, 262, 40);
const QRect skipAll(552, 363, 262, 40);
const QRect carryOn(552, 407, 262, 40);

// VD1A: the first example (230 x 240) and the first of the six test pictures
// (145 x 226, a row starting 2.5 widths left of the centred one).
const QRect namingExample(338, 266, 230, 240);
const QRect namingFirstPicture(247, 273, 145, 226);
// PA1A: the letter (300 x 300), centred.
const QRect letter(533, 236, 300, 300);
// PA2A, CF1A, CF2x: the friends animation (240 x 240) at x = 50.
const QRect friends(50, 266, 240, 240);
// CF1A: the drum (300 x 260), one drum width right of the centre.
const QRect drum(833, 256, 300, 260);
// CF2x: the three pictures of an item (242 x 710 box, two box widths right of
// the centre), top to bottom.
const QPoint options[] = {{1167, 146}, {1167, 386}, {1167, 626}};
// TT1A: the 3 x 2 grid of 270-pixel choices centred on the play area, in the
// order noticia, carta, cuento, poema, receta, afiche.
const QPoint textTypes[] = {{413, 251}, {683, 251}, {953, 251}, {413, 521}, {683, 521}, {953, 521}};
const QRect noticiaChoice(278, 116, 270, 270);
const QRect noticiaPreview(433, 136, 500, 500);
// FP1A: the martian (200 x 260) and the speech bubble (280 x 125) right of it,
// centred as one block.
const QRect speechBubble(643, 256, 280, 125);
const QRect besideTheWord(0, 0, 80, 125); // of the bubble, left of any word written in it
// CL1A: the three options (280 x 220 each, a 840 x 220 row centred).
const QPoint sentenceOptions[] = {{403, 386}, {683, 386}, {963, 386}};
// CL1A: the sentence (1000 x 150), centred across and 20 pixels into the play area.
const QRect sentence(183, 37, 1000, 150);
// FP2A: the story (1100 x 620), centred.
const QRect readingStory(133, 76, 1100, 620);
// CL2A: the story and its questions (760 x 620), centred; the answer areas are
// 320 x 35 at (130, 493), (130, 528), (130, 565) from its corner.
const QRect comprehensionStory(303, 76, 760, 620);
const QPoint answerLines[] = {{593, 586}, {593, 621}, {593, 658}};
// CO1A: the readers (560 x 400), centred.
const QRect readers(403, 186, 560, 400);

// Administration window, relative to its corner.
const QPoint menuIndividual(706, 70);
const QPoint menuSend(706, 164);
const QPoint menuExit(706, 211);
const QPoint formName(268, 53);
const QPoint formLastName(268, 88);
const QPoint formLevel[] = {{205, 122}, {205, 155}, {205, 188}, {205, 221}, {205, 254}, {205, 287}};
const QPoint formPeriod(230, 324);
const QPoint formFullEvaluation(205, 357);
const QPoint formStart(281, 488);
const QPoint syncUser(383, 53);
const QPoint syncPassword(383, 84);
const QPoint syncSend(386, 488);
} // namespace Place

// Pictures of the kit the places above are computed from, with their sizes.
const QList<QPair<QString, QSize>> placedPictures = {
    {"images/barraHerramientas.png", {1920, 64}},     {"images/boton_ejemplo.png", {150, 48}},
    {"images/boton_prueba.png", {150, 48}},           {"images/boton_siguiente.png", {150, 48}},
    {"images/check_verde.png", {48, 48}},             {"images/icono_sonando.png", {48, 48}},             {"images/omitir/fondo.png", {338, 163}},
    {"images/omitir/omitir_prueba_on.png", {262, 40}}, {"images/VD1A/example/perro230x240.png", {230, 240}},
    {"images/VD1A/test/pelota145x226.png", {145, 226}}, {"images/PA1A/e.png", {300, 300}},
    {"images/friends.gif", {240, 240}},               {"images/CF1A/tambor.png", {300, 260}},
    {"images/CF2A/goma230x230.png", {230, 230}},      {"images/TT1A/noticia_270x270.png", {270, 270}},
    {"images/TT1A/noticia_500x500.png", {500, 500}},  {"images/FP1A/bocadillo.png", {280, 125}},
    {"images/FP1A/marciano.gif", {200, 260}},         {"images/CL1A/cl1a01a.png", {280, 220}},
    {"images/CL1A/cl1a01enunciado.png", {1000, 150}},
    {"images/FP2A/cuento.png", {1100, 620}},          {"images/CL2A/cuento.png", {760, 620}},
    {"images/CO1A/lectores.png", {560, 400}},
};

const QHash<QString, QRgb> dimensionColours = {
    {"VD1A", qRgb(154, 196, 75)}, {"PA1A", qRgb(0, 150, 79)},  {"PA2A", qRgb(0, 150, 79)},
    {"CF1A", qRgb(20, 96, 159)},  {"CF2A", qRgb(20, 96, 159)}, {"CF2B", qRgb(20, 96, 159)},
    {"CF3A", qRgb(20, 96, 159)},  {"CF3B", qRgb(20, 96, 159)}, {"RV1A", qRgb(0, 153, 215)},
    {"TT1A", qRgb(125, 97, 150)}, {"FP1A", qRgb(190, 27, 46)}, {"CL1A", qRgb(239, 87, 47)},
    {"FP2A", qRgb(190, 27, 46)},  {"CL2A", qRgb(239, 87, 47)}, {"CO1A", qRgb(245, 147, 52)},
};

// The examiner's account on the test's scoring service; the password needs
// encoding in a URL path.
const QString account = "evaluadora@example.com";
const QString password = QString::fromUtf8("lápiz azul#7");

// What the child "says" into the microphone while a recording runs.
const QString voice = "sounds/CF1A/companero.wav";

// One row the battery is planned to write.
struct PlannedRow
{
    enum Kind { Exact, Time, Recording };
    int evaluation;
    QString test, key, value;
    Kind kind;
    qint64 low, high; // Time: the value in ms; Recording: the WAV's length in ms
    bool withVoice;
};

// The WAV file of a recording: 8000 Hz mono unsigned 8-bit behind a 44-byte header.
struct Wav
{
    QByteArray bytes;
    QString problem;
    qint64 milliseconds() const { return (bytes.size() - 44) / 8; }
    bool hasVoice() const
    {
        // Silence is 128; a spoken word swings well away from it.
        int loudest = 0;
        for (int i = 44; i < bytes.size(); ++i)
            loudest = qMax(loudest, std::abs(int(quint8(bytes.at(i))) - 128));
        return loudest > 20;
    }
};

quint32 le32(const QByteArray &b, int at)
{
    return quint8(b[at]) | quint32(quint8(b[at + 1])) << 8 | quint32(quint8(b[at + 2])) << 16
        | quint32(quint8(b[at + 3])) << 24;
}

quint16 le16(const QByteArray &b, int at)
{
    return quint16(quint8(b[at]) | quint8(b[at + 1]) << 8);
}

Wav readWav(const QString &path)
{
    Wav wav;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        wav.problem = path + " cannot be read";
        return wav;
    }
    wav.bytes = f.readAll();
    const QByteArray &b = wav.bytes;
    if (b.size() < 44 || !b.startsWith("RIFF") || b.mid(8, 8) != "WAVEfmt " || b.mid(36, 4) != "data")
        wav.problem = path + " has no 44-byte WAV header";
    else if (le32(b, 4) != quint32(b.size() - 8) || le32(b, 40) != quint32(b.size() - 44))
        wav.problem = path + QString(" is not finalised: RIFF size %1, data size %2, file %3")
                                 .arg(le32(b, 4)).arg(le32(b, 40)).arg(b.size());
    else if (le16(b, 20) != 1 || le16(b, 22) != 1 || le32(b, 24) != 8000 || le16(b, 34) != 8)
        wav.problem = path + " is not 8000 Hz mono 8-bit PCM";
    return wav;
}

QByteArray run(const QString &program, const QStringList &args, bool *ok = nullptr)
{
    QProcess p;
    p.start(program, args);
    const bool done = p.waitForFinished(30000);
    if (ok)
        *ok = done && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return p.readAllStandardOutput();
}

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

public:
    TestEndToEnd(bool sandboxed, const QString &sandboxProblem)
        : sandboxed(sandboxed)
        , sandboxProblem(sandboxProblem)
        , examiner(artefactDirectory())
    {
    }

private:
    static QString artefactDirectory() { return qEnvironmentVariable("RUMBOLO_BINARY_DIR") + "/artefacts/e2e"; }

    // --- the examiner's steps -------------------------------------------------

    QPoint inWindow(const QPoint &p) const { return window.topLeft() + p; }

    bool fail(const QString &what)
    {
        failure = what;
        return false;
    }

    qint64 now() const { return clock.elapsed(); }

    // <evaluation>-<place in the battery>-<test>-<screen>.png
    void shoot(const QString &code, const QString &screen)
    {
        examiner.screenshot(QString("%1-%2-%3-%4").arg(evaluation).arg(position, 2, 10, QChar('0')).arg(code, screen));
    }

    bool onTransition(const QString &code) const
    {
        for (const QPoint &p : Place::transitionSamples)
            if ((examiner.pixel(p) & 0xffffff) != (dimensionColours.value(code) & 0xffffff))
                return false;
        return true;
    }

    // The test's title card is up: screenshot, then a click starts the test.
    bool enter(const QString &code)
    {
        current = code;
        ++position;
        if (!Examiner::waitUntil([&] { return onTransition(code); }, 8000))
            return fail(code + ": its transition screen did not come");
        shoot(code, "1-transition");
        examiner.click(Place::screenCentre);
        if (!Examiner::waitUntil([&] { return !onTransition(code); }))
            return fail(code + ": the click on the transition screen did not start it");
        return true;
    }

    bool waitShows(const QRect &area, const QString &picture, int timeoutMs = 5000)
    {
        if (!Examiner::waitUntil([&] { return examiner.shows(area, picture); }, timeoutMs))
            return fail(QString("%1: %2 is not on the screen at %3,%4").arg(current, picture).arg(area.x()).arg(area.y()));
        return true;
    }

    // The example button; the test button lights up when the example has run.
    bool example(const QRect &content = QRect(), const QString &picture = QString())
    {
        if (!waitShows(Place::exampleButton, "images/boton_ejemplo.png"))
            return false;
        examiner.click(Place::exampleButton.center());
        if (!waitShows(Place::testButton, "images/boton_prueba.png")
            || !waitShows(Place::exampleButton, "images/boton_play_desactivado.png"))
            return false;
        if (!picture.isEmpty() && !waitShows(content, picture))
            return false;
        shoot(current, "2-example");
        return true;
    }

    // The test button; it goes dark once the test phase has begun.
    bool test(qint64 *clickedBefore = nullptr, qint64 *clickedAfter = nullptr)
    {
        if (!waitShows(Place::testButton, "images/boton_prueba.png"))
            return false;
        if (clickedBefore)
            *clickedBefore = now();
        examiner.click(Place::testButton.center());
        if (clickedAfter)
            *clickedAfter = now();
        return waitShows(Place::testButton, "images/boton_play_desactivado.png");
    }

    void expect(const QString &key, const QString &value)
    {
        plan << PlannedRow{evaluation, current, key, value, PlannedRow::Exact, 0, 0, false};
    }

    void expectTimed(qint64 startBefore, qint64 startAfter, qint64 endBefore, qint64 endAfter, bool withVoice)
    {
        // The program's stopwatch runs between its handling of the two clicks.
        const qint64 low = endBefore - startAfter - 100;
        const qint64 high = endAfter - startBefore + 200;
        plan << PlannedRow{evaluation, current, "TIME", QString(), PlannedRow::Time, low, high, false};
        expectRecording(low, high, withVoice);
    }

    void expectRecording(qint64 low, qint64 high, bool withVoice)
    {
        // The audio server hands the sound over in blocks of a few tens of ms.
        plan << PlannedRow{evaluation, current, "FILE", QString(), PlannedRow::Recording, low - 200, high + 100,
                           withVoice};
    }

    // Waits until the program has stored every planned row so far.
    bool settle(int timeoutMs = 5000)
    {
        int stored = 0;
        Examiner::waitUntil([&] {
            stored = workspace->rows("log", {"ROWID"}).size();
            return stored >= plan.size();
        }, timeoutMs);
        if (stored != plan.size())
            return fail(QString("%1: %2 rows stored where the plan has %3 so far").arg(current).arg(stored).arg(plan.size()));
        return true;
    }

    // The green check, then (after a second) the next test.
    bool finished()
    {
        if (!settle() || !waitShows(Place::checkMark, "images/check_verde.png"))
            return false;
        return true;
    }

    // The child listens until the prompt has been said. Elsewhere answers come
    // while a prompt is still being said (the next prompt cuts it off); the last
    // prompt of a test is heard out, so that the check mark at the end is not
    // hidden under the sound indicator.
    bool waitSilence()
    {
        if (!Examiner::waitUntil([&] { return !examiner.shows(Place::soundingIcon, "images/icono_sonando.png"); }))
            return fail(current + ": the prompt does not end");
        return true;
    }

    // Plays a spoken word into the microphone (the audio server's "micfeed").
    void speak()
    {
        run("paplay", {"-d", "micfeed", voice});
    }

    // Opens the abort dialog with Escape and chooses one of its buttons.
    bool abortDialog(const QRect &button, const QString &hoveredPicture, bool screenshot)
    {
        examiner.key("Escape");
        auto dialogShown = [&] {
            return examiner.shows(Place::skipTest, "images/omitir/omitir_prueba_off.png")
                || examiner.shows(Place::skipTest, "images/omitir/omitir_prueba_on.png");
        };
        if (!Examiner::waitUntil(dialogShown))
            return fail(current + ": Escape did not open the abort dialog");
        if (screenshot)
            shoot(current, "abort-dialog");
        if (!examiner.hoverAndClick(button.center(), button, hoveredPicture))
            return fail(current + ": the abort dialog's button did not light up under the pointer");
        return Examiner::waitUntil([&] { return !dialogShown(); }) || fail(current + ": the abort dialog did not close");
    }

    bool fillIndividualForm(const QString &name, const QString &lastName, int level, int period, bool full)
    {
        window = program->windowGeometry();
        examiner.click(inWindow(Place::menuIndividual));
        examiner.click(inWindow(Place::formName));
        examiner.type(name);
        examiner.click(inWindow(Place::formLastName));
        examiner.type(lastName);
        examiner.click(inWindow(Place::formLevel[level - 1]));
        // The period's list opens; "Inicio" is the first entry, "Fin" the second.
        examiner.click(inWindow(Place::formPeriod));
        Examiner::pause(300);
        examiner.key(period == 0 ? "Up Return" : "Down Return");
        Examiner::pause(200);
        if (full)
            examiner.click(inWindow(Place::formFullEvaluation));
        Examiner::pause(200);
        examiner.screenshot(QString("%1-00-form").arg(evaluation));
        examiner.click(inWindow(Place::formStart));
        return true;
    }

    // --- the fifteen tests, as planned -----------------------------------------

    bool namingSpeed(bool withVoice)
    {
        if (!enter("VD1A") || !example(Place::namingExample, "images/VD1A/example/perro230x240.png"))
            return false;
        qint64 a, b;
        if (!test(&a, &b) || !waitShows(Place::namingFirstPicture, "images/VD1A/test/pelota145x226.png"))
            return false;
        shoot(current, "3-test");
        if (withVoice)
            speak();
        Examiner::waitUntil([&] { return now() - b >= 1500; }, 3000);
        const qint64 c = now();
        examiner.click(Place::nextButton.center());
        expectTimed(a, b, c, now(), withVoice);
        return finished();
    }

    // Letters typed for the letters shown (PA1A) or said (PA2A).
    // Without toTheEnd the examiner stops after these answers.
    bool letters(const QString &code, const QList<QStringList> &answers, bool toTheEnd = true)
    {
        const bool shown = code == "PA1A";
        if (!enter(code))
            return false;
        if (!example(shown ? Place::letter : Place::friends, shown ? "images/PA1A/a.png" : QString()))
            return false;
        examiner.key("a"); // during the example keys do not count
        if (!test() || (shown && !waitShows(Place::letter, "images/PA1A/e.png")))
            return false;
        shoot(code, "3-test");
        examiner.key("space"); // not an answer
        for (const QStringList &answer : answers) {
            if (!shown && &answer == &answers.last() && !waitSilence())
                return false;
            examiner.key(answer.at(1));
            expect(answer.at(0), answer.at(2));
            if (!settle())
                return false;
        }
        return !toTheEnd || finished();
    }

    bool syllableSegmentation()
    {
        if (!enter("CF1A") || !example(Place::drum, "images/CF1A/tambor.png"))
            return false;
        examiner.key("space space"); // strikes during the example count for nothing
        if (!test())
            return false;
        shoot(current, "3-test");
        // word, strikes, value
        const QList<std::tuple<QString, int, QString>> words = {
            {"gato", 2, "1"},    {"gallina", 3, "1"},   {"arbol", 2, "1"},   {"orquesta", 2, "0"},
            {"campo", 2, "1"},   {"companero", 4, "1"}, {"florero", 3, "1"}, {"lluvia", 0, "0"},
        };
        for (const auto &[word, strikes, value] : words) {
            if (word == "lluvia" && !waitSilence())
                return false;
            if (strikes > 0)
                examiner.key(QString("space ").repeated(strikes));
            examiner.click(Place::nextButton.center());
            expect(word, value);
            if (!settle())
                return false;
        }
        return finished();
    }

    // CF2A, CF2B, CF3A, CF3B: the picture touched (0 top, 1 middle, 2 bottom)
    // for each of the six items.
    bool soundRecognition(const QString &code, const QStringList &keys, const QList<int> &touched,
                          const QList<int> &correct)
    {
        if (!enter(code) || !example())
            return false;
        examiner.click(Place::options[0]); // touching the example scores nothing
        if (!test())
            return false;
        shoot(code, "3-test");
        examiner.key("space"); // the examiner has the top picture named
        for (int i = 0; i < keys.size(); ++i) {
            if (i == keys.size() - 1 && !waitSilence())
                return false;
            examiner.click(Place::options[touched.at(i)]);
            expect(keys.at(i), touched.at(i) == correct.at(i) ? "1" : "0");
            if (!settle())
                return false;
        }
        return finished();
    }

    QPoint wordOnStory(int line, int index) const
    {
        // The story's words at 36 points, each 20 pixels wider than its text,
        // lines 20 pixels apart, the whole paragraph centred.
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
        int width = 0, height = 0, lineTop = 0;
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
        height = lineTop;
        return QPoint((1366 - width) / 2, (768 - height) / 2 + 2) + inParagraph;
    }

    bool visualWords()
    {
        if (!enter("RV1A") || !test())
            return false;
        Examiner::pause(300);
        shoot(current, "3-test");
        // sought word, line and word touched, value
        const QList<std::tuple<QString, int, int, QString>> touches = {
            {childFirstName, 0, 2, "1"},               // "María."
            {"pan", 1, 2, "1"},                        // "pan"
            {QString::fromUtf8("mamá"), 1, 8, "0"},    // "papá"
            {"casa", 3, 5, "1"},                       // "casa."
            {"perro", 2, 6, "1"},                      // "perro"
            {"pelota", 4, 5, "1"},                     // "pelota"
        };
        for (const auto &[sought, line, index, value] : touches) {
            examiner.click(wordOnStory(line, index));
            expect(sought, value);
            if (!settle())
                return false;
        }
        return finished();
    }

    bool textTypes()
    {
        if (!enter("TT1A") || !test() || !waitShows(Place::noticiaChoice, "images/TT1A/noticia_270x270.png"))
            return false;
        shoot(current, "3-test");
        examiner.key("space"); // the first enlarged picture
        if (!waitShows(Place::noticiaPreview, "images/TT1A/noticia_500x500.png"))
            return false;
        shoot(current, "3-test-preview");
        examiner.key("space space space space space space"); // through the others to none
        if (!waitShows(Place::noticiaChoice, "images/TT1A/noticia_270x270.png"))
            return false;
        enum { Noticia, Carta, Cuento, Poema, Receta, Afiche };
        const QList<std::tuple<QString, int, QString>> answers = {
            {"carta", Carta, "1"},   {"cuento", Receta, "0"},   {"poema", Poema, "1"},
            {"receta", Receta, "1"}, {"noticia", Noticia, "1"}, {"afiche", Cuento, "0"},
        };
        for (const auto &[asked, touched, value] : answers) {
            examiner.click(Place::textTypes[touched]);
            expect(asked, value);
            if (!settle())
                return false;
        }
        return finished();
    }

    bool wordReading()
    {
        if (!enter("FP1A") || !example())
            return false;
        if (!test())
            return false;
        const QStringList words = {"cire", "ontil", "fopasa", "istana", "palo", "arbol", "camisa", "espejo"};
        for (const QString &word : words) {
            // 500 ms without a word, then the word in the bubble, recorded.
            if (!Examiner::waitUntil([&] { return examiner.shows(Place::speechBubble, "images/FP1A/bocadillo.png", Place::besideTheWord); }))
                return fail("FP1A: the bubble with " + word + " did not come");
            const qint64 shownAt = now();
            if (word == words.first())
                shoot(current, "3-test");
            Examiner::pause(700);
            const qint64 c = now();
            examiner.click(Place::nextButton.center());
            expect("WORD", word);
            expectRecording(c - shownAt - 50, now() - shownAt + 100, false);
            if (!settle())
                return false;
            Examiner::pause(300); // the bubble goes before the next word comes
        }
        return finished();
    }

    bool sentenceReading()
    {
        if (!enter("CL1A") || !test() || !waitShows(Place::sentence, "images/CL1A/cl1a01enunciado.png"))
            return false;
        shoot(current, "3-test");
        enum { A, B, C };
        // item, option touched, value (right answers: a, c, b, b, b, a)
        const QList<std::tuple<QString, int, QString>> answers = {
            {"1", A, "1"}, {"2", A, "0"}, {"3", B, "1"}, {"4", B, "1"}, {"5", C, "0"}, {"6", A, "1"},
        };
        for (const auto &[item, touched, value] : answers) {
            examiner.click(Place::sentenceOptions[touched]);
            expect(item, value);
            if (!settle())
                return false;
        }
        return finished();
    }

    bool textReading()
    {
        if (!enter("FP2A"))
            return false;
        qint64 a, b;
        if (!test(&a, &b) || !waitShows(Place::readingStory, "images/FP2A/cuento.png"))
            return false;
        shoot(current, "3-test");
        speak();
        Examiner::waitUntil([&] { return now() - b >= 1800; }, 3000);
        const qint64 c = now();
        examiner.click(Place::nextButton.center());
        expectTimed(a, b, c, now(), true);
        return finished();
    }

    bool readingComprehension()
    {
        if (!enter("CL2A") || !waitShows(Place::comprehensionStory, "images/CL2A/cuento.png") || !test()
            || !waitShows(Place::comprehensionStory, "images/CL2A/cl2a_p01.png"))
            return false;
        shoot(current, "3-test");
        enum { A, B, C };
        // question, answer line touched, value (right answers: b, c, b, c)
        const QList<std::tuple<QString, int, QString>> answers = {
            {"0", B, "1"}, {"1", A, "0"}, {"2", B, "1"}, {"3", C, "1"},
        };
        for (const auto &[question, touched, value] : answers) {
            examiner.click(Place::answerLines[touched]);
            expect(question, value);
            if (!settle())
                return false;
        }
        return finished();
    }

    // The instructions run about two minutes and the questions come only after
    // them: the examiner skips the test while they play.
    bool oralComprehensionSkipped()
    {
        if (!enter("CO1A") || !test() || !waitShows(Place::readers, "images/CO1A/lectores.png"))
            return false;
        shoot(current, "3-test");
        if (!abortDialog(Place::skipTest, "images/omitir/omitir_prueba_on.png", true))
            return false;
        expect("ABORT", "1");
        return settle();
    }

    // --- checks ------------------------------------------------------------------

    bool checkRows(const QList<QStringList> &rows)
    {
        QSet<QString> names;
        for (int i = 0; i < qMax(rows.size(), plan.size()); ++i) {
            if (i >= rows.size())
                return fail(QString("row %1 missing: planned %2 %3").arg(i).arg(plan.at(i).test, plan.at(i).key));
            if (i >= plan.size())
                return fail(QString("row %1 not planned: %2").arg(i).arg(rows.at(i).join(';')));
            const QStringList &row = rows.at(i); // date, evaluationId, test, key, value
            const PlannedRow &p = plan.at(i);
            const QString where = QString("row %1 (%2)").arg(i).arg(row.join(';'));
            const QDateTime date = QDateTime::fromString(row.at(0), "yyyy-MM-dd hh:mm:ss");
            if (!date.isValid() || date < started.addSecs(-1) || date > QDateTime::currentDateTime().addSecs(1))
                return fail(where + ": date not within the run");
            if (row.at(1) != QString::number(p.evaluation) || row.at(2) != p.test || row.at(3) != p.key)
                return fail(where + QString(": planned %1;%2;%3").arg(p.evaluation).arg(p.test, p.key));
            const QString &value = row.at(4);
            if (p.kind == PlannedRow::Exact && value != p.value)
                return fail(where + ": planned value " + p.value);
            if (p.kind == PlannedRow::Time) {
                bool number = false;
                const qint64 ms = value.toLongLong(&number);
                qInfo("%s time: %lld ms (planned %lld to %lld)", qPrintable(p.test), ms, p.low, p.high);
                if (!number || ms < p.low || ms > p.high)
                    return fail(where + QString(": not a time between %1 and %2 ms").arg(p.low).arg(p.high));
            }
            if (p.kind == PlannedRow::Recording) {
                if (!QRegularExpression("^\\d{14}$").match(value).hasMatch() || names.contains(value))
                    return fail(where + ": not a new recording name");
                names << value;
                const Wav wav = readWav(workspace->filePath("grabaciones/" + value + ".wav"));
                if (!wav.problem.isEmpty())
                    return fail(where + ": " + wav.problem);
                if (wav.milliseconds() < p.low || wav.milliseconds() > p.high)
                    return fail(where + QString(": the recording lasts %1 ms, not %2 to %3")
                                            .arg(wav.milliseconds()).arg(p.low).arg(p.high));
                qInfo("%s recording %s: %lld ms (planned %lld to %lld)%s", qPrintable(p.test), qPrintable(value),
                      wav.milliseconds(), p.low, p.high, p.withVoice ? ", with the spoken word" : "");
                if (p.withVoice && !wav.hasVoice())
                    return fail(where + ": the word spoken into the microphone is not in the recording");
                recordings.insert(value, wav.bytes);
            }
        }
        // Nothing but these recordings was left in the recordings directory.
        const QStringList files = QDir(workspace->filePath("grabaciones")).entryList(QDir::Files);
        if (files.size() != names.size())
            return fail(QString("grabaciones holds %1 files for %2 recordings").arg(files.size()).arg(names.size()));
        return true;
    }

    // The export the service must receive for an evaluation: the row of the
    // evaluation and its log rows, ";"-separated, one line each.
    QByteArray exportOf(int id) const
    {
        QByteArray text = "GENERAL;evaluationId;" + QByteArray::number(id) + "\n";
        const QStringList columns = {"evaluationDate", "name", "lastName", "level", "codeGroup", "fullEvaluation", "endOfYear"};
        const QStringList row = evaluationRows.value(id - 1);
        for (int c = 0; c < columns.size(); ++c)
            text += ("GENERAL;" + columns.at(c) + ";" + row.value(c + 1)).toUtf8() + "\n";
        for (const QStringList &log : logRows)
            if (log.at(1) == QString::number(id))
                text += (log.at(2) + ";" + log.at(3) + ";" + log.at(4)).toUtf8() + "\n";
        return text;
    }

    bool checkArchive(const QString &archive, int id)
    {
        bool ok = false;
        run("unzip", {"-tqq", archive}, &ok);
        if (!ok)
            return fail(archive + " does not test as a sound zip archive");
        const QStringList entries = QString::fromUtf8(run("unzip", {"-Z1", archive})).split('\n', Qt::SkipEmptyParts);
        QStringList expected = {QString("evaluation_%1.log").arg(id)};
        for (const QStringList &log : logRows)
            if (log.at(1) == QString::number(id) && log.at(3) == "FILE")
                expected << log.at(4) + ".wav";
        if (entries != expected)
            return fail(QString("evaluation %1: the archive holds %2, expected %3").arg(id).arg(entries.join(' '), expected.join(' ')));
        const QByteArray exported = run("unzip", {"-p", archive, expected.first()});
        if (exported != exportOf(id))
            return fail(QString("evaluation %1: the export differs from the rows:\n%2\n--- expected:\n%3")
                            .arg(id).arg(QString::fromUtf8(exported), QString::fromUtf8(exportOf(id))));
        for (int i = 1; i < expected.size(); ++i) {
            const QString name = expected.at(i);
            if (run("unzip", {"-p", archive, name}) != recordings.value(name.chopped(4)))
                return fail(QString("evaluation %1: %2 in the archive differs from the recording").arg(id).arg(name));
        }
        return true;
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs an X display (scripts/test.sh starts Xvfb)");
        if (qEnvironmentVariableIsEmpty("PULSE_SERVER"))
            QSKIP("needs the private audio server that scripts/test.sh starts");
        if (!sandboxed)
            QSKIP(qPrintable("cannot give the program a network and certificate store of its own: " + sandboxProblem));
        for (const char *tool : {"xdotool", "xkbcomp", "evilwm", "paplay", "unzip", "openssl"})
            QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(), qPrintable(QString(tool) + " is missing (scripts/install-deps.sh)"));
        const QUrl server(QString(RUMBOLO_SCORING_SERVICE_URL));
        if (server.host() != "localhost" && server.host() != "127.0.0.1")
            QSKIP(qPrintable("this build sends to " + server.toString() + ", not to a local scoring service"));
        QVERIFY2(QFile::exists(RumboloProcess::program()), qPrintable(RumboloProcess::program()));

        QDir(artefactDirectory()).removeRecursively();
        QVERIFY(QDir().mkpath(artefactDirectory()));
        clock.start();
        started = QDateTime::currentDateTime();

        // The program goes full screen through the window manager, as on the
        // examiner's machine.
        windowManager.start("evilwm", {"--bw", "0"});
        QVERIFY(windowManager.waitForStarted(5000));
        Examiner::pause(300);

        // The scoring service on the port the program sends to, trusted by the
        // program inside the sandbox only.
        QVERIFY(service.addAccount(account, password));
        QVERIFY2(service.start({"--port", QString::number(server.port(443))}), qPrintable(service.log()));
        QString problem;
        QVERIFY2(sandbox.trustOnly(service.caCertificate(), &problem), qPrintable(problem));

        workspace.reset(new TestWorkspace);
        QVERIFY2(workspace->hasKit(), "the stimulus kit is not built (RUMBOLO_KIT_DIR)");
        for (const auto &[path, size] : placedPictures) {
            const QImage picture(path);
            QVERIFY2(picture.size() == size, qPrintable(path + " does not have the size the places assume"));
        }

        QVERIFY2(examiner.bindSpanishLetters(scratch.path(), &problem), qPrintable(problem));
        program.reset(new RumboloProcess);
        QVERIFY2(program->start(workspace->path()), qPrintable(program->log()));
        window = program->windowGeometry();
        QCOMPARE(window.size(), QSize(800, 580));
        examiner.screenshot("0-welcome");
    }

    void fullEvaluation()
    {
        evaluation = 1;
        childFirstName = QString::fromUtf8("María");
        QVERIFY(fillIndividualForm(QString::fromUtf8("maría josé"), QString::fromUtf8("Pérez Soto"), 3, 1, true));
        // Full screen for the tests.
        QVERIFY(Examiner::waitUntil([&] { return program->windowGeometry().size() == QSize(1366, 768); }));

        QVERIFY2(namingSpeed(true), qPrintable(failure));
        // letter, key typed, value
        QVERIFY2(letters("PA1A", {{"e", "e", "1"}, {"o", "0", "1"}, {"m", "n", "0"}, {"b", "shift+b", "1"},
                                  {"p", "p", "1"}, {"s", "s", "1"}, {"t", "d", "0"}, {"l", "1", "1"},
                                  {"d", "d", "1"}, {"r", "r", "1"}, {"c", "s", "0"}, {"g", "g", "1"}}),
                 qPrintable(failure));
        QVERIFY2(letters("PA2A", {{"e", "e", "1"}, {"o", "o", "1"}, {"m", "m", "1"}, {"b", "v", "1"},
                                  {"p", "b", "0"}, {"s", "s", "1"}, {"t", "t", "1"}, {"l", "l", "1"},
                                  {"d", "t", "0"}, {"r", "r", "1"}, {"c", "c", "1"}, {"g", "j", "0"}}),
                 qPrintable(failure));
        QVERIFY2(syllableSegmentation(), qPrintable(failure));
        QVERIFY2(soundRecognition("CF2A", {"goma", "corona", "tetera", "lana", "regla", "gallina"},
                                  {0, 2, 1, 1, 2, 0}, {0, 0, 1, 1, 2, 2}), qPrintable(failure));
        QVERIFY2(soundRecognition("CF2B", {"casa", "saco", "galleta", "leche", "calle", "cebolla"},
                                  {0, 0, 1, 2, 0, 1}, {0, 0, 0, 2, 0, 1}), qPrintable(failure));
        QVERIFY2(soundRecognition("CF3A", {"uva", "mono", "saco", "taza", "poroto", "cocina"},
                                  {1, 0, 0, 0, 0, 2}, {1, 0, 0, 1, 0, 2}), qPrintable(failure));
        QVERIFY2(soundRecognition("CF3B", {"bote", "chupete", "volcan", "tulipan", "papel", "trebol"},
                                  {0, 0, 0, 2, 0, 0}, {0, 0, 0, 2, 1, 0}), qPrintable(failure));
        QVERIFY2(visualWords(), qPrintable(failure));
        QVERIFY2(textTypes(), qPrintable(failure));
        QVERIFY2(wordReading(), qPrintable(failure));
        QVERIFY2(sentenceReading(), qPrintable(failure));
        QVERIFY2(textReading(), qPrintable(failure));
        QVERIFY2(readingComprehension(), qPrintable(failure));
        QVERIFY2(oralComprehensionSkipped(), qPrintable(failure));

        QVERIFY2(program->waitForMessage(QString::fromUtf8("La evaluación ha terminado.")),
                 qPrintable(program->messages().join('\n')));
        examiner.screenshot("1-99-end-message");
        QVERIFY(program->answerMessage());
    }

    void abandonedEvaluation()
    {
        evaluation = 2;
        childFirstName = QString::fromUtf8("Tomás");
        // Spaces around the name are not kept; the period is set back to "Inicio".
        QVERIFY(fillIndividualForm(QString::fromUtf8("  Tomás "), QString::fromUtf8("Ñúñez Rojas"), 2, 0, false));
        QVERIFY(Examiner::waitUntil([&] { return program->windowGeometry().size() == QSize(1366, 768); }));
        position = 0;
        QVERIFY2(namingSpeed(false), qPrintable(failure));
        // Three letters, a look at the abort dialog, one more letter, then the
        // examiner abandons the evaluation.
        QVERIFY2(letters("PA1A", {{"e", "e", "1"}, {"o", "o", "1"}, {"m", "m", "1"}}, false), qPrintable(failure));
        QVERIFY2(abortDialog(Place::carryOn, "images/omitir/continuar_on.png", false), qPrintable(failure));
        examiner.key("b");
        expect("b", "1");
        QVERIFY2(settle(), qPrintable(failure));
        QVERIFY2(abortDialog(Place::skipAll, "images/omitir/omitir_aplicacion_on.png", true), qPrintable(failure));
        current = "FULL";
        expect("ABORT", "1");
        QVERIFY2(settle(), qPrintable(failure));
        QVERIFY2(program->waitForMessage(QString::fromUtf8("La aplicación ha sido cancelada.")),
                 qPrintable(program->messages().join('\n')));
        QVERIFY(program->answerMessage());
    }

    void storedRows()
    {
        evaluationRows = workspace->rows("evaluation", {"ROWID", "evaluationDate", "name", "lastName", "level",
                                                        "codeGroup", "fullEvaluation", "endOfYear"});
        logRows = workspace->rows("log", {"date", "evaluationId", "test", "key", "value"});
        const QString today = QDate::currentDate().toString("yyyy-MM-dd");
        const QList<QStringList> expected = {
            {"1", today, QString::fromUtf8("maría josé"), QString::fromUtf8("Pérez Soto"), "3", "", "1", "1"},
            {"2", today, QString::fromUtf8("Tomás"), QString::fromUtf8("Ñúñez Rojas"), "2", "", "0", "0"},
        };
        QCOMPARE(evaluationRows.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(evaluationRows.at(i).join('|'), expected.at(i).join('|'));
        QVERIFY2(checkRows(logRows), qPrintable(failure));
    }

    void sendToTheService()
    {
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
        // not written to the debug output; its steps are.
        QVERIFY2(program->waitForMessageBox(30000), qPrintable(service.log()));
        examiner.screenshot("3-sent");
        QVERIFY(program->answerMessage());
        for (const char *step : {"Deleting currentEvaluation = 1", "Deleting currentEvaluation = 2"})
            QVERIFY2(program->log().contains(step), qPrintable(program->log().right(600) + "\n" + service.log()));
        QCOMPARE(program->log().count("[checkArchiveUpload]contents: EXITO"), 2);

        // One archive per evaluation, in the order of the evaluations.
        const QStringList archives = service.storedArchives(account);
        QCOMPARE(archives.size(), 2);
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
        int exitCode = -1;
        QVERIFY(program->waitForExit(10000, &exitCode));
        QCOMPARE(exitCode, 0);
    }

    void cleanupTestCase()
    {
        Examiner::releaseKeys();
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
    Sandbox sandbox;
    Examiner examiner;
    ScoringServiceProcess service;
    QProcess windowManager;
    QTemporaryDir scratch;
    std::unique_ptr<TestWorkspace> workspace;
    std::unique_ptr<RumboloProcess> program;

    QElapsedTimer clock;
    QDateTime started;
    QRect window;
    QString failure;
    QString current;
    QString childFirstName;
    int evaluation = 0;
    int position = 0; // of the running test in the battery
    QList<PlannedRow> plan;
    QList<QStringList> evaluationRows;
    QList<QStringList> logRows;
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
