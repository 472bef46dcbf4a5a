#ifndef BATTERYDRIVER_H
#define BATTERYDRIVER_H

#include "appfixture.h"
#include "clickableimage.h"
#include "gamewindow.h"
#include "transitionlabel.h"

#include <QApplication>
#include <QKeyEvent>

// What the examiner does to move a test along, and checks the battery's tests share.
namespace BatteryDriver {

// Moves a full evaluation on to the test and clicks through the transition
// screen, the example button and (when asked) the test button.
inline GameWindow *enterTest(AppFixture &app, const QString &code, bool runTest = true)
{
    GameWindow *game = app.startAt(code);
    if (game) {
        AppFixture::click(game->getTransitionLabel());
        AppFixture::click(game->getExampleButton());
        if (runTest)
            AppFixture::click(game->getTestButton());
    }
    return game;
}

// A key press and release with the text the keyboard gives it; an
// auto-repeated press is what a key held down sends.
inline void typeKey(QWidget *w, int key, const QString &text, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                    bool autoRepeat = false)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text, autoRepeat);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text, autoRepeat);
    QApplication::sendEvent(w, &release);
}

// A lower-case letter a-z.
inline void typeLetter(QWidget *w, const QString &letter)
{
    typeKey(w, Qt::Key_A + (letter.at(0).unicode() - 'a'), letter);
}

// (key, value) of the rows of one test, of one evaluation or of all, in order.
inline QList<QStringList> keyValues(AppFixture &app, const QString &code, int evaluationId = -1)
{
    QList<QStringList> result;
    for (const QStringList &row : app.rowsOf(code))
        if (evaluationId < 0 || row.value(0).toInt() == evaluationId)
            result << QStringList{row.value(2), row.value(3)};
    return result;
}

// Types the letters before `position` right, then the given key; the rows of
// the test afterwards.
inline QList<QStringList> answerAt(AppFixture &app, const QString &code, const QStringList &letters, int position,
                                   int key, const QString &text)
{
    GameWindow *game = enterTest(app, code);
    if (!game)
        return {};
    for (int i = 0; i < position; ++i)
        typeLetter(game, letters.at(i));
    typeKey(game, key, text, text.at(0).isUpper() ? Qt::ShiftModifier : Qt::NoModifier);
    return keyValues(app, code);
}

} // namespace BatteryDriver

#endif // BATTERYDRIVER_H
