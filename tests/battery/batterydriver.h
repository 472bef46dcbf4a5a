#ifndef BATTERYDRIVER_H
#define BATTERYDRIVER_H

// What the examiner does to move a test of the battery along, and the checks
// the battery's tests share.

#include "testenvironment.h"
#include "abortdialog.h"
#include "appfixture.h"
#include "clickableimage.h"
#include "gamewindow.h"
#include "imagelabel.h"
#include "lineinparagraph.h"
#include "mainwindow.h"
#include "movielabel.h"
#include "paragraph.h"
#include "transitionlabel.h"
#include "wordinparagraph.h"

#include <QSignalSpy>
#include <QtTest>

// Like QFETCH, declares what a test function works on: `app`, a fresh main
// window, and `game`, the test of class Game moved on to by enterTest(); fails
// the test function when that test never came.
#define ENTER_TEST(Game, code, clicks)                                                                     \
    AppFixture app;                                                                                        \
    auto *const game = enterTest<Game>(app, code, clicks);                                                 \
    QVERIFY(game)

// Fails the calling test function when the build has not generated the stimulus kit.
#define KIT_REQUIRED(app)                                                                                  \
    REQUIRE_ENVIRONMENT((app).workspace().hasKit(), "the stimulus kit (not generated in this build)")

using Rows = QList<QStringList>;

// The letters of the grapheme and letter name tests, in the order they are asked.
inline const QStringList letterSequence{"e", "o", "m", "b", "p", "s", "t", "l", "d", "r", "c", "g"};

// Moves a full evaluation on to the test and clicks, in turn, as many of the
// transition screen, the example button and the test button as asked.
template <typename Game = GameWindow>
Game *enterTest(AppFixture &app, const QString &code, int clicks = 3)
{
    auto *game = qobject_cast<Game *>(app.startAt(code));
    for (int i = 0; game && i < clicks; ++i)
        AppFixture::click(QList<QWidget *>{game->getTransitionLabel(), game->getExampleButton(),
                                           game->getTestButton()}.at(i));
    return game;
}

// A key press and release as the keyboard sends them for one character (its
// key code is that of the character in upper case, with Shift for a capital),
// or for a key without text; an auto-repeated press is what a key held down sends.
inline void typeKey(QWidget *w, const QString &text, int key = 0, bool autoRepeat = false)
{
    const auto modifiers = text.size() == 1 && text.at(0).isUpper() ? Qt::ShiftModifier : Qt::NoModifier;
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, key ? key : text.toUpper().at(0).unicode(), modifiers, text, autoRepeat);
        QApplication::sendEvent(w, &event);
    }
}

// (key, value) of the rows of one test, of one evaluation or of all, in order.
inline Rows keyValues(AppFixture &app, const QString &code, int evaluationId = -1)
{
    Rows result;
    for (const QStringList &row : app.rowsOf(code))
        if (evaluationId < 0 || row.value(0).toInt() == evaluationId)
            result << QStringList{row.value(2), row.value(3)};
    return result;
}

// The rows (key, value) made of keys and values taken in pairs.
inline Rows pairs(const QStringList &keys, const QStringList &values)
{
    Rows result;
    for (int i = 0; i < keys.size(); ++i)
        result << QStringList{keys.at(i), values.value(i)};
    return result;
}

// The first argument of every signal a spy caught (the sounds asked for).
inline QStringList firstArguments(const QSignalSpy &spy)
{
    QStringList result;
    for (const QList<QVariant> &arguments : spy)
        result << arguments.value(0).toString();
    return result;
}

// The body of a letter test's answerKeys(), with the columns position (of the
// letter answered, from 0), text (typed for it, the letters before it typed
// right) and value (stored for it).
inline void checkAnswerKey(const QString &code)
{
    QFETCH(int, position);
    QFETCH(QString, text);
    QFETCH(QString, value);
    ENTER_TEST(GameWindow, code, 3);
    for (int i = 0; i <= position; ++i)
        typeKey(game, i < position ? letterSequence.at(i) : text);
    const Rows rows = keyValues(app, code);
    QCOMPARE(rows.size(), position + 1);
    QCOMPARE(rows.last(), (QStringList{letterSequence.at(position), value}));
}

// The text of a paragraph: its words joined by spaces, its lines by "|".
inline QString paragraphText(const Paragraph *paragraph)
{
    QStringList lines;
    for (const LineInParagraph *line : paragraph->lines()) {
        QStringList words;
        for (const WordInParagraph *word : line->words())
            words << word->text();
        lines << words.join(' ');
    }
    return lines.join('|');
}

// Whether a picture widget shows the picture of that file of the kit.
inline bool showsPicture(const QLabel *label, const QString &path)
{
    const QPixmap shown = label->pixmap(Qt::ReturnByValue);
    return !shown.isNull() && shown.toImage() == QPixmap(path).toImage();
}

// The examiner abandons the evaluation from the abort dialog; true once its message has shown.
inline bool abandon(AppFixture &app)
{
    app.catcher().clear();
    emit app.window()->abortDialogWindow()->abortAll();
    return app.catcher().waitForMessages(1);
}

// Empty when every name is that of a complete WAV file in the workspace's
// "grabaciones" (RIFF/WAVE header whose two sizes match the file, at least one
// sample) and no name repeats; otherwise what is wrong.
inline QString recordingProblems(AppFixture &app, const QStringList &names)
{
    QStringList problems;
    if (QSet<QString>(names.begin(), names.end()).size() != names.size())
        problems << "a recording name repeats: " + names.join(' ');
    for (const QString &name : names) {
        QFile file(app.workspace().filePath("grabaciones/" + name + ".wav"));
        const QByteArray b = !name.isEmpty() && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        auto le32 = [&](int at) { return qFromLittleEndian<quint32>(b.constData() + at); };
        if (b.size() <= 44 || !b.startsWith("RIFF") || b.mid(8, 4) != "WAVE" || le32(4) != quint32(b.size() - 8)
            || le32(40) != quint32(b.size() - 44))
            problems << QString("no complete recording %1 (%2 bytes)").arg(name).arg(b.size());
    }
    return problems.join("; ");
}

#endif // BATTERYDRIVER_H
