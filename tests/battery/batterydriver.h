#ifndef BATTERYDRIVER_H
#define BATTERYDRIVER_H

#include "appfixture.h"
#include "gamewindow.h"
#include "transitionlabel.h"
#include "clickableimage.h"

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QStringList>
#include <QtTest>

// What the examiner does to move a test of the battery along, and the checks
// the tests of the first family share.
namespace BatteryDriver {

// Starts a full evaluation, moves on to the test and clicks its way through
// the transition screen, the example (when asked) and the test button.
inline GameWindow *enterTest(AppFixture &app, const QString &code, bool runExample = true, bool runTest = true)
{
    GameWindow *game = app.startAt(code);
    if (!game)
        return nullptr;
    AppFixture::click(game->getTransitionLabel());
    if (runExample)
        AppFixture::click(game->getExampleButton());
    if (runExample && runTest)
        AppFixture::click(game->getTestButton());
    return game;
}

// A key as the keyboard delivers it: press and release, with the text the
// layout gives it. An auto-repeated press is what a key held down sends.
inline void typeKey(QWidget *w, int key, const QString &text,
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool autoRepeat = false)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text, autoRepeat);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text, autoRepeat);
    QApplication::sendEvent(w, &release);
}

// The lower-case letter a-z typed as it is.
inline void typeLetter(QWidget *w, const QString &letter)
{
    typeKey(w, Qt::Key_A + (letter.at(0).unicode() - 'a'), letter);
}

// (key, value) of the rows of one test in one evaluation, in order.
inline QList<QStringList> keyValues(AppFixture &app, const QString &code, int evaluationId = -1)
{
    QList<QStringList> result;
    for (const QStringList &row : app.rowsOf(code))
        if (evaluationId < 0 || row.value(0).toInt() == evaluationId)
            result << QStringList{row.value(2), row.value(3)};
    return result;
}

// Every path exists in the kit; a picture whose name ends in "<w>x<h>.png" has
// that size. Returns an empty text, or what is wrong.
inline QString checkKit(const QStringList &paths)
{
    static const QRegularExpression sized("(\\d+)x(\\d+)\\.png$");
    for (const QString &path : paths) {
        if (!QFileInfo(path).isFile())
            return path + " is missing";
        if (!path.endsWith(".png"))
            continue;
        const QImage picture(path);
        if (picture.isNull())
            return path + " is not a picture";
        const QRegularExpressionMatch m = sized.match(path);
        if (m.hasMatch() && picture.size() != QSize(m.captured(1).toInt(), m.captured(2).toInt()))
            return QString("%1 is %2x%3").arg(path).arg(picture.width()).arg(picture.height());
    }
    return QString();
}

} // namespace BatteryDriver

#endif // BATTERYDRIVER_H
