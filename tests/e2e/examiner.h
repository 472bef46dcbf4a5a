#ifndef EXAMINER_H
#define EXAMINER_H

#include <QtGui>

#include <functional>

// The examiner at the machine: real pointer and keyboard events sent to the X
// display with xdotool, and what the screen shows, grabbed from the display.
// The steps that cannot fail return true, to stand in a chain of checks.
class Examiner
{
public:
    explicit Examiner(const QString &screenshotDirectory) : directory(screenshotDirectory) {}

    // Runs a tool; its standard output; when it fails, its error output in problem.
    static QByteArray run(const QString &program, const QStringList &args, QString *problem = nullptr)
    {
        QProcess p;
        p.start(program, args);
        if (!(p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0) && problem)
            *problem = program + " failed: " + QString::fromLocal8Bit(p.readAllStandardError());
        return p.readAllStandardOutput();
    }
    static QString xdotool(const QStringList &args) { return QString::fromLocal8Bit(run("xdotool", args)).trimmed(); }

    // Whether a window manager manages the display: it sets _NET_SUPPORTING_WM_CHECK
    // on the root window to a window of its own that carries the same property (one
    // that has died leaves the root's property pointing at a window that is gone).
    static bool windowManagerRunning()
    {
        static const QRegularExpression id("window id # (0x[0-9a-fA-F]+)");
        const QString root = QString::fromLatin1(run("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"}));
        const QString window = id.match(root).captured(1);
        return !window.isEmpty()
            && id.match(QString::fromLatin1(run("xprop", {"-id", window, "_NET_SUPPORTING_WM_CHECK"}))).captured(1) == window;
    }

    bool click(const QPoint &at) const
    {
        // No --sync: it waits for a motion that never comes when the pointer is
        // already there. The server handles the move before the click anyway.
        xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"});
        return true;
    }
    // Key names as xdotool knows them: "e", "shift+b", "0", "space", "Escape".
    bool key(const QString &keys) const
    {
        xdotool(QStringList{"key", "--delay", "40"} + keys.split(' ', Qt::SkipEmptyParts));
        return true;
    }
    void type(const QString &text) const { xdotool({"type", "--delay", "40", text}); }

    // Gives the Spanish letters (á é í ó ú ü ñ, capitals with Shift) keys of
    // their own on the display's keyboard, until restoreKeyboard(). Without them
    // xdotool binds a spare key to such a letter for one keystroke only, and a
    // program that reads the changed key map too late gets no letter at all.
    bool bindSpanishLetters(const QString &workDirectory, QString *problem)
    {
        const QString dumped = QDir(workDirectory).filePath("keymap.xkb");
        const QString changed = QDir(workDirectory).filePath("keymap-spanish.xkb");
        const QString display = qEnvironmentVariable("DISPLAY");
        problem->clear();
        run("xkbcomp", {"-xkb", display, dumped}, problem);
        QFile file(dumped);
        QString keymap = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        // Keys the keycodes section names and the symbols section leaves empty.
        const int symbols = keymap.indexOf("xkb_symbols");
        const int symbolsEnd = keymap.indexOf("\n};", symbols);
        QSet<QString> bound;
        QRegularExpressionMatchIterator used = QRegularExpression("key\\s+(<\\w+>)").globalMatch(keymap.mid(symbols));
        while (used.hasNext())
            bound << used.next().captured(1);
        QStringList spare;
        QRegularExpressionMatchIterator named = QRegularExpression("^\\s*(<I\\d+>)\\s*=\\s*\\d+;",
            QRegularExpression::MultilineOption).globalMatch(keymap.left(symbols));
        while (named.hasNext()) {
            const QString key = named.next().captured(1);
            if (!bound.contains(key))
                spare << key;
        }
        const QStringList letters = {"aacute, Aacute", "eacute, Eacute", "iacute, Iacute", "oacute, Oacute",
                                     "uacute, Uacute", "udiaeresis, Udiaeresis", "ntilde, Ntilde"};
        if (!problem->isEmpty() || symbols < 0 || symbolsEnd < 0 || spare.size() < letters.size()) {
            problem->append(" (no spare keys in the key map " + dumped + ")");
            return false;
        }
        QString added;
        for (int i = 0; i < letters.size(); ++i)
            added += QString("\n    key %1 { [ %2 ] };").arg(spare.at(i), letters.at(i));
        keymap.insert(symbolsEnd, added);
        QFile out(changed);
        if (!out.open(QIODevice::WriteOnly) || out.write(keymap.toUtf8()) < 0 || !out.flush()) {
            *problem = "cannot write " + changed;
            return false;
        }
        run("xkbcomp", {changed, display}, problem);
        originalKeymap = dumped;
        return problem->isEmpty();
    }
    // Also lets go of every key a failed xdotool call may have left down.
    void restoreKeyboard()
    {
        xdotool({"keyup", "Return", "Escape", "space", "shift"});
        if (!originalKeymap.isEmpty())
            run("xkbcomp", {originalKeymap, qEnvironmentVariable("DISPLAY")});
        originalKeymap.clear();
    }

    QImage grab(const QRect &area) const
    {
        QScreen *screen = QGuiApplication::primaryScreen();
        return screen ? screen->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage()
                            .convertToFormat(QImage::Format_RGB32) : QImage();
    }
    // True when the screen area shows the picture of the kit (1:1, its opaque
    // pixels compared), or the given part of it (in the picture's coordinates)
    // where the rest may lie under other widgets.
    bool shows(const QRect &area, const QString &path, QRect part = QRect()) const
    {
        if (!pictures.contains(path))
            pictures.insert(path, QImage(path).convertToFormat(QImage::Format_ARGB32));
        const QImage expected = pictures.value(path), seen = grab(area);
        if (expected.isNull() || expected.size() != area.size() || seen.size() != area.size())
            return false;
        if (part.isNull())
            part = expected.rect();
        int compared = 0, alike = 0;
        for (int y = part.top(); y <= part.bottom(); y += 2) {
            for (int x = part.left(); x <= part.right(); x += 2) {
                const QRgb want = expected.pixel(x, y), got = seen.pixel(x, y);
                if (qAlpha(want) < 255)
                    continue;
                ++compared;
                if (qAbs(qRed(want) - qRed(got)) <= 16 && qAbs(qGreen(want) - qGreen(got)) <= 16
                    && qAbs(qBlue(want) - qBlue(got)) <= 16)
                    ++alike;
            }
        }
        return compared > 0 && alike * 100 >= compared * 95;
    }
    // Moves the pointer onto a button that only takes clicks while hovered,
    // waits until it shows its hovered picture, then clicks.
    bool hoverAndClick(const QRect &button, const QString &hoveredPicture) const
    {
        xdotool({"mousemove", QString::number(button.center().x()), QString::number(button.center().y())});
        if (!waitUntil([&] { return shows(button, hoveredPicture); }, 3000))
            return false;
        xdotool({"click", "1"});
        return true;
    }

    // Keeps the event loop running until the condition holds or the time is up.
    static bool waitUntil(const std::function<bool()> &condition, int timeoutMs = 5000)
    {
        QElapsedTimer clock;
        clock.start();
        for (;;) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            if (condition())
                return true;
            if (clock.elapsed() > timeoutMs)
                return false;
            QThread::msleep(20);
        }
    }
    static void pause(int ms) { waitUntil([] { return false; }, ms); }

    // Saves the whole screen as <name>.png.
    void screenshot(const QString &name) const
    {
        if (QScreen *screen = QGuiApplication::primaryScreen())
            screen->grabWindow(0).save(QDir(directory).filePath(name + ".png"));
    }

private:
    QString directory;
    QString originalKeymap;
    mutable QHash<QString, QImage> pictures;
};

#endif // EXAMINER_H
