#include "processsettings.h"

#include <QByteArray>
#include <QtGlobal>

#ifdef __GLIBC__
#include <malloc.h>
#endif
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

void ProcessSettings::apply()
{
    // The program draws only widgets: without this, Qt's X11 plugin loads the
    // OpenGL drivers at start (tens of MiB and a slower start) for nothing. The
    // environment can still ask for them.
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");

#ifdef Q_OS_UNIX
    // Children's names and voices: what the program creates (the database, the
    // recordings, the archives and their folders) is its user's alone, whatever
    // umask it was started with.
    ::umask(077);
#endif

#ifdef __GLIBC__
    // Decoded pictures are large blocks that live only while their test runs.
    // By default glibc raises its mmap threshold after the first such block is
    // freed and then serves the next ones from the heap, which keeps their
    // pages after they are freed; a fixed threshold gives them back at once.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
}
