#include "examiner.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPixmap>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QScreen>
#include <QThread>

#include <cstdlib>

Examiner::Examiner(const QString &screenshotDirectory)
    : directory(screenshotDirectory)
{
}

QString Examiner::xdotool(const QStringList &args, bool *ok)
{
    QProcess p;
    p.start("xdotool", args);
    const bool finished = p.waitForFinished(10000);
    if (ok)
        *ok = finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

void Examiner::click(const QPoint &at) const
{
    // No --sync: it waits for a motion that never comes when the pointer is
    // already there. The server handles the move before the click anyway.
    xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"});
}

bool Examiner::hoverAndClick(const QPoint &at, const QRect &button, const QString &hoveredPicture) const
{
    xdotool({"mousemove", QString::number(at.x()), QString::number(at.y())});
    if (!waitUntil([&] { return shows(button, hoveredPicture); }, 3000))
        return false;
    xdotool({"click", "1"});
    return true;
}

void Examiner::key(const QString &keys) const
{
    xdotool(QStringList{"key", "--delay", "40"} + keys.split(' ', Qt::SkipEmptyParts));
}

void Examiner::type(const QString &text) const
{
    xdotool({"type", "--delay", "40", text});
}

void Examiner::releaseKeys()
{
    xdotool({"keyup", "Return", "Escape", "space", "shift"});
}

bool Examiner::bindSpanishLetters(const QString &workDirectory, QString *problem)
{
    const QString dumped = QDir(workDirectory).filePath("keymap.xkb");
    const QString display = qEnvironmentVariable("DISPLAY");
    QProcess xkbcomp;
    xkbcomp.start("xkbcomp", {"-xkb", display, dumped});
    if (!xkbcomp.waitForFinished(10000) || xkbcomp.exitCode() != 0) {
        *problem = "xkbcomp cannot read the key map: " + QString::fromLocal8Bit(xkbcomp.readAllStandardError());
        return false;
    }
    QFile file(dumped);
    if (!file.open(QIODevice::ReadOnly)) {
        *problem = "cannot read " + dumped;
        return false;
    }
    QString keymap = QString::fromUtf8(file.readAll());
    file.close();

    // Keys the keycodes section names and the symbols section leaves empty.
    const int symbols = keymap.indexOf("xkb_symbols");
    const int symbolsEnd = keymap.indexOf("\n};", symbols);
    if (symbols < 0 || symbolsEnd < 0) {
        *problem = "unexpected key map from xkbcomp";
        return false;
    }
    QSet<QString> bound;
    QRegularExpressionMatchIterator used = QRegularExpression("key\\s+(<\\w+>)").globalMatch(keymap.mid(symbols));
    while (used.hasNext())
        bound << used.next().captured(1);
    QStringList spare;
    QRegularExpressionMatchIterator named =
        QRegularExpression("^\\s*(<I\\d+>)\\s*=\\s*\\d+;", QRegularExpression::MultilineOption).globalMatch(keymap.left(symbols));
    while (named.hasNext()) {
        const QString key = named.next().captured(1);
        if (!bound.contains(key))
            spare << key;
    }
    const QStringList letters = {"aacute, Aacute", "eacute, Eacute", "iacute, Iacute", "oacute, Oacute",
                                 "uacute, Uacute", "udiaeresis, Udiaeresis", "ntilde, Ntilde"};
    if (spare.size() < letters.size()) {
        *problem = "the key map has no spare keys";
        return false;
    }
    QString added;
    for (int i = 0; i < letters.size(); ++i)
        added += QString("\n    key %1 { [ %2 ] };").arg(spare.at(i), letters.at(i));
    keymap.insert(symbolsEnd, added);

    const QString changed = QDir(workDirectory).filePath("keymap-spanish.xkb");
    QFile out(changed);
    if (!out.open(QIODevice::WriteOnly) || out.write(keymap.toUtf8()) < 0) {
        *problem = "cannot write " + changed;
        return false;
    }
    out.close();
    xkbcomp.start("xkbcomp", {changed, display});
    if (!xkbcomp.waitForFinished(10000) || xkbcomp.exitCode() != 0) {
        *problem = "xkbcomp cannot load the key map: " + QString::fromLocal8Bit(xkbcomp.readAllStandardError());
        return false;
    }
    originalKeymap = dumped;
    return true;
}

void Examiner::restoreKeyboard()
{
    if (originalKeymap.isEmpty())
        return;
    QProcess xkbcomp;
    xkbcomp.start("xkbcomp", {originalKeymap, qEnvironmentVariable("DISPLAY")});
    xkbcomp.waitForFinished(10000);
    originalKeymap.clear();
}

QImage Examiner::grab(const QRect &area) const
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return QImage();
    return screen->grabWindow(0, area.x(), area.y(), area.width(), area.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

QRgb Examiner::pixel(const QPoint &at) const
{
    const QImage one = grab(QRect(at, QSize(1, 1)));
    return one.isNull() ? 0 : one.pixel(0, 0);
}

QImage Examiner::picture(const QString &path) const
{
    if (!pictures.contains(path))
        pictures.insert(path, QImage(path).convertToFormat(QImage::Format_ARGB32));
    return pictures.value(path);
}

bool Examiner::shows(const QRect &area, const QString &path) const
{
    return shows(area, path, QRect(QPoint(0, 0), area.size()));
}

bool Examiner::shows(const QRect &area, const QString &path, const QRect &part) const
{
    const QImage expected = picture(path);
    if (expected.isNull() || expected.size() != area.size())
        return false;
    const QImage seen = grab(area);
    if (seen.size() != area.size())
        return false;
    int compared = 0;
    int alike = 0;
    for (int y = part.top(); y <= part.bottom(); y += 2) {
        for (int x = part.left(); x <= part.right(); x += 2) {
            const QRgb want = expected.pixel(x, y);
            if (qAlpha(want) < 255)
                continue;
            const QRgb got = seen.pixel(x, y);
            ++compared;
            if (std::abs(qRed(want) - qRed(got)) <= 16 && std::abs(qGreen(want) - qGreen(got)) <= 16
                && std::abs(qBlue(want) - qBlue(got)) <= 16)
                ++alike;
        }
    }
    return compared > 0 && alike * 100 >= compared * 95;
}

bool Examiner::waitUntil(const std::function<bool()> &condition, int timeoutMs)
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

void Examiner::pause(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
}

QString Examiner::screenshot(const QString &name) const
{
    QScreen *screen = QGuiApplication::primaryScreen();
    const QString path = QDir(directory).filePath(name + ".png");
    if (screen)
        screen->grabWindow(0).save(path);
    return path;
}
