#ifndef STARTUPPARTS_H
#define STARTUPPARTS_H

#include <QList>
#include <QPair>
#include <QString>

// Where the application's start-up time goes: constructs, one after the
// other and in the main window's order, the long-lived objects the main
// window creates, and times each. Every object is kept alive until the end,
// so that shared one-time costs (a plugin loaded, a font cached) fall on the
// first object that needs them, as they do in the application.
class StartupParts
{
public:
    // Runs in the current working directory; returns (part, milliseconds).
    static QList<QPair<QString, double>> measure();
};

#endif // STARTUPPARTS_H
