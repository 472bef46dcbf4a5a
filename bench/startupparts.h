#ifndef STARTUPPARTS_H
#define STARTUPPARTS_H

#include <QList>
#include <QString>

// Where the application's start-up time goes: constructs, one after the
// other and in the main window's order, the long-lived objects the main
// window creates, and times each. Every object is kept alive until the end,
// so that shared one-time costs (a plugin loaded, a font cached) fall on the
// first object that needs them, as they do in the application.
class StartupParts
{
public:
    struct Part
    {
        QString name;
        double ms;
        bool beforeFirstFrame; // on the way to the window's first frame, or built after it
    };
    // Runs in the current working directory, which must hold the stimulus kit.
    static QList<Part> measure();
};

#endif // STARTUPPARTS_H
