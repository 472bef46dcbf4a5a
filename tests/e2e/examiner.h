#ifndef EXAMINER_H
#define EXAMINER_H

#include <QHash>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>

// The examiner at the machine: real pointer and keyboard events sent to the X
// display with xdotool, and what the screen shows, grabbed from the display.
class Examiner
{
public:
    explicit Examiner(const QString &screenshotDirectory);

    // Runs xdotool; its standard output, trimmed.
    static QString xdotool(const QStringList &args, bool *ok = nullptr);

    void click(const QPoint &at) const;
    // Moves the pointer onto a button that only takes clicks while hovered,
    // waits until it shows its hovered picture, then clicks.
    bool hoverAndClick(const QPoint &at, const QRect &button, const QString &hoveredPicture) const;
    // Key names as xdotool knows them: "e", "shift+b", "0", "space", "Escape".
    void key(const QString &keys) const;
    void type(const QString &text) const;
    // Lets go of every key a failed xdotool call may have left down.
    static void releaseKeys();

    // Gives the Spanish letters (á é í ó ú ü ñ, capitals with Shift) keys of
    // their own on the display's keyboard, until restoreKeyboard(). Without them
    // xdotool binds a spare key to such a letter for one keystroke only, and a
    // program that reads the changed key map too late gets no letter at all.
    bool bindSpanishLetters(const QString &workDirectory, QString *problem);
    void restoreKeyboard();

    QImage grab(const QRect &area) const;
    QRgb pixel(const QPoint &at) const;
    // True when the screen area shows the picture of the kit (1:1, its opaque
    // pixels compared).
    bool shows(const QRect &area, const QString &picture) const;
    // The same for a part of the picture only (in the picture's coordinates),
    // where the rest may lie under other widgets.
    bool shows(const QRect &area, const QString &picture, const QRect &part) const;
    // Keeps the event loop running until the condition holds or the time is up.
    static bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 5000);
    static void pause(int ms);

    // Saves the whole screen as <name>.png; returns the file's path.
    QString screenshot(const QString &name) const;

private:
    QImage picture(const QString &path) const;

    QString directory;
    QString originalKeymap;
    mutable QHash<QString, QImage> pictures;
};

#endif // EXAMINER_H
